#include "Dataset.h"
#include "DisplayFormat.h"
#include "EngineErrors.h"
#include "ExpandFixture.h"
#include "Failure.h"
#include "Formatting.h"
#include "Locale.h"
#include "ParserError.h"
#include "Variant.h"
#include "Variants.h"

#include <QBuffer>
#include <QDate>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct Row {
    const char* name;
    QString input;
    QString expected;
};

class ExpandTest : public ExpandFixture {};

TEST_F(ExpandTest, LinesUnderTheRussianLocale) {
    Text().ReportDate = frDateToDays(QDate(1998, 11, 5));
    const Row rows[] = {
        {"plain text", QStringLiteral("Итого 100 руб."), QStringLiteral("Итого 100 руб.")},
        {"empty line", QString(), QString()},
        {"sum in a sentence", QStringLiteral("Итого: [2+3*4] руб."),
         QStringLiteral("Итого: 14 руб.")},
        {"two brackets", QStringLiteral("[2+3] и [10/4]"), QStringLiteral("5 и 2,5")},
        {"bracket last", QStringLiteral("x ["), QStringLiteral("x [")},
        {"decimal comma", QStringLiteral("[2,5]"), QStringLiteral("2,5")},
        {"blank expression", QStringLiteral("[ ]"), QStringLiteral("0")},
        {"quoted bracket", QStringLiteral("['[']"), QStringLiteral("[")},
        {"quoted closing bracket", QStringLiteral("[' ] ']"), QStringLiteral(" ] ")},
        {"value not rescanned", QStringLiteral("[' [2] ']"), QStringLiteral(" [2] ")},
        {"own width", QStringLiteral("[Width]"), QStringLiteral("150")},
        {"own empty name", QStringLiteral("<[Name]>"), QStringLiteral("<>")},
        {"own font size", QStringLiteral("[Font.Size]"), QStringLiteral("10")},
        {"page number", QStringLiteral("[PAGE#]"), QStringLiteral("1")},
        {"page number through the evaluator", QStringLiteral("[Page#]"), QStringLiteral("1")},
        {"single pass page count", QStringLiteral("[TOTALPAGES]"), QStringLiteral("0")},
        {"date", QStringLiteral("[DATE]"), QStringLiteral("05.11.1998")},
        {"date in lower case", QStringLiteral("[date]"), QStringLiteral("05.11.1998")},
        {"date pattern", QStringLiteral("[DATE #Ddd.mm.yyyy]"), QStringLiteral("05.11.1998")},
        {"first d selects dates", QStringLiteral("[DATE #dd.mm.yy]"), QStringLiteral("5.11.98")},
        {"fixed with point", QStringLiteral("[3.14159 #N1.2]"), QStringLiteral("3.14")},
        {"fixed with comma", QStringLiteral("[3.14159 #N1,2]"), QStringLiteral("3,14")},
        {"zero decimals", QStringLiteral("[3.14159 #0.00]"), QStringLiteral("3")},
        {"custom pattern", QStringLiteral("[1234.5 #N# ##0,00]"), QStringLiteral("1 234,50")},
        {"logical true", QStringLiteral("[1 #BНет;Да]"), QStringLiteral("Да")},
        {"logical false", QStringLiteral("[0 #BНет;Да]"), QStringLiteral("Нет")},
        {"unknown format letter", QStringLiteral("[2+3 #Q]"), QStringLiteral("5")},
        {"library function", QStringLiteral("[UPPERCASE('привет')]"), QStringLiteral("ПРИВЕТ")},
        {"branch", QStringLiteral("[IF(1>2, 'да', 'нет')]"), QStringLiteral("нет")},
        {"unknown function", QStringLiteral("<[NOSUCH(1)]>"), QStringLiteral("<>")},
        {"engine constant", QStringLiteral("[clRed]"), QStringLiteral("255")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            EXPECT_EQ(Expand(row.input), row.expected);
        } catch (const Failure& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST_F(ExpandTest, UndefinedNamesAndUnclosedBrackets) {
    const Row rows[] = {
        {"lower-case name", QStringLiteral("[abc]"),
         QStringLiteral("Переменная не определена: \"ABC\"")},
        {"empty bracket", QStringLiteral("[]"), QStringLiteral("Переменная не определена: \"\"")},
        {"name with a point", QStringLiteral("Цена [руб.]"),
         QStringLiteral("Переменная не определена: \"РУБ.\"")},
        {"unclosed empty", QStringLiteral("x [y"),
         QStringLiteral("Нет закрывающей скобки: \"[y\"")},
        {"unclosed digits", QStringLiteral("x [12"),
         QStringLiteral("Нет закрывающей скобки: \"[12\"")},
        {"unclosed quote", QStringLiteral("['a]"),
         QStringLiteral("Нет закрывающей скобки: \"['a]\"")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            const QString result = Expand(row.input);
            ADD_FAILURE() << "expanded to " << result.toStdString();
        } catch (const Failure& e) {
            EXPECT_EQ(e.Message(), row.expected);
        }
    }
}

TEST_F(ExpandTest, PreparationSetsTheDateAndThePageCount) {
    TfrTextLayer* layer = frEngineState().TextLayer;
    ASSERT_EQ(layer, &Text());
    layer->BeginPreparation();
    frEngineState().TotalPages = 3;
    frEngineState().PreparedPageIndex = 1;
    EXPECT_EQ(
        Expand(QStringLiteral("[PAGE#] из [TOTALPAGES], [DATE]")),
        QStringLiteral("2 из 3, ") + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    // Resetting the engine's state keeps its text layer.
    frEngineState().Reset();
    EXPECT_EQ(frEngineState().TextLayer, layer);
}

TEST_F(ExpandTest, HideZerosEmptiesNumericZerosOnly) {
    memo->Flags |= frFlagHideZeros;
    EXPECT_EQ(Expand(QStringLiteral("<[0]>")), QStringLiteral("<>"));
    EXPECT_EQ(Expand(QStringLiteral("<[2-2]>")), QStringLiteral("<>"));
    EXPECT_EQ(Expand(QStringLiteral("<['0']>")), QStringLiteral("<0>"));
    EXPECT_EQ(Expand(QStringLiteral("<[7]>")), QStringLiteral("<7>"));
}

// A value holding line breaks ends its line, whether it comes as an expression's text or as
// a name's value alone in its bracket.
TEST_F(ExpandTest, BreaksInAValueSplitTheLine) {
    Text().UserVariables.SetVariable(QStringLiteral("CR"), QStringLiteral("\r"));
    Text().UserVariables.SetVariable(QStringLiteral("LF"), QStringLiteral("\n"));
    struct Case {
        const char* line;
        QStringList lines;
    };
    const Case rows[] = {
        {"a[CRLF]b", {u"a"_s, u"b"_s}},
        {"['a'+CRLF+'b']", {u"a"_s, u"b"_s}},
        {"a[CR]b", {u"a"_s, u"b"_s}},
        {"a[LF]b", {u"a"_s, u"b"_s}},
        {"a[CRLF]", {u"a"_s}},
        {"[CRLF]", {QString()}},
        {"a[CRLF][CRLF]b", {u"a"_s, QString(), u"b"_s}},
        {"a[CR][LF]b", {u"a"_s, u"b"_s}},
        {"a[' ']b", {u"ab"_s}},
    };
    for (const Case& row : rows) {
        SCOPED_TRACE(row.line);
        memo->Memo = {QString::fromUtf8(row.line)};
        Text().Expansion.ExpandMemo(*memo);
        EXPECT_EQ(memo->WorkMemo, row.lines);
    }
}

TEST_F(ExpandTest, AValueThatIsNotAFiniteNumberIsAnError) {
    Text().UserVariables.SetVariable(QStringLiteral("Ничто"), std::nan(""));
    EXPECT_THROW(Expand(QStringLiteral("[Ничто]")), EParserError);
    EXPECT_THROW(Expand(QStringLiteral("[1e308*10]")), EParserError);
    EXPECT_EQ(Expand(QStringLiteral("[1e308]")), QStringLiteral("1E308"));
}

TEST_F(ExpandTest, ANameStartingWithADotNamesNoObject) {
    // The object being printed has an empty name, as every field does.
    EXPECT_THROW(Expand(QStringLiteral("[.Left]")), Failure);
    EXPECT_EQ(Expand(QStringLiteral("[Left]")), QStringLiteral("40"));
}

TEST_F(ExpandTest, MemoLinesSplitAtBreaksInValues) {
    memo->Memo = {QStringLiteral("['a' + CRLF + 'b']"), QString(), QStringLiteral("[2*2]")};
    Text().Expansion.ExpandMemo(*memo);
    EXPECT_EQ(memo->WorkMemo, QStringList({QStringLiteral("a"), QStringLiteral("b"), QString(),
                                           QStringLiteral("4")}));

    memo->Flags |= frFlagTextOnly;
    Text().Expansion.ExpandMemo(*memo);
    EXPECT_EQ(memo->WorkMemo, memo->Memo);
}

TEST_F(ExpandTest, LookUpOrder) {
    TfrTextEngine& te = Text();
    TfrExpansion& x = te.Expansion;
    TfrView& other = page->AddObject(std::make_unique<TfrMemoView>());
    other.Name = QStringLiteral("Memo2");
    other.PlaceAt(1, 2, 33, 4);
    te.UserVariables.SetVariable(QStringLiteral("Сумма"), 12);
    report.Dictionary.Variables.append({QStringLiteral("Двойная"), QStringLiteral("Сумма*2")});
    report.Dictionary.Variables.append({QStringLiteral("Петля"), QStringLiteral("Петля+1")});
    page->Orientation = poLandscape;

    EXPECT_EQ(x.LookUpValue(QStringLiteral("СУММА")).toInt(), 12);
    EXPECT_EQ(frVarToString(x.LookUpValue(QStringLiteral("Двойная")), te.Locale),
              QStringLiteral("24"));
    EXPECT_EQ(x.LookUpValue(QStringLiteral("Memo2.Width")).toInt(), 33);
    EXPECT_EQ(x.LookUpValue(QStringLiteral("memo2.WIDTH")).toInt(), 33);
    EXPECT_EQ(x.LookUpValue(QStringLiteral("Page1.Orientation")).toInt(), poLandscape);
    EXPECT_EQ(x.LookUpValue(QStringLiteral("WIDTH")).toInt(), 150);
    EXPECT_THROW(x.LookUpValue(QStringLiteral("Петля")), Failure);

    // The report's event comes first; an empty value it leaves passes on.
    report.OnGetValue = [](const QString& name, QVariant& value) {
        if (name == u"WIDTH")
            value = QStringLiteral("из события");
    };
    EXPECT_EQ(x.LookUpValue(QStringLiteral("WIDTH")).toString(), QStringLiteral("из события"));
    EXPECT_EQ(x.LookUpValue(QStringLiteral("Memo2.Width")).toInt(), 33);

    // While aggregates are collected an undefined name is 0 and nothing is formatted.
    te.CollectingAggregates = true;
    EXPECT_EQ(Expand(QStringLiteral("<[abc]>")), QStringLiteral("<>"));
}

TEST_F(ExpandTest, ReportFunctions) {
    TfrTextEngine& te = Text();
    te.UserVariables.SetVariable(QStringLiteral("N"), 5);
    EXPECT_EQ(Expand(QStringLiteral("[INC(N)][N]")), QStringLiteral("06"));
    EXPECT_EQ(Expand(QStringLiteral("[DEC(N)][DEC(N)][N]")), QStringLiteral("004"));

    EXPECT_EQ(Expand(QStringLiteral("[SETARRAY(a, 2, 'два')][GETARRAY(a, 1+1)]")),
              QStringLiteral("0два"));
    EXPECT_GE(te.UserVariables.IndexOf(QStringLiteral("Arr_a_2")), 0);
    EXPECT_EQ(Expand(QStringLiteral("<[GETARRAY(a, 3)]>")), QStringLiteral("<>"));

    // An object's method by name: hiding another object.
    TfrView& other = page->AddObject(std::make_unique<TfrMemoView>());
    other.Name = QStringLiteral("Memo2");
    Expand(QStringLiteral("[Memo2.HIDE()]"));
    EXPECT_FALSE(other.Visible);

    report.OnUserFunction = [](const QString& name, const QVariant&, const QVariant&,
                               const QVariant&, QVariant& value) {
        if (name == u"ДВА")
            value = 2;
    };
    EXPECT_EQ(Expand(QStringLiteral("[ДВА()+1]")), QStringLiteral("3"));

    EXPECT_FALSE(report.CancelRequested);
    Expand(QStringLiteral("[STOPREPORT()]"));
    EXPECT_TRUE(report.CancelRequested);
}

// A table of the application's own, for the dataset lookup: a text field and a memo field.
class TableOfNames : public TfrDataset {
public:
    bool Active() const override { return open; }
    void Open() override { open = true; }
    int FieldIndex(const QString& name) const override {
        if (name.compare(QStringLiteral("Descript"), Qt::CaseInsensitive) == 0)
            return 0;
        return name.compare(QStringLiteral("Notes"), Qt::CaseInsensitive) == 0 ? 1 : -1;
    }
    QVariant FieldValue(int index) const override {
        if (!open)
            return QVariant();
        return index == 0 ? QStringLiteral("Договор") : QStringLiteral("строка 1\r\nстрока 2");
    }
    bool IsBlobField(int index) const override { return index == 1; }

    bool open{false};
};

TEST_F(ExpandTest, FieldsOfRegisteredTables) {
    TableOfNames table;
    Text().Datasets.Register(QStringLiteral("fData.ListDoc"), table);
    EXPECT_EQ(Expand(QStringLiteral("[fData.ListDoc.Descript]")), QStringLiteral("Договор"));
    EXPECT_TRUE(table.open);
    EXPECT_EQ(Expand(QStringLiteral("[FDATA.LISTDOC.\"descript\"]")), QStringLiteral("Договор"));

    report.Dictionary.FieldAliases.append({QStringLiteral("Описание"), QStringLiteral("Descript")});
    EXPECT_EQ(Expand(QStringLiteral("[fData.ListDoc.Описание]")), QStringLiteral("Договор"));

    // A text that is one memo field is bound to it and prints the field's lines.
    memo->Memo = {QStringLiteral("[fData.ListDoc.Notes]")};
    Text().BindDataField(*memo);
    EXPECT_EQ(memo->BoundDataSet, &table);
    EXPECT_EQ(memo->BoundField, QStringLiteral("Notes"));
    report.OnBeforePrint = [](QStringList&, TfrView&) {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    memo->Print(buffer);
    EXPECT_EQ(memo->WorkMemo,
              QStringList({QStringLiteral("строка 1"), QStringLiteral("строка 2")}));

    memo->Memo = {QStringLiteral("[fData.ListDoc.Нет]")};
    Text().BindDataField(*memo);
    EXPECT_EQ(memo->BoundDataSet, nullptr);

    Text().Datasets.Unregister(QStringLiteral("FDATA.listdoc"));
    EXPECT_THROW(Expand(QStringLiteral("[fData.ListDoc.Descript]")), Failure);
}

TEST(FormatValueTest, PackedFormats) {
    const TfrLocale ru = TfrLocale::Russian();
    const TfrFormatPresets presets;
    const auto packed = [](int category, int kind, int decimals, char16_t separator) {
        return TfrDisplayFormat{category, kind, decimals, separator}.Pack();
    };
    const double day = frDateToDays(QDate(2024, 3, 9)) + 0.5;
    struct Case {
        const char* name;
        QVariant value;
        qint32 format;
        QString pattern;
        QString expected;
    };
    const Case cases[] = {
        {"new object: plain number", 5, packed(0, 0, 2, u','), {}, QStringLiteral("5")},
        {"new object: plain real", 2.5, packed(0, 0, 2, u','), {}, QStringLiteral("2,5")},
        {"null", frNull(), packed(1, 1, 2, u','), {}, QString()},
        {"empty", QVariant(), packed(0, 0, 0, 0), {}, QString()},
        {"blank text", QStringLiteral("   "), packed(0, 0, 0, 0), {}, QString()},
        {"pattern ##0.##", 1234.5, packed(1, 0, 2, u','), {}, QStringLiteral("1234,5")},
        {"fixed", 2.0 / 3, packed(1, 1, 3, u'.'), {}, QStringLiteral("0.667")},
        {"pattern #,##0.#",
         1234.5,
         packed(1, 2, 1, u','),
         {},
         QStringLiteral("1") + ru.ThousandSeparator + QStringLiteral("234,5")},
        {"custom number", 7, packed(1, 4, 0, u','), QStringLiteral("000"), QStringLiteral("007")},
        {"number from text",
         QStringLiteral("12,5"),
         packed(1, 1, 1, u','),
         {},
         QStringLiteral("12,5")},
        {"not a number", QStringLiteral("abc"), packed(1, 1, 2, u','), {}, QStringLiteral("abc")},
        {"date preset 0", frDateTimeValue(day), packed(2, 0, 0, 0), {}, QStringLiteral("09.03.24")},
        {"date preset 1",
         frDateTimeValue(day),
         packed(2, 1, 0, 0),
         {},
         QStringLiteral("09.03.2024")},
        {"time preset 1", frDateTimeValue(day), packed(3, 1, 0, 0), {}, QStringLiteral("12:00:00")},
        {"time custom", frDateTimeValue(day), packed(3, 4, 0, 0), QStringLiteral("hh.nn"),
         QStringLiteral("12.00")},
        {"logical preset", true, packed(4, 3, 0, 0), {}, QStringLiteral("True")},
        {"logical custom false", 0, packed(4, 4, 0, 0), QStringLiteral("нет;да"),
         QStringLiteral("нет")},
        {"category 5", 1, packed(5, 0, 0, 0), {}, QString()},
        {"number kind 5", 1, packed(1, 5, 0, 0), {}, QString()},
        {"date kind 9", frDateTimeValue(day), packed(2, 9, 0, 0), {}, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frFormatValue(c.value, c.format, c.pattern, ru, presets), c.expected);
    }
}

TEST(FormatValueTest, InlineFormats) {
    struct Case {
        const char* text;
        TfrDisplayFormat format;
        QString pattern;
    };
    const Case cases[] = {
        {"N1,2", {frfcNumber, 1, 2, u','}, QStringLiteral("N1.2")},
        {"N# ##0,00", {frfcNumber, frfkCustom, 0, u','}, QStringLiteral("# ##0.00")},
        {"0.00", {frfcNumber, 1, 0, u'.'}, QStringLiteral("N0.00")},
        {"12-3", {frfcNumber, 1, 3, u'-'}, QStringLiteral("N12.3")},
        {"Ddd.mm.yyyy", {frfcDate, frfkCustom, 0, 0}, QStringLiteral("dd.mm.yyyy")},
        {"thh:nn", {frfcDate, frfkCustom, 0, 0}, QStringLiteral("hh:nn")},
        {"BНет;Да", {frfcLogical, frfkCustom, 0, 0}, QStringLiteral("Нет;Да")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TfrInlineFormat f = frParseInlineFormat(QString::fromUtf8(c.text), 0x2C0200);
        const TfrDisplayFormat d = TfrDisplayFormat::Unpack(f.Format);
        EXPECT_EQ(d.Category, c.format.Category);
        EXPECT_EQ(d.Kind, c.format.Kind);
        EXPECT_EQ(d.Decimals, c.format.Decimals);
        EXPECT_EQ(d.Separator, c.format.Separator);
        EXPECT_EQ(f.Pattern, c.pattern);
    }
    const TfrInlineFormat unknown = frParseInlineFormat(QStringLiteral("Q7"), 0x2C0200);
    EXPECT_EQ(unknown.Format, 0x2C0200);
    EXPECT_EQ(unknown.Pattern, QStringLiteral("Q7"));
}

// Property values and names convert by the text layer's conventions, as its evaluator does.
TEST_F(ExpandTest, PropertiesConvertByTheEvaluatorsConventions) {
    memo->SetProperty(QStringLiteral("Memo"), 2.5);
    EXPECT_EQ(memo->Memo, QStringList{Expand(QStringLiteral("[5 / 2]"))});
    EXPECT_EQ(memo->Memo, QStringList{QStringLiteral("2,5")});

    Text().Locale.DecimalSeparator = u'.';
    memo->SetProperty(QStringLiteral("Memo"), 2.5);
    EXPECT_EQ(memo->Memo, QStringList{QStringLiteral("2.5")});
    memo->SetProperty(QStringLiteral("Font.Size"), QStringLiteral("13.5"));
    EXPECT_EQ(memo->Font.size, 14);
    EXPECT_THROW(memo->SetProperty(QStringLiteral("Font.Size"), QStringLiteral("13,5")),
                 EVariantError);
    Text().Locale.SetCaseLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(frUpper(QStringLiteral("i")), QStringLiteral("\u0130"));
}

}  // namespace
