#include "DatasetRegistry.h"

#include "Dataset.h"

#include <algorithm>

void TfrDatasetRegistry::Register(const QString& path, TfrDataset& dataset) {
    Unregister(path);
    entries_.push_back({path, &dataset});
}

void TfrDatasetRegistry::Unregister(const QString& path) {
    std::erase_if(entries_,
                  [&](const Entry& e) { return e.Path.compare(path, Qt::CaseInsensitive) == 0; });
}

TfrDataset* TfrDatasetRegistry::Find(const QString& path) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.Path.compare(path, Qt::CaseInsensitive) == 0;
    });
    return it == entries_.end() ? nullptr : it->Dataset;
}
