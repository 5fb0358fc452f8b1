#include "MemoLayout.h"

#include "Canvas.h"
#include "EngineState.h"
#include "MemoView.h"
#include "Rounding.h"
#include "Variants.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMeasureDpi = 96;
constexpr int kTurnedUp = 900;
constexpr quint8 kPhaseMeasured = 1;

bool IsLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

bool IsBreakChar(QChar c) {
    return c == u' ' || c == QChar(0xA0);
}

// A broken line: its text without the mark, and whether it ends a paragraph.
struct OutputLine {
    QString text;
    bool paragraphEnd{false};
};

OutputLine SplitMark(const QString& line) {
    if (line.endsWith(QChar(frParagraphMark)))
        return {line.left(line.size() - 1), true};
    return {line, line.isEmpty()};
}

// The first k in 0 .. n - 1 with over(k), or n, for over false up to some k and true from
// there. It starts at hint and gallops away from it, so a right hint costs two calls.
template <typename Over>
qsizetype FirstOver(qsizetype n, qsizetype hint, Over over) {
    hint = std::clamp<qsizetype>(hint, 0, n);
    qsizetype lo = 0;  // over(lo - 1) is false, or lo is 0
    qsizetype hi = n;  // over(hi) is true, or hi is n
    if (hint < n && !over(hint)) {
        lo = hint + 1;
        for (qsizetype step = 1; lo < n; step *= 2) {
            const qsizetype k = std::min(n - 1, lo + step - 1);
            if (over(k)) {
                hi = k;
                break;
            }
            lo = k + 1;
        }
    } else {
        hi = hint;
        for (qsizetype step = 1; hi > 0; step *= 2) {
            const qsizetype k = std::max<qsizetype>(0, hi - step);
            if (!over(k)) {
                lo = k + 1;
                break;
            }
            hi = k;
        }
    }
    while (lo < hi) {
        const qsizetype mid = (lo + hi) / 2;
        if (over(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

int CountBreakChars(const QString& text) {
    int n = 0;
    for (QChar c : text) {
        if (IsBreakChar(c))
            ++n;
    }
    return n;
}

// The measuring canvas's font and spacing, put back when a pass ends.
class MeasureState {
public:
    explicit MeasureState(Canvas& canvas)
        : canvas_(canvas), font_(canvas.Font()), spacing_(canvas.CharSpacing()) {}
    ~MeasureState() {
        canvas_.SelectFont(font_);
        canvas_.SetCharSpacing(spacing_);
    }
    MeasureState(const MeasureState&) = delete;
    MeasureState& operator=(const MeasureState&) = delete;

private:
    Canvas& canvas_;
    CanvasFont font_;
    int spacing_;
};

}  // namespace

// --- painting ----------------------------------------------------------------------------------

void TfrMemoLayout::PaintObject(TfrMemoView& memo, Canvas& canvas) {
    memo.DrawCanvas = &canvas;
    const bool autoWidth = (memo.Flags & frFlagAutoWidth) != 0;
    if (autoWidth && !memo.Memo.isEmpty() && frEngineState().PrintingState) {
        const qint32 w = CalcWidth(memo, memo.Memo);
        if (memo.Alignment & frtaVertical) {
            memo.Height = w;
        } else if (memo.Alignment & frtaRight) {
            memo.Left = memo.Left + memo.Width - w;
            memo.Width = w;
        } else {
            memo.Width = w;
        }
    }
    memo.AlignToPage();
    memo.FitToBottom = false;
    memo.WorkMemo = memo.Memo;

    if (!memo.WorkMemo.isEmpty()) {
        memo.Prewrapped = memo.WorkMemo.join(QString()).contains(QChar(frParagraphMark));
        if (memo.WorkMemo.last() == QString(QChar(frParagraphMark)))
            memo.WorkMemo.removeLast();
        // Breaks are made at scale 1 whatever the target.
        const double factorX = memo.FactorX;
        const double factorY = memo.FactorY;
        memo.FactorX = 1.0;
        memo.FactorY = 1.0;
        memo.ScaleGeometry();
        if (autoWidth)
            memo.Width += 100;
        BreakLines(memo);
        memo.FactorX = factorX;
        memo.FactorY = factorY;
        memo.RestoreGeometry();
        memo.WorkMemo = WrappedLines;
    }

    memo.ScaleGeometry();
    if (!memo.Exporting) {
        memo.PaintBackground();
        memo.PaintFrame();
        if (memo.Flags & frFlagUnderlines)
            PaintUnderlines(memo);
    }
    if (!memo.WorkMemo.isEmpty())
        OutputPass(memo, canvas);
    canvas.SetCharSpacing(0);
    memo.RestoreGeometry();
}

void TfrMemoLayout::SelectOutputFont(TfrMemoView& memo, Canvas& canvas) const {
    canvas.SetBackgroundMode(Canvas::Transparent);
    CanvasFont font = memo.Font;
    if (!memo.ToPrinter) {
        // Screen-like targets get the 96-dpi height at the scale, whatever their resolution.
        const double height = memo.Font.size * double(kMeasureDpi) / 72.0 * memo.FactorY;
        font.size = memo.FactorY == 1.0 ? frRound(height) : qint32(std::trunc(height));
        font.unit = CanvasFont::Pixels;
    }
    canvas.SelectFont(font);
}

void TfrMemoLayout::PaintUnderlines(TfrMemoView& memo) {
    if (!memo.DrawCanvas)
        return;
    Canvas& canvas = *memo.DrawCanvas;
    SelectOutputFont(memo, canvas);
    const int hd = canvas.CharHeight();
    const int pitch = hd + frRound(memo.LineSpacing * memo.FactorY);
    if (pitch <= 0)
        return;  // rules would never advance
    canvas.SetPen({memo.FrameColor, frRound(memo.FrameWidth), CanvasPen::Solid});
    const int n = memo.Height / pitch;
    for (int k = 1; k <= n; ++k) {
        const int y = memo.Top + memo.GapY + (k - 1) * pitch + hd + frRound(2 * memo.FactorY);
        canvas.Line(memo.Left, y, memo.Left + memo.Width - 1, y);
    }
}

// --- line breaking -----------------------------------------------------------------------------

void TfrMemoLayout::BreakLines(TfrMemoView& memo) {
    WrappedLines.clear();
    const bool vertical = (memo.Alignment & frtaVertical) != 0;
    const int height = frRound(memo.Font.size * double(kMeasureDpi) / 72.0);

    const MeasureState keep(measure_);
    CanvasFont font = memo.Font;
    font.size = height;
    font.unit = CanvasFont::Pixels;
    font.turn = vertical ? kTurnedUp : 0;
    measure_.SelectFont(font);
    measure_.SetCharSpacing(memo.CharSpacing);

    const int pitch = height + memo.LineSpacing;
    const int available = vertical ? memo.Height - 2 * memo.GapY : memo.Width - 2 * memo.GapX;
    const bool wordWrap = (memo.Flags & frFlagWordWrap) != 0;
    const bool wordBreak = (memo.Flags & frFlagWordBreak) != 0;
    for (const QString& line : memo.WorkMemo) {
        if (memo.Prewrapped)
            WrappedLines.append(line);
        else if (wordWrap)
            BreakLine(line, available, wordBreak);
        else
            WrappedLines.append(vertical ? line : line + QChar(frParagraphMark));
    }

    const int gap = vertical ? memo.GapX : memo.GapY;
    TextBlockHeight = 2 * gap + int(WrappedLines.size()) * pitch;
    memo.TextHeight = pitch;
}

// Positions run from 1 as in the text; s[i] is at(i).
void TfrMemoLayout::BreakLine(const QString& s, int available, bool wordBreak) {
    const QChar mark(frParagraphMark);
    const qsizetype len = s.size();
    auto at = [&s](qsizetype i) { return s[i - 1]; };
    auto part = [&s](qsizetype from, qsizetype to) {
        return to < from ? QString() : s.mid(from - 1, to - from + 1);
    };
    auto width = [this](const QString& text) { return measure_.TextWidth(text); };
    auto put = [this](const QString& line) { WrappedLines.append(line); };
    if (s.isEmpty()) {
        put(mark);
        return;
    }

    // The hyphenation point of the word at the overflow that fits best, as the position of
    // the last character kept; 0 when none fits.
    auto hyphenate = [&](qsizetype i, qsizetype start, qsizetype lastSpace) -> qsizetype {
        qsizetype e = i;
        while (e <= len && at(e) != u' ' && at(e) != u',' && at(e) != u'-' && at(e) != u'.' &&
               !IsLineBreak(at(e)))
            ++e;
        // Without a space on the line the word starts where the line does.
        const qsizetype base = at(lastSpace) == u' ' ? lastSpace : lastSpace - 1;
        qsizetype best = 0;
        for (int p : HyphenPoints(part(base + 1, e - 1))) {
            const qsizetype end = base + p;
            if (end >= i || width(part(start, end) + u'-') > available)
                break;
            best = end;
        }
        return best;
    };

    struct Candidate {
        qsizetype at;
        qsizetype last;
    };
    QList<Candidate> candidates;
    QList<qreal> ends;
    qsizetype start = 1;
    qsizetype lastSpace = 1;
    qsizetype i = 1;
    while (i <= len) {
        if (IsLineBreak(at(i))) {
            put(part(start, i - 1) + mark);
            // A run of breaks, empty lines in it included, is one break.
            while (i < len && IsLineBreak(at(i)))
                ++i;
            start = lastSpace = i;
            if (IsLineBreak(at(i)))
                return;
            continue;
        }
        // The first character from i on that takes the line past the width, among the
        // candidates before the next break.
        candidates.clear();
        qsizetype stop = i;
        while (stop <= len && !IsLineBreak(at(stop))) {
            const bool pair =
                at(stop).isHighSurrogate() && stop < len && at(stop + 1).isLowSurrogate();
            const qsizetype last = pair ? stop + 1 : stop;
            // A character wider than the whole line stays on a line of its own.
            if (at(stop) != u' ' && stop > start)
                candidates.append({stop, last});
            stop = last + 1;
        }
        // One shaping of the whole line guesses where; measuring the parts settles it.
        if (ends.isEmpty())
            ends = measure_.CharEnds(s);
        const qreal before = start > 1 ? ends[start - 2] : 0;
        qsizetype guess = 0;
        while (guess < candidates.size() && ends[candidates[guess].last - 1] - before <= available)
            ++guess;
        const qsizetype lo = FirstOver(candidates.size(), guess, [&](qsizetype k) {
            return width(part(start, candidates[k].last)) > available;
        });
        const qsizetype over = lo < candidates.size() ? candidates[lo].at : stop;
        for (qsizetype k = i; k < over; ++k) {
            if (at(k) == u' ')
                lastSpace = k;
        }
        i = over;
        if (i > len || IsLineBreak(at(i)))
            continue;
        const qsizetype hyphenAt = wordBreak ? hyphenate(i, start, lastSpace) : 0;
        if (hyphenAt > 0) {
            put(part(start, hyphenAt) + u'-');
            start = lastSpace = hyphenAt + 1;
            i = start;
            continue;
        }
        if (lastSpace == start)
            lastSpace = i;  // no space on the line: the word is cut before i
        if (at(lastSpace) == u' ') {
            put(part(start, lastSpace - 1));
        } else {
            put(part(start, lastSpace - 1));
            lastSpace = lastSpace - 1;
        }
        start = lastSpace + 1;
        lastSpace = start;
        // The rest of the line is measured again from the same character, so a word
        // after the space that is still too wide is cut as well.
    }
    if (i != start)
        put(part(start, len) + mark);
}

QList<int> TfrMemoLayout::HyphenPoints(const QString& word) {
    static const QString vowels = QStringLiteral("АЕЁИОУЫЭЮЯ");
    static const QString signs = QStringLiteral("ЪЬ");
    // Letter by letter, so that positions stay those of the word.
    QString w = word;
    for (QChar& c : w)
        c = c.toUpper();
    QList<int> points;
    if (w.size() < 4)
        return points;
    auto vowel = [&](qsizetype k) { return vowels.contains(w[k - 1]); };
    for (qsizetype k = 2; k <= w.size() - 2; ++k) {
        const bool afterVowel = vowel(k) && (vowel(k + 1) || vowel(k + 2));
        const bool beforeConsonant =
            !vowel(k) && !vowel(k + 1) && !signs.contains(w[k]) && vowel(k + 2);
        // Never between the halves of a surrogate pair.
        if ((afterVowel || beforeConsonant) && !w[k - 1].isHighSurrogate())
            points.append(int(k));
    }
    return points;
}

// --- output ------------------------------------------------------------------------------------

void TfrMemoLayout::OutputPass(TfrMemoView& memo, Canvas& canvas) {
    SelectOutputFont(memo, canvas);
    canvas.SetCharSpacing(frRound(memo.CharSpacing * memo.FactorX));
    const CanvasRect& frame = memo.FrameRect;
    const CanvasRect clip{frame.left + 1, frame.top, frame.right - 2, frame.bottom - 1};
    CanvasTextOptions options;
    options.clip = clip;
    options.rightToLeft = (memo.Flags & frFlagRTLReading) != 0;

    TextBlockHeight = frRound(TextBlockHeight * memo.FactorY);
    const bool vertical = (memo.Alignment & frtaVertical) != 0;
    const qint32 place = memo.Alignment & (frtaMiddle | frtaDown);
    const int align = memo.Alignment & 3;
    qint32 left = memo.Left;
    qint32 top = memo.Top;
    if (!vertical && !memo.FitToBottom) {
        if (place == frtaMiddle)
            top += (frame.bottom - frame.top - TextBlockHeight) / 2;
        else if (place == frtaDown)
            top = frame.bottom - TextBlockHeight - 1;
    } else if (vertical) {
        if (place == frtaMiddle)
            left += (frame.right - frame.left - TextBlockHeight) / 2;
        else if (place == frtaDown)
            left = frame.right - TextBlockHeight;
    }

    const int hd = canvas.CharHeight();
    // Only placing and justifying need a line's width.
    auto lineWidth = [&](const QString& text) {
        return align == frtaLeft ? 0 : canvas.TextWidth(text);
    };
    memo.LinesDone = 0;
    auto draw = [&](int x, int y, const QString& text, int extra, int breaks) {
        if (breaks > 0)
            canvas.SetTextJustification(extra, breaks);
        if (!memo.Exporting)
            canvas.TextOut(x, y, text, options);
        if (breaks > 0)
            canvas.ClearTextJustification();
        ++memo.LinesDone;
    };

    if (!vertical) {
        const int pitch = hd + frRound(memo.LineSpacing * memo.FactorY);
        const int inner = frame.Width() - 2 * memo.GapX;
        int y = top + memo.GapY;
        for (const QString& line : memo.WorkMemo) {
            if (memo.FitToBottom && y + pitch > clip.bottom)
                break;
            const OutputLine out = SplitMark(line);
            const int w = lineWidth(out.text);
            int x = left + memo.GapX;
            int breaks = 0;
            if (align == frtaRight) {
                x = left + frame.Width() - 1 - memo.GapX - w;
            } else if (align == frtaCenter) {
                x = left + memo.GapX + (inner - w) / 2;
            } else if (align == 3 && !out.paragraphEnd) {
                breaks = CountBreakChars(out.text);
            }
            draw(x, y, out.text, inner - w, breaks);
            y += pitch;
        }
        return;
    }

    // Turned lines read upward, one column per line.
    const CanvasFont previous = canvas.Font();
    CanvasFont turned = previous;
    turned.turn = kTurnedUp;
    canvas.SelectFont(turned);
    const int pitch = hd + frRound(memo.LineSpacing * memo.FactorX);
    const int h = frame.Height();
    const int inner = h - 2 * memo.GapY;
    int x = left + memo.GapX;
    for (const QString& line : memo.WorkMemo) {
        const OutputLine out = SplitMark(line);
        const int w = lineWidth(out.text);
        int y = frame.bottom - memo.GapY;
        int breaks = 0;
        if (align == frtaRight) {
            y = top + memo.GapY + w;
        } else if (align == frtaCenter) {
            y = frame.bottom - 1 - memo.GapY - (inner - w) / 2;
        } else if (align == 3) {
            y = top + h - memo.GapY;
            if (!out.paragraphEnd)
                breaks = CountBreakChars(out.text);
        }
        draw(x, y, out.text, inner - w, breaks);
        x += pitch;
    }
    canvas.SelectFont(previous);
}

// --- measuring ---------------------------------------------------------------------------------

qint32 TfrMemoLayout::CalcWidth(TfrMemoView& memo, const QStringList& lines) {
    Canvas& canvas = memo.DrawCanvas ? *memo.DrawCanvas : measure_;
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    if (!text.isEmpty()) {
        QString head = text.left(text.size() - 1);
        head.remove(QChar(frParagraphMark));
        text = head + text.back();
    }
    if (text.size() > 2 && text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    SelectOutputFont(memo, canvas);
    canvas.SetCharSpacing(frRound(memo.CharSpacing * memo.FactorX));
    const CanvasRect bounds =
        canvas.TextBounds({0, 0, memo.Width, memo.Height}, text, Canvas::TextNoPrefix);
    return frRound(bounds.right / memo.FactorX + memo.FrameWidth + 2 * memo.GapX + 1);
}

qint32 TfrMemoLayout::CalcHeight(TfrMemoView& memo,
                                 const std::function<void(TfrMemoView&)>& prepareText) {
    memo.PrintPhase = kPhaseMeasured;
    memo.DrawCanvas = &measure_;
    const CanvasFont font = memo.Font;
    const quint32 fill = memo.FillColor;
    if (prepareText)
        prepareText(memo);
    qint32 result = 0;
    if (memo.Visible) {
        memo.ScaleGeometry();
        if (!memo.WorkMemo.isEmpty()) {
            // Text that carries the mark has been broken already.
            memo.Prewrapped = memo.WorkMemo.join(QString()).contains(QChar(frParagraphMark));
            BreakLines(memo);
            memo.WorkMemo = WrappedLines;
            const bool suppressed = (memo.Flags & frFlagSuppress) != 0 &&
                                    frJoinLines(memo.WorkMemo) == memo.PreviousText;
            result = suppressed ? 0 : TextBlockHeight;
        }
        memo.RestoreGeometry();
    }
    memo.Font = font;
    memo.FillColor = fill;
    return result;
}

int TfrMemoLayout::FontCharHeight(const TfrMemoView& memo) {
    const MeasureState keep(measure_);
    CanvasFont font = memo.Font;
    font.turn = 0;
    measure_.SelectFont(font);
    return measure_.CharHeight();
}

qint32 TfrMemoLayout::MinHeight(TfrMemoView& memo) {
    const int fh = FontCharHeight(memo);
    memo.TextHeight = memo.LineSpacing + fh;
    return frRound(2 * memo.FrameWidth) + 2 * memo.GapY + memo.LineSpacing + fh;
}

qint32 TfrMemoLayout::RemainHeight(TfrMemoView& memo) {
    memo.TextHeight = memo.LineSpacing + FontCharHeight(memo);
    const qint32 frame = frRound(2 * memo.FrameWidth);
    const qint32 rest = memo.Height - frame - 2 * memo.GapY;
    // A zero line pitch leaves no partial line.
    const qint32 partial = memo.TextHeight != 0 ? rest % memo.TextHeight : 0;
    return 2 * memo.GapY + frame + partial;
}
