#include "EngineErrors.h"
#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"
#include "QtPrinting.h"
#include "Report.h"
#include "ReportFixture.h"
#include "ScriptedPrinter.h"

#include <gtest/gtest.h>

namespace {

using ReportTest = ReportFixture;

TfrMemoView& AddMemo(TfrPage& page, const QString& name) {
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = name;
    return static_cast<TfrMemoView&>(page.AddObject(std::move(memo)));
}

TEST_F(ReportTest, NewPageHasTheVirtualPrintersA4) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    EXPECT_EQ(page.PaperKind, 9);
    EXPECT_EQ(page.PaperX, 2100);
    EXPECT_EQ(page.PaperY, 2970);
    EXPECT_EQ(page.Orientation, poPortrait);
    EXPECT_EQ(page.PaperSource, 65535);
    EXPECT_EQ(page.Metrics.SheetWidth, 758);
    EXPECT_EQ(page.Metrics.SheetHeight, 1071);
    EXPECT_EQ(page.Metrics.OffsetX, 18);
    EXPECT_EQ(page.Metrics.OffsetY, 18);
    EXPECT_EQ(page.Metrics.PrintWidth, 722);
    EXPECT_EQ(page.Metrics.PrintHeight, 1035);
    EXPECT_TRUE(page.WholeSheet);
    EXPECT_TRUE(page.Visible);
    EXPECT_FALSE(page.PrintToPrevPage);
    EXPECT_EQ(page.Type, ptReport);
    EXPECT_EQ(page.Name, QString());
    EXPECT_EQ(page.BorderStyle, 3);
    EXPECT_EQ(page.Caption, QStringLiteral("Form"));
    EXPECT_EQ(page.Color, 0x8000000Fu);
    EXPECT_EQ(QList<int>({page.Left, page.Top, page.Width, page.Height}),
              QList<int>({220, 120, 380, 300}));
    EXPECT_EQ(page.Position, 4);
    EXPECT_EQ(report.Pages.Count(), 1);
}

TEST_F(ReportTest, WritingOrientationChangesOnlyTheFieldUntilThePaperIsSelected) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    page.Orientation = poLandscape;
    EXPECT_EQ(page.PaperX, 2100);
    EXPECT_EQ(page.PaperY, 2970);
    EXPECT_EQ(page.Metrics.SheetWidth, 758);
    EXPECT_LT(page.Metrics.SheetWidth, page.Metrics.SheetHeight);
    EXPECT_FALSE(engine->Printer().Landscape());

    // By name it is the same: the field only.
    page.SetProperty(QStringLiteral("Size"), 11);
    page.SetProperty(QStringLiteral("Orientation"), 1);
    EXPECT_EQ(page.PaperKind, 11);
    EXPECT_EQ(page.PaperX, 2100);
    EXPECT_EQ(page.Metrics.SheetWidth, 758);

    page.SelectPaper(9, 2100, 2970, -1, poLandscape);
    EXPECT_EQ(page.PaperKind, 9);
    EXPECT_EQ(page.PaperX, 2970);
    EXPECT_EQ(page.PaperY, 2100);
    EXPECT_EQ(page.Orientation, poLandscape);
    EXPECT_EQ(page.Metrics.SheetWidth, 1071);
    EXPECT_EQ(page.Metrics.SheetHeight, 758);
    EXPECT_EQ(page.RightEdge(), 18 + 1035);
}

// A driver that refuses one of the papers it lists.
class RefusingPrinter : public ScriptedPrinter {
public:
    void SetDeviceMode(const DeviceMode& mode) override {
        const bool custom = (mode.dmFields & DM_PAPERLENGTH) != 0;
        if (!custom && mode.dmPaperSize == 11)
            throw Failure(QStringLiteral("The driver refuses the paper"));
        ScriptedPrinter::SetDeviceMode(mode);
    }
};

TEST_F(ReportTest, PaperThePrinterRefusesFallsBackToACustomSize) {
    auto system = std::make_unique<RefusingPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->Current = 0;
    Restart(std::move(system));

    TfrReport report;
    TfrPage& page = report.Pages.Add();
    page.SelectPaper(11, 1480, 2100, -1, poPortrait);
    EXPECT_EQ(page.PaperKind, DMPAPER_USER);
    EXPECT_EQ(page.PaperX, 1480);
    EXPECT_EQ(page.PaperY, 2100);
    EXPECT_EQ(page.PaperSource, 65535);
    TfrPageMetrics printer;
    engine->Printer().GetPageMetrics(printer);
    EXPECT_EQ(page.Metrics, printer);
    EXPECT_EQ(page.Metrics.DeviceSheetWidth, 3496);  // 148 mm at 600 dpi

    // A paper it takes is kept.
    page.SelectPaper(1, 0, 0, -1, poPortrait);
    EXPECT_EQ(page.PaperKind, 1);
    EXPECT_EQ(page.PaperX, 2159);
}

TEST_F(ReportTest, LayoutEdges) {
    struct Case {
        const char* name;
        bool wholeSheet;
        qint32 left, top, right, bottom;  // margins
        qint32 edges[4];
    };
    const Case cases[] = {
        {"no margins: the printable area", true, 0, 0, 0, 0, {18, 18, 740, 1053}},
        {"margins of one unit replace the offsets", true, 1, 1, 1, 1, {1, 1, 757, 1070}},
        {"each margin on its own", true, 40, 0, 0, 20, {40, 18, 740, 1051}},
        {"not whole sheet: the whole sheet", false, 40, 50, 30, 20, {0, 0, 758, 1071}},
    };
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.WholeSheet = c.wholeSheet;
        page.LeftMargin = c.left;
        page.TopMargin = c.top;
        page.RightMargin = c.right;
        page.BottomMargin = c.bottom;
        EXPECT_EQ(page.LeftEdge(), c.edges[0]);
        EXPECT_EQ(page.TopEdge(), c.edges[1]);
        EXPECT_EQ(page.RightEdge(), c.edges[2]);
        EXPECT_EQ(page.BottomEdge(), c.edges[3]);
    }
}

TEST_F(ReportTest, FindObjectIgnoresLetterCase) {
    TfrReport report;
    TfrPage& first = report.Pages.Add();
    TfrPage& second = report.Pages.Add();
    TfrMemoView& memo1 = AddMemo(first, QStringLiteral("Memo1"));
    TfrMemoView& unnamed = AddMemo(first, QString());
    TfrMemoView& cyrillic = AddMemo(first, QStringLiteral("Поле"));
    AddMemo(first, QStringLiteral("memo1"));
    TfrMemoView& later = AddMemo(second, QStringLiteral("Итог"));
    AddMemo(second, QString());

    struct Case {
        const char* name;
        QString search;
        TfrView* page;
        TfrView* report;
    };
    const Case cases[] = {
        {"other letter case, first of two", QStringLiteral("MEMO1"), &memo1, &memo1},
        {"empty name: the first unnamed", QString(), &unnamed, &unnamed},
        {"Cyrillic in lower case", QStringLiteral("поле"), &cyrillic, &cyrillic},
        {"only on the second page", QStringLiteral("ИТОГ"), nullptr, &later},
        {"nowhere", QStringLiteral("Memo9"), nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(first.FindObject(c.search), c.page);
        EXPECT_EQ(report.FindObject(c.search), c.report);
    }
}

TEST_F(ReportTest, PagePropertiesByName) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    struct Case {
        const char* name;
        QVariant expected;
    };
    const Case cases[] = {
        {"Width", 756},  // 2100 / 10 * 18 / 5, not the printer's 758
        {"height", 1069},
        {"SIZE", 9},
        {"Orientation", 0},
        {"StretchToPrintable", false},
        {"LeftMargin", 0},
        {"Caption", QStringLiteral("Form")},
        {"Visible", true},
        {"ColumnWidth", QVariant()},
        {"NoSuchProperty", QVariant()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(page.GetProperty(QString::fromLatin1(c.name)), c.expected);
    }

    // While printing, the margins read as the edges.
    frEngineState().PrintingState = true;
    EXPECT_EQ(page.GetProperty(QStringLiteral("LeftMargin")), 18);
    EXPECT_EQ(page.GetProperty(QStringLiteral("RightMargin")), 740);
    EXPECT_EQ(page.GetProperty(QStringLiteral("BottomMargin")), 1053);
    frEngineState().PrintingState = false;

    page.SetProperty(QStringLiteral("Width"), 100);
    EXPECT_EQ(page.PaperX, 278);  // 100 * 10 * 5 / 18 = 277.8
    EXPECT_EQ(page.Metrics.SheetWidth, 758);
    page.SetProperty(QStringLiteral("StretchToPrintable"), true);
    EXPECT_FALSE(page.WholeSheet);
    // An unknown name changes nothing and reads as null.
    page.ListProperties();
    const auto values = [&] {
        QVariantList out;
        for (const auto& property : page.Properties())
            out << page.GetProperty(property.PropName);
        return out;
    };
    const QVariantList before = values();
    ASSERT_FALSE(before.isEmpty());
    page.SetProperty(QStringLiteral("NoSuchProperty"), 5);
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(page.GetProperty(QStringLiteral("NoSuchProperty")).isValid());
    EXPECT_THROW(page.SetProperty(QStringLiteral("Columns"), QStringLiteral("два")), EVariantError);

    page.Type = ptDialog;
    EXPECT_EQ(page.GetProperty(QStringLiteral("Width")), 380);
    page.SetProperty(QStringLiteral("Width"), 400);
    EXPECT_EQ(page.Width, 400);
    EXPECT_EQ(page.PaperX, 278);
}

TEST_F(ReportTest, PageIndexOutsideTheListIsAListError) {
    TfrReport report;
    report.Pages.Add();
    for (int index : {1, -1}) {
        try {
            report.Pages.PageAt(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    }
    EXPECT_EQ(report.Pages.Count(), 1);
}

TEST_F(ReportTest, ReportDefaults) {
    TfrReport report;
    EXPECT_EQ(report.Pages.Count(), 0);
    EXPECT_EQ(report.DefaultCopies, 1);
    EXPECT_TRUE(report.DefaultCollate);
    EXPECT_FALSE(report.GrayedButtons);
    EXPECT_EQ(report.InitialZoom, pzDefault);
    EXPECT_FALSE(report.MDIPreview);
    EXPECT_TRUE(report.ModalPreview);
    EXPECT_TRUE(report.ModifyPrepared);
    EXPECT_EQ(report.PreviewButtons, 127);
    EXPECT_TRUE(report.PrintIfEmpty);
    EXPECT_EQ(report.ReportType, rtSimple);
    EXPECT_TRUE(report.ShowPrintDialog);
    EXPECT_TRUE(report.ShowProgress);
    EXPECT_FALSE(report.StoreInDFM);
    EXPECT_EQ(report.UntitledName, QStringLiteral("Untitled"));
}

TEST_F(ReportTest, ReferencedComponentsAreClearedWhenTheyGo) {
    TfrReport report;
    auto preview = std::make_unique<QObject>();
    report.Preview = preview.get();
    report.Dataset = preview.get();
    preview.reset();
    EXPECT_EQ(report.Preview, nullptr);
    EXPECT_EQ(report.Dataset, nullptr);
}

TEST_F(ReportTest, ClearAllEmptiesPagesAndDictionary) {
    TfrReport report;
    AddMemo(report.Pages.Add(), QStringLiteral("Memo1"));
    report.Dictionary.Variables.append({QStringLiteral("Итого"), QStringLiteral("[Сумма]")});
    report.TwoPass = true;
    report.ClearAll();
    EXPECT_EQ(report.Pages.Count(), 0);
    EXPECT_TRUE(report.Dictionary.Variables.isEmpty());
    EXPECT_FALSE(report.TwoPass);
}

TEST_F(ReportTest, SelectPrinterByName) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office")),
                      ScriptedPrinter::Office(QStringLiteral("Hall"))};
    system->Current = 0;
    Restart(std::move(system));
    TfrReport report;

    report.SelectPrinterByName(QStringLiteral("Hall"));
    EXPECT_EQ(engine->Printer().ActivePrinter(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Hall"));

    report.SelectPrinterByName(QStringLiteral("Gone"));
    EXPECT_EQ(engine->Printer().ActivePrinter(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Gone"));

    report.KeepPrinter = true;
    report.SelectPrinterByName(QStringLiteral("Office"));
    EXPECT_EQ(engine->Printer().ActivePrinter(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Office"));
}

TEST_F(ReportTest, UniquePageNames) {
    TfrReport report;
    frEngineState().CurrentReport = &report;
    report.Pages.Add().Name = QStringLiteral("page1");
    report.Pages.Add().Name = QStringLiteral("Page3");
    TfrPage& fresh = report.Pages.Add();
    fresh.AssignUniqueName();
    EXPECT_EQ(fresh.Name, QStringLiteral("Page2"));
}

TEST_F(ReportTest, PrepareAndShowShowsWhatPreparationLeft) {
    TfrReport report;
    report.Pages.Add();
    // No preview installed: the prepared pages stay in the report's store.
    report.PrepareAndShow();
    EXPECT_EQ(report.PreparedPages->Count(), 1);

    int shown = -1;
    frEngineState().Hooks.ShowPreparedPages = [&](TfrReport& r) {
        EXPECT_EQ(&r, &report);
        shown = r.PreparedPages->Count();
    };
    report.PrepareAndShow();
    EXPECT_EQ(shown, 1);
}

TEST_F(ReportTest, EngineStateForgetsReportsAndPagesThatGo) {
    auto report = std::make_unique<TfrReport>();
    frEngineState().CurrentReport = report.get();
    frEngineState().CurrentDesignPage = &report->Pages.Add();
    report.reset();
    EXPECT_EQ(frEngineState().CurrentReport, nullptr);
    EXPECT_EQ(frEngineState().CurrentDesignPage, nullptr);
}

}  // namespace
