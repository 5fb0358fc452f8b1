#include "MmConversion.h"

#include "Rounding.h"

long double PixelsPerMm(int dotsPerInch) {
    return (static_cast<long double>(dotsPerInch) - 4) / 25.4L;
}

qint32 MmToPixels(int dotsPerInch, int mm) {
    // With whole millimetres the product never lies exactly between two integers, so the
    // narrowing to double cannot change the rounding.
    return frRound(static_cast<double>(PixelsPerMm(dotsPerInch) * mm));
}
