#include "PreviewFind.h"

#include "PaintBox.h"
#include "PreparedPages.h"
#include "PreviewSearchForm.h"
#include "PreviewView.h"
#include "RecordingCanvas.h"
#include "Rounding.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <algorithm>

namespace {

constexpr int kMargin = 10;

// The index of the first text record at or after `from` whose text holds the search text, or
// -1; the records are those of one page drawn at scale 1.
int FindInRecords(const std::vector<CanvasRecord>& records, const TfrSearchState& search,
                  int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(records.size()); ++i) {
        const CanvasRecord& r = records[static_cast<std::size_t>(i)];
        if (r.kind != CanvasRecord::TextOut && r.kind != CanvasRecord::DrawText)
            continue;
        const QString text = search.MatchCase ? r.text : r.text.toUpper();
        if (text.contains(search.FindText))
            return i;
    }
    return -1;
}

// Scrolls so that the found text shows, 10 pixels in from the page's corner when it can, and
// marks it.
void ShowMatch(TfrPreviewView& view, const TfrPreparedPage& page, const CanvasRect& found) {
    const CanvasRect& r = page.ViewRect;
    const double s = view.Scale();
    const int h = frRound((found.bottom - found.top) * s);
    const int w = frRound((found.right - found.left) * s);
    const int y = frRound(found.top * s) + kMargin;
    const int x = frRound(found.left * s) + kMargin;
    const QSize box = view.PaintBox()->size();
    view.SetVPos(r.top - kMargin + std::max(0, y + h - box.height()));
    view.SetHPos(r.left - kMargin + std::max(0, x + w - box.width()));
    // In document space: the pages move under it as the view scrolls.
    const int left = r.left + frRound(found.left * s);
    const int top = r.top + frRound(found.top * s);
    view.SetHighlight({left, top, left + w, top + h});
}

// The match shown, its page current, and the view painted at once.
void ShowAndMark(TfrPreviewView& view, int index, const CanvasRect& found) {
    ShowMatch(view, view.ShownPages()->RecordAt(index), found);
    // After the scroll, which makes the first page of a row current.
    view.SetCurrentPage(index + 1);
    view.UpdatePageLabel();
    QCoreApplication::processEvents();
    view.SetLayoutReady(true);
    view.PaintBox()->repaint();
}

}  // namespace

void frMarkOnPage(TfrPreviewView& view, int index, const CanvasRect& rect) {
    if (!view.ShownPages() || index < 0 || index >= view.PageCount())
        return;
    view.SetLayoutReady(false);
    const auto ready = qScopeGuard([&] { view.SetLayoutReady(true); });
    view.ClearHighlight();
    // Where the page's own coordinates land when it is drawn on its sheet at scale 1.
    const TfrPreparedPage& page = view.ShownPages()->RecordAt(index);
    const CanvasRect origin = TfrPreviewView::PageTarget(
        page, {0, 0, page.Metrics.SheetWidth, page.Metrics.SheetHeight}, 1);
    ShowAndMark(view, index, rect.Translated(origin.left, origin.top));
}

bool frFindNext(TfrPreviewView& view) {
    TfrSearchState& search = view.Search();
    TfrEMFPages* pages = view.ShownPages();
    view.SetLayoutReady(false);
    const auto ready = qScopeGuard([&] { view.SetLayoutReady(true); });
    search.TextFound = false;
    view.ClearHighlight();

    const int count = view.PageCount();
    for (; search.SearchPage < count; ++search.SearchPage, search.SearchRecord = 0) {
        TfrPreparedPage& page = pages->RecordAt(search.SearchPage);
        const TfrPageMetrics& m = page.Metrics;
        RecordingCanvas canvas(QSize(std::max(m.SheetWidth, 1), std::max(m.SheetHeight, 1)));
        page.Showing = true;
        pages->DrawPage(search.SearchPage, canvas,
                        TfrPreviewView::PageTarget(page, {0, 0, m.SheetWidth, m.SheetHeight}, 1));
        const int match = FindInRecords(canvas.Records(), search, search.SearchRecord);
        if (match < 0) {
            page.Showing = false;
            pages->DrawPage(search.SearchPage, canvas, {});  // releases its objects
            continue;
        }

        search.TextFound = true;
        search.RanOutOn = 0;
        search.FoundRect = canvas.Records()[static_cast<std::size_t>(match)].bounds;
        search.SearchRecord = match + 1;
        ShowAndMark(view, search.SearchPage, search.FoundRect);
        return true;
    }
    search.RanOutOn = view.CurrentPage();
    return false;
}

void frContinueFromCurrentPage(TfrPreviewView& view) {
    TfrSearchState& search = view.Search();
    if (search.RanOutOn != 0 && search.RanOutOn == view.CurrentPage())
        return;
    search.RanOutOn = 0;
    if (view.CurrentPage() != search.SearchPage + 1) {
        search.SearchPage = view.CurrentPage() - 1;
        search.SearchRecord = 0;
    }
}

void frFindBtnClick(TfrPreviewView& view, QWidget* owner) {
    if (!view.ShownReport() || view.PageCount() == 0)
        return;
    TfrSearchState& search = view.Search();
    TfrPreviewSearchForm form(owner);
    form.Edit1->setText(search.Typed);
    form.CB1->setChecked(search.MatchCase);
    if (form.exec() != QDialog::Accepted)
        return;

    search.Typed = form.Edit1->text();
    search.MatchCase = form.CB1->isChecked();
    search.FindText = search.MatchCase ? search.Typed : search.Typed.toUpper();
    // An empty text would match every line.
    if (search.FindText.isEmpty())
        return;
    if (form.RB1->isChecked()) {
        search.SearchPage = 0;
        search.SearchRecord = 0;
        search.RanOutOn = 0;
    } else {
        frContinueFromCurrentPage(view);
    }
    frFindNext(view);
}
