#include "PreparedReportFile.h"

#include "AsideFile.h"
#include "EngineState.h"
#include "Failure.h"
#include "Page.h"
#include "PreparedPages.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

constexpr char kMagic[8] = {'F', 'W', 'P', 'A', 'G', 'E', 'S', '\x1A'};
constexpr int kHashSize = 32;
constexpr int kHeaderSize = 8 + 2 + 2 + 4 + kHashSize;
// The version byte every prepared page stream starts with.
constexpr quint8 kPageStreamVersion = 24;
// Sizes in page units beyond any paper (about 27 metres): a file claiming one is damaged.
constexpr qint32 kMaxSheet = 100000;
constexpr qint64 kMaxFile = qint64(1) << 30;

QString Named(const QString& fileName) {
    return QStringLiteral("«%1»").arg(QFileInfo(fileName).fileName());
}

Failure NotOurs(const QString& fileName) {
    return Failure(QStringLiteral("Файл %1 не является файлом отчета").arg(Named(fileName)));
}

Failure Damaged(const QString& fileName) {
    return Failure(QStringLiteral("Файл отчета %1 поврежден").arg(Named(fileName)));
}

QByteArray Hash(const QByteArray& body) {
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256);
}

QDataStream& Little(QDataStream& stream) {
    stream.setByteOrder(QDataStream::LittleEndian);
    return stream;
}

void WriteMetrics(QDataStream& out, const TfrPageMetrics& m) {
    for (qint32 v : {m.DeviceSheetWidth, m.DeviceSheetHeight, m.SheetWidth, m.SheetHeight,
                     m.DeviceOffsetX, m.DeviceOffsetY, m.OffsetX, m.OffsetY, m.DevicePrintWidth,
                     m.DevicePrintHeight, m.PrintWidth, m.PrintHeight})
        out << v;
}

void ReadMetrics(QDataStream& in, TfrPageMetrics& m) {
    for (qint32* v : {&m.DeviceSheetWidth, &m.DeviceSheetHeight, &m.SheetWidth, &m.SheetHeight,
                      &m.DeviceOffsetX, &m.DeviceOffsetY, &m.OffsetX, &m.OffsetY,
                      &m.DevicePrintWidth, &m.DevicePrintHeight, &m.PrintWidth, &m.PrintHeight})
        in >> *v;
}

bool Sound(const TfrPreparedPage& page) {
    const TfrPageMetrics& m = page.Metrics;
    return page.Orientation <= 1 && m.SheetWidth > 0 && m.SheetHeight > 0 &&
           m.SheetWidth <= kMaxSheet && m.SheetHeight <= kMaxSheet &&
           qAbs(m.PrintWidth) <= kMaxSheet && qAbs(m.PrintHeight) <= kMaxSheet &&
           qAbs(m.OffsetX) <= kMaxSheet && qAbs(m.OffsetY) <= kMaxSheet &&
           qAbs(page.LeftMargin) <= kMaxSheet && qAbs(page.TopMargin) <= kMaxSheet &&
           qAbs(page.RightMargin) <= kMaxSheet && qAbs(page.BottomMargin) <= kMaxSheet;
}

// Every page once through the object reader, as drawing will read it.
void ReadThrough(TfrEMFPages& pages) {
    TfrEngineState& state = frEngineState();
    TfrPage* const designPage = state.CurrentDesignPage;
    const int version = state.StreamVersion;
    const auto restore = qScopeGuard([&] {
        state.CurrentDesignPage = designPage;
        state.StreamVersion = version;
    });
    for (int i = 0; i < pages.Count(); ++i) {
        pages.LoadPage(i);
        pages.RecordAt(i).LoadedPage.reset();
    }
}

}  // namespace

QByteArray frPreparedReportBytes(const TfrEMFPages& pages) {
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        Little(out) << quint32(pages.Count());
        for (int i = 0; i < pages.Count(); ++i) {
            const TfrPreparedPage& page = pages.RecordAt(i);
            out << page.PaperKind << page.PaperX << page.PaperY << page.Orientation
                << page.PaperSource << quint8(page.WholeSheet ? 1 : 0) << page.LeftMargin
                << page.TopMargin << page.RightMargin << page.BottomMargin;
            WriteMetrics(out, page.Metrics);
            const QByteArray& stream = page.Stream->data();
            out << quint32(stream.size());
            out.writeRawData(stream.constData(), static_cast<int>(stream.size()));
        }
    }
    QByteArray file;
    {
        QDataStream out(&file, QIODevice::WriteOnly);
        out.writeRawData(kMagic, sizeof kMagic);
        Little(out) << quint16(frPreparedReportVersion) << quint16(0) << quint32(body.size());
        const QByteArray hash = Hash(body);
        out.writeRawData(hash.constData(), kHashSize);
    }
    return file + body;
}

void frSavePreparedReport(const TfrEMFPages& pages, const QString& fileName) {
    const QByteArray bytes = frPreparedReportBytes(pages);
    AsideFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.Commit())
        throw Failure(QStringLiteral("Не удалось сохранить отчет в файле %1").arg(Named(fileName)));
}

std::unique_ptr<TfrEMFPages> frLoadPreparedReport(TfrReport* report, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Не удалось открыть файл %1").arg(Named(fileName)));
    if (file.size() > kMaxFile)
        throw NotOurs(fileName);
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        throw Failure(QStringLiteral("Не удалось прочитать файл %1").arg(Named(fileName)));
    return frReadPreparedReport(report, bytes, fileName);
}

std::unique_ptr<TfrEMFPages> frReadPreparedReport(TfrReport* report, const QByteArray& bytes,
                                                  const QString& fileName) {
    if (!bytes.startsWith(QByteArray(kMagic, sizeof kMagic)))
        throw NotOurs(fileName);
    if (bytes.size() < kHeaderSize)
        throw Damaged(fileName);

    QDataStream header(bytes.left(kHeaderSize));
    header.skipRawData(sizeof kMagic);
    quint16 version = 0;
    quint16 flags = 0;
    quint32 length = 0;
    Little(header) >> version >> flags >> length;
    if (version > frPreparedReportVersion)
        throw Failure(QStringLiteral("Файл отчета %1 записан более новой версией программы "
                                     "(версия формата %2, эта программа читает версию %3)")
                          .arg(Named(fileName))
                          .arg(version)
                          .arg(frPreparedReportVersion));
    if (version == 0 || flags != 0)
        throw Damaged(fileName);
    const QByteArray body = bytes.mid(kHeaderSize);
    if (body.size() != qint64(length) ||
        Hash(body) != bytes.mid(kHeaderSize - kHashSize, kHashSize))
        throw Damaged(fileName);

    auto pages = std::make_unique<TfrEMFPages>(report);
    QDataStream in(body);
    quint32 count = 0;
    Little(in) >> count;
    // The smallest page takes more than 80 bytes.
    if (count == 0 || count > quint32(body.size() / 80))
        throw Damaged(fileName);
    for (quint32 i = 0; i < count; ++i) {
        TfrPreparedPage& page = pages->AppendBlank();
        quint8 wholeSheet = 0;
        in >> page.PaperKind >> page.PaperX >> page.PaperY >> page.Orientation >>
            page.PaperSource >> wholeSheet >> page.LeftMargin >> page.TopMargin >>
            page.RightMargin >> page.BottomMargin;
        page.WholeSheet = wholeSheet != 0;
        ReadMetrics(in, page.Metrics);
        quint32 size = 0;
        in >> size;
        if (in.status() != QDataStream::Ok || wholeSheet > 1 || !Sound(page) || size == 0 ||
            size > quint32(body.size()))
            throw Damaged(fileName);
        QByteArray stream(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (in.readRawData(stream.data(), static_cast<int>(size)) != static_cast<int>(size) ||
            quint8(stream.at(0)) != kPageStreamVersion)
            throw Damaged(fileName);
        page.Stream->write(stream);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        throw Damaged(fileName);

    try {
        ReadThrough(*pages);
    } catch (const Failure&) {
        throw Damaged(fileName);
    }
    return pages;
}
