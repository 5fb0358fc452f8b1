#pragma once

#include "Failure.h"

// A failure of the expression evaluator: a malformed expression, a name nothing knows, a value
// stack that overflows or runs out of operands.
class EParserError : public Failure {
public:
    using Failure::Failure;
};
