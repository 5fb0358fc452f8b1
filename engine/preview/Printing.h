#pragma once

#include <QList>
#include <QString>

class TfrEngine;
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
// preview are borrowed for the run. A request that prints no page fails with "Нет страниц для
// печати" before anything is sent. A failure (a bad page list, a spooler error) ends the run,
// closes the progress window and is raised; nothing more of the job is printed.
void frPrintPreparedPages(TfrReport& report, const QString& pageList, int copies, bool collate,
                          int pagesMode);

// The print run of the request kept in the report, page by page; a job begins with the first
// page that prints, a change of paper ends the job and begins another, and a cancel request
// aborts the job after the page being printed. Copies the printer cannot make are drawn here.
void frDoPrintPages(TfrReport& report);

// Makes the engine's reports print through frDoPrintPages.
void frStartPrinting(TfrEngine& engine);
