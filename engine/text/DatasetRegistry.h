#pragma once

#include <QString>
#include <vector>

class TfrDataset;

// The tables a report may name in brackets, registered by the application under their
// dotted paths ("fData.ListDoc"). The registry does not own them: whoever registers a table
// unregisters it before it goes.
class TfrDatasetRegistry {
public:
    void Register(const QString& path, TfrDataset& dataset);
    void Unregister(const QString& path);
    // The table of that path in any letter case, or null.
    TfrDataset* Find(const QString& path) const;

private:
    struct Entry {
        QString Path;
        TfrDataset* Dataset{nullptr};
    };
    std::vector<Entry> entries_;
};
