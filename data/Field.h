#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class TADOTable;

enum class TFieldKind { Data, Lookup, Calculated };
enum class TFieldType { AutoInc, Integer, SmallInt, String, Boolean, DateTime };

// A column of a table as the windows see it: stored, looked up in another table, or calculated.
// Reading gives the value of the table's current row (its edit buffer while editing).
class TField {
public:
    TField(TADOTable& table, QString fieldName, TFieldKind kind, TFieldType type, int size = 0);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const QString& FieldName() const { return fieldName_; }
    // The field's name as the user knows it, for messages; the column name until set.
    QString DisplayLabel() const { return label_.isEmpty() ? fieldName_ : label_; }
    void SetDisplayLabel(const QString& label) { label_ = label; }
    TFieldKind FieldKind() const { return kind_; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; }
    TADOTable& DataSet() const { return table_; }
    bool ReadOnly() const { return kind_ == TFieldKind::Lookup || type_ == TFieldType::AutoInc; }

    // Lookup: the row of LookupDataSet whose LookupKeyFields equals this table's KeyFields.
    TADOTable* LookupDataSet{nullptr};
    QString LookupKeyFields;
    QString LookupResultField;
    QString KeyFields;

    QVariant Value() const;
    // The value in the row at a 0-based position of the view (what a grid paints).
    QVariant ValueAt(int row) const;
    bool IsNull() const { return Value().isNull(); }
    QString AsString() const;
    int AsInteger() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;

    // Allowed in edit and insert state only; a calculated field also while it is calculated.
    void SetValue(const QVariant& value);
    void SetAsString(const QString& value) { SetValue(value); }
    void SetAsInteger(int value) { SetValue(value); }
    void Clear() { SetValue(QVariant()); }

    // Text as shown in an editor or a grid cell.
    QString DisplayText(int row) const;

    // Converts a value read from the store, or given by a caller, to this field's type.
    QVariant Normalize(const QVariant& value) const;

private:
    friend class TADOTable;
    TADOTable& table_;
    QString fieldName_;
    QString label_;
    TFieldKind kind_;
    TFieldType type_;
    int size_;
    int index_{-1};  // position among the table's stored or calculated columns
};
