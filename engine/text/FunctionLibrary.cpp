#include "FunctionLibrary.h"

#include "EngineErrors.h"
#include "Parser.h"

#include <algorithm>

TfrFunctionLibrary::TfrFunctionLibrary(TfrParser& parser) : parser_(parser) {}

const TfrLocale& TfrFunctionLibrary::Locale() const {
    return parser_.Locale();
}

QVariant TfrFunctionLibrary::Arg(const QString& text) const {
    return parser_.Evaluate(text);
}

bool TfrFunctionLibrary::OnFunction(const QString& name, const QString& p1, const QString& p2,
                                    const QString& p3, QVariant& value) {
    const int index = static_cast<int>(list_.indexOf(name.toUpper()));
    if (index < 0)
        return false;
    DoFunction(index, p1, p2, p3, value);
    return true;
}

void TfrFunctionLibrary::Describe(TfrInstalledFunctions& installed) const {
    for (const QString& name : list_)
        installed.Add(name, {}, {}, this);
}

void TfrInstalledFunctions::Add(const QString& name, const QString& category,
                                const QString& description, const TfrFunctionLibrary* library) {
    entries_.push_back({name, category, description, library});
}

void TfrInstalledFunctions::Remove(const TfrFunctionLibrary& library) {
    std::erase_if(entries_, [&](const Entry& e) { return e.Library == &library; });
}

TfrFunctionLibraries::TfrFunctionLibraries(TfrInstalledFunctions* installed)
    : installed_(installed) {}

bool TfrFunctionLibraries::Install(std::unique_ptr<TfrFunctionLibrary> library) {
    if (!library)
        return false;
    const std::type_index type(typeid(*library));
    for (const auto& l : libraries_)
        if (std::type_index(typeid(*l)) == type)
            return false;
    if (Count() >= MaxCount)
        throw Failure(QStringLiteral("Установлено слишком много библиотек функций (больше %1)")
                          .arg(MaxCount));
    if (installed_)
        library->Describe(*installed_);
    libraries_.push_back(std::move(library));
    return true;
}

void TfrFunctionLibraries::Uninstall(std::type_index libraryClass) {
    const auto it = std::find_if(libraries_.begin(), libraries_.end(), [&](const auto& l) {
        return std::type_index(typeid(*l)) == libraryClass;
    });
    if (it == libraries_.end())
        return;
    if (installed_)
        installed_->Remove(**it);
    libraries_.erase(it);
}

TfrFunctionLibrary& TfrFunctionLibraries::At(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(index);
    return *libraries_[static_cast<size_t>(index)];
}

bool TfrFunctionLibraries::Call(const QString& name, const QString& p1, const QString& p2,
                                const QString& p3, QVariant& value) {
    for (const auto& l : libraries_)
        if (l->OnFunction(name, p1, p2, p3, value))
            return true;
    return false;
}
