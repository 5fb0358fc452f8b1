#include "MemoLayout.h"

#include "Canvas.h"
#include "MemoView.h"
#include "PainterCanvas.h"
#include "RecordingCanvas.h"
#include "ReportFixture.h"

#include <gtest/gtest.h>
#include <QFont>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

const QChar kMark(frParagraphMark);

// Lines with the paragraph mark shown as "¶".
QStringList Shown(const QStringList& lines) {
    QStringList result;
    for (QString line : lines)
        result.append(line.replace(kMark, u'¶'));
    return result;
}

QStringList TextsOf(const RecordingCanvas& canvas) {
    QStringList texts;
    for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::TextOut))
        texts.append(r.text);
    return texts;
}

CanvasFont Arial(int pixels) {
    CanvasFont font;
    font.face = QStringLiteral("Arial");
    font.unit = CanvasFont::Pixels;
    font.size = pixels;
    return font;
}

// Measures truly but guides breaking wrongly: its ends run at a fraction or a multiple of the
// true ones, or backwards.
class MisguidedCanvas : public ImageCanvas {
public:
    explicit MisguidedCanvas(int way) : ImageCanvas(QSize(8, 8), 96), way_(way) {}
    QList<qreal> CharEnds(const QString& line) const override {
        QList<qreal> ends = ImageCanvas::CharEnds(line);
        for (qsizetype k = 0; k < ends.size(); ++k)
            ends[k] = way_ == 0 ? ends[k] / 3 : way_ == 1 ? ends[k] * 3 : 200 - k;
        return ends;
    }

private:
    int way_;
};

class MemoLayoutTest : public ReportFixture {
protected:
    MemoLayoutTest() { frEngineState().PrintingState = true; }

    Canvas& Measure() { return *engine->MeasureCanvas(); }

    // Width in pixels of text in the measuring font of a new 10-point object.
    int MeasureWidth(const QString& text) {
        Measure().SelectFont(Arial(13));
        Measure().SetCharSpacing(0);
        return Measure().TextWidth(text);
    }

    static std::unique_ptr<TfrMemoView> Memo(int left, int top, int width, int height,
                                             const QStringList& text) {
        auto memo = std::make_unique<TfrMemoView>();
        memo->PlaceAt(left, top, width, height);
        memo->Memo = text;
        return memo;
    }

    // The breaking pass as painting runs it, at scale 1.
    QStringList Break(TfrMemoView& memo, const QStringList& lines) {
        memo.WorkMemo = lines;
        memo.FactorX = memo.FactorY = 1.0;
        memo.ScaleGeometry();
        layout.BreakLines(memo);
        memo.RestoreGeometry();
        return layout.WrappedLines;
    }

    TfrMemoLayout layout{*engine->MeasureCanvas()};
};

// --- measuring font ------------------------------------------------------------------------------

TEST_F(MemoLayoutTest, PinnedMeasurementOfLiberationSansTenPoints) {
    // Arial is Liberation Sans through fontconfig; a change of fonts or of Qt that moves line
    // breaks shows up here first.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(),
              QStringLiteral("Liberation Sans"));
    Canvas& m = Measure();
    m.SelectFont(Arial(13));
    m.SetCharSpacing(0);
    EXPECT_EQ(m.TextWidth(QStringLiteral("The quick brown fox jumps over the lazy dog")), 257);
    EXPECT_EQ(m.TextWidth(QStringLiteral("Съешь же ещё этих мягких французских булок")), 284);
    EXPECT_EQ(m.CharHeight(), 13);
    EXPECT_EQ(m.FontMetrics().height, 15);
    // Character spacing is counted after every character.
    const int plain = MeasureWidth(QStringLiteral("abcd"));
    m.SetCharSpacing(2);
    EXPECT_EQ(m.TextWidth(QStringLiteral("abcd")), plain + 8);
}

// --- a new object at several scales --------------------------------------------------------------

TEST_F(MemoLayoutTest, NewObjectPaintsOneLineAtTheTextCell) {
    struct Case {
        const char* name;
        double factor;
        int originX;
        int originY;
        int fontHeight;
        QPoint cell;
        CanvasRect clip;
        int pitch;  // the font's height plus the scaled line spacing
    };
    // Object (100, 50, 200, 30): FrameRect is (Left', Top', right + 1, bottom + 1) and the
    // clip C takes one pixel off its left, two off its right and one off its bottom.
    const Case cases[] = {
        {"scale 1", 1.0, 0, 0, 13, {102, 51}, {101, 50, 299, 80}, 15},
        {"scale 1 with offsets", 1.0, 10, 20, 13, {112, 71}, {111, 70, 309, 100}, 15},
        // wx = round(0.75) = 1: GapX' = 3 + 1, GapY' = 2 + 1 div 2.
        {"scale 1.5", 1.5, 0, 0, 20, {154, 77}, {151, 75, 449, 120}, 23},
        // wx = round(0.25) = 0: GapX' = 1, GapY' = round(0.5) = 0.
        {"scale 0.5", 0.5, 0, 0, 6, {51, 25}, {51, 25, 149, 40}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas(QSize(1000, 1000));
        auto memo = Memo(100, 50, 200, 30, {QStringLiteral("Hello, world"), QString()});
        memo->FactorX = memo->FactorY = c.factor;
        memo->DrawOriginX = c.originX;
        memo->DrawOriginY = c.originY;
        layout.PaintObject(*memo, canvas);

        EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::FillRect).isEmpty()) << "no background";
        EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::LineTo).isEmpty()) << "no frame";
        const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
        ASSERT_EQ(texts.size(), 2);
        const CanvasRecord& t = texts[0];
        EXPECT_EQ(t.text, QStringLiteral("Hello, world"));
        EXPECT_EQ(t.position, c.cell);
        EXPECT_EQ(texts[1].text, QString());
        EXPECT_EQ(texts[1].position, c.cell + QPoint(0, c.pitch));
        EXPECT_EQ(t.clip, c.clip);
        EXPECT_EQ(t.fontHeight, c.fontHeight);
        EXPECT_EQ(t.font.face, QStringLiteral("Arial"));
        EXPECT_EQ(t.font.color, clBlack);
        EXPECT_EQ(t.font.charset, 204);
        EXPECT_EQ(t.background, Canvas::Transparent);
        EXPECT_EQ(t.justifyBreaks, 0);

        // The object is as it was; the canvas's spacing is back at 0.
        EXPECT_EQ(
            QList<int>({memo->Left, memo->Top, memo->Width, memo->Height, memo->GapX, memo->GapY}),
            QList<int>({100, 50, 200, 30, 2, 1}));
        EXPECT_EQ(memo->FrameWidth, 1.0f);
        EXPECT_FALSE(memo->FitToBottom);
        EXPECT_EQ(canvas.CharSpacing(), 0);
        EXPECT_EQ(Shown(memo->WorkMemo), QStringList({u"Hello, world¶"_s, u"¶"_s}));
    }
}

TEST_F(MemoLayoutTest, PrinterFontIsInPointsAndSpacingScales) {
    ImageCanvas device(QSize(2000, 2000), 600);
    RecordingCanvas canvas(QSize(2000, 2000), &device);
    auto memo = Memo(10, 10, 300, 40, {QStringLiteral("abc")});
    memo->CharSpacing = 1;
    memo->ToPrinter = true;
    memo->FactorX = memo->FactorY = 600 / 91.6256157635468;
    layout.PaintObject(*memo, canvas);
    const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].font.unit, CanvasFont::Points);
    EXPECT_EQ(texts[0].font.size, 10);
    EXPECT_EQ(texts[0].fontHeight, 83);  // round(10 x 600 / 72)
    EXPECT_EQ(texts[0].charSpacing, 7);  // round(1 x 6.55)
    EXPECT_EQ(canvas.CharSpacing(), 0);
}

// --- line breaking -------------------------------------------------------------------------------

TEST_F(MemoLayoutTest, BreaksLinesToTheAvailableWidth) {
    struct Case {
        const char* name;
        QString text;
        QString fits;  // the widest text that fits the object
        quint16 flags;
        QStringList expected;
    };
    const quint16 wrap = frFlagStretched | frFlagWordWrap;
    const QString wide = QStringLiteral("a line far wider than the object is");
    const Case cases[] = {
        {"fits",
         QStringLiteral("Hello world"),
         QStringLiteral("Hello world"),
         wrap,
         {QStringLiteral("Hello world¶")}},
        {"one break per run of line breaks",
         QStringLiteral("ab\r\n\r\n\ncd\r\nef\r\n"),
         QStringLiteral("abcdef"),
         wrap,
         {QStringLiteral("ab¶"), QStringLiteral("cd¶"), QStringLiteral("ef¶")}},
        {"a break at the start is an empty paragraph",
         QStringLiteral("\r\nab"),
         QStringLiteral("ab"),
         wrap,
         {QStringLiteral("¶"), QStringLiteral("ab¶")}},
        {"long word cut before the overflowing character",
         QStringLiteral("ABCDEFGHIJ"),
         QStringLiteral("ABCDEF"),
         wrap,
         {QStringLiteral("ABCDEF"), QStringLiteral("GHIJ¶")}},
        {"the space at a break is dropped",
         QStringLiteral("aaa bbb ccc"),
         QStringLiteral("aaa bbb"),
         wrap,
         {QStringLiteral("aaa bbb"), QStringLiteral("ccc¶")}},
        {"only the last space before the break goes",
         QStringLiteral("aaa  bbb"),
         QStringLiteral("aaa  bb"),
         wrap,
         {QStringLiteral("aaa "), QStringLiteral("bbb¶")}},
        {"a word still too wide after a space is cut too",
         QStringLiteral("i ABCDEFG"),
         QStringLiteral("i ABCDEF"),
         wrap,
         {QStringLiteral("i"), QStringLiteral("ABCDEF"), QStringLiteral("G¶")}},
        {"a character wider than the object sits on its own line",
         QStringLiteral("WWW"),
         QStringLiteral(""),
         wrap,
         {QStringLiteral("W"), QStringLiteral("W"), QStringLiteral("W¶")}},
        {"no fitting hyphenation point: cut as without WordBreak",
         QStringLiteral("ABCDEFGHIJ"),
         QStringLiteral("ABCDEF"),
         quint16(wrap | frFlagWordBreak),
         {QStringLiteral("ABCDEF"), QStringLiteral("GHIJ¶")}},
        {"WordBreak hyphenates at the longest fitting point",
         QStringLiteral("молоко переносимость"),
         QStringLiteral("молоко перено-"),
         quint16(wrap | frFlagWordBreak),
         {QStringLiteral("молоко перено-"), QStringLiteral("симость¶")}},
        {"a word at the start of a line hyphenates from its first letter",
         QStringLiteral("переносимость"),
         QStringLiteral("перено-"),
         quint16(wrap | frFlagWordBreak),
         {QStringLiteral("перено-"), QStringLiteral("си-"), QStringLiteral("мость¶")}},
        {"without WordWrap a line stays whole",
         wide,
         QStringLiteral("a line"),
         frFlagStretched,
         {wide + u'¶'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto memo = Memo(0, 0, MeasureWidth(c.fits) + 4, 100, {});
        memo->Flags = c.flags;
        EXPECT_EQ(Shown(Break(*memo, {c.text})), c.expected);
    }
}

TEST_F(MemoLayoutTest, BreakingCountsTheTextBlockAndKeepsTheMeasuringFont) {
    Measure().SelectFont(Arial(40));
    auto memo = Memo(0, 0, MeasureWidth(QStringLiteral("aaa")) + 4, 100, {});
    Measure().SelectFont(Arial(40));
    EXPECT_EQ(Break(*memo, {QStringLiteral("aaa bbb"), QStringLiteral("ccc")}).size(), 3);
    // GapY' = 1, pitch = 13 + LineSpacing 2.
    EXPECT_EQ(layout.TextBlockHeight, 2 + 3 * 15);
    EXPECT_EQ(memo->TextHeight, 15);
    EXPECT_EQ(Measure().Font(), Arial(40));

    // Broken text is taken as it stands; turned text without WordWrap gets no mark.
    memo->Prewrapped = true;
    EXPECT_EQ(Break(*memo, {QStringLiteral("aaa bbb ccc")}), QStringList{u"aaa bbb ccc"_s});
    memo->Prewrapped = false;
    memo->Flags = frFlagStretched;
    memo->Alignment = frtaVertical;
    EXPECT_EQ(Break(*memo, {QStringLiteral("aaa bbb ccc")}), QStringList{u"aaa bbb ccc"_s});
    EXPECT_EQ(layout.TextBlockHeight, 2 * 2 + 15) << "the vertical gap is GapX'";
}

// Any text at any width: the pass ends, and only line breaks, a space at each break and
// the marks and hyphens it adds differ from the text; only a single character is wider than
// the line.
TEST_F(MemoLayoutTest, BreakingNeverLosesOrRepeatsACharacter) {
    const QString alphabet = QStringLiteral("aW лоикт Щ.,\r\n\U0001F600");
    std::mt19937 random(20261210);
    auto strip = [](QString s) {
        s.remove(u' ');
        s.remove(u'\r');
        s.remove(u'\n');
        s.remove(kMark);
        s.remove(u'-');
        return s;
    };
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int length = int(random() % 40);
        for (int k = 0; k < length; ++k) {
            const int at = int(random() % (alphabet.size() - 1));
            text += alphabet[at].isHighSurrogate()  ? alphabet.mid(at, 2)
                    : alphabet[at].isLowSurrogate() ? alphabet.mid(at - 1, 2)
                                                    : QString(alphabet[at]);
        }
        const int inner = int(random() % 80);
        const bool wordBreak = random() % 2 == 0;
        SCOPED_TRACE(QStringLiteral("%1 at %2%3")
                         .arg(text, QString::number(inner), wordBreak ? u" WordBreak" : u"")
                         .toStdString());
        auto memo = Memo(0, 0, inner + 4, 100, {});
        if (wordBreak)
            memo->Flags |= frFlagWordBreak;
        const QStringList lines = Break(*memo, {text});
        EXPECT_EQ(strip(lines.join(QString())), strip(text));
        // The guide to where a line overflows only speeds the search up.
        MisguidedCanvas misguided(round % 3);
        TfrMemoLayout guessing(misguided);
        memo->WorkMemo = {text};
        memo->ScaleGeometry();
        guessing.BreakLines(*memo);
        memo->RestoreGeometry();
        EXPECT_EQ(guessing.WrappedLines, lines);
        const qsizetype spaces = text.count(u' ');
        EXPECT_LE(lines.join(QString()).count(u' '), spaces);
        EXPECT_GE(lines.join(QString()).count(u' '), spaces - lines.size());
        const bool breaks = text.contains(u'\r') || text.contains(u'\n');
        for (const QString& line : lines) {
            QString drawn = line;
            drawn.remove(kMark);
            if (!breaks && !text.isEmpty()) {
                EXPECT_FALSE(drawn.isEmpty()) << "no empty line without a line break";
            }
            while (drawn.endsWith(u' '))
                drawn.chop(1);
            const bool oneCharacter =
                drawn.size() <= 1 || (drawn.size() == 2 && drawn[0].isHighSurrogate());
            if (!oneCharacter) {
                EXPECT_LE(MeasureWidth(drawn), inner) << drawn.toStdString();
            }
        }
    }
}

TEST(MemoHyphenation, PointsOfRussianWords) {
    struct Case {
        QString word;
        QList<int> points;
    };
    const Case cases[] = {
        {QStringLiteral("МОЛОКО"), {2, 4}},
        {QStringLiteral("молоко"), {2, 4}},  // upper-cased first
        {QStringLiteral("кошка"), {3}},      // consonant before consonant and vowel
        {QStringLiteral("переносимость"), {2, 4, 6, 8}},
        {QStringLiteral("объем"), {}},  // no break before the hard sign
        {QStringLiteral("ОДА"), {}},    // shorter than 4
        {QStringLiteral("hyphenation"), {}},
        {QStringLiteral("ßмолоко"), {3, 5}},       // positions are the word's own
        {QStringLiteral("ОК\U0001F600АМА"), {5}},  // never inside a surrogate pair
        {QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        EXPECT_EQ(TfrMemoLayout::HyphenPoints(c.word), c.points);
    }
}

// --- output ------------------------------------------------------------------------------------

TEST_F(MemoLayoutTest, HorizontalAlignment) {
    const QString text = QStringLiteral("ab cd");
    const int w = MeasureWidth(text);
    struct Case {
        const char* name;
        qint32 alignment;
        int x;
    };
    // Object (10, 20, 100, 40): FrameRect width 101, inner 97.
    const Case cases[] = {
        {"left", frtaLeft, 12},
        {"right", frtaRight, 10 + 101 - 1 - 2 - w},
        {"centre", frtaCenter, 12 + (97 - w) / 2},
        {"justified, a paragraph end is not stretched", 3, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas(QSize(400, 400));
        auto memo = Memo(10, 20, 100, 40, {text});
        memo->Alignment = c.alignment;
        layout.PaintObject(*memo, canvas);
        const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
        ASSERT_EQ(texts.size(), 1);
        EXPECT_EQ(texts[0].position, QPoint(c.x, 21));
        EXPECT_EQ(texts[0].justifyBreaks, 0);
    }

    // Right-aligned text wider than the object starts left of it and is clipped on the left.
    RecordingCanvas canvas(QSize(400, 400));
    const QString wide = QStringLiteral("a line far wider than the object is");
    auto memo = Memo(10, 20, 100, 40, {wide});
    memo->Flags = frFlagStretched | frFlagRTLReading;
    memo->Alignment = frtaRight;
    layout.PaintObject(*memo, canvas);
    const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].rightToLeft);
    EXPECT_EQ(texts[0].position.x(), 10 + 101 - 1 - 2 - MeasureWidth(wide));
    EXPECT_LT(texts[0].position.x(), 12);
    EXPECT_EQ(texts[0].clip->left, 11);
}

TEST_F(MemoLayoutTest, JustifiedLinesExceptParagraphEnds) {
    const QString first = QStringLiteral("aaa bb c");
    auto memo = Memo(0, 0, MeasureWidth(first) + 4, 200,
                     {first + QStringLiteral(" dd eee"), QStringLiteral("ffffffff")});
    memo->Alignment = 3;
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);
    ASSERT_EQ(Shown(memo->WorkMemo),
              QStringList({first, QStringLiteral("dd eee¶"), QStringLiteral("ffffffff¶")}));
    const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 3);
    const int inner = memo->Width + 1 - 4;
    EXPECT_EQ(texts[0].justifyBreaks, 2);
    EXPECT_EQ(texts[0].justifyExtra, inner - MeasureWidth(first));
    EXPECT_EQ(texts[0].bounds.Width(), inner) << "the stretched line fills the inner width";
    EXPECT_EQ(texts[1].justifyBreaks, 0);
    EXPECT_EQ(texts[2].justifyBreaks, 0);
    // The justification never outlives its line.
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::SetTextJustification).back().justifyBreaks, 0);

    // A broken line without any space is not stretched either.
    canvas.ClearRecords();
    auto word =
        Memo(0, 0, MeasureWidth(QStringLiteral("ABCDEF")) + 4, 200, {QStringLiteral("ABCDEFGHIJ")});
    word->Alignment = 3;
    layout.PaintObject(*word, canvas);
    ASSERT_EQ(canvas.RecordsOf(CanvasRecord::TextOut).size(), 2);
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::TextOut)[0].justifyBreaks, 0);
}

TEST_F(MemoLayoutTest, LinesBelowTheFrameAreDrawnClipped) {
    const QStringList text = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                              QStringLiteral("four")};
    auto memo = Memo(10, 20, 60, 25, text);
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);
    const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(texts[k].position, QPoint(12, 21 + 15 * k));
        EXPECT_EQ(texts[k].clip, CanvasRect({11, 20, 69, 45}));
    }
    EXPECT_EQ(memo->LinesDone, 4);

    // On real pixels nothing shows outside the clip.
    ImageCanvas image(QSize(100, 100));
    memo->Font.size = 14;
    layout.PaintObject(*memo, image);
    int inside = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool ink = qGray(image.Image().pixel(x, y)) < 128;
            const bool inClip = x >= 11 && x < 69 && y >= 20 && y < 45;
            if (ink && !inClip)
                ADD_FAILURE() << "ink at " << x << ", " << y;
            inside += ink ? 1 : 0;
        }
    }
    EXPECT_GT(inside, 20);

    // With FitToBottom the output pass stops at the first line that crosses the bottom.
    memo->Font.size = 10;
    memo->WorkMemo = text;
    memo->FitToBottom = true;
    memo->ScaleGeometry();
    canvas.ClearRecords();
    layout.OutputPass(*memo, canvas);
    memo->RestoreGeometry();
    EXPECT_EQ(memo->LinesDone, 1);  // 21 + 15 <= 45, 36 + 15 > 45
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::TextOut).size(), 1);
}

TEST_F(MemoLayoutTest, ExportingCountsLinesButDrawsNothing) {
    auto memo = Memo(10, 20, 60, 40, {QStringLiteral("one"), QStringLiteral("two")});
    memo->Exporting = true;
    memo->FillColor = CanvasRgb(0, 255, 0);
    memo->FrameTyp = frftTop;
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);
    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::TextOut).isEmpty());
    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::FillRect).isEmpty());
    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::LineTo).isEmpty());
    EXPECT_EQ(memo->LinesDone, 2);
}

TEST_F(MemoLayoutTest, VerticalPlacement) {
    const QStringList five = {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    // TextBlockHeight = 2 + 5 x 15 = 77; FrameRect (10, 20, 71, 41).
    struct Case {
        const char* name;
        qint32 alignment;
        int firstY;
    };
    const Case cases[] = {
        {"top", frtaLeft, 21},
        {"middle moves up and clips at both ends", frtaMiddle, 20 + (21 - 77) / 2 + 1},
        {"down", frtaDown, 41 - 77 - 1 + 1},
        {"both bits mean top", frtaMiddle | frtaDown, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto memo = Memo(10, 20, 60, 20, five);
        memo->Alignment = c.alignment;
        RecordingCanvas canvas(QSize(400, 400));
        layout.PaintObject(*memo, canvas);
        const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
        ASSERT_EQ(texts.size(), 5);
        EXPECT_EQ(texts[0].position.y(), c.firstY);
        EXPECT_EQ(texts[4].clip, CanvasRect({11, 20, 69, 40}));
        EXPECT_EQ(memo->Alignment, c.alignment);
    }
}

TEST_F(MemoLayoutTest, TurnedTextReadsUpward) {
    const QString text = QStringLiteral("Upward");
    const int w = MeasureWidth(text);
    struct Case {
        const char* name;
        qint32 alignment;
        int y;
    };
    // Object (10, 20, 40, 200): FrameRect (10, 20, 51, 221), H = 201.
    const Case cases[] = {
        {"left: from the bottom", frtaVertical, 221 - 1},
        {"right: ends at the top gap", frtaVertical | frtaRight, 20 + 1 + w},
        {"centre", frtaVertical | frtaCenter, 221 - 1 - 1 - (201 - 2 - w) / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto memo = Memo(10, 20, 40, 200, {text, QStringLiteral("next")});
        memo->Alignment = c.alignment;
        RecordingCanvas canvas(QSize(400, 400));
        layout.PaintObject(*memo, canvas);
        const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
        ASSERT_EQ(texts.size(), 2);
        EXPECT_EQ(texts[0].text, text);
        EXPECT_EQ(texts[0].font.turn, 900);
        EXPECT_EQ(texts[0].position, QPoint(12, c.y));
        EXPECT_EQ(texts[1].position.x(), 12 + 15) << "the next column";
        EXPECT_EQ(texts[0].clip, CanvasRect({11, 20, 49, 220}));
        EXPECT_EQ(canvas.Font().turn, 0) << "the turned font is dropped after the pass";
    }

    // frtaMiddle centres the columns across the object.
    auto memo = Memo(10, 20, 100, 200, {text});
    memo->Alignment = frtaVertical | frtaMiddle;
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);
    // TextBlockHeight = 2 x GapX' + 15 = 19.
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::TextOut)[0].position.x(), 10 + (101 - 19) / 2 + 2);
}

// --- background, frame, underlines ---------------------------------------------------------------

TEST_F(MemoLayoutTest, GapsGrowWithTheFrameWidth) {
    struct Case {
        const char* name;
        float frameWidth;
        QPoint cell;
        CanvasRect clip;
    };
    // Object (10, 20, 100, 40) framed on all sides. FW 1: bx = by = 0, wx = wy = 0.
    // FW 3: bx = by = 1, wx = wy = 2, GapX' = 4, GapY' = 2.
    const Case cases[] = {
        {"frame width 1", 1.0f, {12, 21}, {11, 20, 109, 60}},
        {"frame width 3", 3.0f, {14, 22}, {12, 21, 107, 58}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto memo = Memo(10, 20, 100, 40, {QStringLiteral("x")});
        memo->FrameTyp = frftLeft | frftTop | frftRight | frftBottom;
        memo->FrameWidth = c.frameWidth;
        RecordingCanvas canvas(QSize(400, 400));
        layout.PaintObject(*memo, canvas);
        const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
        ASSERT_EQ(texts.size(), 1);
        EXPECT_EQ(texts[0].position, c.cell);
        EXPECT_EQ(texts[0].clip, c.clip);
        EXPECT_EQ(canvas.RecordsOf(CanvasRecord::LineTo).size(), 4);
    }
}

TEST_F(MemoLayoutTest, FrameStyles) {
    struct Case {
        const char* name;
        quint16 style;
        float frameWidth;
        double factor;
        // The right side's lines: x, colour, pen width and style.
        QList<std::tuple<int, quint32, int, CanvasPen::Style>> lines;
    };
    const quint32 frame = CanvasRgb(0, 0, 255);
    const quint32 fill = CanvasRgb(255, 255, 0);
    // Object (10, 20, 30, 40): the right side runs at x = 40 from y 20 to 60.
    const Case cases[] = {
        {"solid", psSolid, 2.0f, 1.0, {{40, frame, 2, CanvasPen::Solid}}},
        {"dashed, width 3 as three lines",
         psDash,
         3.0f,
         1.0,
         {{39, frame, 1, CanvasPen::Dash},
          {40, frame, 1, CanvasPen::Dash},
          {41, frame, 1, CanvasPen::Dash}}},
        {"dotted, width 2",
         psDot,
         2.0f,
         1.0,
         {{39, frame, 1, CanvasPen::Dot}, {40, frame, 1, CanvasPen::Dot}}},
        {"double: outer lines in the frame colour, the middle in the fill",
         psDouble,
         2.0f,
         1.0,
         {{38, frame, 2, CanvasPen::Solid},
          {40, fill, 2, CanvasPen::Solid},
          {42, frame, 2, CanvasPen::Solid}}},
        // round(1 x 0.4) = 0: the styled side is still drawn, once.
        {"dash-dot thinner than a pixel",
         psDashDot,
         1.0f,
         0.4,
         {{16, frame, 1, CanvasPen::DashDot}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto memo = Memo(10, 20, 30, 40, {});
        memo->FrameTyp = frftRight;
        memo->FrameStyle = c.style;
        memo->FrameWidth = c.frameWidth;
        memo->FrameColor = frame;
        memo->FillColor = fill;
        memo->FactorX = memo->FactorY = c.factor;
        RecordingCanvas canvas(QSize(400, 400));
        layout.PaintObject(*memo, canvas);
        const auto drawn = canvas.RecordsOf(CanvasRecord::LineTo);
        ASSERT_EQ(drawn.size(), c.lines.size());
        for (qsizetype k = 0; k < drawn.size(); ++k) {
            const auto& [x, color, width, style] = c.lines[k];
            EXPECT_EQ(drawn[k].points[0].x(), x);
            EXPECT_EQ(drawn[k].points[1].x(), x);
            EXPECT_EQ(drawn[k].pen.color, color);
            EXPECT_EQ(drawn[k].pen.width, width);
            EXPECT_EQ(drawn[k].pen.style, style);
        }
        if (c.style != psSolid && c.style != psDouble) {
            EXPECT_EQ(drawn[0].brush.color, fill) << "the gaps show the fill";
        }
    }

    // The clip region reaches over the outer lines of a double frame: b = round(1.5 x 2),
    // a = round(2 + 0.5).
    auto framed = Memo(10, 20, 30, 40, {});
    framed->FrameTyp = frftLeft | frftTop | frftRight | frftBottom;
    framed->FrameStyle = psDouble;
    framed->FrameWidth = 2.0f;
    EXPECT_EQ(framed->GetClipRegion(false), QRegion(7, 17, 36, 46));
    framed->FrameStyle = psSolid;
    EXPECT_EQ(framed->GetClipRegion(false), QRegion(9, 19, 32, 42));  // b = 1, a = round(0.5)
}

TEST_F(MemoLayoutTest, EmptyMemoPaintsBackgroundFrameAndUnderlinesOnly) {
    auto memo = Memo(10, 20, 100, 50, {});
    memo->FillColor = CanvasRgb(0, 255, 0);
    memo->FrameTyp = frftTop;
    memo->Flags |= frFlagUnderlines;
    memo->FrameColor = CanvasRgb(255, 0, 0);
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);

    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::TextOut).isEmpty());
    const auto fills = canvas.RecordsOf(CanvasRecord::FillRect);
    ASSERT_EQ(fills.size(), 1);
    EXPECT_EQ(fills[0].rect, CanvasRect({10, 20, 110, 70}));
    EXPECT_EQ(fills[0].brush.color, CanvasRgb(0, 255, 0));
    // The top side, then rules every pitch of 15 under a 13-pixel line: n = 50 div 15.
    QList<QList<QPoint>> lines;
    for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::LineTo))
        lines.append(r.points);
    EXPECT_EQ(lines, (QList<QList<QPoint>>{{{10, 20}, {110, 20}},
                                           {{10, 36}, {109, 36}},
                                           {{10, 51}, {109, 51}},
                                           {{10, 66}, {109, 66}}}));
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::LineTo).back().pen.color, CanvasRgb(255, 0, 0));

    // A line pitch of zero or less rules nothing rather than looping.
    memo->LineSpacing = -20;
    canvas.ClearRecords();
    layout.PaintObject(*memo, canvas);
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::LineTo).size(), 1);
}

// --- the same breaks everywhere ------------------------------------------------------------------

TEST_F(MemoLayoutTest, SameBreaksOnScreenImageAndPdf) {
    const QStringList text = {QStringLiteral("Настоящим удостоверяется, что предъявитель сего "
                                             "является владельцем бланка формы № 7"),
                              QStringLiteral("Second paragraph, short")};
    auto paint = [&](Canvas& device, double factor, bool printer) {
        auto memo = Memo(30, 40, 180, 200, text);
        memo->FactorX = memo->FactorY = factor;
        memo->ToPrinter = printer;
        layout.PaintObject(*memo, device);  // real pixels
        RecordingCanvas canvas(device.PhysicalSize(), &device);
        layout.PaintObject(*memo, canvas);
        return TextsOf(canvas);
    };
    const double unitsPerInch = 91.6256157635468;

    ImageCanvas screen(QSize(400, 400));
    const QStringList expected = paint(screen, 1.0, false);
    EXPECT_GE(expected.size(), 4);
    for (const QString& line : expected)
        EXPECT_LE(MeasureWidth(line), 180 - 4) << line.toStdString();

    ImageCanvas zoomed(QSize(800, 800));
    EXPECT_EQ(paint(zoomed, 2.0, false), expected) << "screen at 200 %";

    ImageCanvas image(QSize(2000, 2500), 600);
    EXPECT_EQ(paint(image, 600 / unitsPerInch, true), expected) << "600-dpi image";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPdfWriter pdf(dir.filePath(QStringLiteral("memo.pdf")));
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    PainterCanvas page(pdf);
    EXPECT_EQ(paint(page, 1200 / unitsPerInch, true), expected) << "PDF page";
}

// --- measuring -----------------------------------------------------------------------------------

TEST_F(MemoLayoutTest, CalcWidthAndAutoWidth) {
    auto memo = Memo(100, 20, 50, 40, {});
    const int w = MeasureWidth(QStringLiteral("A wider line"));
    // Marks go; the width is the widest line plus the frame, both gaps and 1.
    EXPECT_EQ(layout.CalcWidth(
                  *memo, {QStringLiteral("A wider line") + kMark, QStringLiteral("short") + kMark}),
              w + 1 + 4 + 1);
    EXPECT_EQ(layout.CalcWidth(*memo, {}), 1 + 4 + 1);
    EXPECT_EQ(layout.CalcWidth(*memo, {QStringLiteral("A&B")}),
              MeasureWidth(QStringLiteral("A&B")) + 6)
        << "an ampersand is text";

    // AutoWidth sets the width for good; right alignment keeps the right edge.
    memo->Memo = {QStringLiteral("A wider line")};
    memo->Flags |= frFlagAutoWidth;
    memo->Alignment = frtaRight;
    RecordingCanvas canvas(QSize(400, 400));
    layout.PaintObject(*memo, canvas);
    EXPECT_EQ(memo->Width, w + 6);
    EXPECT_EQ(memo->Left, 150 - (w + 6));
    EXPECT_EQ(TextsOf(canvas), QStringList{QStringLiteral("A wider line")});

    // Not while the engine only reads a report.
    frEngineState().PrintingState = false;
    auto other = Memo(100, 20, 50, 40, {QStringLiteral("A wider line")});
    other->Flags |= frFlagAutoWidth;
    layout.PaintObject(*other, canvas);
    EXPECT_EQ(other->Width, 50);
}

TEST_F(MemoLayoutTest, CalcHeightBreaksThePreparedText) {
    auto memo = Memo(0, 0, MeasureWidth(QStringLiteral("one two")) + 4, 40, {});
    const CanvasFont font = memo->Font;
    int calls = 0;
    auto prepare = [&](TfrMemoView& m) {
        ++calls;
        EXPECT_EQ(m.DrawCanvas, &Measure());
        m.WorkMemo = {QStringLiteral("one two three")};
        m.Font.style = fsBold;  // as the highlight does
        m.FillColor = CanvasRgb(1, 2, 3);
    };
    // Measured in the highlight's bold font, which no longer fits "one two" on a line.
    EXPECT_EQ(layout.CalcHeight(*memo, prepare), 2 + 3 * 15);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(memo->PrintPhase, 1);
    EXPECT_EQ(Shown(memo->WorkMemo), QStringList({u"one"_s, u"two"_s, u"three¶"_s}));
    EXPECT_EQ(memo->Font, font);
    EXPECT_EQ(memo->FillColor, clTransparent);
    EXPECT_EQ(memo->Width, MeasureWidth(QStringLiteral("one two")) + 4);

    struct Case {
        const char* name;
        std::function<void(TfrMemoView&)> prepare;
    };
    const Case zero[] = {
        {"hidden",
         [](TfrMemoView& m) {
             m.WorkMemo = {QStringLiteral("text")};
             m.Visible = false;
         }},
        {"empty", [](TfrMemoView& m) { m.WorkMemo.clear(); }},
        {"suppressed repeat",
         [](TfrMemoView& m) {
             m.WorkMemo = {QStringLiteral("same")};
             m.Flags |= frFlagSuppress;
             m.PreviousText = QStringLiteral("same") + kMark + QStringLiteral("\r\n");
         }},
    };
    for (const Case& c : zero) {
        SCOPED_TRACE(c.name);
        auto other = Memo(0, 0, 100, 40, {});
        EXPECT_EQ(layout.CalcHeight(*other, c.prepare), 0);
    }
}

TEST_F(MemoLayoutTest, MinAndRemainHeight) {
    auto memo = Memo(0, 0, 100, 50, {});
    // round(2 x 1) + 2 x 1 + 2 + 13
    EXPECT_EQ(layout.MinHeight(*memo), 19);
    EXPECT_EQ(memo->TextHeight, 15);
    // 2 + 2 + (50 - 2 - 2) mod 15
    EXPECT_EQ(layout.RemainHeight(*memo), 5);
    memo->Font.size = 20;  // 27 pixels
    memo->FrameWidth = 2.0f;
    EXPECT_EQ(layout.MinHeight(*memo), 4 + 2 + 2 + 27);
    EXPECT_EQ(layout.RemainHeight(*memo), 2 + 4 + (50 - 4 - 2) % 29);
    // A line pitch of zero leaves no partial line instead of dividing by it.
    memo->LineSpacing = -27;
    EXPECT_EQ(layout.RemainHeight(*memo), 2 + 4);
}

}  // namespace
