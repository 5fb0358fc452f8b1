#include "FunctionSplitter.h"
#include "ParserError.h"
#include "Variables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ParserSplitter, FindsAggregateCallsWhereverTheyAre) {
    TfrVariables dictionary;
    dictionary.SetVariable(QStringLiteral("Total"), QStringLiteral("sum([Price]) * 2"));
    dictionary.SetVariable(QStringLiteral("Loop"), QStringLiteral("Loop + COUNT(x)"));
    struct Row {
        const char* name;
        QString expression;
        QStringList calls;
    };
    const Row rows[] = {
        {"plain call", u"SUM([Price])"_s, {u"SUM([Price])"_s}},
        {"any letter case, nested in arguments",
         u"IF(x > 1, max(a, b), Min(c))"_s,
         {u"max(a, b)"_s, u"Min(c)"_s}},
        {"inside a bracketed name", u"[AVG(x) + 1]"_s, {u"AVG(x)"_s}},
        {"through a variable's value", u"Total + 1"_s, {u"sum([Price])"_s}},
        {"a variable naming itself is looked into once", u"Loop"_s, {u"COUNT(x)"_s}},
        {"quoted text is not searched", u"COUNT(y) + 'SUM(x)'"_s, {u"COUNT(y)"_s}},
        {"an expression starting with a quote is not searched", u"'a' + SUM(x)"_s, {}},
        {"the same call is listed once", u"SUM(x) + SUM(x) + SUM(y)"_s, {u"SUM(x)"_s, u"SUM(y)"_s}},
        {"other functions and names", u"COPY(a, 1, 2) + SUMMA(x)"_s, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QStringList found;
        TAggregateFunctionsSplitter(found, &dictionary).Split(r.expression);
        EXPECT_EQ(found, r.calls);
    }
}

TEST(ParserSplitter, OwnListAndUnclosedCall) {
    QStringList found;
    TfrFunctionSplitter splitter({QStringLiteral("Pos")}, found, nullptr);
    splitter.Split(QStringLiteral("POS('a', b) + Total"));
    EXPECT_EQ(found, QStringList({u"POS('a', b)"_s}));
    EXPECT_THROW(splitter.Split(QStringLiteral("POS('a', b")), EParserError);
}
