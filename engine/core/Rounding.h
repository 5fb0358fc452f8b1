#pragma once

#include <QtGlobal>
#include <cmath>
#include <limits>

// Nearest integer with halves to even, the engine's one rounding rule. Values beyond the 32-bit
// range saturate and NaN gives 0, so a bad device value cannot wrap a size around.
inline qint32 frRound(double value) {
    if (std::isnan(value))
        return 0;
    const double f = std::floor(value);
    const double frac = value - f;  // exact for every double in range
    const double r = frac < 0.5 ? f : frac > 0.5 ? f + 1 : (std::fmod(f, 2.0) == 0 ? f : f + 1);
    if (r >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(r);
}
