#include "SpinEdit.h"

#include "AppFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kButtonWidth = 16;
constexpr int kFirstRepeat = 400;
constexpr int kRepeat = 100;
// Beyond this a double no longer converts to a 64-bit integer.
constexpr double kIntegerLimit = 9.0e18;

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString ShortcutSuffix(QKeySequence::StandardKey key) {
    const QKeySequence sequence(key);
    return sequence.isEmpty() ? QString()
                              : QLatin1Char('\t') + sequence.toString(QKeySequence::NativeText);
}

}  // namespace

// --- the buttons

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    repeat_.setInterval(kFirstRepeat);
    connect(&repeat_, &QTimer::timeout, this, [this] {
        repeat_.setInterval(kRepeat);
        Step();
    });
}

QRect TSpinButton::TopRect() const {
    return {0, 0, width(), height() / 2};
}

QRect TSpinButton::BottomRect() const {
    return {0, height() / 2, width(), height() - height() / 2};
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto half = [&](const QRect& rect, bool down, QStyle::PrimitiveElement arrow) {
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = rect;
        panel.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);
        QStyleOption glyph;
        glyph.initFrom(this);
        glyph.rect = rect.adjusted(3, 2, -3, -2);
        if (down)
            glyph.rect.translate(1, 1);
        style()->drawPrimitive(arrow, &glyph, &painter, this);
    };
    half(TopRect(), pressed_ == Part::Top, QStyle::PE_IndicatorArrowUp);
    half(BottomRect(), pressed_ == Part::Bottom, QStyle::PE_IndicatorArrowDown);
}

void TSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = TopRect().contains(event->position().toPoint()) ? Part::Top : Part::Bottom;
    if (FocusControl && !FocusControl->hasFocus() && (FocusControl->focusPolicy() & Qt::ClickFocus))
        FocusControl->setFocus(Qt::MouseFocusReason);
    update();
    Step();
    if (pressed_ != Part::None) {
        repeat_.setInterval(kFirstRepeat);
        repeat_.start();
    }
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Stop();
    QWidget::mouseReleaseEvent(event);
}

void TSpinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        Stop();
    QWidget::changeEvent(event);
}

void TSpinButton::Step() {
    if (pressed_ == Part::Top && OnTopClick)
        OnTopClick();
    else if (pressed_ == Part::Bottom && OnBottomClick)
        OnBottomClick();
}

void TSpinButton::Stop() {
    repeat_.stop();
    pressed_ = Part::None;
    update();
}

// --- the edit

TCustomSpinEdit::TCustomSpinEdit(QWidget* parent) : QLineEdit(parent) {
    button_ = new TSpinButton(this);
    button_->FocusControl = this;
    button_->setCursor(Qt::ArrowCursor);
    button_->OnTopClick = [this] { Guard([this] { UpClick(); }); };
    button_->OnBottomClick = [this] { Guard([this] { DownClick(); }); };
    setTextMargins(0, 0, kButtonWidth, 0);
    connect(this, &QLineEdit::textChanged, this, [this] { Guard([this] { Change(); }); });
    setText(QStringLiteral("0"));
    PlaceButton();
}

TCustomSpinEdit::~TCustomSpinEdit() = default;

qlonglong TCustomSpinEdit::RoundToInteger(double value) {
    // Halves to even: the default rounding mode of the floating-point unit.
    return static_cast<qlonglong>(std::nearbyint(std::clamp(value, -kIntegerLimit, kIntegerLimit)));
}

QLocale TCustomSpinEdit::NumberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

double TCustomSpinEdit::Value() const {
    const QString t = text().trimmed();
    bool ok = false;
    double value = 0;
    switch (valueType_) {
        case TValueType::Integer:
            value = static_cast<double>(t.toLongLong(&ok));
            break;
        case TValueType::Hex:
            value = static_cast<double>(t.toLongLong(&ok, 16));
            break;
        case TValueType::Float:
            value = NumberLocale().toDouble(t, &ok);
            if (!ok)
                value = t.toDouble(&ok);
            break;
    }
    return ok && std::isfinite(value) ? value : minValue_;
}

void TCustomSpinEdit::SetValue(double value) {
    setText(ValueText(CheckValue(value)));
}

QString TCustomSpinEdit::ValueText(double value) const {
    switch (valueType_) {
        case TValueType::Integer:
            return QString::number(RoundToInteger(value));
        case TValueType::Hex:
            return QString::number(RoundToInteger(value), 16).toUpper();
        case TValueType::Float:
            return NumberLocale().toString(value, 'f', decimal_);
    }
    return QString();
}

void TCustomSpinEdit::SetValueType(TValueType type) {
    if (valueType_ == type)
        return;
    const double value = Value();
    valueType_ = type;
    SetValue(value);
}

void TCustomSpinEdit::SetDecimal(int digits) {
    digits = std::clamp(digits, 0, 15);
    if (decimal_ == digits)
        return;
    const double value = Value();
    decimal_ = digits;
    if (valueType_ == TValueType::Float)
        SetValue(value);
}

double TCustomSpinEdit::CheckValue(double value) const {
    if (checkMin_ && value < minValue_)
        value = minValue_;
    if (checkMax_ && value > maxValue_)
        value = maxValue_;
    return value;
}

void TCustomSpinEdit::SetBound(double& bound, bool& check, bool checkExplicit, double otherBound,
                               bool& otherCheck, bool otherExplicit, double value) {
    if (bound == value)
        return;
    const bool crossed = (bound == 0) != (value == 0);
    bound = value;
    if (value != 0)
        check = true;
    else if (crossed && !checkExplicit)
        check = false;
    if (crossed && !otherExplicit)
        otherCheck = value != 0 || otherBound != 0;
    RangeChanged();
}

void TCustomSpinEdit::SetMinValue(double value) {
    SetBound(minValue_, checkMin_, checkMinExplicit_, maxValue_, checkMax_, checkMaxExplicit_,
             value);
}

void TCustomSpinEdit::SetMaxValue(double value) {
    SetBound(maxValue_, checkMax_, checkMaxExplicit_, minValue_, checkMin_, checkMinExplicit_,
             value);
}

void TCustomSpinEdit::SetCheckMinValue(bool check) {
    checkMinExplicit_ = true;
    check = check || minValue_ != 0;
    if (checkMin_ == check)
        return;
    checkMin_ = check;
    RangeChanged();
}

void TCustomSpinEdit::SetCheckMaxValue(bool check) {
    checkMaxExplicit_ = true;
    check = check || maxValue_ != 0;
    if (checkMax_ == check)
        return;
    checkMax_ = check;
    RangeChanged();
}

void TCustomSpinEdit::RangeChanged() {
    SetValue(Value());
}

void TCustomSpinEdit::SetEditorEnabled(bool enabled) {
    editorEnabled_ = enabled;
    UpdateTextReadOnly();
}

void TCustomSpinEdit::SetMaxLength(int length) {
    setMaxLength(length > 0 ? length : 32767);
}

void TCustomSpinEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    UpdateTextReadOnly();
}

void TCustomSpinEdit::UpdateTextReadOnly() {
    setReadOnly(TextReadOnly());
}

void TCustomSpinEdit::UpClick() {
    if (!BeginEdit()) {
        Beep();
        return;
    }
    SetValue(Value() + increment_);
    if (OnTopClick)
        OnTopClick();
}

void TCustomSpinEdit::DownClick() {
    if (!BeginEdit()) {
        Beep();
        return;
    }
    SetValue(Value() - increment_);
    if (OnBottomClick)
        OnBottomClick();
}

void TCustomSpinEdit::Change() {
    if (OnChange)
        OnChange();
}

bool TCustomSpinEdit::IsValidChar(QChar c) const {
    if (c.category() == QChar::Other_Control)
        return true;
    if (!editorEnabled_)
        return false;
    const bool sign = c == QLatin1Char('+') || c == QLatin1Char('-');
    switch (valueType_) {
        case TValueType::Integer:
            return IsAsciiDigit(c) || sign;
        case TValueType::Hex:
            return IsAsciiDigit(c) || sign || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                   (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        case TValueType::Float: {
            if (IsAsciiDigit(c) || sign)
                return true;
            // What stays of the text when the typed character replaces the selection.
            QString rest = text();
            if (hasSelectedText())
                rest.remove(selectionStart(), selectedText().size());
            const QString separator = NumberLocale().decimalPoint();
            if (c == QLatin1Char('.') || QString(c) == separator)
                return !rest.contains(separator);
            if (c == QLatin1Char('e') || c == QLatin1Char('E'))
                return !rest.contains(QLatin1Char('e'), Qt::CaseInsensitive);
            return false;
        }
    }
    return false;
}

void TCustomSpinEdit::Beep() {
    QApplication::beep();
}

void TCustomSpinEdit::keyPressEvent(QKeyEvent* event) {
    Guard([&] { HandleKey(event); });
}

void TCustomSpinEdit::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (arrowKeys_ && (key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::NoModifier) {
        event->accept();
        if (key == Qt::Key_Up)
            UpClick();
        else
            DownClick();
        return;
    }
    if (key == Qt::Key_Escape && EscapeKey()) {
        // Undone here, and still offered to the window, so that a cancel button reacts.
        event->ignore();
        return;
    }

    const bool changesText =
        key == Qt::Key_Backspace || key == Qt::Key_Delete || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
        event->matches(QKeySequence::Redo) || event->matches(QKeySequence::DeleteEndOfWord) ||
        event->matches(QKeySequence::DeleteStartOfWord) ||
        event->matches(QKeySequence::DeleteEndOfLine) ||
        event->matches(QKeySequence::DeleteCompleteLine);
    const QString typed = event->text();
    const bool typing =
        !typed.isEmpty() &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (changesText) {
        event->accept();
        if (!editorEnabled_) {
            Beep();
            return;
        }
        if (!BeginEdit())
            return;
    } else if (typing) {
        event->accept();
        for (QChar c : typed) {
            if (!IsValidChar(c)) {
                Beep();
                return;
            }
        }
        if (!BeginEdit())
            return;
        const QString separator = NumberLocale().decimalPoint();
        if (valueType_ == TValueType::Float && typed == QLatin1String(".") && separator != typed) {
            insert(separator);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TCustomSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        Guard([this] { DoEnter(); });
}

void TCustomSpinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        Guard([this] { DoExit(); });
}

void TCustomSpinEdit::DoEnter() {
    if (autoSelect_)
        selectAll();
    else
        deselect();
}

void TCustomSpinEdit::DoExit() {
    if (!checkOnExit_ || text().trimmed().isEmpty())
        return;
    const double value = Value();
    if (CheckValue(value) != value)
        SetValue(value);
}

void TCustomSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceButton();
}

void TCustomSpinEdit::PlaceButton() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    button_->setGeometry(width() - frame - kButtonWidth, frame, kButtonWidth,
                         std::max(0, height() - 2 * frame));
}

// The edit control's own menu would offer nothing but copying while the box waits for
// BeginEdit; this one asks first.
void TCustomSpinEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool canEdit = CanEditText();
    const bool selected = hasSelectedText();
    const auto add = [&](const QString& caption, QKeySequence::StandardKey key, bool enabled,
                         bool changesText, std::function<void()> op) {
        QAction* action = menu.addAction(caption + ShortcutSuffix(key));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, changesText, op] {
            Guard([&] {
                if (!changesText || (CanEditText() && BeginEdit()))
                    op();
            });
        });
    };
    add(QLineEdit::tr("&Undo"), QKeySequence::Undo, canEdit && isUndoAvailable(), true,
        [this] { undo(); });
    add(QLineEdit::tr("&Redo"), QKeySequence::Redo, canEdit && isRedoAvailable(), true,
        [this] { redo(); });
    menu.addSeparator();
    add(QLineEdit::tr("Cu&t"), QKeySequence::Cut, canEdit && selected, true, [this] { cut(); });
    add(QLineEdit::tr("&Copy"), QKeySequence::Copy, selected, false, [this] { copy(); });
    add(QLineEdit::tr("&Paste"), QKeySequence::Paste,
        canEdit && !QGuiApplication::clipboard()->text().isEmpty(), true, [this] { paste(); });
    add(QLineEdit::tr("Delete"), QKeySequence::UnknownKey, canEdit && selected, true,
        [this] { del(); });
    menu.addSeparator();
    add(QLineEdit::tr("Select All"), QKeySequence::SelectAll,
        !text().isEmpty() && selectedText() != text(), false, [this] { selectAll(); });
    menu.exec(event->globalPos());
}
