#pragma once

#include <QMainWindow>

class AppFrame;
class TfData;

// The main window: the documents for printing of the current template and their values.
class TfMain : public QMainWindow {
    Q_OBJECT
public:
    TfMain(AppFrame& frame, TfData& dataModule, QWidget* parent = nullptr);

private:
    void FormCreate();

    AppFrame& frame_;
    TfData& data_;
};
