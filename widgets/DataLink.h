#pragma once

#include "DataSource.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class TADOTable;
class TField;

// Binds one control to one field of a data source: it tells the control when to show the field
// again, when the row starts or stops being edited and when a post wants pending input written.
class TFieldDataLink : public QObject {
    Q_OBJECT
public:
    explicit TFieldDataLink(QObject* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return source_; }
    void SetFieldName(const QString& name);
    const QString& FieldName() const { return fieldName_; }

    // The bound field; nullptr while the source, its table or the field is missing or closed.
    TField* Field() const;
    TADOTable* DataSet() const;
    bool Active() const;
    // The table is in edit or insert state.
    bool Editing() const;
    // The control may change the field: bound, not read-only.
    bool CanModify() const;
    // Puts the table into edit state (Edit on an empty view appends); false when it cannot.
    bool Edit();

    // The control holds input that is not in the field yet.
    void Modified() { modified_ = true; }
    bool IsModified() const { return modified_; }
    // Forget pending input and show the field again.
    void Reset();
    // Write pending input now (the control's OnUpdateData), as a post or a focus change does.
    void UpdateRecord();

    // What the control does on each notification.
    std::function<void()> OnDataChange;     // show the field's value again
    std::function<void()> OnEditingChange;  // the table entered or left edit/insert state
    std::function<void()> OnUpdateData;     // write the pending input into the field
    std::function<void()> OnActiveChange;   // the table was opened or closed

private:
    void DataChanged();
    void RecordChanged(TField* field);
    void StateChanged();
    void UpdateData();
    void Rebind();

    QPointer<TDataSource> source_;
    QString fieldName_;
    bool modified_{false};
    bool editing_{false};
    bool active_{false};
    bool updating_{false};
};
