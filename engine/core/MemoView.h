#pragma once

#include "Canvas.h"
#include "Objects.h"

#include <QString>
#include <QtGlobal>

// Horizontal alignment in bits 0-1 of TfrMemoView::Alignment; the other values are bits.
inline constexpr qint32 frtaLeft = 0;
inline constexpr qint32 frtaRight = 1;
inline constexpr qint32 frtaCenter = 2;
inline constexpr qint32 frtaVertical = 4;
inline constexpr qint32 frtaMiddle = 8;
inline constexpr qint32 frtaDown = 16;

// The font style code of the engine: the same bits as CanvasFont::Style.
inline constexpr quint16 fsItalic = 1;
inline constexpr quint16 fsBold = 2;
inline constexpr quint16 fsUnderline = 4;
inline constexpr quint16 fsStrikeOut = 8;

// What replaces the font style, font colour and fill while the highlight condition holds.
struct TfrHighlightAttr {
    quint16 FontStyle{fsBold};
    quint32 FontColor{clBlack};
    quint32 FillColor{0xFFFFFF};

    bool operator==(const TfrHighlightAttr&) const = default;
};

// The text object. Expansion, line breaking, drawing and measuring belong to the engine's
// text layer (TfrEngineState::TextLayer).
class TfrMemoView : public TfrStretcheable {
public:
    TfrMemoView();

    void SetProperty(const QString& name, const QVariant& value) override;
    QVariant GetProperty(const QString& name) const override;
    QVariant CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                        const QVariant& p3) override;
    void ListProperties() override;
    // A field's text into WorkMemo.
    void LoadFromField(const QVariant& field) override;

    // Through the text layer. Without one a text object paints nothing, measures 0 and
    // raises a failure when printed.
    void PaintObject(Canvas& canvas) override;
    void Print(QIODevice& stream) override;
    qint32 CalcHeight() override;
    qint32 MinHeight() override;
    qint32 RemainHeight() override;

    void ReadFromStream(QIODevice& stream) override;
    void WriteToStream(QIODevice& stream) const override;
    QString ClassName() const override { return QStringLiteral("TfrMemoView"); }

    // face, size in points, style in the engine's style code, colour, character set
    CanvasFont Font;
    QString PreviousText;
    bool Prewrapped{false};
    bool FitToBottom{false};
    qint32 TextHeight{0};
    qint32 LinesDone{0};
    bool Exporting{false};
    qint32 Alignment{frtaLeft};
    TfrHighlightAttr Highlight;
    QString HighlightCondition;
    qint32 LineSpacing{2};
    qint32 CharSpacing{0};
};
