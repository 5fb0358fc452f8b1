#include "DataLink.h"

#include "DataSource.h"
#include "Table.h"

TFieldDataLink::TFieldDataLink(QObject* parent) : QObject(parent) {}

void TFieldDataLink::SetDataSource(TDataSource* source) {
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &TDataSource::DataSetChanged, this, &TFieldDataLink::DataChanged);
        connect(source_, &TDataSource::DataSetScrolled, this, &TFieldDataLink::DataChanged);
        connect(source_, &TDataSource::RecordChanged, this, &TFieldDataLink::RecordChanged);
        connect(source_, &TDataSource::StateChanged, this, &TFieldDataLink::StateChanged);
        connect(source_, &TDataSource::UpdateData, this, &TFieldDataLink::UpdateData);
    }
    Rebind();
}

void TFieldDataLink::SetFieldName(const QString& name) {
    fieldName_ = name;
    Rebind();
}

TADOTable* TFieldDataLink::DataSet() const {
    return source_ ? &source_->DataSet() : nullptr;
}

TField* TFieldDataLink::Field() const {
    TADOTable* table = DataSet();
    if (!table || !table->Active() || fieldName_.isEmpty())
        return nullptr;
    return table->FindField(fieldName_);
}

bool TFieldDataLink::Active() const {
    TADOTable* table = DataSet();
    return table && table->Active();
}

bool TFieldDataLink::Editing() const {
    TADOTable* table = DataSet();
    return table &&
           (table->State() == TDataSetState::dsEdit || table->State() == TDataSetState::dsInsert);
}

bool TFieldDataLink::CanModify() const {
    TField* field = Field();
    return field && !field->ReadOnly() && field->FieldKind() == TFieldKind::Data;
}

bool TFieldDataLink::Edit() {
    if (!CanModify())
        return false;
    if (!Editing())
        DataSet()->Edit();
    return Editing();
}

void TFieldDataLink::Reset() {
    modified_ = false;
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::UpdateRecord() {
    if (!modified_ || updating_)
        return;
    updating_ = true;
    // Cleared first: writing the field notifies this link again.
    modified_ = false;
    try {
        if (OnUpdateData)
            OnUpdateData();
    } catch (...) {
        updating_ = false;
        modified_ = true;
        throw;
    }
    updating_ = false;
}

void TFieldDataLink::DataChanged() {
    modified_ = false;
    if (active_ != Active()) {
        active_ = Active();
        if (OnActiveChange)
            OnActiveChange();
    }
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (updating_)
        return;
    if (field == nullptr || field == Field())
        DataChanged();
}

void TFieldDataLink::StateChanged() {
    if (editing_ != Editing()) {
        editing_ = Editing();
        if (!editing_)
            modified_ = false;
        if (OnEditingChange)
            OnEditingChange();
    }
    if (active_ != Active()) {
        active_ = Active();
        if (OnActiveChange)
            OnActiveChange();
    }
}

void TFieldDataLink::UpdateData() {
    UpdateRecord();
}

void TFieldDataLink::Rebind() {
    modified_ = false;
    editing_ = Editing();
    active_ = Active();
    if (OnActiveChange)
        OnActiveChange();
    if (OnDataChange)
        OnDataChange();
}
