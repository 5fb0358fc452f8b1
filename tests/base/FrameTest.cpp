#include "AppFrame.h"
#include "FailureMessage.h"
#include "ServicesDouble.h"

#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

namespace {

struct Case {
    const char* name;
    QString input;
    QString expected;
};

TEST(NormalizeDir, Cases) {
    const Case cases[] = {
        {"lower case with two backslashes", QStringLiteral("c:\\forms\\quill\\\\"),
         QStringLiteral("C:\\FORMS\\QUILL")},
        {"single slash", QStringLiteral("/"), QString()},
        {"mixed run of slashes", QStringLiteral("/home/anna/\\/\\"), QStringLiteral("/HOME/ANNA")},
        {"blanks around", QStringLiteral("  /home/anna  "), QStringLiteral("/HOME/ANNA")},
        {"backslash before a blank stays", QStringLiteral("c:\\forms\\ "),
         QStringLiteral("C:\\FORMS\\")},
        {"control characters trimmed", QStringLiteral("\t/tmp/x\n"), QStringLiteral("/TMP/X")},
        {"cyrillic upper-cased", QStringLiteral("/home/бланки/"), QStringLiteral("/HOME/БЛАНКИ")},
        {"empty", QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NormalizeDir(c.input), c.expected);
    }
}

TEST(StandardErrorBox, FullStopRule) {
    const Case cases[] = {
        {"message of the cursor",
         QStringLiteral("Cannot perform this operation on an empty dataset"),
         QStringLiteral("Cannot perform this operation on an empty dataset.")},
        {"already a full stop", QStringLiteral("Готово."), QStringLiteral("Готово.")},
        {"exclamation sorts before the full stop", QStringLiteral("Ошибка!"),
         QStringLiteral("Ошибка!")},
        {"digit", QStringLiteral("Code 42"), QStringLiteral("Code 42.")},
        {"cyrillic letter", QStringLiteral("Нет данных"), QStringLiteral("Нет данных.")},
        {"closing parenthesis sorts before", QStringLiteral("(x)"), QStringLiteral("(x)")},
        {"slash sorts after", QStringLiteral("a/"), QStringLiteral("a/.")},
        {"empty stays empty", QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorBoxText(c.input), c.expected);
    }
}

TEST(AppFrame, BoxesGoThroughTheServices) {
    ServicesDouble services;
    services.answers = {true, false};
    AppFrame frame(services);
    frame.Title = QStringLiteral("Formwright");

    frame.ShowInfo(QStringLiteral("Текст"), QString());
    frame.ShowError(QStringLiteral("Сбой"));
    EXPECT_TRUE(frame.AskYesNo(QStringLiteral("Удалить?"), QStringLiteral("Вопрос")));
    EXPECT_FALSE(frame.AskYesNo(QStringLiteral("Удалить?"), QStringLiteral("Вопрос")));
    EXPECT_FALSE(frame.AskYesNo(QStringLiteral("Ещё?"), QStringLiteral("Вопрос")));

    ASSERT_EQ(services.boxes.size(), 5);
    EXPECT_EQ(services.boxes[0].caption, QString());  // an empty caption stays empty
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Information);
    EXPECT_EQ(services.boxes[1].text, QStringLiteral("Сбой."));
    EXPECT_EQ(services.boxes[1].caption, QStringLiteral("Formwright"));
    EXPECT_EQ(services.boxes[1].icon, UiServices::Icon::Error);
    EXPECT_EQ(services.boxes[2].icon, UiServices::Icon::Question);
}

TEST(AppFrame, HelpSetsTheFileBeforeEveryCall) {
    ServicesDouble services;
    AppFrame frame(services);
    frame.HelpFile = QStringLiteral("QUILLBOX.HLP");
    frame.ShowHelpContents();
    frame.HelpFile = QStringLiteral("QUILLBOX.HLP");
    frame.ShowHelpTopic(2);
    ASSERT_EQ(services.helps.size(), 2);
    EXPECT_EQ(services.helps[0].file, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(services.helps[0].context, -1);
    EXPECT_EQ(services.helps[1].file, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(services.helps[1].context, 2);
}

// What the windows tell the user of a failure is Russian, also for the standard library's own.
TEST(FailureMessage, EveryFailureInRussian) {
    EXPECT_EQ(FailureMessage(Failure(QStringLiteral("Поле не заполнено"))),
              QStringLiteral("Поле не заполнено"));
    EXPECT_EQ(FailureMessage(DatabaseError(QStringLiteral("База занята"))),
              QStringLiteral("База занята"));
    EXPECT_EQ(FailureMessage(std::bad_alloc()),
              QStringLiteral("Недостаточно памяти: операция прервана."));
    EXPECT_EQ(FailureMessage(std::out_of_range("vector::_M_range_check")),
              QStringLiteral("Внутренняя ошибка программы: операция прервана."));
}

}  // namespace
