#include "ParserFixture.h"

#include <cmath>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// Pieces expressions are made of, good and bad.
const char* const Pieces[] = {
    "1",       "2,5",   ".5",
    "0",       "x",     "'a'",
    "'it''s'", "'",     "[x]",
    "[",       "]",     "(",
    ")",       "((",    "))",
    "+",       "-",     "*",
    "/",       "<",     ">",
    "=",       "<>",    ">=",
    "<=",      " AND ", " OR ",
    " NOT ",   " MOD ", "INT",
    "FRAC",    "ROUND", "STR",
    "IF(",     "COPY(", "UPPERCASE(",
    "POS(",    ",",     ";",
    "\"",      "arr[",  "TRUE",
    " ",       "\r",    "%",
    "1.2.3",   "ф",     "SUM(",
    "LENGTH(", "\t",    "99999999999999999999",
    "1e300",
};

}  // namespace

using Fuzz = ParserFixture;

// Whatever the text, evaluation ends in a finite value or a failure: no crash, no hang, no
// other exception. The same text gives the same outcome again, and a failure leaves the
// evaluator as it was.
TEST_F(Fuzz, GeneratedExpressionsEndInAValueOrAFailure) {
    names[u"X"_s] = 3;
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> piece(0, static_cast<int>(std::size(Pieces)) - 1);
    int values = 0;
    int failures = 0;
    // The value's text, or "!" and the failure's message.
    const auto outcome = [&](const QString& text, bool postfix) -> QString {
        try {
            const QVariant v = postfix ? parser.EvaluatePostfix(text) : parser.Evaluate(text);
            if (v.typeId() == QMetaType::Double && !std::isfinite(v.toDouble()))
                ADD_FAILURE() << "not a finite number for: " << text.toStdString();
            return v.toString();
        } catch (const Failure& e) {
            return u"!"_s + e.Message();
        } catch (...) {
            ADD_FAILURE() << "unexpected exception for: " << text.toStdString();
            return u"?"_s;
        }
    };
    const auto run = [&](const QString& text, bool postfix) {
        const QString first = outcome(text, postfix);
        (first.startsWith(u'!') ? failures : values) += 1;
        EXPECT_EQ(outcome(text, postfix), first) << text.toStdString();
        if (first.startsWith(u'!')) {
            EXPECT_EQ(outcome(u"2+3*4"_s, false), u"14"_s) << "after: " << text.toStdString();
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
    EXPECT_GT(values, 0);
    EXPECT_GT(failures, 0);
}
