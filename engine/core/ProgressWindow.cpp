#include "ProgressWindow.h"

#include "Engine.h"
#include "EngineStrings.h"
#include "Report.h"

namespace {

constexpr int kPreparing = 55203;

}  // namespace

QString frProgressCaption(const TfrReport& report) {
    QString caption = frLoadStr(kPreparing);
    if (!report.Title.isEmpty())
        caption += QStringLiteral(" - ") + report.Title;
    return caption;
}

QString frProgressLine(const TfrProgressWindow& window, int number) {
    return window.StepText() + QStringLiteral("  ") + QString::number(number);
}

TfrProgressWindow* frProgressWindowOf(const TfrReport& report) {
    TfrProgressWindow* window = frEngine().ProgressWindow();
    return window && window->Report() == &report ? window : nullptr;
}

void frEndProgress(const TfrReport& report) {
    if (TfrProgressWindow* window = frProgressWindowOf(report))
        window->SetModalResult(report.CancelRequested ? mrCancel : mrOk);
}
