#include "Canvas.h"
#include "Failure.h"
#include "PdfFilePrinter.h"
#include "PdfReader.h"
#include "Printer.h"
#include "QtPrinting.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

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

TEST_F(PdfPrinter, AbortDiscardsTheFile) {
    const QString path = dir.file(QStringLiteral("cancelled.pdf"));
    PdfFilePrinter pdf(path);
    pdf.BeginDoc();
    pdf.NewPage();
    pdf.Abort();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(pdf.Printing());
}

TEST_F(PdfPrinter, UnwritableFileIsAnError) {
    PdfFilePrinter pdf(dir.file(QStringLiteral("missing/folder/out.pdf")));
    EXPECT_THROW(pdf.BeginDoc(), Failure);
    EXPECT_FALSE(pdf.Printing());
}

}  // namespace
