#include "PainterCanvas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Fonts whose derived state a canvas keeps.
constexpr std::size_t kKeptFonts = 16;

// On and off lengths in pixels of the styled pens.
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

// Walks a pen style pixel by pixel; a solid pen is always on.
class Dasher {
public:
    explicit Dasher(CanvasPen::Style style) {
        switch (style) {
            case CanvasPen::Dash:
                Use(kDash);
                break;
            case CanvasPen::Dot:
                Use(kDot);
                break;
            case CanvasPen::DashDot:
                Use(kDashDot);
                break;
            case CanvasPen::DashDotDot:
                Use(kDashDotDot);
                break;
            default:
                break;
        }
    }
    bool On() const { return segments_ == nullptr || index_ % 2 == 0; }
    void Step() { Skip(1); }
    void Skip(long long pixels) {
        if (segments_ == nullptr || pixels <= 0) {
            return;
        }
        pixels %= period_;
        while (pixels >= left_) {
            pixels -= left_;
            index_ = (index_ + 1) % count_;
            left_ = segments_[index_];
        }
        left_ -= int(pixels);
    }

private:
    template <size_t N>
    void Use(const int (&segments)[N]) {
        segments_ = segments;
        count_ = int(N);
        left_ = segments[0];
        for (int s : segments) {
            period_ += s;
        }
    }

    const int* segments_{nullptr};
    int count_{0};
    int index_{0};
    int left_{0};
    long long period_{0};
};

// Gathers plotted pixels into horizontal or vertical runs and fills each run once.
class RunFiller {
public:
    RunFiller(QPainter& painter, QColor on, std::optional<QColor> off)
        : painter_(painter), on_(on), off_(off) {}
    ~RunFiller() { Flush(); }

    void Plot(int x, int y, bool on) {
        if (!on && !off_) {
            Flush();
            return;
        }
        if (has_ && on == runOn_) {
            if (y == y0_ && y == y1_ && (x == x1_ + 1 || x == x0_ - 1)) {
                x0_ = std::min(x0_, x);
                x1_ = std::max(x1_, x);
                return;
            }
            if (x == x0_ && x == x1_ && (y == y1_ + 1 || y == y0_ - 1)) {
                y0_ = std::min(y0_, y);
                y1_ = std::max(y1_, y);
                return;
            }
        }
        Flush();
        has_ = true;
        runOn_ = on;
        x0_ = x1_ = x;
        y0_ = y1_ = y;
    }
    void Flush() {
        if (has_) {
            painter_.fillRect(QRect(x0_, y0_, x1_ - x0_ + 1, y1_ - y0_ + 1), runOn_ ? on_ : *off_);
            has_ = false;
        }
    }

private:
    QPainter& painter_;
    QColor on_;
    std::optional<QColor> off_;
    bool has_{false};
    bool runOn_{true};
    int x0_{0};
    int y0_{0};
    int x1_{0};
    int y1_{0};
};

// Diagonal lines longer than this are left to Qt instead of being stepped by hand.
constexpr long long kMaxSteppedLine = 1 << 20;

}  // namespace

// --- construction

PainterCanvas::PainterCanvas(QPainter& painter, int dpiX, int dpiY)
    : painter_(&painter), device_(painter.device()) {
    Init(dpiX, dpiY);
}

PainterCanvas::PainterCanvas(QPaintDevice& device, int dpiX, int dpiY)
    : ownPainter_(std::make_unique<QPainter>()), device_(&device) {
    painter_ = ownPainter_.get();
    painter_->begin(&device);
    Init(dpiX, dpiY);
}

PainterCanvas::~PainterCanvas() {
    if (!painter_->isActive()) {
        return;
    }
    if (ownPainter_) {
        painter_->end();
    } else {
        painter_->restore();
    }
}

void PainterCanvas::Init(int dpiX, int dpiY) {
    const int deviceDpiX = device_ != nullptr ? device_->logicalDpiX() : 0;
    const int deviceDpiY = device_ != nullptr ? device_->logicalDpiY() : 0;
    dpiX_ = dpiX > 0 ? dpiX : (deviceDpiX > 0 ? deviceDpiX : 96);
    dpiY_ = dpiY > 0 ? dpiY : (deviceDpiY > 0 ? deviceDpiY : 96);

    const QRect deviceRect =
        device_ != nullptr ? QRect(0, 0, device_->width(), device_->height()) : QRect();
    physicalSize_ = deviceRect.size();
    printableSize_ = deviceRect.size();
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device_); paged != nullptr) {
        const int resolution = deviceDpiX > 0 ? deviceDpiX : dpiX_;
        const QPageLayout layout = paged->pageLayout();
        const QRect full = layout.fullRectPixels(resolution);
        const QRect paint = layout.paintRectPixels(resolution);
        physicalSize_ = full.size();
        physicalOffset_ = paint.topLeft();
        printableSize_ = paint.size();
    }

    QRegion bounds(deviceRect);
    if (painter_->isActive()) {
        if (!ownPainter_) {
            painter_->save();
        }
        base_ = painter_->worldTransform();
        bool invertible = false;
        const QTransform toLogical = painter_->combinedTransform().inverted(&invertible);
        if (invertible) {
            bounds = QRegion(toLogical.mapRect(deviceRect));
            // The system clip is in the coordinates of the device painted on at last (a widget
            // paints into its window's backing store), so it maps back through the redirection.
            const QRegion system = painter_->paintEngine()->systemClip();
            bool systemInvertible = false;
            const QTransform fromDevice = painter_->deviceTransform().inverted(&systemInvertible);
            if (!system.isEmpty() && systemInvertible) {
                bounds &= fromDevice.map(system);
            }
        }
        painterHadClip_ = painter_->hasClipping();
        if (painterHadClip_) {
            bounds &= painter_->clipRegion();
        }
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setBrush(Qt::NoBrush);
    }
    clip_.Reset(bounds);
    extraClip_.reset();
    RebuildFont();
}

void PainterCanvas::SetPageGeometry(QSize physicalSize, QPoint physicalOffset,
                                    QSize printableSize) {
    physicalSize_ = physicalSize;
    physicalOffset_ = physicalOffset;
    printableSize_ = printableSize;
}

// --- fonts

void PainterCanvas::RebuildFont() {
    FontState* state = nullptr;
    for (const auto& kept : fontStates_) {
        if (kept->font == font_ && kept->charSpacing == charSpacing_) {
            state = kept.get();
            break;
        }
    }
    if (state == nullptr) {
        if (fontStates_.size() >= kKeptFonts) {
            fontStates_.erase(fontStates_.begin());
        }
        state = fontStates_.emplace_back(std::make_unique<FontState>()).get();
        state->font = font_;
        state->charSpacing = charSpacing_;

        QFont f(font_.face);
        const int height =
            font_.unit == CanvasFont::Points ? Round(font_.size * dpiY_ / 72.0) : font_.size;
        f.setPixelSize(std::clamp(std::abs(height), 1, 32767));
        f.setBold((font_.style & CanvasFont::Bold) != 0);
        f.setItalic((font_.style & CanvasFont::Italic) != 0);
        f.setUnderline((font_.style & CanvasFont::Underline) != 0);
        f.setStrikeOut((font_.style & CanvasFont::StrikeOut) != 0);
        f.setKerning(false);
        f.setHintingPreference(QFont::PreferNoHinting);
        state->qfont = f;

        const QFontMetricsF fm(f);
        CanvasFontMetrics& m = state->metrics;
        m.ascent = Round(fm.ascent());
        m.descent = Round(fm.descent());
        m.height = m.ascent + m.descent;
        m.internalLeading = m.height - f.pixelSize();
        m.externalLeading = std::max(0, Round(fm.leading()));
        m.averageCharWidth = Round(fm.averageCharWidth());
        m.maxCharWidth = Round(fm.maxWidth());

        state->textFont = f;
        if (charSpacing_ != 0) {
            state->textFont.setLetterSpacing(QFont::AbsoluteSpacing, charSpacing_);
        }
        state->textMetrics = QFontMetricsF(state->textFont);
    }
    fontState_ = state;
}

void PainterCanvas::SelectFont(const CanvasFont& font) {
    if (font == font_) {
        return;
    }
    font_ = font;
    RebuildFont();
}

void PainterCanvas::SetCharSpacing(int pixels) {
    if (pixels == charSpacing_) {
        return;
    }
    charSpacing_ = pixels;
    RebuildFont();
}

void PainterCanvas::SetTextJustification(int extra, int breakCount) {
    justifyExtra_ = breakCount > 0 ? extra : 0;
    justifyBreaks_ = breakCount > 0 ? breakCount : 0;
}

QSize PainterCanvas::TextExtent(const QString& line) const {
    return {Round(fontState_->textMetrics.horizontalAdvance(line)), fontState_->metrics.height};
}

QList<qreal> PainterCanvas::CharEnds(const QString& line) const {
    QList<qreal> ends;
    ends.reserve(line.size());
    qreal x = 0;
    for (const QChar c : line) {
        auto known = fontState_->advances.constFind(c.unicode());
        if (known == fontState_->advances.cend()) {
            // Half a surrogate pair alone measures as nothing; the pair is guessed at one.
            const qreal advance = c.isSurrogate() ? fontState_->textMetrics.averageCharWidth() / 2
                                                  : fontState_->textMetrics.horizontalAdvance(c);
            known = fontState_->advances.insert(c.unicode(), advance);
        }
        x += *known;
        ends.append(x);
    }
    return ends;
}

// --- clipping

bool PainterCanvas::Prepare(const CanvasRect* extra) {
    if (!painter_->isActive()) {
        return false;
    }
    if (painter_->worldTransform() != base_) {
        painter_->setTransform(base_);
    }
    if (extra == nullptr) {
        if (clip_.Region().isEmpty()) {
            return false;
        }
        if (clipDirty_) {
            if (clip_.Clipped() || painterHadClip_) {
                painter_->setClipRegion(clip_.Region());
            } else {
                painter_->setClipping(false);
            }
            clipDirty_ = false;
            extraClip_.reset();
        }
        return true;
    }
    // Consecutive lines of one text share its clip.
    const QRect rect = extra->ToQRect();
    if (clipDirty_ && extraClip_ == rect) {
        return extraClipVisible_;
    }
    clipDirty_ = true;
    extraClip_ = rect;
    // Within a one-rectangle region the clip is a rectangle: no region to build.
    const QRegion& visible = clip_.Region();
    if (visible.rectCount() == 1) {
        const QRect inside = visible.boundingRect() & rect;
        extraClipVisible_ = !inside.isEmpty();
        if (extraClipVisible_) {
            painter_->setClipRect(inside);
        }
        return extraClipVisible_;
    }
    const QRegion region = visible & QRegion(rect);
    extraClipVisible_ = !region.isEmpty();
    if (extraClipVisible_) {
        painter_->setClipRegion(region);
    }
    return extraClipVisible_;
}

void PainterCanvas::RestoreClip() {
    clip_.Restore();
    clipDirty_ = true;
    extraClip_.reset();
}

void PainterCanvas::IntersectClipRect(const CanvasRect& rect) {
    clip_.Intersect(rect);
    clipDirty_ = true;
    extraClip_.reset();
}

void PainterCanvas::ExcludeClipRect(const CanvasRect& rect) {
    clip_.Exclude(rect);
    clipDirty_ = true;
    extraClip_.reset();
}

// --- text

void PainterCanvas::TextOut(int x, int y, const QString& text, const CanvasTextOptions& options) {
    const double wordSpacing =
        justifyBreaks_ > 0 ? double(justifyExtra_) / double(justifyBreaks_) : 0.0;
    justifyExtra_ = 0;
    justifyBreaks_ = 0;
    const CanvasRect* clip = options.clip ? &*options.clip : nullptr;
    DrawTextLine(x, y, text, clip, options.rightToLeft, wordSpacing, true);
}

void PainterCanvas::DrawTextLine(int x, int y, const QString& text, const CanvasRect* clip,
                                 bool rtl, double wordSpacing, bool turned) {
    if (text.isEmpty() || !Prepare(clip)) {
        return;
    }
    QFont f = fontState_->textFont;
    if (wordSpacing != 0.0) {
        f.setWordSpacing(wordSpacing);
    }
    // Level text is placed by its position, so a page of lines changes no transformation.
    const bool rotated = turned && font_.turn % 3600 != 0;
    QPoint origin(x, y);
    if (rotated) {
        QTransform t = base_;
        t.translate(x, y);
        t.rotate(-font_.turn / 10.0);
        painter_->setTransform(t);
        origin = QPoint();
    }
    if (background_ == Opaque && brush_.style == CanvasBrush::Solid) {
        const int width = Round(QFontMetricsF(f).horizontalAdvance(text));
        painter_->fillRect(QRect(origin, QSize(width, fontState_->metrics.height)),
                           CanvasColorToQColor(brush_.color));
    }
    painter_->setFont(f);
    painter_->setPen(CanvasColorToQColor(font_.color));
    painter_->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    painter_->drawText(QPointF(origin.x(), origin.y() + fontState_->metrics.ascent), text);
    if (rotated) {
        painter_->setTransform(base_);
    }
}

void PainterCanvas::DrawText(const CanvasRect& rect, const QString& text, unsigned format) {
    const CanvasRect* clip = (format & TextNoClip) != 0 ? nullptr : &rect;
    const bool rtl = (format & TextRtlReading) != 0;
    const QFontMetricsF fm(fontState_->qfont);
    const int underlineY = fontState_->metrics.ascent + std::max(1, Round(fm.underlinePos()));
    const int underlineHeight = std::max(1, Round(fm.lineWidth()));
    for (const TextLine& line : LayoutText(rect, text, format)) {
        for (const TextRun& run : line.runs) {
            const int x = line.x + run.offset;
            DrawTextLine(x, line.y, run.text, clip, rtl, 0.0, false);
            if (rtl) {
                continue;
            }
            for (int mark : run.accelerators) {
                const int x0 = x + TextWidth(run.text.left(mark));
                const int x1 = x + TextWidth(run.text.left(mark + 1)) - charSpacing_;
                if (x1 > x0 && Prepare(clip)) {
                    painter_->fillRect(QRect(x0, line.y + underlineY, x1 - x0, underlineHeight),
                                       CanvasColorToQColor(font_.color));
                }
            }
        }
    }
}

// --- shapes

void PainterCanvas::DrawPath(const QList<QPoint>& points) {
    const QColor color = CanvasColorToQColor(pen_.color);
    if (pen_.style == CanvasPen::Solid && pen_.width > 1) {
        QPolygonF polygon;
        for (const QPoint& p : points) {
            polygon << QPointF(p.x() + 0.5, p.y() + 0.5);
        }
        painter_->setPen(QPen(color, pen_.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter_->drawPolyline(polygon);
        return;
    }

    // One pixel wide: every pixel is stepped here, each segment without its last point, the
    // style running on from one segment to the next.
    std::optional<QColor> gap;
    if (background_ == Opaque && brush_.style == CanvasBrush::Solid) {
        gap = CanvasColorToQColor(brush_.color);
    }
    const QRect limit = clip_.Region().boundingRect().adjusted(-1, -1, 1, 1);
    Dasher dasher(pen_.style);
    RunFiller filler(*painter_, color, gap);
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QPoint a = points[i - 1];
        const QPoint b = points[i];
        const long long dx = std::llabs(static_cast<long long>(b.x()) - a.x());
        const long long dy = std::llabs(static_cast<long long>(b.y()) - a.y());
        const int sx = a.x() < b.x() ? 1 : -1;
        const int sy = a.y() < b.y() ? 1 : -1;
        if (dx == 0 && dy == 0) {
            continue;
        }
        if (dx == 0 || dy == 0) {
            // Straight: only the pixels near the visible region are walked.
            const bool horizontal = dy == 0;
            const long long n = horizontal ? dx : dy;
            const long long start = horizontal ? a.x() : a.y();
            const int step = horizontal ? sx : sy;
            const long long lo = horizontal ? limit.left() : limit.top();
            const long long hi = horizontal ? limit.right() : limit.bottom();
            const int across = horizontal ? a.y() : a.x();
            const bool inside = horizontal ? (across >= limit.top() && across <= limit.bottom())
                                           : (across >= limit.left() && across <= limit.right());
            long long k0 = step > 0 ? lo - start : start - hi;
            long long k1 = step > 0 ? hi - start : start - lo;
            k0 = std::max(0LL, k0);
            k1 = std::min(n - 1, k1);
            if (!inside || k0 > k1) {
                dasher.Skip(n);
                continue;
            }
            dasher.Skip(k0);
            for (long long k = k0; k <= k1; ++k) {
                const int pos = int(start + k * step);
                filler.Plot(horizontal ? pos : across, horizontal ? across : pos, dasher.On());
                dasher.Step();
            }
            dasher.Skip(n - 1 - k1);
            continue;
        }
        if (std::max(dx, dy) > kMaxSteppedLine) {
            filler.Flush();
            painter_->setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
            painter_->drawLine(a, b);
            dasher.Skip(std::max(dx, dy));
            continue;
        }
        long long x = a.x();
        long long y = a.y();
        long long err = dx - dy;
        while (x != b.x() || y != b.y()) {
            if (limit.contains(int(x), int(y))) {
                filler.Plot(int(x), int(y), dasher.On());
            }
            dasher.Step();
            const long long e2 = 2 * err;
            if (e2 > -dy) {
                err -= dy;
                x += sx;
            }
            if (e2 < dx) {
                err += dx;
                y += sy;
            }
        }
    }
}

void PainterCanvas::LineTo(int x, int y) {
    const QPoint from = position_;
    position_ = {x, y};
    if (pen_.style == CanvasPen::Null || from == position_ || !Prepare()) {
        return;
    }
    DrawPath({from, position_});
}

void PainterCanvas::Polyline(const QList<QPoint>& points) {
    if (pen_.style == CanvasPen::Null || points.size() < 2 || !Prepare()) {
        return;
    }
    DrawPath(points);
}

void PainterCanvas::Rectangle(const CanvasRect& rect) {
    const CanvasRect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                       std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    if (r.IsEmpty() || !Prepare()) {
        return;
    }
    const bool thin = pen_.style != CanvasPen::Solid || pen_.width <= 1;
    if (brush_.style == CanvasBrush::Solid) {
        // Under a thin pen only the inside is filled, so the gaps of a styled pen stay clear.
        const CanvasRect inside = pen_.style != CanvasPen::Null && thin
                                      ? CanvasRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                                      : r;
        if (!inside.IsEmpty()) {
            painter_->fillRect(inside.ToQRect(), CanvasColorToQColor(brush_.color));
        }
    }
    if (pen_.style == CanvasPen::Null) {
        return;
    }
    if (thin) {
        DrawPath({{r.left, r.top},
                  {r.right - 1, r.top},
                  {r.right - 1, r.bottom - 1},
                  {r.left, r.bottom - 1},
                  {r.left, r.top}});
        return;
    }
    painter_->setPen(QPen(CanvasColorToQColor(pen_.color), pen_.width, Qt::SolidLine, Qt::SquareCap,
                          Qt::MiterJoin));
    painter_->drawRect(QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1));
}

void PainterCanvas::FillRect(const CanvasRect& rect) {
    if (rect.IsEmpty() || brush_.style == CanvasBrush::Clear || !Prepare()) {
        return;
    }
    painter_->fillRect(rect.ToQRect(), CanvasColorToQColor(brush_.color));
}

void PainterCanvas::InvertRect(const CanvasRect& rect) {
    if (rect.IsEmpty() || !Prepare() ||
        !painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        return;
    }
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->fillRect(rect.ToQRect(), Qt::white);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::DrawIcon(const CanvasRect& rect, const QIcon& icon) {
    if (rect.IsEmpty() || icon.isNull() || !Prepare()) {
        return;
    }
    icon.paint(painter_, rect.ToQRect());
}

void PainterCanvas::DrawImage(const CanvasRect& rect, const QImage& image) {
    if (rect.IsEmpty() || image.isNull() || !Prepare())
        return;
    painter_->drawImage(rect.ToQRect(), image);
}

// --- image canvas

CanvasImageHolder::CanvasImageHolder(QSize size, int dpi)
    : image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32) {
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

ImageCanvas::ImageCanvas(QSize size, int dpi)
    : CanvasImageHolder(size, dpi), PainterCanvas(image, dpi, dpi) {}
