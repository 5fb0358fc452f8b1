#include "Canvas.h"
#include "Failure.h"
#include "FailureText.h"
#include "FileLimits.h"
#include "PdfFilePrinter.h"
#include "PdfReader.h"
#include "Printer.h"
#include "QtPrinting.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <functional>

namespace {

class PdfPrinter : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(PdfPrinter, IsOnePrinterWithStandardPapers) {
    PdfFilePrinter pdf(dir.file(QStringLiteral("out.pdf")));
    TfrPrinter printer;
    printer.AttachPrinter(&pdf);
    EXPECT_EQ(printer.PrinterNames(),
              (QStringList{QStringLiteral("out.pdf"), QStringLiteral("Виртуальный принтер")}));
    EXPECT_EQ(printer.ActivePrinter(), 0);
    EXPECT_EQ(printer.PaperKind(), 9);
    EXPECT_EQ(printer.PaperX(), 2100);
    EXPECT_EQ(printer.PaperY(), 2970);
    TfrPageMetrics m;
    printer.GetPageMetrics(m);
    // 1200 dpi, no unprintable border.
    EXPECT_EQ(m, (TfrPageMetrics{9921, 14031, 758, 1071, 0, 0, 0, 0, 9921, 14031, 758, 1071}));

    // Codes are unique; A4, Letter and A3 are among them.
    const auto& kinds = printer.PaperKinds();
    const QList<qint16> codes(kinds.begin(), kinds.begin() + printer.PaperKindCount());
    EXPECT_EQ(QSet<qint16>(codes.begin(), codes.end()).size(), codes.size());
    for (qint16 code : {9, 1, 8})
        EXPECT_TRUE(codes.contains(code)) << code;
    EXPECT_EQ(printer.PaperTitles().at(codes.indexOf(9)), QStringLiteral("A4"));

    printer.SetPaper(8, 0, 0, -1, true, false);
    EXPECT_EQ(printer.PaperX(), 4200);
    EXPECT_EQ(printer.PaperY(), 2970);
    printer.SetPaper(256, 1000, 1500, -1, false, false);
    EXPECT_EQ(printer.PaperKind(), 256);
    EXPECT_EQ(printer.PaperX(), 1000);
    EXPECT_EQ(printer.PaperY(), 1500);
    EXPECT_TRUE(printer.PaperMatches(256, 1000, 1500, -1, false));
}

TEST_F(PdfPrinter, JobsOfOneRunGoIntoOneFile) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    const QString path = dir.file(QStringLiteral("run.pdf"));
    {
        PdfFilePrinter pdf(path);
        TfrPrinter printer;
        printer.AttachPrinter(&pdf);
        pdf.SetTitle(QStringLiteral("Бланк"));
        EXPECT_EQ(pdf.PageCanvas(), nullptr);
        pdf.BeginDoc();
        Canvas* canvas = pdf.PageCanvas();
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->DpiX(), 1200);
        EXPECT_EQ(canvas->PhysicalSize(), QSize(9921, 14031));
        EXPECT_EQ(canvas->PhysicalOffset(), QPoint(0, 0));
        canvas->TextOut(1200, 1200, QStringLiteral("Первая"));
        pdf.NewPage();
        pdf.PageCanvas()->TextOut(2400, 1200, QStringLiteral("Вторая"));
        pdf.EndDoc();
        EXPECT_EQ(pdf.PageCanvas(), nullptr);
        // A change of paper ends one job and begins the next, in the same file.
        printer.SetPaper(9, 0, 0, -1, true, true);
        pdf.BeginDoc();
        pdf.EndDoc();
        printer.SetPaper(256, 1000, 1500, -1, false, true);
        pdf.BeginDoc();
        pdf.EndDoc();
        pdf.Finish();
        const QList<QSizeF> sizes = PdfPageSizes(path);
        ASSERT_EQ(sizes.size(), 4);
        EXPECT_NEAR(sizes[0].width(), 595.3, 0.5);
        EXPECT_NEAR(sizes[0].height(), 841.9, 0.5);
        EXPECT_NEAR(sizes[1].width(), 595.3, 0.5);
        EXPECT_NEAR(sizes[2].width(), 841.9, 0.5);
        EXPECT_NEAR(sizes[2].height(), 595.3, 0.5);
        EXPECT_NEAR(sizes[3].width(), 100 / 25.4 * 72, 0.5);
        EXPECT_NEAR(sizes[3].height(), 150 / 25.4 * 72, 0.5);
        // The text cells' corners where they were put: one inch in (two across on page 2).
        const auto first = PdfWordBox(path, QStringLiteral("Первая"));
        ASSERT_TRUE(first.has_value());
        EXPECT_NEAR(first->left(), 72, 1);
        EXPECT_NEAR(first->top(), 72, 2);
        const auto second = PdfWordBox(path, QStringLiteral("Вторая"));
        ASSERT_TRUE(second.has_value());
        EXPECT_NEAR(second->left(), 144, 1);
    }
    // The destructor leaves a finished file alone.
    EXPECT_EQ(PdfPageSizes(path).size(), 4);
}

// One job of one page with a line of text.
void OnePage(PdfFilePrinter& pdf) {
    pdf.BeginDoc();
    pdf.PageCanvas()->TextOut(1200, 1200, QStringLiteral("Бланк"));
    pdf.EndDoc();
}

TEST_F(PdfPrinter, TheFileTakesItsNameOnlyWhenComplete) {
    const QString path = dir.file(QStringLiteral("out.pdf"));
    ASSERT_TRUE(PutFile(path, "previous"));
    PdfFilePrinter pdf(path);
    OnePage(pdf);
    EXPECT_EQ(FileBytes(path), QByteArray("previous"));
    pdf.Finish();
    EXPECT_TRUE(FileBytes(path).startsWith("%PDF-"));
    EXPECT_TRUE(FileBytes(path).trimmed().endsWith("%%EOF"));
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("out.pdf")});
}

// Cancelled, failed or never finished: the file of that name stays as it was, or stays absent,
// and nothing written aside is left.
TEST_F(PdfPrinter, AFileNotFinishedLeavesThePreviousOne) {
    const struct {
        const char* name;
        bool previous;
        std::function<void(PdfFilePrinter&)> run;
    } rows[] = {
        {"aborted in a job", true,
         [](PdfFilePrinter& pdf) {
             pdf.BeginDoc();
             pdf.NewPage();
             pdf.Abort();
             EXPECT_FALSE(pdf.Printing());
         }},
        {"aborted, no file before", false,
         [](PdfFilePrinter& pdf) {
             pdf.BeginDoc();
             pdf.Abort();
         }},
        {"discarded between jobs", true,
         [](PdfFilePrinter& pdf) {
             OnePage(pdf);
             pdf.Discard();
             pdf.Finish();  // nothing left to complete
         }},
        {"printer gone without Finish", true, [](PdfFilePrinter& pdf) { OnePage(pdf); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir folder;
        const QString path = folder.file(QStringLiteral("out.pdf"));
        if (row.previous) {
            ASSERT_TRUE(PutFile(path, "previous"));
        }
        {
            PdfFilePrinter pdf(path);
            row.run(pdf);
        }
        EXPECT_EQ(FileBytes(path), row.previous ? QByteArray("previous") : QByteArray("<none>"));
        EXPECT_EQ(FilesIn(folder.path()),
                  row.previous ? QStringList{QStringLiteral("out.pdf")} : QStringList{});
    }
}

TEST_F(PdfPrinter, AFileThatCannotBeWrittenIsAnErrorAndLeavesThePreviousOne) {
    const QString folder = dir.file(QStringLiteral("forms"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    const QString path = folder + QStringLiteral("/out.pdf");
    ASSERT_TRUE(PutFile(path, "previous"));
    const auto failure = [](const QString& target, const std::function<void()>& fault = {}) {
        return FailureText([&] {
            PdfFilePrinter pdf(target);
            OnePage(pdf);
            if (fault)
                fault();
            pdf.Finish();
        });
    };
    const QString notWritten = QStringLiteral("Не удалось записать файл \"%1\": ");

    const QString missing = dir.file(QStringLiteral("missing/out.pdf"));
    EXPECT_EQ(failure(missing), notWritten.arg(missing) + QStringLiteral("нет папки \"") +
                                    dir.file(QStringLiteral("missing")) + u'"');
    const QString inside = folder + QStringLiteral("/inside");
    EXPECT_EQ(failure(inside), notWritten.arg(inside) + QStringLiteral("это папка"));
    {
        // The writes beyond 1000 bytes fail, as on a full disk.
        FileSizeLimit full(1000);
        EXPECT_EQ(
            failure(path),
            notWritten.arg(path) + QStringLiteral("ошибка записи (возможно, на диске нет места)"));
    }
    EXPECT_EQ(FileBytes(path), QByteArray("previous"));
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("out.pdf")});

    PermissionsObeyed obeyed;
    if (!obeyed.Engaged())
        GTEST_SKIP() << "skipped: a read-only folder cannot be enforced here";
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const QString readOnly = failure(path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readOnly, notWritten.arg(path) + QStringLiteral("в папку \"") + folder +
                            QStringLiteral("\" нельзя записывать"));
    EXPECT_EQ(FileBytes(path), QByteArray("previous"));
}

// Through a link the file it names is replaced, and the link stays.
TEST_F(PdfPrinter, ALinkKeepsPointingAtTheWrittenFile) {
    const QString target = dir.file(QStringLiteral("target.pdf"));
    const QString link = dir.file(QStringLiteral("link.pdf"));
    ASSERT_TRUE(PutFile(target, "previous"));
    ASSERT_TRUE(QFile::link(target, link));
    PdfFilePrinter pdf(link);
    OnePage(pdf);
    pdf.Finish();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(FileBytes(target).startsWith("%PDF-"));
}

// The program's database is never replaced by a report, whatever name leads to it.
TEST_F(PdfPrinter, TheDatabaseIsNeverWrittenOver) {
    const QString database = dir.file(QStringLiteral("Quillbox.mdb"));
    ASSERT_TRUE(PutFile(database, "SQLite format 3"));
    const QString link = dir.file(QStringLiteral("report.pdf"));
    ASSERT_TRUE(QFile::link(database, link));
    for (const QString& name : {database, link, dir.file(QStringLiteral("./Quillbox.mdb"))}) {
        SCOPED_TRACE(name.toStdString());
        const QString failure = FailureText([&] {
            PdfFilePrinter pdf(name);
            pdf.Protect(database);
            OnePage(pdf);
            pdf.Finish();
        });
        EXPECT_EQ(failure, QStringLiteral("Не удалось записать файл \"%1\": это файл базы данных "
                                          "программы")
                               .arg(name));
    }
    EXPECT_EQ(FileBytes(database), QByteArray("SQLite format 3"));
    EXPECT_EQ(FilesIn(dir.path()).size(), 2);
}

}  // namespace
