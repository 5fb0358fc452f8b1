#include "DBErrors.h"

#include "AppFrame.h"

#include <QtGlobal>

void TFailureSink::ReportFailure(const QString& message) const {
    if (OnError)
        OnError(message);
    else if (frame_)
        frame_->ShowError(message);
    else
        qWarning("%s", qUtf8Printable(message));  // a control without a window to tell
}
