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
#include <vector>

namespace {

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
    // The page numbers the request prints, in document order: the list and the pages mode.
    std::vector<int> PagesToPrint() const;
    void PrintOnePage(int page);
    void Progress(int page);

    TfrReport& report_;
    TfrEMFPages& pages_;
    TfrPrinter& printer_;
    SystemPrinter& system_;
};

std::vector<int> TfrPrintRun::PagesToPrint() const {
    const int count = pages_.Count();
    const QList<int> listed = frParsePageList(report_.PrintPageList, count);
    // Only an empty list means every page; a list naming no page that exists prints none.
    const bool everyPage = QString(report_.PrintPageList).remove(u' ').isEmpty();
    std::vector<bool> selected(static_cast<std::size_t>(count) + 1, everyPage);
    for (int page : listed)
        selected[static_cast<std::size_t>(page)] = true;

    const int mode = report_.PrintPagesMode;
    std::vector<int> pages;
    for (int page = 1; page <= count; ++page) {
        if (!selected[static_cast<std::size_t>(page)])
            continue;
        if ((mode == frOddPages && page % 2 == 0) || (mode == frEvenPages && page % 2 != 0))
            continue;
        pages.push_back(page);
    }
    return pages;
}

void TfrPrintRun::Run() {
    printer_.AttachPrinter(&system_);
    const std::vector<int> pages = PagesToPrint();
    // Not a sheet, not a file: a job begins only for a page that prints.
    if (pages.empty())
        throw Failure(QStringLiteral("Нет страниц для печати"));
    const int copies = std::max(report_.PrintCopies, 1);
    if (!system_.ReadyToPrint())
        return;
    auto ended = qScopeGuard([this] { system_.RunEnded(false); });

    TfrPreparedPage& firstPage = pages_.RecordAt(pages.front() - 1);
    printer_.SetPaper(firstPage.PaperKind, firstPage.PaperX, firstPage.PaperY,
                      firstPage.PaperSource, firstPage.Orientation == poLandscape, true);
    printer_.GetPageMetrics(firstPage.Metrics);

    system_.SetTitle(report_.Title.isEmpty() ? frLoadStr(kUntitled) : report_.Title);
    if (report_.OnPrintReport)
        report_.OnPrintReport();
    // Copies the device cannot make itself are printed here: collated as passes over the
    // pages, otherwise each page that many times over.
    const bool deviceCopies = !report_.PrintCollate && system_.MakesCopies();
    system_.SetCopies(deviceCopies ? copies : 1);
    const int passes = report_.PrintCollate ? copies : 1;
    const int repeats = report_.PrintCollate || deviceCopies ? 1 : copies;

    // A failure halfway must not leave the job open: the printer would refuse every paper
    // change from then on.
    auto abort = qScopeGuard([this] {
        if (system_.Printing())
            system_.Abort();
    });
    for (int pass = 0; pass < passes; ++pass) {
        for (int page : pages) {
            for (int repeat = 0; repeat < repeats; ++repeat) {
                PrintOnePage(page);
                if (report_.CancelRequested)
                    return;
            }
        }
    }
    abort.dismiss();
    system_.EndDoc();
    // Completing the output may still fail: that is the run's failure.
    ended.dismiss();
    system_.RunEnded(true);
}

void TfrPrintRun::PrintOnePage(int page) {
    TfrPreparedPage& record = pages_.RecordAt(page - 1);
    const bool landscape = record.Orientation == poLandscape;
    // The first page's paper is set before the run; a printer that refused it prints on its own.
    if (!system_.Printing()) {
        system_.BeginDoc();
    } else if (printer_.PaperMatches(record.PaperKind, record.PaperX, record.PaperY,
                                     record.PaperSource, landscape)) {
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
        throw Failure(QStringLiteral("Принтер не печатает"));
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
}

void TfrPrintRun::Progress(int page) {
    if (report_.OnProgress) {
        report_.OnProgress(page);
        return;
    }
    if (!report_.ShowProgress)
        return;
    if (TfrProgressWindow* window = frProgressWindowOf(report_))
        window->SetLabel1(frProgressLine(*window, page));
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
        throw Failure(QStringLiteral("Нет принтера для печати"));
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

    window->SetCaption(frProgressCaption(report));
    window->SetStepText(kPrintingPage);
    window->SetLabel1(kPrintingPage);
    window->SetWorkHandler([&report](TfrProgressWindow&) {
        report.DoPrintPages();
        frEndProgress(report);
    });
    window->RunProgress(report);
}

void frStartPrinting(TfrEngine& engine) {
    engine.State().Hooks.PrintPages = [](TfrReport& report) { frDoPrintPages(report); };
}
