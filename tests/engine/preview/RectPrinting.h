#pragma once

#include "Canvas.h"

#include <ostream>

// Readable failure messages for rectangles.
inline void PrintTo(const CanvasRect& r, std::ostream* os) {
    *os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}
