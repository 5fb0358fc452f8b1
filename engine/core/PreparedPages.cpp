#include "PreparedPages.h"

#include "Engine.h"
#include "EngineErrors.h"
#include "EngineState.h"
#include "Objects.h"
#include "Page.h"
#include "Rounding.h"
#include "StreamIO.h"

#include <QBuffer>
#include <QScopeGuard>

namespace {

// The version byte every prepared page stream starts with.
constexpr quint8 kStreamVersion = 24;
// How far outside the visible region an object's box may reach and still be painted.
constexpr int kVisibleSlack = 10;

bool Contains(const CanvasRect& r, QPoint p) {
    return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

}  // namespace

TfrPreparedPage::TfrPreparedPage() = default;
TfrPreparedPage::~TfrPreparedPage() = default;

TfrEMFPages::TfrEMFPages(TfrReport* report) : report_(report) {}

TfrEMFPages::~TfrEMFPages() {
    ClearAll();
}

TfrPreparedPage& TfrEMFPages::RecordAt(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(index);
    return *pages_[index];
}

// --- adding and removing -----------------------------------------------------------------------

TfrPreparedPage& TfrEMFPages::Insert(int index, const TfrPage& page) {
    if (index < 0)
        throw EListError(index);
    auto record = std::make_unique<TfrPreparedPage>();
    record->Stream = std::make_unique<QBuffer>();
    record->Stream->open(QIODevice::ReadWrite);
    frEngineState().StreamVersion = kStreamVersion;
    frWriteByte(*record->Stream, kStreamVersion);

    record->PaperKind = static_cast<quint16>(page.PaperKind & 0xFFFF);
    record->PaperX = page.PaperX;
    record->PaperY = page.PaperY;
    record->Orientation = page.Orientation;
    record->PaperSource = page.PaperSource;
    record->WholeSheet = page.WholeSheet;
    record->LeftMargin = page.LeftMargin;
    record->TopMargin = page.TopMargin;
    record->RightMargin = page.RightMargin;
    record->BottomMargin = page.BottomMargin;
    record->Metrics = page.Metrics;

    const auto at = index < Count() ? pages_.begin() + index : pages_.end();
    return **pages_.insert(at, std::move(record));
}

void TfrEMFPages::Add(const TfrPage& page) {
    Insert(Count(), page);
    const TfrEngineState& state = frEngineState();
    TfrReport* current = state.CurrentReport;
    TfrReport* main = state.MainReport;
    if (current && current->OnBeginPage)
        current->OnBeginPage(state.PreparedPageIndex);
    if (main && main != current && main->OnBeginPage)
        main->OnBeginPage(state.PreparedPageIndex);
}

TfrPreparedPage& TfrEMFPages::AppendBlank() {
    auto record = std::make_unique<TfrPreparedPage>();
    record->Stream = std::make_unique<QBuffer>();
    record->Stream->open(QIODevice::ReadWrite);
    pages_.push_back(std::move(record));
    return *pages_.back();
}

void TfrEMFPages::Delete(int index) {
    RecordAt(index);
    pages_.erase(pages_.begin() + index);
}

void TfrEMFPages::ClearAll() {
    while (!pages_.empty())
        Delete(0);
}

// --- loading and storing -----------------------------------------------------------------------

void TfrEMFPages::LoadPage(int index) {
    TfrPreparedPage& record = RecordAt(index);
    record.LoadedPage.reset();
    TfrEngineState& state = frEngineState();

    // Selects the record's paper on the printer; drawing scales by the record's metrics.
    auto page = std::make_unique<TfrPage>(record.PaperKind, record.PaperX, record.PaperY,
                                          record.PaperSource, record.Orientation);
    page->LeftMargin = record.LeftMargin;
    page->TopMargin = record.TopMargin;
    page->RightMargin = record.RightMargin;
    page->BottomMargin = record.BottomMargin;
    page->WholeSheet = record.WholeSheet;
    state.CurrentDesignPage = page.get();

    QBuffer& stream = *record.Stream;
    stream.seek(0);
    // Preparation appends at the end, whatever happens here.
    const auto toEnd = qScopeGuard([&] { stream.seek(stream.size()); });
    state.StreamVersion = frReadByte(stream);
    while (!stream.atEnd()) {
        const quint8 type = frReadByte(stream);
        const QString className = type == frTypeAddIn ? frReadString(stream) : QString();
        std::unique_ptr<TfrView> view = frCreateObject(type, className);
        if (!view)
            throw EStreamError(QStringLiteral("Stream read error"));
        view->Prepared = true;
        view->ReadFromStream(stream);
        view->Prepared = false;
        // Painting on the measuring canvas sets an auto-width text's width.
        if (view->ObjectType == frTypeText && (view->Flags & frFlagAutoWidth))
            view->PaintObject(*frEngine().MeasureCanvas());
        page->AddObject(std::move(view));
    }
    record.LoadedPage = std::move(page);
}

void TfrEMFPages::StorePage(int index) {
    TfrPreparedPage& record = RecordAt(index);
    if (!record.LoadedPage)
        return;
    // Written aside first, so that a failing object leaves the stream as it was.
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    frEngineState().StreamVersion = kStreamVersion;
    frWriteByte(written, kStreamVersion);
    for (const auto& view : record.LoadedPage->Objects()) {
        view->Prepared = true;
        view->WorkMemo = view->Memo;
        view->WriteEntry(written);
    }
    record.Stream->buffer() = written.data();
    record.Stream->seek(record.Stream->size());
}

// --- drawing -----------------------------------------------------------------------------------

void TfrEMFPages::DrawPage(int index, Canvas& canvas, const CanvasRect& target) {
    TfrPreparedPage& record = RecordAt(index);
    TfrEngineState& state = frEngineState();
    SystemPrinter* system = frPrinter().System();
    const bool printing = system && system->Printing() && system->PageCanvas() == &canvas;
    state.PrintingState = true;

    if (!record.Showing) {
        record.LoadedPage.reset();
        return;
    }
    if (!record.LoadedPage)
        LoadPage(index);
    state.CurrentDesignPage = record.LoadedPage.get();

    const TfrPageMetrics& m = record.Metrics;
    if (m.SheetWidth <= 0 || m.SheetHeight <= 0)
        return;  // a sheet without a size cannot be scaled
    const double kx = double(target.right - target.left) / m.SheetWidth;
    const double ky = double(target.bottom - target.top) / m.SheetHeight;
    const bool everything = printing || canvas.IsRecording();

    for (const auto& view : record.LoadedPage->Objects()) {
        if (!everything) {
            const CanvasRect box{
                frRound(view->Left * kx) + target.left - kVisibleSlack,
                frRound(view->Top * ky) + target.top - kVisibleSlack,
                frRound((view->Left + view->Width) * kx) + target.left + kVisibleSlack,
                frRound((view->Top + view->Height) * ky) + target.top + kVisibleSlack,
            };
            if (!canvas.RectVisible(box))
                continue;
        }
        view->FactorX = kx;
        view->FactorY = ky;
        view->DrawOriginX = target.left;
        view->DrawOriginY = target.top;
        view->ToPrinter = printing;
        view->PaintObject(canvas);
    }
}

bool TfrEMFPages::ObjectAtPoint(int index, QPoint point, bool click, Qt::CursorShape& cursor) {
    TfrPreparedPage& record = RecordAt(index);
    if (!record.LoadedPage)
        LoadPage(index);

    double kx = 1;
    double ky = 1;
    double ox = 0;
    double oy = 0;
    if (!record.WholeSheet) {
        // The page is output into the printable area inside its margins.
        const TfrPageMetrics& m = record.Metrics;
        if (m.SheetWidth <= 0 || m.SheetHeight <= 0)
            return false;
        kx = double(m.PrintWidth - record.LeftMargin - record.RightMargin) / m.SheetWidth;
        ky = double(m.PrintHeight - record.TopMargin - record.BottomMargin) / m.SheetHeight;
        ox = record.LeftMargin + m.OffsetX;
        oy = record.TopMargin + m.OffsetY;
    }

    TfrView* hit = nullptr;
    const auto& objects = record.LoadedPage->Objects();
    for (auto it = objects.rbegin(); it != objects.rend() && !hit; ++it) {
        const TfrView& v = **it;
        const CanvasRect box{
            frRound(v.Left * kx + ox),
            frRound(v.Top * ky + oy),
            frRound(ox + kx * (v.Left + v.Width)),
            frRound(oy + ky * (v.Top + v.Height)),
        };
        if (Contains(box, point))
            hit = it->get();
    }
    TfrReport* report = report_;
    if (!hit || !report)
        return false;
    if (click) {
        if (!report->OnObjectClick)
            return false;
        report->OnObjectClick(*hit);
        return true;
    }
    if (!report->OnMouseOverObject)
        return false;
    report->OnMouseOverObject(*hit, cursor);
    return true;
}
