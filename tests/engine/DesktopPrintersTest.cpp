#include "Canvas.h"
#include "DesktopPrinters.h"
#include "Failure.h"
#include "FailureText.h"
#include "PdfReader.h"
#include "Printer.h"
#include "ScriptedPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

// Two scripted queues under the desktop printers, attached to the engine's printer abstraction.
class Desktop : public ::testing::Test {
protected:
    Desktop() {
        auto system = std::make_unique<ScriptedPrinter>();
        system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office")),
                          ScriptedPrinter::Office(QStringLiteral("Back"))};
        system->Current = 0;
        queues = system.get();
        desktop = std::make_unique<DesktopPrinters>(std::move(system));
        printer.AttachPrinter(desktop.get());
    }

    int PdfIndex() const { return static_cast<int>(printer.PrinterNames().size()) - 2; }

    TempDir dir;
    ScriptedPrinter* queues{nullptr};
    std::unique_ptr<DesktopPrinters> desktop;
    TfrPrinter printer;
};

TEST_F(Desktop, ThePdfFileFollowsTheQueuesAndEachKeepsItsOwnSettings) {
    EXPECT_EQ(printer.PrinterNames(),
              (QStringList{QStringLiteral("Office"), QStringLiteral("Back"),
                           QStringLiteral("Файл PDF"), QStringLiteral("Виртуальный принтер")}));
    EXPECT_EQ(printer.ActivePrinter(), 0);

    printer.SelectPrinter(PdfIndex());
    EXPECT_TRUE(desktop->PdfCurrent());
    EXPECT_EQ(printer.DeviceName(), QStringLiteral("Файл PDF"));
    printer.SetPaper(8, 0, 0, -1, true, true);  // A3 landscape
    desktop->SetCopies(3);

    printer.SelectPrinter(0);
    EXPECT_EQ(printer.DeviceName(), QStringLiteral("Office"));
    EXPECT_EQ(printer.PaperKind(), DMPAPER_A4);
    EXPECT_FALSE(printer.Landscape());
    EXPECT_EQ(desktop->Copies(), 1);

    printer.SelectPrinter(PdfIndex());
    EXPECT_EQ(printer.PaperKind(), 8);
    EXPECT_TRUE(printer.Landscape());
    EXPECT_EQ(printer.PaperX(), 4200);
    EXPECT_EQ(desktop->Copies(), 3);
    EXPECT_EQ(FailureText([&] { desktop->SetPrinterIndex(3); }),
              QStringLiteral("Выбранный принтер недоступен"));

    // A file makes no copies of its own and has no properties dialog; a queue has both.
    EXPECT_FALSE(desktop->MakesCopies());
    EXPECT_FALSE(desktop->HasPropertiesDialog());
    printer.SelectPrinter(0);
    EXPECT_TRUE(desktop->MakesCopies());
    EXPECT_TRUE(desktop->HasPropertiesDialog());
}

TEST_F(Desktop, WithoutQueuesThePdfFileIsTheOnePrinter) {
    DesktopPrinters alone(std::make_unique<ScriptedPrinter>());
    TfrPrinter onlyPdf;
    onlyPdf.AttachPrinter(&alone);
    EXPECT_EQ(onlyPdf.PrinterNames(),
              (QStringList{QStringLiteral("Файл PDF"), QStringLiteral("Виртуальный принтер")}));
    EXPECT_TRUE(alone.PdfCurrent());
    EXPECT_TRUE(onlyPdf.HasSystemPrinters());
    EXPECT_EQ(onlyPdf.PaperKind(), DMPAPER_A4);
}

TEST_F(Desktop, ARunOnThePdfFileWritesTheFileNamedWhenItBegins) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    printer.SelectPrinter(PdfIndex());
    int asked = 0;
    desktop->AskFileName = [&] {
        ++asked;
        return dir.file(QStringLiteral("Бланк"));
    };
    ASSERT_TRUE(desktop->ReadyToPrint());
    EXPECT_EQ(asked, 1);
    const QString path = dir.file(QStringLiteral("Бланк.pdf"));
    EXPECT_EQ(desktop->PdfFile().Path(), path);

    // Two jobs of one run, the second on landscape paper: one file of two pages.
    desktop->BeginDoc();
    ASSERT_NE(desktop->PageCanvas(), nullptr);
    desktop->PageCanvas()->TextOut(1200, 2400, QStringLiteral("Первая"));
    desktop->EndDoc();
    printer.SetPaper(DMPAPER_A4, 0, 0, -1, true, true);
    desktop->BeginDoc();
    desktop->PageCanvas()->TextOut(2400, 1200, QStringLiteral("Вторая"));
    desktop->EndDoc();
    EXPECT_EQ(desktop->PageCanvas(), nullptr);
    EXPECT_TRUE(queues->Jobs.isEmpty());

    desktop->RunEnded(true);
    const QList<QSizeF> sizes = PdfPageSizes(path);
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_LT(sizes[0].width(), sizes[0].height());
    EXPECT_GT(sizes[1].width(), sizes[1].height());
    const auto first = PdfWordBox(path, QStringLiteral("Первая"));
    ASSERT_TRUE(first.has_value());
    EXPECT_NEAR(first->left(), 72, 1);
    EXPECT_NEAR(first->top(), 144, 2);
    EXPECT_TRUE(PdfWordBox(path, QStringLiteral("Вторая")).has_value());
}

TEST_F(Desktop, TheFileNameGetsItsExtensionWhenItHasNone) {
    printer.SelectPrinter(PdfIndex());
    const struct {
        QString given;
        QString used;
    } rows[] = {
        {QStringLiteral("a"), QStringLiteral("a.pdf")},
        {QStringLiteral("b.PDF"), QStringLiteral("b.PDF")},
        {QStringLiteral("c.pdf.txt"), QStringLiteral("c.pdf.txt.pdf")},
        {QStringLiteral("d.pdf"), QStringLiteral("d.pdf")},
    };
    for (const auto& row : rows) {
        desktop->AskFileName = [&] { return dir.file(row.given); };
        ASSERT_TRUE(desktop->ReadyToPrint());
        EXPECT_EQ(desktop->PdfFile().Path(), dir.file(row.used));
    }
}

TEST_F(Desktop, DecliningTheFileNamePrintsNothing) {
    printer.SelectPrinter(PdfIndex());
    EXPECT_FALSE(desktop->ReadyToPrint());  // nobody to ask
    desktop->AskFileName = [] { return QString(); };
    EXPECT_FALSE(desktop->ReadyToPrint());
    // A job begun all the same has no file to go to.
    EXPECT_THROW(desktop->BeginDoc(), Failure);
    EXPECT_FALSE(desktop->Printing());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// A run that did not print (cancelled, failed) leaves a file of that name as it was, even when
// a job of it had ended; one that printed replaces it.
TEST_F(Desktop, OnlyARunThatPrintedReplacesThePdfFile) {
    printer.SelectPrinter(PdfIndex());
    const QString path = dir.file(QStringLiteral("Бланк.pdf"));
    {
        QFile previous(path);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    const auto contents = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    desktop->AskFileName = [&] { return path; };
    for (const bool printed : {false, true}) {
        ASSERT_TRUE(desktop->ReadyToPrint());
        desktop->BeginDoc();
        desktop->EndDoc();
        desktop->BeginDoc();
        if (printed)
            desktop->EndDoc();
        else
            desktop->Abort();
        desktop->RunEnded(printed);
        EXPECT_EQ(contents().startsWith("%PDF-"), printed);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("Бланк.pdf")});
    }
}

TEST_F(Desktop, JobsOnAQueueGoToThatQueue) {
    printer.SelectPrinter(1);
    desktop->AskFileName = [] {
        ADD_FAILURE() << "a queue asks for no file";
        return QString();
    };
    ASSERT_TRUE(desktop->ReadyToPrint());
    desktop->SetTitle(QStringLiteral("Бланк"));
    desktop->BeginDoc();
    EXPECT_NE(desktop->PageCanvas(), nullptr);
    desktop->NewPage();
    desktop->EndDoc();
    // Changing printers is refused while a job is open.
    desktop->BeginDoc();
    EXPECT_EQ(FailureText([&] { desktop->SetPrinterIndex(2); }),
              QStringLiteral("Идет печать: принтер сменить нельзя"));
    desktop->Abort();
    ASSERT_EQ(queues->Jobs.size(), 2);
    EXPECT_EQ(queues->Jobs[0].Printer, QStringLiteral("Back"));
    EXPECT_EQ(queues->Jobs[0].Title, QStringLiteral("Бланк"));
    EXPECT_EQ(queues->Jobs[0].Pages, 2);
    EXPECT_TRUE(queues->Jobs[0].Ended);
    EXPECT_TRUE(queues->Jobs[1].Aborted);
}

}  // namespace
