#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class TfrEMFPages;
class TfrReport;

// Prepared report files: the prepared pages of a report, written so that they can be shown
// again without the report. A 48-byte header (magic, format version, body length, SHA-256 of
// the body) is followed by the body: the page count, then per page its paper, margins and
// metrics and its object stream as it stands. README.md describes the layout.

// The extension, forced onto the names the preview saves under.
inline constexpr char frPreparedReportExtension[] = "fwp";
// The version this program writes; files of a later one are refused.
inline constexpr int frPreparedReportVersion = 1;

// The file's bytes for these pages.
QByteArray frPreparedReportBytes(const TfrEMFPages& pages);

// Writes the pages aside and puts the file in place only when complete: a failed write leaves
// a file of that name as it was. Raises Failure with a message for the user.
void frSavePreparedReport(const TfrEMFPages& pages, const QString& fileName);

// A new store of the report's, with the pages of the file. A file that is not a prepared report,
// is damaged or is of a later version raises Failure with a message for the user; every page is
// read through once, so a page that could not be drawn is refused here.
std::unique_ptr<TfrEMFPages> frLoadPreparedReport(TfrReport* report, const QString& fileName);
// The same from the file's bytes; fileName only names the file in messages.
std::unique_ptr<TfrEMFPages> frReadPreparedReport(TfrReport* report, const QByteArray& bytes,
                                                  const QString& fileName);
