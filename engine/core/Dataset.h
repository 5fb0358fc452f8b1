#pragma once

#include <QString>
#include <QVariant>

// A table whose current record a report can read: the application registers its own by name
// (the text layer's dataset registry); the engine holds no data module of its own.
class TfrDataset {
public:
    virtual ~TfrDataset() = default;

    virtual bool Active() const = 0;
    virtual void Open() = 0;
    // The index of the field of that name in any letter case, or -1.
    virtual int FieldIndex(const QString& name) const = 0;
    // The field's value in the current record.
    virtual QVariant FieldValue(int index) const = 0;
    // A memo or other blob field, whose content a text object loads whole.
    virtual bool IsBlobField(int index) const = 0;
};
