#pragma once

#include "Failure.h"

#include <QString>

// A list reached with an index outside it.
class EListError : public Failure {
public:
    explicit EListError(int index)
        : Failure(QStringLiteral("List index out of bounds (%1)").arg(index)) {}
};

// A value that cannot be converted to the type a property needs.
class EVariantError : public Failure {
public:
    EVariantError() : Failure(QStringLiteral("Invalid variant type conversion")) {}
};

// A stream entry naming an object class that is not registered. The message is the engine's
// error text: every missing class name followed by a carriage return.
class EClassNotFound : public Failure {
public:
    using Failure::Failure;
};

// A stream that ends early or cannot be written.
class EStreamError : public Failure {
public:
    using Failure::Failure;
};
