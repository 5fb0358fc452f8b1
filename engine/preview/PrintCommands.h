#pragma once

#include "PageSetupForm.h"

#include <QString>

class TfrPagesView;

// A failure's message in the engine's error box; raised as a Failure when the engine has no
// message boxes.
void frErrorBox(const QString& message);

// The print dialog of a preview, then the printing of the pages it shows; the preview keeps its
// pages and its position. Nothing happens without pages or without a printer. Errors go to the
// engine's error box.
void frPrintBtnClick(TfrPagesView& view);

// Page setup of a preview: the dialog, then every report page gets the chosen paper and margins,
// the report is prepared again and the preview shows the new pages from page 1.
void frPageSetupBtnClick(TfrPagesView& view, const TfrPageSetupDialog& dialog = frRunPageSetupForm);
