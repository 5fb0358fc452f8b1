#include "Expansion.h"
#include "ExpansionSupport.h"

#include "Page.h"
#include "TextEngine.h"
#include "Variant.h"
#include "Variants.h"

using namespace frexpansion;

QVariant TfrExpansion::CallFunction(const QString& name, const QString& p1, const QString& p2,
                                    const QString& p3) {
    QVariant result = QStringLiteral("0");
    if (engine_.Libraries.Call(name, p1, p2, p3, result))
        return result;
    result = CallReportFunction(name, p1, p2, p3);
    if (TfrReport* report = CurrentReport(); report && report->OnUserFunction)
        report->OnUserFunction(name, p1, p2, p3, result);
    return result;
}

QVariant TfrExpansion::CallReportFunction(const QString& name, const QString& p1, const QString& p2,
                                          const QString& p3) {
    TfrTextEngine& te = engine_;
    TfrEngineState& state = frEngineState();
    if (name == u"STOPREPORT") {
        if (TfrReport* report = CurrentReport())
            report->CancelRequested = true;
        if (state.MainReport)
            state.MainReport->CancelRequested = true;
        return QStringLiteral("0");
    }
    if (name == u"NEWPAGE" || name == u"NEWCOLUMN" || name == u"SHOWBAND") {
        // Requests to the band engine; a page without bands has none to ask.
        return QStringLiteral("0");
    }
    if (name == u"INC" || name == u"DEC") {
        const QString variable = p1.trimmed();
        const QVariant one = 1;
        const QVariant old = LookUpValue(variable);
        te.ScriptEngine.StoreValue(variable, name == u"INC" ? frVarAdd(old, one, te.Locale)
                                                            : frVarSub(old, one, te.Locale));
        return QStringLiteral("0");
    }
    if (name == u"SETARRAY" || name == u"GETARRAY") {
        const QString array = p1.trimmed();
        const QVariant index = te.Parser.Evaluate(p2);
        if (array.contains(u'.')) {
            const PropertyRef ref = ResolveProperty(array);
            if (!ref.Object)
                return QVariant();
            const QVariant property = frUpper(ref.Property);
            if (name == u"SETARRAY")
                return ref.Object->CallMethod(QStringLiteral("SETINDEXPROPERTY"), property, index,
                                              te.Parser.Evaluate(p3));
            return ref.Object->CallMethod(QStringLiteral("GETINDEXPROPERTY"), property, index,
                                          QVariant());
        }
        const QString key = index.typeId() == QMetaType::QString
                                ? index.toString()
                                : QString::number(frVarToInt64(index, te.Locale));
        const QString variable = QStringLiteral("Arr_") + array + u'_' + key;
        if (name == u"SETARRAY") {
            te.UserVariables.SetVariable(variable, te.Parser.Evaluate(p3));
            return QStringLiteral("0");
        }
        const int at = te.UserVariables.IndexOf(variable);
        return at >= 0 ? te.UserVariables.Value(at) : frNull();
    }
    const PropertyRef ref = ResolveProperty(name);
    if (!ref.Object)
        return frNull();
    const QVariant result =
        ref.Object->CallMethod(frUpper(ref.Property), QVariant(p1), QVariant(p2), QVariant(p3));
    return result.isNull() ? frNull() : result;
}
