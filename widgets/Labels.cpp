#include "Labels.h"

#include "DataSource.h"
#include "Failure.h"
#include "Field.h"
#include "PainterCanvas.h"
#include "Table.h"

#include <QEvent>
#include <QKeySequence>
#include <QShortcutEvent>
#include <cmath>

namespace {

// Wide enough for any line a label measures without word wrap.
constexpr int kUnbounded = 1 << 20;

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

Canvas::BevelKind KindOf(TBevelCut bevel) {
    return bevel == TBevelCut::Raised ? Canvas::Raised : Canvas::Lowered;
}

}  // namespace

CanvasFont CanvasFontOf(const QFont& font, quint32 color) {
    CanvasFont result;
    result.face = font.family();
    if (font.pointSizeF() > 0) {
        result.size = RoundHalfEven(font.pointSizeF());
        result.unit = CanvasFont::Points;
    } else {
        result.size = font.pixelSize();
        result.unit = CanvasFont::Pixels;
    }
    result.style = 0;
    if (font.italic())
        result.style |= CanvasFont::Italic;
    if (font.bold())
        result.style |= CanvasFont::Bold;
    if (font.underline())
        result.style |= CanvasFont::Underline;
    if (font.strikeOut())
        result.style |= CanvasFont::StrikeOut;
    result.color = color;
    return result;
}

// --- the label

TrCustomLabel::TrCustomLabel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(65, 17);
    connect(&blinkTimer_, &QTimer::timeout, this, [this] {
        if (!isEnabled())
            return;
        blinking_ = !blinking_;
        update();
    });
    UpdateOpaque();
}

TrCustomLabel::~TrCustomLabel() = default;

void TrCustomLabel::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    UpdateShortcut();
    Changed(true);
}

void TrCustomLabel::SetAlignment(TAlignment alignment) {
    Set(alignment_, alignment, false);
}

void TrCustomLabel::SetLayout(TTextLayout layout) {
    Set(layout_, layout, false);
}

void TrCustomLabel::SetWordWrap(bool wrap) {
    Set(wordWrap_, wrap, true);
}

void TrCustomLabel::SetAutoSize(bool autoSize) {
    Set(autoSize_, autoSize, true);
}

void TrCustomLabel::SetShowAccelChar(bool show) {
    if (showAccelChar_ == show)
        return;
    showAccelChar_ = show;
    UpdateShortcut();
    Changed(true);
}

void TrCustomLabel::SetTransparent(bool transparent) {
    Set(transparent_, transparent, false);
    UpdateOpaque();
}

void TrCustomLabel::SetText3D(bool on) {
    Set(text3D_, on, true);
}

void TrCustomLabel::SetRaisedTop(bool on) {
    Set(raisedTop_, on, true);
}

void TrCustomLabel::SetRaisedBottom(bool on) {
    Set(raisedBottom_, on, true);
}

void TrCustomLabel::SetRaisedTopColor(quint32 color) {
    Set(raisedTopColor_, color, false);
}

void TrCustomLabel::SetRaisedBottomColor(quint32 color) {
    Set(raisedBottomColor_, color, false);
}

void TrCustomLabel::SetRaisedTopDistance(int pixels) {
    Set(raisedTopDistance_, std::max(0, pixels), true);
}

void TrCustomLabel::SetRaisedBottomDistance(int pixels) {
    Set(raisedBottomDistance_, std::max(0, pixels), true);
}

void TrCustomLabel::SetBevelOuter(TBevelCut bevel) {
    Set(bevelOuter_, bevel, true);
}

void TrCustomLabel::SetBevelInner(TBevelCut bevel) {
    Set(bevelInner_, bevel, true);
}

void TrCustomLabel::SetBevelWidth(int pixels) {
    Set(bevelWidth_, std::max(1, pixels), true);
}

void TrCustomLabel::SetBorderWidth(int pixels) {
    Set(borderWidth_, std::max(0, pixels), true);
}

void TrCustomLabel::SetBorderTransparent(bool transparent) {
    Set(borderTransparent_, transparent, false);
    UpdateOpaque();
}

void TrCustomLabel::SetBlink(bool blink) {
    if (blink_ == blink)
        return;
    blink_ = blink;
    if (blink) {
        blinkTimer_.start(blinkSpeed_);
    } else {
        blinkTimer_.stop();
        blinking_ = false;
        update();
    }
}

void TrCustomLabel::SetBlinkSpeed(int milliseconds) {
    blinkSpeed_ = std::max(1, milliseconds);
    blinkTimer_.setInterval(blinkSpeed_);
}

void TrCustomLabel::SetBlinkColor(quint32 color) {
    Set(blinkColor_, color, false);
}

void TrCustomLabel::SetBlinkTopColor(quint32 color) {
    Set(blinkTopColor_, color, false);
}

void TrCustomLabel::SetBlinkBottomColor(quint32 color) {
    Set(blinkBottomColor_, color, false);
}

void TrCustomLabel::SetFocusControl(QWidget* control) {
    focusControl_ = control;
    UpdateShortcut();
}

void TrCustomLabel::SetColor(quint32 color) {
    Set(color_, color, false);
}

void TrCustomLabel::SetFontColor(quint32 color) {
    Set(fontColor_, color, false);
}

void TrCustomLabel::Changed(bool resize) {
    if (resize)
        AdjustBounds();
    update();
}

// Qt paints whatever lies under a widget that does not fill itself, so a transparent label
// needs nothing more of its parent.
void TrCustomLabel::UpdateOpaque() {
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_ && !borderTransparent_);
}

int TrCustomLabel::FrameWidth() const {
    int w = borderWidth_;
    if (bevelOuter_ != TBevelCut::None)
        w += bevelWidth_;
    if (bevelInner_ != TBevelCut::None)
        w += bevelWidth_;
    return w;
}

unsigned TrCustomLabel::TextFormat() const {
    unsigned format = Canvas::TextExpandTabs;
    switch (alignment_) {
        case TAlignment::LeftJustify:
            format |= Canvas::TextLeft;
            break;
        case TAlignment::RightJustify:
            format |= Canvas::TextRight;
            break;
        case TAlignment::Center:
            format |= Canvas::TextCenter;
            break;
    }
    if (wordWrap_)
        format |= Canvas::TextWordBreak;
    if (!showAccelChar_)
        format |= Canvas::TextNoPrefix;
    return format;
}

Canvas& TrCustomLabel::MeasureCanvas() const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    if (!measure_ || measure_->DpiY() != dpi)
        measure_ = std::make_unique<ImageCanvas>(QSize(8, 8), dpi);
    return *measure_;
}

QSize TrCustomLabel::AutoSizeExtent() const {
    Canvas& canvas = MeasureCanvas();
    canvas.SelectFont(CanvasFontOf(font(), fontColor_));
    const int w = FrameWidth();
    QString text = caption_;
    if (text.isEmpty() || (showAccelChar_ && text == QLatin1String("&")))
        text = QStringLiteral(" ");
    const CanvasRect area{0, 0, wordWrap_ ? std::max(1, width() - 2 * w) : kUnbounded, kUnbounded};
    const CanvasRect bounds = canvas.TextBounds(area, text, TextFormat());
    const int extra = 2 * w + raisedTopDistance_ + raisedBottomDistance_;
    return {bounds.Width() + extra, bounds.Height() + extra};
}

void TrCustomLabel::AdjustBounds() {
    updateGeometry();
    if (!autoSize_)
        return;
    const QSize size = AutoSizeExtent();
    int left = x();
    if (alignment_ == TAlignment::RightJustify)
        left += width() - size.width();
    setGeometry(left, y(), size.width(), size.height());
}

void TrCustomLabel::Paint(Canvas& canvas) const {
    CanvasRect area{0, 0, width(), height()};
    const CanvasBrush fill{color_, CanvasBrush::Solid};
    if (!transparent_ && !borderTransparent_) {
        canvas.SetBrush(fill);
        canvas.FillRect(area);
    }
    if (bevelOuter_ != TBevelCut::None)
        area = canvas.DrawBevel(area, KindOf(bevelOuter_), bevelWidth_);
    area = {area.left + borderWidth_, area.top + borderWidth_, area.right - borderWidth_,
            area.bottom - borderWidth_};
    if (bevelInner_ != TBevelCut::None)
        area = canvas.DrawBevel(area, KindOf(bevelInner_), bevelWidth_);
    if (!transparent_ && borderTransparent_) {
        canvas.SetBrush(fill);
        canvas.FillRect(area);
    }

    const bool topCopy = text3D_ && raisedTop_;
    const bool bottomCopy = text3D_ && raisedBottom_;
    const quint32 textColor = blinking_ ? blinkColor_ : fontColor_;
    const quint32 topColor = blinking_ ? blinkTopColor_ : raisedTopColor_;
    const quint32 bottomColor = blinking_ ? blinkBottomColor_ : raisedBottomColor_;
    CanvasFont textFont = CanvasFontOf(font(), textColor);
    canvas.SelectFont(textFont);
    const unsigned format = TextFormat();

    int dx = 0;
    if (alignment_ == TAlignment::LeftJustify && topCopy)
        dx = raisedTopDistance_;
    else if (alignment_ == TAlignment::RightJustify && bottomCopy)
        dx = -raisedBottomDistance_;
    int dy = 0;
    const int w = FrameWidth();
    if (layout_ == TTextLayout::Top) {
        if (topCopy)
            dy = raisedTopDistance_;
    } else {
        const int textHeight = canvas.TextBounds(area, caption_, format).Height();
        if (layout_ == TTextLayout::Center) {
            dy = RoundHalfEven((height() - textHeight) / 2.0) - w;
        } else {
            dy = height() - textHeight - 2 * w;
            if (bottomCopy)
                dy -= raisedBottomDistance_;
        }
    }
    const CanvasRect textRect = area.Translated(dx, dy);
    const unsigned drawFormat = format | Canvas::TextNoClip;
    const auto draw = [&](quint32 color, int offset) {
        textFont.color = color;
        canvas.SelectFont(textFont);
        canvas.DrawText(textRect.Translated(offset, offset), caption_, drawFormat);
    };

    canvas.SaveClip();
    canvas.IntersectClipRect(area);
    if (!isEnabled()) {
        draw(SysColor::BtnHighlight, 1);
        draw(SysColor::GrayText, 0);
    } else {
        if (topCopy)
            draw(topColor, -raisedTopDistance_);
        if (bottomCopy)
            draw(bottomColor, raisedBottomDistance_);
        draw(textColor, 0);
    }
    canvas.RestoreClip();
}

void TrCustomLabel::paintEvent(QPaintEvent*) {
    PainterCanvas canvas(*this);
    Paint(canvas);
}

void TrCustomLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        Changed(true);
    else if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TrCustomLabel::UpdateShortcut() {
    if (shortcutId_ != 0) {
        releaseShortcut(shortcutId_);
        shortcutId_ = 0;
    }
    if (!showAccelChar_ || !focusControl_)
        return;
    const QKeySequence sequence = QKeySequence::mnemonic(caption_);
    if (!sequence.isEmpty())
        shortcutId_ = grabShortcut(sequence);
}

bool TrCustomLabel::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && shortcutId_ != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == shortcutId_) {
        QWidget* control = focusControl_;
        if (isEnabled() && control && control->isEnabled() && control->isVisible() &&
            control->focusPolicy() != Qt::NoFocus)
            control->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(event);
}

// --- the data-aware label

TDBStaticText::TDBStaticText(QWidget* parent) : TrCustomLabel(parent) {
    showAccelChar_ = false;
    text3D_ = false;
    bevelOuter_ = TBevelCut::Lowered;
    link_.OnDataChange = [this] { DataChange(); };
}

TDBStaticText::~TDBStaticText() = default;

void TDBStaticText::SetDataSource(TDataSource* source) {
    if (sourceGone_)
        disconnect(sourceGone_);
    link_.SetDataSource(source);
    if (source)
        sourceGone_ = connect(source, &QObject::destroyed, this, [this] { DataChange(); });
}

void TDBStaticText::SetDataField(const QString& name) {
    link_.SetFieldName(name);
}

void TDBStaticText::DataChange() {
    TField* field = link_.Field();
    QString text;
    if (field) {
        try {
            text = field->DisplayText(field->DataSet().CurrentRow());
        } catch (const Failure& failure) {
            // A lookup that cannot be resolved shows nothing; there is nobody to tell.
            qWarning("%s", qUtf8Printable(failure.Message()));
        }
    }
    SetCaption(text);
}
