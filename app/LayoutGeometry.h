#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSizeF>

// The arithmetic of the page layout window, without a widget: where a field and the picture of
// the form lie on the screen, which handle a point hits, and where a drag leaves a field.
namespace LayoutGeometry {

// A field's place in whole millimetres, as the store keeps it.
struct FieldMm {
    int left{0};
    int top{0};
    int width{0};
    int height{0};
    bool operator==(const FieldMm&) const = default;
};

// Page units of a field's edges, converted as the report builder converts them.
QRect FieldUnits(const FieldMm& field);
// The field's rectangle on the screen: the sheet's corner at `origin`, `zoom` pixels a page
// unit (1 at 100 %). Edges are rounded as the engine rounds its objects' edges.
QRect FieldOnScreen(const FieldMm& field, QPoint origin, double zoom);
// Page units of a length in true millimetres on the sheet: where a picture lies.
double TrueMmToUnits(double mm);
// A rectangle in true millimetres of the sheet (a picture's) on the screen.
QRectF MmOnScreen(const QRectF& mm, QPoint origin, double zoom);

// What a press on a field grabs: the field itself or one of its eight handles.
enum class Grip {
    None,
    Move,
    Left,
    TopLeft,
    Top,
    TopRight,
    Right,
    BottomRight,
    Bottom,
    BottomLeft
};

// Side of a handle's square, in screen pixels.
inline constexpr int kHandleSize = 7;
// The handle's square of a field's screen rectangle.
QRect HandleRect(const QRect& field, Grip grip);
// The grip at a point: a handle of the selected field's rectangle (when `selected`), else the
// field when the point lies in it, else None.
Grip GripAt(const QRect& field, bool selected, QPoint point);

// The field after a drag of `delta` screen pixels on `grip`, snapped to whole millimetres
// (halves to even). A field keeps at least 1 mm of width and height; the edge that is not
// dragged stays where it was.
FieldMm Dragged(const FieldMm& start, Grip grip, QPoint delta, double zoom);

// Zoom of a page `sheet` units wide and high into a view, with `margin` pixels about it.
double PageWidthZoom(QSizeF sheet, QSize view, int margin);
double WholePageZoom(QSizeF sheet, QSize view, int margin);

}  // namespace LayoutGeometry
