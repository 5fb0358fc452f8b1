#pragma once

class QWidget;
class TfrEMFPages;
class TfrReport;

// A control that shows a report's prepared pages; a report's Preview points at one. Printing
// and page setup borrow the pages through it.
class TfrPagesView {
public:
    virtual ~TfrPagesView() = default;

    // The connected report (not owned); null before the first connection.
    virtual TfrReport* ShownReport() const = 0;
    // The store being shown, owned by the view; null before the first connection and while the
    // pages are lent to the report.
    virtual TfrEMFPages* ShownPages() const = 0;
    // 1-based.
    virtual int CurrentPage() const = 0;

    // Takes the report's prepared pages and shows them from the remembered zoom.
    virtual void ConnectReport(TfrReport& report) = 0;
    // Hands the shown pages back to the connected report; the view holds none.
    virtual void ReturnPages() = 0;
    // Frees the pages held and takes the connected report's prepared pages; the report keeps a
    // new, empty store.
    virtual void TakePages() = 0;
    virtual void ResetView(bool resetPosition) = 0;
    // The window that dialogs opened from the view belong to.
    virtual QWidget* DialogOwner() const = 0;
};
