#pragma once

#include <QtGlobal>

// Millimetres of a template into page units: (dots per inch - 4) / 25.4 units per millimetre,
// rounded halves to even. A result beyond the 32-bit range saturates.
long double PixelsPerMm(int dotsPerInch);
qint32 MmToPixels(int dotsPerInch, int mm);
