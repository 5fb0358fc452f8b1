#include "ParserFixture.h"

#include <random>

using namespace Qt::StringLiterals;

namespace {

// Pieces expressions are made of, good and bad.
const char* const Pieces[] = {
    "1",    "2,5",   ".5",  "0",   "x",     "'a'",        "'it''s'", "'",     "[x]",     "[",
    "]",    "(",     ")",   "((",  "))",    "+",          "-",       "*",     "/",       "<",
    ">",    "=",     "<>",  ">=",  "<=",    " AND ",      " OR ",    " NOT ", " MOD ",   "INT",
    "FRAC", "ROUND", "STR", "IF(", "COPY(", "UPPERCASE(", "POS(",    ",",     ";",       "\"",
    "arr[", "TRUE",  " ",   "\r",  "%",     "1.2.3",      "ф",       "SUM(",  "LENGTH(", "\t",
};

}  // namespace

using Fuzz = ParserFixture;

// Whatever the text, evaluation ends in a value or a failure: no crash, no hang, no other
// exception.
TEST_F(Fuzz, GeneratedExpressionsEndInAValueOrAFailure) {
    names[u"X"_s] = 3;
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> piece(0, static_cast<int>(std::size(Pieces)) - 1);
    int values = 0;
    int failures = 0;
    const auto run = [&](const QString& text, bool postfix) {
        try {
            if (postfix)
                parser.EvaluatePostfix(text);
            else
                parser.Evaluate(text);
            ++values;
        } catch (const Failure&) {
            ++failures;
        } catch (...) {
            ADD_FAILURE() << "unexpected exception for: " << text.toStdString();
        }
    };
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = 1 + static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k)
            text += QString::fromUtf8(Pieces[piece(random)]);
        run(text, false);
        // Truncated anywhere.
        run(text.left(static_cast<qsizetype>(random() % static_cast<unsigned>(text.size() + 1))),
            false);
        // As a postfix text, with operator codes among its characters.
        QString codes = text;
        for (QChar& c : codes)
            if (random() % 5 == 0)
                c = QChar(static_cast<char16_t>(1 + random() % 15));
        run(codes, true);
    }
    // Deep nesting, long operand runs, operators at the ends.
    for (int depth : {1, 31, 32, 33, 200, 5000}) {
        run(QString(depth, u'(') + u"1"_s + QString(depth, u')'), false);
        run(u"1"_s + QString(u"+(1"_s).repeated(depth) + QString(depth, u')'), false);
        run(QString(u"IF(1,"_s).repeated(depth) + u"1"_s + QString(u",0)"_s).repeated(depth),
            false);
        run(QString(u"1 "_s).repeated(depth), false);
        run(QString(u"-"_s).repeated(depth) + u"1"_s, false);
        run(QString(u"[["_s).repeated(depth) + u"x"_s, false);
    }
    for (const char* s : {"+", "1+", "*1", "1*", "()", ")(", "'", "[", "]", ";", "IF(", "COPY("})
        run(QString::fromUtf8(s), false);
    EXPECT_EQ(values + failures, 3 * 3000 + 6 * 6 + 12);
    EXPECT_GT(values, 0);
    EXPECT_GT(failures, 0);
}
