#include "PainterCanvas.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <QPdfWriter>
#include <QPixmap>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

void PrintTo(const CanvasRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

CanvasFont Mono(int pixels) {
    CanvasFont f;
    f.face = QStringLiteral("Liberation Mono");
    f.size = pixels;
    f.unit = CanvasFont::Pixels;
    return f;
}

// The box around every pixel that is not white, or an empty rectangle.
CanvasRect Ink(const QImage& image) {
    CanvasRect box;
    bool any = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == kWhite) {
                continue;
            }
            if (!any) {
                box = {x, y, x + 1, y + 1};
                any = true;
            }
            box = box.United({x, y, x + 1, y + 1});
        }
    }
    return box;
}

QSet<std::pair<int, int>> SetPixels(const QImage& image) {
    QSet<std::pair<int, int>> set;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kWhite) {
                set.insert({x, y});
            }
        }
    }
    return set;
}

// --- lines, rectangles and fills

TEST(PainterCanvas, LinesKeepTheFirstPointAndLeaveOutTheLast) {
    struct Case {
        const char* name;
        QList<QPoint> points;
        QList<std::pair<int, int>> pixels;
    };
    const Case cases[] = {
        {"right", {{0, 0}, {5, 0}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {"left", {{5, 2}, {0, 2}}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}, {1, 2}}},
        {"up", {{3, 5}, {3, 1}}, {{3, 5}, {3, 4}, {3, 3}, {3, 2}}},
        {"diagonal down", {{0, 0}, {4, 4}}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"diagonal up and left", {{4, 4}, {0, 0}}, {{4, 4}, {3, 3}, {2, 2}, {1, 1}}},
        {"polyline keeps its corners",
         {{1, 1}, {4, 1}, {4, 4}},
         {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}},
        {"a point alone draws nothing", {{2, 2}, {2, 2}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageCanvas canvas(QSize(8, 8));
        canvas.SetPen({0x000000, 1, CanvasPen::Solid});
        if (c.points.size() == 2) {
            canvas.MoveTo(c.points[0].x(), c.points[0].y());
            canvas.LineTo(c.points[1].x(), c.points[1].y());
            EXPECT_EQ(canvas.PenPosition(), c.points[1]);
        } else {
            canvas.Polyline(c.points);
        }
        const QSet<std::pair<int, int>> expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(SetPixels(canvas.Image()), expected);
    }
}

TEST(PainterCanvas, RectanglesAndFillsLeaveOutTheRightAndBottomEdges) {
    ImageCanvas canvas(QSize(12, 12));
    canvas.SetBrush({CanvasRgb(0, 0, 255), CanvasBrush::Solid});
    canvas.FillRect({0, 0, 4, 4});
    const QImage& image = canvas.Image();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(4, 0), kWhite);
    EXPECT_EQ(image.pixel(0, 4), kWhite);
    EXPECT_EQ(Ink(image), (CanvasRect{0, 0, 4, 4}));

    // Outline with the pen, inside with the brush, from 6 to 10 exclusive.
    canvas.SetPen({CanvasRgb(255, 0, 0), 1, CanvasPen::Solid});
    canvas.SetBrush({CanvasRgb(0, 255, 0), CanvasBrush::Solid});
    canvas.Rectangle({6, 6, 10, 10});
    EXPECT_EQ(image.pixel(6, 6), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 6), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(7, 7), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(8, 8), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(10, 8), kWhite);
    EXPECT_EQ(image.pixel(8, 10), kWhite);

    // A clear brush fills nothing.
    canvas.SetBrush({CanvasRgb(0, 0, 0), CanvasBrush::Clear});
    canvas.FillRect({0, 6, 4, 10});
    EXPECT_EQ(image.pixel(1, 7), kWhite);
}

TEST(PainterCanvas, StyledPensAreOnePixelWideAndFillTheirGapsOnlyWhenOpaque) {
    struct Case {
        const char* name;
        CanvasPen::Style style;
        QList<int> onRuns;  // first on and off lengths along the line
    };
    const Case cases[] = {
        {"dash", CanvasPen::Dash, {18, 6, 18}},
        {"dot", CanvasPen::Dot, {3, 3, 3, 3}},
        {"dash dot", CanvasPen::DashDot, {9, 6, 3, 6, 9}},
        {"dash dot dot", CanvasPen::DashDotDot, {9, 3, 3, 3, 3, 3, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageCanvas canvas(QSize(60, 5));
        canvas.SetPen({0x000000, 3, c.style});
        canvas.Line(0, 2, 60, 2);
        const QImage& image = canvas.Image();
        int x = 0;
        bool on = true;
        for (int run : c.onRuns) {
            for (int i = 0; i < run; ++i, ++x) {
                EXPECT_EQ(image.pixel(x, 2) != kWhite, on) << "x " << x;
            }
            on = !on;
        }
        for (int col = 0; col < 60; ++col) {
            EXPECT_EQ(image.pixel(col, 1), kWhite);
            EXPECT_EQ(image.pixel(col, 3), kWhite);
        }
    }

    ImageCanvas canvas(QSize(30, 3));
    canvas.SetPen({0x000000, 1, CanvasPen::Dash});
    canvas.SetBrush({CanvasRgb(0, 0, 255), CanvasBrush::Solid});
    canvas.SetBackgroundMode(Canvas::Opaque);
    canvas.Line(0, 1, 30, 1);
    EXPECT_EQ(canvas.Image().pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.Image().pixel(20, 1), qRgb(0, 0, 255));
}

TEST(PainterCanvas, InvertRectFlipsOnlyItsPixels) {
    ImageCanvas canvas(QSize(6, 6));
    canvas.SetBrush({CanvasRgb(255, 0, 0), CanvasBrush::Solid});
    canvas.FillRect({0, 0, 2, 6});
    canvas.InvertRect({1, 1, 4, 4});
    EXPECT_EQ(canvas.Image().pixel(1, 1), qRgb(0, 255, 255));
    EXPECT_EQ(canvas.Image().pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.Image().pixel(4, 4), kWhite);
    EXPECT_EQ(canvas.Image().pixel(0, 0), qRgb(255, 0, 0));
}

// --- fonts and text

TEST(Canvas, FontSizesBecomeCharacterHeights) {
    struct Case {
        const char* name;
        int dpi;
        int size;
        CanvasFont::SizeUnit unit;
        int charHeight;
    };
    const Case cases[] = {
        {"10 points on the screen", 96, 10, CanvasFont::Points, 13},
        {"9 points on the screen", 96, 9, CanvasFont::Points, 12},
        {"10 points on a 600 dpi printer", 600, 10, CanvasFont::Points, 83},
        {"3 points at 300 dpi, a half rounded to even", 300, 3, CanvasFont::Points, 12},
        {"13 pixels stay 13", 96, 13, CanvasFont::Pixels, 13},
        {"20 pixels at 600 dpi stay 20", 600, 20, CanvasFont::Pixels, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageCanvas canvas(QSize(8, 8), c.dpi);
        CanvasFont font;
        font.size = c.size;
        font.unit = c.unit;
        canvas.SelectFont(font);
        const CanvasFontMetrics m = canvas.FontMetrics();
        EXPECT_EQ(canvas.CharHeight(), c.charHeight);
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_GT(m.internalLeading, 0);
        EXPECT_EQ(canvas.TextExtent(QStringLiteral("x")).height(), m.height);
    }

    // Liberation Mono advances 0.6 of the character height: the pixel size is the character
    // height, not the cell.
    ImageCanvas canvas;
    canvas.SelectFont(Mono(100));
    EXPECT_EQ(canvas.TextWidth(QStringLiteral("MMMMMMMMMM")), 600);
    CanvasFont tenPoints = Mono(10);
    tenPoints.unit = CanvasFont::Points;
    canvas.SelectFont(tenPoints);
    EXPECT_EQ(canvas.TextWidth(QStringLiteral("MMMMMMMMMM")), 78);
    EXPECT_EQ(canvas.FontMetrics().height, 15);
}

TEST(Canvas, CharacterSpacingWidensEveryCharacter) {
    for (const QString& face : {QStringLiteral("Arial"), QStringLiteral("Times New Roman")}) {
        SCOPED_TRACE(face.toStdString());
        ImageCanvas canvas;
        CanvasFont font;
        font.face = face;
        canvas.SelectFont(font);
        const QString text = QStringLiteral("Форма 12");
        const int plain = canvas.TextWidth(text);
        canvas.SetCharSpacing(3);
        EXPECT_EQ(canvas.TextWidth(text), plain + 3 * text.size());
        canvas.SetCharSpacing(0);
        EXPECT_EQ(canvas.TextWidth(text), plain);
    }

    // Output moves by the same amount: the last of five bars lies 4 × 3 pixels further right.
    auto lastInk = [](int spacing) {
        ImageCanvas canvas(QSize(200, 30));
        canvas.SelectFont(Mono(20));
        canvas.SetCharSpacing(spacing);
        canvas.TextOut(0, 0, QStringLiteral("IIIII"));
        return Ink(canvas.Image()).right;
    };
    EXPECT_EQ(lastInk(3), lastInk(0) + 12);
}

TEST(Canvas, TextCellIsPlacedByItsTopLeftCorner) {
    ImageCanvas canvas(QSize(100, 60));
    canvas.SelectFont(Mono(20));
    const CanvasFontMetrics m = canvas.FontMetrics();
    canvas.TextOut(10, 10, QStringLiteral("H"));
    const CanvasRect ink = Ink(canvas.Image());
    // The capital sits on the baseline, ascent pixels below the top of the cell.
    EXPECT_EQ(ink.bottom, 10 + m.ascent);
    EXPECT_GT(ink.top, 10);
    EXPECT_GE(ink.left, 10);

    // An opaque cell is exactly the measured width by the cell height.
    ImageCanvas opaque(QSize(100, 60));
    opaque.SelectFont(Mono(20));
    opaque.SetBrush({CanvasRgb(0, 0, 255), CanvasBrush::Solid});
    opaque.SetBackgroundMode(Canvas::Opaque);
    opaque.TextOut(10, 10, QStringLiteral("HH"));
    const QSize cell = opaque.TextExtent(QStringLiteral("HH"));
    EXPECT_EQ(Ink(opaque.Image()), (CanvasRect{10, 10, 10 + cell.width(), 10 + cell.height()}));
    EXPECT_EQ(opaque.Image().pixel(10, 10), qRgb(0, 0, 255));
}

TEST(Canvas, JustificationSpreadsOverTheBlanksOfTheNextLineOnly) {
    const QString line = QString::fromUtf8("I I\u00a0I");
    ImageCanvas canvas(QSize(200, 90));
    canvas.SelectFont(Mono(20));
    const int width = canvas.TextWidth(line);
    canvas.TextOut(0, 0, line);
    canvas.SetTextJustification(10, 2);
    EXPECT_EQ(canvas.TextWidth(line), width) << "measuring does not count it";
    canvas.TextOut(0, 30, line);
    canvas.TextOut(0, 60, line);
    auto rowInk = [&](int top) { return Ink(canvas.Image().copy(0, top, 200, 30)).right; };
    EXPECT_EQ(rowInk(30), rowInk(0) + 10);
    EXPECT_EQ(rowInk(60), rowInk(0));

    RecordingCanvas recording(QSize(200, 100));
    recording.SelectFont(Mono(20));
    recording.SetTextJustification(10, 2);
    recording.TextOut(0, 0, line);
    recording.TextOut(0, 30, line);
    const QList<CanvasRecord> lines = recording.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].bounds.Width(), width + 10);
    EXPECT_EQ(lines[0].justifyExtra, 10);
    EXPECT_EQ(lines[1].bounds.Width(), width);
    EXPECT_EQ(lines[1].justifyExtra, 0);
}

TEST(Canvas, TurnedTextRunsUpwardFromItsCorner) {
    ImageCanvas canvas(QSize(100, 120));
    CanvasFont font = Mono(20);
    font.turn = 900;
    canvas.SelectFont(font);
    const QSize cell = canvas.TextExtent(QStringLiteral("MMMM"));
    canvas.TextOut(20, 100, QStringLiteral("MMMM"));
    const CanvasRect ink = Ink(canvas.Image());
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + cell.height());
    EXPECT_LE(ink.bottom, 100);
    EXPECT_GE(ink.top, 100 - cell.width());
    EXPECT_GT(ink.Height(), 3 * ink.Width());

    RecordingCanvas recording(QSize(100, 120));
    recording.SelectFont(font);
    recording.TextOut(20, 100, QStringLiteral("MMMM"));
    EXPECT_EQ(recording.RecordsOf(CanvasRecord::TextOut).at(0).bounds,
              (CanvasRect{20, 100 - cell.width(), 20 + cell.height(), 100}));
}

TEST(Canvas, TextOutIsClippedToItsRectangleAndReadsRightToLeftWhenAsked) {
    ImageCanvas canvas(QSize(100, 30));
    canvas.SelectFont(Mono(20));
    canvas.TextOut(0, 0, QStringLiteral("MMMMMM"), {CanvasRect{12, 0, 30, 30}, false});
    const CanvasRect ink = Ink(canvas.Image());
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.right, 30);
    EXPECT_FALSE(ink.IsEmpty());

    auto draw = [](bool rtl) {
        ImageCanvas c(QSize(100, 30));
        c.SelectFont(Mono(20));
        c.TextOut(0, 0, QStringLiteral("ab!"), {std::nullopt, rtl});
        return c.Image().copy();
    };
    // The same cell, another order.
    const QImage ltr = draw(false);
    const QImage rtl = draw(true);
    EXPECT_NE(ltr, rtl);
    EXPECT_LE(Ink(rtl).right, 3 * 12);
    EXPECT_LE(Ink(ltr).right, 3 * 12);
}

// --- laid-out text

TEST(Canvas, TextBoundsOfLaidOutText) {
    // Liberation Mono at 10 pixels: six pixels a character.
    struct Case {
        const char* name;
        QString text;
        int width;
        unsigned format;
        int right;
        int lines;
    };
    const Case cases[] = {
        {"one line", QStringLiteral("aaa bbb ccc"), 45, 0, 66, 1},
        {"broken between words", QStringLiteral("aaa bbb ccc"), 45, Canvas::TextWordBreak, 42, 2},
        {"a word wider than the box is cut", QStringLiteral("abcdefghij"), 30,
         Canvas::TextWordBreak, 30, 2},
        {"CR LF, CR and LF end lines", QStringLiteral("ab\r\ncdef\rg\nh"), 100, 0, 24, 4},
        {"single line keeps one line", QStringLiteral("ab\r\ncd"), 100, Canvas::TextSingleLine, 24,
         1},
        {"accelerator marks are not measured", QStringLiteral("&File a&&b"), 100, 0, 48, 1},
        {"marks shown as they stand", QStringLiteral("&File"), 100, Canvas::TextNoPrefix, 30, 1},
        {"tab to eight average widths", QStringLiteral("a\tb"), 100, Canvas::TextExpandTabs, 54, 1},
    };
    RecordingCanvas canvas(QSize(200, 200));
    canvas.SelectFont(Mono(10));
    const int height = canvas.FontMetrics().height;
    ASSERT_EQ(canvas.FontMetrics().averageCharWidth, 6);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CanvasRect r = canvas.TextBounds({5, 7, 5 + c.width, 50}, c.text, c.format);
        EXPECT_EQ(r, (CanvasRect{5, 7, 5 + c.right, 7 + c.lines * height}));
    }
}

TEST(Canvas, DrawTextAlignsAndClipsToItsRectangle) {
    RecordingCanvas recording(QSize(200, 200));
    recording.SelectFont(Mono(10));
    const int height = recording.FontMetrics().height;
    const CanvasRect box{10, 10, 110, 110};
    recording.DrawText(box, QStringLiteral("ab\ncdef"), Canvas::TextRight | Canvas::TextBottom);
    recording.DrawText(box, QStringLiteral("ab"), Canvas::TextCenter | Canvas::TextVCenter);
    const QList<CanvasRecord> texts = recording.RecordsOf(CanvasRecord::DrawText);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].bounds, (CanvasRect{110 - 24, 110 - 2 * height, 110, 110}));
    EXPECT_EQ(texts[1].bounds, (CanvasRect{10 + 44, 10 + (100 - height) / 2, 10 + 56,
                                           10 + (100 - height) / 2 + height}));

    ImageCanvas canvas(QSize(100, 40));
    canvas.SelectFont(Mono(20));
    canvas.DrawText({5, 5, 40, 40}, QStringLiteral("MMMMMMMM"), 0);
    EXPECT_LE(Ink(canvas.Image()).right, 40);
    canvas.DrawText({5, 5, 40, 40}, QStringLiteral("MMMMMMMM"), Canvas::TextNoClip);
    EXPECT_GT(Ink(canvas.Image()).right, 40);

    // A marked character is underlined below the baseline; the mark itself is not drawn.
    auto ink = [](const QString& text) {
        ImageCanvas c(QSize(60, 40));
        c.SelectFont(Mono(20));
        c.DrawText({0, 0, 60, 40}, text, 0);
        return Ink(c.Image());
    };
    const CanvasRect plain = ink(QStringLiteral("MN"));
    const CanvasRect marked = ink(QStringLiteral("&MN"));
    EXPECT_GT(marked.bottom, plain.bottom);
    EXPECT_EQ(marked.right, plain.right);
}

// --- clipping

TEST(Canvas, ClipRegionIntersectExcludeSaveRestore) {
    RecordingCanvas canvas(QSize(100, 100));
    EXPECT_TRUE(canvas.RectVisible({90, 90, 100, 100}));
    EXPECT_FALSE(canvas.RectVisible({100, 0, 110, 10})) << "outside the surface";

    canvas.SaveClip();
    canvas.IntersectClipRect({10, 10, 50, 50});
    canvas.ExcludeClipRect({20, 20, 30, 30});
    struct Case {
        const char* name;
        CanvasRect rect;
        bool visible;
    };
    const Case cases[] = {
        {"inside", {12, 12, 15, 15}, true},
        {"in the hole", {21, 21, 29, 29}, false},
        {"touches the hole's right edge from outside", {30, 22, 31, 23}, true},
        {"right of the clip", {50, 10, 60, 20}, false},
        {"over the edge", {45, 45, 60, 60}, true},
        {"empty", {12, 12, 12, 15}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(canvas.RectVisible(c.rect), c.visible);
    }
    canvas.RestoreClip();
    EXPECT_TRUE(canvas.RectVisible({21, 21, 29, 29}));
    EXPECT_TRUE(canvas.RectVisible({60, 60, 70, 70}));
    canvas.RestoreClip();  // nothing saved: no change
    EXPECT_EQ(canvas.VisibleRegion(), QRegion(0, 0, 100, 100));

    // The same clip keeps pixels out of an image.
    ImageCanvas image(QSize(20, 20));
    image.SetBrush({0x000000, CanvasBrush::Solid});
    image.SaveClip();
    image.ExcludeClipRect({5, 5, 10, 10});
    image.FillRect({0, 0, 20, 20});
    EXPECT_EQ(image.Image().pixel(5, 5), kWhite);
    EXPECT_EQ(image.Image().pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_FALSE(image.RectVisible({6, 6, 9, 9}));
    image.RestoreClip();
    image.FillRect({5, 5, 6, 6});
    EXPECT_EQ(image.Image().pixel(5, 5), qRgb(0, 0, 0));
}

// --- the recording canvas

TEST(RecordingCanvas, KeepsTextOutWithItsFontAndMeasuresWithTheGivenSurface) {
    ImageCanvas reference;
    CanvasFont own = Mono(7);
    reference.SelectFont(own);
    RecordingCanvas canvas(QSize(300, 200), &reference);
    EXPECT_TRUE(canvas.IsRecording());
    EXPECT_FALSE(reference.IsRecording());
    EXPECT_EQ(canvas.DpiY(), 96);
    EXPECT_EQ(canvas.PhysicalSize(), QSize(300, 200));
    EXPECT_EQ(canvas.PhysicalOffset(), QPoint(0, 0));

    CanvasFont font;
    font.face = QStringLiteral("Times New Roman");
    font.style = CanvasFont::Bold | CanvasFont::Italic;
    font.color = CanvasRgb(0, 0, 128);
    font.charset = 204;
    canvas.SelectFont(font);
    canvas.SetCharSpacing(2);
    canvas.TextOut(30, 40, QStringLiteral("Бланк"), {CanvasRect{0, 0, 50, 50}, false});
    EXPECT_EQ(reference.Font(), own) << "the measuring surface gets its font back";
    EXPECT_EQ(reference.CharSpacing(), 0);

    reference.SelectFont(font);
    reference.SetCharSpacing(2);
    const QSize cell = reference.TextExtent(QStringLiteral("Бланк"));
    EXPECT_EQ(canvas.TextExtent(QStringLiteral("Бланк")), cell);

    const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 1);
    const CanvasRecord& r = texts[0];
    EXPECT_EQ(r.text, QStringLiteral("Бланк"));
    EXPECT_EQ(r.font, font);
    EXPECT_EQ(r.fontHeight, 13);
    EXPECT_EQ(r.charSpacing, 2);
    EXPECT_EQ(r.position, QPoint(30, 40));
    EXPECT_EQ(r.bounds, (CanvasRect{30, 40, 30 + cell.width(), 40 + cell.height()}));
    EXPECT_EQ(r.clip, (CanvasRect{0, 0, 50, 50}));

    // Every call is kept, with the state it was made with.
    canvas.SetPen({CanvasRgb(255, 0, 0), 2, CanvasPen::Dot});
    canvas.MoveTo(1, 2);
    canvas.LineTo(5, 2);
    canvas.Rectangle({0, 0, 10, 10});
    const std::vector<CanvasRecord>& all = canvas.Records();
    ASSERT_GE(all.size(), 4U);
    const CanvasRecord& line = all[all.size() - 2];
    EXPECT_EQ(line.kind, CanvasRecord::LineTo);
    EXPECT_EQ(line.points, (QList<QPoint>{{1, 2}, {5, 2}}));
    EXPECT_EQ(line.pen, (CanvasPen{CanvasRgb(255, 0, 0), 2, CanvasPen::Dot}));
    EXPECT_EQ(all.back().kind, CanvasRecord::Rectangle);
}

// --- colours, bevels, pages

TEST(Canvas, ColoursAndSystemColours) {
    const QPalette palette = QGuiApplication::palette();
    struct Case {
        const char* name;
        quint32 color;
        QColor expected;
    };
    const Case cases[] = {
        {"red is the low byte", 0x0000FF, QColor(255, 0, 0)},
        {"blue is the third byte", 0xFF0000, QColor(0, 0, 255)},
        {"top byte other than system is ignored", 0x1FFFFFFF, QColor(255, 255, 255)},
        {"button face", SysColor::BtnFace, palette.color(QPalette::Active, QPalette::Button)},
        {"window", SysColor::Window, palette.color(QPalette::Active, QPalette::Base)},
        {"window text", SysColor::WindowText, palette.color(QPalette::Active, QPalette::Text)},
        {"highlight", SysColor::Highlight, palette.color(QPalette::Active, QPalette::Highlight)},
        {"grey text", SysColor::GrayText, palette.color(QPalette::Disabled, QPalette::Text)},
        {"unknown index", 0x800000FFu, QColor(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CanvasColorToQColor(c.color), c.expected);
    }
}

// Gives the application a palette whose bevel colours differ from white for one test.
class DistinctPalette {
public:
    DistinctPalette() : saved_(QGuiApplication::palette()) {
        QPalette p = saved_;
        p.setColor(QPalette::Light, QColor(255, 255, 0));
        p.setColor(QPalette::Dark, QColor(0, 0, 128));
        QGuiApplication::setPalette(p);
    }
    ~DistinctPalette() { QGuiApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

TEST(Canvas, BevelsLightTheirTopLeftOrBottomRight) {
    const DistinctPalette palette;
    const QRgb light = CanvasColorToQColor(SysColor::BtnHighlight).rgb();
    const QRgb shadow = CanvasColorToQColor(SysColor::BtnShadow).rgb();
    ASSERT_EQ(light, qRgb(255, 255, 0));
    ASSERT_EQ(shadow, qRgb(0, 0, 128));
    struct Case {
        const char* name;
        Canvas::BevelKind kind;
        int width;
        QRgb topLeft;
        QRgb bottomRight;
        CanvasRect inner;
    };
    const Case cases[] = {
        {"raised", Canvas::Raised, 1, light, shadow, {1, 1, 9, 9}},
        {"lowered two deep", Canvas::Lowered, 2, shadow, light, {2, 2, 8, 8}},
        {"etched", Canvas::Etched, 1, shadow, light, {2, 2, 8, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageCanvas canvas(QSize(12, 12));
        EXPECT_EQ(canvas.DrawBevel({0, 0, 10, 10}, c.kind, c.width), c.inner);
        const QImage& image = canvas.Image();
        EXPECT_EQ(image.pixel(0, 0), c.topLeft);
        EXPECT_EQ(image.pixel(0, 9), c.topLeft);
        EXPECT_EQ(image.pixel(9, 0), c.bottomRight);
        EXPECT_EQ(image.pixel(9, 9), c.bottomRight);
        EXPECT_EQ(image.pixel(10, 5), kWhite);
        RecordingCanvas recording(QSize(12, 12));
        EXPECT_EQ(recording.DrawBevel({0, 0, 10, 10}, c.kind, c.width), c.inner);
    }
    ImageCanvas etched(QSize(12, 12));
    etched.DrawBevel({0, 0, 10, 10}, Canvas::Etched);
    EXPECT_EQ(etched.Image().pixel(1, 1), light) << "the inner ring is raised";

    ImageCanvas divider(QSize(8, 8));
    divider.DrawEtchedLine({3, 1}, 5, Qt::Vertical);
    EXPECT_EQ(divider.Image().pixel(3, 1), shadow);
    EXPECT_EQ(divider.Image().pixel(4, 5), light);
    EXPECT_EQ(divider.Image().pixel(3, 6), kWhite);
    EXPECT_EQ(Ink(divider.Image()), (CanvasRect{3, 1, 5, 6}));
}

TEST(PainterCanvas, IconIsDrawnAtTheGivenSize) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::red);
    ImageCanvas canvas(QSize(30, 30));
    canvas.DrawIcon({4, 6, 20, 22}, QIcon(pixmap));
    EXPECT_EQ(Ink(canvas.Image()), (CanvasRect{4, 6, 20, 22}));
    EXPECT_EQ(canvas.Image().pixel(10, 10), qRgb(255, 0, 0));
}

TEST(PainterCanvas, PageGeometryOfPrintersAndOtherSurfaces) {
    ImageCanvas image(QSize(40, 30), 150);
    EXPECT_EQ(image.DpiX(), 150);
    EXPECT_EQ(image.PhysicalSize(), QSize(40, 30));
    EXPECT_EQ(image.PrintableSize(), QSize(40, 30));
    EXPECT_EQ(image.PhysicalOffset(), QPoint(0, 0));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPdfWriter pdf(dir.filePath(QStringLiteral("page.pdf")));
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(10, 20, 10, 20), QPageLayout::Millimeter));
    {
        // Qt rounds the page through points: allow a few pixels at 300 dpi.
        PainterCanvas canvas(pdf);
        EXPECT_EQ(canvas.DpiX(), 300);
        EXPECT_NEAR(canvas.PhysicalSize().width(), 2480, 2);
        EXPECT_NEAR(canvas.PhysicalSize().height(), 3508, 2);
        EXPECT_NEAR(canvas.PhysicalOffset().x(), 118, 2);
        EXPECT_NEAR(canvas.PhysicalOffset().y(), 236, 2);
        EXPECT_NEAR(canvas.PrintableSize().width(), 2480 - 236, 5);
        EXPECT_NEAR(canvas.PrintableSize().height(), 3508 - 472, 5);
        canvas.SetPageGeometry(QSize(100, 200), QPoint(3, 4), QSize(90, 190));
        EXPECT_EQ(canvas.PhysicalOffset(), QPoint(3, 4));
    }
}

TEST(PainterCanvas, WrapsAnActivePainterAndGivesItBack) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green));
    painter.setClipRect(QRect(0, 0, 10, 20));
    {
        PainterCanvas canvas(painter, 120, 120);
        EXPECT_EQ(canvas.DpiY(), 120);
        EXPECT_FALSE(canvas.RectVisible({12, 0, 20, 20})) << "the painter's own clip holds";
        canvas.SetBrush({0x000000, CanvasBrush::Solid});
        canvas.FillRect({0, 0, 20, 20});
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    painter.end();
    EXPECT_EQ(image.pixel(9, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 0), kWhite);
}

}  // namespace

namespace {

// A child widget that fills itself through a canvas in its own paint event.
class FilledChild : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        PainterCanvas canvas(*this);
        canvas.SetBrush({CanvasRgb(255, 0, 0)});
        canvas.FillRect({0, 0, width(), height()});
    }
};

}  // namespace

TEST(PainterCanvas, PaintsAWidgetThatIsNotAtItsWindowsCorner) {
    QWidget window;
    window.resize(120, 100);
    window.setAutoFillBackground(true);
    FilledChild child(&window);
    child.setGeometry(50, 40, 30, 20);
    const QImage image = window.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(55, 45)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(79, 59)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(80, 45)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(45, 45)), QColor(Qt::red));
}
