#include "Variables.h"

#include "EngineErrors.h"
#include "Variant.h"

#include <algorithm>

namespace {

int CompareNames(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

}  // namespace

bool TfrVariables::Find(const QString& name, int& index) const {
    if (!sorted_) {
        for (int i = 0; i < Count(); ++i) {
            if (CompareNames(items_[static_cast<size_t>(i)].first, name) == 0) {
                index = i;
                return true;
            }
        }
        index = Count();
        return false;
    }
    const auto it = std::lower_bound(
        items_.begin(), items_.end(), name,
        [](const Item& item, const QString& key) { return CompareNames(item.first, key) < 0; });
    index = static_cast<int>(it - items_.begin());
    return it != items_.end() && CompareNames(it->first, name) == 0;
}

void TfrVariables::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(index);
}

void TfrVariables::SetVariable(const QString& name, const QVariant& value) {
    int index = 0;
    if (Find(name, index))
        items_[static_cast<size_t>(index)].second = value;
    else
        items_.insert(items_.begin() + index, {name, value});
}

QVariant TfrVariables::Variable(const QString& name) const {
    int index = 0;
    return Find(name, index) ? items_[static_cast<size_t>(index)].second : frNull();
}

int TfrVariables::IndexOf(const QString& name) const {
    int index = 0;
    return Find(name, index) ? index : -1;
}

QString TfrVariables::Name(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].first;
}

QVariant TfrVariables::Value(int index) const {
    if (index < 0 || index >= Count())
        return 0;
    return items_[static_cast<size_t>(index)].second;
}

void TfrVariables::SetValue(int index, const QVariant& value) {
    CheckIndex(index);
    items_[static_cast<size_t>(index)].second = value;
}

void TfrVariables::SetName(int index, const QString& name) {
    CheckIndex(index);
    const int other = IndexOf(name);
    if (other >= 0 && other != index)
        throw Failure(QStringLiteral("Имя уже есть в списке, повтор не допускается"));
    Item item = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    item.first = name;
    int at = index;
    if (sorted_)
        Find(name, at);
    items_.insert(items_.begin() + at, std::move(item));
}

void TfrVariables::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void TfrVariables::SetSorted(bool sorted) {
    if (sorted && !sorted_)
        std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
            return CompareNames(a.first, b.first) < 0;
        });
    sorted_ = sorted;
}
