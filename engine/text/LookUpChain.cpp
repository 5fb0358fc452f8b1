#include "Expansion.h"
#include "ExpansionSupport.h"

#include <QRegularExpression>
#include "Engine.h"
#include "MemoLayout.h"
#include "MemoView.h"
#include "Page.h"
#include "ParserError.h"
#include "TextEngine.h"
#include "Variant.h"

using namespace frexpansion;

namespace {

[[noreturn]] void RaiseUndefined(const QString& name) {
    throw EParserError(QStringLiteral("Переменная не определена: \"%1\"").arg(name));
}

}  // namespace

QVariant TfrExpansion::LookUpValue(const QString& name) {
    TfrTextEngine& te = engine_;
    TfrReport* report = CurrentReport();
    if (report && report->OnGetValue) {
        QVariant value;
        report->OnGetValue(name, value);
        if (value.isValid())
            return value;
    }
    QVariant value = 0;
    if (LookUpDictionary(name, value) || LookUpSpecial(name, value))
        return value;
    if (const int index = te.UserVariables.IndexOf(name); index >= 0)
        return te.UserVariables.Value(index);
    if (LookUpPageValue(name, value))
        return value;
    if (const PropertyRef ref = ResolveProperty(name); ref.Object) {
        if (HasProperty(*ref.Object, ref.Property))
            return ref.Object->GetProperty(ref.Property);
    }
    if (const int index = te.EngineConstants.IndexOf(name); index >= 0)
        return te.EngineConstants.Value(index);

    if (name == te.ExpressionInProgress) {
        if (!te.CollectingAggregates)
            RaiseUndefined(name);
        return value;
    }
    // The evaluator refuses names that lead back into it too deeply.
    te.ExpressionInProgress = name;
    value = te.Parser.Evaluate(name);
    te.ExpressionInProgress.clear();
    return value;
}

bool TfrExpansion::LookUpDictionary(const QString& name, QVariant& value) {
    TfrReport* report = CurrentReport();
    if (!report)
        return false;
    TfrTextEngine& te = engine_;
    if (const TfrDictEntry* variable = FindEntry(report->Dictionary.Variables, name)) {
        if (const int index = te.UserVariables.IndexOf(name); index >= 0) {
            value = te.UserVariables.Value(index);
            return true;
        }
        value = variable->Value;
        if (value.typeId() == QMetaType::QString && !value.toString().isEmpty()) {
            // A variable that names itself ends at the evaluator's nesting limit.
            value = te.Parser.Evaluate(value.toString());
        }
        return true;
    }
    return LookUpField(name, value);
}

bool TfrExpansion::LookUpSpecial(const QString& name, QVariant& value) {
    TfrTextEngine& te = engine_;
    const TfrEngineState& state = frEngineState();
    const TfrPage* page = CurrentPage();
    if (name == u"VALUE") {
        value = te.CurrentValue;
    } else if (name == u"PAGE#") {
        value = state.PreparedPageIndex + 1;
    } else if (name == u"DATE") {
        value = frDateTimeValue(te.ReportDate);
    } else if (name == u"TIME") {
        value = frDateTimeValue(te.ReportTime);
    } else if (name == u"LINE#" || name == u"LINETHROUGH#") {
        // The record counters of data bands; a page without them counts 1.
        value = 1;
    } else if (name == u"COLUMN#") {
        value = page ? page->ColPos : 0;
    } else if (name == u"CURRENT#") {
        value = page ? page->CurPos : 0;
    } else if (name == u"TOTALPAGES") {
        value = frEngineState().TotalPages;
    } else if (name == u"CALCWIDTH") {
        TfrView* view = state.CurrentView;
        if (!view) {
            value = 0;
        } else if (auto* memo = dynamic_cast<TfrMemoView*>(view)) {
            if (!memo->DrawCanvas)
                memo->DrawCanvas = te.Engine().MeasureCanvas();
            ExpandMemo(*memo);
            value = te.Layout.CalcWidth(*memo, memo->WorkMemo);
        } else {
            value = view->Width;
        }
    } else {
        return false;
    }
    return true;
}

bool TfrExpansion::LookUpPageValue(const QString& name, QVariant& value) {
    const TfrPage* page = CurrentPage();
    if (name == u"FINALPASS") {
        const TfrReport* report = CurrentReport();
        value = report && report->LastPass;
        return true;
    }
    if (name != u"CURY" && name != u"FREESPACE" && name != u"PAGEHEIGHT" && name != u"PAGEWIDTH")
        return false;
    if (!page)
        value = 0;
    else if (name == u"CURY")
        value = page->CurY;
    else if (name == u"FREESPACE")
        value = page->CurBottomY - page->CurY;
    else if (name == u"PAGEHEIGHT")
        value = page->CurBottomY;
    else
        value = page->RightEdge();
    return true;
}

TfrExpansion::PropertyRef TfrExpansion::ResolveProperty(const QString& name) const {
    TfrView* view = frEngineState().CurrentView;
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return {view, name};
    // ".Left" names no object: an empty name would match the first unnamed one.
    if (dot == 0)
        return {};
    const QString objectName = name.left(dot);
    const QString property = name.mid(dot + 1);
    if (const TfrReport* report = CurrentReport()) {
        if (TfrView* object = report->FindObject(objectName))
            return {object, property};
        static const QRegularExpression pageName(QStringLiteral("^PAGE(\\d+)$"),
                                                 QRegularExpression::CaseInsensitiveOption);
        if (const auto match = pageName.match(objectName); match.hasMatch()) {
            bool ok = false;
            const int n = match.captured(1).toInt(&ok);
            if (ok && n >= 1 && n <= report->Pages.Count())
                return {&report->Pages.PageAt(n - 1), property};
        }
    }
    if (view && HasProperty(*view, name))
        return {view, name};
    return {};
}

void TfrExpansion::StoreValue(const QString& name, const QVariant& value) {
    TfrTextEngine& te = engine_;
    if (te.UserVariables.IndexOf(name) >= 0) {
        te.UserVariables.SetVariable(name, value);
        return;
    }
    if (TfrReport* report = CurrentReport()) {
        for (TfrDictEntry& e : report->Dictionary.Variables) {
            if (e.Name.compare(name, Qt::CaseInsensitive) == 0) {
                e.Value = value;
                return;
            }
        }
    }
    if (name.compare(QStringLiteral("CURY"), Qt::CaseInsensitive) == 0) {
        if (TfrPage* page = CurrentPage())
            page->CurY = static_cast<qint32>(frVarToInt64(value, te.Locale));
        return;
    }
    if (const PropertyRef ref = ResolveProperty(name);
        ref.Object && HasProperty(*ref.Object, ref.Property)) {
        ref.Object->SetProperty(ref.Property, value);
        return;
    }
    te.UserVariables.SetVariable(name, value);
}
