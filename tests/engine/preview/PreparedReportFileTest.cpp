#include "FailureText.h"
#include "FileLimits.h"
#include "PreparedReportFile.h"
#include "PreviewWindowFixture.h"
#include "RectPrinting.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

class PreparedReportFileTest : public PreviewWindowFixture {
protected:
    // Three pages of different kinds: a whole sheet, one with margins, one in landscape.
    void PrepareMixed() {
        PrepareTexts({{"Первая строка\nвторая строка", "Другой объект"},
                      {"Страница 2"},
                      {"Страница 3", "ещё", "и ещё"}});
        TfrEMFPages& pages = *report.PreparedPages;
        pages.RecordAt(0).WholeSheet = true;
        TfrPreparedPage& margins = pages.RecordAt(1);
        margins.LeftMargin = 36;
        margins.TopMargin = 18;
        margins.RightMargin = 7;
        margins.BottomMargin = 9;
        pages.RecordAt(2).Orientation = 1;
        pages.RecordAt(2).PaperSource = 65535;
    }

    // Everything a page draws, one line per record, drawn as the preview draws it.
    static QStringList Drawing(TfrEMFPages& pages, int index) {
        TfrPreparedPage& page = pages.RecordAt(index);
        const CanvasRect sheet{5, 7, 5 + page.Metrics.SheetWidth, 7 + page.Metrics.SheetHeight};
        RecordingCanvas canvas(QSize(sheet.right + 5, sheet.bottom + 5));
        page.Showing = true;
        pages.DrawPage(index, canvas, TfrPreviewView::PageTarget(page, sheet, 1));
        page.Showing = false;
        pages.DrawPage(index, canvas, {});
        QStringList lines;
        for (const CanvasRecord& r : canvas.Records()) {
            QString points;
            for (QPoint p : r.points)
                points += QStringLiteral(" %1,%2").arg(p.x()).arg(p.y());
            lines << QStringLiteral(
                         "%1 [%2] font %3 %4 %5 %6 pen %7 %8 brush %9 %10 rect %11,%12,"
                         "%13,%14 at %15,%16 bounds %17,%18,%19,%20%21")
                         .arg(r.kind)
                         .arg(r.text, r.font.face)
                         .arg(r.fontHeight)
                         .arg(r.font.style)
                         .arg(r.font.color)
                         .arg(r.pen.color)
                         .arg(r.pen.width)
                         .arg(r.brush.color)
                         .arg(r.brush.style)
                         .arg(r.rect.left)
                         .arg(r.rect.top)
                         .arg(r.rect.right)
                         .arg(r.rect.bottom)
                         .arg(r.position.x())
                         .arg(r.position.y())
                         .arg(r.bounds.left)
                         .arg(r.bounds.top)
                         .arg(r.bounds.right)
                         .arg(r.bounds.bottom)
                         .arg(points);
        }
        return lines;
    }

    QString File(const char* name) const { return files.filePath(QString::fromUtf8(name)); }

    static QByteArray Read(const QString& name) {
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    static void Write(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // The message the file gives, or an empty text when it loads.
    QString LoadMessage(const QByteArray& bytes) {
        try {
            frReadPreparedReport(&report, bytes, QStringLiteral("/tmp/отчет.fwp"));
        } catch (const Failure& e) {
            return e.Message();
        }
        return QString();
    }

    QTemporaryDir files;
};

TEST_F(PreparedReportFileTest, SavedPagesLoadBackAndDrawTheSame) {
    PrepareMixed();
    TfrEMFPages& saved = *report.PreparedPages;
    const QString name = File("отчет.fwp");
    frSavePreparedReport(saved, name);

    // The header as the README describes it.
    const QByteArray bytes = Read(name);
    ASSERT_GT(bytes.size(), 48);
    EXPECT_EQ(bytes.left(8), QByteArray("FWPAGES\x1A"));
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\x01\x00\x00\x00", 4));
    const QByteArray body = bytes.mid(48);
    const quint32 length = quint8(bytes[12]) | quint8(bytes[13]) << 8 | quint8(bytes[14]) << 16 |
                           quint32(quint8(bytes[15])) << 24;
    EXPECT_EQ(length, quint32(body.size()));
    EXPECT_EQ(bytes.mid(16, 32), QCryptographicHash::hash(body, QCryptographicHash::Sha256));
    EXPECT_EQ(body.left(4), QByteArray("\x03\x00\x00\x00", 4));

    std::unique_ptr<TfrEMFPages> loaded = frLoadPreparedReport(&report, name);
    EXPECT_EQ(loaded->Report(), &report);
    ASSERT_EQ(loaded->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TfrPreparedPage& a = saved.RecordAt(i);
        const TfrPreparedPage& b = loaded->RecordAt(i);
        EXPECT_EQ(b.PaperKind, a.PaperKind);
        EXPECT_EQ(b.PaperX, a.PaperX);
        EXPECT_EQ(b.PaperY, a.PaperY);
        EXPECT_EQ(b.Orientation, a.Orientation);
        EXPECT_EQ(b.PaperSource, a.PaperSource);
        EXPECT_EQ(b.WholeSheet, a.WholeSheet);
        EXPECT_EQ((CanvasRect{b.LeftMargin, b.TopMargin, b.RightMargin, b.BottomMargin}),
                  (CanvasRect{a.LeftMargin, a.TopMargin, a.RightMargin, a.BottomMargin}));
        EXPECT_TRUE(b.Metrics == a.Metrics);
        EXPECT_EQ(b.Stream->data(), a.Stream->data());
        EXPECT_FALSE(b.LoadedPage);
        const QStringList drawn = Drawing(saved, i);
        EXPECT_GT(drawn.size(), 3);
        EXPECT_EQ(Drawing(*loaded, i), drawn);
    }
}

TEST_F(PreparedReportFileTest, FilesThatAreNotSoundGiveAMessageNeverAPage) {
    PrepareMixed();
    const QByteArray good = frPreparedReportBytes(*report.PreparedPages);
    ASSERT_EQ(LoadMessage(good), QString());

    const QString damaged = Text("Файл отчета «отчет.fwp» поврежден");
    const QString notOurs = Text("Файл «отчет.fwp» не является файлом отчета");
    const QString newer = Text(
        "Файл отчета «отчет.fwp» записан более новой версией программы "
        "(версия формата 2, эта программа читает версию 1)");
    // The same body behind a header with a good checksum.
    const auto rehashed = [&](QByteArray body) {
        QByteArray file = good.left(12);
        const quint32 n = quint32(body.size());
        file.append(char(n & 0xFF)).append(char(n >> 8 & 0xFF)).append(char(n >> 16 & 0xFF));
        file.append(char(n >> 24 & 0xFF));
        return file + QCryptographicHash::hash(body, QCryptographicHash::Sha256) + body;
    };
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x40);
    QByteArray version2 = good;
    version2[8] = 2;
    QByteArray flags = good;
    flags[10] = 1;
    // A page stream cut inside its last object, counted and hashed as if whole.
    TfrPreparedPage& last = report.PreparedPages->RecordAt(2);
    const QByteArray whole = last.Stream->data();
    last.Stream->buffer().chop(5);
    const QByteArray cutObject = frPreparedReportBytes(*report.PreparedPages);
    last.Stream->buffer() = whole;
    QByteArray noPages = rehashed(QByteArray(4, '\0'));
    QByteArray zeroSheet = good.mid(48);
    // Page 1: count 4, paper 2 + 4 + 4 + 1 + 4 + 1, margins 16, then the sheet width at +8.
    for (int i = 0; i < 4; ++i)
        zeroSheet[4 + 16 + 16 + 8 + i] = 0;

    struct Row {
        const char* name;
        QByteArray bytes;
        QString message;
    };
    const std::vector<Row> rows{
        {"empty file", QByteArray(), notOurs},
        {"a text file", QByteArray("Отчет за год\n"), notOurs},
        {"magic only", good.left(8), damaged},
        {"header cut", good.left(30), damaged},
        {"header without body", good.left(48), damaged},
        {"body cut in its first page", good.left(60), damaged},
        {"body cut by one byte", good.left(good.size() - 1), damaged},
        {"a byte added", good + QByteArray(1, '\0'), damaged},
        {"a byte flipped", flipped, damaged},
        {"newer version", version2, newer},
        {"unknown flags", flags, damaged},
        {"object cut, checksum good", cutObject, damaged},
        {"no pages", noPages, damaged},
        {"sheet without width", rehashed(zeroSheet), damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LoadMessage(row.bytes), row.message);
    }

    // Random bytes, and random bytes behind the magic.
    QRandomGenerator random(19);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        QByteArray bytes(static_cast<int>(random.bounded(1, 400)), Qt::Uninitialized);
        for (char& c : bytes)
            c = char(random.bounded(256));
        EXPECT_EQ(LoadMessage(bytes), notOurs);
        EXPECT_FALSE(LoadMessage(good.left(8) + bytes).isEmpty());
    }
    // Random objects behind a good header and checksum: refused or read, never a crash.
    const QByteArray body = good.mid(48);
    const qsizetype firstStream = 4 + 16 + 16 + 48 + 4;  // after page 1's fields and length
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        QByteArray mixed = body;
        const int count = static_cast<int>(random.bounded(1, 12));
        for (int k = 0; k < count; ++k) {
            const qsizetype at = firstStream + 1 + random.bounded(40);
            mixed[at] = char(random.bounded(256));
        }
        const QString message = LoadMessage(rehashed(mixed));
        EXPECT_TRUE(message.isEmpty() || message == damaged) << message.toStdString();
    }
    // Every cut of the file.
    for (int cut = 0; cut < good.size(); cut += 7) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(LoadMessage(good.left(cut)).isEmpty());
    }
}

TEST_F(PreparedReportFileTest, AFailedSaveLeavesTheFileThatWasThere) {
    PrepareMixed();
    const QString name = File("отчет.fwp");
    Write(name, "прежний");

    {
        FileSizeLimit limit(100);
        EXPECT_EQ(FailureText([&] { frSavePreparedReport(*report.PreparedPages, name); }),
                  Text("Не удалось сохранить отчет в файле «отчет.fwp»"));
    }
    EXPECT_EQ(Read(name), QByteArray("прежний"));
    EXPECT_EQ(FilesIn(files.path()), QStringList{QStringLiteral("отчет.fwp")});

    EXPECT_EQ(FailureText([&] {
                  frSavePreparedReport(*report.PreparedPages, File("нет такой папки/отчет.fwp"));
              }),
              Text("Не удалось сохранить отчет в файле «отчет.fwp»"));
    EXPECT_EQ(FailureText([&] { frLoadPreparedReport(&report, File("нет.fwp")); }),
              Text("Не удалось открыть файл «нет.fwp»"));
}

}  // namespace
