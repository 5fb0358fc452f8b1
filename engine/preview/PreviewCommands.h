#pragma once

#include <QString>
#include <functional>

class QWidget;
class TfrPreviewView;

// Asks for a prepared report file: to open, or to save under; empty when the user cancels.
using TfrReportFileAsker = std::function<QString(QWidget* owner, bool save)>;
// The file dialogs of the platform, filtered to prepared report files.
QString frAskReportFile(QWidget* owner, bool save);

// The zoom popup, at the bottom-left corner of the button.
void frZoomBtnClick(TfrPreviewView& view, QWidget* button);

// Opens a prepared report file in place of the pages shown, from page 1. A file that cannot
// be read is reported in the engine's error box and the view keeps what it showed.
void frLoadBtnClick(TfrPreviewView& view, QWidget* owner,
                    const TfrReportFileAsker& ask = frAskReportFile);

// Saves the pages shown in a prepared report file; the name gets the extension of such files.
// A failure is reported in the engine's error box; a file of that name stays as it was.
void frSaveBtnClick(TfrPreviewView& view, QWidget* owner,
                    const TfrReportFileAsker& ask = frAskReportFile);
