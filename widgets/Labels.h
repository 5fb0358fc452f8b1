#pragma once

#include "Canvas.h"
#include "DataLink.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class ImageCanvas;
class TDataSource;
class TField;

enum class TAlignment { LeftJustify, RightJustify, Center };
enum class TTextLayout { Top, Center, Bottom };
enum class TBevelCut { None, Lowered, Raised };

// A widget font as the canvas takes it, in the given colour.
CanvasFont CanvasFontOf(const QFont& font, quint32 color);

// A label with raised text: a highlight copy up and left, a shadow copy down and right and the
// text on top; bevels at the edge; an optional blinking look. It takes no input; an "&" in the
// caption gives FocusControl the focus with Alt and the marked letter. Colours are canvas
// colours (system colours allowed). Everything is drawn by Paint through the canvas.
class TrCustomLabel : public QWidget {
    Q_OBJECT
public:
    explicit TrCustomLabel(QWidget* parent = nullptr);
    ~TrCustomLabel() override;

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // Size the label to its text; a right-aligned label keeps its right edge.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // Nothing of the background is filled.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    bool Text3D() const { return text3D_; }
    void SetText3D(bool on);
    bool RaisedTop() const { return raisedTop_; }
    void SetRaisedTop(bool on);
    bool RaisedBottom() const { return raisedBottom_; }
    void SetRaisedBottom(bool on);
    quint32 RaisedTopColor() const { return raisedTopColor_; }
    void SetRaisedTopColor(quint32 color);
    quint32 RaisedBottomColor() const { return raisedBottomColor_; }
    void SetRaisedBottomColor(quint32 color);
    int RaisedTopDistance() const { return raisedTopDistance_; }
    void SetRaisedTopDistance(int pixels);
    int RaisedBottomDistance() const { return raisedBottomDistance_; }
    void SetRaisedBottomDistance(int pixels);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int pixels);
    // Space between the two bevels.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int pixels);
    // Fill only inside the bevels.
    bool BorderTransparent() const { return borderTransparent_; }
    void SetBorderTransparent(bool transparent);

    bool Blink() const { return blink_; }
    void SetBlink(bool blink);
    int BlinkSpeed() const { return blinkSpeed_; }
    void SetBlinkSpeed(int milliseconds);
    quint32 BlinkColor() const { return blinkColor_; }
    void SetBlinkColor(quint32 color);
    quint32 BlinkTopColor() const { return blinkTopColor_; }
    void SetBlinkTopColor(quint32 color);
    quint32 BlinkBottomColor() const { return blinkBottomColor_; }
    void SetBlinkBottomColor(quint32 color);
    bool BlinkTransparent() const { return blinkTransparent_; }
    void SetBlinkTransparent(bool transparent) { blinkTransparent_ = transparent; }
    // The blinking look is showing now.
    bool Blinking() const { return blinking_; }

    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control);

    // Background and text colours.
    quint32 Color() const { return color_; }
    void SetColor(quint32 color);
    quint32 FontColor() const { return fontColor_; }
    void SetFontColor(quint32 color);

    // Draws the label with its top-left corner at (0, 0).
    void Paint(Canvas& canvas) const;
    // The size auto-size gives the label.
    QSize AutoSizeExtent() const;
    QSize sizeHint() const override { return AutoSizeExtent(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    // Sets a property and, when it changed, sizes the label again (when asked) and repaints.
    template <typename T>
    void Set(T& member, const T& value, bool resize) {
        if (member == value)
            return;
        member = value;
        Changed(resize);
    }
    void Changed(bool resize);

    // Members a subclass's constructor sets without sizing the label.
    bool showAccelChar_{true};
    bool text3D_{true};
    TBevelCut bevelOuter_{TBevelCut::None};

private:
    void AdjustBounds();
    void UpdateShortcut();
    void UpdateOpaque();
    unsigned TextFormat() const;
    // Border and bevels on each side.
    int FrameWidth() const;
    Canvas& MeasureCanvas() const;

    QString caption_;
    TAlignment alignment_{TAlignment::LeftJustify};
    TTextLayout layout_{TTextLayout::Top};
    bool wordWrap_{false};
    bool autoSize_{true};
    bool transparent_{false};
    bool raisedTop_{true};
    bool raisedBottom_{true};
    quint32 raisedTopColor_{SysColor::BtnHighlight};
    quint32 raisedBottomColor_{SysColor::BtnShadow};
    int raisedTopDistance_{1};
    int raisedBottomDistance_{1};
    TBevelCut bevelInner_{TBevelCut::None};
    int bevelWidth_{1};
    int borderWidth_{0};
    bool borderTransparent_{false};
    bool blink_{false};
    int blinkSpeed_{500};
    quint32 blinkColor_{SysColor::GrayText};
    quint32 blinkTopColor_{SysColor::BtnShadow};
    quint32 blinkBottomColor_{SysColor::BtnHighlight};
    bool blinkTransparent_{true};
    bool blinking_{false};
    QTimer blinkTimer_;
    QPointer<QWidget> focusControl_;
    int shortcutId_{0};
    quint32 color_{SysColor::BtnFace};
    quint32 fontColor_{SysColor::WindowText};
    mutable std::unique_ptr<ImageCanvas> measure_;
};

class TrLabel : public TrCustomLabel {
    Q_OBJECT
public:
    using TrCustomLabel::TrCustomLabel;
};

// A label showing the display text of a column of the current row: a date in the short date
// format, a number as text, a text as it stands; empty for null and when nothing is bound.
// Flat, with a lowered outer bevel, "&" shown as it stands.
class TDBStaticText : public TrCustomLabel {
    Q_OBJECT
public:
    explicit TDBStaticText(QWidget* parent = nullptr);
    ~TDBStaticText() override;

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);
    const QString& DataField() const { return link_.FieldName(); }
    void SetDataField(const QString& name);
    TField* Field() const { return link_.Field(); }

private:
    void DataChange();

    TFieldDataLink link_;
    QMetaObject::Connection sourceGone_;
};
