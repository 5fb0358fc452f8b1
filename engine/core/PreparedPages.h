#pragma once

#include "Canvas.h"
#include "Printer.h"
#include "Report.h"

#include <QPoint>
#include <QPointer>
#include <QtGlobal>
#include <memory>
#include <vector>

class QBuffer;
class TfrPage;

// One prepared page: the paper and metrics its design page had when it was added, and its
// objects as a stream, turned into live objects only while the page is drawn.
struct TfrPreparedPage {
    TfrPreparedPage();
    ~TfrPreparedPage();
    TfrPreparedPage(const TfrPreparedPage&) = delete;
    TfrPreparedPage& operator=(const TfrPreparedPage&) = delete;

    // The page's rectangle in the preview's document space, written by its layout.
    CanvasRect ViewRect;
    quint16 PaperKind{0};
    qint32 PaperX{0};
    qint32 PaperY{0};
    quint8 Orientation{0};
    qint32 PaperSource{0};
    bool WholeSheet{false};
    qint32 LeftMargin{0};
    qint32 TopMargin{0};
    qint32 RightMargin{0};
    qint32 BottomMargin{0};
    // Refreshed by printing; drawing scales by these, not by the loaded page's own.
    TfrPageMetrics Metrics;
    // Set for pages on screen and for the page being printed; a draw while it is clear
    // releases LoadedPage.
    bool Showing{false};
    // The version byte, then one entry per object in printing order: the type byte, the class
    // name for add-ins, the object in its prepared form.
    std::unique_ptr<QBuffer> Stream;
    // The objects of Stream, in stream order, while the page is drawn.
    std::unique_ptr<TfrPage> LoadedPage;
};

// A report's prepared pages, in order. Indexed operations raise EListError for an index
// outside 0 .. Count() - 1.
class TfrEMFPages {
public:
    explicit TfrEMFPages(TfrReport* report);
    ~TfrEMFPages();
    TfrEMFPages(const TfrEMFPages&) = delete;
    TfrEMFPages& operator=(const TfrEMFPages&) = delete;

    // The report whose events the store raises; null once that report is gone.
    TfrReport* Report() const { return report_; }
    int Count() const { return static_cast<int>(pages_.size()); }
    TfrPreparedPage& RecordAt(int index) const;

    // A new page with the paper, margins and metrics of the design page, at index (appended
    // when index is not below Count()). Its stream holds the version byte.
    TfrPreparedPage& Insert(int index, const TfrPage& page);
    // Insert at the end, then OnBeginPage with PreparedPageIndex on the current report and,
    // when it is another one, on the main report.
    void Add(const TfrPage& page);
    // A zero-filled record at the end with an empty stream, for pages read back from a file.
    TfrPreparedPage& AppendBlank();
    void Delete(int index);
    void ClearAll();

    // LoadedPage afresh from Stream; the loaded page becomes the current design page. A stream
    // that cannot be read leaves no loaded page.
    void LoadPage(int index);
    // LoadedPage's objects back into Stream; nothing without a loaded page.
    void StorePage(int index);
    // Draws the page into target (device pixels) scaled from its sheet. Objects lying more than
    // 10 pixels outside the visible region are skipped on screen; printers and recording
    // canvases get every object. With Showing clear the loaded page is released instead.
    void DrawPage(int index, Canvas& canvas, const CanvasRect& target);
    // The topmost object under a point in page units is passed to the report's OnObjectClick
    // (click) or OnMouseOverObject; true when a handler was called.
    bool ObjectAtPoint(int index, QPoint point, bool click, Qt::CursorShape& cursor);

private:
    QPointer<TfrReport> report_;
    std::vector<std::unique_ptr<TfrPreparedPage>> pages_;
};
