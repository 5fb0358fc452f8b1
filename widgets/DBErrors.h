#pragma once

#include "Failure.h"
#include "FailureMessage.h"

#include <QString>
#include <exception>
#include <functional>

class AppFrame;

// Where a data-aware control reports a failure raised while the user works it (a refused post,
// a value the field does not take): the window's handler, else the standard error box of the
// frame. Nothing raised there may reach the event loop.
class TFailureSink {
public:
    std::function<void(const QString& message)> OnError;

    void SetFrame(AppFrame* frame) { frame_ = frame; }
    AppFrame* Frame() const { return frame_; }

    void ReportFailure(const QString& message) const;

    // Runs `action`; a failure it raises is reported instead. False when it failed.
    template <class Action>
    bool Guard(Action&& action) const {
        try {
            action();
            return true;
        } catch (const std::exception& e) {
            ReportFailure(FailureMessage(e));
        }
        return false;
    }

private:
    AppFrame* frame_{nullptr};
};
