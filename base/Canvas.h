#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <optional>

// A rectangle in device pixels whose right and bottom edges lie outside it, the form every
// rectangle the canvas takes has: (0, 0, 4, 4) covers the pixels 0..3 in both directions.
struct CanvasRect {
    int left{0};
    int top{0};
    int right{0};
    int bottom{0};

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    CanvasRect Translated(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    CanvasRect Intersected(const CanvasRect& other) const;
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    CanvasRect United(const CanvasRect& other) const;
    // Empty rectangles become an empty QRect.
    QRect ToQRect() const;
    static CanvasRect FromQRect(const QRect& r) {
        return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }
    bool operator==(const CanvasRect&) const = default;
};

// Colours are 0x00BBGGRR. With the top bit set the low byte is the index of a system colour,
// taken from the application's palette (QGuiApplication::palette(), active group unless noted):
//
//   0 scroll bar            Button          16 button shadow        Dark
//   1 desktop               Dark            17 grey text            Text (disabled group)
//   2 active caption        Highlight       18 button text          ButtonText
//   3 inactive caption      Mid             19 inactive caption text Light
//   4 menu                  Window          20 button highlight     Light
//   5 window                Base            21 3-D dark shadow      Shadow
//   6 window frame          Shadow          22 3-D light            Midlight
//   7 menu text             WindowText      23 tool-tip text        ToolTipText
//   8 window text           Text            24 tool-tip background  ToolTipBase
//   9 caption text          HighlightedText 26 hot-tracked item     Link
//  10 active border         Window          27 active caption gradient   Highlight
//  11 inactive border       Window          28 inactive caption gradient Mid
//  12 application workspace Dark            29 menu highlight       Highlight
//  13 highlight             Highlight       30 menu bar             Window
//  14 highlighted text      HighlightedText
//  15 button face           Button          any other index         black
//
// Without a QGuiApplication the palette is the one Qt derives from a grey button face.
// Other values of the top byte are ignored: 0x1FFFFFFF reads as white.
constexpr quint32 kSystemColorFlag = 0x80000000u;

constexpr quint32 CanvasRgb(int r, int g, int b) {
    return quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16);
}
QColor CanvasColorToQColor(quint32 color);

namespace SysColor {
constexpr quint32 ScrollBar = 0x80000000u;
constexpr quint32 Desktop = 0x80000001u;
constexpr quint32 ActiveCaption = 0x80000002u;
constexpr quint32 InactiveCaption = 0x80000003u;
constexpr quint32 Menu = 0x80000004u;
constexpr quint32 Window = 0x80000005u;
constexpr quint32 WindowFrame = 0x80000006u;
constexpr quint32 MenuText = 0x80000007u;
constexpr quint32 WindowText = 0x80000008u;
constexpr quint32 CaptionText = 0x80000009u;
constexpr quint32 ActiveBorder = 0x8000000Au;
constexpr quint32 InactiveBorder = 0x8000000Bu;
constexpr quint32 AppWorkspace = 0x8000000Cu;
constexpr quint32 Highlight = 0x8000000Du;
constexpr quint32 HighlightText = 0x8000000Eu;
constexpr quint32 BtnFace = 0x8000000Fu;
constexpr quint32 BtnShadow = 0x80000010u;
constexpr quint32 GrayText = 0x80000011u;
constexpr quint32 BtnText = 0x80000012u;
constexpr quint32 InactiveCaptionText = 0x80000013u;
constexpr quint32 BtnHighlight = 0x80000014u;
constexpr quint32 DkShadow3D = 0x80000015u;
constexpr quint32 Light3D = 0x80000016u;
constexpr quint32 InfoText = 0x80000017u;
constexpr quint32 InfoBk = 0x80000018u;
}  // namespace SysColor

struct CanvasFont {
    // Style bits, the same values as the engine's font style code.
    enum Style : quint8 { Italic = 1, Bold = 2, Underline = 4, StrikeOut = 8 };
    // Points are converted with the surface's vertical resolution; pixels give the character
    // height, internal leading excluded (the em height). 10 points at 96 dpi are 13 pixels.
    enum SizeUnit { Points, Pixels };

    QString face{QStringLiteral("Arial")};
    int charset{1};
    quint8 style{0};
    quint32 color{0};
    int size{10};
    SizeUnit unit{Points};
    // Tenths of a degree, counter-clockwise: 900 runs the text upward.
    int turn{0};

    bool operator==(const CanvasFont&) const = default;
};

// All in pixels of the surface. height = ascent + descent, the height of a text cell;
// CharHeight() is the font's character height, the cell without its internal leading.
struct CanvasFontMetrics {
    int height{0};
    int ascent{0};
    int descent{0};
    int internalLeading{0};
    int externalLeading{0};
    int averageCharWidth{0};
    int maxCharWidth{0};

    int CharHeight() const { return height - internalLeading; }
};

struct CanvasPen {
    // Styled pens are always drawn one pixel wide.
    enum Style { Solid, Dash, Dot, DashDot, DashDotDot, Null };

    quint32 color{0};
    int width{1};
    Style style{Solid};

    bool operator==(const CanvasPen&) const = default;
};

struct CanvasBrush {
    enum Style { Solid, Clear };

    quint32 color{0xFFFFFF};
    Style style{Solid};

    bool operator==(const CanvasBrush&) const = default;
};

struct CanvasTextOptions {
    // Nothing of the text is drawn outside this rectangle.
    std::optional<CanvasRect> clip;
    bool rightToLeft{false};
};

// The surface that windows, the preview and printing draw on: a window, an image, a printer
// page, a PDF page or a recording. Coordinates are integer device pixels of the surface.
class Canvas {
public:
    enum BackgroundMode { Transparent, Opaque };
    enum BevelKind { Raised, Lowered, Etched };
    // Layout flags of DrawText and TextBounds.
    enum TextFormat : unsigned {
        TextLeft = 0x0,
        TextCenter = 0x1,
        TextRight = 0x2,
        TextTop = 0x0,
        TextVCenter = 0x4,
        TextBottom = 0x8,
        TextWordBreak = 0x10,
        TextSingleLine = 0x20,
        TextExpandTabs = 0x40,
        TextNoClip = 0x100,
        // "&" is shown as it stands instead of marking the next character as an accelerator.
        TextNoPrefix = 0x800,
        TextRtlReading = 0x20000,
    };

    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas() = default;

    // --- the surface
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // A printer page's sheet, the offset of its printable area and the printable size; any
    // other surface answers its own size, offset zero and its own size.
    virtual QSize PhysicalSize() const = 0;
    virtual QPoint PhysicalOffset() const = 0;
    virtual QSize PrintableSize() const = 0;
    // True for a surface that records what is drawn instead of making pixels.
    virtual bool IsRecording() const = 0;

    // --- fonts and text state
    virtual void SelectFont(const CanvasFont& font) = 0;
    virtual const CanvasFont& Font() const = 0;
    virtual CanvasFontMetrics FontMetrics() const = 0;
    int CharHeight() const { return FontMetrics().CharHeight(); }
    // Pixels added after every character, by measuring and by output alike.
    virtual void SetCharSpacing(int pixels) = 0;
    virtual int CharSpacing() const = 0;
    // extra pixels spread evenly over the break characters (code 32 and 160) of the next
    // TextOut only; that call clears it. Measuring does not count it.
    virtual void SetTextJustification(int extra, int breakCount) = 0;
    void ClearTextJustification() { SetTextJustification(0, 0); }
    // Opaque text fills its cell with the brush colour first, and opaque styled lines fill
    // their gaps with it. Transparent from the start.
    virtual void SetBackgroundMode(BackgroundMode mode) = 0;
    virtual BackgroundMode GetBackgroundMode() const = 0;

    // --- measuring
    // Width and cell height of one line with the current font and character spacing.
    virtual QSize TextExtent(const QString& line) const = 0;
    int TextWidth(const QString& line) const { return TextExtent(line).width(); }
    // Where each UTF-16 unit of line ends, in pixels from its start, as near as is cheap: a
    // guide for finding a break quickly. A part's width is what TextWidth says.
    virtual QList<qreal> CharEnds(const QString& line) const;
    // The rectangle the text would take when drawn by DrawText into rect: left and top stay,
    // right is left plus the widest line, bottom is top plus the lines' heights (an empty text
    // is one empty line).
    CanvasRect TextBounds(const CanvasRect& rect, const QString& text, unsigned format) const;

    // --- text output
    // One line with the top-left corner of its text cell at (x, y); a turned font turns the
    // line about that corner.
    virtual void TextOut(int x, int y, const QString& text,
                         const CanvasTextOptions& options = {}) = 0;
    // Text laid out in rect: lines split at CR, LF and CR LF, broken between words when asked
    // (a word wider than the rectangle is cut between characters), tabs every eight average
    // character widths, aligned, and clipped to rect unless TextNoClip. The font's turn is not
    // applied here.
    virtual void DrawText(const CanvasRect& rect, const QString& text, unsigned format) = 0;

    // --- pens, brushes and shapes
    virtual void SetPen(const CanvasPen& pen) = 0;
    virtual const CanvasPen& Pen() const = 0;
    virtual void SetBrush(const CanvasBrush& brush) = 0;
    virtual const CanvasBrush& Brush() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A line from the pen position to (x, y) with its first point and without its last; the
    // pen position moves to (x, y).
    virtual void LineTo(int x, int y) = 0;
    virtual QPoint PenPosition() const = 0;
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }
    // Outlined with the pen and filled with the brush, right and bottom edges excluded.
    virtual void Rectangle(const CanvasRect& rect) = 0;
    // Filled with the brush, right and bottom edges excluded; nothing with a clear brush.
    virtual void FillRect(const CanvasRect& rect) = 0;
    // Lines through the points, the last point excluded; the pen position does not move.
    virtual void Polyline(const QList<QPoint>& points) = 0;
    // Exclusive-or with white; only surfaces made of pixels can do it.
    virtual void InvertRect(const CanvasRect& rect) = 0;

    // --- clipping; the visible region starts as the whole surface
    virtual void SaveClip() = 0;
    // Back to the last saved clip; nothing happens when none is saved.
    virtual void RestoreClip() = 0;
    virtual void IntersectClipRect(const CanvasRect& rect) = 0;
    virtual void ExcludeClipRect(const CanvasRect& rect) = 0;
    virtual QRegion VisibleRegion() const = 0;
    // Whether any pixel of rect lies in the visible region.
    bool RectVisible(const CanvasRect& rect) const;

    // --- bevels and icons
    // width rings of button highlight and shadow inside rect (raised: light at the top and left;
    // lowered: the reverse; etched: lowered rings, then raised ones); returns what is inside.
    virtual CanvasRect DrawBevel(const CanvasRect& rect, BevelKind kind, int width = 1);
    // A shadow line with a highlight line beside it, below or to the right of it.
    virtual void DrawEtchedLine(QPoint from, int length, Qt::Orientation orientation);
    virtual void DrawIcon(const CanvasRect& rect, const QIcon& icon) = 0;
    // The image scaled into rect, cut by the visible region.
    virtual void DrawImage(const CanvasRect& rect, const QImage& image) = 0;

protected:
    // One piece of a laid-out line: text between tabs, at an offset from the line's left.
    struct TextRun {
        QString text;
        int offset{0};
        // Positions in text of characters marked with "&".
        QList<int> accelerators;
    };
    struct TextLine {
        int x{0};
        int y{0};
        int width{0};
        QList<TextRun> runs;
    };
    // The lines DrawText draws, measured with this canvas.
    QList<TextLine> LayoutText(const CanvasRect& rect, const QString& text, unsigned format) const;

    // Rounding to the nearest integer, halves to even.
    static int Round(double value);

private:
    void FillWith(const CanvasRect& rect, quint32 color);
};

// The clip region of a surface and its saved states, for implementations of Canvas.
class CanvasClip {
public:
    explicit CanvasClip(const QRegion& bounds = QRegion()) { Reset(bounds); }

    void Reset(const QRegion& bounds);
    const QRegion& Bounds() const { return bounds_; }
    // The visible region: the bounds cut by every intersect and exclude.
    const QRegion& Region() const { return region_; }
    bool Clipped() const { return region_ != bounds_; }

    void Intersect(const CanvasRect& rect);
    void Exclude(const CanvasRect& rect);
    void Save() { saved_.append(region_); }
    void Restore();

private:
    QRegion bounds_;
    QRegion region_;
    QList<QRegion> saved_;
};
