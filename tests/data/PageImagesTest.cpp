#include "DataFixture.h"

#include "Failure.h"
#include "PageImages.h"
#include "PagePicture.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>

namespace {

class PageImages : public DataFixture {
protected:
    // A grey picture of w x h pixels at `dpi`, saved as `format`.
    QString Picture(const QString& name, const char* format, int w, int h, int dpi) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor(200, 200, 200));
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QString path = dir.file(name);
        EXPECT_TRUE(image.save(path, format)) << name.toStdString();
        return path;
    }
    // A PDF file of two pages: A5 upright, then A6.
    QString Pdf(const QString& name) {
        const QString path = dir.file(name);
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A5));
        QPainter painter(&writer);
        painter.drawText(100, 100, QStringLiteral("Бланк"));
        writer.setPageSize(QPageSize(QPageSize::A6));
        writer.newPage();
        painter.drawText(100, 100, QStringLiteral("Оборот"));
        return path;
    }
    int Rows() { return Scalar(QStringLiteral("SELECT count(*) FROM FwPageImage")).toInt(); }
};

TEST_F(PageImages, ANewDatabaseHasTheTable) {
    QSqlDatabase db = sql.Database();
    EXPECT_TRUE(Schema::MissingExtensions(db).isEmpty());
    OpenModule();
    EXPECT_TRUE(data->PageImages.Available());
    EXPECT_TRUE(data->PageImages.Writable());
    EXPECT_TRUE(data->PageImages.Unavailable().isEmpty());
}

TEST_F(PageImages, AnOlderDatabaseGetsTheTableAndKeepsItsRows) {
    const qint64 doc = AddTemplate(QStringLiteral("Перевод"), 2);
    AddField(doc, QStringLiteral("Кому"), QStringLiteral("Иванову"));
    Exec(QStringLiteral("DROP TABLE FwPageImage"));
    QSqlDatabase db = sql.Database();
    ASSERT_EQ(Schema::MissingExtensions(db), QStringList{QStringLiteral("FwPageImage")});

    OpenModule();
    EXPECT_TRUE(data->PageImages.Writable());
    EXPECT_TRUE(Schema::MissingExtensions(db).isEmpty());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name FROM Document")).toString(),
              QStringLiteral("Перевод"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT VarName FROM Values_")).toString(),
              QStringLiteral("Кому"));
    EXPECT_EQ(data->Document.RecordCount(), 1);
    EXPECT_EQ(data->Values_.RecordCount(), 1);
}

TEST_F(PageImages, AReadOnlyDatabaseOpensWithoutStoringPictures) {
    const qint64 doc = AddTemplate(QStringLiteral("Перевод"), 1);
    for (bool withTable : {false, true}) {
        SCOPED_TRACE(withTable ? "with the table" : "older file");
        QSqlDatabase db = sql.Database();
        if (!withTable)
            Exec(QStringLiteral("DROP TABLE FwPageImage"));
        else
            Schema::CreateMissingExtensions(db);
        data = std::make_unique<TfData>(frame);
        data->Con.ReadOnly = true;
        data->DataModuleCreate(QCoreApplication::applicationFilePath());
        EXPECT_EQ(data->Document.RecordCount(), 1);
        EXPECT_EQ(data->PageImages.Available(), withTable);
        EXPECT_FALSE(data->PageImages.Writable());
        EXPECT_TRUE(data->PageImages.Unavailable().contains(QStringLiteral("только для чтения")))
            << data->PageImages.Unavailable().toStdString();
        PagePicture picture =
            PagePicture::FromFile(Picture(QStringLiteral("scan.png"), "png", 20, 30, 100));
        try {
            data->PageImages.Write(doc, 1, picture);
            ADD_FAILURE() << "stored";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.Message(), data->PageImages.Unavailable());
        }
        data.reset();
    }
    QSqlDatabase db = sql.Database();
    // The read-only run added nothing; the table is the one made afterwards.
    EXPECT_TRUE(Schema::MissingExtensions(db).isEmpty());
    EXPECT_EQ(Rows(), 0);
}

TEST_F(PageImages, StoresReplacesAndRemovesAPagePicture) {
    const qint64 doc = AddTemplate(QStringLiteral("Перевод"), 2);
    OpenModule();
    TfPageImages& images = data->PageImages;
    PagePicture first = PagePicture::FromFile(Picture(QStringLiteral("a.png"), "png", 40, 50, 200));
    first.ShiftX = -15;
    first.ShiftY = 7;
    images.Write(doc, 2, first);
    EXPECT_EQ(images.Read(doc, 2), first);
    EXPECT_FALSE(images.Read(doc, 1).has_value());
    EXPECT_FALSE(images.Read(doc + 1, 2).has_value());

    PagePicture second = PagePicture::FromFile(Pdf(QStringLiteral("form.pdf")), 1);
    images.Write(doc, 2, second);
    EXPECT_EQ(Rows(), 1);
    const QHash<int, PagePicture> all = images.ReadAll(doc);
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.value(2), second);

    images.Remove(doc, 2);
    images.Remove(doc, 2);  // nothing left to remove
    EXPECT_EQ(Rows(), 0);
}

TEST_F(PageImages, ReadsEachKindWithItsSizeOnTheSheet) {
    struct Case {
        const char* name;
        QString path;
        int pdfPage;
        PagePicture::Kind kind;
        double dpi;
        QSizeF mm;
    };
    const QString pdf = Pdf(QStringLiteral("form.pdf"));
    const Case cases[] = {
        {"png at 200 dpi",
         Picture(QStringLiteral("s.png"), "png", 400, 600, 200),
         0,
         PagePicture::Kind::Png,
         200,
         {50.8, 76.2}},
        {"jpeg at 300 dpi",
         Picture(QStringLiteral("s.jpg"), "jpeg", 300, 600, 300),
         0,
         PagePicture::Kind::Jpeg,
         300,
         {25.4, 50.8}},
        {"tiff at 150 dpi",
         Picture(QStringLiteral("s.tif"), "tiff", 150, 300, 150),
         0,
         PagePicture::Kind::Tiff,
         150,
         {25.4, 50.8}},
        {"tiff named .png",
         Picture(QStringLiteral("t.png"), "tiff", 150, 150, 150),
         0,
         PagePicture::Kind::Tiff,
         150,
         {25.4, 25.4}},
        {"pdf page 1: A5", pdf, 0, PagePicture::Kind::Pdf, 0, {148, 210}},
        {"pdf page 2: A6", pdf, 1, PagePicture::Kind::Pdf, 0, {105, 148}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PagePicture p = PagePicture::FromFile(c.path, c.pdfPage);
        EXPECT_EQ(p.Type, c.kind);
        EXPECT_DOUBLE_EQ(p.Dpi, c.dpi);
        EXPECT_NEAR(p.SizeMm().width(), c.mm.width(), 0.5);
        EXPECT_NEAR(p.SizeMm().height(), c.mm.height(), 0.5);
        const QImage image = p.Render(100);
        ASSERT_FALSE(image.isNull());
        if (c.kind == PagePicture::Kind::Pdf) {
            EXPECT_NEAR(image.width(), c.mm.width() / 25.4 * 100, 1.5);
        }
    }
    // A corrected resolution gives another size.
    PagePicture p = PagePicture::FromFile(cases[0].path);
    p.Dpi = 100;
    EXPECT_NEAR(p.SizeMm().width(), 101.6, 1e-9);
    // An image that names no resolution is taken at 200 dpi.
    QImage bare(200, 100, QImage::Format_RGB32);
    bare.fill(Qt::white);
    bare.setDotsPerMeterX(0);
    bare.setDotsPerMeterY(0);
    ASSERT_TRUE(bare.save(dir.file(QStringLiteral("bare.jpg")), "jpeg"));
    EXPECT_GT(PagePicture::FromFile(dir.file(QStringLiteral("bare.jpg"))).Dpi, 0);
}

TEST_F(PageImages, ADamagedOrForeignFileIsRefusedWithAMessage) {
    const QString png = Picture(QStringLiteral("s.png"), "png", 400, 600, 200);
    QFile whole(png);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    auto write = [this](const QString& name, const QByteArray& content) {
        QFile f(dir.file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return dir.file(name);
    };
    struct Case {
        const char* name;
        QString path;
        int pdfPage;
        QString message;
    };
    const Case cases[] = {
        {"truncated png", write(QStringLiteral("cut.png"), bytes.left(60)), 0,
         QStringLiteral("Файл cut.png поврежден: рисунок не читается")},
        {"text file", write(QStringLiteral("note.png"), "просто текст"), 0,
         QStringLiteral("Файл note.png не является рисунком PNG, JPEG, TIFF или документом PDF")},
        {"damaged pdf", write(QStringLiteral("bad.pdf"), "%PDF-1.4\n garbage"), 0,
         QStringLiteral("Файл bad.pdf поврежден: документ PDF не читается")},
        {"missing page", Pdf(QStringLiteral("two.pdf")), 2,
         QStringLiteral("В файле two.pdf нет страницы 3 (всего страниц: 2)")},
        {"missing file", dir.file(QStringLiteral("nowhere.png")), 0,
         QStringLiteral("Не удалось открыть файл nowhere.png")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            PagePicture::FromFile(c.path, c.pdfPage);
            ADD_FAILURE() << "read";
        } catch (const Failure& e) {
            EXPECT_TRUE(e.Message().startsWith(c.message)) << e.Message().toStdString();
        }
    }
}

}  // namespace
