#include "Expansion.h"

#include "Brackets.h"
#include "Dataset.h"
#include "DisplayFormat.h"
#include "Engine.h"
#include "EngineState.h"
#include "Failure.h"
#include "MemoLayout.h"
#include "MemoView.h"
#include "Page.h"
#include "ParserError.h"
#include "Report.h"
#include "TextEngine.h"
#include "Variant.h"
#include "Variants.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace {

constexpr QChar kParagraphMark{frParagraphMark};

// The position after a bracket opened at start (0-based) and its inner text; the position is
// start itself when no bracket opens there.
struct Bracket {
    qsizetype Finish{0};
    QString Inner;
};

Bracket FindBracketAt(const QString& s, qsizetype start) {
    Bracket b;
    b.Inner = frFindBracket(s, start, b.Finish);
    return b;
}

[[noreturn]] void RaiseUndefined(const QString& name) {
    throw EParserError(QStringLiteral("Переменная не определена: \"%1\"").arg(name));
}

TfrReport* CurrentReport() {
    return frEngineState().CurrentReport;
}

TfrPage* CurrentPage() {
    return frEngineState().CurrentDesignPage;
}

bool Has(quint16 flags, quint16 bit) {
    return (flags & bit) != 0;
}

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

// Whether the object's property list has that name.
bool HasProperty(TfrObject& object, const QString& name) {
    object.PropertyList();
    return object.FindProperty(name) != nullptr;
}

const TfrDictEntry* FindEntry(const QList<TfrDictEntry>& entries, const QString& name) {
    for (const TfrDictEntry& e : entries) {
        if (e.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

}  // namespace

// --- expansion -----------------------------------------------------------------------------

void TfrExpansion::ExpandText(QString& s) {
    qsizetype i = 0;
    for (;;) {
        while (i < s.size() - 1 && s[i] != u'[')
            ++i;
        if (i >= s.size())
            return;
        const Bracket b = FindBracketAt(s, i);
        if (b.Finish == i)
            return;
        // A bracket that the text never closes would lose its last character and print
        // a part of its expression: it is refused instead.
        if (b.Finish == s.size() - 1 && FindBracketAt(s + u' ', i).Finish != b.Finish)
            throw EParserError(QStringLiteral("Нет закрывающей скобки: \"%1\"").arg(s.mid(i)));
        s.remove(i, b.Finish - i + 1);
        const QString v = BracketValue(b.Inner);
        s.insert(i, v);
        i += v.size();
    }
}

void TfrExpansion::ExpandMemo(TfrMemoView& memo) {
    QStringList lines;
    for (QString s : memo.Memo) {
        if (!s.isEmpty() && !Has(memo.Flags, frFlagTextOnly))
            ExpandText(s);
        if (s.isEmpty())
            lines.append(QString());
        else
            lines.append(frSplitLines(s));
    }
    memo.WorkMemo = lines;
}

QString TfrExpansion::BracketValue(const QString& expression) {
    TfrTextEngine& te = engine_;
    te.ExpressionInProgress.clear();
    const TfrView* view = frEngineState().CurrentView;
    qint32 format = view ? view->DisplayFormat : 0;
    QString pattern = view ? view->DisplayFormatText : QString();
    QString e = expression;
    if (const qsizetype mark = e.indexOf(QStringLiteral(" #")); mark >= 0) {
        const TfrInlineFormat inlineFormat = frParseInlineFormat(e.mid(mark + 2), format);
        format = inlineFormat.Format;
        pattern = inlineFormat.Pattern;
        e.truncate(mark);
    }
    te.CurrentValue = 0;
    te.CurrentValue = LookUpValue(e);
    if (view && Has(view->Flags, frFlagHideZeros) &&
        te.CurrentValue.typeId() != QMetaType::QString) {
        try {
            if (frVarEquals(te.CurrentValue, QVariant(0), te.Locale))
                te.CurrentValue = QString();
        } catch (const Failure&) {
            // a value that cannot be compared with 0 is shown as it is
        }
    }
    if (te.CollectingAggregates)
        return QString();
    return frFormatValue(te.CurrentValue, format, pattern, te.Locale, te.Presets);
}

// --- the lookup chain ------------------------------------------------------------------------

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

// --- functions ----------------------------------------------------------------------------

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

// --- printing a text object ----------------------------------------------------------------

void TfrExpansion::BeforePrint(TfrMemoView& memo) {
    if (memo.BoundDataSet && !memo.BoundField.isEmpty()) {
        TfrDataset& dataset = *memo.BoundDataSet;
        const int index = dataset.FieldIndex(memo.BoundField);
        if (index >= 0 && dataset.IsBlobField(index))
            memo.LoadFromField(dataset.FieldValue(index));
    }
    if (TfrReport* report = CurrentReport(); report && report->OnBeforePrint)
        report->OnBeforePrint(memo.WorkMemo, memo);
}

void TfrExpansion::ApplyHighlight(TfrMemoView& memo) {
    if (memo.HighlightCondition.isEmpty())
        return;
    TfrTextEngine& te = engine_;
    try {
        const QVariant v = te.Parser.Evaluate(memo.HighlightCondition);
        if (frIsEmpty(v) || frVarEquals(v, QVariant(0), te.Locale))
            return;
    } catch (const Failure&) {
        return;  // a condition that fails leaves the object as it is
    }
    memo.Font.style = static_cast<quint8>(memo.Highlight.FontStyle & 15);
    memo.Font.color = memo.Highlight.FontColor;
    memo.FillColor = memo.Highlight.FillColor;
}

void TfrExpansion::PrepareLines(TfrMemoView& memo) {
    engine_.RunScript(memo, memo.ScriptText);
    bool expand = true;
    const TfrReport* report = CurrentReport();
    if (report && report->OnBeforePrint) {
        memo.WorkMemo = memo.Memo;
        BeforePrint(memo);
        expand = memo.WorkMemo == memo.Memo;
    }
    if (expand)
        ExpandMemo(memo);
}

void TfrExpansion::PrepareText(TfrMemoView& memo) {
    memo.DrawCanvas = engine_.Engine().MeasureCanvas();
    frEngineState().CurrentView = &memo;
    PrepareLines(memo);
    if (memo.Visible)
        ApplyHighlight(memo);
}

void TfrExpansion::Print(TfrMemoView& memo, QIODevice& stream) {
    TfrTextEngine& te = engine_;
    TfrEngineState& state = frEngineState();
    Canvas* measure = te.Engine().MeasureCanvas();
    memo.DrawCanvas = measure;
    state.CurrentView = &memo;
    memo.AlignToPage();
    memo.FitToBottom = true;
    // Measured text (phase 1) is already expanded and broken; a part (phase 2) goes on with
    // the lines the previous part left.
    if (memo.PrintPhase == 0)
        PrepareLines(memo);
    if (!memo.Visible) {
        memo.PrintPhase = 0;
        return;
    }

    const CanvasFont font = memo.Font;
    const quint32 fill = memo.FillColor;
    const QString tag = memo.Tag;
    const quint8 bandAlign = memo.BandAlign;
    const auto restore = qScopeGuard([&] {
        memo.Font = font;
        memo.FillColor = fill;
        memo.Tag = tag;
        memo.BandAlign = bandAlign;
        memo.PrintPhase = 0;
    });
    ApplyHighlight(memo);

    // Printing a part: the lines that fit the object's height now, the rest later.
    QStringList wrapped;
    if (memo.PrintPhase == 2) {
        memo.ScaleGeometry();
        te.Layout.OutputPass(memo, *measure);
        wrapped = memo.WorkMemo;
        memo.WorkMemo = memo.WorkMemo.mid(0, memo.LinesDone);
        if (!frJoinLines(memo.WorkMemo).contains(kParagraphMark))
            memo.WorkMemo.append(QString(kParagraphMark));
        memo.RestoreGeometry();
    }

    if (memo.Tag.contains(u'[')) {
        const qint32 displayFormat = memo.DisplayFormat;
        const auto restoreFormat = qScopeGuard([&] { memo.DisplayFormat = displayFormat; });
        memo.DisplayFormat = 0;
        ExpandText(memo.Tag);
    }

    const QString text = frJoinLines(memo.WorkMemo);
    const bool suppressed = Has(memo.Flags, frFlagSuppress) && text == memo.PreviousText;
    if (!suppressed) {
        memo.WriteEntry(stream);
        if (Has(memo.Flags, frFlagSuppress))
            memo.PreviousText = text;
    }
    if (memo.PrintPhase == 2)
        memo.WorkMemo = wrapped.mid(memo.LinesDone);
}
