#pragma once

#include "Field.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class TADOConnection;
class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// A record cursor over one table: the rows of its view (filtered by the master's current key,
// in the order of IndexFieldNames) are read into memory; the current row has an edit buffer;
// a post writes one row and commits it before returning.
class TADOTable : public QObject {
    Q_OBJECT
public:
    TADOTable(TADOConnection& connection, QString tableName, QObject* parent = nullptr);
    ~TADOTable() override;

    const QString& TableName() const { return tableName_; }

    // Columns; fields are owned by the table. Data fields are the stored columns.
    TField& AddField(const QString& name, TFieldKind kind, TFieldType type, int size = 0);
    TField* FindField(const QString& name) const;
    // Raises DatabaseError "Field 'X' not found" for an unknown name.
    TField& FieldByName(const QString& name) const;
    const std::vector<std::unique_ptr<TField>>& Fields() const { return fields_; }

    // "Document_Id;PageNum;VarName": the sort; with a master its first column is the link column.
    QString IndexFieldNames;
    // The master's column the link column is matched against ("Id").
    QString MasterFields;
    void SetMasterSource(TDataSource* master);
    TDataSource* MasterSource() const { return masterSource_; }

    // Runs for a row whose calculated fields are wanted; it sets them with SetValue.
    std::function<void(TADOTable&)> OnCalcFields;
    // After every successful post, before anything else.
    std::function<void(TADOTable&)> AfterPost;

    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    // A field of the row being edited was set since Edit or Append.
    bool Modified() const { return modified_; }

    void Open();
    void Close();
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);
    bool LocateRow(const QString& columns, const QVariantList& values);
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void Requery();
    // Posts a changed row, cancels an unchanged one.
    void CheckBrowseMode();
    // While controls are disabled, cursor moves are not told to the data-aware controls;
    // enabling them again tells them of the moves once. Detail tables still follow. Calls nest.
    void DisableControls();
    void EnableControls();

    // Rows of the view as a grid shows them: the stored rows and, in insert state, the new row
    // at the end. The current row's position among them (-1 when there is none).
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int CurrentRow() const { return cur_; }

signals:
    void DataSetChanged();
    void DataSetScrolled();
    void RecordChanged(TField* field);
    void StateChanged();
    void UpdateData();

protected:
    // What happens after a successful post; `key` is the stored row's Id.
    virtual void DoAfterPost(const QVariant& key);
    // Moves to the row with this Id; false when it is not in the view.
    bool LocateKey(const QVariant& key);

private:
    friend class TField;
    using Row = QVector<QVariant>;

    QVariant FieldValue(const TField& field, int row) const;
    void SetFieldValue(TField& field, const QVariant& value);
    QVariant LookupValue(const TField& field, int row) const;
    QVariant CalculatedValue(const TField& field, int row) const;

    void CheckActive() const;
    void CheckEditing(const TField& field) const;
    void ReadView();
    QVector<Row> Fetch() const;
    void SortRows(QVector<Row>& rows) const;
    QVariant MasterKey() const;
    void MasterChanged();
    void SetState(TDataSetState state);
    void Changed();
    void Scrolled();
    void InsertRow();
    void StoreRow();

    TADOConnection& connection_;
    QString tableName_;
    std::vector<std::unique_ptr<TField>> fields_;
    int dataFieldCount_{0};
    int calcFieldCount_{0};
    TDataSource* masterSource_{nullptr};
    TADOTable* master_{nullptr};  // the master source's table; cleared when either side goes
    std::vector<TADOTable*> details_;
    QVariant linkKey_;  // the master key the view was read with

    QVector<Row> rows_;
    int cur_{-1};
    int controlsDisabled_{0};
    bool scrolledWhileDisabled_{false};
    Row buffer_;              // the edit buffer of the current row
    QVector<bool> assigned_;  // data fields set since Edit or Append
    int rowBeforeInsert_{-1};
    TDataSetState state_{TDataSetState::dsInactive};
    bool modified_{false};
    bool eof_{true};
    bool bof_{true};

    // While calculated fields of a row are being computed: that row and its values.
    mutable int calcRow_{-1};
    mutable Row calcBuffer_;
};

// The table class of the data module: every successful post re-reads the table, so the values
// the store assigned (the new Id) become visible, and the stored row stays current.
class TADOTableAvtoInc : public TADOTable {
    Q_OBJECT
public:
    using TADOTable::TADOTable;

protected:
    void DoAfterPost(const QVariant& key) override;
};
