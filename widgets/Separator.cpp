#include "Separator.h"

#include "Failure.h"
#include "PainterCanvas.h"

#include <cmath>

namespace {

constexpr int kThickness = 8;
constexpr int kLength = 22;

int Middle(int extent) {
    // The two pixels of an etched line centred; halves to even.
    return static_cast<int>(std::nearbyint((extent - 2) / 2.0));
}

}  // namespace

TrSeparator::TrSeparator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(kThickness, parent ? std::max(kLength, parent->height()) : kLength);
    UpdatePolicy();
}

TrSeparator::~TrSeparator() = default;

void TrSeparator::SetAlign(TAlign align) {
    if (align_ == align)
        return;
    align_ = align;
    UpdatePolicy();
    update();
}

void TrSeparator::SetSeparatorStyle(TSeparatorStyle style) {
    if (style == TSeparatorStyle::Divider && (align_ == TAlign::None || align_ == TAlign::Client))
        throw Failure(QStringLiteral(
            "Для установки rspDivider свойство Align не может быть alNone или alClient."));
    style_ = style;
    update();
}

void TrSeparator::SetUseShape(bool use) {
    useShape_ = use;
    update();
}

void TrSeparator::SetShape(TBevelShape shape) {
    shape_ = shape;
    update();
}

void TrSeparator::SetStyle(TBevelCut style) {
    bevelStyle_ = style;
    update();
}

void TrSeparator::UpdatePolicy() {
    if (Vertical())
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    else if (align_ == TAlign::Top || align_ == TAlign::Bottom)
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    else
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    updateGeometry();
}

QSize TrSeparator::sizeHint() const {
    if (Vertical())
        return {kThickness, kLength};
    if (align_ == TAlign::Top || align_ == TAlign::Bottom)
        return {kLength, kThickness};
    return size();
}

void TrSeparator::Paint(Canvas& canvas) const {
    const int w = width();
    const int h = height();
    if (useShape_) {
        const bool raised = bevelStyle_ == TBevelCut::Raised;
        const quint32 first = raised ? SysColor::BtnHighlight : SysColor::BtnShadow;
        const quint32 second = raised ? SysColor::BtnShadow : SysColor::BtnHighlight;
        // Two lines side by side, the first one nearer the edge at the top or left.
        const auto line = [&](const CanvasRect& a, const CanvasRect& b) {
            canvas.SetBrush({first, CanvasBrush::Solid});
            canvas.FillRect(a);
            canvas.SetBrush({second, CanvasBrush::Solid});
            canvas.FillRect(b);
        };
        const CanvasRect all{0, 0, w, h};
        switch (shape_) {
            case TBevelShape::Box:
                canvas.DrawBevel(all, raised ? Canvas::Raised : Canvas::Lowered);
                break;
            case TBevelShape::Frame:
                canvas.DrawBevel(canvas.DrawBevel(all, raised ? Canvas::Raised : Canvas::Lowered),
                                 raised ? Canvas::Lowered : Canvas::Raised);
                break;
            case TBevelShape::TopLine:
                line({0, 0, w, 1}, {0, 1, w, 2});
                break;
            case TBevelShape::BottomLine:
                line({0, h - 2, w, h - 1}, {0, h - 1, w, h});
                break;
            case TBevelShape::LeftLine:
                line({0, 0, 1, h}, {1, 0, 2, h});
                break;
            case TBevelShape::RightLine:
                line({w - 2, 0, w - 1, h}, {w - 1, 0, w, h});
                break;
        }
    }
    if (style_ != TSeparatorStyle::Divider)
        return;
    if (Vertical())
        canvas.DrawEtchedLine({Middle(w), 0}, h, Qt::Vertical);
    else
        canvas.DrawEtchedLine({0, Middle(h)}, w, Qt::Horizontal);
}

void TrSeparator::paintEvent(QPaintEvent*) {
    PainterCanvas canvas(*this);
    Paint(canvas);
}
