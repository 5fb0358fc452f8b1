#pragma once

#include "AppFrame.h"
#include "TemplateWindows.h"

#include <QString>
#include <memory>

class TfData;
class TfrEngine;
class TfDocs;
class TfEditValue;
class TfMain;
class TfPageLayout;
class TfPrintRep;
class TfValue;

// The application object: it starts the program in its fixed order and owns the data module and
// every window, each created once and reused until the end.
class Quillbox {
public:
    explicit Quillbox(UiServices& services);
    ~Quillbox();
    Quillbox(const Quillbox&) = delete;
    Quillbox& operator=(const Quillbox&) = delete;

    // Everything up to the message loop. False when the application ends before it: the database
    // is missing (exit code 0) or the data module failed (the error box was shown; exit code 1).
    bool Start(const QString& executablePath);
    // Shows the main window maximised and runs the message loop until the application ends.
    int Run();
    int ExitCode() const { return exitCode_; }

    AppFrame frame;
    TemplateWindows windows;
    std::unique_ptr<TfData> fData;
    // The report engine, started before the first window and stopped after the last.
    std::unique_ptr<TfrEngine> engine;
    std::unique_ptr<TfMain> fMain;
    std::unique_ptr<TfDocs> fDocs;
    std::unique_ptr<TfValue> fValue;
    std::unique_ptr<TfEditValue> fEditValue;
    std::unique_ptr<TfPrintRep> fPrintRep;
    std::unique_ptr<TfPageLayout> fPageLayout;

private:
    int exitCode_{0};
};

// Qt's own texts in Russian and Russian number and date conventions, whatever the system says.
void InstallRussian();
