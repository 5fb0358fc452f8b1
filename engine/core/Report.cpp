#include "Report.h"

#include "Engine.h"
#include "EngineErrors.h"
#include "EngineState.h"
#include "EngineStrings.h"
#include "Failure.h"
#include "Page.h"
#include "PreparedPages.h"
#include "StreamIO.h"
#include "UiServices.h"

#include <QBuffer>
#include <utility>

namespace {

constexpr int kUntitled = 55209;

}  // namespace

// --- TfrPages ----------------------------------------------------------------------------------

TfrPages::TfrPages(TfrReport& report) : report_(report) {}

TfrPages::~TfrPages() {
    ClearAll();
}

TfrPage& TfrPages::PageAt(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(index);
    return *pages_[index];
}

TfrPage& TfrPages::Add() {
    pages_.push_back(
        std::make_unique<TfrPage>(frEngine().DefaultPaperKind(), 0, 0, -1, poPortrait));
    return *pages_.back();
}

void TfrPages::ClearAll() {
    pages_.clear();
}

// --- TfrReport ---------------------------------------------------------------------------------

TfrReport::TfrReport(QObject* owner)
    : QObject(owner),
      PreparedPages(std::make_unique<TfrEMFPages>(this)),
      UntitledName(frLoadStr(kUntitled)) {}

TfrReport::~TfrReport() {
    TfrEngineState* state = frEngineStateIfRunning();
    if (!state)
        return;
    if (state->CurrentReport == this)
        state->CurrentReport = nullptr;
    if (state->MainReport == this)
        state->MainReport = nullptr;
}

std::unique_ptr<TfrEMFPages> TfrReport::TakePreparedPages() {
    return std::exchange(PreparedPages, std::make_unique<TfrEMFPages>(this));
}

void TfrReport::ReturnPreparedPages(std::unique_ptr<TfrEMFPages> pages) {
    PreparedPages = pages ? std::move(pages) : std::make_unique<TfrEMFPages>(this);
}

void TfrReport::ClearAll() {
    Pages.ClearAll();
    Dictionary.Clear();
    TwoPass = false;
}

void TfrReport::SelectPrinterByName(const QString& name) {
    TfrPrinter& printer = frPrinter();
    if (!KeepPrinter) {
        const int index = printer.PrinterNames().indexOf(name);
        if (index >= 0)
            printer.SelectPrinter(index);
    }
    PrinterName = name;
}

TfrView* TfrReport::FindObject(const QString& name) const {
    for (int i = 0; i < Pages.Count(); ++i) {
        if (TfrView* view = Pages.PageAt(i).FindObject(name))
            return view;
    }
    return nullptr;
}

void TfrReport::ShowStreamError(const QString& text) {
    UiServices* services = frEngineState().Services;
    if (!services)
        throw Failure(text);
    services->Message(text, frLoadStr(55206), UiServices::Icon::Error);
}

// --- "ReportForm" ------------------------------------------------------------------------------

void TfrReport::WriteReportForm(QIODevice& stream) {
    frWriteInt(stream, frCurrentVersion);
    if (!StoreInDFM)
        return;
    QBuffer report;
    report.open(QIODevice::WriteOnly);
    WriteToStream(report);
    frWriteInt(stream, static_cast<qint32>(report.size()));
    if (stream.write(report.data()) != report.size())
        throw EStreamError(QStringLiteral("Stream write error"));
}

void TfrReport::ReadReportForm(QIODevice& stream) {
    frReadInt(stream);
    if (!StoreInDFM)
        return;
    const qint32 size = frReadInt(stream);
    const QByteArray bytes = stream.read(std::max(size, 0));
    if (size < 0 || bytes.size() != size)
        throw EStreamError(QStringLiteral("Stream read error"));
    reportForm_ = std::make_unique<QBuffer>();
    reportForm_->setData(bytes);
    reportForm_->open(QIODevice::ReadOnly);
}

void TfrReport::Loaded() {
    if (!StoreInDFM || !reportForm_)
        return;
    const std::unique_ptr<QBuffer> form = std::move(reportForm_);
    ReadFromStream(*form);
}

// --- preparation, showing, printing ------------------------------------------------------------

void TfrReport::ReportError(const QString& message) {
    TfrEngineState& state = frEngineState();
    state.ErrorFlag = true;
    QString text = frLoadStr(55200);
    QString object;
    if (const TfrView* view = state.CurrentView) {
        for (const QString& line : view->Memo)
            text += u'\r' + line;
        object = frLoadStr(55202) + u' ' + view->Name + u'\r';
    }
    const TfrReport* current = state.CurrentReport ? state.CurrentReport : this;
    // A titled report is the user's document: its title says which one, the component name
    // does not.
    const QString document = current->Title.isEmpty() ? current->objectName() : current->Title;
    text += QStringLiteral("\r\r") + frLoadStr(55201) + u' ' + document + u'\r' + object + u'\r' +
            message;
    state.ErrorText = text;
    TfrReport* main = state.MainReport ? state.MainReport : this;
    main->CancelRequested = true;
}

void TfrReport::ShowPreparedPages() {
    // Without a preview the prepared pages stay in the store.
    if (const auto& show = frEngineState().Hooks.ShowPreparedPages)
        show(*this);
}

void TfrReport::PrepareAndShow() {
    Prepare();
    ShowPreparedPages();
}

void TfrReport::DoPrintPages() {
    const auto& print = frEngineState().Hooks.PrintPages;
    if (!print)
        throw Failure(QStringLiteral("Printing is not installed in the engine"));
    print(*this);
}
