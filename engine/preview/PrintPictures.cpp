#include "PrintPictures.h"

#include <QBitmap>
#include <QFont>
#include <QImage>
#include <QPainter>

namespace {

// The picture drawn by `paint` on its key colour, with the key colour masked out.
template <typename Paint>
QPixmap Picture(QSize size, const QColor& key, Paint paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(key);
    {
        QPainter p(&image);
        paint(p);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(key));
    return pixmap;
}

// A sheet with its page number, its top-left corner at `at`.
void Sheet(QPainter& p, QPoint at, QSize size, int number) {
    const QRect sheet(at, size);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.drawText(sheet.adjusted(2, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop, QString::number(number));
}

}  // namespace

QPixmap frPrinterPicture() {
    return Picture(QSize(18, 16), frPrinterPictureKey, [](QPainter& p) {
        p.setPen(Qt::black);
        // The sheet coming out of the top.
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 7, 5);
        // The body, with its paper slot and a lamp.
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(1, 6, 15, 7);
        p.drawLine(4, 9, 13, 9);
        p.fillRect(13, 11, 2, 1, Qt::green);
        // The feet.
        p.drawLine(2, 14, 15, 14);
    });
}

QPixmap frCollatePicture() {
    return Picture(QSize(74, 53), frCollatePictureKey, [](QPainter& p) {
        // Two stacks, each 3 on 2 on 1.
        for (int set = 0; set < 2; ++set) {
            const int left = set * 38;
            for (int page = 3; page >= 1; --page)
                Sheet(p, QPoint(left + (page - 1) * 6, (3 - page) * 8 + 6), QSize(24, 31), page);
        }
    });
}

QPixmap frNonCollatePicture() {
    return Picture(QSize(92, 40), frCollatePictureKey, [](QPainter& p) {
        // Three stacks, each of one page twice.
        for (int page = 1; page <= 3; ++page) {
            const int left = (page - 1) * 31;
            for (int copy = 1; copy >= 0; --copy)
                Sheet(p, QPoint(left + copy * 6, (1 - copy) * 6 + 2), QSize(24, 31), page);
        }
    });
}
