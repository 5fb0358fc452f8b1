#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

class QIODevice;
class TfrDataset;
class TfrMemoView;
class TfrObject;
class TfrReport;
class TfrTextEngine;
class TfrView;

// Expansion of bracketed expressions in text objects, the lookup of the names the evaluator
// meets, the report's functions, and the print steps of a text object. Works on the text
// engine's state; not re-entrant across objects. One job a file: Expansion.cpp (brackets),
// LookUpChain.cpp (names and assignment), DataBinding.cpp (registered tables and fields),
// ReportFunctions.cpp (functions), PrintSteps.cpp (a text object onto a page).
class TfrExpansion {
public:
    explicit TfrExpansion(TfrTextEngine& engine) : engine_(engine) {}

    // Every bracket of s replaced by its value's text; an inserted value is not scanned again.
    void ExpandText(QString& s);
    // WorkMemo from Memo: the lines expanded (unless TextOnly), values with line breaks split.
    void ExpandMemo(TfrMemoView& memo);
    // The text of one bracket's expression, with its inline format.
    QString BracketValue(const QString& expression);
    // The value of a name: the report's event, its dictionary, the special names, user
    // variables, object properties, engine constants, and at last the evaluator.
    QVariant LookUpValue(const QString& name);
    // A function the evaluator does not know: the libraries, then the report's functions.
    QVariant CallFunction(const QString& name, const QString& p1, const QString& p2,
                          const QString& p3);
    // An object whose whole text is one bracketed field of a registered table is bound to that
    // table and field; any other is unbound.
    void BindDataField(TfrView& view);
    // Assignment by name to a user or dictionary variable, CURY or a property, else a new user
    // variable. Scripts, INC and DEC store through the script engine, which comes here.
    void StoreValue(const QString& name, const QVariant& value);

    // A text object onto a prepared page's stream.
    void Print(TfrMemoView& memo, QIODevice& stream);
    // The text preparation that measuring needs: script, before-print step, expansion,
    // highlight. The caller restores the font and fill the highlight changed.
    void PrepareText(TfrMemoView& memo);

private:
    // The before-print step: a bound blob field into WorkMemo, then the report's event.
    void BeforePrint(TfrMemoView& memo);
    // The highlight's font style, font colour and fill, when the condition holds.
    void ApplyHighlight(TfrMemoView& memo);
    // The registered table and field a name such as "fData.ListDoc.Descript" names.
    struct FieldRef {
        TfrDataset* Dataset{nullptr};
        QString Field;
    };
    FieldRef ResolveField(const QString& name) const;
    bool LookUpField(const QString& name, QVariant& value);
    bool LookUpDictionary(const QString& name, QVariant& value);
    bool LookUpSpecial(const QString& name, QVariant& value);
    bool LookUpPageValue(const QString& name, QVariant& value);
    // The object and property of "object.property", "PAGEn.property" or a property of the
    // current object; null object when none.
    struct PropertyRef {
        TfrObject* Object{nullptr};
        QString Property;
    };
    PropertyRef ResolveProperty(const QString& name) const;
    QVariant CallReportFunction(const QString& name, const QString& p1, const QString& p2,
                                const QString& p3);

    // Script, before-print step and expansion of a whole print.
    void PrepareLines(TfrMemoView& memo);

    TfrTextEngine& engine_;
    // The objects whose lines ExpandMemo is expanding, innermost last.
    QList<const TfrMemoView*> expanding_;
};
