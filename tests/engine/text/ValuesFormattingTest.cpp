#include "FailureText.h"
#include "Formatting.h"
#include "Locale.h"
#include "ValueErrors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

struct FloatRow {
    const char* pattern;
    double value;
    const char* expected;
};

// 05.11.1998 14:07:09.045, a Thursday.
const double kMoment = 36104 + (14 * 3600000.0 + 7 * 60000 + 9 * 1000 + 45) / 86400000.0;

struct DateRow {
    const char* pattern;
    double days;
    const char* expected;
};

}  // namespace

TEST(ValuesFormatting, FloatPatterns) {
    const TfrLocale ru;
    const FloatRow rows[] = {
        // Halves go away from zero as the decimal reads: 2.345 is stored a little below 2.345,
        // and 1.005 a little below 1.005; both are taken as the decimals they were written as.
        {"0.00", 2.345, "2,35"},
        {"0.00", 2.355, "2,36"},
        {"0.00", -2.345, "-2,35"},
        {"0.00", 1.005, "1,01"},
        {"0.00", 1.015, "1,02"},
        {"0.00", 0.125, "0,13"},
        {"0", 0.5, "1"},
        {"0", 1.5, "2"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 2.4999999, "2"},
        {"#,##0.00", 1234567.005, "1\u00A0234\u00A0567,01"},
        {"#,##0.00", 9999.995, "10\u00A0000,00"},
        // The platform's documentation table: 1234, -1234, 0.5 and 0 under each pattern.
        {"", 1234, "1234"},
        {"", -1234, "-1234"},
        {"", 0.5, "0,5"},
        {"", 0, "0"},
        {"0", 1234, "1234"},
        {"0", -1234, "-1234"},
        {"0", 0, "0"},
        {"0.00", 1234, "1234,00"},
        {"0.00", -1234, "-1234,00"},
        {"0.00", 0.5, "0,50"},
        {"0.00", 0, "0,00"},
        {"#.##", 1234, "1234"},
        {"#.##", -1234, "-1234"},
        {"#.##", 0.5, ",5"},
        {"#.##", 0, ""},
        {"#,##0.00", 1234, "1\u00A0234,00"},
        {"#,##0.00", -1234, "-1\u00A0234,00"},
        {"#,##0.00", 0.5, "0,50"},
        {"#,##0.00", 0, "0,00"},
        {"#,##0.00;(#,##0.00)", 1234, "1\u00A0234,00"},
        {"#,##0.00;(#,##0.00)", -1234, "(1\u00A0234,00)"},
        {"#,##0.00;(#,##0.00)", 0.5, "0,50"},
        {"#,##0.00;(#,##0.00)", 0, "0,00"},
        {"#,##0.00;;Zero", 1234, "1\u00A0234,00"},
        {"#,##0.00;;Zero", -1234, "-1\u00A0234,00"},
        {"#,##0.00;;Zero", 0.5, "0,50"},
        {"#,##0.00;;Zero", 0, "Zero"},
        {"0.000E+00", 1234, "1,234E+03"},
        {"0.000E+00", -1234, "-1,234E+03"},
        {"0.000E+00", 0.5, "5,000E-01"},
        {"0.000E+00", 0, "0,000E+00"},
        {"#.###E-0", 1234, "1,234E3"},
        {"#.###E-0", -1234, "-1,234E3"},
        {"#.###E-0", 0.5, "5E-1"},
        {"#.###E-0", 0, "0E0"},
        // "#" after the exponent's sign are digits written only when needed.
        {"#.#######E-##", 1234.567, "1,234567E3"},
        {"0.0E+0#", 1.5e-12, "1,5E-12"},
        {"0.0E+0#", 1.5e3, "1,5E+3"},
        // Binary noise beyond 15 digits does not count.
        {"0.00000000000000000", 0.1 + 0.2, "0,30000000000000000"},
        {"000", 7, "007"},
        {"#,##0.00", 1234567.891, "1\u00A0234\u00A0567,89"},
        {"#,##0.00", -1234.5, "-1\u00A0234,50"},
        {"#,##0", 999.5, "1\u00A0000"},
        {"##0.##", 1234.5, "1234,5"},
        {"##0.##", 5, "5"},
        {"##0.##", 0.004, "0"},
        {"##0.##", -0.004, "0"},
        {"# ##0.00", 1234.5, "1 234,50"},
        {"# ##0.00", 5, "5,00"},
        {"# ##0.00", -5, "-5,00"},
        {"# ##0.00", 1234567.5, "1234 567,50"},
        {"#.##", 0.5, ",5"},
        {"#", 0, ""},
        {"0.00;(0.00)", -5, "(5,00)"},
        {"0.00;(0.00)", 5, "5,00"},
        {"0.00;(0.00)", -0.001, "0,00"},
        {"0.00;(0.00);'ноль'", 0, "ноль"},
        {"0.00;;\"ноль\"", -0.001, "ноль"},
        {"0.00E+00", 12345, "1,23E+04"},
        {"0.00E+00", -0.00012355, "-1,24E-04"},
        {"0.0E-0", 12345, "1,2E4"},
        {"00.00E+00", 12345, "12,35E+03"},
        {"0.00E+00", 0, "0,00E+00"},
        {"'Итого: '0.00' руб.'", 12.5, "Итого: 12,50 руб."},
        {"", 1.5, "1,5"},
        {";(0)", 2.5, "2,5"},
        {"0 EUR", 5, "5 EUR"},
        {"0 'руб", 5, "5 руб"},
        {"0.00", 1e20, "1E20"},
    };
    for (const FloatRow& row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 %2")
                         .arg(QString::fromUtf8(row.pattern))
                         .arg(row.value)
                         .toStdString());
        EXPECT_EQ(frFormatFloat(QString::fromUtf8(row.pattern), row.value, ru),
                  QString::fromUtf8(row.expected));
    }
}

TEST(ValuesFormatting, FloatPatternFollowsTheLocaleSeparators) {
    TfrLocale other;
    other.DecimalSeparator = u'.';
    other.ThousandSeparator = u',';
    EXPECT_EQ(frFormatFloat(QStringLiteral("#,##0.00"), 1234.5, other), QStringLiteral("1,234.50"));
    EXPECT_EQ(frFloatToStr(2.5, other), QStringLiteral("2.5"));
}

TEST(ValuesFormatting, GeneralFormShowsFifteenSignificantDigits) {
    const TfrLocale ru;
    const struct {
        double value;
        const char* expected;
    } rows[] = {
        {0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {2.5, "2,5"},
        {-2.5, "-2,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1,23456789012346E15"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {0.0001, "0,0001"},
        {0.00001, "1E-5"},
        {-1.5e-10, "-1,5E-10"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(frFloatToStr(row.value, ru), QString::fromUtf8(row.expected));
    }
}

TEST(ValuesFormatting, FixedNotation) {
    const TfrLocale ru;
    EXPECT_EQ(frFloatToStrFixed(3.14159, 2, ru), QStringLiteral("3,14"));
    EXPECT_EQ(frFloatToStrFixed(2.5, 0, ru), QStringLiteral("3"));
    EXPECT_EQ(frFloatToStrFixed(10.125, 2, ru), QStringLiteral("10,13"));
    EXPECT_EQ(frFloatToStrFixed(-10.125, 2, ru), QStringLiteral("-10,13"));
    EXPECT_EQ(frFloatToStrFixed(-0.001, 2, ru), QStringLiteral("0,00"));
    EXPECT_EQ(frFloatToStrFixed(12, 3, ru), QStringLiteral("12,000"));
    EXPECT_EQ(frFloatToStrFixed(1234567890123.456, 4, ru), QStringLiteral("1234567890123,4600"));
    EXPECT_EQ(frFloatToStrFixed(1e20, 2, ru), QStringLiteral("1E20"));
    EXPECT_EQ(frFloatToStrNumber(1234567.891, 2, ru), QString::fromUtf8("1\u00A0234\u00A0567,89"));
    EXPECT_EQ(frFloatToStrNumber(-999.999, 2, ru), QString::fromUtf8("-1\u00A0000,00"));
    EXPECT_EQ(frFloatToStrNumber(1234567.005, 2, ru), QString::fromUtf8("1\u00A0234\u00A0567,01"));
    // The general form keeps 15 significant digits, the 16th rounding away from zero.
    EXPECT_EQ(frFloatToStr(0.1 + 0.2, ru), QStringLiteral("0,3"));
    EXPECT_EQ(frFloatToStr(1.0000000000000050, ru), QStringLiteral("1,00000000000001"));
}

TEST(ValuesFormatting, DateTimePatterns) {
    const TfrLocale ru;
    const DateRow rows[] = {
        {"d", kMoment, "5"},
        {"dd", kMoment, "05"},
        {"ddd", kMoment, "чт"},
        {"dddd", kMoment, "четверг"},
        {"ddddd", kMoment, "05.11.1998"},
        {"dddddd", kMoment, "5 ноября 1998 г."},
        {"m", kMoment, "11"},
        {"mm", kMoment, "11"},
        {"mmm", kMoment, "нояб."},
        {"mmmm", kMoment, "ноябрь"},
        {"mmmm yyyy", kMoment, "ноябрь 1998"},
        {"d mmmm", kMoment, "5 ноября"},
        {"d mmm yyyy", kMoment, "5 нояб. 1998"},
        {"yy", kMoment, "98"},
        {"yyyy", kMoment, "1998"},
        // "m" right after an hour is minutes, elsewhere the month.
        {"h:m", kMoment, "14:7"},
        {"hh:mm", kMoment, "14:07"},
        {"hh mm", kMoment, "14 07"},
        {"h:mm:ss", kMoment, "14:07:09"},
        {"mm hh", kMoment, "11 14"},
        {"dd.mm hh:mm", kMoment, "05.11 14:07"},
        {"hh:nn", kMoment, "14:07"},
        {"n:s", kMoment, "7:9"},
        {"z", kMoment, "45"},
        {"zzz", kMoment, "045"},
        {"h am/pm", kMoment, "2 pm"},
        {"hh AM/PM", kMoment, "02 PM"},
        {"h a/p", kMoment, "2 p"},
        {"h ampm", kMoment, "2 PM"},
        {"h am/pm", 0.5 / 24, "12 am"},
        {"c", kMoment, "05.11.1998 14:07:09"},
        {"c", 36104, "05.11.1998"},
        {"t", kMoment, "14:07"},
        {"tt", kMoment, "14:07:09"},
        {"dd/mm/yyyy", kMoment, "05.11.1998"},
        {"'day' d, \"mm\" mm", kMoment, "day 5, mm 11"},
        {"d 'день", kMoment, "5 день"},
        // Before 1900 and after 2100.
        {"dd.mm.yyyy", -31890, "07.09.1812"},
        {"dd.mm.yyyy", -36522, "01.01.1800"},
        {"dd.mm.yyyy hh:nn", -1.25, "29.12.1899 06:00"},
        {"dd.mm.yyyy", 0, "30.12.1899"},
        {"dd.mm.yyyy", 73051, "01.01.2100"},
        {"dd.mm.yyyy dddd", 99999, "13.10.2173 среда"},
        {"dd.mm.yyyy", 2958465, "31.12.9999"},
        {"dd.mm.yyyy", -693593, "01.01.0001"},
        // A time that rounds to midnight belongs to the next day.
        {"dd.mm.yyyy hh:nn:ss", 36104.9999999999, "06.11.1998 00:00:00"},
    };
    for (const DateRow& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(frFormatDateTime(QString::fromUtf8(row.pattern), row.days, ru),
                  QString::fromUtf8(row.expected));
    }
}

TEST(ValuesFormatting, DatesOutsideTheCalendarAreConversionErrors) {
    const TfrLocale ru;
    EXPECT_EQ(FailureText([&] { frFormatDateTime(QStringLiteral("dd.mm.yyyy"), 2958466, ru); }),
              QStringLiteral("'2958466' не является допустимой датой"));
    EXPECT_THROW(frFormatDateTime(QStringLiteral("d"), -693594, ru), EConvertError);
    EXPECT_THROW(frFormatDateTime(QStringLiteral("d"), std::nan(""), ru), EConvertError);
    EXPECT_FALSE(frDaysToDateTime(1e9).isValid());
}

TEST(ValuesFormatting, DayCounts) {
    EXPECT_EQ(frDateToDays(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(frDateToDays(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(frDateToDays(QDate(2000, 1, 1)), 36526);
    EXPECT_EQ(frDateToDays(QDate(1812, 9, 7)), -31890);
    EXPECT_EQ(frDateTimeToDays(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_EQ(frDateTimeToDays(QDate(1998, 11, 5), QTime(18, 0)), 36104.75);
    EXPECT_EQ(frDaysToDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC));
    EXPECT_EQ(frDaysToDateTime(73051.5), QDateTime(QDate(2100, 1, 1), QTime(12, 0), Qt::UTC));
}

TEST(ValuesFormatting, ReadingNumbers) {
    const TfrLocale ru;
    EXPECT_EQ(frStrToInt(QStringLiteral("42")), 42);
    EXPECT_EQ(frStrToInt(QStringLiteral(" -17 ")), -17);
    EXPECT_EQ(frStrToInt(QStringLiteral("$FF")), 255);
    EXPECT_EQ(frStrToInt(QStringLiteral("0x10")), 16);
    EXPECT_EQ(frStrToInt(QStringLiteral("-2147483648")), -2147483648LL);
    EXPECT_EQ(frStrToInt64(QStringLiteral("-9223372036854775808")),
              std::numeric_limits<qint64>::min());
    EXPECT_EQ(frStrToFloat(QStringLiteral("2,5"), ru), 2.5);
    EXPECT_EQ(frStrToFloat(QStringLiteral(" 2.5 "), ru), 2.5);
    EXPECT_EQ(frStrToFloat(QStringLiteral("-1,5E3"), ru), -1500);
    EXPECT_EQ(frStrToFloat(QStringLiteral(",5"), ru), 0.5);

    const struct {
        std::function<void()> read;
        const char* message;
    } errors[] = {
        {[] { frStrToInt(QStringLiteral("2147483648")); },
         "'2147483648' is not a valid integer value"},
        {[] { frStrToInt(QStringLiteral("12a")); }, "'12a' is not a valid integer value"},
        {[] { frStrToInt(QString()); }, "'' is not a valid integer value"},
        {[] { frStrToInt64(QStringLiteral("9223372036854775808")); },
         "'9223372036854775808' is not a valid integer value"},
        {[&] { frStrToFloat(QStringLiteral("abc"), ru); }, "'abc' не является допустимым числом"},
        {[&] { frStrToFloat(QStringLiteral("1e400"), ru); },
         "'1e400' не является допустимым числом"},
        {[&] { frStrToFloat(QStringLiteral("1 000"), ru); },
         "'1 000' не является допустимым числом"},
        {[&] { frStrToFloat(QStringLiteral("2,5,1"), ru); },
         "'2,5,1' не является допустимым числом"},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.message);
        EXPECT_EQ(FailureText(e.read), QString::fromUtf8(e.message));
    }
}

TEST(ValuesFormatting, ReadingDatesAndTimes) {
    const TfrLocale ru;
    const double thisYear = frDateToDays(QDate(QDate::currentDate().year(), 11, 5));
    EXPECT_EQ(frStrToDate(QStringLiteral("05.11.1998"), ru), 36104);
    EXPECT_EQ(frStrToDate(QStringLiteral(" 5.11.98 "), ru), 36104);
    EXPECT_EQ(frStrToDate(QStringLiteral("05.11"), ru), thisYear);
    EXPECT_EQ(frStrToDate(QStringLiteral("07.09.1812"), ru), -31890);
    EXPECT_EQ(frStrToDate(QStringLiteral("13.10.2173"), ru), 99999);
    EXPECT_EQ(frStrToTime(QStringLiteral("18:00"), ru), 0.75);
    EXPECT_EQ(frStrToTime(QStringLiteral("6:00:00 PM"), ru), 0.75);
    EXPECT_EQ(frStrToTime(QStringLiteral("12:00 AM"), ru), 0);
    EXPECT_EQ(frStrToDateTime(QStringLiteral("05.11.1998 18:00"), ru), 36104.75);
    EXPECT_EQ(frStrToDateTime(QStringLiteral("29.12.1899 6:00"), ru), -1.25);
    EXPECT_EQ(frStrToDateTime(QStringLiteral("18:00"), ru), 0.75);
    EXPECT_EQ(frStrToDateTime(QStringLiteral("05.11.1998"), ru), 36104);

    const struct {
        std::function<void()> read;
        const char* message;
    } errors[] = {
        {[&] { frStrToDate(QStringLiteral("31.02.2000"), ru); },
         "'31.02.2000' не является допустимой датой"},
        {[&] { frStrToDate(QStringLiteral("abc"), ru); }, "'abc' не является допустимой датой"},
        {[&] { frStrToDate(QStringLiteral("05.11.1998 18:00"), ru); },
         "'05.11.1998 18:00' не является допустимой датой"},
        {[&] { frStrToTime(QStringLiteral("25:00"), ru); },
         "'25:00' не является допустимым временем"},
        {[&] { frStrToTime(QStringLiteral("13:00 PM"), ru); },
         "'13:00 PM' не является допустимым временем"},
        {[&] { frStrToTime(QStringLiteral("18"), ru); }, "'18' не является допустимым временем"},
        {[&] { frStrToDateTime(QStringLiteral("05.11.1998 x"), ru); },
         "'05.11.1998 x' не является допустимыми датой и временем"},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.message);
        EXPECT_EQ(FailureText(e.read), QString::fromUtf8(e.message));
    }
}

TEST(ValuesFormatting, ReadingFollowsTheShortDateOrder) {
    TfrLocale us;
    us.ShortDateFormat = QStringLiteral("m/d/yyyy");
    us.DateSeparator = u'/';
    EXPECT_EQ(frStrToDate(QStringLiteral("11/5/1998"), us), 36104);
    EXPECT_EQ(frFormatDateTime(QStringLiteral("ddddd"), 36104, us), QStringLiteral("11/5/1998"));
}

TEST(ValuesFormatting, EditMasks) {
    const TfrLocale ru;
    const struct {
        const char* mask;
        const char* text;
        const char* expected;
    } rows[] = {
        {"000-00-00;0; ", "1234567", "123-45-67"},
        {"(999) 000-0000;0; ", "4951234567", "(495) 123-4567"},
        {"000-00;0; ", "12", "12 -  "},
        {"000;0; ", "12345", "12345"},
        {"!999;0; ", "5", "  5"},
        {"!9-99;0; ", "12345", "123-45"},
        {">LLL<ll;0; ", "abcDE", "ABCde"},
        {">LL<>ll;0; ", "абвг", "АБвг"},
        {"00/00/0000;0; ", "05111998", "05.11.1998"},
        {"00:00;0; ", "1807", "18:07"},
        {"\\000;0; ", "12", "012"},
        {"000-00;1; ", "123-45", "123-45"},
        {"000-00;1; ", "12345", "123-45"},
        {"", "abc", "abc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mask);
        EXPECT_EQ(frFormatMaskText(QString::fromUtf8(row.mask), QString::fromUtf8(row.text), ru),
                  QString::fromUtf8(row.expected));
    }
}
