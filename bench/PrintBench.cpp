// The print run over long reports: choosing the pages of a list costs the same per page however
// long the list is.
#include "Engine.h"
#include "Page.h"
#include "PreparedPages.h"
#include "Printing.h"
#include "RecordingCanvas.h"
#include "Report.h"
#include "SystemPrinter.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// One A4 printer that draws nowhere.
class NullPrinter : public SystemPrinter {
public:
    QStringList Printers() override { return {QStringLiteral("Null")}; }
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int) override {}
    PrinterIdentity CurrentNames() const override { return {QStringLiteral("Null"), {}, {}}; }
    std::optional<DeviceMode> GetDeviceMode() override { return mode_; }
    void SetDeviceMode(const DeviceMode& mode) override { mode_ = mode; }
    QList<int> PaperCodes() override { return {DMPAPER_A4}; }
    QStringList PaperNames() override { return {QStringLiteral("A4")}; }
    QList<int> Bins() override { return {}; }
    QStringList BinNames() override { return {}; }
    DeviceCaps Caps() override { return {600, 600, 4961, 7016, 0, 0, 4961, 7016}; }
    int Copies() const override { return 1; }
    void SetCopies(int) override {}
    QString Title() const override { return {}; }
    void SetTitle(const QString&) override {}
    bool ShowPropertiesDialog() override { return false; }
    Canvas* PageCanvas() override { return Printing() ? &canvas_ : nullptr; }

protected:
    void StartJob() override {}
    void NextPage() override {}
    void FinishJob() override {}
    void CancelJob() override {}

private:
    DeviceMode mode_{DM_PAPERSIZE | DM_ORIENTATION};
    RecordingCanvas canvas_{QSize(4961, 7016)};
};

// Prints every page of a report of state.range(0) pages, chosen by the list "1-N" (every page
// looked up in the list) or by "" (no list).
void PrintPages(benchmark::State& state, bool listed) {
    TfrEngine engine(std::make_unique<NullPrinter>());
    frStartPrinting(engine);
    TfrReport report;
    report.ShowProgress = false;
    TfrPage& design = report.Pages.Add();
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i)
        report.PreparedPages->Insert(i, design);
    const QString list = listed ? QStringLiteral("1-%1").arg(count) : QString();
    for (auto _ : state)
        frPrintPreparedPages(report, list, 1, true, frAllPages);
    state.SetComplexityN(count);
}

void PrintEveryPageByList(benchmark::State& state) {
    PrintPages(state, true);
}
void PrintEveryPage(benchmark::State& state) {
    PrintPages(state, false);
}
BENCHMARK(PrintEveryPageByList)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PrintEveryPage)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
