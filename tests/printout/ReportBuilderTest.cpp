#include "BuilderFixture.h"
#include "EngineErrors.h"
#include "FailureText.h"
#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using ReportBuilder = BuilderFixture;

TfrMemoView& Memo(const TfrPage& page, int index) {
    return dynamic_cast<TfrMemoView&>(page.ObjectAt(index));
}

TEST_F(ReportBuilder, FieldsBecomeTextObjectsAtTheirPlaceWithTheirFont) {
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"));
    const qint64 both = AddFieldAt(
        doc, {QStringLiteral("А"), 1, 10, 25, 100, 10, QStringLiteral("Arial"), 14, true, true});
    const qint64 under = AddFieldAt(
        doc, {QStringLiteral("Б"), 1, 1, 297, 210, 25, QVariant(), QVariant(), false, true});
    const qint64 plain = AddFieldAt(doc, {QStringLiteral("В"), 1, 0, 0, 0, 0});
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый"));
    AddValue(list, both, QStringLiteral("Иванов"));
    AddValue(list, under, QStringLiteral("строка\nвторая [1+1]"));
    AddValue(list, plain, QStringLiteral(" "));

    BuildReport();

    ASSERT_EQ(report.Pages.Count(), 1);
    const TfrPage& page = report.Pages.PageAt(0);
    ASSERT_EQ(page.ObjectCount(), 3);
    struct Expected {
        QRect bounds;
        QStringList memo;
        int style;
        QString face;
        int size;
    };
    const Expected expected[] = {
        {{36, 91, 362, 36}, {QStringLiteral("Иванов")}, 6, QStringLiteral("Arial"), 14},
        // A line break stays inside the one line; brackets are left to the engine.
        {{4, 1076, 761, 91}, {QStringLiteral("строка\nвторая [1+1]")}, 4, QString(), 0},
        {{0, 0, 0, 0}, {QStringLiteral(" ")}, 0, QStringLiteral("Times New Roman"), 12},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TfrMemoView& m = Memo(page, i);
        EXPECT_EQ(QRect(m.Left, m.Top, m.Width, m.Height), expected[i].bounds);
        EXPECT_EQ(m.Memo, expected[i].memo);
        EXPECT_EQ(m.Font.style, expected[i].style);
        EXPECT_EQ(m.Font.face, expected[i].face);
        EXPECT_EQ(m.Font.size, expected[i].size);
    }
}

TEST_F(ReportBuilder, AFieldWithoutAValueIsNotPrinted) {
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"));
    const qint64 kept = AddFieldAt(doc, {QStringLiteral("А"), 1, 10, 10, 50, 5});
    const qint64 dropped = AddFieldAt(doc, {QStringLiteral("Б"), 1, 20, 20, 50, 5});
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый"));
    AddValue(list, kept, QStringLiteral("есть"));
    // The other field's value belongs to another document for printing.
    const qint64 other = AddListDoc(doc, QStringLiteral("2024-06-01"), QStringLiteral("Второй"));
    AddValue(other, dropped, QStringLiteral("чужое"));

    BuildReport();

    ASSERT_EQ(report.Pages.Count(), 1);
    ASSERT_EQ(report.Pages.PageAt(0).ObjectCount(), 1);
    EXPECT_EQ(Memo(report.Pages.PageAt(0), 0).Memo, QStringList{QStringLiteral("есть")});
}

// A build reads the document's values without moving the values cursor the user sees (a search
// for the last field's value would leave it on the second row).
TEST_F(ReportBuilder, TheBuildLeavesTheValuesCursorWhereItWas) {
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"));
    const qint64 first = AddFieldAt(doc, {QStringLiteral("А"), 1, 10, 10, 50, 5});
    const qint64 second = AddFieldAt(doc, {QStringLiteral("Б"), 1, 20, 20, 50, 5});
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый"));
    AddValue(list, first, QStringLiteral("первое"));
    AddValue(list, second, QStringLiteral("второе"));
    OpenModule();
    data->HistoryValue.First();
    const int before = data->HistoryValue.RecNo();

    TfReportBuilder(*data, report).Build();

    EXPECT_EQ(data->HistoryValue.RecNo(), before);
    const TfrPage& page = report.Pages.PageAt(0);
    ASSERT_EQ(page.ObjectCount(), 2);
    EXPECT_EQ(Memo(page, 0).Memo, QStringList{QStringLiteral("первое")});
    EXPECT_EQ(Memo(page, 1).Memo, QStringList{QStringLiteral("второе")});
}

TEST_F(ReportBuilder, PagesWithoutFieldsStayEmptyAndEveryBuildStartsAfresh) {
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"), 2);
    const qint64 field = AddFieldAt(doc, {QStringLiteral("А"), 1, 10, 10, 50, 5});
    AddValue(AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый")), field,
             QStringLiteral("текст"));

    BuildReport();
    TfReportBuilder(*data, report).Build();

    ASSERT_EQ(report.Pages.Count(), 2);
    EXPECT_EQ(report.Pages.PageAt(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.PageAt(1).ObjectCount(), 0);
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(report.PreparedPages->Count(), 2);
    EXPECT_TRUE(services.boxes.isEmpty());
}

struct FailureCase {
    const char* name;
    QVariant pages;
    QVariant orientation;
    int fieldPage;
    bool withValue;
    QString failure;
    int pagesLeft;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class BuildFailure : public BuilderFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(BuildFailure, StopsTheBuildWithTheEnginesMessage) {
    const FailureCase& c = GetParam();
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"), c.pages, c.orientation);
    const qint64 field = AddFieldAt(doc, {QStringLiteral("А"), c.fieldPage, 10, 10, 50, 5});
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Д"));
    if (c.withValue)
        AddValue(list, field, QStringLiteral("текст"));
    for (int i = 0; i < 3; ++i)
        report.Pages.Add();  // what an earlier build left
    OpenModule();
    EXPECT_EQ(FailureText([&] { TfReportBuilder(*data, report).Build(); }), c.failure);
    EXPECT_EQ(report.Pages.Count(), c.pagesLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildFailure,
    ::testing::Values(
        FailureCase{"PageBeyondTheCount", 2, 0, 3, true,
                    QStringLiteral("List index out of bounds (2)"), 2},
        FailureCase{"PageZero", 1, 0, 0, true, QStringLiteral("List index out of bounds (-1)"), 1},
        FailureCase{"NoPagesButAValue", 0, 0, 1, true,
                    QStringLiteral("List index out of bounds (0)"), 0},
        FailureCase{"NoPagesNoValue", 0, 0, 1, false, QStringLiteral("<no failure>"), 0},
        FailureCase{"NullOrientation", 1, QVariant(), 1, true,
                    QStringLiteral("Invalid variant type conversion"), 1},
        FailureCase{"NullOrientationNullCount", QVariant(), QVariant(), 1, false,
                    QStringLiteral("<no failure>"), 0}),
    [](const auto& row) { return std::string(row.param.name); });

class Orientation : public BuilderFixture, public ::testing::WithParamInterface<int> {};

TEST_P(Orientation, PagesAndTheirSheetsTakeTheTemplatesOrientation) {
    const int orientation = GetParam();
    AddTemplate(QStringLiteral("Бланк"), 2, orientation);
    BuildReport();
    ASSERT_EQ(report.Pages.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TfrPage& page = report.Pages.PageAt(i);
        EXPECT_EQ(page.Orientation, orientation);
        EXPECT_EQ(page.PaperKind, DMPAPER_A4);
        EXPECT_EQ(page.Metrics.SheetWidth > page.Metrics.SheetHeight, orientation == 1);
    }
    // The sheets the preview shows and the printer gets.
    ASSERT_TRUE(report.Prepare());
    ASSERT_EQ(report.PreparedPages->Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TfrPreparedPage& prepared = report.PreparedPages->RecordAt(i);
        EXPECT_EQ(prepared.Orientation, orientation);
        EXPECT_EQ(prepared.Metrics.SheetWidth > prepared.Metrics.SheetHeight, orientation == 1);
    }
}

INSTANTIATE_TEST_SUITE_P(PortraitAndLandscape, Orientation, ::testing::Values(0, 1));

// --- what a value may name

TEST_F(ReportBuilder, ValuesNameTheCurrentRowsOfTheDataModulesTables) {
    const qint64 doc = AddTemplate(QStringLiteral("Накладная"));
    const qint64 a = AddFieldAt(doc, {QStringLiteral("Описание"), 1, 10, 10, 80, 5});
    const qint64 b = AddFieldAt(doc, {QStringLiteral("Шаблон"), 1, 10, 20, 80, 5});
    const qint64 c = AddFieldAt(doc, {QStringLiteral("Столбцы"), 1, 10, 30, 80, 5});
    const qint64 list =
        AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Накладная №7"));
    AddValue(list, a, QStringLiteral("[fData.ListDoc.Descript]"));
    AddValue(list, b, QStringLiteral("[FDATA.document.NAME], стр. [fData.Document.PageCount]"));
    AddValue(list, c,
             QStringLiteral("[fData.Values_.VarName]/[fData.HistoryValue.Value]/"
                            "[fData.ListDoc.Date]"));
    BuildReport();
    // The command line lets the data module go before it prepares.
    data.reset();

    ASSERT_TRUE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty());
    // Fields in their order (page, name); Values_ and HistoryValue were on their first rows
    // when the report was built.
    EXPECT_EQ(PreparedTexts(0),
              QStringList({QStringLiteral("Накладная №7"),
                           QStringLiteral("Описание/[fData.ListDoc.Descript]/01.05.2024"),
                           QStringLiteral("Накладная, стр. 1")}));
    // Page set-up prepares again from the same rows.
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(PreparedTexts(0).first(), QStringLiteral("Накладная №7"));

    // The names go with the builder.
    builder.reset();
    OpenModule();
    TfReportBuilder(*data, report).Build();
    EXPECT_FALSE(report.Prepare());
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_TRUE(services.boxes[0].text.contains(QStringLiteral("[fData.ListDoc.Descript]")));
}

TEST_F(ReportBuilder, UnknownColumnsAndNamesStayErrors) {
    const qint64 doc = AddTemplate(QStringLiteral("Накладная"));
    const qint64 a = AddFieldAt(doc, {QStringLiteral("А"), 1, 10, 10, 80, 5});
    AddValue(AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Д")), a,
             QStringLiteral("[fData.ListDoc.Нет]"));
    BuildReport();
    EXPECT_FALSE(report.Prepare());
    EXPECT_EQ(services.boxes.size(), 1);
}

// "стр. N из M": the page count is known only to a two-pass preparation.
TEST_F(ReportBuilder, TotalPagesAsksForTwoPasses) {
    const qint64 doc = AddTemplate(QStringLiteral("Договор"), 3);
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Договор"));
    for (int page = 1; page <= 3; ++page) {
        const qint64 field =
            AddFieldAt(doc, {QStringLiteral("Стр%1").arg(page), page, 10, 280, 40, 5});
        AddValue(list, field, QStringLiteral("стр. [PAGE#] из [totalpages]"));
    }
    BuildReport();
    EXPECT_TRUE(report.TwoPass);
    for (int run = 0; run < 2; ++run) {  // F9, then page set-up
        SCOPED_TRACE(run);
        ASSERT_TRUE(report.Prepare());
        ASSERT_EQ(report.PreparedPages->Count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(PreparedTexts(i), QStringList{QStringLiteral("стр. %1 из 3").arg(i + 1)});
    }

    // Without it the report keeps one pass.
    Exec(QStringLiteral("UPDATE HistoryValue SET Value = 'стр. [PAGE#]'"));
    builder.reset();
    BuildReport();
    EXPECT_FALSE(report.TwoPass);
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(PreparedTexts(2), QStringList{QStringLiteral("стр. 3")});
}

// The engine's error box says which document and which field hold the faulty value.
TEST_F(ReportBuilder, APreparationErrorNamesTheDocumentAndTheField) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    const qint64 good = AddFieldAt(doc, {QStringLiteral("Сумма"), 1, 10, 10, 50, 5});
    const qint64 bad = AddFieldAt(doc, {QStringLiteral("Итого прописью"), 1, 10, 20, 50, 5});
    const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Счёт №12"));
    AddValue(list, good, QStringLiteral("100"));
    AddValue(list, bad, QStringLiteral("[Прописью]"));
    BuildReport();
    EXPECT_FALSE(report.Prepare());
    ASSERT_EQ(services.boxes.size(), 1);
    const QStringList lines = services.boxes[0].text.split(u'\r');
    EXPECT_TRUE(lines.contains(QStringLiteral("Документ: Счёт №12")))
        << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Объект: Итого прописью")))
        << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("Переменная не определена")));
}

// --- geometry beyond any sheet

struct GeometryCase {
    const char* name;
    int left, top, width, height;
    QString refused;  // empty: built
};

void PrintTo(const GeometryCase& c, std::ostream* os) {
    *os << c.name;
}

class Geometry : public BuilderFixture, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(Geometry, FieldsBeyondTenMetresAreRefusedByName) {
    const GeometryCase& c = GetParam();
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"));
    const qint64 field =
        AddFieldAt(doc, {QStringLiteral("Адрес"), 1, c.left, c.top, c.width, c.height});
    AddValue(AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Д")), field,
             QStringLiteral("текст [PAGE#]"));
    OpenModule();
    TfReportBuilder built(*data, report);
    const QString failure = FailureText([&] { built.Build(); });
    if (!c.refused.isEmpty()) {
        EXPECT_EQ(failure, c.refused);
        return;
    }
    EXPECT_EQ(failure, QStringLiteral("<no failure>"));
    // Odd sizes within the limit prepare as before, without wrapping around.
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(report.PreparedPages->Count(), 1);
}

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, Geometry,
    ::testing::Values(
        GeometryCase{"TenMetresEachWay", 10000, 10000, 10000, 10000, QString()},
        GeometryCase{"NegativeWithinTheLimit", -10000, -10000, -5, -10000, QString()},
        GeometryCase{"TopAndHeightAtTheIntegerEnd", 10, kMax, 50, kMax,
                     QStringLiteral("Поле «Адрес»: отступ сверху 2147483647 мм за пределами "
                                    "листа (допустимо от -10000 до 10000 мм)")},
        GeometryCase{"LeftJustBeyond", 10001, 10, 50, 5,
                     QStringLiteral("Поле «Адрес»: отступ слева 10001 мм за пределами листа "
                                    "(допустимо от -10000 до 10000 мм)")},
        GeometryCase{"SmallestWidth", 10, 10, kMin, 5,
                     QStringLiteral("Поле «Адрес»: ширина -2147483648 мм за пределами листа "
                                    "(допустимо от -10000 до 10000 мм)")},
        GeometryCase{"HeightJustBeyondBelow", 10, 10, 50, -10001,
                     QStringLiteral("Поле «Адрес»: высота -10001 мм за пределами листа "
                                    "(допустимо от -10000 до 10000 мм)")}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
