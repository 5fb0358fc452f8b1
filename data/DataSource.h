#pragma once

#include <QObject>

class TADOTable;
class TField;

// What window controls bind to: it names a table and passes on its notifications.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(TADOTable& dataSet, QObject* parent = nullptr);
    TADOTable& DataSet() const { return dataSet_; }

signals:
    // The rows of the view were read again, added or removed.
    void DataSetChanged();
    // Another row became current.
    void DataSetScrolled();
    // A field of the current row was set (nullptr: the whole row).
    void RecordChanged(TField* field);
    // Browse, edit or insert.
    void StateChanged();
    // A post is about to store the row: bound editors write their pending edits now.
    void UpdateData();

private:
    TADOTable& dataSet_;
};
