#pragma once

#include "ModalResult.h"

#include <QString>
#include <functional>

class TfrReport;

// The engine's progress window as preparation and printing use it. The window runs the
// caller's work inside its own modal loop; the work writes the progress line, lets pending
// events through between steps and ends the loop with SetModalResult. Without an installed
// window the engine does its work directly.
class TfrProgressWindow {
public:
    using WorkHandler = std::function<void(TfrProgressWindow&)>;

    virtual ~TfrProgressWindow() = default;

    virtual void SetCaption(const QString& caption) = 0;
    // The caller's prefix for the progress line.
    virtual void SetStepText(const QString& text) = 0;
    virtual QString StepText() const = 0;
    // The progress line.
    virtual void SetLabel1(const QString& text) = 0;
    virtual QString Label1() const = 0;
    // The line under it, which scripts write through PROGRESS.
    virtual void SetLabel2(const QString&) {}
    virtual void SetWorkHandler(WorkHandler handler) = 0;
    // The report being served, while a run lasts.
    virtual TfrReport* Report() const = 0;

    // Shows the window modally and calls the work handler once the window is up; returns the
    // modal result (mrOk, or mrCancel when cancelled). A failure of the handler closes the
    // window and is raised again here.
    virtual int RunProgress(TfrReport& report) = 0;
    // Ends the modal loop with this result as soon as control returns to it.
    virtual void SetModalResult(int result) = 0;
};

// What preparation and printing both write into the progress window.

// The caption: "Подготовка отчета", then " - " and the report's title when it has one.
QString frProgressCaption(const TfrReport& report);
// The progress line: the window's step text, two spaces and the number.
QString frProgressLine(const TfrProgressWindow& window, int number);
// The engine's progress window while it serves this report; null otherwise.
TfrProgressWindow* frProgressWindowOf(const TfrReport& report);
// Ends the run of the window serving this report: cancel when the report was cancelled, else OK.
void frEndProgress(const TfrReport& report);
