#pragma once

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

// Named values: user variables, engine constants, the data dictionary's lists. Names are
// compared without regard to letter case; a name is never listed twice. A sorted list keeps its
// names in order, so indexes change as names come and go.
class TfrVariables {
public:
    // Adds the name when it is missing, otherwise replaces its value.
    void SetVariable(const QString& name, const QVariant& value);
    // The value of a name; Null when it is missing.
    QVariant Variable(const QString& name) const;
    // -1 when the name is missing.
    int IndexOf(const QString& name) const;
    int Count() const { return static_cast<int>(items_.size()); }

    // Access by index. Name, SetValue, SetName and Delete raise EListError for an index
    // outside the list; Value gives 0 there.
    QString Name(int index) const;
    QVariant Value(int index) const;
    void SetValue(int index, const QVariant& value);
    // Renaming onto a name another entry has is refused with a failure.
    void SetName(int index, const QString& name);
    void Delete(int index);
    void Clear() { items_.clear(); }

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

private:
    using Item = std::pair<QString, QVariant>;
    // Where the name is, or where it would go in a sorted list.
    bool Find(const QString& name, int& index) const;
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    bool sorted_{false};
};
