// The floor: the benchmark form's boxes drawn with QPainter straight onto a PDF writer, each
// value broken into lines by QTextLayout in its box's width. Nothing else: no database, no
// report, no engine.
#include "BenchForm.h"

#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTextStream>

namespace {

constexpr int kDotsPerInch = 600;

qreal MmToDots(int mm) {
    return mm * kDotsPerInch / 25.4;
}

// One box: its paragraphs wrapped in its width, lines from its top, clipped to it.
void DrawBox(QPainter& painter, const BenchForm::Field& field, const QFont& font) {
    const QRectF box(MmToDots(field.left), MmToDots(field.top), MmToDots(field.width),
                     MmToDots(field.height));
    painter.save();
    painter.setClipRect(box);
    qreal y = box.top();
    for (const QString& paragraph : BenchForm::Paragraphs(BenchForm::Value(field))) {
        QTextLayout layout(paragraph, font, painter.device());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y - box.top()));
            y += line.height();
        }
        layout.endLayout();
        layout.draw(&painter, box.topLeft());
        if (y >= box.bottom())
            break;
    }
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
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        QTextStream(stderr) << "bench_floor: cannot write " << args[2] << '\n';
        return 1;
    }
    QFont fonts[4];
    for (int kind = 0; kind < 4; ++kind) {
        fonts[kind] = QFont(BenchForm::FontName);
        fonts[kind].setPointSize(BenchForm::FontSize);
        fonts[kind].setBold(kind & 1);
        fonts[kind].setUnderline(kind & 2);
    }
    painter.setPen(Qt::black);
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            writer.newPage();
        for (const BenchForm::Field& f : BenchForm::PageFields(p))
            DrawBox(painter, f, fonts[(f.bold ? 1 : 0) | (f.underline ? 2 : 0)]);
    }
    if (!painter.end()) {
        QTextStream(stderr) << "bench_floor: cannot write " << args[2] << '\n';
        return 1;
    }
    return 0;
}
