#include "BuilderFixture.h"
#include "FailureText.h"
#include "PaintBox.h"
#include "Preview.h"
#include "PreviewView.h"
#include "PrintCommands.h"
#include "PrintForm.h"
#include "PrintRep.h"
#include "Printing.h"
#include "ProgressForm.h"
#include "RecordingCanvas.h"
#include "WhenShown.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// The preview window over a database whose template has two pages, a field on the first.
class PrintRep : public BuilderFixture {
protected:
    PrintRep() {
        frStartPreview(*engine);
        frStartPrinting(*engine);
    }

    void Open(QVariant pageCount = 2, int fieldPage = 1,
              const QString& value = QStringLiteral("Иванов")) {
        const qint64 doc = AddTemplate(QStringLiteral("Счёт"), pageCount);
        const qint64 field =
            AddFieldAt(doc, {QStringLiteral("Фамилия"), fieldPage, 10, 25, 100, 10});
        const qint64 list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый"));
        AddValue(list, field, value);
        OpenModule();
        window = std::make_unique<TfPrintRep>(frame, *data);
    }

    QStringList Checked() const {
        QStringList names;
        for (QAction* item : window->ZoomMenu->actions())
            if (item->isChecked())
                names << item->objectName();
        return names;
    }

    std::unique_ptr<TfPrintRep> window;
};

TEST_F(PrintRep, ShowsTheDocumentAtWholePageAndClosesOnEscape) {
    Open();
    bool shown = false;
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        shown = true;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Первый"));
        EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(w.isMaximized());
        EXPECT_EQ(w.Preview->PageCount(), 2);
        EXPECT_EQ(w.Preview->View().ZoomMode(), pzOnePage);
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m8")});
        EXPECT_EQ(w.Preview->View().PageLabel()->text(), QStringLiteral("Стр. 1/2"));
        const std::pair<QAction*, QString> items[] = {
            {w.TBItem1, QStringLiteral("Печать")},
            {w.TBItem2, QStringLiteral("Параметры страницы...")},
            {w.TBItem5, QStringLiteral("Предидущая страница")},
            {w.TBItem4, QStringLiteral("Следующая страница")},
            {w.TBItem3, QStringLiteral("Закрыть")},
        };
        for (const auto& [item, hint] : items)
            EXPECT_EQ(item->toolTip(), hint);
        QTest::keyClick(&w, Qt::Key_PageDown);
        EXPECT_EQ(w.Preview->CurrentPage(), 2);
        QTest::keyClick(&w, Qt::Key_Home);
        EXPECT_EQ(w.Preview->CurrentPage(), 1);
        // Ctrl+P opens the print dialog; cancelling it prints nothing.
        QApplication::setActiveWindow(&w);
        bool asked = false;
        WhenShown<TfrPrintForm>([&](TfrPrintForm& form) {
            asked = true;
            form.Button2->click();
        });
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(asked);
        EXPECT_TRUE(printer->Jobs.isEmpty());
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    window->BuildAndShow();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(PrintRep, OneZoomItemCarriesTheMarkAndABuildMovesItBack) {
    Open();
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        w.m5->trigger();
        w.m9->trigger();
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m9")});
        EXPECT_EQ(w.Preview->View().ZoomMode(), pzTwoPages);
        w.m4->trigger();
        w.m4->trigger();
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m4")});
        EXPECT_DOUBLE_EQ(w.Preview->View().Scale(), 1.0);
        // Ctrl+minus and Ctrl+plus step through the percentages.
        QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m3")});
        EXPECT_DOUBLE_EQ(w.Preview->View().Scale(), 0.5);
        QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m5")});
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("m5")});

    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        EXPECT_EQ(Checked(), QStringList{QStringLiteral("m8")});
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
}

// A build or a preparation that fails shows its error and no preview, never the report the
// same window showed before.
TEST_F(PrintRep, AFailedBuildShowsNoPreview) {
    struct Case {
        const char* name;
        QString change;
        QString error;
    };
    const Case cases[] = {
        {"page beyond the template", QStringLiteral("UPDATE Values_ SET PageNum = 3"),
         QStringLiteral("List index out of bounds (2)")},
        {"preparation error", QStringLiteral("UPDATE HistoryValue SET Value = '[]'"),
         QStringLiteral("Переменная не определена: \"\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.boxes.clear();
        Open();
        int earlier = 0;
        WhenShown<TfPrintRep>([&](TfPrintRep& w) {
            earlier = w.Preview->PageCount();
            w.TBItem3->trigger();
        });
        window->BuildAndShow();
        ASSERT_EQ(earlier, 2);

        Exec(c.change);
        data->Values_.Requery();
        data->HistoryValue.Requery();
        bool shown = false;
        QTimer probe;
        probe.callOnTimeout([&] {
            if (QApplication::activeModalWidget() == window.get()) {
                shown = true;
                window->close();
            }
        });
        probe.start(0);
        window->BuildAndShow();
        probe.stop();
        EXPECT_FALSE(shown);
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_TRUE(services.boxes[0].text.endsWith(c.error))
            << services.boxes[0].text.toStdString();
        Exec(QStringLiteral("DELETE FROM HistoryValue"));
        Exec(QStringLiteral("DELETE FROM ListDoc"));
        Exec(QStringLiteral("DELETE FROM Values_"));
        Exec(QStringLiteral("DELETE FROM Document"));
        window.reset();
        data.reset();
    }
}

// A preparation cancelled in its progress window shows the pages formed so far.
TEST_F(PrintRep, ACancelledPreparationShowsThePagesFormedSoFar) {
    frStartProgressWindow(*engine);
    auto* progress = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    Open(3);
    // The label reads 2 once the second page is formed.
    QTimer cancel;
    cancel.callOnTimeout([&] {
        if (progress->isVisible() && progress->Label1().endsWith(QStringLiteral("  2"))) {
            cancel.stop();
            progress->Button1()->click();
        }
    });
    cancel.start(0);
    int shown = -1;
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        shown = w.Preview->PageCount();
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(PrintRep, PrintPrintsThePagesShownOnTheChosenPrinter) {
    Open();
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        WhenShown<TfrPrintForm>([](TfrPrintForm& form) { form.Button1->click(); });
        w.TBItem1->trigger();
        // The preview has its pages back.
        EXPECT_EQ(w.Preview->PageCount(), 2);
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    ASSERT_EQ(printer->Jobs.size(), 1);
    EXPECT_EQ(printer->Jobs[0].Pages, 2);
    EXPECT_EQ(printer->Jobs[0].Title, QStringLiteral("Первый"));
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(PrintRep, TheFormBackgroundIsShownOnRequestAndNeverPrinted) {
    Open();
    QImage scan(827, 1169, QImage::Format_RGB32);  // A4 at 100 dpi
    scan.fill(QColor(180, 180, 180));
    scan.setDotsPerMeterX(qRound(100 / 0.0254));
    scan.setDotsPerMeterY(qRound(100 / 0.0254));
    ASSERT_TRUE(scan.save(dir.file(QStringLiteral("scan.png")), "png"));
    PagePicture picture = PagePicture::FromFile(dir.file(QStringLiteral("scan.png")));
    picture.ShiftY = 50;  // 5 mm down
    data->PageImages.Write(data->DocumentId.Value().toLongLong(), 1, picture);

    auto images = [](TfPrintRep& w) {
        TfrPreviewView& view = w.Preview->View();
        RecordingCanvas canvas(view.PaintBox()->size());
        view.PaintPages(canvas);
        return canvas.RecordsOf(CanvasRecord::Image);
    };
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        EXPECT_EQ(w.TBBackground->text(), QStringLiteral("Фон бланка"));
        EXPECT_FALSE(w.TBBackground->isChecked());
        EXPECT_TRUE(images(w).isEmpty());
        w.TBBackground->trigger();
        w.CheckZoomItem(w.m4, 100);
        const QList<CanvasRecord> shown = images(w);
        // Only the first page has a picture: on it, 5 mm below the sheet's top.
        ASSERT_EQ(shown.size(), 1);
        const CanvasRect sheet = w.Preview->ShownPages()->RecordAt(0).ViewRect.Translated(
            w.Preview->View().OriginX(), w.Preview->View().OriginY());
        EXPECT_EQ(shown[0].rect.left, sheet.left);
        EXPECT_EQ(shown[0].rect.top, sheet.top + qRound(5 * frUnitsPerInch / 25.4));
        EXPECT_NEAR(shown[0].rect.Width(), 210 * frUnitsPerInch / 25.4, 1.5);

        WhenShown<TfrPrintForm>([](TfrPrintForm& form) { form.Button1->click(); });
        w.TBItem1->trigger();
        EXPECT_TRUE(w.TBBackground->isChecked());
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    ASSERT_EQ(printer->Jobs.size(), 1);
    ASSERT_EQ(printer->PageRecords.size(), 2u);
    for (const auto& page : printer->PageRecords)
        EXPECT_TRUE(page->RecordsOf(CanvasRecord::Image).isEmpty());
    EXPECT_FALSE(printer->PageRecords[0]->RecordsOf(CanvasRecord::TextOut).isEmpty());
}

// The warnings of the preparation are a list in the tool bar; a line shows the field's page and
// marks the field.
TEST_F(PrintRep, WarningsListShowsThePageAndMarksTheField) {
    Open(2, 2, QStringLiteral("первая\nвторая\nтретья\nчетвёртая\nпятая"));
    bool shown = false;
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        shown = true;
        ASSERT_EQ(w.Warnings.size(), 1u);
        EXPECT_TRUE(w.WarningsAction->isVisible());
        EXPECT_EQ(w.WarningsButton->text(), QStringLiteral("Предупреждения: 1"));
        const QList<QAction*> lines = w.WarningsMenu->actions();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0]->text().startsWith(QStringLiteral(
            "Поле «Фамилия», страница 2: текст не помещается по высоте, видно строк: ")))
            << lines[0]->text().toStdString();
        EXPECT_EQ(w.Preview->CurrentPage(), 1);
        EXPECT_FALSE(w.Preview->View().Highlight().has_value());

        lines[0]->trigger();
        EXPECT_EQ(w.Preview->CurrentPage(), 2);
        const auto mark = w.Preview->View().Highlight();
        ASSERT_TRUE(mark.has_value());
        const CanvasRect& box = w.Warnings[0].Box;
        const double scale = w.Preview->View().Scale();
        EXPECT_NEAR(mark->right - mark->left, (box.right - box.left) * scale, 1);
        EXPECT_NEAR(mark->bottom - mark->top, (box.bottom - box.top) * scale, 1);
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
    EXPECT_TRUE(shown);

    // A document that prints as its template means has no list.
    window.reset();
    Exec(QStringLiteral("UPDATE HistoryValue SET Value = 'Иванов'"));
    OpenModule();
    window = std::make_unique<TfPrintRep>(frame, *data);
    WhenShown<TfPrintRep>([&](TfPrintRep& w) {
        EXPECT_TRUE(w.Warnings.empty());
        EXPECT_FALSE(w.WarningsAction->isVisible());
        w.TBItem3->trigger();
    });
    window->BuildAndShow();
}

}  // namespace
