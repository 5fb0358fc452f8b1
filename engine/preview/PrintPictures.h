#pragma once

#include <QColor>
#include <QPixmap>

// The pictures of the print dialog, drawn on their transparent colour, which is masked out.

// Olive, the transparent colour of the printer picture.
inline const QColor frPrinterPictureKey{0x80, 0x80, 0x00};
// Silver, the transparent colour of the collate pictures.
inline const QColor frCollatePictureKey{0xC0, 0xC0, 0xC0};

// A printer, 18 by 16, for the items of the printer list.
QPixmap frPrinterPicture();
// Two collated sets of pages 1, 2, 3, 74 by 53.
QPixmap frCollatePicture();
// Pages 1, 2, 3 each twice over, 92 by 40.
QPixmap frNonCollatePicture();
