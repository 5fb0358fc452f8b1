#include "Printing.h"

#include "Canvas.h"
#include "Engine.h"
#include "EngineState.h"
#include "EngineStrings.h"
#include "Failure.h"
#include "Formatting.h"
#include "Page.h"
#include "PagesView.h"
#include "PreparedPages.h"
#include "Printer.h"
#include "ProgressWindow.h"
#include "Report.h"
#include "Rounding.h"
#include "SystemPrinter.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <algorithm>
#include <utility>

namespace {

constexpr int kPreparing = 55203;
constexpr int kUntitled = 55209;
const QString kPrintingPage = QStringLiteral("Печатается страница:");

// Round(margin × device size / size in page units); a size of zero gives no margin.
int DeviceMargin(int margin, int deviceSize, int size) {
    if (size == 0)
        return 0;
    return frRound(static_cast<double>(qint64(margin) * deviceSize) / size);
}

// One print run: the pages of the report's store, in document order, onto the system printer.
class TfrPrintRun {
public:
    TfrPrintRun(TfrReport& report, TfrPrinter& printer, SystemPrinter& system)
        : report_(report), pages_(*report.PreparedPages), printer_(printer), system_(system) {}

    void Run();

private:
    bool Selected(int page) const { return everyPage_ || selection_.contains(page); }
    void PrintOnePage(int page);
    void Progress(int page);

    TfrReport& report_;
    TfrEMFPages& pages_;
    TfrPrinter& printer_;
    SystemPrinter& system_;
    QList<int> selection_;
    bool everyPage_{false};
    bool first_{true};
};

void TfrPrintRun::Run() {
    printer_.AttachPrinter(&system_);
    const int count = pages_.Count();
    selection_ = frParsePageList(report_.PrintPageList, count);
    // Only an empty list means every page; a list naming no page that exists prints none.
    everyPage_ = QString(report_.PrintPageList).remove(u' ').isEmpty();
    const int copies = std::max(report_.PrintCopies, 1);
    if (count == 0 || !system_.ReadyToPrint())
        return;
    auto ended = qScopeGuard([this] { system_.RunEnded(false); });

    const TfrPreparedPage& firstPage = pages_.RecordAt(0);
    printer_.SetPaper(firstPage.PaperKind, firstPage.PaperX, firstPage.PaperY,
                      firstPage.PaperSource, firstPage.Orientation == poLandscape, true);
    printer_.GetPageMetrics(pages_.RecordAt(0).Metrics);

    system_.SetTitle(report_.Title.isEmpty() ? frLoadStr(kUntitled) : report_.Title);
    if (report_.OnPrintReport)
        report_.OnPrintReport();
    system_.SetCopies(report_.PrintCollate ? 1 : copies);

    system_.BeginDoc();
    // A failure halfway must not leave the job open: the printer would refuse every paper
    // change from then on.
    auto abort = qScopeGuard([this] { system_.Abort(); });
    first_ = true;
    const int passes = report_.PrintCollate ? copies : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int page = 1; page <= count; ++page) {
            if (!Selected(page))
                continue;
            PrintOnePage(page);
            if (report_.CancelRequested)
                return;
        }
    }
    abort.dismiss();
    system_.EndDoc();
    // Completing the output may still fail: that is the run's failure.
    ended.dismiss();
    system_.RunEnded(true);
}

void TfrPrintRun::PrintOnePage(int page) {
    const int mode = report_.PrintPagesMode;
    if ((mode == frOddPages && page % 2 == 0) || (mode == frEvenPages && page % 2 != 0))
        return;

    TfrPreparedPage& record = pages_.RecordAt(page - 1);
    const bool landscape = record.Orientation == poLandscape;
    if (printer_.PaperMatches(record.PaperKind, record.PaperX, record.PaperY, record.PaperSource,
                              landscape)) {
        if (!first_)
            system_.NewPage();
    } else {
        system_.EndDoc();
        printer_.SetPaper(record.PaperKind, record.PaperX, record.PaperY, record.PaperSource,
                          landscape, true);
        system_.BeginDoc();
    }
    printer_.GetPageMetrics(record.Metrics);

    Canvas* canvas = system_.PageCanvas();
    if (!canvas)
        throw Failure(QStringLiteral("Printer is not currently printing"));
    const TfrPageMetrics& m = record.Metrics;
    CanvasRect target;
    if (record.WholeSheet) {
        target = {-m.DeviceOffsetX, -m.DeviceOffsetY, m.DeviceSheetWidth - m.DeviceOffsetX,
                  m.DeviceSheetHeight - m.DeviceOffsetY};
    } else {
        target = {
            DeviceMargin(record.LeftMargin, m.DevicePrintWidth, m.PrintWidth),
            DeviceMargin(record.TopMargin, m.DevicePrintHeight, m.PrintHeight),
            m.DevicePrintWidth - DeviceMargin(record.RightMargin, m.DevicePrintWidth, m.PrintWidth),
            m.DevicePrintHeight -
                DeviceMargin(record.BottomMargin, m.DevicePrintHeight, m.PrintHeight)};
    }
    {
        // Drawn while Showing, then released by a draw without it.
        record.Showing = true;
        const auto release = qScopeGuard([&] {
            record.Showing = false;
            pages_.DrawPage(page - 1, *canvas, CanvasRect{});
        });
        pages_.DrawPage(page - 1, *canvas, target);
    }

    Progress(page);
    QCoreApplication::processEvents();
    first_ = false;
}

void TfrPrintRun::Progress(int page) {
    if (report_.OnProgress) {
        report_.OnProgress(page);
        return;
    }
    if (!report_.ShowProgress)
        return;
    TfrProgressWindow* window = frEngine().ProgressWindow();
    if (window && window->Report() == &report_)
        window->SetLabel1(window->StepText() + QStringLiteral("  ") + QString::number(page));
}

// Closes the progress window serving this report with the run's result.
void EndProgress(TfrReport& report) {
    TfrProgressWindow* window = frEngine().ProgressWindow();
    if (window && window->Report() == &report)
        window->SetModalResult(report.CancelRequested ? mrCancel : mrOk);
}

}  // namespace

QList<int> frParsePageList(const QString& list, int pageCount) {
    QString text = list;
    text.remove(u' ');
    QList<int> pages;
    if (text.isEmpty())
        return pages;
    if (text.endsWith(u'-'))
        text += QString::number(pageCount);
    text += u',';

    qsizetype start = 0;
    bool inRange = false;
    int rangeStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'-') {
            rangeStart = frStrToInt(text.mid(start, i - start));
            inRange = true;
            start = i + 1;
        } else if (c == u',') {
            const int n = frStrToInt(text.mid(start, i - start));
            if (inRange) {
                // Only the pages that exist: a range such as 1-2000000000 stays small.
                const int from = std::max(rangeStart, 1);
                const int to = std::min(n, pageCount);
                for (int p = from; p <= to; ++p)
                    pages.append(p);
            } else if (n >= 1 && n <= pageCount) {
                pages.append(n);
            }
            inRange = false;
            start = i + 1;
        }
    }
    return pages;
}

void frDoPrintPages(TfrReport& report) {
    TfrEngine& engine = frEngine();
    SystemPrinter* system = engine.System();
    if (!system || system->Printers().isEmpty())
        throw Failure(QStringLiteral("There is no printer to print on"));
    TfrPrintRun(report, engine.Printer(), *system).Run();
}

void frPrintPreparedPages(TfrReport& report, const QString& pageList, int copies, bool collate,
                          int pagesMode) {
    TfrEngine& engine = frEngine();
    engine.State().CurrentReport = &report;
    report.CancelRequested = false;
    report.PrintPageList = pageList;
    report.PrintCopies = copies;
    report.PrintCollate = collate;
    report.PrintPagesMode = static_cast<quint8>(pagesMode);

    // Pages lent to a preview come back for the run and go back to it afterwards, whatever
    // happens in between.
    TfrPagesView* view = dynamic_cast<TfrPagesView*>(report.Preview.data());
    const bool borrowed = view && report.PreparedPages->Count() == 0;
    if (borrowed)
        view->ReturnPages();
    const auto reconnect = qScopeGuard([&] {
        if (borrowed)
            view->ConnectReport(report);
    });

    TfrProgressWindow* window = engine.ProgressWindow();
    if (report.OnProgress || !report.ShowProgress || !window) {
        auto hover = std::exchange(report.OnMouseOverObject, nullptr);
        const auto restore = qScopeGuard([&] { report.OnMouseOverObject = std::move(hover); });
        report.DoPrintPages();
        return;
    }

    QString caption = frLoadStr(kPreparing);
    if (!report.Title.isEmpty())
        caption += QStringLiteral(" - ") + report.Title;
    window->SetCaption(caption);
    window->SetStepText(kPrintingPage);
    window->SetLabel1(kPrintingPage);
    window->SetWorkHandler([&report](TfrProgressWindow&) {
        report.DoPrintPages();
        EndProgress(report);
    });
    window->RunProgress(report);
}

void frStartPrinting(TfrEngine& engine) {
    engine.State().Hooks.PrintPages = [](TfrReport& report) { frDoPrintPages(report); };
}
