#include "Brackets.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ParserBrackets, FindBracket) {
    struct Row {
        QString s;
        qsizetype from;
        QString inner;
        qsizetype start;
        qsizetype finish;
    };
    const Row rows[] = {
        {u"a [x] b"_s, 2, u"x"_s, 2, 4},
        {u"[a[b]c]d"_s, 0, u"a[b]c"_s, 0, 6},
        {u"['[']"_s, 0, u"'['"_s, 0, 4},
        {u"[' ] ']"_s, 0, u"' ] '"_s, 0, 6},
        {u"[\"a]\"]"_s, 0, u"\"a]\""_s, 0, 5},
        {u"[]"_s, 0, QString(), 0, 1},
        // unclosed: to the end, the last character left out
        {u"x [yz"_s, 2, u"y"_s, 2, 4},
        {u"x [y"_s, 2, QString(), 2, 3},
        {u"x ["_s, 2, QString(), 2, 2},
        // nothing to find where the text has no "["
        {u"abc"_s, 1, QString(), 1, 1},
        {u"]abc"_s, 0, QString(), 0, 0},
        {u"abc"_s, 3, QString(), 3, 3},
        {QString(), 0, QString(), 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.s.toStdString() + " from " + std::to_string(r.from));
        qsizetype start = r.from;
        qsizetype finish = -1;
        EXPECT_EQ(frFindBracket(r.s, start, finish), r.inner);
        EXPECT_EQ(start, r.start);
        EXPECT_EQ(finish, r.finish);
    }
}
