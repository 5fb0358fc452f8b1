#include "Locale.h"
#include "Parser.h"
#include "ParserError.h"

#include <gtest/gtest.h>

namespace {

// Operators written as control codes are shown as {n}.
QString Show(const QString& postfix) {
    QString out;
    for (const QChar c : postfix) {
        if (c.unicode() < 32)
            out += QStringLiteral("{%1}").arg(c.unicode());
        else
            out += c;
    }
    return out;
}

}  // namespace

TEST(ParserPostfix, Conversions) {
    const TfrLocale locale = TfrLocale::Russian();
    const TfrParser parser(locale);
    struct Row {
        const char* infix;
        const char* postfix;
    };
    const Row rows[] = {
        {"2+3*4", "2 3 4 *+"},
        {"(2+3)*4", "2 3 +4 *"},
        {"-x", "x {9}"},
        {"+x", "x {10}"},
        {"-2*3", "2 3 *{9}"},
        {"2*-3", "2 3 {9}*"},
        {"a - -b", "a b {9}-"},
        {"7/2-1", "7 2 /1 -"},
        {"a>=1", "a 1 {1}"},
        {"a<=1", "a 1 {2}"},
        {"a<>1", "a 1 {3}"},
        {"a = 1 or b = 2", "a 1 b {4}=2 ="},
        {"(a = 1) AND (b = 2)", "a 1 =b 2 ={5}"},
        {"NOT 0", "0 {12}"},
        {"1 and not 0", "1 0 {12}{5}"},
        {"a Mod 2", "a 2 {13}"},
        {"INT(2.5)+FRAC(x)", "2.5 {6}x {7}+"},
        {"Round(x) * 2", "x {14}2 *"},
        {"STR(1)", "1 {11}"},
        {"COPY('a,b)', 1, 2)+1", "COPY('a,b)', 1, 2)1 +"},
        {"'it''s' + 'x'", "'it''s' 'x' +"},
        {"[a b]+1", "[a b] 1 +"},
        {"arr[i + 1] * 2", "arr[i + 1] 2 *"},
        {"Page#", "Page# "},
        {"\"Order items\".Total + 1", "\"Order items\".Total 1 +"},
        {"2,5 + .5", "2,5 .5 +"},
        {"x; anything", "x "},
        {"1 + 2 ; 3", "1 2 +"},
        {"", ""},
        {"  \r ", ""},
        {"(1", "1 "},
        {"1)", "1 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.infix);
        EXPECT_EQ(Show(parser.ToPostfix(QString::fromUtf8(r.infix))), QString::fromUtf8(r.postfix));
    }
}

TEST(ParserPostfix, CallWithoutItsClosingParenthesisFailsWithEmptyMessage) {
    const TfrLocale locale = TfrLocale::Russian();
    const TfrParser parser(locale);
    for (const char* s : {"COPY('a', 1", "F((1)", "F(')'"}) {
        SCOPED_TRACE(s);
        try {
            parser.ToPostfix(QString::fromUtf8(s));
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), QString());
        }
    }
    EXPECT_THROW(parser.ToPostfix(QStringLiteral("F(1, 2, 3, 4)")), EParserError);
    EXPECT_NO_THROW(parser.ToPostfix(QStringLiteral("F(1, (2, 5), 3)")));
}
