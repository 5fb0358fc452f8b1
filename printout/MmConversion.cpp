#include "MmConversion.h"

#include "Rounding.h"

#include <QPaintDevice>

long double PixelsPerMm(int dotsPerInch) {
    return (static_cast<long double>(dotsPerInch) - 4) / 25.4L;
}

long double PixelsPerMmX(const QPaintDevice& device) {
    return PixelsPerMm(device.logicalDpiX());
}

long double PixelsPerMmY(const QPaintDevice& device) {
    return PixelsPerMm(device.logicalDpiY());
}

qint32 MmToPixels(int dotsPerInch, int mm) {
    // With whole millimetres the product never lies exactly between two integers, so the
    // narrowing to double cannot change the rounding.
    return frRound(static_cast<double>(PixelsPerMm(dotsPerInch) * mm));
}

qint32 MmToPixelsX(const QPaintDevice& device, int mm) {
    return MmToPixels(device.logicalDpiX(), mm);
}

qint32 MmToPixelsY(const QPaintDevice& device, int mm) {
    return MmToPixels(device.logicalDpiY(), mm);
}
