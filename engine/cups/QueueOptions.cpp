#include "QueueOptions.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace {

QString SidesOf(QPrinter::DuplexMode mode) {
    switch (mode) {
        case QPrinter::DuplexLongSide:
            return QStringLiteral("two-sided-long-edge");
        case QPrinter::DuplexShortSide:
            return QStringLiteral("two-sided-short-edge");
        default:
            return QStringLiteral("one-sided");
    }
}

QString SidesLabel(const QString& sides) {
    if (sides == u"two-sided-long-edge")
        return QStringLiteral("С двух сторон, переплет по длинному краю");
    if (sides == u"two-sided-short-edge")
        return QStringLiteral("С двух сторон, переплет по короткому краю");
    return QStringLiteral("С одной стороны");
}

}  // namespace

QList<QueueOption> QueueOptionsOf(const QPrinterInfo& queue) {
    QList<QueueOption> options;

    QueueOption sides{QStringLiteral("sides"), QStringLiteral("Двусторонняя печать"), {}, {}, {}};
    for (QPrinter::DuplexMode mode : queue.supportedDuplexModes()) {
        const QString value = SidesOf(mode);
        if (mode != QPrinter::DuplexAuto && !sides.Values.contains(value)) {
            sides.Values << value;
            sides.ValueLabels << SidesLabel(value);
        }
    }
    sides.Default = SidesOf(queue.defaultDuplexMode());
    options << sides;

    QueueOption resolution{QStringLiteral("Resolution"), QStringLiteral("Разрешение"), {}, {}, {}};
    QList<int> dpis = queue.supportedResolutions();
    std::sort(dpis.begin(), dpis.end());
    for (int dpi : dpis) {
        if (dpi <= 0)
            continue;
        resolution.Values << QStringLiteral("%1dpi").arg(dpi);
        resolution.ValueLabels << QStringLiteral("%1 точек на дюйм").arg(dpi);
    }
    options << resolution;

    QueueOption color{QStringLiteral("print-color-mode"), QStringLiteral("Цвет"), {}, {}, {}};
    for (QPrinter::ColorMode mode : queue.supportedColorModes()) {
        const bool gray = mode == QPrinter::GrayScale;
        color.Values << (gray ? QStringLiteral("monochrome") : QStringLiteral("color"));
        color.ValueLabels << (gray ? QStringLiteral("Черно-белая") : QStringLiteral("Цветная"));
    }
    color.Default = queue.defaultColorMode() == QPrinter::GrayScale ? QStringLiteral("monochrome")
                                                                    : QStringLiteral("color");
    options << color;

    // A setting with one value is no choice.
    options.erase(std::remove_if(options.begin(), options.end(),
                                 [](const QueueOption& o) { return o.Values.size() < 2; }),
                  options.end());
    for (QueueOption& o : options) {
        if (!o.Values.contains(o.Default))
            o.Default.clear();  // the queue's own, unnamed: nothing is passed unless chosen
    }
    return options;
}
