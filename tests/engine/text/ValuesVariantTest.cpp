#include "FailureText.h"
#include "Locale.h"
#include "ValueErrors.h"
#include "Variant.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QPointF>

#include <functional>
#include <limits>

namespace {

QVariant I(qint64 v) {
    return QVariant::fromValue<qint64>(v);
}
QVariant R(double v) {
    return QVariant(v);
}
QVariant S(const char* v) {
    return QVariant(QString::fromUtf8(v));
}
QVariant B(bool v) {
    return QVariant(v);
}
QVariant D(double days) {
    return frDateTimeValue(days);
}

// A value as "Type:text", so a row states the type and the value it expects.
QString Shown(const QVariant& v, const TfrLocale& locale) {
    return frVarTypeName(v) + QLatin1Char(':') + frVarToString(v, locale);
}

const TfrLocale ru;

using Binary = QVariant (*)(const QVariant&, const QVariant&, const TfrLocale&);

struct ArithRow {
    const char* name;
    Binary op;
    QVariant a;
    QVariant b;
    const char* expected;  // "Type:text", or the failure's message
};

}  // namespace

TEST(ValuesVariant, Arithmetic) {
    const qint64 big = std::numeric_limits<qint64>::max();
    const ArithRow rows[] = {
        {"int + int stays integer", frVarAdd, I(2), I(3), "Int64:5"},
        {"int + real", frVarAdd, I(2), R(0.5), "Double:2,5"},
        {"int overflow becomes real", frVarAdd, I(big), I(1), "Double:9,22337203685478E18"},
        {"int * int", frVarMul, I(-2), I(3), "Int64:-6"},
        {"int - int", frVarSub, I(2), I(5), "Int64:-3"},
        {"division is real", frVarDiv, I(7), I(2), "Double:3,5"},
        {"even division is real too", frVarDiv, I(6), I(2), "Double:3"},
        {"division by zero gives 0", frVarDiv, I(10), I(0), "Int64:0"},
        {"division by zero real", frVarDiv, R(1.5), R(0.0), "Int64:0"},
        {"division by a zero text", frVarDiv, I(10), S("0"), "Int64:0"},
        {"remainder", frVarMod, I(7), I(2), "Int64:1"},
        {"remainder keeps the dividend's sign", frVarMod, I(-7), I(2), "Int64:-1"},
        {"remainder rounds reals half to even", frVarMod, R(6.5), I(4), "Int64:2"},
        {"remainder by -1", frVarMod, I(std::numeric_limits<qint64>::min()), I(-1), "Int64:0"},
        {"text + text joins", frVarAdd, S("a"), S("b"), "String:ab"},
        {"text + empty joins", frVarAdd, S("a"), QVariant(), "String:a"},
        {"text + number reads the text", frVarAdd, S("2"), I(3), "Double:5"},
        {"number + text reads the text", frVarAdd, I(3), S("2,5"), "Double:5,5"},
        {"text * text reads both", frVarMul, S("2"), S("3"), "Double:6"},
        {"text - text reads both", frVarSub, S("abc"), S("a"),
         "Значение типа «строка» нельзя преобразовать в тип «число»"},
        {"unreadable text + number", frVarAdd, S("abc"), I(1),
         "Значение типа «строка» нельзя преобразовать в тип «число»"},
        {"Null + number", frVarAdd, frNull(), I(1), "Null:"},
        {"number / Null", frVarDiv, I(1), frNull(), "Null:"},
        {"Null joins no text", frVarAdd, S("a"), frNull(), "Null:"},
        {"empty counts as 0", frVarAdd, QVariant(), I(1), "Int64:1"},
        {"logical counts as -1", frVarAdd, B(true), I(1), "Int64:0"},
        {"AND as multiplication of logicals", frVarMul, B(true), B(true), "Int64:1"},
        {"date + number", frVarAdd, D(36104), I(1), "Date:06.11.1998"},
        {"number + date", frVarAdd, R(0.5), D(36104), "Date:05.11.1998 12:00"},
        {"date - number", frVarSub, D(36104), R(0.25), "Date:04.11.1998 18:00"},
        {"date - date is a real", frVarSub, D(36104), D(36100), "Double:4"},
        {"text + date reads a date", frVarSub, D(36104), S("01.11.1998"), "Double:4"},
        {"or of logicals", frVarOr, B(false), B(true), "Boolean:True"},
        {"or of integers is bitwise", frVarOr, I(5), I(2), "Int64:7"},
        {"or of a logical and an integer", frVarOr, B(true), I(0), "Int64:-1"},
        {"or with Null", frVarOr, frNull(), I(1), "Null:"},
    };
    for (const ArithRow& row : rows) {
        SCOPED_TRACE(row.name);
        QString got;
        try {
            got = Shown(row.op(row.a, row.b, ru), ru);
        } catch (const Failure& e) {
            got = e.Message();
        }
        EXPECT_EQ(got, QString::fromUtf8(row.expected));
    }
}

TEST(ValuesVariant, Negation) {
    EXPECT_EQ(Shown(frVarNeg(I(5), ru), ru), QStringLiteral("Int64:-5"));
    EXPECT_EQ(Shown(frVarNeg(R(2.5), ru), ru), QStringLiteral("Double:-2,5"));
    EXPECT_EQ(Shown(frVarNeg(S("3"), ru), ru), QStringLiteral("Double:-3"));
    EXPECT_EQ(Shown(frVarNeg(B(true), ru), ru), QStringLiteral("Int64:1"));
    EXPECT_EQ(Shown(frVarNeg(frNull(), ru), ru), QStringLiteral("Null:"));
    EXPECT_EQ(Shown(frVarNeg(I(std::numeric_limits<qint64>::min()), ru), ru),
              QStringLiteral("Double:9,22337203685478E18"));
    EXPECT_THROW(frVarNeg(S("x"), ru), EVariantTypeCastError);
}

TEST(ValuesVariant, Comparison) {
    const qint64 big = std::numeric_limits<qint64>::max();
    const struct {
        const char* name;
        QVariant a;
        QVariant b;
        int expected;
    } rows[] = {
        {"integers", I(1), I(2), -1},
        {"integer and real", R(2.0), I(2), 0},
        {"a real beyond every integer", I(big), R(9223372036854775808.0), -1},
        {"text with a number compares numerically", S("10"), I(9), 1},
        {"the same texts compare as texts", S("10"), S("9"), -1},
        {"text with a decimal comma", S("2,5"), R(2.5), 0},
        {"texts by the locale's order", S("ёлка"), S("жук"), -1},
        {"letter case counts, small letters first", S("а"), S("А"), -1},
        {"empty text and empty", S(""), QVariant(), 0},
        {"empty and zero", QVariant(), I(0), 0},
        {"Null and Null", frNull(), frNull(), 0},
        {"Null below a number", frNull(), I(-5), -1},
        {"a text above Null", S(""), frNull(), 1},
        {"logicals", B(true), B(false), 1},
        {"text with a logical", S("TRUE"), B(true), 0},
        {"a logical counts as -1 beside a number", B(true), I(-1), 0},
        {"date and number", D(5), I(5), 0},
        {"date and text", D(36104), S("05.11.1998"), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(frVarCompare(row.a, row.b, ru), row.expected);
        EXPECT_EQ(frVarCompare(row.b, row.a, ru), -row.expected);
        EXPECT_EQ(frVarEquals(row.a, row.b, ru), row.expected == 0);
    }
    EXPECT_EQ(FailureText([] { frVarCompare(S("abc"), I(1), ru); }),
              QStringLiteral("Значение типа «строка» нельзя преобразовать в тип «число»"));
    EXPECT_EQ(FailureText([] { frVarEquals(S("maybe"), B(true), ru); }),
              QStringLiteral("Значение типа «строка» нельзя преобразовать в тип «логическое»"));
}

TEST(ValuesVariant, PlainTextForm) {
    const struct {
        QVariant v;
        const char* expected;
    } rows[] = {
        {I(5), "5"},
        {QVariant(-7), "-7"},
        {R(2.5), "2,5"},
        {R(1.0 / 3), "0,333333333333333"},
        {R(0.1 + 0.2), "0,3"},
        {B(true), "True"},
        {B(false), "False"},
        {frNull(), ""},
        {QVariant(), ""},
        {S("текст"), "текст"},
        {D(36104), "05.11.1998"},
        {D(36104.75), "05.11.1998 18:00"},
        {D(0.5), "12:00"},
        {D(-1.25), "29.12.1899 6:00"},
        {D(-31890), "07.09.1812"},
        {D(99999), "13.10.2173"},
        {D(1e7), "10000000"},
        {QVariant(QDate(1998, 11, 5)), "05.11.1998"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(frVarToString(row.v, ru), QString::fromUtf8(row.expected));
    }
}

TEST(ValuesVariant, Conversions) {
    EXPECT_EQ(frVarToReal(S("2,5"), ru), 2.5);
    EXPECT_EQ(frVarToReal(D(1.5), ru), 1.5);
    EXPECT_EQ(frVarToReal(B(true), ru), -1);
    EXPECT_EQ(frVarToReal(QVariant(), ru), 0);
    EXPECT_EQ(frVarToInt64(R(2.5), ru), 2);
    EXPECT_EQ(frVarToInt64(R(3.5), ru), 4);
    EXPECT_EQ(frVarToInt64(R(-2.5), ru), -2);
    EXPECT_EQ(frVarToInt64(S(" 12 "), ru), 12);
    EXPECT_EQ(frVarToInt64(S("2,5"), ru), 2);
    EXPECT_EQ(frVarToInt64(S("$10"), ru), 16);
    EXPECT_TRUE(frVarToBool(S("true"), ru));
    EXPECT_FALSE(frVarToBool(S("0"), ru));
    EXPECT_TRUE(frVarToBool(R(0.1), ru));
    EXPECT_EQ(frVarToDateTime(S("05.11.1998 18:00"), ru), 36104.75);
    EXPECT_EQ(frVarToDateTime(I(3), ru), 3);
    EXPECT_EQ(frVarToDateTime(QVariant(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), ru), -1.25);

    const struct {
        std::function<void()> convert;
        const char* message;
    } errors[] = {
        {[] { frVarToReal(frNull(), ru); },
         "Значение типа «Null» нельзя преобразовать в тип «число»"},
        {[] { frVarToReal(S("abc"), ru); },
         "Значение типа «строка» нельзя преобразовать в тип «число»"},
        {[] { frVarToInt64(S("x"), ru); },
         "Значение типа «строка» нельзя преобразовать в тип «целое»"},
        {[] { frVarToInt64(frNull(), ru); },
         "Значение типа «Null» нельзя преобразовать в тип «целое»"},
        {[] { frVarToBool(S("maybe"), ru); },
         "Значение типа «строка» нельзя преобразовать в тип «логическое»"},
        {[] { frVarToDateTime(S("abc"), ru); },
         "Значение типа «строка» нельзя преобразовать в тип «дата»"},
        {[] { frVarToInt64(R(1e30), ru); }, "Invalid variant type conversion"},
        {[] { frVarToInt64(R(std::numeric_limits<double>::quiet_NaN()), ru); },
         "Invalid variant type conversion"},
        {[] { frVarMod(I(1), I(0), ru); }, "Деление на ноль"},
        {[] { frVarAdd(QVariant(QPointF(1, 2)), I(1), ru); }, "Invalid variant type conversion"},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.message);
        EXPECT_EQ(FailureText(e.convert), QString::fromUtf8(e.message));
    }
}

TEST(ValuesVariant, KindsAndHelpers) {
    EXPECT_TRUE(frIsNull(frNull()));
    EXPECT_FALSE(frIsNull(QVariant()));
    EXPECT_TRUE(frIsEmpty(QVariant()));
    EXPECT_TRUE(frIsEmpty(frNull()));
    EXPECT_FALSE(frIsEmpty(S("")));
    EXPECT_TRUE(frIsNumeric(I(1)));
    EXPECT_TRUE(frIsNumeric(QVariant(1)));
    EXPECT_TRUE(frIsNumeric(R(1)));
    EXPECT_TRUE(frIsNumeric(D(1)));
    EXPECT_FALSE(frIsNumeric(S("1")));
    EXPECT_FALSE(frIsNumeric(B(true)));
    EXPECT_EQ(frVarTypeName(QVariant(1)), QStringLiteral("Integer"));
    EXPECT_EQ(frVarTypeName(D(1)), QStringLiteral("Date"));
    EXPECT_EQ(D(2.5), D(2.5));
    EXPECT_NE(D(2.5), D(3));
}

TEST(ValuesVariant, AnotherLocale) {
    TfrLocale en;
    en.DecimalSeparator = u'.';
    en.ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    en.DateSeparator = u'-';
    EXPECT_EQ(frVarToString(R(2.5), en), QStringLiteral("2.5"));
    EXPECT_EQ(frVarToString(D(36104), en), QStringLiteral("1998-11-05"));
    EXPECT_EQ(Shown(frVarAdd(S("2.5"), I(1), en), en), QStringLiteral("Double:3.5"));
}
