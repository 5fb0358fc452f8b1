#include "main.h"

#include "AppFrame.h"
#include "Data.h"

#include <QCoreApplication>

TfMain::TfMain(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows, QWidget* parent)
    : QMainWindow(parent), frame_(frame), data_(dataModule), windows_(windows) {
    setObjectName(QStringLiteral("fMain"));
    FormCreate();
}

void TfMain::FormCreate() {
    setWindowTitle(frame_.AppCaption);
    // Let the caption be painted before the other windows are created.
    QCoreApplication::processEvents();
}
