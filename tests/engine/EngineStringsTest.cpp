#include "EngineStrings.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineStrings, NumbersWithTheirTexts) {
    struct Case {
        int id;
        QString text;
    } cases[] = {
        {55001, QStringLiteral("Отмена")},
        {55007, QStringLiteral("Виртуальный принтер")},
        {55077, QStringLiteral("Report title")},
        {55098, QStringLiteral("Child")},
        {55099, QStringLiteral("Нет")},
        {55199, QStringLiteral("из")},
        {55200, QStringLiteral("Возникла ошибка при обработке выражения")},
        {55204, QStringLiteral("Выполняется 1-й проход:")},
        {55206, QStringLiteral("Ошибка")},
        {55209, QStringLiteral("Untitled")},
        {55337, QStringLiteral("204")},
        {55345, QStringLiteral("Неверный QDS формат")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(frLoadStr(c.id), c.text);
    }
}

TEST(EngineStrings, NumbersWithoutTextGiveEmpty) {
    // Paper names, the default source, neighbours of known numbers, and outside the range.
    for (int id : {55008, 55074, 55435, 55000, 55002, 55207, 55346, 0, -1, 99999}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(frLoadStr(id).isEmpty());
    }
}

}  // namespace
