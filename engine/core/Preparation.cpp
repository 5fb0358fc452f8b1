// Preparation: design pages into prepared pages. Pages without band objects are built whole;
// band objects are put into their slots, and their data loops are not run.

#include "Band.h"
#include "Engine.h"
#include "EngineStrings.h"
#include "Failure.h"
#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"
#include "ProgressWindow.h"
#include "Report.h"
#include "UiServices.h"

#include <QBuffer>
#include <QCoreApplication>
#include <algorithm>
#include <functional>

namespace {

constexpr int kOf = 55199;
constexpr int kError = 55206;
constexpr int kFirstPass = 55204;
constexpr int kFormingPage = 55205;

TfrProgressWindow* ProgressWindow() {
    return frEngine().ProgressWindow();
}

TfrReport& MainReport(TfrReport& fallback) {
    TfrReport* main = frEngineState().MainReport;
    return main ? *main : fallback;
}

bool IsCross(int kind) {
    return kind >= btCrossHeader && kind <= btCrossFooter;
}

QString MessageOf(const std::exception& e) {
    if (const auto* failure = dynamic_cast<const Failure*>(&e))
        return failure->Message();
    return QString::fromUtf8(e.what());
}

// A page's or band's script; a failure ends building as an object's does.
void RunScript(TfrReport& report, const std::function<void(TfrTextLayer&)>& run) {
    if (TfrTextLayer* layer = frEngineState().TextLayer) {
        try {
            run(*layer);
        } catch (const std::exception& e) {
            report.ReportError(MessageOf(e));
        }
    }
}

// The kind a band object stands for, kept in its frame-type field.
int KindOf(const TfrView& band) {
    return std::clamp<int>(band.FrameTyp, 0, btChild);
}

}  // namespace

// --- the report -------------------------------------------------------------------------------

bool TfrReport::Prepare() {
    TfrEngineState& state = frEngineState();
    SelectPrinterByName(PrinterName);
    state.PrintingState = true;

    // Objects aligned to the page edges take their places once.
    for (int i = 0; i < Pages.Count(); ++i) {
        TfrPage& page = Pages.PageAt(i);
        state.CurrentDesignPage = &page;
        for (const auto& view : page.Objects()) {
            if (view->BandAlign != baNone)
                view->PaintObject(*frEngine().MeasureCanvas());
        }
    }
    state.CurrentDesignPage = nullptr;
    state.CurrentBand = nullptr;
    state.MainReport = state.CurrentReport = this;
    TwoPassAtStart = TwoPass;
    if (state.TextLayer)
        state.TextLayer->BeginPreparation();

    QBuffer snapshot;
    snapshot.open(QIODevice::ReadWrite);
    WriteToStream(snapshot);
    if (OnBeginDoc)
        OnBeginDoc();
    bool result = false;
    try {
        result = RunPreparation();
    } catch (const std::exception& e) {
        // What building could not report itself (a progress window that failed) ends it too.
        ReportError(MessageOf(e));
        result = false;
    }
    if (OnEndDoc)
        OnEndDoc();
    const bool errorFlag = state.ErrorFlag;
    const QString errorText = state.ErrorText;
    snapshot.seek(0);
    ReadFromStream(snapshot);

    LastPass = false;
    if (result && state.DialogCancelled)
        result = false;
    state.ScriptOnlyPass = false;
    state.CurrentBand = nullptr;
    if (errorFlag) {
        // No page of a failed preparation is left, and it never counts as a success.
        PreparedPages->ClearAll();
        if (!state.Services)
            throw Failure(errorText);
        state.Services->Message(errorText, frLoadStr(kError), UiServices::Icon::Error);
        return false;
    }
    if (state.DialogCancelled)
        PreparedPages->ClearAll();
    return result;
}

bool TfrReport::RunPreparation() {
    TfrEngineState& state = frEngineState();
    bool result = true;
    CancelRequested = false;
    state.AppendToPrevious = false;
    state.ScriptOnlyPass = false;
    LastPass = true;
    state.PreparedPageIndex = 0;
    PreparedPages->ClearAll();

    const QString caption = frProgressCaption(*this);
    TfrProgressWindow* window = ShowProgress && !OnProgress ? ProgressWindow() : nullptr;
    const auto run = [&](int stepText) {
        window->SetCaption(caption);
        window->SetStepText(frLoadStr(stepText));
        window->SetLabel1(frLoadStr(stepText) + QStringLiteral("  1"));
        window->SetWorkHandler([this](TfrProgressWindow&) { BuildPass(); });
        return window->RunProgress(*this) != mrCancel;
    };

    if (TwoPass) {
        state.ScriptOnlyPass = true;
        LastPass = false;
        if (window)
            result = run(kFirstPass);
        else
            BuildPass();
    } else if (window) {
        if (TwoPassAtStart) {
            // The last pass, inside the window the first pass opened.
            window->SetStepText(frLoadStr(kFormingPage));
            TwoPass = true;
            BuildPass();
        } else {
            state.TotalPages = 0;
            result = run(kFormingPage);
        }
    } else {
        TwoPass = TwoPassAtStart;
        BuildPass();
    }
    return result;
}

void TfrReport::BuildPass() {
    TfrEngineState& state = frEngineState();
    BuildPages();
    if (LastPass) {
        frEndProgress(*this);
        return;
    }
    state.TotalPages = PreparedPages->Count();
    TwoPass = false;
    if (!CancelRequested) {
        state.ScriptOnlyPass = false;
        RunPreparation();
    } else {
        PreparedPages->ClearAll();
        frEndProgress(*this);
    }
    TwoPass = true;
}

void TfrReport::BuildPages() {
    TfrEngineState& state = frEngineState();
    QCoreApplication::processEvents();
    Building = true;
    state.PrintingState = true;
    state.CurrentReport = this;
    if (state.TextLayer)
        state.TextLayer->BeginPreparation();
    state.ErrorFlag = false;
    const bool lastOfTwo = TwoPassAtStart && LastPass;
    if (!lastOfTwo) {
        state.HookList.clear();
        for (int i = 0; i < Pages.Count(); ++i)
            Pages.PageAt(i).Skip = false;
        state.DialogCancelled = false;
    }
    // Dialog pages are not shown: this engine has no dialog forms.

    if (!state.DialogCancelled) {
        try {
            for (int i = 0; i < Pages.Count(); ++i) {
                if (Pages.PageAt(i).Type == ptReport)
                    Pages.PageAt(i).InitForBuild();
            }
            for (int i = 0; i < Pages.Count(); ++i) {
                if (Pages.PageAt(i).Type == ptReport)
                    Pages.PageAt(i).PrepareDataFields();
            }
        } catch (const std::exception& e) {
            ReportError(MessageOf(e));
        }
        TfrReport& main = MainReport(*this);
        ReportProgress(state.PreparedPageIndex + 1);
        for (int j = 0; j < Pages.Count() && !main.CancelRequested; ++j) {
            TfrPage& page = Pages.PageAt(j);
            state.CurrentDesignPage = &page;
            page.PageIndex = j + 1;
            if (!page.Visible && !page.ScriptText.isEmpty())
                RunScript(*this, [&](TfrTextLayer& l) { l.RunPageScript(page.ScriptText); });
            if (page.Skip || page.Type != ptReport || !page.Visible)
                continue;
            page.Mode = 0;
            page.FormPage();
            state.AppendToPrevious = false;
            if (j + 1 < Pages.Count() && Pages.PageAt(j + 1).PrintToPrevPage) {
                --state.PreparedPageIndex;
                state.AppendToPrevious = true;
            } else {
                state.PreparedPageIndex = main.PreparedPages->Count();
                ReportProgress(state.PreparedPageIndex);
            }
        }
        ReportProgress(state.PreparedPageIndex);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < Pages.Count(); ++i) {
            TfrPage& page = Pages.PageAt(i);
            if ((page.Type == ptReport) == (pass == 0))
                page.DoneAfterBuild();
        }
    }
    Building = false;
}

void TfrReport::ReportProgress(int n) {
    if (OnProgress) {
        OnProgress(n);
        return;
    }
    if (!ShowProgress)
        return;
    TfrProgressWindow* window = frProgressWindowOf(*this);
    if (!window)
        return;
    QString text = frProgressLine(*window, n);
    TfrEngineState& state = frEngineState();
    const TfrReport& main = MainReport(*this);
    if (main.TwoPassAtStart && main.LastPass)
        text += u' ' + frLoadStr(kOf) + u' ' + QString::number(state.TotalPages);
    window->SetLabel1(text);
    QCoreApplication::processEvents();
}

// --- the page ---------------------------------------------------------------------------------

void TfrPage::InitForBuild() {
    TfrReport* report = frEngineState().CurrentReport;
    if (report && report->TwoPassAtStart && report->LastPass && BandsBuilt)
        return;  // the bands of the first pass are kept; they have no data sources to rewind
    for (int kind = 0; kind < frBandKinds; ++kind)
        Bands[kind] = std::make_unique<TfrBand>(kind, *this);
    BuildBands();
    CurColumn = 0;
    ColPos = 1;
    CurPos = 1;
    BandsBuilt = true;
}

void TfrPage::BuildBands() {
    TfrEngineState& state = frEngineState();
    std::vector<TfrView*> bandViews;
    for (const auto& view : objects_) {
        view->Prepared = true;
        if (view->Flags & frFlagHook)
            state.HookList.push_back(view.get());
        view->Unplaced = view->ObjectType != frTypeBand;
        view->OwnerBand = nullptr;
        if (state.TextLayer && !view->ScriptText.isEmpty())
            state.TextLayer->TranslateScript(view->ScriptText);
        if (view->ObjectType == frTypeBand)
            bandViews.push_back(view.get());
        if (const auto* sub = dynamic_cast<const TfrSubReportView*>(view.get())) {
            TfrReport* report = state.CurrentReport;
            if (report && sub->SubPage >= 0 && sub->SubPage < report->Pages.Count())
                report->Pages.PageAt(sub->SubPage).Skip = true;
        }
    }

    // Band objects into their slots, cross kinds first; several of a kind chain by their tops.
    std::stable_sort(bandViews.begin(), bandViews.end(), [](const TfrView* a, const TfrView* b) {
        const bool ca = IsCross(KindOf(*a)), cb = IsCross(KindOf(*b));
        return ca != cb ? ca : a->Top < b->Top;
    });
    for (TfrView* view : bandViews) {
        const int kind = KindOf(*view);
        TfrBand* band = Bands[kind].get();
        if (band->View) {
            while (band->Next)
                band = band->Next.get();
            band->Next = std::make_unique<TfrBand>(kind, *this);
            band = band->Next.get();
        }
        band->View = view;
        band->Top = view->Top;
        band->Height = view->Height;
        for (const auto& object : objects_) {
            if (!object->Unplaced)
                continue;
            const bool within =
                IsCross(kind)
                    ? object->Left >= view->Left && object->Left < view->Left + view->Width
                    : object->Top >= view->Top && object->Top < view->Top + view->Height;
            if (!within)
                continue;
            object->Unplaced = false;
            object->OwnerBand = band;
            if (!IsCross(kind))
                object->Top -= view->Top;
            band->Objects.push_back(object.get());
        }
    }

    TfrBand& none = *Bands[btNone];
    none.Top = 0;
    for (const auto& object : objects_) {
        if (!object->Unplaced)
            continue;
        object->Unplaced = false;
        object->OwnerBand = &none;
        none.Objects.push_back(object.get());
    }

    if (Columns == 0)
        Columns = 1;
    ColumnWidth = (RightEdge() - LeftEdge() - (Columns - 1) * ColumnGap) / Columns;
}

void TfrPage::PrepareDataFields() {
    TfrEngineState& state = frEngineState();
    const TfrReport* report = state.CurrentReport;
    if (report && report->TwoPassAtStart && report->LastPass)
        return;
    for (const auto& view : objects_) {
        view->BoundDataSet = nullptr;
        view->BoundField.clear();
        if (state.TextLayer)
            state.TextLayer->BindDataField(*view);
    }
}

void TfrPage::FormPage() {
    TfrEngineState& state = frEngineState();
    TfrReport& report = *state.CurrentReport;
    TfrReport& main = MainReport(report);
    // Without PrintIfEmpty a page needs records in its master data band's source; no band here
    // has a source, so no page is formed then.
    if (!report.PrintIfEmpty) {
        if (state.AppendToPrevious)
            ++state.PreparedPageIndex;
        return;
    }
    NoRepeatHeader = false;
    if (!ScriptText.isEmpty())
        RunScript(report, [&](TfrTextLayer& l) { l.RunPageScript(ScriptText); });
    if (state.AppendToPrevious && state.PreparedPageIndex < 0)
        state.AppendToPrevious = false;
    CurBottomY = BottomEdge();
    CurColumn = 0;
    ColumnX = LeftEdge();
    if (!state.AppendToPrevious) {
        main.PreparedPages->Add(*this);
        CurY = TopEdge();
        ShowBand(*Bands[btOverlay]);
        ShowBand(*Bands[btNone]);
    }
    if (report.OnManualBuild)
        report.OnManualBuild(*this);
    if (report.OnEndPage)
        report.OnEndPage(state.PreparedPageIndex);
    if (&main != &report && main.OnEndPage)
        main.OnEndPage(state.PreparedPageIndex);
    ++state.PreparedPageIndex;
}

void TfrPage::DoneAfterBuild() {
    const TfrReport* report = frEngineState().CurrentReport;
    if (report && report->TwoPassAtStart && !report->LastPass)
        return;
    for (auto& band : Bands)
        band.reset();
    BandsBuilt = false;
}

void TfrPage::ShowBand(TfrBand& band) {
    TfrEngineState& state = frEngineState();
    TfrReport& report = *state.CurrentReport;
    TfrReport& main = MainReport(report);
    state.CurrentBand = &band;
    if (report.OnBeginBand)
        report.OnBeginBand(&band);
    if (band.View && !band.View->ScriptText.isEmpty())
        RunScript(report, [&](TfrTextLayer& l) { l.RunScript(*band.View, band.View->ScriptText); });
    if (main.CancelRequested)
        return;
    if (band.Visible) {
        for (TfrView* view : band.Objects) {
            if (main.CancelRequested)
                break;
            DrawBandObject(band, *view);
        }
    }
    if (report.OnEndBand)
        report.OnEndBand(&band);
}

void TfrPage::DrawBandObject(TfrBand& band, TfrView& view) {
    TfrEngineState& state = frEngineState();
    TfrReport& report = *state.CurrentReport;
    state.CurrentDesignPage = &band.Parent;
    state.CurrentBand = &band;
    if (view.OwnerBand != &band)
        return;
    try {
        if (state.ScriptOnlyPass) {
            if (state.TextLayer)
                state.TextLayer->RunScript(view, view.ScriptText);
            return;
        }
        const qint32 left = view.Left;
        const qint32 top = view.Top;
        view.Left = ColumnX + view.Left - LeftEdge();
        view.Top = view.Top + band.Top;
        state.CurrentView = &view;
        const auto restore = [&] {
            view.Left = left;
            view.Top = top;
        };
        try {
            TfrEMFPages& pages = *MainReport(report).PreparedPages;
            QBuffer& stream = *pages.RecordAt(state.PreparedPageIndex).Stream;
            stream.seek(stream.size());
            view.Print(stream);
        } catch (...) {
            restore();
            throw;
        }
        restore();
        if (dynamic_cast<TfrMemoView*>(&view)) {
            for (TfrView* hooked : state.HookList)
                hooked->HookNotify(view);
        }
    } catch (const std::exception& e) {
        report.ReportError(MessageOf(e));
    }
}
