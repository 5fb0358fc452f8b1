#include "RecordingCanvas.h"

#include "PainterCanvas.h"

#include <QTransform>

RecordingCanvas::RecordingCanvas(QSize size, Canvas* measure)
    : measure_(measure), size_(size), clip_(QRegion(0, 0, size.width(), size.height())) {
    if (measure_ == nullptr) {
        ownMeasure_ = std::make_unique<ImageCanvas>();
        measure_ = ownMeasure_.get();
    }
    fontHeight_ = FontMetrics().CharHeight();
}

RecordingCanvas::~RecordingCanvas() = default;

template <typename F>
auto RecordingCanvas::Measure(F f) const {
    Canvas& m = *measure_;
    if (ownMeasure_) {
        m.SelectFont(font_);
        m.SetCharSpacing(charSpacing_);
        return f(m);
    }
    const CanvasFont savedFont = m.Font();
    const int savedSpacing = m.CharSpacing();
    m.SelectFont(font_);
    m.SetCharSpacing(charSpacing_);
    auto result = f(m);
    m.SelectFont(savedFont);
    m.SetCharSpacing(savedSpacing);
    return result;
}

CanvasRecord& RecordingCanvas::Add(CanvasRecord::Kind kind) {
    CanvasRecord& r = records_.emplace_back();
    r.kind = kind;
    r.font = font_;
    r.fontHeight = fontHeight_;
    r.charSpacing = charSpacing_;
    r.background = background_;
    r.pen = pen_;
    r.brush = brush_;
    return r;
}

QList<CanvasRecord> RecordingCanvas::RecordsOf(CanvasRecord::Kind kind) const {
    QList<CanvasRecord> result;
    for (const CanvasRecord& r : records_) {
        if (r.kind == kind) {
            result.append(r);
        }
    }
    return result;
}

// --- text state and measuring

void RecordingCanvas::SelectFont(const CanvasFont& font) {
    font_ = font;
    fontHeight_ = FontMetrics().CharHeight();
    Add(CanvasRecord::SelectFont);
}

CanvasFontMetrics RecordingCanvas::FontMetrics() const {
    return Measure([](Canvas& m) { return m.FontMetrics(); });
}

void RecordingCanvas::SetCharSpacing(int pixels) {
    charSpacing_ = pixels;
    Add(CanvasRecord::SetCharSpacing);
}

void RecordingCanvas::SetTextJustification(int extra, int breakCount) {
    justifyExtra_ = breakCount > 0 ? extra : 0;
    justifyBreaks_ = breakCount > 0 ? breakCount : 0;
    CanvasRecord& r = Add(CanvasRecord::SetTextJustification);
    r.justifyExtra = extra;
    r.justifyBreaks = breakCount;
}

void RecordingCanvas::SetBackgroundMode(BackgroundMode mode) {
    background_ = mode;
    Add(CanvasRecord::SetBackgroundMode);
}

QSize RecordingCanvas::TextExtent(const QString& line) const {
    return Measure([&line](Canvas& m) { return m.TextExtent(line); });
}

QList<qreal> RecordingCanvas::CharEnds(const QString& line) const {
    return Measure([&line](Canvas& m) { return m.CharEnds(line); });
}

// --- text output

void RecordingCanvas::TextOut(int x, int y, const QString& text, const CanvasTextOptions& options) {
    int width = TextWidth(text);
    if (justifyBreaks_ > 0) {
        const auto breaks = text.count(QLatin1Char(' ')) + text.count(QChar(0xA0));
        width += Round(double(justifyExtra_) * double(breaks) / double(justifyBreaks_));
    }
    const int height = FontMetrics().height;
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(-font_.turn / 10.0);

    CanvasRecord& r = Add(CanvasRecord::TextOut);
    r.position = {x, y};
    r.text = text;
    r.bounds = CanvasRect::FromQRect(turn.mapRect(QRectF(0, 0, width, height)).toAlignedRect());
    r.clip = options.clip;
    r.rightToLeft = options.rightToLeft;
    r.justifyExtra = justifyExtra_;
    r.justifyBreaks = justifyBreaks_;
    justifyExtra_ = 0;
    justifyBreaks_ = 0;
}

void RecordingCanvas::DrawText(const CanvasRect& rect, const QString& text, unsigned format) {
    const int height = FontMetrics().height;
    CanvasRect bounds;
    for (const TextLine& line : LayoutText(rect, text, format)) {
        bounds = bounds.United({line.x, line.y, line.x + line.width, line.y + height});
    }
    CanvasRecord& r = Add(CanvasRecord::DrawText);
    r.rect = rect;
    r.text = text;
    r.format = format;
    r.bounds = bounds;
}

// --- pens, brushes and shapes

void RecordingCanvas::SetPen(const CanvasPen& pen) {
    pen_ = pen;
    Add(CanvasRecord::SetPen);
}

void RecordingCanvas::SetBrush(const CanvasBrush& brush) {
    brush_ = brush;
    Add(CanvasRecord::SetBrush);
}

void RecordingCanvas::MoveTo(int x, int y) {
    position_ = {x, y};
    Add(CanvasRecord::MoveTo).points = {position_};
}

void RecordingCanvas::LineTo(int x, int y) {
    const QPoint from = position_;
    position_ = {x, y};
    Add(CanvasRecord::LineTo).points = {from, position_};
}

void RecordingCanvas::Rectangle(const CanvasRect& rect) {
    Add(CanvasRecord::Rectangle).rect = rect;
}

void RecordingCanvas::FillRect(const CanvasRect& rect) {
    Add(CanvasRecord::FillRect).rect = rect;
}

void RecordingCanvas::Polyline(const QList<QPoint>& points) {
    Add(CanvasRecord::Polyline).points = points;
}

void RecordingCanvas::InvertRect(const CanvasRect& rect) {
    Add(CanvasRecord::InvertRect).rect = rect;
}

// --- clipping

void RecordingCanvas::SaveClip() {
    clip_.Save();
    Add(CanvasRecord::SaveClip);
}

void RecordingCanvas::RestoreClip() {
    clip_.Restore();
    Add(CanvasRecord::RestoreClip);
}

void RecordingCanvas::IntersectClipRect(const CanvasRect& rect) {
    clip_.Intersect(rect);
    Add(CanvasRecord::IntersectClip).rect = rect;
}

void RecordingCanvas::ExcludeClipRect(const CanvasRect& rect) {
    clip_.Exclude(rect);
    Add(CanvasRecord::ExcludeClip).rect = rect;
}

// --- bevels and icons

CanvasRect RecordingCanvas::DrawBevel(const CanvasRect& rect, BevelKind kind, int width) {
    CanvasRecord& r = Add(CanvasRecord::Bevel);
    r.rect = rect;
    r.bevel = kind;
    r.bevelWidth = width;
    // The rectangle inside the rings, as the drawn bevel gives it.
    CanvasRect inner = rect;
    for (int i = 0; i < (kind == Etched ? 2 * width : width) && !inner.IsEmpty(); ++i) {
        inner = {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1};
    }
    return inner;
}

void RecordingCanvas::DrawEtchedLine(QPoint from, int length, Qt::Orientation orientation) {
    CanvasRecord& r = Add(CanvasRecord::EtchedLine);
    r.points = {from};
    r.length = length;
    r.orientation = orientation;
}

void RecordingCanvas::DrawIcon(const CanvasRect& rect, const QIcon& icon) {
    CanvasRecord& r = Add(CanvasRecord::Icon);
    r.rect = rect;
    r.icon = icon;
}

void RecordingCanvas::DrawImage(const CanvasRect& rect, const QImage& image) {
    CanvasRecord& r = Add(CanvasRecord::Image);
    r.rect = rect;
    r.imageSize = image.size();
}
