#pragma once

#include "Dataset.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

class TADOTable;
class TfData;
class TfrTextEngine;

// The current row of one table of the data module, copied: a report reads its fields by column
// name, also after the data module has gone (the command line lets it go before preparing).
class TfDataRowSnapshot : public TfrDataset {
public:
    explicit TfDataRowSnapshot(const TADOTable& table);

    bool Active() const override { return true; }
    void Open() override {}
    int FieldIndex(const QString& name) const override;
    QVariant FieldValue(int index) const override;
    bool IsBlobField(int) const override { return false; }

private:
    QStringList names_;
    QVariantList values_;
};

// The current rows of the data module's four tables, known to the running engine's evaluator
// as "fData.Document", "fData.Values_", "fData.ListDoc" and "fData.HistoryValue" while this
// lives.
class TfDataTables {
public:
    explicit TfDataTables(const TfData& data);
    ~TfDataTables();
    TfDataTables(const TfDataTables&) = delete;
    TfDataTables& operator=(const TfDataTables&) = delete;

private:
    struct Entry {
        QString Path;
        std::unique_ptr<TfDataRowSnapshot> Row;
    };
    std::vector<Entry> entries_;
    // The text engine the rows are registered in; none when the engine has no text layer.
    TfrTextEngine* engine_{nullptr};
};
