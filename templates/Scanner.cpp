#include "Scanner.h"

#include "Failure.h"

#include <sane/sane.h>
#include <sane/saneopts.h>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// SANE from sane_init to sane_exit: every use starts afresh, so that a scanner plugged in since
// the last one is found.
class Session {
public:
    Session() { ok_ = sane_init(nullptr, nullptr) == SANE_STATUS_GOOD; }
    ~Session() {
        if (handle_)
            sane_close(handle_);
        if (ok_)
            sane_exit();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Ok() const { return ok_; }
    SANE_Handle& Handle() { return handle_; }

private:
    bool ok_{false};
    SANE_Handle handle_{nullptr};
};

QString Text(SANE_Status status) {
    return QString::fromLocal8Bit(sane_strstatus(status));
}

[[noreturn]] void Fail(const QString& device, const QString& what, SANE_Status status) {
    throw Failure(QStringLiteral("Сканер %1: %2 (%3)").arg(device, what, Text(status)));
}

// Sets the option of that name when the scanner has it and lets it be set; false when not.
bool SetOption(SANE_Handle handle, const char* name,
               const std::function<bool(const SANE_Option_Descriptor&, void*)>& fill) {
    SANE_Int count = 0;
    if (sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return false;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
        if (!d || !d->name || std::strcmp(d->name, name) != 0 || !SANE_OPTION_IS_SETTABLE(d->cap))
            continue;
        std::vector<char> value(static_cast<std::size_t>(std::max<SANE_Int>(d->size, 8)));
        if (!fill(*d, value.data()))
            return false;
        return sane_control_option(handle, i, SANE_ACTION_SET_VALUE, value.data(), nullptr) ==
               SANE_STATUS_GOOD;
    }
    return false;
}

}  // namespace

namespace Scanner {

QStringList Devices() {
    Session sane;
    QStringList names;
    const SANE_Device** list = nullptr;
    if (!sane.Ok() || sane_get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD || !list)
        return names;
    for (int i = 0; list[i]; ++i)
        names << QString::fromLocal8Bit(list[i]->name);
    return names;
}

PagePicture Scan(const QString& device, int dpi) {
    if (dpi < MinDpi || dpi > MaxDpi)
        throw Failure(QStringLiteral("Разрешение сканирования — от %1 до %2 точек на дюйм")
                          .arg(MinDpi)
                          .arg(MaxDpi));
    Session sane;
    if (!sane.Ok())
        throw Failure(QStringLiteral("Сканирование недоступно: SANE не запускается"));
    const QByteArray name = device.toLocal8Bit();
    if (const SANE_Status s = sane_open(name.constData(), &sane.Handle()); s != SANE_STATUS_GOOD)
        Fail(device, QStringLiteral("не открывается"), s);
    SANE_Handle h = sane.Handle();

    SetOption(h, SANE_NAME_SCAN_MODE, [](const SANE_Option_Descriptor& d, void* v) {
        if (d.type != SANE_TYPE_STRING)
            return false;
        std::strncpy(static_cast<char*>(v), SANE_VALUE_SCAN_MODE_GRAY,
                     static_cast<std::size_t>(d.size) - 1);
        return true;
    });
    SetOption(h, SANE_NAME_BIT_DEPTH, [](const SANE_Option_Descriptor& d, void* v) {
        if (d.type != SANE_TYPE_INT)
            return false;
        *static_cast<SANE_Int*>(v) = 8;
        return true;
    });
    const bool resolution =
        SetOption(h, SANE_NAME_SCAN_RESOLUTION, [dpi](const SANE_Option_Descriptor& d, void* v) {
            if (d.type == SANE_TYPE_INT)
                *static_cast<SANE_Int*>(v) = dpi;
            else if (d.type == SANE_TYPE_FIXED)
                *static_cast<SANE_Fixed*>(v) = SANE_FIX(dpi);
            else
                return false;
            return true;
        });
    if (!resolution)
        throw Failure(QStringLiteral("Сканер %1 не принимает разрешение %2 точек на дюйм")
                          .arg(device)
                          .arg(dpi));

    if (const SANE_Status s = sane_start(h); s != SANE_STATUS_GOOD)
        Fail(device, QStringLiteral("сканирование не началось"), s);
    SANE_Parameters p{};
    if (const SANE_Status s = sane_get_parameters(h, &p); s != SANE_STATUS_GOOD) {
        sane_cancel(h);
        Fail(device, QStringLiteral("нет параметров изображения"), s);
    }
    if (p.format != SANE_FRAME_GRAY || (p.depth != 8 && p.depth != 16) || p.pixels_per_line <= 0) {
        sane_cancel(h);
        throw Failure(QStringLiteral("Сканер %1 не дал изображения в оттенках серого").arg(device));
    }
    QByteArray data;
    std::vector<SANE_Byte> chunk(64 * 1024);
    for (;;) {
        SANE_Int got = 0;
        const SANE_Status s = sane_read(h, chunk.data(), static_cast<SANE_Int>(chunk.size()), &got);
        if (s == SANE_STATUS_EOF)
            break;
        if (s != SANE_STATUS_GOOD) {
            sane_cancel(h);
            Fail(device, QStringLiteral("сканирование прервано"), s);
        }
        data.append(reinterpret_cast<const char*>(chunk.data()), got);
    }
    sane_cancel(h);

    const int width = p.pixels_per_line;
    const int bytesPerLine = p.bytes_per_line;
    const int lines = bytesPerLine > 0 ? static_cast<int>(data.size() / bytesPerLine) : 0;
    if (lines <= 0)
        throw Failure(QStringLiteral("Сканер %1 не передал изображения").arg(device));
    QImage image(width, lines, QImage::Format_Grayscale8);
    for (int y = 0; y < lines; ++y) {
        const auto* src = reinterpret_cast<const uchar*>(data.constData()) +
                          static_cast<qsizetype>(y) * bytesPerLine;
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            dst[x] = p.depth == 8 ? src[x] : src[2 * x + 1];  // the high byte, little-endian
    }
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));

    PagePicture picture;
    QBuffer buffer(&picture.Bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "png"))
        throw Failure(QStringLiteral("Отсканированное изображение не удалось сохранить"));
    picture.Type = PagePicture::Kind::Png;
    picture.Dpi = dpi;
    return picture;
}

}  // namespace Scanner
