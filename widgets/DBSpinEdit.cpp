#include "DBSpinEdit.h"

#include "DataSource.h"
#include "Failure.h"
#include "Field.h"
#include "Table.h"

namespace {

// Sets a flag for the length of a scope, and puts back what it was.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

Qt::Alignment AlignmentOf(const TField& field) {
    switch (field.DataType()) {
        case TFieldType::AutoInc:
        case TFieldType::Integer:
        case TFieldType::SmallInt:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

}  // namespace

TCustomDBSpinEdit::TCustomDBSpinEdit(QWidget* parent) : TCustomSpinEdit(parent) {
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnEditingChange = [this] { UpdateTextReadOnly(); };
    link_.OnUpdateData = [this] { UpdateData(); };
    link_.OnActiveChange = [this] {
        ApplyValueType(valueTypeAuto_ ? AutoValueType() : ValueType());
    };
    {
        const FlagScope scope(showing_);
        setText(QString());
    }
    UpdateAlignment();
    UpdateTextReadOnly();
}

TCustomDBSpinEdit::~TCustomDBSpinEdit() = default;

void TCustomDBSpinEdit::SetDataSource(TDataSource* source) {
    if (sourceGone_)
        disconnect(sourceGone_);
    link_.SetDataSource(source);
    if (source) {
        // The link forgets a destroyed source by itself; the box shows that it has none.
        sourceGone_ = connect(source, &QObject::destroyed, this, [this] {
            DataChange();
            UpdateTextReadOnly();
        });
    }
    UpdateTextReadOnly();
}

void TCustomDBSpinEdit::SetDataField(const QString& name) {
    link_.SetFieldName(name);
    if (valueTypeAuto_)
        ApplyValueType(AutoValueType());
    UpdateTextReadOnly();
}

TValueType TCustomDBSpinEdit::AutoValueType() const {
    // The store has integer, text, flag and date columns; none of them is floating-point.
    return TValueType::Integer;
}

void TCustomDBSpinEdit::SetValueTypeAuto(bool automatic) {
    valueTypeAuto_ = automatic;
    if (automatic)
        ApplyValueType(AutoValueType());
}

void TCustomDBSpinEdit::SetValueType(TValueType type) {
    if (type != AutoValueType())
        valueTypeAuto_ = false;
    ApplyValueType(type);
}

void TCustomDBSpinEdit::ApplyValueType(TValueType type) {
    if (type == ValueType())
        return;
    if (link_.IsModified()) {
        // The user's number, written with the new type.
        TCustomSpinEdit::SetValueType(type);
        return;
    }
    {
        const FlagScope scope(showing_);
        TCustomSpinEdit::SetValueType(type);
    }
    DataChange();
}

bool TCustomDBSpinEdit::BeginEdit() {
    return !ReadOnly() && link_.Edit();
}

bool TCustomDBSpinEdit::CanEditText() const {
    return TCustomSpinEdit::CanEditText() && link_.CanModify();
}

bool TCustomDBSpinEdit::TextReadOnly() const {
    return TCustomSpinEdit::TextReadOnly() || !link_.Editing() || !link_.CanModify();
}

bool TCustomDBSpinEdit::EscapeKey() {
    link_.Reset();
    selectAll();
    return true;
}

void TCustomDBSpinEdit::Change() {
    if (!showing_)
        link_.Modified();
    TCustomSpinEdit::Change();
}

void TCustomDBSpinEdit::RangeChanged() {
    if (!link_.Field())
        return;
    // Shown again from the column, so that a bound set by a window is not taken for input.
    if (link_.IsModified())
        TCustomSpinEdit::RangeChanged();
    else
        DataChange();
}

QString TCustomDBSpinEdit::ValueText(double value) const {
    if (ValueType() == TValueType::Float)
        return NumberLocale().toString(value, 'g', 15);
    return TCustomSpinEdit::ValueText(value);
}

void TCustomDBSpinEdit::DoEnter() {
    SetFocused(true);
    TCustomSpinEdit::DoEnter();
}

void TCustomDBSpinEdit::DoExit() {
    TCustomSpinEdit::DoExit();
    try {
        link_.UpdateRecord();
    } catch (const Failure& failure) {
        // Back into the box once the focus change is over; the input stays as typed.
        const QString message = failure.Message();
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                setFocus(Qt::OtherFocusReason);
                selectAll();
                ReportFailure(message);
            },
            Qt::QueuedConnection);
        return;
    }
    SetFocused(false);
}

void TCustomDBSpinEdit::SetFocused(bool focused) {
    if (focused_ == focused)
        return;
    focused_ = focused;
    UpdateAlignment();
    link_.Reset();
}

void TCustomDBSpinEdit::UpdateAlignment() {
    setAlignment((focused_ ? Qt::AlignLeft : alignment_) | Qt::AlignVCenter);
}

void TCustomDBSpinEdit::DataChange() {
    Guard([this] {
        const FlagScope scope(showing_);
        TField* field = link_.Field();
        if (!field) {
            setText(QString());
            return;
        }
        const Qt::Alignment alignment = AlignmentOf(*field);
        if (alignment != alignment_) {
            alignment_ = alignment;
            UpdateAlignment();
        }
        const QVariant value = field->Value();
        if (value.isNull())
            setText(QString());
        else if (focused_ && link_.CanModify())
            SetValue(value.toDouble());
        else
            setText(field->DisplayText(field->DataSet().CurrentRow()));
    });
}

void TCustomDBSpinEdit::UpdateData() {
    TField* field = link_.Field();
    if (!field)
        return;
    if (text().trimmed().isEmpty())
        field->Clear();
    else if (ValueType() == TValueType::Float)
        field->SetValue(Value());
    else
        field->SetValue(QVariant(RoundToInteger(Value())));
}
