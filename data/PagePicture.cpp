#include "PagePicture.h"

#include "Failure.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <QTemporaryFile>
#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72;
// A scan that names no resolution is taken as the usual one for forms.
constexpr double kDefaultDpi = 200;

QString Name(const QString& path) {
    return QFileInfo(path).fileName();
}

// The kind by the file's first bytes, whatever its name says.
bool Sniff(const QByteArray& head, PagePicture::Kind& kind) {
    if (head.startsWith("\x89PNG\r\n\x1a\n")) {
        kind = PagePicture::Kind::Png;
    } else if (head.startsWith("\xff\xd8\xff")) {
        kind = PagePicture::Kind::Jpeg;
    } else if (head.startsWith("II*") || head.startsWith("MM\0*")) {
        kind = PagePicture::Kind::Tiff;
    } else if (head.startsWith("%PDF-")) {
        kind = PagePicture::Kind::Pdf;
    } else {
        return false;
    }
    return true;
}

const char* Format(PagePicture::Kind kind) {
    switch (kind) {
        case PagePicture::Kind::Png:
            return "png";
        case PagePicture::Kind::Jpeg:
            return "jpeg";
        case PagePicture::Kind::Tiff:
            return "tiff";
        case PagePicture::Kind::Pdf:
            break;
    }
    return "pdf";
}

// A PDF document over bytes: the module reads files synchronously, so the bytes go to a
// temporary file first.
class PdfFile {
public:
    explicit PdfFile(const QByteArray& bytes) {
        if (file_.open() && file_.write(bytes) == bytes.size() && file_.flush())
            ok_ = document_.load(file_.fileName()) == QPdfDocument::Error::None;
    }
    explicit PdfFile(const QString& path) {
        ok_ = document_.load(path) == QPdfDocument::Error::None;
    }
    bool Ok() const { return ok_; }
    QPdfDocument& Document() { return document_; }

private:
    QTemporaryFile file_;
    QPdfDocument document_;
    bool ok_{false};
};

}  // namespace

QString PagePicture::KindName(Kind kind) {
    return QLatin1String(Format(kind));
}

bool PagePicture::KindFromName(const QString& name, Kind& kind) {
    for (Kind k : {Kind::Png, Kind::Jpeg, Kind::Tiff, Kind::Pdf}) {
        if (name == KindName(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

int PagePicture::PdfPageCount(const QString& path) {
    PdfFile pdf(path);
    if (!pdf.Ok() || pdf.Document().pageCount() < 1)
        throw Failure(
            QStringLiteral("Файл %1 не удалось прочитать как документ PDF").arg(Name(path)));
    return pdf.Document().pageCount();
}

PagePicture PagePicture::FromFile(const QString& path, int pdfPage) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("Не удалось открыть файл %1: %2").arg(Name(path), file.errorString()));
    PagePicture picture;
    picture.Bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(
            QStringLiteral("Не удалось прочитать файл %1: %2").arg(Name(path), file.errorString()));
    if (!Sniff(picture.Bytes.left(8), picture.Type))
        throw Failure(
            QStringLiteral("Файл %1 не является рисунком PNG, JPEG, TIFF или документом PDF")
                .arg(Name(path)));

    if (picture.Type == Kind::Pdf) {
        PdfFile pdf(picture.Bytes);
        if (!pdf.Ok() || pdf.Document().pageCount() < 1)
            throw Failure(
                QStringLiteral("Файл %1 поврежден: документ PDF не читается").arg(Name(path)));
        if (pdfPage < 0 || pdfPage >= pdf.Document().pageCount())
            throw Failure(QStringLiteral("В файле %1 нет страницы %2 (всего страниц: %3)")
                              .arg(Name(path))
                              .arg(pdfPage + 1)
                              .arg(pdf.Document().pageCount()));
        picture.SourcePage = pdfPage;
        if (picture.SizeMm().isEmpty())
            throw Failure(QStringLiteral("Страница %1 файла %2 не имеет размера")
                              .arg(pdfPage + 1)
                              .arg(Name(path)));
        return picture;
    }

    QBuffer buffer(&picture.Bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, Format(picture.Type));
    const QImage image = reader.read();
    if (image.isNull())
        throw Failure(QStringLiteral("Файл %1 поврежден: рисунок не читается (%2)")
                          .arg(Name(path), reader.errorString()));
    // Dots per metre, rounded by the file's writer; back to the whole inch it stood for.
    const double dpi = image.dotsPerMeterX() * 0.0254;
    picture.Dpi = dpi >= 10 ? std::round(dpi * 10) / 10 : kDefaultDpi;
    return picture;
}

int PagePicture::SourcePages() const {
    if (Type != Kind::Pdf)
        return 1;
    PdfFile pdf(Bytes);
    return pdf.Ok() ? pdf.Document().pageCount() : 0;
}

QSizeF PagePicture::SizeMm() const {
    if (Type == Kind::Pdf) {
        PdfFile pdf(Bytes);
        if (!pdf.Ok() || SourcePage < 0 || SourcePage >= pdf.Document().pageCount())
            return {};
        const QSizeF points = pdf.Document().pagePointSize(SourcePage);
        return points * (kMmPerInch / kPointsPerInch);
    }
    if (Dpi <= 0)
        return {};
    QBuffer buffer;
    buffer.setData(Bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, Format(Type));
    const QSize pixels = reader.size();
    if (!pixels.isValid())
        return {};
    return QSizeF(pixels) * (kMmPerInch / Dpi);
}

QRectF PagePicture::RectMm() const {
    return {QPointF(ShiftX / 10.0, ShiftY / 10.0), SizeMm()};
}

QImage PagePicture::Render(double pdfDpi) const {
    if (Type == Kind::Pdf) {
        PdfFile pdf(Bytes);
        if (!pdf.Ok() || SourcePage < 0 || SourcePage >= pdf.Document().pageCount())
            return {};
        const QSizeF points = pdf.Document().pagePointSize(SourcePage);
        const QSize size = (points * (pdfDpi / kPointsPerInch)).toSize();
        if (size.isEmpty())
            return {};
        QImage page = pdf.Document().render(SourcePage, size);
        // A page without a background of its own is white on paper.
        QImage white(page.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        {
            QPainter painter(&white);
            painter.drawImage(0, 0, page);
        }
        return white;
    }
    QImage image;
    image.loadFromData(Bytes, Format(Type));
    return image;
}

void PagePictureCache::Reset(QHash<int, PagePicture> pictures) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (pictures.value(it.key()) == pictures_.value(it.key()) && pictures.contains(it.key()))
            ++it;
        else
            it = entries_.erase(it);
    }
    pictures_ = std::move(pictures);
}

PagePictureCache::Entry* PagePictureCache::Decode(int page) {
    const auto picture = pictures_.constFind(page);
    if (picture == pictures_.cend())
        return nullptr;
    auto entry = entries_.find(page);
    if (entry == entries_.end()) {
        Entry e;
        // A PDF page at the resolution of a good scan.
        e.decoded = picture->Render(200);
        if (!e.decoded.isNull())
            e.placed = picture->RectMm();
        entry = entries_.insert(page, e);
    }
    return &*entry;
}

QRectF PagePictureCache::PlacedMm(int page) {
    const Entry* e = Decode(page);
    return e ? e->placed : QRectF();
}

bool PagePictureCache::Broken(int page) const {
    const auto e = entries_.constFind(page);
    return e != entries_.cend() && e->decoded.isNull();
}

const QImage& PagePictureCache::Scaled(int page, QSize size) {
    static const QImage none;
    Entry* e = Decode(page);
    if (!e || e->decoded.isNull() || size.isEmpty())
        return none;
    if (e->scaled.size() != size)
        e->scaled = e->decoded.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGB32);
    return e->scaled;
}
