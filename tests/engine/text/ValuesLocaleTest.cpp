#include "Locale.h"

#include <gtest/gtest.h>

TEST(ValuesLocale, RussianConventions) {
    const TfrLocale ru = TfrLocale::Russian();
    EXPECT_EQ(ru.DecimalSeparator, u',');
    EXPECT_EQ(ru.ThousandSeparator, QChar(0x00A0));
    EXPECT_EQ(ru.ShortDateFormat, QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(ru.LongMonthNames.value(4), QStringLiteral("май"));
    EXPECT_EQ(ru.LongGenitiveMonthNames.value(4), QStringLiteral("мая"));
    EXPECT_EQ(ru.LongDayNames.value(0), QStringLiteral("понедельник"));
    EXPECT_EQ(ru.Upper(QStringLiteral("привет, ёжик")), QStringLiteral("ПРИВЕТ, ЁЖИК"));
    EXPECT_EQ(ru.Lower(QStringLiteral("ИВАНОВ Ё")), QStringLiteral("иванов ё"));
}

TEST(ValuesLocale, TextOrder) {
    const TfrLocale ru;
    EXPECT_LT(ru.CompareText(QStringLiteral("ёж"), QStringLiteral("жук")), 0);
    EXPECT_LT(ru.CompareText(QStringLiteral("яблоко"), QStringLiteral("ящик")), 0);
    EXPECT_NE(ru.CompareText(QStringLiteral("а"), QStringLiteral("А")), 0);
    EXPECT_EQ(ru.CompareText(QStringLiteral("текст"), QStringLiteral("текст")), 0);
}
