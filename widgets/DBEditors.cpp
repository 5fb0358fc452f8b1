#include "DBEditors.h"

#include "Failure.h"
#include "Field.h"
#include "Table.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A small down arrow for the calendar button.
QIcon DropDownIcon(const QColor& ink) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
    return QIcon(pixmap);
}

}  // namespace

// ---- the shared binding --------------------------------------------------------------------

TTextBinding::TTextBinding(QWidget& control, TFailureSink& errors)
    : control_(control), errors_(errors) {
    Link.OnDataChange = [this] {
        // Starting a new row shows it, but what the user typed is the row's first input.
        if (!beginning_)
            Show();
    };
    Link.OnActiveChange = [this] { UpdateReadOnly(); };
    Link.OnUpdateData = [this] {
        if (TField* field = Link.Field())
            WriteText(*field, Text());
    };
}

void TTextBinding::UpdateReadOnly() {
    if (ApplyReadOnly)
        ApplyReadOnly(EffectiveReadOnly());
}

void TTextBinding::Show() {
    showing_ = true;
    UpdateReadOnly();
    const TField* field = Link.Field();
    ShowText(field ? FieldText(*field) : QString());
    showing_ = false;
}

bool TTextBinding::BeginEdit() {
    if (EffectiveReadOnly())
        return false;
    if (Link.Editing())
        return true;
    beginning_ = true;
    bool editing = false;
    errors_.Guard([&] { editing = Link.Edit(); });
    beginning_ = false;
    return editing;
}

void TTextBinding::UserChanged() {
    if (showing_)
        return;
    if (BeginEdit()) {
        Link.Modified();
    } else {
        QApplication::beep();
        Show();
    }
}

void TTextBinding::Leave() {
    if (leaving_)
        return;  // the error box of a refusal takes the focus too
    leaving_ = true;
    const bool written = errors_.Guard([&] { Link.UpdateRecord(); });
    leaving_ = false;
    if (written)
        return;
    QPointer<QWidget> control(&control_);
    QTimer::singleShot(0, &control_, [this, control] {
        if (control && control->isVisible()) {
            control->setFocus(Qt::OtherFocusReason);
            SelectAll();
        }
    });
}

// ---- memo ----------------------------------------------------------------------------------

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent), TBoundText(*this, *this) {
    binding_.Text = [this] { return toPlainText(); };
    binding_.ShowText = [this](const QString& text) { setPlainText(text); };
    binding_.FieldText = [](const TField& field) {
        QString text = field.AsString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    };
    binding_.WriteText = [](TField& field, const QString& text) { field.SetAsString(text); };
    binding_.ApplyReadOnly = [this](bool readOnly) { setReadOnly(readOnly); };
    binding_.SelectAll = [this] { selectAll(); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] { binding_.UserChanged(); });
    binding_.Show();
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
    // Shift and Ctrl would insert a line break here: without WantReturns every Enter stores.
    if (IsEnter(event) && !wantReturns_ &&
        !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier))) {
        emit EnterPressed();
        event->ignore();  // on to the window: a dialog's default button
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        emit EscapePressed();
        event->ignore();  // on to the window: a dialog's cancel button
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    binding_.Leave();
    emit Exited();
}

// ---- single-line edit ----------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), TBoundText(*this, *this) {
    binding_.Text = [this] { return text(); };
    binding_.ShowText = [this](const QString& text) {
        const TField* field = binding_.Link.Field();
        const bool limited = field && field->DataType() == TFieldType::String && field->Size() > 0;
        setMaxLength(limited ? field->Size() : 32767);
        setText(text);
        setCursorPosition(0);
    };
    binding_.FieldText = [](const TField& field) { return field.AsString(); };
    binding_.WriteText = [](TField& field, const QString& text) {
        if (field.DataType() != TFieldType::String && text.trimmed().isEmpty())
            field.Clear();
        else
            field.SetAsString(text);
    };
    binding_.ApplyReadOnly = [this](bool readOnly) { setReadOnly(readOnly); };
    binding_.SelectAll = [this] { selectAll(); };
    connect(this, &QLineEdit::textEdited, this, [this] { binding_.UserChanged(); });
    binding_.Show();
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        binding_.Leave();
}

// ---- date edit -----------------------------------------------------------------------------

TDBDateEdit::TDBDateEdit(QWidget* parent) : QLineEdit(parent), TBoundText(*this, *this) {
    setInputMask(QStringLiteral("99.99.9999;_"));
    button_ =
        addAction(DropDownIcon(palette().color(QPalette::ButtonText)), QLineEdit::TrailingPosition);
    button_->setToolTip(QStringLiteral("Календарь"));
    connect(button_, &QAction::triggered, this, &TDBDateEdit::DropDown);

    binding_.Text = [this] { return text(); };
    binding_.ShowText = [this](const QString& text) {
        setText(text);
        setCursorPosition(0);
    };
    binding_.FieldText = [](const TField& field) {
        return field.IsNull() ? QString() : field.AsDateTime().date().toString(kDateFormat);
    };
    binding_.WriteText = [](TField& field, const QString& text) {
        if (QString(text).remove(QLatin1Char('.')).trimmed().isEmpty()) {
            field.Clear();
            return;
        }
        const QDate date = QDate::fromString(text, kDateFormat);
        if (!date.isValid())
            throw DatabaseError(QStringLiteral("'%1' не является допустимой датой").arg(text));
        // The time of day the row had stays.
        const QTime time = field.IsNull() ? QTime(0, 0) : field.AsDateTime().time();
        field.SetValue(QDateTime(date, time));
    };
    binding_.ApplyReadOnly = [this](bool readOnly) {
        setReadOnly(readOnly);
        button_->setEnabled(!readOnly);
    };
    binding_.SelectAll = [this] { selectAll(); };
    connect(this, &QLineEdit::textEdited, this, [this] { binding_.UserChanged(); });
    binding_.Show();
}

QDate TDBDateEdit::Date() const {
    return QDate::fromString(text(), kDateFormat);
}

bool TDBDateEdit::DroppedDown() const {
    return popup_ && popup_->isVisible();
}

void TDBDateEdit::DropDown() {
    if (binding_.EffectiveReadOnly()) {
        QApplication::beep();
        return;
    }
    if (!popup_) {
        popup_ = new QFrame(this, Qt::Popup);
        popup_->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(popup_);
        layout->setContentsMargins(1, 1, 1, 1);
        calendar_ = new QCalendarWidget(popup_);
        calendar_->setGridVisible(true);
        layout->addWidget(calendar_);
        connect(calendar_, &QCalendarWidget::clicked, this, &TDBDateEdit::Pick);
        connect(calendar_, &QCalendarWidget::activated, this, &TDBDateEdit::Pick);
    }
    const QDate shown = Date();
    calendar_->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    popup_->adjustSize();
    QPoint place = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        if (place.y() + popup_->height() > room.bottom())
            place.setY(mapToGlobal(QPoint(0, 0)).y() - popup_->height());
        place.setX(std::clamp(place.x(), room.left(),
                              std::max(room.left(), room.right() - popup_->width())));
    }
    popup_->move(place);
    popup_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

void TDBDateEdit::Pick(const QDate& date) {
    popup_->hide();
    setFocus(Qt::PopupFocusReason);
    if (!binding_.BeginEdit()) {
        QApplication::beep();
        return;
    }
    setText(date.toString(kDateFormat));
    binding_.Link.Modified();
}

void TDBDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        DropDown();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        binding_.Leave();
}

// ---- check box -----------------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(QWidget* parent) : TDBCheckBox(QString(), parent) {}

TDBCheckBox::TDBCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    link_.OnDataChange = [this] {
        const TField* field = link_.Field();
        setChecked(field && !field->IsNull() && field->AsBoolean());
    };
    link_.OnDataChange();
}

void TDBCheckBox::nextCheckState() {
    // Read-only: a click or Space leaves the box as the field has it.
}
