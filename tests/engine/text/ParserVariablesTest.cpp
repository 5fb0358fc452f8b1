#include "EngineConstants.h"
#include "EngineErrors.h"
#include "Variables.h"
#include "Variant.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Names(const TfrVariables& v) {
    QStringList names;
    for (int i = 0; i < v.Count(); ++i)
        names << v.Name(i);
    return names;
}

}  // namespace

TEST(ParserVariables, NamesIgnoreCaseAndAreListedOnce) {
    TfrVariables v;
    v.SetVariable(QStringLiteral("Итого"), 1);
    v.SetVariable(QStringLiteral("ИТОГО"), 2);
    v.SetVariable(QStringLiteral("b"), QStringLiteral("x"));
    EXPECT_EQ(v.Count(), 2);
    EXPECT_EQ(v.Variable(QStringLiteral("итого")).toInt(), 2);
    EXPECT_EQ(v.Name(0), QStringLiteral("Итого"));
    EXPECT_EQ(v.IndexOf(QStringLiteral("B")), 1);
    EXPECT_EQ(v.IndexOf(QStringLiteral("c")), -1);
    EXPECT_TRUE(frIsNull(v.Variable(QStringLiteral("c"))));
}

TEST(ParserVariables, IndexAccessAndItsLimits) {
    TfrVariables v;
    v.SetVariable(QStringLiteral("a"), 1);
    v.SetVariable(QStringLiteral("b"), 2);
    EXPECT_EQ(v.Value(5).toInt(), 0);
    EXPECT_EQ(v.Value(-1).toInt(), 0);
    EXPECT_THROW(v.Name(2), EListError);
    EXPECT_THROW(v.SetValue(-1, 3), EListError);
    EXPECT_THROW(v.Delete(2), EListError);

    v.SetValue(1, 5);
    EXPECT_EQ(v.Variable(QStringLiteral("b")).toInt(), 5);
    v.SetName(0, QStringLiteral("c"));
    EXPECT_EQ(Names(v), QStringList({u"c"_s, u"b"_s}));
    EXPECT_THROW(v.SetName(0, QStringLiteral("B")), Failure);
    v.Delete(0);
    EXPECT_EQ(Names(v), QStringList({u"b"_s}));
    v.Clear();
    EXPECT_EQ(v.Count(), 0);
}

TEST(ParserVariables, SortedListKeepsOrderThroughChanges) {
    TfrVariables v;
    v.SetVariable(QStringLiteral("m"), 1);
    v.SetVariable(QStringLiteral("B"), 2);
    v.SetSorted(true);
    v.SetVariable(QStringLiteral("a"), 3);
    v.SetVariable(QStringLiteral("z"), 4);
    EXPECT_EQ(Names(v), QStringList({u"a"_s, u"B"_s, u"m"_s, u"z"_s}));
    EXPECT_EQ(v.IndexOf(QStringLiteral("M")), 2);
    v.SetName(0, QStringLiteral("y"));
    EXPECT_EQ(Names(v), QStringList({u"B"_s, u"m"_s, u"y"_s, u"z"_s}));
    EXPECT_EQ(v.Variable(QStringLiteral("Y")).toInt(), 3);
}

TEST(ParserVariables, EngineConstantsInTheirOrder) {
    TfrVariables c;
    frFillEngineConstants(c);
    ASSERT_EQ(c.Count(), 42 + 5 + 2 + 4 + 5 + 6 + 8 + 6 + 8);
    struct Row {
        int index;
        const char* name;
        qint64 value;
    };
    const Row rows[] = {
        {0, "clWhite", 0xFFFFFF},
        {16, "clTransparent", 0x1FFFFFFF},
        {17, "clScrollBar", 0x80000000},
        {41, "clInfoBk", 0x80000000 + 24},
        {22, "clWindow", 0x80000005},
        {42, "mrNone", 0},
        {46, "mrNo", 7},
        {49, "fsBold", 2},
        {53, "frftNone", 0},
        {58, "frtaLeft", 0},
        {63, "frtaDown", 16},
        {64, "baNone", 0},
        {71, "baRest", 7},
        {72, "psSolid", 0},
        {77, "psDouble", 5},
        {78, "mb_Ok", 0},
        {85, "mb_IconWarning", 48},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(c.Name(r.index), QString::fromLatin1(r.name));
        EXPECT_EQ(static_cast<quint32>(c.Value(r.index).toInt()), static_cast<quint32>(r.value));
    }
    EXPECT_EQ(c.Name(47), QStringLiteral("CRLF"));
    EXPECT_EQ(c.Value(47).toString(), QStringLiteral("\r\n"));
    EXPECT_EQ(c.Name(48), QStringLiteral("Null"));
    EXPECT_TRUE(frIsNull(c.Value(48)));

    // Sorted, as the engine keeps them, the names are still found in any letter case.
    c.SetSorted(true);
    EXPECT_EQ(c.Variable(QStringLiteral("CLRED")).toInt(), 0xFF);
    EXPECT_EQ(c.Variable(QStringLiteral("mb_yesnocancel")).toInt(), 3);
}
