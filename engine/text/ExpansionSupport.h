#pragma once

// Helpers shared by the files of TfrExpansion; not for use elsewhere.

#include "EngineState.h"
#include "Objects.h"
#include "Report.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class TfrPage;

namespace frexpansion {

inline TfrReport* CurrentReport() {
    return frEngineState().CurrentReport;
}

inline TfrPage* CurrentPage() {
    return frEngineState().CurrentDesignPage;
}

inline bool Has(quint16 flags, quint16 bit) {
    return (flags & bit) != 0;
}

// Whether the object's property list has that name.
inline bool HasProperty(TfrObject& object, const QString& name) {
    object.PropertyList();
    return object.FindProperty(name) != nullptr;
}

inline const TfrDictEntry* FindEntry(const QList<TfrDictEntry>& entries, const QString& name) {
    for (const TfrDictEntry& e : entries) {
        if (e.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

}  // namespace frexpansion
