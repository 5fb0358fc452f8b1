#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <typeindex>
#include <vector>

class TfrInstalledFunctions;
class TfrLocale;
class TfrParser;

// Functions an expression can call. A library lists its names in upper case and computes the
// one at a list index from the three argument texts, evaluating them with the parser it was
// given.
class TfrFunctionLibrary {
public:
    explicit TfrFunctionLibrary(TfrParser& parser);
    virtual ~TfrFunctionLibrary() = default;
    TfrFunctionLibrary(const TfrFunctionLibrary&) = delete;
    TfrFunctionLibrary& operator=(const TfrFunctionLibrary&) = delete;

    const QStringList& List() const { return list_; }

    // Computes the function when the library knows the name (letter case ignored) and answers
    // true; otherwise leaves `value` alone and answers false.
    bool OnFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                    QVariant& value);

    // Adds the library's functions for a report designer. Their categories and descriptions
    // would be engine strings this program does not carry, so they stay empty here.
    virtual void Describe(TfrInstalledFunctions& installed) const;

protected:
    virtual void DoFunction(int index, const QString& p1, const QString& p2, const QString& p3,
                            QVariant& value) = 0;

    TfrParser& Parser() const { return parser_; }
    const TfrLocale& Locale() const;
    // The value of an argument text.
    QVariant Arg(const QString& text) const;

    QStringList list_;

private:
    TfrParser& parser_;
};

// Every library function's name with a category and a description, for a report designer.
class TfrInstalledFunctions {
public:
    struct Entry {
        QString Name;
        QString Category;
        QString Description;
        const TfrFunctionLibrary* Library{nullptr};
    };

    void Add(const QString& name, const QString& category, const QString& description,
             const TfrFunctionLibrary* library = nullptr);
    // Takes out what a library added.
    void Remove(const TfrFunctionLibrary& library);
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

// The installed libraries in installation order, one per class, at most 32.
class TfrFunctionLibraries {
public:
    static constexpr int MaxCount = 32;

    // Descriptions of the installed functions go to `installed` when it is given.
    explicit TfrFunctionLibraries(TfrInstalledFunctions* installed = nullptr);

    // Takes the library; a class already installed is not installed again (the answer is
    // false). A 33rd library is refused with a failure.
    bool Install(std::unique_ptr<TfrFunctionLibrary> library);
    // Frees the library of that class; the later ones move up.
    void Uninstall(std::type_index libraryClass);
    template <class T>
    void Uninstall() {
        Uninstall(std::type_index(typeid(T)));
    }

    int Count() const { return static_cast<int>(libraries_.size()); }
    TfrFunctionLibrary& At(int index) const;

    // Asks each library in order; the first that knows the name computes the value.
    bool Call(const QString& name, const QString& p1, const QString& p2, const QString& p3,
              QVariant& value);

private:
    std::vector<std::unique_ptr<TfrFunctionLibrary>> libraries_;
    TfrInstalledFunctions* installed_{nullptr};
};
