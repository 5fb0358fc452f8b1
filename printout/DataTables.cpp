#include "DataTables.h"

#include "Data.h"
#include "Engine.h"
#include "TextEngine.h"

TfDataRowSnapshot::TfDataRowSnapshot(const TADOTable& table) {
    for (const auto& field : table.Fields()) {
        names_.append(field->FieldName());
        values_.append(table.RecordCount() > 0 ? field->Value() : QVariant());
    }
}

int TfDataRowSnapshot::FieldIndex(const QString& name) const {
    for (int i = 0; i < names_.size(); ++i) {
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant TfDataRowSnapshot::FieldValue(int index) const {
    return index >= 0 && index < values_.size() ? values_[index] : QVariant();
}

namespace {

// The text engine of the engine running now, if it has one.
TfrTextEngine* RunningTextEngine() {
    TfrEngine* engine = TfrEngine::Current();
    return engine ? dynamic_cast<TfrTextEngine*>(engine->TextLayer()) : nullptr;
}

}  // namespace

TfDataTables::TfDataTables(const TfData& data) : engine_(RunningTextEngine()) {
    const std::pair<const char*, const TADOTable*> tables[] = {
        {"Document", &data.Document},
        {"Values_", &data.Values_},
        {"ListDoc", &data.ListDoc},
        {"HistoryValue", &data.HistoryValue},
    };
    for (const auto& [name, table] : tables) {
        entries_.push_back({QStringLiteral("fData.") + QLatin1String(name),
                            std::make_unique<TfDataRowSnapshot>(*table)});
    }
    if (!engine_)
        return;
    for (const Entry& e : entries_)
        engine_->Datasets.Register(e.Path, *e.Row);
}

TfDataTables::~TfDataTables() {
    // Only from the engine they went into, and only the rows still registered as ours: an
    // engine that has stopped, or a later registration, is left alone.
    if (!engine_ || RunningTextEngine() != engine_)
        return;
    for (const Entry& e : entries_) {
        if (engine_->Datasets.Find(e.Path) == e.Row.get())
            engine_->Datasets.Unregister(e.Path);
    }
}
