#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TfrEngine;
class TfrPagesView;
class TfrPrinter;
class TfrReport;

// Pages mode of a print request.
inline constexpr int frAllPages = 0;
inline constexpr int frOddPages = 1;
inline constexpr int frEvenPages = 2;

// The page numbers a page list such as "1,3,5-12" selects among pageCount pages; an empty text
// gives an empty list, which printing takes as every page. Spaces are ignored, a trailing "-" runs
// to the last page, a later "-" restarts the range, and a range whose start is above its end
// selects nothing. Numbers outside 1 .. pageCount select nothing. An item that is not a whole
// number raises EConvertError with the item's text.
QList<int> frParsePageList(const QString& list, int pageCount);

// Prints the report's prepared pages on the system's current printer: the request is kept in
// the report, then the print run goes inside the engine's progress window, or directly when
// the engine has none, the report has OnProgress or ShowProgress is off. Pages lent to a
// preview are borrowed for the run. A failure (a bad page list, a spooler error) ends the run,
// closes the progress window and is raised; nothing more of the job is printed.
void frPrintPreparedPages(TfrReport& report, const QString& pageList, int copies, bool collate,
                          int pagesMode);

// The print run of the request kept in the report, page by page; a change of paper ends the job
// and begins another, and a cancel request aborts the job after the page being printed.
void frDoPrintPages(TfrReport& report);

// Makes the engine's reports print through frDoPrintPages.
void frStartPrinting(TfrEngine& engine);

// The print dialog of a preview, then the printing of the pages it shows; the preview keeps its
// pages and its position. Nothing happens without pages or without a printer. Errors go to the
// engine's error box.
void frPrintBtnClick(TfrPagesView& view);

// What the page-setup dialog shows and returns: the printer (an index into the printer
// abstraction's names), the paper code, the orientation, and margins in hundredths of a
// millimetre.
struct TfrPageSetup {
    int Printer{0};
    int PaperKind{0};
    bool Landscape{false};
    int LeftMargin{0};
    int TopMargin{0};
    int RightMargin{0};
    int BottomMargin{0};
};
// Runs the page-setup dialog on `setup` over the printer; true when the user accepted it.
using TfrPageSetupDialog = std::function<bool(TfrPrinter&, TfrPageSetup&, QWidget* owner)>;
// The page-setup dialog of this engine (TfrPageSetupForm), modal.
bool frRunPageSetupForm(TfrPrinter& printer, TfrPageSetup& setup, QWidget* owner);

// Page setup of a preview: the dialog, then every report page gets the chosen paper and margins,
// the report is prepared again and the preview shows the new pages from page 1.
void frPageSetupBtnClick(TfrPagesView& view, const TfrPageSetupDialog& dialog = frRunPageSetupForm);
