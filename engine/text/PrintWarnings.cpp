#include "PrintWarnings.h"

#include "MemoLayout.h"
#include "MemoView.h"
#include "Page.h"
#include "Printer.h"
#include "Rounding.h"

#include <QFont>
#include <QFontInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

// Millimetres of page units, one decimal, Russian separator.
QString Mm(qint32 units) {
    return QLocale(QLocale::Russian).toString(units * 25.4 / frUnitsPerInch, 'f', 1);
}

// Faces that stand in for a common one with its metrics: no warning.
bool SameMetrics(const QString& face, const QString& printed) {
    static const std::pair<const char16_t*, const char16_t*> pairs[] = {
        {u"Arial", u"Liberation Sans"},
        {u"Arial", u"Arimo"},
        {u"Times New Roman", u"Liberation Serif"},
        {u"Times New Roman", u"Tinos"},
        {u"Courier New", u"Liberation Mono"},
        {u"Courier New", u"Cousine"},
    };
    for (const auto& [a, b] : pairs)
        if (face.compare(QStringView(a), Qt::CaseInsensitive) == 0 &&
            printed.compare(QStringView(b), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

void TfrPrintWarnings::Clear() {
    list_.clear();
    faces_.clear();
}

QString TfrPrintWarnings::Substitute(const QString& face) {
    const QString printed = QFontInfo(QFont(face)).family();
    if (printed.compare(face, Qt::CaseInsensitive) == 0 || SameMetrics(face, printed))
        return QString();
    return printed;
}

void TfrPrintWarnings::Add(const TfrMemoView& memo, int page, const QString& text) {
    list_.push_back(
        {page, memo.Name,
         CanvasRect{memo.Left, memo.Top, memo.Left + memo.Width, memo.Top + memo.Height}, text});
}

void TfrPrintWarnings::Check(TfrMemoView& memo, const TfrPage& design, int page,
                             TfrMemoLayout& layout, Canvas& measure) {
    const QString where = QStringLiteral("Поле «%1», страница %2: ").arg(memo.Name).arg(page + 1);

    auto found = faces_.find(memo.Font.face);
    if (found == faces_.end()) {
        found = faces_.insert(memo.Font.face, Substitute(memo.Font.face));
        if (!found->isEmpty())
            Add(memo, page,
                where + QStringLiteral("шрифт «%1» не установлен, текст печатается шрифтом «%2» "
                                       "другой ширины")
                            .arg(memo.Font.face, *found));
    }

    // Beyond the sheet, else beyond the printable area.
    const TfrPageMetrics& m = design.Metrics;
    const qint32 right = memo.Left + memo.Width;
    const qint32 bottom = memo.Top + memo.Height;
    const qint32 beyondSheet =
        std::max({-memo.Left, -memo.Top, right - m.SheetWidth, bottom - m.SheetHeight, 0});
    const qint32 beyondPrintable =
        std::max({m.OffsetX - memo.Left, m.OffsetY - memo.Top, right - (m.OffsetX + m.PrintWidth),
                  bottom - (m.OffsetY + m.PrintHeight), 0});
    if (beyondSheet > 0)
        Add(memo, page,
            where + QStringLiteral("поле выходит за край листа на %1 мм").arg(Mm(beyondSheet)));
    else if (beyondPrintable > 0 && m.PrintWidth > 0)
        Add(memo, page,
            where + QStringLiteral("поле выходит из области печати принтера на %1 мм")
                        .arg(Mm(beyondPrintable)));

    // The lines as they print: all of them must fit the height, and without word wrap each
    // the width.
    if (memo.WorkMemo.isEmpty())
        return;
    const bool exporting = memo.Exporting;
    const bool fit = memo.FitToBottom;
    Canvas* canvas = memo.DrawCanvas;
    memo.DrawCanvas = &measure;
    memo.Exporting = true;  // counted, not drawn
    memo.FitToBottom = true;
    const QStringList text = memo.WorkMemo;
    memo.ScaleGeometry();
    // Broken into lines as they will be drawn.
    layout.BreakLines(memo);
    memo.WorkMemo = layout.WrappedLines;
    layout.OutputPass(memo, measure);
    // A line is whole when its cell, descenders included, ends above the clip's bottom; the
    // engine's own rule for parts counts the character height only, and a last line so placed
    // loses its descenders.
    const CanvasFontMetrics font = measure.FontMetrics();
    const int pitch = font.CharHeight() + frRound(memo.LineSpacing * memo.FactorY);
    int visible = 0;
    for (int y = memo.Top + memo.GapY;
         visible < memo.LinesDone && y + font.height <= memo.FrameRect.bottom - 1; y += pitch)
        ++visible;
    memo.RestoreGeometry();
    const int lines = static_cast<int>(memo.WorkMemo.size());
    memo.WorkMemo = text;
    const qint32 widest = memo.Flags & frFlagWordWrap ? 0 : layout.CalcWidth(memo, memo.WorkMemo);
    memo.DrawCanvas = canvas;
    memo.Exporting = exporting;
    memo.FitToBottom = fit;

    if (visible < lines)
        Add(memo, page,
            where + QStringLiteral("текст не помещается по высоте, видно строк: %1 из %2")
                        .arg(visible)
                        .arg(lines));
    if (widest > memo.Width)
        Add(memo, page,
            where + QStringLiteral("строка не помещается по ширине, не хватает %1 мм")
                        .arg(Mm(widest - memo.Width)));
}
