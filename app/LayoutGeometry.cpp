#include "LayoutGeometry.h"

#include "MmConversion.h"
#include "Printer.h"
#include "ReportBuilder.h"
#include "Rounding.h"

#include <algorithm>

namespace LayoutGeometry {
namespace {

int Units(int mm) {
    return MmToPixels(TfReportBuilder::FormDotsPerInch, mm);
}

// Screen pixels of one stored millimetre at this zoom.
double PixelsPerStoredMm(double zoom) {
    return zoom * static_cast<double>(PixelsPerMm(TfReportBuilder::FormDotsPerInch));
}

}  // namespace

QRect FieldUnits(const FieldMm& field) {
    const int left = Units(field.left);
    const int top = Units(field.top);
    return {left, top, Units(field.width), Units(field.height)};
}

QRect FieldOnScreen(const FieldMm& field, QPoint origin, double zoom) {
    const QRect u = FieldUnits(field);
    // As the engine scales an object: the corner and the size each rounded.
    return {origin.x() + frRound(u.left() * zoom), origin.y() + frRound(u.top() * zoom),
            frRound(u.width() * zoom), frRound(u.height() * zoom)};
}

double TrueMmToUnits(double mm) {
    return mm * frUnitsPerInch / 25.4;
}

QRectF MmOnScreen(const QRectF& mm, QPoint origin, double zoom) {
    return {origin.x() + TrueMmToUnits(mm.left()) * zoom,
            origin.y() + TrueMmToUnits(mm.top()) * zoom, TrueMmToUnits(mm.width()) * zoom,
            TrueMmToUnits(mm.height()) * zoom};
}

QRect HandleRect(const QRect& field, Grip grip) {
    const int l = field.left();
    const int r = field.right() + 1;
    const int t = field.top();
    const int b = field.bottom() + 1;
    const int cx = (l + r) / 2;
    const int cy = (t + b) / 2;
    QPoint c;
    switch (grip) {
        case Grip::Left:
            c = {l, cy};
            break;
        case Grip::TopLeft:
            c = {l, t};
            break;
        case Grip::Top:
            c = {cx, t};
            break;
        case Grip::TopRight:
            c = {r, t};
            break;
        case Grip::Right:
            c = {r, cy};
            break;
        case Grip::BottomRight:
            c = {r, b};
            break;
        case Grip::Bottom:
            c = {cx, b};
            break;
        case Grip::BottomLeft:
            c = {l, b};
            break;
        case Grip::None:
        case Grip::Move:
            return {};
    }
    return {c.x() - kHandleSize / 2, c.y() - kHandleSize / 2, kHandleSize, kHandleSize};
}

Grip GripAt(const QRect& field, bool selected, QPoint point) {
    if (selected) {
        // Corners before edges: on a small field the squares overlap.
        for (Grip g : {Grip::TopLeft, Grip::TopRight, Grip::BottomRight, Grip::BottomLeft,
                       Grip::Left, Grip::Top, Grip::Right, Grip::Bottom}) {
            if (HandleRect(field, g).contains(point))
                return g;
        }
    }
    return field.contains(point) ? Grip::Move : Grip::None;
}

FieldMm Dragged(const FieldMm& start, Grip grip, QPoint delta, double zoom) {
    const double perMm = PixelsPerStoredMm(zoom);
    if (perMm <= 0)
        return start;
    const int dx = frRound(delta.x() / perMm);
    const int dy = frRound(delta.y() / perMm);
    FieldMm f = start;
    if (grip == Grip::Move) {
        f.left += dx;
        f.top += dy;
        return f;
    }
    const bool left = grip == Grip::Left || grip == Grip::TopLeft || grip == Grip::BottomLeft;
    const bool right = grip == Grip::Right || grip == Grip::TopRight || grip == Grip::BottomRight;
    const bool top = grip == Grip::Top || grip == Grip::TopLeft || grip == Grip::TopRight;
    const bool bottom =
        grip == Grip::Bottom || grip == Grip::BottomLeft || grip == Grip::BottomRight;
    if (left) {
        const int d = std::min(dx, start.width - 1);
        f.left = start.left + d;
        f.width = start.width - d;
    } else if (right) {
        f.width = std::max(start.width + dx, 1);
    }
    if (top) {
        const int d = std::min(dy, start.height - 1);
        f.top = start.top + d;
        f.height = start.height - d;
    } else if (bottom) {
        f.height = std::max(start.height + dy, 1);
    }
    return f;
}

double PageWidthZoom(QSizeF sheet, QSize view, int margin) {
    if (sheet.width() <= 0)
        return 1;
    return std::max(0.05, (view.width() - 2.0 * margin) / sheet.width());
}

double WholePageZoom(QSizeF sheet, QSize view, int margin) {
    if (sheet.width() <= 0 || sheet.height() <= 0)
        return 1;
    return std::max(0.05, std::min((view.width() - 2.0 * margin) / sheet.width(),
                                   (view.height() - 2.0 * margin) / sheet.height()));
}

}  // namespace LayoutGeometry
