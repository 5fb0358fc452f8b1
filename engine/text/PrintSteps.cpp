#include "Expansion.h"
#include "ExpansionSupport.h"

#include <QScopeGuard>
#include "Dataset.h"
#include "Engine.h"
#include "Failure.h"
#include "MemoLayout.h"
#include "MemoView.h"
#include "TextEngine.h"
#include "Variant.h"
#include "Variants.h"

using namespace frexpansion;

namespace {

constexpr QChar kParagraphMark{frParagraphMark};

}  // namespace

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
        QString expanded = memo.Tag;
        ExpandText(expanded);
        memo.Tag = expanded;
    }

    const QString text = frJoinLines(memo.WorkMemo);
    const bool suppressed = Has(memo.Flags, frFlagSuppress) && text == memo.PreviousText;
    if (!suppressed) {
        memo.WriteEntry(stream);
        if (Has(memo.Flags, frFlagSuppress))
            memo.PreviousText = text;
        if (state.CurrentDesignPage && !state.ScriptOnlyPass)
            te.Warnings.Check(memo, *state.CurrentDesignPage, state.PreparedPageIndex, te.Layout,
                              *measure);
    }
    if (memo.PrintPhase == 2)
        memo.WorkMemo = wrapped.mid(memo.LinesDone);
}
