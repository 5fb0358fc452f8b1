#pragma once

#include "FunctionLibrary.h"

struct TfrEngineState;

// The functions every expression can call. The aggregates are listed so that calls of them
// are known; their totals come from the band that shows them, and elsewhere the result is left
// as the caller set it.
class TfrStdFunctionLibrary : public TfrFunctionLibrary {
public:
    // INPUT and MESSAGEBOX ask through the engine state's user-interface services.
    TfrStdFunctionLibrary(TfrParser& parser, TfrEngineState& state);

protected:
    void DoFunction(int index, const QString& p1, const QString& p2, const QString& p3,
                    QVariant& value) override;

private:
    TfrEngineState& state_;
};
