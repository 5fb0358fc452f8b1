#include "BuilderFixture.h"
#include "EditValue.h"
#include "LayoutGeometry.h"
#include "PageLayout.h"
#include "PainterCanvas.h"
#include "PdfReader.h"
#include "Printer.h"
#include "RecordingCanvas.h"
#include "TemplateWindows.h"
#include "WhenShown.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>
#include <functional>

namespace {

using LayoutGeometry::FieldMm;
using LayoutGeometry::Grip;

TEST(LayoutGeometry, FieldsLieWhereTheBuilderPutsThem) {
    // The builder's 92 units an inch: 10 mm are 36 units, 25 mm 91, 100 mm 362.
    EXPECT_EQ(LayoutGeometry::FieldUnits({10, 25, 100, 10}), QRect(36, 91, 362, 36));
    EXPECT_EQ(LayoutGeometry::FieldOnScreen({10, 25, 100, 10}, {12, 12}, 1.0),
              QRect(48, 103, 362, 36));
    // At another zoom the corner and the size are each rounded, as the engine scales.
    EXPECT_EQ(LayoutGeometry::FieldOnScreen({10, 25, 100, 10}, {0, 0}, 0.5),
              QRect(18, 46, 181, 18));
    // A picture lies in true millimetres: 25.4 mm are one inch of page units.
    EXPECT_NEAR(LayoutGeometry::MmOnScreen({0, 0, 25.4, 50.8}, {0, 0}, 1).width(), frUnitsPerInch,
                1e-9);
}

TEST(LayoutGeometry, DragsSnapToWholeMillimetres) {
    const FieldMm start{30, 40, 120, 8};
    struct Case {
        const char* name;
        Grip grip;
        QPoint delta;
        double zoom;
        FieldMm result;
    };
    // 3.622 screen pixels a millimetre at 100 %.
    const Case cases[] = {
        {"move right and down", Grip::Move, {37, 18}, 1, {40, 45, 120, 8}},
        {"under half a millimetre stays", Grip::Move, {1, -1}, 1, {30, 40, 120, 8}},
        {"move at 200 %", Grip::Move, {-73, 0}, 2, {20, 40, 120, 8}},
        {"right edge", Grip::Right, {-36, 0}, 1, {30, 40, 110, 8}},
        {"left edge keeps the right one", Grip::Left, {36, 5}, 1, {40, 40, 110, 8}},
        {"top-left corner", Grip::TopLeft, {-36, -11}, 1, {20, 37, 130, 11}},
        {"bottom stops at 1 mm", Grip::Bottom, {0, -200}, 1, {30, 40, 120, 1}},
        {"top stops at 1 mm", Grip::Top, {0, 200}, 1, {30, 47, 120, 1}},
        {"left stops at 1 mm", Grip::BottomLeft, {2000, 4}, 1, {149, 40, 1, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LayoutGeometry::Dragged(start, c.grip, c.delta, c.zoom), c.result);
    }
}

TEST(LayoutGeometry, HandlesComeBeforeTheFieldOnlyWhenSelected) {
    const QRect field(100, 100, 200, 40);
    EXPECT_EQ(LayoutGeometry::GripAt(field, true, {100, 100}), Grip::TopLeft);
    EXPECT_EQ(LayoutGeometry::GripAt(field, true, {300, 120}), Grip::Right);
    EXPECT_EQ(LayoutGeometry::GripAt(field, true, {200, 140}), Grip::Bottom);
    EXPECT_EQ(LayoutGeometry::GripAt(field, true, {150, 120}), Grip::Move);
    EXPECT_EQ(LayoutGeometry::GripAt(field, false, {302, 120}), Grip::None);
    EXPECT_EQ(LayoutGeometry::GripAt(field, false, {100, 100}), Grip::Move);
    EXPECT_EQ(LayoutGeometry::GripAt(field, true, {50, 50}), Grip::None);
}

// A two-page template "Перевод" with three fields, a document with values, and the window on
// it; the first page's picture is the form itself drawn at 200 dpi, as a scanner would give it.
class PageLayout : public BuilderFixture {
protected:
    void SetUp() override {
        BuilderFixture::SetUp();
        doc = AddTemplate(QStringLiteral("Перевод"), 2);
        komu = AddFieldAt(doc, {QStringLiteral("Кому"), 1, 30, 40, 120, 8,
                                QStringLiteral("Liberation Serif"), 12, true});
        summa = AddFieldAt(doc, {QStringLiteral("Сумма"), 1, 30, 64, 80, 8});
        back = AddFieldAt(doc, {QStringLiteral("Подпись"), 2, 20, 200, 60, 10});
        list = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Перевод"));
        AddValue(list, komu, QStringLiteral("Иванову"));
        AddValue(list, summa, QStringLiteral("1500"));
        AddValue(list, back, QStringLiteral("Петров"));
        OpenModule();
        windows.fEditValue = nullptr;
        window = std::make_unique<TfPageLayout>(frame, *data, windows);
    }

    // The form drawn by the engine with a box about each field, at 200 dpi: the scan.
    QString FormScan() {
        TfrReport form;
        TfReportBuilder build(*data, form);
        build.Build();
        form.ShowProgress = false;
        EXPECT_TRUE(form.Prepare());
        const TfrPageMetrics& m = form.Pages.PageAt(0).Metrics;
        const double k = 200 / frUnitsPerInch;
        ImageCanvas canvas(QSize(qRound(m.SheetWidth * k), qRound(m.SheetHeight * k)), 200);
        TfrPreparedPage& page = form.PreparedPages->RecordAt(0);
        page.Showing = true;
        form.PreparedPages->DrawPage(0, canvas,
                                     {0, 0, canvas.Image().width(), canvas.Image().height()});
        QImage scan = canvas.Image();
        QPainter painter(&scan);
        painter.setPen(QColor(90, 90, 90));
        painter.drawRect(
            QRectF(20 / 25.4 * 200, 30 / 25.4 * 200, 160 / 25.4 * 200, 50 / 25.4 * 200));
        painter.end();
        const QString path = dir.file(QStringLiteral("scan.png"));
        EXPECT_TRUE(scan.save(path, "png"));
        data->Values_.First();  // the window opens on the page of the current field
        return path;
    }

    // Runs `act` inside the window, which then closes.
    void InWindow(const std::function<void(TfPageLayout&)>& act) {
        bool shown = false;
        WhenShown<TfPageLayout>([&](TfPageLayout& w) {
            shown = true;
            QApplication::setActiveWindow(&w);
            act(w);
            w.accept();
        });
        window->Execute();
        EXPECT_TRUE(shown);
    }

    FieldMm Stored(qint64 id) {
        QSqlQuery q(sql.Database());
        q.prepare(QStringLiteral("SELECT \"Left\", Top, Width, Height FROM Values_ WHERE Id = ?"));
        q.addBindValue(id);
        EXPECT_TRUE(q.exec() && q.next());
        return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
    }

    // The current page drawn onto a recording canvas the size of the sheet widget.
    std::unique_ptr<RecordingCanvas> Painted(TfPageLayout& w) {
        auto canvas = std::make_unique<RecordingCanvas>(w.Sheet->size());
        w.PaintSheet(*canvas, w.Sheet->rect());
        return canvas;
    }

    qint64 doc{0}, komu{0}, summa{0}, back{0}, list{0};
    TemplateWindows windows;
    std::unique_ptr<TfPageLayout> window;
};

TEST_F(PageLayout, ShowsThePageWithItsFieldsAndValues) {
    InWindow([&](TfPageLayout& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Разметка страницы — Перевод"));
        EXPECT_EQ(w.PageTabs->count(), 2);
        EXPECT_EQ(w.PageTabs->tabText(1), QStringLiteral("Страница 2"));
        EXPECT_EQ(w.Zoom(), 1.0);
        EXPECT_EQ(w.PageFields(), (QList<qint64>{komu, summa}));
        EXPECT_TRUE(w.Notice->text().isEmpty()) << w.Notice->text().toStdString();
        const auto canvas = Painted(w);
        QStringList texts;
        for (const CanvasRecord& r : canvas->RecordsOf(CanvasRecord::TextOut))
            texts << r.text;
        EXPECT_TRUE(texts.contains(QStringLiteral("Иванову"))) << texts.join(u'|').toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("1500")));
        // The value in the field's font, at the field's corner and the engine's gaps.
        for (const CanvasRecord& r : canvas->RecordsOf(CanvasRecord::TextOut)) {
            if (r.text != QStringLiteral("Иванову"))
                continue;
            EXPECT_EQ(r.font.face, QStringLiteral("Liberation Serif"));
            EXPECT_TRUE(r.font.style & CanvasFont::Bold);
            const QRect field = w.FieldRect(komu);
            EXPECT_EQ(field.topLeft(), w.Origin() + QPoint(109, 145));
            EXPECT_EQ(r.position.x(), field.left() + 2);
            EXPECT_GE(r.position.y(), field.top());
            EXPECT_LE(r.position.y(), field.top() + 2);
        }
        // Whole page and page width fit the sheet into the view; fields scale with it.
        const QSize view = w.Scroll->viewport()->size();
        w.SetZoomMode(TfPageLayout::ZoomWholePage);
        EXPECT_LT(w.Zoom(), 1.0);
        EXPECT_LE(w.SheetUnits().height() * w.Zoom(), view.height());
        EXPECT_EQ(w.ZoomBox->currentIndex(), int(TfPageLayout::ZoomWholePage));
        EXPECT_EQ(w.FieldRect(komu),
                  LayoutGeometry::FieldOnScreen({30, 40, 120, 8}, w.Origin(), w.Zoom()));
        w.SetZoomMode(TfPageLayout::ZoomPageWidth);
        EXPECT_LE(w.SheetUnits().width() * w.Zoom(), view.width());
        EXPECT_GT(w.SheetUnits().width() * w.Zoom(), view.width() - 60);
        w.SetZoomMode(TfPageLayout::Zoom100);
        EXPECT_EQ(w.Zoom(), 1.0);

        // PgDn turns to the second page and its field.
        QTest::keyClick(w.Sheet, Qt::Key_PageDown);
        EXPECT_EQ(w.CurrentPage(), 2);
        EXPECT_EQ(w.PageTabs->currentIndex(), 1);
        EXPECT_EQ(w.PageFields(), QList<qint64>{back});
        QTest::keyClick(w.Sheet, Qt::Key_PageUp);
        EXPECT_EQ(w.CurrentPage(), 1);
    });
}

TEST_F(PageLayout, DragsAndKeysLandInTheDatabaseAtTheMillimetresShown) {
    InWindow([&](TfPageLayout& w) {
        const QRect field = w.FieldRect(komu);
        const QPoint from = field.center();
        QTest::mousePress(w.Sheet, Qt::LeftButton, {}, from);
        EXPECT_EQ(w.SelectedField(), komu);
        // Moves through the window system: with the button held.
        for (const QPoint step : {QPoint(10, 5), QPoint(25, 12), QPoint(37, 18)}) {
            QMouseEvent move(QEvent::MouseMove, from + step, w.Sheet->mapToGlobal(from + step),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.Sheet, &move);
        }
        EXPECT_EQ(w.FieldPlace(komu), (FieldMm{40, 45, 120, 8}));
        EXPECT_EQ(Stored(komu), (FieldMm{30, 40, 120, 8}));  // stored on release
        QTest::mouseRelease(w.Sheet, Qt::LeftButton, {}, from + QPoint(37, 18));
        EXPECT_EQ(Stored(komu), (FieldMm{40, 45, 120, 8}));
        EXPECT_EQ(w.Status->text(), QStringLiteral("«Кому»   Слева: 40 мм   Сверху: 45 мм   "
                                                   "Ширина: 120 мм   Высота: 8 мм"));

        // The right handle widens it.
        const QRect moved = w.FieldRect(komu);
        const QPoint handle = LayoutGeometry::HandleRect(moved, Grip::Right).center();
        QTest::mousePress(w.Sheet, Qt::LeftButton, {}, handle);
        QTest::mouseRelease(w.Sheet, Qt::LeftButton, {}, handle + QPoint(18, 0));
        EXPECT_EQ(Stored(komu), (FieldMm{40, 45, 125, 8}));

        // Arrows move by a millimetre, with Shift they resize.
        QTest::keyClick(w.Sheet, Qt::Key_Right);
        QTest::keyClick(w.Sheet, Qt::Key_Up);
        QTest::keyClick(w.Sheet, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(w.Sheet, Qt::Key_Left, Qt::ShiftModifier);
        EXPECT_EQ(Stored(komu), (FieldMm{41, 44, 124, 9}));
        EXPECT_EQ(w.FieldPlace(komu), (FieldMm{41, 44, 124, 9}));

        // Tab walks to the next field; Ctrl+Z goes back through every change, whichever field.
        QTest::keyClick(w.Sheet, Qt::Key_Tab);
        EXPECT_EQ(w.SelectedField(), summa);
        QTest::keyClick(w.Sheet, Qt::Key_Left);
        EXPECT_EQ(Stored(summa), (FieldMm{29, 64, 80, 8}));
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(w.Sheet, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Stored(summa), (FieldMm{30, 64, 80, 8}));
        EXPECT_EQ(Stored(komu), (FieldMm{30, 40, 120, 8}));
        EXPECT_EQ(w.FieldPlace(komu), (FieldMm{30, 40, 120, 8}));
        // Nothing more to take back.
        QTest::keyClick(w.Sheet, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Stored(komu), (FieldMm{30, 40, 120, 8}));
    });
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(PageLayout, AResizeBreaksTheLinesAnew) {
    InWindow([&](TfPageLayout& w) {
        w.SelectField(komu);
        // Too narrow for the word: the engine cuts it between characters.
        for (int i = 0; i < 112; ++i)
            w.ResizeSelected(-1, 0);
        EXPECT_EQ(Stored(komu).width, 8);
        QStringList texts;
        for (const CanvasRecord& r : Painted(w)->RecordsOf(CanvasRecord::TextOut))
            texts << r.text;
        EXPECT_FALSE(texts.contains(QStringLiteral("Иванову"))) << texts.join(u'|').toStdString();
    });
}

TEST_F(PageLayout, TheRectangleOnScreenIsWhereThePdfPutsTheText) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "poppler-utils are missing";
    PagePicture scan = PagePicture::FromFile(FormScan());
    ASSERT_DOUBLE_EQ(scan.Dpi, 200);
    scan.ShiftX = 15;  // 1.5 mm to the right
    data->PageImages.Write(doc, 1, scan);

    QPoint textOnScreen;
    QRect pictureOnScreen;
    InWindow([&](TfPageLayout& w) {
        const auto canvas = Painted(w);
        for (const CanvasRecord& r : canvas->RecordsOf(CanvasRecord::TextOut)) {
            if (r.text == QStringLiteral("Иванову"))
                textOnScreen = r.position - w.Origin();
        }
        const QList<CanvasRecord> images = canvas->RecordsOf(CanvasRecord::Image);
        ASSERT_EQ(images.size(), 1);
        pictureOnScreen = images[0].rect.ToQRect().translated(-w.Origin());
    });
    // The picture: its corner 1.5 mm from the sheet's, an A4 sheet's size.
    EXPECT_EQ(pictureOnScreen.topLeft(), QPoint(qRound(1.5 * frUnitsPerInch / 25.4), 0));
    EXPECT_NEAR(pictureOnScreen.width(), 210 * frUnitsPerInch / 25.4, 1.5);

    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(QB_QUILLBOX_EXE),
            {QStringLiteral("--export-pdf"), QStringLiteral("out.pdf")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString pdf = dir.file(QStringLiteral("out.pdf"));
    const std::optional<QRectF> box = PdfWordBox(pdf, QStringLiteral("Иванову"));
    ASSERT_TRUE(box.has_value());
    // Points into pixels of the screen at 100 %: one page unit a pixel.
    const double k = frUnitsPerInch / 72;
    EXPECT_NEAR(box->left() * k, textOnScreen.x(), 1.0);
    EXPECT_NEAR(box->top() * k, textOnScreen.y(), 1.0);

    // The exported page is white where the picture's frame was drawn (20 mm from the left).
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-gray"),
                  QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                  dir.file(QStringLiteral("page"))});
    ASSERT_TRUE(render.waitForFinished(60000));
    const QImage page(dir.file(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    const int x = qRound((20 + 1.5) / 25.4 * 100);
    for (int y = qRound(32 / 25.4 * 100); y < qRound(78 / 25.4 * 100); ++y)
        ASSERT_EQ(qGray(page.pixel(x, y)), 255) << y;
}

TEST_F(PageLayout, WithoutPicturesOrValuesTheWindowSaysWhy) {
    data->PageImages.Write(doc, 1, PagePicture::FromFile(FormScan()));
    // A picture that does not decode any more, and a document without values.
    Exec(QStringLiteral("UPDATE FwPageImage SET Picture = x'89504e470d0a1a0a00'"));
    Exec(QStringLiteral("DELETE FROM HistoryValue"));
    data->HistoryValue.Requery();
    window = std::make_unique<TfPageLayout>(frame, *data, windows);
    InWindow([&](TfPageLayout& w) {
        // The picture is decoded once the window shows.
        EXPECT_TRUE(w.Notice->text().isEmpty());
        QTest::qWait(50);
        EXPECT_EQ(w.Notice->text(), QStringLiteral("Фон страницы 1 не читается и не показан"));
        // No value: the field shows its name.
        QStringList texts;
        for (const CanvasRecord& r : Painted(w)->RecordsOf(CanvasRecord::DrawText))
            texts << r.text;
        EXPECT_EQ(texts, (QStringList{QStringLiteral("Кому"), QStringLiteral("Сумма")}));
    });
}

TEST_F(PageLayout, DoubleClickOpensTheFieldEditor) {
    TfEditValue editor(frame, *data, windows);
    windows.fEditValue = &editor;
    InWindow([&](TfPageLayout& w) {
        bool edited = false;
        WhenShown<TfEditValue>([&](TfEditValue& e) {
            edited = true;
            EXPECT_EQ(data->Values_.State(), TDataSetState::dsEdit);
            EXPECT_EQ(data->Values_Id.Value().toLongLong(), summa);
            EXPECT_EQ(e.MaxPage(), 2);
            data->Values_Width.SetAsInteger(90);
            e.BitBtn1Click();
            e.done(1);
        });
        QTest::mouseDClick(w.Sheet, Qt::LeftButton, {}, w.FieldRect(summa).center());
        EXPECT_TRUE(edited);
        EXPECT_EQ(w.SelectedField(), summa);
        EXPECT_EQ(w.FieldPlace(summa).width, 90);
    });
    EXPECT_EQ(Stored(summa).width, 90);
}

TEST_F(PageLayout, ATemplateWithoutPagesOpensNothing) {
    Exec(QStringLiteral("UPDATE Document SET PageCount = 0"));
    data->Document.Requery();
    window->Execute();
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Не определено колличество страниц для документа\rПеревод"));
}

}  // namespace
