#pragma once

#include "Canvas.h"
#include "Report.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QFrame;
class QLabel;

class QScrollBar;
class QToolButton;
class TfrEMFPages;
class TfrPBox;
struct TfrPreparedPage;

// Where a search through the shown pages stands. FindText is upper-cased when the search
// ignores case; FoundRect is in page units of the sheet.
struct TfrSearchState {
    // As typed last, offered by the search dialog next time.
    QString Typed;
    QString FindText;
    bool MatchCase{false};
    bool TextFound{false};
    CanvasRect FoundRect;
    // The zero-based page the next search starts on, and the first drawing record of it that
    // may match.
    int SearchPage{0};
    int SearchRecord{0};
    // The current page when a search last ran past the last page, 0 otherwise: until the
    // current page changes, the search stays run out.
    int RanOutOn{0};
};

// The zoom every preview opens at, remembered for the rest of the run.
struct TfrRememberedZoom {
    double LastScale{1.0};
    TfrPreviewZoom LastZoomMode{pzDefault};
};

// The panel that shows prepared pages: the paint box with its vertical bar and page buttons,
// the page label with the horizontal bar below, and the zoom popup. It owns the pages it
// shows; all zoom, scroll and page state lives here.
class TfrPreviewView : public QWidget {
public:
    explicit TfrPreviewView(QWidget* parent = nullptr);
    ~TfrPreviewView() override;

    // Shared by every view of the process.
    static TfrRememberedZoom& Remembered();

    // --- the pages
    TfrReport* ShownReport() const { return shownReport_; }
    void SetShownReport(TfrReport* report) { shownReport_ = report; }
    TfrEMFPages* ShownPages() const { return shownPages_.get(); }
    int PageCount() const;
    // Frees the pages held and takes the shown report's prepared pages.
    void TakePages();
    // Hands the pages back to the shown report; the view holds none.
    void ReturnPages();

    // --- state
    int CurrentPage() const { return currentPage_; }
    void SetCurrentPage(int page) { currentPage_ = page; }
    int OriginX() const { return originX_; }
    int OriginY() const { return originY_; }
    double Scale() const { return scale_; }
    TfrPreviewZoom ZoomMode() const { return zoomMode_; }
    bool LayoutReady() const { return layoutReady_; }
    int WheelFactor() const { return wheelFactor_; }
    void SetWheelFactor(int factor) { wheelFactor_ = factor; }
    // Called before the page label shows a page.
    std::function<void()> PageChanged;
    // A popup shown on a right press instead of the zoom popup.
    QPointer<QMenu> OwnerPopup;
    // Told the zoom in percent whenever the layout sets the scale.
    std::function<void(int percent)> ZoomShown;
    // Page keys of the view itself; a window that reads the keys first turns them off.
    bool OwnKeys{true};
    TfrSearchState& Search() { return search_; }
    // Draws under the objects of a page on the screen (never when printing): the zero-based
    // page, the canvas cut to the sheet, the sheet's rectangle, pixels per page unit.
    std::function<void(int page, Canvas& canvas, const CanvasRect& sheet, double scale)>
        PaintUnderPage;

    // --- layout and painting
    // From the remembered zoom; with resetPosition, back to page 1 at the top-left. Loaded
    // pages are released and the view is repainted.
    void ResetView(bool resetPosition);
    // Places the parts, then lays out the pages.
    void Relayout();
    void FormResize();
    // The pages onto a canvas the size of the paint box; the canvas's visible region is the
    // area being repainted.
    void PaintPages(Canvas& canvas);
    // The bar panels: the vertical one on the right, the page label and horizontal bar below.
    void SetPanelsVisible(bool right, bool bottom);
    void SetLayoutReady(bool ready) { layoutReady_ = ready; }
    // Where a page's content is drawn for its screen rectangle r at a scale: the whole sheet,
    // or the printable area inside the margins.
    static CanvasRect PageTarget(const TfrPreparedPage& page, const CanvasRect& r, double scale);
    // A rectangle of document space shown inverted on top of the pages until the layout,
    // the zoom or the pages change.
    void SetHighlight(const CanvasRect& rect);
    void ClearHighlight();
    std::optional<CanvasRect> Highlight() const { return highlight_; }

    // --- zoom
    // A popup entry's tag: 1 page width, 2 whole page, 3 two pages, else a percentage.
    void N3Click(int tag);
    void SetZoomPercent(double percent);
    void SetFitMode(TfrPreviewZoom mode);
    // The tag of the checked popup entry, 0 when none is checked.
    int CheckedZoomTag() const;

    // --- scrolling and pages
    void VScrollBarChange(int position);
    void HScrollBarChange(int position);
    void WheelUp();
    void WheelDown();
    // Clamped to the bar's range.
    void SetHPos(int position);
    void SetVPos(int position);
    int HPos() const;
    int VPos() const;
    void ScrollToCurrentPage();
    void GoToPage(int page);
    void PgUpClick();
    void PgDownClick();
    void UpdatePageLabel();

    // --- parts
    TfrPBox* PaintBox() const { return paintBox_; }
    QWidget* RPanel() const { return rPanel_; }
    QWidget* BPanel() const { return bPanel_; }
    QScrollBar* VScrollBar() const { return vScrollBar_; }
    QScrollBar* HScrollBar() const { return hScrollBar_; }
    QToolButton* PgUp() const { return pgUp_; }
    QToolButton* PgDown() const { return pgDown_; }
    QLabel* PageLabel() const { return label1_; }
    QMenu* ProcMenu() const { return procMenu_; }

    // Wheel steps of 120 units; smaller steps add up.
    void Wheel(int angleDelta);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ArrangeParts();
    void CheckZoomEntry(int tag);
    // The percentage entry with exactly that value, or 0.
    int PercentTag(double percent) const;
    void ReleasePages();
    void ShowPage(int page);

    QWidget* scrollBox_{nullptr};
    QWidget* rPanel_{nullptr};
    TfrPBox* paintBox_{nullptr};
    QScrollBar* vScrollBar_{nullptr};
    QToolButton* pgUp_{nullptr};
    QToolButton* pgDown_{nullptr};
    QWidget* bPanel_{nullptr};
    QFrame* bevel1_{nullptr};
    QLabel* label1_{nullptr};
    QScrollBar* hScrollBar_{nullptr};
    QMenu* procMenu_{nullptr};

    QPointer<TfrReport> shownReport_;
    std::unique_ptr<TfrEMFPages> shownPages_;
    int currentPage_{1};
    int originX_{0};
    int originY_{0};
    int prevHPos_{0};
    int prevVPos_{0};
    double scale_{1.0};
    TfrPreviewZoom zoomMode_{pzDefault};
    bool layoutReady_{false};
    int wheelFactor_{1};
    int wheelRest_{0};
    std::optional<CanvasRect> highlight_;
    TfrSearchState search_;
};
