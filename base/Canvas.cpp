#include "Canvas.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

// --- measuring

QList<qreal> Canvas::CharEnds(const QString& line) const {
    QList<qreal> ends;
    ends.reserve(line.size());
    for (qsizetype k = 1; k <= line.size(); ++k)
        ends.append(TextWidth(line.left(k)));
    return ends;
}

// --- rectangles

CanvasRect CanvasRect::Intersected(const CanvasRect& other) const {
    const CanvasRect r{std::max(left, other.left), std::max(top, other.top),
                       std::min(right, other.right), std::min(bottom, other.bottom)};
    return r.IsEmpty() ? CanvasRect{} : r;
}

CanvasRect CanvasRect::United(const CanvasRect& other) const {
    if (other.IsEmpty()) {
        return *this;
    }
    if (IsEmpty()) {
        return other;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

QRect CanvasRect::ToQRect() const {
    return IsEmpty() ? QRect() : QRect(left, top, Width(), Height());
}

// --- colours

namespace {

struct SystemEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr QPalette::ColorGroup A = QPalette::Active;

const SystemEntry kSystemColors[] = {
    {A, QPalette::Button},                 // 0 scroll bar
    {A, QPalette::Dark},                   // 1 desktop
    {A, QPalette::Highlight},              // 2 active caption
    {A, QPalette::Mid},                    // 3 inactive caption
    {A, QPalette::Window},                 // 4 menu
    {A, QPalette::Base},                   // 5 window
    {A, QPalette::Shadow},                 // 6 window frame
    {A, QPalette::WindowText},             // 7 menu text
    {A, QPalette::Text},                   // 8 window text
    {A, QPalette::HighlightedText},        // 9 caption text
    {A, QPalette::Window},                 // 10 active border
    {A, QPalette::Window},                 // 11 inactive border
    {A, QPalette::Dark},                   // 12 application workspace
    {A, QPalette::Highlight},              // 13 highlight
    {A, QPalette::HighlightedText},        // 14 highlighted text
    {A, QPalette::Button},                 // 15 button face
    {A, QPalette::Dark},                   // 16 button shadow
    {QPalette::Disabled, QPalette::Text},  // 17 grey text
    {A, QPalette::ButtonText},             // 18 button text
    {A, QPalette::Light},                  // 19 inactive caption text
    {A, QPalette::Light},                  // 20 button highlight
    {A, QPalette::Shadow},                 // 21 3-D dark shadow
    {A, QPalette::Midlight},               // 22 3-D light
    {A, QPalette::ToolTipText},            // 23 tool-tip text
    {A, QPalette::ToolTipBase},            // 24 tool-tip background
    {A, QPalette::NoRole},                 // 25 unused
    {A, QPalette::Link},                   // 26 hot-tracked item
    {A, QPalette::Highlight},              // 27 active caption gradient
    {A, QPalette::Mid},                    // 28 inactive caption gradient
    {A, QPalette::Highlight},              // 29 menu highlight
    {A, QPalette::Window},                 // 30 menu bar
};

QColor SystemColor(int index) {
    if (index >= int(std::size(kSystemColors)) || kSystemColors[index].role == QPalette::NoRole) {
        return Qt::black;
    }
    const QPalette palette =
        qGuiApp != nullptr ? QGuiApplication::palette() : QPalette(QColor(212, 208, 200));
    return palette.color(kSystemColors[index].group, kSystemColors[index].role);
}

}  // namespace

QColor CanvasColorToQColor(quint32 color) {
    if ((color & kSystemColorFlag) != 0) {
        return SystemColor(int(color & 0xFF));
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

// --- clip

void CanvasClip::Reset(const QRegion& bounds) {
    bounds_ = bounds;
    region_ = bounds;
    saved_.clear();
}

void CanvasClip::Intersect(const CanvasRect& rect) {
    region_ &= QRegion(rect.ToQRect());
}

void CanvasClip::Exclude(const CanvasRect& rect) {
    region_ -= QRegion(rect.ToQRect());
}

void CanvasClip::Restore() {
    if (!saved_.isEmpty()) {
        region_ = saved_.takeLast();
    }
}

// --- shared parts of every canvas

int Canvas::Round(double value) {
    return int(std::nearbyint(value));
}

bool Canvas::RectVisible(const CanvasRect& rect) const {
    return !rect.IsEmpty() && VisibleRegion().intersects(rect.ToQRect());
}

CanvasRect Canvas::TextBounds(const CanvasRect& rect, const QString& text, unsigned format) const {
    const QList<TextLine> lines = LayoutText(rect, text, format);
    int width = 0;
    for (const TextLine& line : lines) {
        width = std::max(width, line.width);
    }
    return {rect.left, rect.top, rect.left + width,
            rect.top + int(lines.size()) * FontMetrics().height};
}

namespace {

// A paragraph with its "&" marks taken out.
struct Paragraph {
    QString text;
    QList<int> accelerators;
};

QList<QString> SplitParagraphs(const QString& text, bool singleLine) {
    QList<QString> result;
    if (singleLine) {
        QString line = text;
        line.remove(QLatin1Char('\r'));
        line.remove(QLatin1Char('\n'));
        result.append(line);
        return result;
    }
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            result.append(current);
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
        } else {
            current.append(c);
        }
    }
    result.append(current);
    return result;
}

Paragraph StripPrefixes(const QString& text, bool prefixes) {
    Paragraph p;
    if (!prefixes) {
        p.text = text;
        return p;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            p.text.append(text[i]);
            continue;
        }
        if (i + 1 >= text.size()) {
            break;  // a lone "&" at the end shows nothing
        }
        ++i;
        if (text[i] != QLatin1Char('&')) {
            p.accelerators.append(int(p.text.size()));
        }
        p.text.append(text[i]);
    }
    return p;
}

}  // namespace

QList<Canvas::TextLine> Canvas::LayoutText(const CanvasRect& rect, const QString& text,
                                           unsigned format) const {
    const bool singleLine = (format & TextSingleLine) != 0;
    const bool wrap = (format & TextWordBreak) != 0 && !singleLine;
    const bool tabs = (format & TextExpandTabs) != 0;
    const CanvasFontMetrics metrics = FontMetrics();
    const int tabWidth = 8 * std::max(1, metrics.averageCharWidth);
    const int maxWidth = rect.Width();

    // Width of s[from, to) with tabs expanded from the line's left; the runs with their
    // accelerators when asked.
    auto measure = [&](const QString& s, qsizetype from, qsizetype to, QList<TextRun>* runs,
                       const QList<int>& marks) {
        int x = 0;
        qsizetype start = from;
        for (qsizetype i = from; i <= to; ++i) {
            const bool tab = i < to && tabs && s[i] == QLatin1Char('\t');
            if (i < to && !tab) {
                continue;
            }
            const QString piece = s.mid(start, i - start);
            if (runs != nullptr && !piece.isEmpty()) {
                TextRun run{piece, x, {}};
                for (int mark : marks) {
                    if (mark >= start && mark < i) {
                        run.accelerators.append(int(mark - start));
                    }
                }
                runs->append(run);
            }
            x += TextWidth(piece);
            if (tab) {
                x = (x / tabWidth + 1) * tabWidth;
            }
            start = i + 1;
        }
        return x;
    };
    auto isSpace = [](QChar c) { return c == QLatin1Char(' '); };

    QList<TextLine> lines;
    for (const QString& raw : SplitParagraphs(text, singleLine)) {
        const Paragraph para = StripPrefixes(raw, (format & TextNoPrefix) == 0);
        const QString& s = para.text;
        const qsizetype n = s.size();

        // Pieces [start, end) of the paragraph, one per line.
        QList<std::pair<qsizetype, qsizetype>> pieces;
        if (!wrap || n == 0) {
            pieces.append({0, n});
        } else {
            qsizetype start = 0;
            while (start < n) {
                qsizetype end = start;
                for (qsizetype k = start; k < n;) {
                    qsizetype w = k;
                    while (w < n && isSpace(s[w])) {
                        ++w;
                    }
                    while (w < n && !isSpace(s[w])) {
                        ++w;
                    }
                    if (measure(s, start, w, nullptr, {}) > maxWidth) {
                        break;
                    }
                    end = w;
                    k = w;
                }
                if (end == start) {
                    // Not even the first word fits: as many characters as fit, at least one.
                    end = start + 1;
                    while (end < n && !isSpace(s[end]) &&
                           measure(s, start, end + 1, nullptr, {}) <= maxWidth) {
                        ++end;
                    }
                }
                pieces.append({start, end});
                start = end;
                while (start < n && isSpace(s[start])) {
                    ++start;  // the blanks at a break are not drawn
                }
            }
        }

        for (const auto& [from, to] : pieces) {
            TextLine line;
            line.width = measure(s, from, to, &line.runs, para.accelerators);
            lines.append(line);
        }
    }

    const int total = int(lines.size()) * metrics.height;
    int y = rect.top;
    if ((format & TextVCenter) != 0) {
        y = rect.top + (rect.Height() - total) / 2;
    } else if ((format & TextBottom) != 0) {
        y = rect.bottom - total;
    }
    for (TextLine& line : lines) {
        if ((format & TextCenter) != 0) {
            line.x = rect.left + (rect.Width() - line.width) / 2;
        } else if ((format & TextRight) != 0) {
            line.x = rect.right - line.width;
        } else {
            line.x = rect.left;
        }
        line.y = y;
        y += metrics.height;
    }
    return lines;
}

// --- bevels

void Canvas::FillWith(const CanvasRect& rect, quint32 color) {
    if (rect.IsEmpty()) {
        return;
    }
    const CanvasBrush saved = Brush();
    SetBrush({color, CanvasBrush::Solid});
    FillRect(rect);
    SetBrush(saved);
}

CanvasRect Canvas::DrawBevel(const CanvasRect& rect, BevelKind kind, int width) {
    CanvasRect r = rect;
    auto rings = [&](quint32 topLeft, quint32 bottomRight) {
        for (int i = 0; i < width && !r.IsEmpty(); ++i) {
            FillWith({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
            FillWith({r.left, r.top, r.left + 1, r.bottom}, topLeft);
            FillWith({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
            FillWith({r.left + 1, r.bottom - 1, r.right, r.bottom}, bottomRight);
            r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        }
    };
    switch (kind) {
        case Raised:
            rings(SysColor::BtnHighlight, SysColor::BtnShadow);
            break;
        case Lowered:
            rings(SysColor::BtnShadow, SysColor::BtnHighlight);
            break;
        case Etched:
            rings(SysColor::BtnShadow, SysColor::BtnHighlight);
            rings(SysColor::BtnHighlight, SysColor::BtnShadow);
            break;
    }
    return r;
}

void Canvas::DrawEtchedLine(QPoint from, int length, Qt::Orientation orientation) {
    if (length <= 0) {
        return;
    }
    const int x = from.x();
    const int y = from.y();
    if (orientation == Qt::Horizontal) {
        FillWith({x, y, x + length, y + 1}, SysColor::BtnShadow);
        FillWith({x, y + 1, x + length, y + 2}, SysColor::BtnHighlight);
    } else {
        FillWith({x, y, x + 1, y + length}, SysColor::BtnShadow);
        FillWith({x + 1, y, x + 2, y + length}, SysColor::BtnHighlight);
    }
}
