#include "Expansion.h"
#include "ExpansionSupport.h"

#include "Dataset.h"
#include "TextEngine.h"
#include "Variant.h"
#include "Variants.h"

using namespace frexpansion;

namespace {

// The position of the last "." outside double quotes, or -1.
qsizetype LastDotOutsideQuotes(const QString& name) {
    qsizetype dot = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == u'"')
            quoted = !quoted;
        else if (name[i] == u'.' && !quoted)
            dot = i;
    }
    return dot;
}

QString Unquoted(const QString& text) {
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        return text.mid(1, text.size() - 2);
    return text;
}

}  // namespace

TfrExpansion::FieldRef TfrExpansion::ResolveField(const QString& name) const {
    const qsizetype dot = LastDotOutsideQuotes(name);
    const TfrReport* report = CurrentReport();
    if (dot <= 0 || !report)
        return {};
    QString field = Unquoted(name.mid(dot + 1));
    if (const TfrDictEntry* alias = FindEntry(report->Dictionary.FieldAliases, field))
        field = frVarToStr(alias->Value);
    QString path = name.left(dot);
    // A single name is a component of the report's owner form.
    if (!path.contains(u'.')) {
        const QObject* owner = report->parent();
        if (!owner || owner->objectName().isEmpty())
            return {};
        path = owner->objectName() + u'.' + path;
    }
    TfrDataset* dataset = engine_.Datasets.Find(path);
    if (!dataset || dataset->FieldIndex(field) < 0)
        return {};
    return {dataset, field};
}

bool TfrExpansion::LookUpField(const QString& name, QVariant& value) {
    const FieldRef ref = ResolveField(name);
    if (!ref.Dataset)
        return false;
    if (!ref.Dataset->Active())
        ref.Dataset->Open();
    value = ref.Dataset->FieldValue(ref.Dataset->FieldIndex(ref.Field));
    return true;
}

void TfrExpansion::BindDataField(TfrView& view) {
    view.BoundDataSet = nullptr;
    view.BoundField.clear();
    const QString text = view.Memo.join(QStringLiteral("\r\n"));
    if (text.size() <= 2 || !text.startsWith(u'['))
        return;
    if (view.ObjectType == frTypeText && Has(view.Flags, frFlagTextOnly))
        return;
    const qsizetype close = text.lastIndexOf(u']');
    if (close < 1)
        return;
    const FieldRef ref = ResolveField(text.mid(1, close - 1));
    view.BoundDataSet = ref.Dataset;
    view.BoundField = ref.Field;
}
