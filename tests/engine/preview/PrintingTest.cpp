#include "Engine.h"
#include "FailureText.h"
#include "PrintFixture.h"
#include "Printing.h"
#include "ProgressForm.h"
#include "ViewDouble.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <vector>

namespace {

TEST(PageList, SelectsPagesByTheListRules) {
    struct Case {
        const char* list;
        int pages;
        QList<int> selected;
    } cases[] = {
        {"", 5, {}},
        {"   ", 5, {}},
        {"1,3,5-12", 12, {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
        {" 2 , 4 ", 5, {2, 4}},
        {"5-", 7, {5, 6, 7}},
        {"1-2-3", 5, {2, 3}},
        {"3-1", 5, {}},
        {"4,9,2-8", 5, {4, 2, 3, 4, 5}},
        {"0,6", 5, {}},
        // Only pages that exist are listed, however wide the range.
        {"1-2000000000", 3, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const QList<int> selected = frParsePageList(QString::fromUtf8(c.list), c.pages);
        // As vectors: Qt's comparison of two empty lists is undefined behaviour.
        EXPECT_EQ(std::vector<int>(selected.begin(), selected.end()),
                  std::vector<int>(c.selected.begin(), c.selected.end()));
    }
}

TEST(PageList, AnItemThatIsNotANumberIsNamed) {
    struct Case {
        const char* list;
        const char* message;
    } cases[] = {
        {"1,,2", "'' is not a valid integer value"},   {"-3", "'' is not a valid integer value"},
        {"1,x", "'x' is not a valid integer value"},   {"2-a", "'a' is not a valid integer value"},
        {"1;2", "'1;2' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(FailureText([&] { frParsePageList(QString::fromUtf8(c.list), 5); }),
                  QString::fromUtf8(c.message));
    }
}

class PrintingTest : public PrintFixture {};

TEST_F(PrintingTest, PagesGoOutInDocumentOrderAsTheRequestSays) {
    struct Case {
        const char* name;
        int pages;
        const char* list;
        int copies;
        bool collate;
        int mode;
        QList<int> printed;
        int copyCount;  // the printer's
    } cases[] = {
        {"every page", 3, "", 1, false, frAllPages, {1, 2, 3}, 1},
        {"list out of order", 3, "2,1", 1, false, frAllPages, {1, 2}, 1},
        {"odd pages of a range", 6, "2-5", 1, false, frOddPages, {3, 5}, 1},
        {"even pages", 4, "", 1, false, frEvenPages, {2, 4}, 1},
        {"restarted range", 3, "1-2-3", 1, false, frAllPages, {2, 3}, 1},
        {"open range", 6, "5-", 1, false, frAllPages, {5, 6}, 1},
        {"collated copies", 3, "", 2, true, frAllPages, {1, 2, 3, 1, 2, 3}, 1},
        {"copies left to the printer", 3, "", 2, false, frAllPages, {1, 2, 3}, 2},
        {"no copies is one", 2, "", 0, false, frAllPages, {1, 2}, 1},
        {"negative copies collated", 2, "", -3, true, frAllPages, {1, 2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report.PreparedPages->ClearAll();
        printer->Jobs.clear();
        printer->PageRecords.clear();
        AddPages(c.pages);

        frPrintPreparedPages(report, QString::fromUtf8(c.list), c.copies, c.collate, c.mode);
        EXPECT_EQ(Printed(), c.printed);
        ASSERT_EQ(printer->Jobs.size(), 1);
        EXPECT_EQ(printer->Jobs[0].Copies, c.copyCount);
        EXPECT_TRUE(printer->Jobs[0].Ended);
        EXPECT_EQ(printer->Jobs[0].Title, QStringLiteral("Untitled"));
        EXPECT_EQ(printer->Jobs[0].Printer, QStringLiteral("Office"));
        // The request stays in the report.
        EXPECT_EQ(report.PrintPageList, QString::fromUtf8(c.list));
        EXPECT_EQ(report.PrintCopies, c.copies);
        EXPECT_EQ(report.PrintCollate, c.collate);
        EXPECT_EQ(report.PrintPagesMode, c.mode);
    }
}

// A request that prints no page says so and sends nothing: no blank sheet, no file asked for.
TEST_F(PrintingTest, ARequestWithoutPagesSaysSoAndSendsNothing) {
    struct Case {
        const char* name;
        int pages;
        const char* list;
        int mode;
    } cases[] = {
        {"even of one", 1, "", frEvenPages},
        {"odd of a list of even", 4, "2,4", frOddPages},
        {"empty range", 5, "3-1", frAllPages},
        {"beyond the last", 3, "7,8", frAllPages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report.PreparedPages->ClearAll();
        printer->asked = 0;
        AddPages(c.pages);
        EXPECT_EQ(FailureText([&] {
                      frPrintPreparedPages(report, QString::fromUtf8(c.list), 1, true, c.mode);
                  }),
                  QStringLiteral("Нет страниц для печати"));
        EXPECT_TRUE(printer->Log.isEmpty());
        EXPECT_TRUE(Printed().isEmpty());
        EXPECT_EQ(printer->asked, 0);
    }
}

TEST_F(PrintingTest, AChangeOfPaperEndsTheJobAndBeginsAnother) {
    AddPage(DMPAPER_A4);
    AddPage(11);  // A5
    AddPage(11);
    AddPage(DMPAPER_A4, poLandscape);
    frPrintPreparedPages(report, QString(), 1, true, frAllPages);

    EXPECT_EQ(Printed(), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(JobLog(), Texts({"begin", "end", "begin", "page", "end", "begin", "end"}));
    ASSERT_EQ(printer->Jobs.size(), 3);
    EXPECT_EQ(printer->Jobs[0].Mode.dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(printer->Jobs[1].Mode.dmPaperSize, 11);
    EXPECT_EQ(printer->Jobs[1].Pages, 2);
    EXPECT_EQ(printer->Jobs[2].Mode.dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(printer->Jobs[2].Mode.dmOrientation, DMORIENT_LANDSCAPE);
    // The metrics of every page now describe the sheet it went out on.
    EXPECT_EQ(report.PreparedPages->RecordAt(1).Metrics.DeviceSheetWidth, 3496);  // 148 mm
    EXPECT_EQ(report.PreparedPages->RecordAt(3).Metrics.DeviceSheetWidth, 7016);  // 297 mm
}

TEST_F(PrintingTest, APaperThePrinterKeepsRefusingStartsAJobForEveryPage) {
    // Letter paper on a printer that has no Letter: it keeps A4.
    printer->Queues[0].Papers.removeAt(1);
    AddPage().PaperKind = 1;
    AddPage().PaperKind = 1;
    frPrintPreparedPages(report, QString(), 1, true, frAllPages);
    EXPECT_EQ(Printed(), (QList<int>{1, 2}));
    // No empty job before the first page: its paper was refused before the job began.
    EXPECT_EQ(JobLog(), Texts({"begin", "end", "begin", "end"}));
}

// Copies a device cannot make (a file) are drawn by the run, each page as often as a printer
// would print it.
TEST_F(PrintingTest, CopiesTheDeviceCannotMakeAreDrawnAsAPrinterWouldPrintThem) {
    printer->makesCopies = false;
    struct Case {
        const char* name;
        bool collate;
        const char* list;
        QList<int> printed;
    } cases[] = {
        {"collated", true, "", {1, 2, 3, 1, 2, 3}},
        {"not collated", false, "", {1, 1, 2, 2, 3, 3}},
        {"not collated, a list", false, "3,1", {1, 1, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report.PreparedPages->ClearAll();
        printer->Jobs.clear();
        printer->PageRecords.clear();
        AddPages(3);
        frPrintPreparedPages(report, QString::fromUtf8(c.list), 2, c.collate, frAllPages);
        EXPECT_EQ(Printed(), c.printed);
        ASSERT_EQ(printer->Jobs.size(), 1);
        EXPECT_EQ(printer->Jobs[0].Copies, 1);
    }
}

TEST_F(PrintingTest, PagesAreDrawnIntoTheSheetOrTheirMarginsInDevicePixels) {
    ScriptedPrinter::Queue& queue = printer->Queues[0];
    queue.MarginLeft = 30;
    queue.MarginTop = 40;
    queue.MarginRight = 50;
    queue.MarginBottom = 60;
    engine->Printer().AttachPrinter(printer);
    TfrPreparedPage& whole = AddPage();
    TfrPreparedPage& inside = AddPage();
    inside.WholeSheet = false;
    inside.LeftMargin = 36;
    inside.TopMargin = 18;
    inside.RightMargin = 10;
    inside.BottomMargin = 20;
    frPrintPreparedPages(report, QString(), 1, true, frAllPages);

    ASSERT_EQ(printer->PageRecords.size(), 2u);
    const TfrPageMetrics& m = inside.Metrics;
    EXPECT_EQ(m.DevicePrintWidth, 4961 - 80);
    // The mark at (10, 20) page units lands scaled from the sheet into the target rectangle.
    const auto fillOf = [&](int sheet) {
        return printer->PageRecords[sheet]->RecordsOf(CanvasRecord::FillRect).first().rect;
    };
    const double kx = double(whole.Metrics.DeviceSheetWidth) / whole.Metrics.SheetWidth;
    EXPECT_EQ(fillOf(0).left, -30 + qRound(10 * kx));
    const int left = qRound(36.0 * m.DevicePrintWidth / m.PrintWidth);
    const int right = m.DevicePrintWidth - qRound(10.0 * m.DevicePrintWidth / m.PrintWidth);
    const double insideKx = double(right - left) / m.SheetWidth;
    EXPECT_EQ(fillOf(1).left, left + qRound(10 * insideKx));
    const int top = qRound(18.0 * m.DevicePrintHeight / m.PrintHeight);
    EXPECT_GT(fillOf(1).top, top);

    // Showing was cleared and the loaded objects released after each page.
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(report.PreparedPages->RecordAt(i).Showing);
        EXPECT_EQ(report.PreparedPages->RecordAt(i).LoadedPage, nullptr);
    }
}

TEST_F(PrintingTest, ACancelRequestAbortsTheJobAfterThePageBeingPrinted) {
    AddPages(4);
    QList<int> progress;
    report.OnProgress = [&](int page) {
        progress.append(page);
        if (page == 2)
            report.CancelRequested = true;
    };
    frPrintPreparedPages(report, QString(), 2, true, frAllPages);
    EXPECT_EQ(progress, (QList<int>{1, 2}));
    EXPECT_EQ(Printed(), (QList<int>{1, 2}));
    EXPECT_EQ(JobLog(), Texts({"begin", "page", "abort"}));
    EXPECT_TRUE(printer->Jobs[0].Aborted);
    EXPECT_FALSE(printer->Printing());

    // The next run starts afresh.
    report.OnProgress = nullptr;
    frPrintPreparedPages(report, QStringLiteral("3"), 1, true, frAllPages);
    EXPECT_EQ(printer->Jobs.size(), 2);
    EXPECT_TRUE(printer->Jobs[1].Ended);
}

TEST_F(PrintingTest, TheProgressWindowShowsThePageAndItsCancelButtonStopsTheJob) {
    frStartProgressWindow(*engine);
    auto* window = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    report.Title = QStringLiteral("Договор");
    AddPages(3);
    QString caption;
    QString label;
    bool visible = false;
    // The timer fires while the first page's pending events are let through.
    report.OnPrintReport = [&] {
        QTimer::singleShot(0, window, [&] {
            caption = window->windowTitle();
            label = window->Label1();
            visible = window->isVisible();
            window->Button1()->click();
        });
    };
    frPrintPreparedPages(report, QString(), 1, true, frAllPages);

    EXPECT_TRUE(visible);
    EXPECT_EQ(caption, QStringLiteral("Подготовка отчета - Договор"));
    EXPECT_EQ(label, QStringLiteral("Печатается страница:  1"));
    EXPECT_EQ(window->StepText(), QStringLiteral("Печатается страница:"));
    EXPECT_EQ(Printed(), QList<int>{1});
    EXPECT_EQ(JobLog(), Texts({"begin", "abort"}));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PrintingTest, ABadPageListClosesTheProgressWindowAndReachesTheCaller) {
    frStartProgressWindow(*engine);
    auto* window = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    AddPages(3);
    EXPECT_EQ(
        FailureText([&] { frPrintPreparedPages(report, QStringLiteral("1,,3"), 1, true, 0); }),
        QStringLiteral("'' is not a valid integer value"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(printer->Log.isEmpty());
    EXPECT_FALSE(printer->Printing());

    // The window serves the next run.
    frPrintPreparedPages(report, QStringLiteral("2"), 1, true, 0);
    EXPECT_EQ(Printed(), QList<int>{2});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PrintingTest, APrinterThatDeclinesPrintsNothingAndIsAskedOncePerRun) {
    AddPages(2);
    printer->ready = false;
    frPrintPreparedPages(report, QString(), 3, true, frAllPages);
    EXPECT_EQ(printer->asked, 1);
    EXPECT_TRUE(JobLog().isEmpty());

    printer->ready = true;
    frPrintPreparedPages(report, QString(), 3, true, frAllPages);
    EXPECT_EQ(printer->asked, 2);
    EXPECT_EQ(Printed(), (QList<int>{1, 2, 1, 2, 1, 2}));
}

TEST_F(PrintingTest, PagesLentToAPreviewAreBorrowedAndGoBackEvenAfterAFailure) {
    AddPages(2);
    ViewDouble view;
    report.Preview = &view;
    view.ConnectReport(report);
    view.calls.clear();
    report.OnMouseOverObject = [](TfrView&, Qt::CursorShape&) {};
    bool hoverDuringRun = true;
    report.OnProgress = [&](int) { hoverDuringRun = bool(report.OnMouseOverObject); };

    frPrintPreparedPages(report, QString(), 1, true, frAllPages);
    EXPECT_EQ(Printed(), (QList<int>{1, 2}));
    EXPECT_EQ(view.calls, Texts({"return", "connect"}));
    ASSERT_NE(view.pages, nullptr);
    EXPECT_EQ(view.pages->Count(), 2);
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    EXPECT_FALSE(hoverDuringRun);
    EXPECT_TRUE(bool(report.OnMouseOverObject));

    view.calls.clear();
    EXPECT_EQ(FailureText([&] { frPrintPreparedPages(report, QStringLiteral("x"), 1, true, 0); }),
              QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(view.calls, Texts({"return", "connect"}));
    EXPECT_EQ(view.pages->Count(), 2);
}

TEST_F(PrintingTest, TheReportPrintsThroughTheEngine) {
    AddPages(2);
    report.PrintPageList = QStringLiteral("2");
    report.PrintCopies = 1;
    report.DoPrintPages();
    EXPECT_EQ(Printed(), QList<int>{2});

    // Without a printer there is nothing to print on.
    Restart(nullptr);
    frStartPrinting(*engine);
    TfrReport alone;
    alone.PreparedPages->Insert(0, alone.Pages.Add());
    EXPECT_EQ(FailureText([&] { frPrintPreparedPages(alone, QString(), 1, true, 0); }),
              QStringLiteral("Нет принтера для печати"));
}

}  // namespace
