#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

class Canvas;
class TfrMemoView;

// Ends the last line of every paragraph once lines are broken; a text holding it anywhere
// has been broken already.
inline constexpr char16_t frParagraphMark = 1;

// Layout and drawing of text objects. Lines are broken on the engine's measuring canvas in
// page units with 96-dpi fonts, so every device gets the same breaks; the output pass then
// places them on the target canvas at its scale.
class TfrMemoLayout {
public:
    explicit TfrMemoLayout(Canvas& measure) : measure_(measure) {}
    TfrMemoLayout(const TfrMemoLayout&) = delete;
    TfrMemoLayout& operator=(const TfrMemoLayout&) = delete;

    // Paints the object on canvas at its FactorX/FactorY and DrawOrigin.
    void PaintObject(TfrMemoView& memo, Canvas& canvas);

    // The object's font on canvas: points on a printer, else a pixel height for the scale.
    void SelectOutputFont(TfrMemoView& memo, Canvas& canvas) const;
    // Breaks WorkMemo into WrappedLines and sets TextBlockHeight and the object's
    // TextHeight. The geometry must be scaled (at 1).
    void BreakLines(TfrMemoView& memo);
    // Draws WorkMemo's broken lines on canvas, geometry scaled; with FitToBottom it stops
    // at the first line that would cross the bottom. Counts LinesDone.
    void OutputPass(TfrMemoView& memo, Canvas& canvas);
    // Rules under every line pitch across the object, on its DrawCanvas, geometry scaled.
    void PaintUnderlines(TfrMemoView& memo);

    // Page units the widest of lines needs, measured on the object's DrawCanvas (the
    // measuring canvas when it has none) at its scale.
    qint32 CalcWidth(TfrMemoView& memo, const QStringList& lines);
    // Page units the wrapped text needs. prepareText fills WorkMemo (script, before-print,
    // expansion, highlight); the font and fill colour are as before it on return.
    qint32 CalcHeight(TfrMemoView& memo, const std::function<void(TfrMemoView&)>& prepareText);
    qint32 MinHeight(TfrMemoView& memo);
    qint32 RemainHeight(TfrMemoView& memo);

    // Where a word may be hyphenated: k means after its k-th character, ascending.
    static QList<int> HyphenPoints(const QString& word);

    QStringList WrappedLines;
    qint32 TextBlockHeight{0};

private:
    void BreakLine(const QString& s, int available, bool wordBreak);
    // The character height of the object's own font at 96 dpi.
    int FontCharHeight(const TfrMemoView& memo);

    Canvas& measure_;
};
