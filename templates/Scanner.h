#pragma once

#include "PagePicture.h"

#include <QString>
#include <QStringList>

// Scanning a blank form through SANE, in grey, into a page picture.
namespace Scanner {

inline constexpr int MinDpi = 150;
inline constexpr int MaxDpi = 300;

// The scanners SANE finds, by device name ("test:0"); none when SANE finds none or fails.
QStringList Devices();

// Scans one page from `device` in grey at `dpi` (MinDpi..MaxDpi) into a PNG picture of that
// resolution. Raises Failure with a message for the user when the scanner fails or is busy.
PagePicture Scan(const QString& device, int dpi);

}  // namespace Scanner
