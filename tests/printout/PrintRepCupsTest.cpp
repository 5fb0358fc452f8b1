#include "CupsPrinter.h"
#include "CupsScheduler.h"
#include "DataFixture.h"
#include "DesktopPrinters.h"
#include "Engine.h"
#include "PdfReader.h"
#include "Preview.h"
#include "PrintForm.h"
#include "PrintRep.h"
#include "Printing.h"
#include "ProgressForm.h"
#include "TempDir.h"
#include "TextEngine.h"
#include "WhenShown.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUuid>
#include <cmath>
#include <functional>

namespace {

// Where the engine puts a field's text: its millimetres in page units at 92 per inch, plus the
// object's inner gap, in points of the printed sheet.
double Points(int mm, int gap) {
    const double units = std::nearbyint(mm * 92.0 / 25.4) + gap;
    return units * 72 / (93 / 1.015);
}

constexpr double kHalfMillimetre = 72 / 25.4 / 2;

struct Placed {
    QString word;
    int left;
    int top;
};

// A template printed from the preview window's "Печать" on a real spooler: the scheduler of
// the test's own with its cups-pdf queue, and the "Файл PDF" printer beside it.
class PrintRepCups : public DataFixture {
protected:
    static void SetUpTestSuite() { scheduler = std::make_unique<CupsScheduler>(); }
    static void TearDownTestSuite() { scheduler.reset(); }

    void SetUp() override {
        DataFixture::SetUp();
        if (!scheduler->Running()) {
            if (scheduler->Installed() && ::geteuid() == 0)
                FAIL() << scheduler->Error().toStdString();
            GTEST_SKIP() << "skipped: no cupsd (" << scheduler->Error().toStdString() << ")";
        }
        if (!PdfToolsInstalled())
            GTEST_SKIP() << "skipped: no poppler-utils";
        auto printers = std::make_unique<DesktopPrinters>();
        desktop = printers.get();
        desktop->AskFileName = [this] { return dir.file(QStringLiteral("бланк")); };
        engine = std::make_unique<TfrEngine>(std::move(printers));
        engine->State().Services = &services;
        frStartTextLayer(*engine);
        frStartProgressWindow(*engine);
        frStartPreview(*engine);
        frStartPrinting(*engine);
    }

    // A one-page template of that orientation with the words at their places.
    void Open(int orientation, const QList<Placed>& words) {
        const qint64 doc = AddTemplate(QStringLiteral("Бланк"), 1, orientation);
        const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Бланк"));
        for (const Placed& p : words) {
            const qint64 field =
                Exec(QStringLiteral("INSERT INTO Values_ (Document_Id, VarName, VarValue, PageNum, "
                                    "\"Left\", Top, Height, Width, FontSize, FontName) "
                                    "VALUES (?, ?, '', 1, ?, ?, 10, 60, 12, 'Arial')"),
                     {doc, p.word, p.left, p.top});
            AddValue(list, field, p.word);
        }
        OpenModule();
        window = std::make_unique<TfPrintRep>(frame, *data);
    }

    // Builds, shows and prints on the printer named, then closes the preview.
    void PrintOn(const QString& printerName) {
        WhenShown<TfPrintRep>([printerName](TfPrintRep& w) {
            WhenShown<TfrPrintForm>([printerName](TfrPrintForm& form) {
                const int index = form.CB1->findText(printerName);
                ASSERT_GE(index, 0);
                form.CB1->setCurrentIndex(index);
                form.Button1->click();
            });
            w.TBItem1->trigger();
            w.TBItem3->trigger();
        });
        window->BuildAndShow();
    }

    void ExpectPlaced(const QString& pdf, int orientation, const QList<Placed>& words) {
        const QList<QSizeF> sizes = PdfPageSizes(pdf);
        ASSERT_EQ(sizes.size(), 1);
        const QSizeF a4 = orientation == 0 ? QSizeF(595.3, 841.9) : QSizeF(841.9, 595.3);
        EXPECT_NEAR(sizes[0].width(), a4.width(), 0.5);
        EXPECT_NEAR(sizes[0].height(), a4.height(), 0.5);
        for (const Placed& p : words) {
            SCOPED_TRACE(p.word.toStdString());
            const auto box = PdfWordBox(pdf, p.word);
            ASSERT_TRUE(box.has_value());
            EXPECT_NEAR(box->left(), Points(p.left, 2), kHalfMillimetre);
            EXPECT_NEAR(box->top(), Points(p.top, 1), kHalfMillimetre);
        }
    }

    static std::unique_ptr<CupsScheduler> scheduler;
    DesktopPrinters* desktop{nullptr};
    std::unique_ptr<TfrEngine> engine;
    std::unique_ptr<TfPrintRep> window;
};

std::unique_ptr<CupsScheduler> PrintRepCups::scheduler;

const QList<Placed> kPortrait = {{QStringLiteral("Слева"), 12, 20},
                                 {QStringLiteral("Середина"), 100, 150},
                                 {QStringLiteral("Справа"), 180, 280}};
const QList<Placed> kLandscape = {{QStringLiteral("Слева"), 12, 20},
                                  {QStringLiteral("Середина"), 150, 100},
                                  {QStringLiteral("Справа"), 260, 190}};

class PrintRepCupsOrientation : public PrintRepCups, public ::testing::WithParamInterface<int> {};

TEST_P(PrintRepCupsOrientation, TextLandsWhereTheTemplatePutsItOnTheQueue) {
    const int orientation = GetParam();
    const QList<Placed>& words = orientation == 0 ? kPortrait : kLandscape;
    Open(orientation, words);
    PrintOn(CupsScheduler::Queue);
    for (const auto& box : services.boxes)
        ADD_FAILURE() << box.text.toStdString();
    auto& cups = dynamic_cast<CupsPrinter&>(desktop->Queues());
    const QString job = cups.LastJob();
    ASSERT_FALSE(job.isEmpty());
    ASSERT_TRUE(scheduler->WaitUntilDone(job, 60000));
    EXPECT_EQ(scheduler->JobAttribute(job, "job-state"), QByteArray("\0\0\0\x09", 4));
    ExpectPlaced(scheduler->JobDocument(job), orientation, words);
}

TEST_P(PrintRepCupsOrientation, TextLandsWhereTheTemplatePutsItInAPdfFile) {
    const int orientation = GetParam();
    const QList<Placed>& words = orientation == 0 ? kPortrait : kLandscape;
    Open(orientation, words);
    PrintOn(DesktopPrinters::PdfPrinterName());
    for (const auto& box : services.boxes)
        ADD_FAILURE() << box.text.toStdString();
    ExpectPlaced(dir.file(QStringLiteral("бланк.pdf")), orientation, words);
}

// "Файл PDF" holds every copy a printer would print, and a request that prints no page writes
// no file and says so.
TEST_F(PrintRepCups, APdfFileHoldsEveryCopyAndNothingWhenNoPagePrints) {
    Open(0, kPortrait);
    WhenShown<TfPrintRep>([this](TfPrintRep& w) {
        WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
            form.CB1->setCurrentIndex(form.CB1->findText(DesktopPrinters::PdfPrinterName()));
            form.E1->setText(QStringLiteral("3"));
            form.CollateCB->setChecked(false);
            form.Button1->click();
        });
        w.TBItem1->trigger();

        desktop->AskFileName = [this] { return dir.file(QStringLiteral("пусто")); };
        WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
            form.CB2->setCurrentIndex(frEvenPages);
            form.Button1->click();
        });
        w.TBItem1->trigger();
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    EXPECT_EQ(PdfPageSizes(dir.file(QStringLiteral("бланк.pdf"))).size(), 3);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, QStringLiteral("Нет страниц для печати"));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("пусто.pdf"))));
}

INSTANTIATE_TEST_SUITE_P(PortraitAndLandscape, PrintRepCupsOrientation, ::testing::Values(0, 1));

}  // namespace
