// The page layout window on a page of 50 fields over a 300-dpi A4 scan: opening it (fields,
// values, the report laid out by the engine and the first full paint; the picture follows in
// the next turn of the event loop), the picture's decoding and scaling on its own, and one frame
// of a drag (the field moved, the area it left and entered painted again, and a whole window's
// worth of the sheet painted). Goals: opening at most 100 ms, a frame within 16 ms.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "AppFrame.h"
#include "BenchDatabase.h"
#include "Data.h"
#include "Engine.h"
#include "PageImages.h"
#include "PageLayout.h"
#include "PainterCanvas.h"
#include "PdfFilePrinter.h"
#include "RecordingCanvas.h"
#include "StderrServices.h"
#include "TemplateWindows.h"
#include "TextEngine.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

namespace {

constexpr int kFields = 50;

// One page of the benchmark form with its scan behind it, and the window on it.
class Bench {
public:
    Bench() {
        BenchForm::WriteDatabase(1, dir_.filePath(QStringLiteral("Quillbox.mdb")), kFields);
        QDir::setCurrent(dir_.path());
        frStartTextLayer(engine_);
        data_.DataModuleCreate(QCoreApplication::applicationFilePath());
        scan_ = PagePicture::FromFile(Scan());
        ShowPicture(true);
        window_ = std::make_unique<TfPageLayout>(frame_, data_, windows_);
    }

    void ShowPicture(bool show, int shift = 0) {
        const qint64 document = data_.DocumentId.Value().toLongLong();
        PagePicture scan = scan_;
        scan.ShiftX = shift;
        if (show)
            data_.PageImages.Write(document, 1, scan);
        else
            data_.PageImages.Remove(document, 1);
    }
    ~Bench() { QDir::setCurrent(QDir::tempPath()); }

    TfPageLayout& Window() { return *window_; }

private:
    // A4 at 300 dpi with the lines of a form, grey as scans are.
    QString Scan() {
        QImage scan(2480, 3508, QImage::Format_Grayscale8);
        scan.fill(245);
        scan.setDotsPerMeterX(qRound(300 / 0.0254));
        scan.setDotsPerMeterY(qRound(300 / 0.0254));
        QPainter painter(&scan);
        painter.setPen(QPen(QColor(60, 60, 60), 3));
        for (int y = 200; y < 3400; y += 90)
            painter.drawLine(150, y, 2330, y);
        for (int x = 150; x < 2400; x += 545)
            painter.drawLine(x, 200, x, 3350);
        painter.end();
        const QString path = dir_.filePath(QStringLiteral("scan.png"));
        scan.save(path, "png");
        return path;
    }

    QTemporaryDir dir_;
    StderrServices services_;
    AppFrame frame_{services_};
    TfrEngine engine_{std::make_unique<PdfFilePrinter>(dir_.filePath(QStringLiteral("o.pdf")))};
    TfData data_{frame_};
    TemplateWindows windows_;
    PagePicture scan_;
    std::unique_ptr<TfPageLayout> window_;
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

// `range(0)` 0: without the picture, to tell the engine's part from the picture's.
void OpenWindow(benchmark::State& state) {
    TfPageLayout& w = Shared().Window();
    Shared().ShowPicture(state.range(0) != 0);
    for (auto _ : state) {
        w.Load();
        QImage frame(w.Sheet->size(), QImage::Format_RGB32);
        PainterCanvas canvas(frame);
        w.PaintSheet(canvas, w.Sheet->rect());
        benchmark::DoNotOptimize(frame.bits());
    }
    state.SetLabel(std::to_string(w.PageFields().size()) + " fields");
}
BENCHMARK(OpenWindow)
    ->ArgName("picture")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The picture of a newly opened page: decoded, placed and scaled to 100 %.
void PictureDecode(benchmark::State& state) {
    TfPageLayout& w = Shared().Window();
    Shared().ShowPicture(true);
    w.Load();
    int shift = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Another shift is another picture: nothing decoded is kept.
        Shared().ShowPicture(true, ++shift);
        w.Load();
        QImage frame(w.Sheet->size(), QImage::Format_RGB32);
        state.ResumeTiming();
        RecordingCanvas canvas(w.Sheet->size());
        w.PaintSheet(canvas, w.Sheet->rect());
        PainterCanvas paint(frame);
        w.PaintSheet(paint, w.Sheet->rect());
        benchmark::DoNotOptimize(frame.bits());
    }
}
BENCHMARK(PictureDecode)->Unit(benchmark::kMillisecond)->Iterations(5);

// One frame of dragging: the field follows the pointer by a few pixels and the part of the
// sheet about it is painted again, as the window asks; `range(0)` 1 paints a whole window.
void DragFrame(benchmark::State& state) {
    const bool whole = state.range(0) != 0;
    TfPageLayout& w = Shared().Window();
    w.Load();
    const qint64 id = w.PageFields().value(kFields / 2);
    const QPoint start = w.FieldRect(id).center();
    // The picture decoded, as it is once the window has shown.
    RecordingCanvas decode(w.Sheet->size());
    w.PaintSheet(decode, w.Sheet->rect());
    w.Press(start);
    QImage frame(w.Sheet->size(), QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const QRect before = w.FieldRect(id);
        step = (step + 7) % 120;
        w.Drag(start + QPoint(step, step / 2));
        const QRect after = w.FieldRect(id);
        const QRect area = whole ? QRect(after.center() - QPoint(500, 380), QSize(1000, 760))
                                 : before.united(after).adjusted(-20, -20, 20, 20);
        PainterCanvas canvas(frame);
        w.PaintSheet(canvas, area.intersected(frame.rect()));
        benchmark::DoNotOptimize(frame.bits());
    }
    w.Release(start);
    w.Undo();
}
BENCHMARK(DragFrame)->ArgName("window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
