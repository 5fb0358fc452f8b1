#pragma once

#include "BenchForm.h"

#include <QFont>
#include <QRectF>
#include <QTextLayout>
#include <memory>
#include <vector>

class QPaintDevice;

// The floor's resolution: a PDF writer at 600 dpi.
inline constexpr int FloorDotsPerInch = 600;

// The field's box in the floor's dots.
QRectF FloorBox(const BenchForm::Field& field);

// The four fonts of the form, made once: regular, bold, underlined, both.
struct FloorFonts {
    FloorFonts();
    const QFont& Of(const BenchForm::Field& field) const {
        return fonts[(field.bold ? 1 : 0) | (field.underline ? 2 : 0)];
    }
    QFont fonts[4];
};

// The floor's text of one field: its value's paragraphs broken into lines by QTextLayout in the
// width of box, the lines placed down from the box's top until one passes its bottom. The
// layouts are drawn at the box's top-left corner.
std::vector<std::unique_ptr<QTextLayout>> FloorLayouts(const BenchForm::Field& field,
                                                       const QFont& font, QPaintDevice* device,
                                                       const QRectF& box);
