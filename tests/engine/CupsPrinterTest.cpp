#include "Canvas.h"
#include "CupsPrinter.h"
#include "CupsScheduler.h"
#include "Failure.h"
#include "PdfReader.h"
#include "Printer.h"
#include "PrinterOptionsDialog.h"
#include "QtPrinting.h"
#include "QueueOptions.h"
#include "WhenShown.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>
#include <functional>
#include <memory>

namespace {

const QString kVirtual = QStringLiteral("Виртуальный принтер");

// Each test runs in a process of its own, so each gets a fresh scheduler; it is stopped when the
// suite ends, and dies with the process when that ends first.
class Cups : public ::testing::Test {
protected:
    static void SetUpTestSuite() { scheduler = std::make_unique<CupsScheduler>(); }
    static void TearDownTestSuite() { scheduler.reset(); }
    void TearDown() override {
        if (scheduler->Running())
            scheduler->ResetQueues();
    }

    void SetUp() override {
        if (scheduler->Running())
            return;
        // Where everything is installed and the test runs as root (as in CI), it must run.
        if (scheduler->Installed() && ::geteuid() == 0)
            FAIL() << scheduler->Error().toStdString();
        const QString why = scheduler->Error();
        if (why == QStringLiteral("no cupsd"))
            GTEST_SKIP() << "skipped: no cupsd";
        GTEST_SKIP() << "skipped: no cupsd (" << why.toStdString() << ")";
    }

    static std::unique_ptr<CupsScheduler> scheduler;
};

std::unique_ptr<CupsScheduler> Cups::scheduler;

TEST_F(Cups, QueueIsListedBeforeTheVirtualPrinterAndTheDefaultIsActive) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    EXPECT_EQ(printer.PrinterNames(), (QStringList{CupsScheduler::Queue, kVirtual}));
    EXPECT_EQ(printer.ActivePrinter(), 0);
    EXPECT_FALSE(printer.IsVirtual());
    EXPECT_EQ(printer.DeviceName(), CupsScheduler::Queue);

    // Another queue made the system default: a printer system started now takes it, while the
    // running one keeps the queue it works with.
    ASSERT_TRUE(scheduler->AddQueue(QStringLiteral("Formwright-PDF-2"), true));
    printer.AttachPrinter(&cups);
    EXPECT_EQ(printer.PrinterNames(),
              (QStringList{CupsScheduler::Queue, QStringLiteral("Formwright-PDF-2"), kVirtual}));
    EXPECT_EQ(printer.ActivePrinter(), 0);
    CupsPrinter later;
    printer.AttachPrinter(&later);
    EXPECT_EQ(printer.ActivePrinter(), 1);
    EXPECT_EQ(printer.DeviceName(), QStringLiteral("Formwright-PDF-2"));
}

TEST_F(Cups, A4FromTheQueue) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    printer.SetPaper(9, 0, 0, -1, false, true);
    EXPECT_EQ(printer.PaperKind(), 9);
    EXPECT_EQ(printer.PaperX(), 2100);
    EXPECT_EQ(printer.PaperY(), 2970);

    // The queue offers 150 to 2400 dpi; the device works at 1200, with no unprintable border.
    const DeviceCaps caps = cups.Caps();
    EXPECT_TRUE(QPrinterInfo::printerInfo(CupsScheduler::Queue)
                    .supportedResolutions()
                    .contains(caps.LogPixelsX));
    EXPECT_EQ(caps.LogPixelsX, 1200);
    TfrPageMetrics m;
    printer.GetPageMetrics(m);
    EXPECT_EQ(m, (TfrPageMetrics{9921, 14031, 758, 1071, 0, 0, 0, 0, 9921, 14031, 758, 1071}));

    printer.SetPaper(9, 0, 0, -1, true, false);
    EXPECT_TRUE(printer.Landscape());
    EXPECT_EQ(printer.PaperX(), 2970);
    EXPECT_EQ(printer.PaperY(), 2100);
    printer.GetPageMetrics(m);
    EXPECT_EQ(m.DeviceSheetWidth, 14031);
    EXPECT_EQ(m.SheetWidth, 1071);
    EXPECT_EQ(m.SheetHeight, 758);

    // The queue's papers under their codes; no trays, so only the default source.
    const auto& kinds = printer.PaperKinds();
    const QList<qint16> codes(kinds.begin(), kinds.begin() + printer.PaperKindCount());
    ASSERT_TRUE(codes.contains(9));
    EXPECT_EQ(printer.PaperTitles().at(codes.indexOf(9)), QStringLiteral("A4"));
    EXPECT_TRUE(codes.contains(1));
    EXPECT_EQ(QSet<qint16>(codes.begin(), codes.end()).size(), codes.size());
    EXPECT_EQ(printer.SourceCount(), 1);

    // A custom size, and a paper the queue does not offer (A4 extra), which it does not take.
    printer.SetPaper(256, 1000, 1500, -1, false, false);
    EXPECT_EQ(printer.PaperKind(), 256);
    EXPECT_TRUE(printer.PaperMatches(256, 1000, 1500, -1, false));
    printer.SetPaper(53, 0, 0, -1, false, false);
    EXPECT_EQ(printer.PaperKind(), 256);
    EXPECT_FALSE(printer.PaperMatches(53, 0, 0, -1, false));
}

TEST_F(Cups, JobReachesTheSpoolerUnscaled) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    printer.SetPaper(9, 0, 0, -1, false, true);
    // A tag in the title finds the copy cups-pdf leaves in the user's PDF folder.
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString title = QStringLiteral("Бланк 1 ") + tag;
    cups.SetTitle(title);
    cups.SetCopies(2);
    cups.BeginDoc();
    Canvas* canvas = cups.PageCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->DpiX(), 1200);
    EXPECT_EQ(canvas->PhysicalSize(), QSize(9921, 14031));
    canvas->TextOut(1200, 1200, QStringLiteral("Первая"));
    cups.NewPage();
    cups.PageCanvas()->TextOut(1200, 1200, QStringLiteral("Вторая"));
    cups.EndDoc();
    EXPECT_EQ(cups.PageCanvas(), nullptr);

    const QString job = cups.LastJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_TRUE(job.startsWith(CupsScheduler::Queue + QLatin1Char('-')));
    EXPECT_TRUE(scheduler->WaitUntilDone(job, 60000));
    QDir output(QDir::homePath() + QStringLiteral("/PDF"));
    for (const QString& name : output.entryList({QLatin1Char('*') + tag + QLatin1Char('*')}))
        output.remove(name);
    // What the spooler keeps of the job.
    auto attribute = [&](const char* name) { return scheduler->JobAttribute(job, name); };
    EXPECT_EQ(attribute("job-state"), QByteArray("\0\0\0\x09", 4));  // completed
    EXPECT_EQ(attribute("job-name"), title.toUtf8());
    EXPECT_EQ(attribute("print-scaling"), QByteArray("none"));
    EXPECT_EQ(attribute("media"), QByteArray("A4"));
    EXPECT_EQ(attribute("copies"), QByteArray("\0\0\0\x02", 4));
    EXPECT_EQ(attribute("collate"), QByteArray("\0", 1));

    // The document it printed: two A4 pages, the text cell's corner one inch from the sheet's.
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    const QString document = scheduler->JobDocument(job);
    const QList<QSizeF> sizes = PdfPageSizes(document);
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_NEAR(sizes[0].width(), 595.3, 0.5);
    EXPECT_NEAR(sizes[0].height(), 841.9, 0.5);
    const auto first = PdfWordBox(document, QStringLiteral("Первая"));
    ASSERT_TRUE(first.has_value());
    EXPECT_NEAR(first->left(), 72, 1);
    EXPECT_NEAR(first->top(), 72, 2);
}

// A spooler that does not answer holds nothing up: events go on being handled while the job is
// handed over, and the user learns that the job may still be queued.
TEST_F(Cups, ASpoolerThatDoesNotAnswerIsReportedWhileEventsGoOn) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    cups.SetSpoolerTimeout(1500);
    cups.BeginDoc();
    cups.PageCanvas()->TextOut(100, 100, QStringLiteral("Бланк"));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    scheduler->Freeze(true);
    QString message;
    try {
        cups.EndDoc();
    } catch (const Failure& e) {
        message = e.Message();
    }
    scheduler->Freeze(false);
    EXPECT_GT(ticks, 5);
    EXPECT_TRUE(message.contains(QStringLiteral("возможно, все же стоит в очереди")))
        << message.toStdString();
    EXPECT_FALSE(cups.Printing());
}

TEST_F(Cups, AbortSendsNothing) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    const QStringList before = scheduler->AllJobs();
    cups.BeginDoc();
    cups.NewPage();
    cups.Abort();
    EXPECT_FALSE(cups.Printing());
    EXPECT_EQ(scheduler->AllJobs(), before);
    EXPECT_TRUE(cups.LastJob().isEmpty());
}

TEST_F(Cups, DeletedQueueFallsBackToTheVirtualPrinter) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    ASSERT_FALSE(printer.IsVirtual());
    int code = -1;
    scheduler->Client(QStringLiteral("lpadmin"), {QStringLiteral("-x"), CupsScheduler::Queue},
                      &code);
    ASSERT_EQ(code, 0);
    printer.Refresh();
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_EQ(printer.PaperKindCount(), frPaperCount);
    printer.AttachPrinter(&cups);
    EXPECT_EQ(printer.PrinterNames(), QStringList{kVirtual});
}

// "Свойства..." offers only the driver's settings that leave the marks in place; the choice
// goes with the next job, and paper and orientation stay the template's.
TEST_F(Cups, PropertiesOfferOnlyWhatKeepsTheMarksInPlace) {
    CupsPrinter cups;
    TfrPrinter printer;
    printer.AttachPrinter(&cups);
    printer.SetPaper(9, 0, 0, -1, false, true);
    ASSERT_TRUE(cups.HasPropertiesDialog());

    // Cancelled: nothing changes.
    QString title;
    QStringList offered;
    WhenShown<PrinterOptionsDialog>([&](PrinterOptionsDialog& d) {
        title = d.windowTitle();
        for (const QComboBox* box : d.Boxes)
            offered << box->objectName();
        if (auto* resolution = d.findChild<QComboBox*>(QStringLiteral("Resolution")))
            resolution->setCurrentIndex(resolution->findData(QStringLiteral("150dpi")));
        d.reject();
    });
    EXPECT_FALSE(printer.ShowPrinterProperties());
    EXPECT_EQ(title, QStringLiteral("Свойства принтера \"Formwright-PDF\""));
    EXPECT_TRUE(offered.contains(QStringLiteral("Resolution")));
    for (const QString& key : offered) {
        EXPECT_TRUE((QStringList{QStringLiteral("sides"), QStringLiteral("Resolution"),
                                 QStringLiteral("print-color-mode")}
                         .contains(key)))
            << key.toStdString();
    }

    // Accepted: the next job carries it.
    WhenShown<PrinterOptionsDialog>([](PrinterOptionsDialog& d) {
        if (auto* resolution = d.findChild<QComboBox*>(QStringLiteral("Resolution")))
            resolution->setCurrentIndex(resolution->findData(QStringLiteral("600dpi")));
        d.accept();
    });
    EXPECT_TRUE(printer.ShowPrinterProperties());
    printer.Refresh();
    EXPECT_FALSE(printer.Landscape());
    EXPECT_EQ(printer.PaperKind(), 9);
    cups.SetTitle(QStringLiteral("Свойства"));
    cups.BeginDoc();
    cups.EndDoc();
    ASSERT_FALSE(cups.LastJob().isEmpty());
    EXPECT_EQ(scheduler->JobAttribute(cups.LastJob(), "Resolution"), QByteArray("600dpi"));
}

// The dialog passes on only what differs from the queue's own settings.
TEST(PrinterOptions, OnlyChoicesOtherThanTheQueuesOwnArePassedOn) {
    const QList<QueueOption> options = {
        {QStringLiteral("sides"),
         QStringLiteral("Двусторонняя печать"),
         {QStringLiteral("one-sided"), QStringLiteral("two-sided-long-edge")},
         {QStringLiteral("С одной стороны"), QStringLiteral("С двух сторон")},
         QStringLiteral("one-sided")},
        {QStringLiteral("Resolution"),
         QStringLiteral("Разрешение"),
         {QStringLiteral("300dpi"), QStringLiteral("600dpi")},
         {},
         QString()},
    };
    PrinterOptionsDialog dialog(QStringLiteral("Q"), options,
                                {{QStringLiteral("Resolution"), QStringLiteral("600dpi")}});
    ASSERT_EQ(dialog.Boxes.size(), 2);
    // An unnamed setting of the queue's is offered as it is.
    EXPECT_EQ(dialog.Boxes[1]->itemText(0), QStringLiteral("Как задано в системе"));
    EXPECT_EQ(dialog.Boxes[1]->currentData().toString(), QStringLiteral("600dpi"));
    EXPECT_EQ(dialog.Chosen(),
              (QMap<QString, QString>{{QStringLiteral("Resolution"), QStringLiteral("600dpi")}}));
    dialog.Boxes[0]->setCurrentIndex(1);
    dialog.Boxes[1]->setCurrentIndex(0);
    EXPECT_EQ(
        dialog.Chosen(),
        (QMap<QString, QString>{{QStringLiteral("sides"), QStringLiteral("two-sided-long-edge")}}));
    EXPECT_FALSE(dialog.findChild<QWidget*>(QStringLiteral("number-up")));
}

}  // namespace
