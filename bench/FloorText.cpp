#include "FloorText.h"

namespace {

qreal MmToDots(int mm) {
    return mm * FloorDotsPerInch / 25.4;
}

}  // namespace

QRectF FloorBox(const BenchForm::Field& field) {
    return {MmToDots(field.left), MmToDots(field.top), MmToDots(field.width),
            MmToDots(field.height)};
}

FloorFonts::FloorFonts() {
    for (int kind = 0; kind < 4; ++kind) {
        fonts[kind] = QFont(BenchForm::FontName);
        fonts[kind].setPointSize(BenchForm::FontSize);
        fonts[kind].setBold(kind & 1);
        fonts[kind].setUnderline(kind & 2);
    }
}

std::vector<std::unique_ptr<QTextLayout>> FloorLayouts(const BenchForm::Field& field,
                                                       const QFont& font, QPaintDevice* device,
                                                       const QRectF& box) {
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    qreal y = box.top();
    for (const QString& paragraph : BenchForm::Paragraphs(BenchForm::Value(field))) {
        auto& layout = layouts.emplace_back(std::make_unique<QTextLayout>(paragraph, font, device));
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y - box.top()));
            y += line.height();
        }
        layout->endLayout();
        if (y >= box.bottom())
            break;
    }
    return layouts;
}
