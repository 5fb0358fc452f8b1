#pragma once

#include "Failure.h"

#include <QString>
#include <exception>
#include <new>

// What the user is told of a failure: a Failure's own message; for the standard library's
// exceptions, whose texts are English and say nothing to a user, a Russian sentence.
inline QString FailureMessage(const std::exception& e) {
    if (const auto* failure = dynamic_cast<const Failure*>(&e))
        return failure->Message();
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("Недостаточно памяти: операция прервана.");
    return QStringLiteral("Внутренняя ошибка программы: операция прервана.");
}
