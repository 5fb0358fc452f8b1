#pragma once

#include <QMainWindow>

#include "TemplateWindows.h"

class AppFrame;
class TfData;

// The main window: the documents for printing of the current template and their values.
class TfMain : public QMainWindow {
    Q_OBJECT
public:
    TfMain(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
           QWidget* parent = nullptr);

private:
    void FormCreate();

    AppFrame& frame_;
    TfData& data_;
    const TemplateWindows& windows_;
};
