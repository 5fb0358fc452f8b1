// The main job's engine steps on the benchmark form: preparation of the N-page report, drawing
// one prepared page onto an image at 100 % and onto a PDF page, the report stream, expressions
// in brackets and line breaking of the form's fields; and the floor's line breaking alone, the
// measure preparation is held to.
#include "AppFrame.h"
#include "BenchDatabase.h"
#include "BenchForm.h"
#include "Data.h"
#include "Engine.h"
#include "Failure.h"
#include "FloorText.h"
#include "MemoLayout.h"
#include "MemoView.h"
#include "Page.h"
#include "PainterCanvas.h"
#include "PdfFilePrinter.h"
#include "PreparedPages.h"
#include "Report.h"
#include "ReportBuilder.h"
#include "StderrServices.h"
#include "TextEngine.h"

#include <benchmark/benchmark.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <memory>

namespace {

// A text layer whose scripts do nothing: what preparation costs without the interpreter.
class WithoutScripts : public TfrTextEngine {
public:
    using TfrTextEngine::TfrTextEngine;
    void TranslateScript(QStringList&) override {}
    void RunScript(TfrView&, const QStringList&) override {}
    void RunPageScript(const QStringList&) override {}
};

// The form's design pages built from a generated database by the report builder, on an engine
// with the text layer; the engine prints into a PDF file of the folder when asked.
class FormReport {
public:
    explicit FormReport(int pages, bool scripts = true) {
        BenchForm::WriteDatabase(pages, dir_.filePath(QStringLiteral("Quillbox.mdb")));
        QDir::setCurrent(dir_.path());
        data_.DataModuleCreate(QCoreApplication::applicationFilePath());
        engine_.State().Services = &services_;
        if (scripts)
            frStartTextLayer(engine_);
        else
            engine_.InstallTextLayer(std::make_unique<WithoutScripts>(engine_));
        TfReportBuilder(data_, report).Build();
    }
    ~FormReport() { QDir::setCurrent(QDir::tempPath()); }

    TfrEngine& Engine() { return engine_; }

    TfrReport report;

private:
    QTemporaryDir dir_;
    StderrServices services_;
    AppFrame frame_{services_};
    TfData data_{frame_};
    TfrEngine engine_{std::make_unique<PdfFilePrinter>(dir_.filePath(QStringLiteral("out.pdf")))};
};

// Also how much the prepared pages held for the preview take for each text object.
void PrepareForm(benchmark::State& state, bool scripts) {
    FormReport form(static_cast<int>(state.range(0)), scripts);
    for (auto _ : state) {
        if (!form.report.Prepare())
            state.SkipWithError("preparation failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    const TfrEMFPages& pages = *form.report.PreparedPages;
    qint64 bytes = 0;
    for (int i = 0; i < pages.Count(); ++i)
        bytes += qint64(sizeof(TfrPreparedPage)) + pages.RecordAt(i).Stream->buffer().capacity();
    state.counters["bytes/object"] =
        double(bytes) / double(pages.Count() * BenchForm::FieldsPerPage);
    state.SetLabel(std::to_string(pages.Count()) + " pages");
}
void Prepare(benchmark::State& state) {
    PrepareForm(state, true);
}
BENCHMARK(Prepare)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same with script operations that do nothing: the report has no scripts, so the two should
// take the same time (run both with --benchmark_enable_random_interleaving).
void PrepareWithoutInterpreter(benchmark::State& state) {
    PrepareForm(state, false);
}
BENCHMARK(PrepareWithoutInterpreter)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The floor's line breaking alone: every field of N pages laid out by QTextLayout as the
// floor lays it out, on a PDF writer at its resolution, nothing drawn.
void FloorLineBreaking(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setResolution(FloorDotsPerInch);
    const FloorFonts fonts;
    QList<BenchForm::Field> fields;
    for (int p = 1; p <= pages; ++p)
        fields += BenchForm::PageFields(p);
    for (auto _ : state) {
        for (const BenchForm::Field& f : fields)
            benchmark::DoNotOptimize(FloorLayouts(f, fonts.Of(f), &writer, FloorBox(f)).size());
    }
    state.SetItemsProcessed(state.iterations() * pages);
}
BENCHMARK(FloorLineBreaking)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The first prepared page of a one-page form, loaded and shown.
TfrPreparedPage& FirstPage(FormReport& form) {
    if (!form.report.Prepare() || form.report.PreparedPages->Count() == 0)
        throw Failure(QStringLiteral("preparation failed"));
    TfrPreparedPage& page = form.report.PreparedPages->RecordAt(0);
    page.Showing = true;
    return page;
}

void DrawPageOnImage(benchmark::State& state) {
    FormReport form(1);
    TfrPreparedPage& page = FirstPage(form);
    const TfrPageMetrics& m = page.Metrics;
    ImageCanvas canvas(QSize(m.SheetWidth, m.SheetHeight));
    for (auto _ : state)
        form.report.PreparedPages->DrawPage(0, canvas, {0, 0, m.SheetWidth, m.SheetHeight});
}
BENCHMARK(DrawPageOnImage)->Unit(benchmark::kMillisecond);

// As printing draws it: the whole sheet onto the page of the PDF file printer, a new page each
// time.
void DrawPageOnPdf(benchmark::State& state) {
    FormReport form(1);
    TfrPreparedPage& page = FirstPage(form);
    SystemPrinter& system = *form.Engine().System();
    system.BeginDoc();
    TfrPageMetrics m;
    form.Engine().Printer().GetPageMetrics(m);
    const CanvasRect target{-m.DeviceOffsetX, -m.DeviceOffsetY,
                            m.DeviceSheetWidth - m.DeviceOffsetX,
                            m.DeviceSheetHeight - m.DeviceOffsetY};
    for (auto _ : state) {
        form.report.PreparedPages->DrawPage(0, *system.PageCanvas(), target);
        system.NewPage();
    }
    system.EndDoc();
    page.Showing = false;
}
BENCHMARK(DrawPageOnPdf)->Unit(benchmark::kMillisecond);

// 25 form pages hold 1,000 text objects.
void StreamWrite(benchmark::State& state) {
    FormReport form(25);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        form.report.WriteToStream(buffer);
        benchmark::DoNotOptimize(buffer.size());
    }
    state.SetItemsProcessed(state.iterations() * 25 * BenchForm::FieldsPerPage);
}
BENCHMARK(StreamWrite)->Unit(benchmark::kMillisecond);

void StreamRead(benchmark::State& state) {
    FormReport form(25);
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    form.report.WriteToStream(written);
    const QByteArray bytes = written.data();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        form.report.ReadFromStream(buffer);
    }
    state.SetItemsProcessed(state.iterations() * 25 * BenchForm::FieldsPerPage);
}
BENCHMARK(StreamRead)->Unit(benchmark::kMillisecond);

// What a form's field may hold in brackets.
void Evaluate(benchmark::State& state) {
    TfrEngine engine(nullptr);
    StderrServices services;
    engine.State().Services = &services;
    TfrTextEngine& text = frStartTextLayer(engine);
    const QString expressions[] = {
        QStringLiteral("1500 + 250 * 2"),
        QStringLiteral("FormatFloat('#,##0.00', 1234.5)"),
        QStringLiteral("UpperCase('иванов') + ' ' + Trim('  Иван  ')"),
        QStringLiteral("Length('Садовая') * 3 - 1"),
        QStringLiteral("NameCase('иванов')"),
    };
    for (auto _ : state) {
        for (const QString& e : expressions)
            benchmark::DoNotOptimize(text.Evaluate(e));
    }
    state.SetItemsProcessed(state.iterations() * std::size(expressions));
}
BENCHMARK(Evaluate)->Unit(benchmark::kMicrosecond);

// The 40 fields of a form page broken into lines, as drawing breaks them.
void BreakLines(benchmark::State& state) {
    FormReport form(1);
    TfrMemoLayout layout(*form.Engine().MeasureCanvas());
    TfrPage& page = form.report.Pages.PageAt(0);
    for (auto _ : state) {
        for (const auto& view : page.Objects()) {
            auto* memo = dynamic_cast<TfrMemoView*>(view.get());
            if (!memo)
                continue;
            memo->WorkMemo = memo->Memo;
            memo->FactorX = 1.0;
            memo->FactorY = 1.0;
            memo->ScaleGeometry();
            layout.BreakLines(*memo);
            memo->RestoreGeometry();
            benchmark::DoNotOptimize(layout.WrappedLines.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * BenchForm::FieldsPerPage);
}
BENCHMARK(BreakLines)->Unit(benchmark::kMicrosecond);

}  // namespace
