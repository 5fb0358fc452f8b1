#pragma once

#include "PagesView.h"
#include "Report.h"

#include <QFrame>
#include <QPointer>
#include <functional>

class QMenu;
class TfrEngine;
class TfrPreviewToolbar;
class TfrPreviewView;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A panel that shows a report's prepared pages inside a host window. It owns a view that
// holds the pages and all zoom and scroll state; its operations forward to that view.
// Printing and page setup go through OnPrint and OnPageSetup, which the application wires.
class TfrPreview : public QFrame, public TfrPagesView {
public:
    explicit TfrPreview(QWidget* parent = nullptr);
    ~TfrPreview() override;

    // --- published properties
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    // The preview window's toolbar above the pages, without its help and exit buttons.
    bool ShowToolbar() const { return showToolbar_; }
    void SetShowToolbar(bool show);
    // Raised whenever the page label is refreshed while pages are shown.
    std::function<void(TfrPreview& Sender, int PageNo)> OnPageChanged;
    std::function<void(TfrPagesView&)> OnPrint;
    std::function<void(TfrPagesView&)> OnPageSetup;
    // Shown on a right press instead of the zoom popup.
    void SetPopupMenu(QMenu* menu);

    // --- TfrPagesView
    TfrReport* ShownReport() const override;
    TfrEMFPages* ShownPages() const override;
    int CurrentPage() const override;
    void ConnectReport(TfrReport& report) override;
    void ReturnPages() override;
    void TakePages() override;
    void ResetView(bool resetPosition) override;
    QWidget* DialogOwner() const override;

    // --- operations
    void GoToPage(int page);
    int PageCount() const;
    void SetZoomPercent(double percent);
    void FitPageWidth();
    void ShowWholePage();
    void ShowTwoPages();
    void NextPage();
    void PreviousPage();
    void PrintReport();
    void SetUpPage();
    void NotifyPageChanged();

    TfrPreviewView& View() const { return *view_; }
    TfrPreviewToolbar& Toolbar() const { return *toolbar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Wheel events that reach the host window scroll the view.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ArrangeToolbar();

    TfrPreviewToolbar* toolbar_{nullptr};
    TfrPreviewView* view_{nullptr};
    TScrollStyle scrollBars_{ssBoth};
    bool showToolbar_{false};
    QPointer<QWidget> host_;
};

// Installs the showing of prepared pages, when there are any: a report whose Preview is a pages
// view connects to it; a report without a Preview opens the stand-alone preview window; with
// any other Preview the pages stay in the report's store.
void frStartPreview(TfrEngine& engine);
