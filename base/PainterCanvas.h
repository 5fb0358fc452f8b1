#pragma once

#include "Canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <memory>
#include <optional>
#include <vector>

// The canvas over a QPainter on any paint device: a widget, an image, a printer page, a PDF
// writer. Its pixels are the painter's coordinates when the canvas is made. The resolution is
// the device's logical one unless the caller gives its own (dpi of 0 means the device's).
//
// Qt draws text from the baseline, strokes rectangles one pixel wider than they are, draws
// lines with whichever end lies further right or down left out, and kerns; this canvas puts
// text cells by their top-left corner, leaves out the right and bottom edges and the last
// point of every line, and measures and draws without kerning or hinting, so that widths are
// the same on every device and platform. The font's character set is kept but not used: the
// text is Unicode.
class PainterCanvas : public Canvas {
public:
    // Draws through a painter that is already active; the painter's state is put back when the
    // canvas goes.
    explicit PainterCanvas(QPainter& painter, int dpiX = 0, int dpiY = 0);
    // Opens a painter of its own on the device for the lifetime of the canvas.
    explicit PainterCanvas(QPaintDevice& device, int dpiX = 0, int dpiY = 0);
    ~PainterCanvas() override;

    // The page of a printer whose geometry the device does not know itself (device pixels).
    void SetPageGeometry(QSize physicalSize, QPoint physicalOffset, QSize printableSize);
    QPainter& Painter() { return *painter_; }

    int DpiX() const override { return dpiX_; }
    int DpiY() const override { return dpiY_; }
    QSize PhysicalSize() const override { return physicalSize_; }
    QPoint PhysicalOffset() const override { return physicalOffset_; }
    QSize PrintableSize() const override { return printableSize_; }
    bool IsRecording() const override { return false; }

    void SelectFont(const CanvasFont& font) override;
    const CanvasFont& Font() const override { return font_; }
    CanvasFontMetrics FontMetrics() const override { return fontState_->metrics; }
    void SetCharSpacing(int pixels) override;
    int CharSpacing() const override { return charSpacing_; }
    void SetTextJustification(int extra, int breakCount) override;
    void SetBackgroundMode(BackgroundMode mode) override { background_ = mode; }
    BackgroundMode GetBackgroundMode() const override { return background_; }

    QSize TextExtent(const QString& line) const override;
    QList<qreal> CharEnds(const QString& line) const override;
    void TextOut(int x, int y, const QString& text, const CanvasTextOptions& options = {}) override;
    void DrawText(const CanvasRect& rect, const QString& text, unsigned format) override;

    void SetPen(const CanvasPen& pen) override { pen_ = pen; }
    const CanvasPen& Pen() const override { return pen_; }
    void SetBrush(const CanvasBrush& brush) override { brush_ = brush; }
    const CanvasBrush& Brush() const override { return brush_; }
    void MoveTo(int x, int y) override { position_ = {x, y}; }
    void LineTo(int x, int y) override;
    QPoint PenPosition() const override { return position_; }
    void Rectangle(const CanvasRect& rect) override;
    void FillRect(const CanvasRect& rect) override;
    void Polyline(const QList<QPoint>& points) override;
    void InvertRect(const CanvasRect& rect) override;

    void SaveClip() override { clip_.Save(); }
    void RestoreClip() override;
    void IntersectClipRect(const CanvasRect& rect) override;
    void ExcludeClipRect(const CanvasRect& rect) override;
    QRegion VisibleRegion() const override { return clip_.Region(); }

    void DrawIcon(const CanvasRect& rect, const QIcon& icon) override;
    void DrawImage(const CanvasRect& rect, const QImage& image) override;

private:
    void Init(int dpiX, int dpiY);
    void RebuildFont();
    // Sets the painter's clip for the next drawing, cut to extra when given; false when
    // nothing of it would show.
    bool Prepare(const CanvasRect* extra = nullptr);
    void DrawTextLine(int x, int y, const QString& text, const CanvasRect* clip, bool rtl,
                      double wordSpacing, bool turned);
    void DrawPath(const QList<QPoint>& points);

    QPainter* painter_{nullptr};
    std::unique_ptr<QPainter> ownPainter_;
    QPaintDevice* device_{nullptr};
    int dpiX_{96};
    int dpiY_{96};
    QSize physicalSize_;
    QPoint physicalOffset_;
    QSize printableSize_;
    QTransform base_;
    bool painterHadClip_{false};
    CanvasClip clip_;
    bool clipDirty_{true};
    // The extra rectangle the painter is clipped to besides clip_, while clipDirty_.
    std::optional<QRect> extraClip_;
    bool extraClipVisible_{false};

    // What a font and character spacing give on this canvas; kept for the few fonts a canvas
    // switches between, since the engine selects one for every object.
    struct FontState {
        CanvasFont font;
        int charSpacing{0};
        QFont qfont;
        QFont textFont;
        QFontMetricsF textMetrics{QFont()};
        CanvasFontMetrics metrics;
        // Advances of single UTF-16 units, filled as they are met.
        QHash<char16_t, qreal> advances;
    };

    CanvasFont font_;
    int charSpacing_{0};
    std::vector<std::unique_ptr<FontState>> fontStates_;
    // The state of font_ and charSpacing_, one of fontStates_.
    FontState* fontState_{nullptr};
    int justifyExtra_{0};
    int justifyBreaks_{0};
    BackgroundMode background_{Transparent};
    CanvasPen pen_;
    CanvasBrush brush_;
    QPoint position_;
};

struct CanvasImageHolder {
    CanvasImageHolder(QSize size, int dpi);
    QImage image;
};

// A canvas with an image of its own, white at the start; the engine's measuring surface is an
// 8 x 8 one at 96 dpi.
class ImageCanvas : private CanvasImageHolder, public PainterCanvas {
public:
    explicit ImageCanvas(QSize size = QSize(8, 8), int dpi = 96);

    const QImage& Image() const { return image; }
};
