#include "MemoView.h"

#include "EngineState.h"
#include "Failure.h"
#include "StreamIO.h"
#include "Variants.h"

#include <array>

namespace {

struct FlagName {
    const char16_t* name;
    quint16 bit;
};

// The flags a text object sets and reads by name, in upper case.
constexpr std::array<FlagName, 8> kFlagNames{{
    {u"WORDWRAP", frFlagWordWrap},
    {u"WORDBREAK", frFlagWordBreak},
    {u"AUTOWIDTH", frFlagAutoWidth},
    {u"TEXTONLY", frFlagTextOnly},
    {u"SUPPRESS", frFlagSuppress},
    {u"HIDEZEROS", frFlagHideZeros},
    {u"UNDERLINES", frFlagUnderlines},
    {u"RTLREADING", frFlagRTLReading},
}};

const FlagName* FindFlag(const QString& upperName) {
    for (const FlagName& f : kFlagNames) {
        if (upperName == f.name)
            return &f;
    }
    return nullptr;
}

}  // namespace

TfrMemoView::TfrMemoView() {
    ObjectType = frTypeText;
    BaseName = QStringLiteral("Memo");
    Flags = frFlagStretched | frFlagWordWrap;
    Font.face = QStringLiteral("Arial");
    Font.size = 10;
    Font.unit = CanvasFont::Points;
    Font.color = clBlack;
    Font.charset = frEngineState().DefaultCharset;
}

void TfrMemoView::SetProperty(const QString& name, const QVariant& value) {
    TfrView::SetProperty(name, value);
    const QString n = frUpper(name);
    if (n == u"FONT.NAME")
        Font.face = frVarToText(value);
    else if (n == u"FONT.SIZE")
        Font.size = frVarToInt(value);
    else if (n == u"FONT.STYLE")
        Font.style = static_cast<quint8>(frVarToInt(value) & 15);
    else if (n == u"FONT.COLOR")
        Font.color = static_cast<quint32>(frVarToInt(value));
    else if (n == u"ALIGNMENT")
        Alignment = frVarToInt(value);
    else if (n == u"LINESPACING")
        LineSpacing = frVarToInt(value);
    else if (n == u"CHARSPACING")
        CharSpacing = frVarToInt(value);
    else if (const FlagName* flag = FindFlag(n))
        Flags = frVarToBool(value) ? (Flags | flag->bit) : (Flags & ~flag->bit);
}

QVariant TfrMemoView::GetProperty(const QString& name) const {
    QVariant result = TfrView::GetProperty(name);
    if (!result.isNull())
        return result;
    const QString n = frUpper(name);
    if (n == u"FONT.NAME")
        return Font.face;
    if (n == u"FONT.SIZE")
        return Font.size;
    if (n == u"FONT.STYLE")
        return int(Font.style);
    if (n == u"FONT.COLOR")
        return static_cast<qint32>(Font.color);
    if (n == u"ALIGNMENT")
        return Alignment;
    if (n == u"LINESPACING")
        return LineSpacing;
    if (n == u"CHARSPACING")
        return CharSpacing;
    if (const FlagName* flag = FindFlag(n))
        return (Flags & flag->bit) != 0;
    if (n == u"LINES.COUNT")
        return int(Memo.size());
    return {};
}

QVariant TfrMemoView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                                 const QVariant& p3) {
    if (auto result = CallListMethod(QStringLiteral("LINES"), frUpper(name), p1, p2, p3))
        return *result;
    return TfrStretcheable::CallMethod(name, p1, p2, p3);
}

void TfrMemoView::ListProperties() {
    TfrView::ListProperties();
    AddProperty(QStringLiteral("Font.Name"), frpkText);
    AddProperty(QStringLiteral("Font.Size"), frpkInteger);
    AddProperty(QStringLiteral("Font.Style"), frpkInteger);
    AddProperty(QStringLiteral("Font.Color"), frpkColor);
    AddProperty(QStringLiteral("Font"), frpkEditor);
    AddProperty(QStringLiteral("Alignment"), frpkInteger);
    AddProperty(QStringLiteral("DisplayFormat"), frpkEditor);
    AddProperty(QStringLiteral("Highlight"), frpkEditor);
    AddProperty(QStringLiteral("LineSpacing"), frpkInteger);
    AddProperty(QStringLiteral("CharSpacing"), frpkInteger);
    AddProperty(QStringLiteral("GapX"), frpkInteger);
    AddProperty(QStringLiteral("GapY"), frpkInteger);
    AddProperty(QStringLiteral("Stretched"), frpkBoolean);
    AddProperty(QStringLiteral("WordWrap"), frpkBoolean);
    AddProperty(QStringLiteral("WordBreak"), frpkBoolean);
    AddProperty(QStringLiteral("AutoWidth"), frpkBoolean);
    AddProperty(QStringLiteral("TextOnly"), frpkBoolean);
    AddProperty(QStringLiteral("Suppress"), frpkBoolean);
    AddProperty(QStringLiteral("HideZeros"), frpkBoolean);
    AddProperty(QStringLiteral("Lines.Count"), frpkInteger | frpkReadOnly);
    AddProperty(QStringLiteral("Underlines"), frpkBoolean);
    AddProperty(QStringLiteral("RTLReading"), frpkBoolean);
}

void TfrMemoView::LoadFromField(const QVariant& field) {
    WorkMemo = frSplitLines(frVarToStr(field));
}

void TfrMemoView::PaintObject(Canvas& canvas) {
    DrawCanvas = &canvas;
    if (TfrTextLayer* layer = frEngineState().TextLayer)
        layer->PaintMemo(*this, canvas);
}

void TfrMemoView::Print(QIODevice& stream) {
    TfrTextLayer* layer = frEngineState().TextLayer;
    if (!layer)
        throw Failure(QStringLiteral(
            "Текстовый объект нельзя напечатать: нет текстовой части построителя отчётов"));
    layer->PrintMemo(*this, stream);
}

qint32 TfrMemoView::CalcHeight() {
    TfrTextLayer* layer = frEngineState().TextLayer;
    return layer ? layer->CalcHeight(*this) : 0;
}

qint32 TfrMemoView::MinHeight() {
    TfrTextLayer* layer = frEngineState().TextLayer;
    return layer ? layer->MinHeight(*this) : 0;
}

qint32 TfrMemoView::RemainHeight() {
    TfrTextLayer* layer = frEngineState().TextLayer;
    return layer ? layer->RemainHeight(*this) : 0;
}

void TfrMemoView::WriteToStream(QIODevice& stream) const {
    TfrView::WriteToStream(stream);
    frWriteString(stream, Font.face);
    frWriteInt(stream, Font.size);
    frWriteWord(stream, Font.style);
    frWriteInt(stream, static_cast<qint32>(Font.color));
    frWriteInt(stream, Alignment);
    frWriteWord(stream, static_cast<quint16>(Font.charset & 0xFF));
    if (!Prepared) {
        frWriteWord(stream, Highlight.FontStyle);
        frWriteInt(stream, static_cast<qint32>(Highlight.FontColor));
        frWriteInt(stream, static_cast<qint32>(Highlight.FillColor));
        frWriteString(stream, HighlightCondition);
    }
    frWriteInt(stream, LineSpacing);
    frWriteInt(stream, CharSpacing);
}

void TfrMemoView::ReadFromStream(QIODevice& stream) {
    TfrView::ReadFromStream(stream);
    Font.face = frReadString(stream);
    Font.size = frReadInt(stream);
    Font.style = static_cast<quint8>(frReadWord(stream) & 15);
    Font.color = static_cast<quint32>(frReadInt(stream));
    Alignment = frReadInt(stream);
    Font.charset = frReadWord(stream) & 0xFF;
    if (!Prepared) {
        Highlight.FontStyle = frReadWord(stream);
        Highlight.FontColor = static_cast<quint32>(frReadInt(stream));
        Highlight.FillColor = static_cast<quint32>(frReadInt(stream));
        HighlightCondition = frReadString(stream);
    }
    if (frEngineState().StreamVersion > 23) {
        LineSpacing = frReadInt(stream);
        CharSpacing = frReadInt(stream);
    }
}
