#include "BuilderFixture.h"
#include "EngineErrors.h"
#include "FailureText.h"
#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"

#include <gtest/gtest.h>

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

}  // namespace
