#pragma once

#include "EngineErrors.h"
#include "Failure.h"

#include <QString>

// A text that does not read as the number, date or time it has to be.
class EConvertError : public Failure {
public:
    using Failure::Failure;
    static EConvertError NotInteger(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static EConvertError NotFloat(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
    static EConvertError NotDate(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    }
    static EConvertError NotTime(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    }
    static EConvertError NotDateTime(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    }
};

// A value of one variant type that cannot become another, named by their type names.
class EVariantTypeCastError : public Failure {
public:
    EVariantTypeCastError(const QString& from, const QString& to)
        : Failure(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                      .arg(from, to)) {}
};

// An integer remainder by zero.
class EDivByZero : public Failure {
public:
    EDivByZero() : Failure(QStringLiteral("Division by zero")) {}
};
