#pragma once

#include <QtGlobal>

class QPaintDevice;

// Millimetres of a template into page units: (dots per inch - 4) / 25.4 units per millimetre,
// horizontally and vertically apart, rounded halves to even.
long double PixelsPerMm(int dotsPerInch);
long double PixelsPerMmX(const QPaintDevice& device);
long double PixelsPerMmY(const QPaintDevice& device);

qint32 MmToPixels(int dotsPerInch, int mm);
qint32 MmToPixelsX(const QPaintDevice& device, int mm);
qint32 MmToPixelsY(const QPaintDevice& device, int mm);
