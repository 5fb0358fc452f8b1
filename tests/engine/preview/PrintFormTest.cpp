#include "Engine.h"
#include "PageSetupForm.h"
#include "PdfFileDialog.h"
#include "PrintCommands.h"
#include "PrintFixture.h"
#include "PrintForm.h"
#include "PrintPictures.h"
#include "Printing.h"
#include "ProgressForm.h"
#include "TempDir.h"
#include "ViewDouble.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <optional>

namespace {

// Calls `act` on the modal dialog of that class once its loop runs; `act` must close it.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the dialog is not up";
            QApplication::activeModalWidget()->close();
            return;
        }
        act(*dialog);
    });
}

// Keys go to the dialog as the window system would deliver them, accelerators included.
void Press(QWidget& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QApplication::setActiveWindow(&dialog);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    if (key < 0x80 || key > 0xFFFF) {
        QTest::keyClick(target, key, modifiers);
        return;
    }
    // A letter beyond ASCII goes with its text.
    QTest::sendKeyEvent(QTest::Click, target, key, QString(QChar(char16_t(key))).toLower(),
                        modifiers);
}

// The key of a Cyrillic accelerator letter.
Qt::Key Letter(char16_t upper) {
    return static_cast<Qt::Key>(upper);
}

// Lets events through until `done` holds (a button pressed by its accelerator clicks a moment
// later).
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

class PrintFormTest : public PrintFixture {
protected:
    // A preview showing `count` pages of the report, current page `current`.
    void Show(int count, int current = 1) {
        AddPages(count);
        report.Preview = &view;
        view.ConnectReport(report);
        view.current = current;
        view.calls.clear();
    }

    ViewDouble view;
};

TEST_F(PrintFormTest, TheDialogAsLaidOut) {
    TfrPrintForm form(engine->Printer());
    // 485 by 226, wider only when the screen's font would cut the longest item of CB2.
    EXPECT_EQ(form.height(), 226);
    EXPECT_GE(form.width(), 485);
    EXPECT_GE(form.CB2->width(), form.CB2->sizeHint().width());
    EXPECT_EQ(form.width() - form.Button2->geometry().right() - 1, 8);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Печать"));
    const std::pair<QString, QString> captions[] = {
        {form.GroupBox1->title(), QStringLiteral("Принтер")},
        {form.Label4->text(), QStringLiteral("&Имя:")},
        {form.PropButton->text(), QStringLiteral("Свойства...")},
        {form.GroupBox2->title(), QStringLiteral("Страницы")},
        {form.RB1->text(), QStringLiteral("&Все")},
        {form.RB2->text(), QStringLiteral("&Текущая")},
        {form.RB3->text(), QStringLiteral("&Номера:")},
        {form.Label2->text(),
         QStringLiteral("Введите номера и/или диапазоны страниц, разделенные запятыми. "
                        "Например, 1,3,5-12")},
        {form.GroupBox3->title(), QStringLiteral("Копии")},
        {form.Label1->text(), QStringLiteral("Число &копий:")},
        {form.E1->text(), QStringLiteral("1")},
        {form.Label3->text(), QStringLiteral("&Разобрать по копиям")},
        {form.Label5->text(), QStringLiteral("Вывести на &печать:")},
        {form.CB2->itemText(0), QStringLiteral("Все страницы диапазона")},
        {form.CB2->itemText(1), QStringLiteral("Нечетные страницы")},
        {form.CB2->itemText(2), QStringLiteral("Четные страницы")},
        {form.Button1->text(), QStringLiteral("ОК")},
        {form.Button2->text(), QStringLiteral("Отмена")},
    };
    for (const auto& [shown, expected] : captions)
        EXPECT_EQ(shown, expected);
    EXPECT_EQ(form.CB2->count(), 3);
    EXPECT_EQ(form.CB2->currentIndex(), 0);
    EXPECT_EQ(form.CB2->x(), form.Label5->geometry().right() + 1 + 11);
    EXPECT_TRUE(form.RB1->isChecked());
    EXPECT_TRUE(form.CollateCB->isChecked());
    EXPECT_TRUE(form.Button1->isDefault());

    // The printers without the virtual one, the system's current one chosen.
    QStringList printers;
    for (int i = 0; i < form.CB1->count(); ++i)
        printers.append(form.CB1->itemText(i));
    EXPECT_EQ(printers, Texts({"Office", "Hall"}));
    EXPECT_EQ(form.CB1->currentIndex(), 0);

    // The pictures, at their sizes, with their transparent colours masked out.
    EXPECT_TRUE(form.Image1->isHidden());
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(18, 16));
    EXPECT_EQ(form.CollateImg.size(), QSize(74, 53));
    EXPECT_EQ(form.NonCollateImg.size(), QSize(92, 40));
    for (const QPixmap& picture : {form.Image1->pixmap(), form.CollateImg, form.NonCollateImg}) {
        const QImage image = picture.toImage();
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += image.pixelColor(x, y).alpha() == 255;
        EXPECT_GT(opaque, image.width() * image.height() / 10);
    }

    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_EQ(QApplication::focusWidget(), form.E1);
}

TEST_F(PrintFormTest, TheListItemsAndTheCollatePictureAreDrawn) {
    TfrPrintForm form(engine->Printer());
    QImage item(200, 16, QImage::Format_RGB32);
    item.fill(Qt::red);
    {
        QPainter p(&item);
        form.CB1->DrawItem(p, item.rect(), 1, false);
    }
    // Filled, the picture from x 2 with olive left out, the name from x 24.
    EXPECT_EQ(item.pixelColor(0, 0), form.CB1->palette().base().color());
    EXPECT_EQ(item.pixelColor(8, 8), QColor(0xC0, 0xC0, 0xC0));  // the printer's body
    int inked = 0;
    for (int x = 24; x < 60; ++x)
        for (int y = 0; y < 16; ++y)
            inked += item.pixelColor(x, y) != item.pixelColor(0, 0);
    EXPECT_GT(inked, 0);
    EXPECT_EQ(item.pixelColor(22, 8), item.pixelColor(0, 0));

    // The collate picture starts at x 8, the other one at x 0 (a sheet's edge at y 20).
    const QColor face = form.palette().button().color();
    form.CollateCB->setChecked(true);
    EXPECT_EQ(form.PB1->grab().toImage().pixelColor(0, 20), face);
    form.CollateCB->setChecked(false);
    EXPECT_EQ(form.PB1->grab().toImage().pixelColor(0, 20), QColor(Qt::black));

    // Every click on the label toggles the box, the two of a double click too.
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    EXPECT_TRUE(form.CollateCB->isChecked());
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    EXPECT_FALSE(form.CollateCB->isChecked());
    QTest::mouseDClick(form.Label3, Qt::LeftButton);
    EXPECT_FALSE(form.CollateCB->isChecked());
}

// "Свойства..." only where the printer has properties: a file has none.
TEST_F(PrintFormTest, PropertiesAreOfferedOnlyForAPrinterThatHasThem) {
    printer->Queues[1].Properties = false;
    TfrPrintForm form(engine->Printer());
    EXPECT_TRUE(form.PropButton->isEnabled());
    form.CB1->setCurrentIndex(1);
    EXPECT_FALSE(form.PropButton->isEnabled());
    form.CB1->setCurrentIndex(0);
    EXPECT_TRUE(form.PropButton->isEnabled());
}

TEST_F(PrintFormTest, UpAndDownStepTheCopiesAndReportABadText) {
    TfrPrintForm form(engine->Printer());
    struct Step {
        QToolButton* button;
        const char* before;
        const char* after;
    } steps[] = {
        {form.frSpeedButton2, "1", "1"},      {form.frSpeedButton1, "1", "2"},
        {form.frSpeedButton1, "9", "10"},     {form.frSpeedButton2, "3", "2"},
        {form.frSpeedButton2, "-4", "1"},     {form.frSpeedButton1, "999", "999"},
        {form.frSpeedButton2, "5000", "999"}, {form.frSpeedButton1, "x", "x"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.before);
        form.E1->setText(QString::fromUtf8(s.before));
        s.button->click();
        EXPECT_EQ(form.E1->text(), QString::fromUtf8(s.after));
    }
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
}

TEST_F(PrintFormTest, TheKeyboardReachesEveryChoice) {
    Show(3);
    report.DefaultCollate = false;
    WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
        // The copies field has the focus.
        Press(form, Qt::Key_Backspace);
        Press(form, Qt::Key_2);
        Press(form, Letter(u'Н'), Qt::AltModifier);
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == form.E2; }));
        EXPECT_TRUE(form.RB3->isChecked());
        QTest::keyClicks(form.E2, QStringLiteral("3,1"));
        Press(form, Qt::Key_Return);
    });
    frPrintBtnClick(view);
    EXPECT_EQ(Printed(), (QList<int>{1, 3}));
    EXPECT_EQ(printer->Jobs[0].Copies, 2);

    // Escape, or Enter on "Отмена", cancels: nothing is printed and the preview is left alone.
    const std::function<void(TfrPrintForm&)> cancels[] = {
        [](TfrPrintForm& form) { Press(form, Qt::Key_Escape); },
        [](TfrPrintForm& form) {
            form.Button2->setFocus();
            Press(form, Qt::Key_Return);
        },
    };
    for (const auto& cancel : cancels) {
        printer->PageRecords.clear();
        view.calls.clear();
        WhenShown<TfrPrintForm>(cancel);
        frPrintBtnClick(view);
        EXPECT_TRUE(Printed().isEmpty());
        EXPECT_TRUE(view.calls.isEmpty());
    }
}

TEST_F(PrintFormTest, TheChoicesOfTheDialogMakeTheRequest) {
    Show(4, 3);
    report.DefaultCopies = 2;
    struct Case {
        const char* name;
        std::function<void(TfrPrintForm&)> choose;
        QList<int> printed;
        int copyCount;
    } cases[] = {
        {"defaults of the report", [](TfrPrintForm&) {}, {1, 2, 3, 4, 1, 2, 3, 4}, 1},
        {"current page", [](TfrPrintForm& f) { f.RB2->setChecked(true); }, {3, 3}, 1},
        {"numbers, uncollated",
         [](TfrPrintForm& f) {
             f.RB3->setChecked(true);
             f.E2->setText(QStringLiteral("2-"));
             f.CollateCB->setChecked(false);
         },
         {2, 3, 4},
         2},
        {"even pages",
         [](TfrPrintForm& f) {
             f.E1->setText(QStringLiteral("1"));
             f.CB2->setCurrentIndex(2);
         },
         {2, 4},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->Jobs.clear();
        printer->PageRecords.clear();
        view.calls.clear();
        WhenShown<TfrPrintForm>([&](TfrPrintForm& form) {
            EXPECT_EQ(form.E1->text(), QStringLiteral("2"));
            c.choose(form);
            form.Button1->click();
        });
        frPrintBtnClick(view);
        EXPECT_EQ(Printed(), c.printed);
        ASSERT_EQ(printer->Jobs.size(), 1);
        EXPECT_EQ(printer->Jobs[0].Copies, c.copyCount);
        // The pages went to the report and came back; the preview keeps its place.
        EXPECT_EQ(view.calls, Texts({"return", "take", "reset false"}));
        EXPECT_EQ(view.pages->Count(), 4);
    }
}

TEST_F(PrintFormTest, WithoutTheDialogTheReportDefaultsPrint) {
    Show(2);
    report.ShowPrintDialog = false;
    report.DefaultCopies = 3;
    report.DefaultCollate = false;
    frPrintBtnClick(view);
    EXPECT_EQ(Printed(), (QList<int>{1, 2}));
    EXPECT_EQ(printer->Jobs[0].Copies, 3);
}

TEST_F(PrintFormTest, BadCopiesAreReportedAndNothingIsPrinted) {
    Show(2);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("x"), QStringLiteral("'x' is not a valid integer value")},
        {QStringLiteral("1000"), QStringLiteral("Число копий не может быть больше 999")},
    };
    for (const auto& [copies, message] : cases) {
        SCOPED_TRACE(copies.toStdString());
        services.boxes.clear();
        WhenShown<TfrPrintForm>([copies = copies](TfrPrintForm& form) {
            form.E1->setText(copies);
            form.Button1->click();
        });
        frPrintBtnClick(view);
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, message);
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка"));
        EXPECT_TRUE(printer->Log.isEmpty());
        EXPECT_TRUE(view.calls.isEmpty());
        EXPECT_EQ(view.pages->Count(), 2);
    }

    // 999 copies are taken.
    WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
        form.E1->setText(QStringLiteral("999"));
        form.CollateCB->setChecked(false);
        form.Button1->click();
    });
    frPrintBtnClick(view);
    ASSERT_EQ(printer->Jobs.size(), 1);
    EXPECT_EQ(printer->Jobs[0].Copies, 999);
}

TEST_F(PrintFormTest, ABadPageListClosesTheProgressWindowAndIsReported) {
    frStartProgressWindow(*engine);
    auto* window = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    Show(3);
    WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
        form.RB3->setChecked(true);
        form.E2->setText(QStringLiteral("1,,3"));
        form.Button1->click();
    });
    frPrintBtnClick(view);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, QStringLiteral("'' is not a valid integer value"));
    EXPECT_TRUE(printer->Log.isEmpty());
    EXPECT_EQ(view.calls, Texts({"return", "take", "reset false"}));
    EXPECT_EQ(view.pages->Count(), 3);
}

TEST_F(PrintFormTest, ACancelledDialogLeavesThePrinterItFound) {
    Show(1);
    TfrPrinter& engines = engine->Printer();
    WhenShown<TfrPrintForm>([&](TfrPrintForm& form) {
        form.CB1->setCurrentIndex(1);
        EXPECT_EQ(printer->Current, 1);
        EXPECT_EQ(engines.ActivePrinter(), 1);
        form.Button2->click();
    });
    frPrintBtnClick(view);
    EXPECT_EQ(printer->Current, 0);
    EXPECT_EQ(engines.ActivePrinter(), 0);
    EXPECT_TRUE(printer->Log.isEmpty());

    // Accepted, the choice stands and the job goes there.
    WhenShown<TfrPrintForm>([](TfrPrintForm& form) {
        form.CB1->setCurrentIndex(1);
        form.Button1->click();
    });
    frPrintBtnClick(view);
    EXPECT_EQ(printer->Current, 1);
    ASSERT_EQ(printer->Jobs.size(), 1);
    EXPECT_EQ(printer->Jobs[0].Printer, QStringLiteral("Hall"));
}

TEST_F(PrintFormTest, NoPagesOrNoPrinterOpensNothing) {
    // A dialog that opened anyway is closed and counted.
    int opened = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++opened;
            modal->close();
        }
    });
    watch.start(0);

    ViewDouble empty;
    frPrintBtnClick(empty);  // nothing connected
    report.Preview = &empty;
    empty.ConnectReport(report);  // no pages
    frPrintBtnClick(empty);
    frPageSetupBtnClick(empty, [&](TfrPrinter&, TfrPageSetup&, QWidget*) {
        ++opened;
        return false;
    });

    // Only the virtual printer.
    printer->Queues.clear();
    printer->Current = -1;
    engine->Printer().AttachPrinter(printer);
    Show(2);
    frPrintBtnClick(view);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(printer->Log.isEmpty());
}

// --- the file of "Файл PDF" --------------------------------------------------------------------

// A name typed without its suffix is checked with it: the overwrite question names the file
// that would be replaced, and declining it replaces nothing.
TEST(PdfFileDialog, TheOverwriteQuestionSeesTheNameWithItsSuffix) {
    TempDir dir;
    QFile existing(dir.file(QStringLiteral("Бланк.pdf")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("прежний");
    existing.close();

    struct Case {
        const char* name;
        const char* typed;
        std::optional<QMessageBox::StandardButton> answer;  // none: no question is expected
        const char* result;
    } cases[] = {
        {"declined", "Бланк", QMessageBox::No, ""},
        {"accepted", "Бланк", QMessageBox::Yes, "Бланк.pdf"},
        {"new name", "Новый", std::nullopt, "Новый.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList questions;
        WhenShown<QFileDialog>([&](QFileDialog& dialog) {
            dialog.setDirectory(dir.path());
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(QString::fromUtf8(c.typed));
            if (c.answer) {
                WhenShown<QMessageBox>([&](QMessageBox& box) {
                    questions << box.text();
                    box.button(*c.answer)->click();
                });
            }
            // As the Save button does; the check for an existing file comes first.
            static_cast<QDialog&>(dialog).accept();
            if (dialog.isVisible())
                dialog.reject();
        });
        const QString chosen = frAskPdfFileName(nullptr);
        EXPECT_EQ(questions.size(), c.answer ? 1 : 0);
        if (!questions.isEmpty()) {
            EXPECT_TRUE(questions[0].contains(QStringLiteral("Бланк.pdf")))
                << questions[0].toStdString();
        }
        const QString expected = *c.result ? dir.file(QString::fromUtf8(c.result)) : QString();
        EXPECT_EQ(chosen, expected);
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("прежний"));
}

// --- page setup --------------------------------------------------------------------------------

class PageSetupTest : public PrintFormTest {};

TEST_F(PageSetupTest, MarginsGoToTheDialogAndComeBackInPageUnits) {
    report.Pages.Add();
    report.Pages.PageAt(1).Orientation = poLandscape;
    TfrPage& dialogPage = report.Pages.Add();
    dialogPage.Type = ptDialog;
    dialogPage.LeftMargin = 7;
    design.LeftMargin = 18;
    design.TopMargin = 36;
    design.RightMargin = 0;
    design.BottomMargin = 1;
    report.Prepare();  // the report remembers the printer it was prepared on
    ASSERT_EQ(report.PreparedPages->Count(), 2);
    report.Preview = &view;
    view.ConnectReport(report);
    view.calls.clear();

    TfrPageSetup shown;
    frPageSetupBtnClick(view, [&](TfrPrinter&, TfrPageSetup& setup, QWidget*) {
        shown = setup;
        setup.Printer = 1;
        setup.PaperKind = 11;  // A5
        setup.Landscape = true;
        setup.LeftMargin = 1000;
        setup.TopMargin = 500;
        setup.RightMargin = 0;
        setup.BottomMargin = 2777;
        return true;
    });
    EXPECT_EQ(shown.Printer, 0);
    EXPECT_EQ(shown.PaperKind, DMPAPER_A4);
    EXPECT_FALSE(shown.Landscape);
    EXPECT_EQ(
        (QList<int>{shown.LeftMargin, shown.TopMargin, shown.RightMargin, shown.BottomMargin}),
        (QList<int>{500, 1000, 0, 27}));

    EXPECT_EQ(printer->Current, 1);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const TfrPage& page = report.Pages.PageAt(i);
        EXPECT_EQ(
            (QList<int>{page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin}),
            (QList<int>{36, 18, 0, 99}));
        EXPECT_EQ(page.PaperKind, 11);
        EXPECT_EQ(page.Orientation, poLandscape);
    }
    EXPECT_EQ(report.Pages.PageAt(2).LeftMargin, 7);
    // Prepared again on the new paper and shown from the top.
    EXPECT_EQ(view.calls, Texts({"take", "reset true"}));
    ASSERT_EQ(view.pages->Count(), 2);
    EXPECT_EQ(view.pages->RecordAt(1).PaperKind, 11);
    EXPECT_EQ(view.pages->RecordAt(1).LeftMargin, 36);

    // A cancelled dialog changes nothing.
    view.calls.clear();
    frPageSetupBtnClick(view, [](TfrPrinter&, TfrPageSetup& setup, QWidget*) {
        setup.LeftMargin = 0;
        return false;
    });
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(report.Pages.PageAt(0).LeftMargin, 36);
}

TEST_F(PageSetupTest, TheDialogAsLaidOutAndAnswered) {
    TfrPrinter& engines = engine->Printer();
    TfrPageSetup setup;
    setup.PaperKind = 11;
    setup.Landscape = true;
    setup.LeftMargin = 500;
    setup.BottomMargin = 1250;
    TfrPageSetupForm form(engines, setup);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Параметры страницы"));
    const std::pair<QString, QString> captions[] = {
        {form.PrinterGroup->title(), QStringLiteral("Принтер")},
        {form.PaperGroup->title(), QStringLiteral("Бумага")},
        {form.OrientationGroup->title(), QStringLiteral("Ориентация")},
        {form.Portrait->text(), QStringLiteral("&Книжная")},
        {form.Landscape->text(), QStringLiteral("&Альбомная")},
        {form.MarginsGroup->title(), QStringLiteral("Поля (мм)")},
        {form.OkButton->text(), QStringLiteral("ОК")},
        {form.CancelButton->text(), QStringLiteral("Отмена")},
        {form.PaperBox->currentText(), QStringLiteral("A5")},
    };
    for (const auto& [shown, expected] : captions)
        EXPECT_EQ(shown, expected);
    EXPECT_EQ(form.PrinterBox->count(), 2);
    EXPECT_EQ(form.PaperBox->count(), 3);
    EXPECT_TRUE(form.Landscape->isChecked());
    EXPECT_DOUBLE_EQ(form.LeftMargin->value(), 5.0);
    EXPECT_DOUBLE_EQ(form.BottomMargin->value(), 12.5);

    // Another printer is selected while the dialog is up, and again the first one on cancel.
    form.PrinterBox->setCurrentIndex(1);
    EXPECT_EQ(printer->Current, 1);
    form.reject();
    EXPECT_EQ(printer->Current, 0);

    // Answered through the keyboard: margins typed, Enter for OK.
    setup = TfrPageSetup{};
    setup.PaperKind = DMPAPER_A4;
    WhenShown<TfrPageSetupForm>([](TfrPageSetupForm& f) {
        Press(f, Letter(u'Л'), Qt::AltModifier);
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == f.LeftMargin; }));
        f.LeftMargin->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
        Press(f, Letter(u'А'), Qt::AltModifier);
        EXPECT_TRUE(WaitFor([&] { return f.Landscape->isChecked(); }));
        Press(f, Qt::Key_Return);
    });
    ASSERT_TRUE(frRunPageSetupForm(engines, setup, nullptr));
    EXPECT_EQ(setup.LeftMargin, 1000);
    EXPECT_TRUE(setup.Landscape);
    EXPECT_EQ(setup.PaperKind, DMPAPER_A4);
}

TEST_F(PageSetupTest, WithoutPrintersTheVirtualPrinterIsOffered) {
    Restart(nullptr);
    TfrPageSetup setup;
    setup.PaperKind = DMPAPER_A4;
    TfrPageSetupForm form(engine->Printer(), setup);
    EXPECT_EQ(form.PrinterBox->count(), 1);
    EXPECT_EQ(form.PrinterBox->itemText(0), QStringLiteral("Виртуальный принтер"));
    // The table's papers have no names of their own: their standard names stand in.
    EXPECT_EQ(form.PaperBox->count(), 67);
    EXPECT_EQ(form.PaperBox->currentText(), QStringLiteral("A4"));
}

}  // namespace
