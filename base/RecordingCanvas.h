#pragma once

#include "Canvas.h"

#include <memory>
#include <vector>

class ImageCanvas;

// One call made on a recording canvas. Every record carries the drawing state it was made
// with; the fields after that are filled as the kind says.
struct CanvasRecord {
    enum Kind {
        SelectFont,
        SetCharSpacing,
        SetTextJustification,
        SetBackgroundMode,
        SetPen,
        SetBrush,
        MoveTo,
        LineTo,
        Rectangle,
        FillRect,
        Polyline,
        InvertRect,
        TextOut,
        DrawText,
        SaveClip,
        RestoreClip,
        IntersectClip,
        ExcludeClip,
        Bevel,
        EtchedLine,
        Icon,
        Image,
    };

    Kind kind{SelectFont};

    // State: the font with its character height in pixels (internal leading excluded), the
    // character spacing, background mode, pen and brush.
    CanvasFont font;
    int fontHeight{0};
    int charSpacing{0};
    Canvas::BackgroundMode background{Canvas::Transparent};
    CanvasPen pen;
    CanvasBrush brush;

    // MoveTo: the point; LineTo: from and to; Polyline: its points; EtchedLine: where it starts.
    QList<QPoint> points;
    // Rectangle, FillRect, InvertRect, the clip rectangles, DrawText's, Bevel and Icon.
    CanvasRect rect;
    // TextOut: the top-left corner of the text cell.
    QPoint position;
    // TextOut and DrawText.
    QString text;
    // TextOut and DrawText: where the text's cells lie, before any clipping; a turned line's
    // box is turned with it.
    CanvasRect bounds;
    // TextOut.
    std::optional<CanvasRect> clip;
    bool rightToLeft{false};
    // DrawText.
    unsigned format{0};
    // SetTextJustification: what was asked; TextOut: the justification the line was drawn with.
    int justifyExtra{0};
    int justifyBreaks{0};
    // Bevel.
    Canvas::BevelKind bevel{Canvas::Raised};
    int bevelWidth{0};
    // EtchedLine.
    int length{0};
    Qt::Orientation orientation{Qt::Horizontal};
    // Icon.
    QIcon icon;
    // Image: the size of the image drawn into rect.
    QSize imageSize;
};

// A surface that draws nothing and keeps every call as a record. Text is measured with the
// metrics of a measuring surface: one given to it, which gets its font and spacing only for
// the length of each measurement, or an 8 x 8 image at 96 dpi of its own. Its resolution is
// that surface's; its size is the one it is made with.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(QSize size, Canvas* measure = nullptr);
    ~RecordingCanvas() override;

    const std::vector<CanvasRecord>& Records() const { return records_; }
    QList<CanvasRecord> RecordsOf(CanvasRecord::Kind kind) const;
    void ClearRecords() { records_.clear(); }

    int DpiX() const override { return measure_->DpiX(); }
    int DpiY() const override { return measure_->DpiY(); }
    QSize PhysicalSize() const override { return size_; }
    QPoint PhysicalOffset() const override { return {}; }
    QSize PrintableSize() const override { return size_; }
    bool IsRecording() const override { return true; }

    void SelectFont(const CanvasFont& font) override;
    const CanvasFont& Font() const override { return font_; }
    CanvasFontMetrics FontMetrics() const override;
    void SetCharSpacing(int pixels) override;
    int CharSpacing() const override { return charSpacing_; }
    void SetTextJustification(int extra, int breakCount) override;
    void SetBackgroundMode(BackgroundMode mode) override;
    BackgroundMode GetBackgroundMode() const override { return background_; }

    QSize TextExtent(const QString& line) const override;
    QList<qreal> CharEnds(const QString& line) const override;
    void TextOut(int x, int y, const QString& text, const CanvasTextOptions& options = {}) override;
    void DrawText(const CanvasRect& rect, const QString& text, unsigned format) override;

    void SetPen(const CanvasPen& pen) override;
    const CanvasPen& Pen() const override { return pen_; }
    void SetBrush(const CanvasBrush& brush) override;
    const CanvasBrush& Brush() const override { return brush_; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPosition() const override { return position_; }
    void Rectangle(const CanvasRect& rect) override;
    void FillRect(const CanvasRect& rect) override;
    void Polyline(const QList<QPoint>& points) override;
    void InvertRect(const CanvasRect& rect) override;

    void SaveClip() override;
    void RestoreClip() override;
    void IntersectClipRect(const CanvasRect& rect) override;
    void ExcludeClipRect(const CanvasRect& rect) override;
    QRegion VisibleRegion() const override { return clip_.Region(); }

    CanvasRect DrawBevel(const CanvasRect& rect, BevelKind kind, int width = 1) override;
    void DrawEtchedLine(QPoint from, int length, Qt::Orientation orientation) override;
    void DrawIcon(const CanvasRect& rect, const QIcon& icon) override;
    void DrawImage(const CanvasRect& rect, const QImage& image) override;

private:
    // Runs f on the measuring surface set to this canvas's font and spacing.
    template <typename F>
    auto Measure(F f) const;
    CanvasRecord& Add(CanvasRecord::Kind kind);

    std::unique_ptr<ImageCanvas> ownMeasure_;
    Canvas* measure_{nullptr};
    QSize size_;
    CanvasClip clip_;
    std::vector<CanvasRecord> records_;

    CanvasFont font_;
    int fontHeight_{0};
    int charSpacing_{0};
    int justifyExtra_{0};
    int justifyBreaks_{0};
    BackgroundMode background_{Transparent};
    CanvasPen pen_;
    CanvasBrush brush_;
    QPoint position_;
};
