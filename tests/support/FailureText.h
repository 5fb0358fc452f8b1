#pragma once

#include "Failure.h"

#include <QString>

// The message of the failure that f raises, or "<no failure>".
template <typename F>
QString FailureText(F&& f) {
    try {
        f();
    } catch (const Failure& e) {
        return e.Message();
    }
    return QStringLiteral("<no failure>");
}
