#pragma once

#include "DataLink.h"
#include "SpinEdit.h"

class TDataSource;
class TField;

// A spin edit showing a column of the current row of a data source. The row goes into edit
// state when the user starts to change the value; the value is written into the column when
// the box loses the focus and when the row is stored; an empty text stores null. While the box
// has no focus it shows the column's display text as it stands, outside the range too.
class TCustomDBSpinEdit : public TCustomSpinEdit {
    Q_OBJECT
public:
    explicit TCustomDBSpinEdit(QWidget* parent = nullptr);
    ~TCustomDBSpinEdit() override;

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);
    const QString& DataField() const { return link_.FieldName(); }
    void SetDataField(const QString& name);
    TField* Field() const { return link_.Field(); }
    TFieldDataLink& DataLink() { return link_; }

    // While true, ValueType follows the bound column. Setting ValueType by hand to another type
    // turns it off.
    bool ValueTypeAuto() const { return valueTypeAuto_; }
    void SetValueTypeAuto(bool automatic);
    void SetValueType(TValueType type) override;
    // Float for a floating-point column, integer for any other.
    TValueType AutoValueType() const;

    // The bound column's alignment, used for the text while the box has no focus.
    Qt::Alignment FieldAlignment() const { return alignment_; }

protected:
    bool BeginEdit() override;
    bool CanEditText() const override;
    bool TextReadOnly() const override;
    bool EscapeKey() override;
    void Change() override;
    void RangeChanged() override;
    QString ValueText(double value) const override;
    void DoEnter() override;
    void DoExit() override;

private:
    void DataChange();
    void UpdateData();
    void ApplyValueType(TValueType type);
    void SetFocused(bool focused);
    void UpdateAlignment();

    TFieldDataLink link_;
    QMetaObject::Connection sourceGone_;
    bool focused_{false};
    // The text is being set from the column: not the user's input.
    bool showing_{false};
    bool valueTypeAuto_{true};
    Qt::Alignment alignment_{Qt::AlignLeft};
};

class TDBSpinEdit : public TCustomDBSpinEdit {
    Q_OBJECT
public:
    using TCustomDBSpinEdit::TCustomDBSpinEdit;
};
