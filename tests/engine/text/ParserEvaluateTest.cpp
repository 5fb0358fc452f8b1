#include "ParserError.h"
#include "ParserFixture.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

using Evaluate = ParserFixture;

TEST_F(Evaluate, ValuesUnderTheRussianLocale) {
    names[QStringLiteral("X")] = 5;
    names[QStringLiteral("T")] = QStringLiteral("10");
    struct Row {
        const char* expression;
        QVariant expected;
    };
    const Row rows[] = {
        // precedence, signs, division
        {"2+3*4", 14.0},
        {"(2+3)*4", 20.0},
        {"-2*3", -6.0},
        {"2*-3", -6.0},
        {"-x + 1", -4.0},
        {"2 - -1", 3.0},
        {"10/0", 0},
        {"7/2", 3.5},
        {"x/2", 2.5},
        {"6/3", 2.0},
        {"7 mod 2", 1},
        {"7 mod 0", 0},
        {"7 mod 0,4", 0},
        {"-7 mod 0", 0},
        {"2,5 + .5", 3.0},
        // comparisons and logic give the integers 1 and 0
        {"1<2", 1},
        {"2<=1", 0},
        {"1<>1", 0},
        {"NOT 0", 1},
        {"NOT 5", 0},
        {"(1=1) AND (2=2)", 1},
        {"(1=1) AND (2=3)", 0},
        {"1 and not 0", 1.0},
        {"TRUE", true},
        {"false", false},
        // text with numbers: the text is taken as a number
        {"t > 9", 1},
        {"'10' < 9", 0},
        {"'2' + 1", 3.0},
        {"'a' + 'b'", QStringLiteral("ab")},
        {"'it''s'", QStringLiteral("it's")},
        {"STR(2.5)", QStringLiteral("2,5")},
        // rounding
        {"ROUND(2.5)", 2},
        {"ROUND(3.5)", 4},
        {"ROUND(-2.5)", -2},
        {"INT(-2.7)", -2.0},
        {"INT(2.99999999999999)", 3.0},
        {"FRAC(2.99999999999999)", 0.0},
        {"FRAC(2.75)", 0.75},
        // the built-in calls
        {"IF(1>2, 'yes', 'no')", QStringLiteral("no")},
        {"IF(1<2, 'yes', BOOM)", QStringLiteral("yes")},
        {"IF(1>2, BOOM, 'no')", QStringLiteral("no")},
        {"IF(TRUE, 1, 2)", 1.0},
        {"IF(0.5, 1, 2)", 2.0},
        {"COPY('abcdef', 2, 3)", QStringLiteral("bcd")},
        {"COPY('abcdef', 0, 2)", QStringLiteral("ab")},
        {"COPY('abcdef', 5, 10)", QStringLiteral("ef")},
        {"COPY('abcdef', 7, 1)", QString()},
        // library functions
        {"UPPERCASE('привет')", QStringLiteral("ПРИВЕТ")},
        {"LOWERCASE('ЁЛКА')", QStringLiteral("ёлка")},
        {"NAMECASE('иВАНОВ')", QStringLiteral("Иванов")},
        {"LENGTH('привет')", 6},
        {"POS('в', 'привет')", 4},
        {"POS('я', 'привет')", 0},
        {"TRIM('  a b  ')", QStringLiteral("a b")},
        {"MAXNUM(3, 5)", 5.0},
        {"MINNUM(3, 5)", 3.0},
        {"DAYOF(STRTODATE('05.11.1998'))", 5},
        {"MONTHOF(STRTODATE('05.11.1998'))", 11},
        {"YEAROF(STRTODATE('05.11.1998'))", 1998},
        {"FORMATDATETIME('dd.mm.yyyy', STRTODATE('5.11.1998'))", QStringLiteral("05.11.1998")},
        {"FORMATFLOAT('0.00', 2.5)", QStringLiteral("2,50")},
        {"FORMATFLOAT('0.00', 2.345)", QStringLiteral("2,35")},
        {"FORMATFLOAT('0', 0.5)", QStringLiteral("1")},
        {"FORMATFLOAT('0'' шт.''', 5)", QStringLiteral("5 шт.")},
        {"FORMATFLOAT('#.#######E-##', 1234.567)", QStringLiteral("1,234567E3")},
        {"FORMATFLOAT('#.###E-0', 0)", QStringLiteral("0E0")},
        {"SUM(x)", QStringLiteral("0")},
        // the end of an expression
        {"x; anything", 5},
        {"1 + 2; BOOM", 3.0},
        {"", 0},
        {"  ", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expression);
        try {
            EXPECT_TRUE(SameValue(parser.Evaluate(QString::fromUtf8(r.expression)), r.expected));
        } catch (const Failure& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST_F(Evaluate, ConversionErrorsCarryThePlatformTexts) {
    struct Row {
        const char* expression;
        const char* message;
    };
    const Row rows[] = {
        {"IF('abc', 1, 2)", "'abc' не является допустимым числом"},
        {"1.2.3", "'1,2,3' не является допустимым числом"},
        {"COPY('abc', 'x', 1)", "'x' is not a valid integer value"},
        {"STRTODATE('abc')", "'abc' не является допустимой датой"},
        {"STRTOTIME('25:99')", "'25:99' не является допустимым временем"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expression);
        try {
            const QVariant v = parser.Evaluate(QString::fromUtf8(r.expression));
            ADD_FAILURE() << "no error, got " << v.toString().toStdString();
        } catch (const Failure& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(r.message));
        }
    }
}

// An overflow or an undefined real never reaches a comparison or the page.
TEST_F(Evaluate, AResultThatIsNotAFiniteNumberIsAnError) {
    names[u"BIG"_s] = 1e308;
    names[u"NAN"_s] = std::nan("");
    names[u"INF"_s] = -std::numeric_limits<double>::infinity();
    const QString message =
        u"Результат вычисления не является конечным числом (переполнение или неопределённость)"_s;
    for (const char* expression : {"(big*10-big*10)=5", "big*10", "-big*10 < 0", "big+big",
                                   "nan = 5", "nan", "inf", "1 + inf", "INT(big*10)", "big*10/2"}) {
        SCOPED_TRACE(expression);
        try {
            const QVariant v = parser.Evaluate(QString::fromUtf8(expression));
            ADD_FAILURE() << "no error, got " << v.toString().toStdString();
        } catch (const Failure& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_TRUE(SameValue(parser.Evaluate(u"big/10"_s), 1e307));
}

TEST_F(Evaluate, NamesAndUnknownCallsGoToTheCallbacks) {
    names[QStringLiteral("PAGE#")] = 3;
    names[QStringLiteral("Page#")] = 7;
    EXPECT_TRUE(SameValue(parser.Evaluate(QStringLiteral("page# + [Page#]")), 10));
    EXPECT_EQ(namesAsked, QStringList({u"PAGE#"_s, u"Page#"_s}));

    parser.Evaluate(QStringLiteral("Foo(1 + 2, 'a,b', (3, 4))"));
    parser.Evaluate(QStringLiteral("arr[i + 1]"));
    ASSERT_EQ(callsPassedOn.size(), 2);
    EXPECT_EQ(callsPassedOn[0], QStringList({u"FOO"_s, u"1 + 2"_s, u"'a,b'"_s, u"(3, 4)"_s}));
    EXPECT_EQ(callsPassedOn[1], QStringList({u"GETARRAY"_s, u"arr"_s, u"i + 1"_s, u""_s}));
}

TEST_F(Evaluate, StackLimitsAreErrors) {
    QString operands32;
    for (int i = 1; i <= 32; ++i)
        operands32 += QStringLiteral("%1 ").arg(i);
    EXPECT_TRUE(SameValue(parser.Evaluate(operands32), 1.0));
    EXPECT_THROW(parser.Evaluate(operands32 + QStringLiteral("33")), EParserError);

    // Nested to the right, every left operand waits on the stack.
    QString nested = QStringLiteral("1");
    for (int i = 0; i < 40; ++i)
        nested = QStringLiteral("1+(%1)").arg(nested);
    EXPECT_THROW(parser.Evaluate(nested), EParserError);
    // Nested to the left, two values are enough however deep.
    QString left = QStringLiteral("1");
    for (int i = 0; i < 1000; ++i)
        left = QStringLiteral("(%1)+1").arg(left);
    EXPECT_TRUE(SameValue(parser.Evaluate(left), 1001.0));

    for (const char* s : {"2+", "-", "*3", "\x0C", "1 2 +\x05*", "\x09"}) {
        SCOPED_TRACE(s);
        EXPECT_THROW(parser.EvaluatePostfix(QString::fromLatin1(s)), EParserError);
    }
    // Calls nested deeper than the evaluator allows end in an error, not a crashed stack.
    QString deep = QStringLiteral("1");
    for (int i = 0; i < 2000; ++i)
        deep = QStringLiteral("IF(1, %1, 0)").arg(deep);
    EXPECT_THROW(parser.Evaluate(deep), EParserError);
}
