// The floor: the benchmark form's boxes drawn with QPainter straight onto a PDF writer, each
// value broken into lines by QTextLayout in its box's width. Nothing else: no database, no
// report, no engine.
#include "BenchForm.h"
#include "FloorText.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

namespace {

// One box: its paragraphs wrapped in its width, lines from its top, clipped to it.
void DrawBox(QPainter& painter, const BenchForm::Field& field, const QFont& font) {
    const QRectF box = FloorBox(field);
    painter.save();
    painter.setClipRect(box);
    for (const auto& layout : FloorLayouts(field, font, painter.device(), box))
        layout->draw(&painter, box.topLeft());
    painter.restore();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int pages = args.value(1).toInt(&ok);
    if (args.size() != 3 || !ok || pages < 1) {
        QTextStream(stderr) << "usage: bench_floor N FILE.pdf   the form's N pages into a PDF\n";
        return 2;
    }
    QPdfWriter writer(args[2]);
    writer.setResolution(FloorDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        QTextStream(stderr) << "bench_floor: cannot write " << args[2] << '\n';
        return 1;
    }
    const FloorFonts fonts;
    painter.setPen(Qt::black);
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            writer.newPage();
        for (const BenchForm::Field& f : BenchForm::PageFields(p))
            DrawBox(painter, f, fonts.Of(f));
    }
    if (!painter.end()) {
        QTextStream(stderr) << "bench_floor: cannot write " << args[2] << '\n';
        return 1;
    }
    return 0;
}
