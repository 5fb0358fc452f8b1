#pragma once

#include <QString>

class QWidget;

// Asks where "Файл PDF" writes: a save dialog for PDF files. A name typed without ".pdf" gets
// it before the dialog checks for an existing file, so the overwrite question names the file
// that would be replaced. Empty when the user cancels.
QString frAskPdfFileName(QWidget* owner);
