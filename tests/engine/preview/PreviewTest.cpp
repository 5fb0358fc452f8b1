#include "PaintBox.h"
#include "Preview.h"
#include "PreviewFixture.h"
#include "QtPrinting.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <utility>

namespace {

// A host window with a button above a preview control, as the application embeds it; the
// engine shows prepared pages through the control.
class PreviewTest : public PreviewFixture {
protected:
    PreviewTest() {
        frStartPreview(*engine);
        auto* layout = new QVBoxLayout(&host);
        button = new QPushButton(QStringLiteral("Печать"), &host);
        layout->addWidget(button);
        preview = new TfrPreview(&host);
        layout->addWidget(preview);
        host.resize(600, 500);
        host.show();
        report.Preview = preview;
        preview->OnPageChanged = [this](TfrPreview& sender, int page) {
            EXPECT_EQ(&sender, preview);
            pagesChanged << page;
        };
    }

    TfrPreviewView& View() const { return preview->View(); }
    QString Label() const { return View().PageLabel()->text(); }
    static QString Text(const char* s) { return QString::fromUtf8(s); }

    void Wheel(QWidget* target, int delta) {
        QWheelEvent e(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton pressed, Qt::MouseButtons buttons) {
        QWidget* box = View().PaintBox();
        QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), pressed, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }

    QWidget host;
    QPushButton* button{nullptr};
    TfrPreview* preview{nullptr};
    QList<int> pagesChanged;
};

TEST_F(PreviewTest, ANewControlIsLoweredWithBothBarsAndNoPages) {
    EXPECT_EQ(preview->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(preview->ScrollBars(), ssBoth);
    EXPECT_FALSE(preview->ShowToolbar());
    EXPECT_EQ(preview->PageCount(), 0);
    EXPECT_EQ(preview->ShownPages(), nullptr);
    preview->NextPage();
    preview->GoToPage(1);
    EXPECT_EQ(preview->CurrentPage(), 1);
    EXPECT_TRUE(pagesChanged.isEmpty());

    struct Row {
        TScrollStyle style;
        bool right;
        bool bottom;
    };
    for (const Row& r : {Row{ssNone, false, false}, Row{ssHorizontal, false, true},
                         Row{ssVertical, true, false}, Row{ssBoth, true, true}}) {
        preview->SetScrollBars(r.style);
        EXPECT_EQ(!View().RPanel()->isHidden(), r.right) << r.style;
        EXPECT_EQ(!View().BPanel()->isHidden(), r.bottom) << r.style;
    }
}

TEST_F(PreviewTest, PreparingConnectsTheControlWhichTakesThePages) {
    Prepare(5);
    TfrEMFPages* prepared = report.PreparedPages.get();
    report.ShowPreparedPages();
    EXPECT_EQ(preview->ShownReport(), &report);
    EXPECT_EQ(preview->ShownPages(), prepared);
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    EXPECT_EQ(preview->PageCount(), 5);
    EXPECT_EQ(Label(), Text("Стр. 1/5"));
    EXPECT_TRUE(View().isVisible());
    EXPECT_EQ(View().PaintBox()->width() + 16, preview->contentsRect().width());

    // An empty preparation leaves the control with what it showed.
    report.Pages.ClearAll();
    report.PrepareAndShow();
    EXPECT_EQ(preview->ShownPages(), prepared);
    EXPECT_EQ(preview->PageCount(), 5);

    // Pages lent for printing come back as they were.
    preview->ReturnPages();
    EXPECT_EQ(report.PreparedPages.get(), prepared);
    EXPECT_EQ(preview->PageCount(), 0);
    preview->NextPage();  // nothing to go to
    preview->TakePages();
    EXPECT_EQ(preview->ShownPages(), prepared);
    EXPECT_EQ(report.PreparedPages->Count(), 0);
}

TEST_F(PreviewTest, AControlThatIsNotAPreviewLeavesThePagesInTheStore) {
    Prepare(2);
    QWidget other;
    report.Preview = &other;
    report.ShowPreparedPages();
    EXPECT_EQ(report.PreparedPages->Count(), 2);
    EXPECT_EQ(preview->PageCount(), 0);
}

TEST_F(PreviewTest, ZoomOperationsAreRememberedForTheNextPreview) {
    Prepare(5);
    report.ShowPreparedPages();
    const QSize box = View().PaintBox()->size();
    const TfrPageMetrics m = preview->ShownPages()->RecordAt(0).Metrics;

    preview->ShowWholePage();
    EXPECT_DOUBLE_EQ(View().Scale(), (box.height() - 20) / double(m.SheetHeight));
    EXPECT_EQ(View().CheckedZoomTag(), 2);
    preview->FitPageWidth();
    EXPECT_DOUBLE_EQ(View().Scale(), (box.width() - 20) / double(m.SheetWidth));
    EXPECT_EQ(View().CheckedZoomTag(), 1);
    preview->ShowTwoPages();
    EXPECT_DOUBLE_EQ(View().Scale(), (box.width() - 30) / (2.0 * m.SheetWidth));
    EXPECT_EQ(preview->ShownPages()->RecordAt(1).ViewRect.top, 10);
    EXPECT_EQ(TfrPreviewView::Remembered().LastZoomMode, pzTwoPages);
    EXPECT_DOUBLE_EQ(TfrPreviewView::Remembered().LastScale, 1.0);  // fits leave it

    preview->SetZoomPercent(30);
    EXPECT_EQ(View().CheckedZoomTag(), 0);
    EXPECT_EQ(View().ZoomMode(), pzDefault);
    EXPECT_DOUBLE_EQ(TfrPreviewView::Remembered().LastScale, 0.3);

    // Connecting again opens at the remembered zoom on page 1, unless the report asks for a
    // fit mode.
    preview->GoToPage(3);
    Prepare(5);
    report.ShowPreparedPages();
    EXPECT_DOUBLE_EQ(View().Scale(), 0.3);
    EXPECT_EQ(preview->CurrentPage(), 1);
    EXPECT_EQ(View().VPos(), 0);

    report.InitialZoom = pzOnePage;
    Prepare(5);
    report.ShowPreparedPages();
    EXPECT_EQ(View().ZoomMode(), pzOnePage);
    EXPECT_EQ(TfrPreviewView::Remembered().LastZoomMode, pzOnePage);
}

TEST_F(PreviewTest, TurningPagesRaisesOnPageChangedWithTheLabel) {
    Prepare(5);
    report.ShowPreparedPages();
    preview->ShowWholePage();
    pagesChanged.clear();

    preview->NextPage();
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(Label(), Text("Стр. 2/5"));
    EXPECT_EQ(pagesChanged, QList<int>{2});

    for (int outside : {0, 6, -1}) {
        preview->GoToPage(outside);
        EXPECT_EQ(preview->CurrentPage(), 2) << outside;
    }
    preview->GoToPage(5);
    preview->NextPage();
    EXPECT_EQ(preview->CurrentPage(), 5);
    preview->PreviousPage();
    EXPECT_EQ(preview->CurrentPage(), 4);
    EXPECT_EQ(pagesChanged, (QList<int>{2, 5, 4}));

    // In a row of two, the right-hand page is already in place: it becomes current without
    // a scroll, so neither the label nor OnPageChanged hears of it.
    preview->ShowTwoPages();
    preview->GoToPage(1);
    ASSERT_EQ(preview->CurrentPage(), 1);
    ASSERT_EQ(Label(), Text("Стр. 1/5"));
    pagesChanged.clear();
    preview->GoToPage(2);
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(Label(), Text("Стр. 1/5"));
    EXPECT_TRUE(pagesChanged.isEmpty());
    preview->ShowWholePage();
    preview->GoToPage(4);

    View().PgUp()->click();
    EXPECT_EQ(Label(), Text("Стр. 3/5"));
    View().PgDown()->click();
    EXPECT_EQ(Label(), Text("Стр. 4/5"));
}

TEST_F(PreviewTest, KeysTurnPagesAndScrollWhenTheControlHasFocus) {
    Prepare(5);
    report.ShowPreparedPages();
    preview->ShowWholePage();
    preview->setFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, View().PaintBox());

    struct Press {
        Qt::Key key;
        int page;
    };
    for (const Press& p : {Press{Qt::Key_PageDown, 2}, Press{Qt::Key_End, 5},
                           Press{Qt::Key_PageUp, 4}, Press{Qt::Key_Home, 1}}) {
        QTest::keyClick(focus, p.key);
        EXPECT_EQ(preview->CurrentPage(), p.page) << p.key;
        EXPECT_EQ(Label(), Text("Стр. %1/5").arg(p.page));
    }
    QTest::keyClick(focus, Qt::Key_Down);
    EXPECT_EQ(View().VPos(), 10);
    QTest::keyClick(focus, Qt::Key_Up);
    EXPECT_EQ(View().VPos(), 0);
}

TEST_F(PreviewTest, TheWheelScrollsThirtyPixelsInTheHostWindow) {
    Prepare(5);
    report.ShowPreparedPages();
    EXPECT_EQ(View().WheelFactor(), 3);
    ASSERT_GT(View().VScrollBar()->maximum(), 100);

    Wheel(&host, -120);
    EXPECT_EQ(View().VPos(), 30);
    Wheel(&host, 120);
    EXPECT_EQ(View().VPos(), 0);
    // Over the pages the view takes the wheel itself, so the host does not scroll twice.
    Wheel(&View(), -120);
    EXPECT_EQ(View().VPos(), 30);
    Wheel(&View(), -60);  // half a step waits for the other half
    EXPECT_EQ(View().VPos(), 30);
    Wheel(&View(), -60);
    EXPECT_EQ(View().VPos(), 60);
}

TEST_F(PreviewTest, DraggingPansThePagesAndAPressMakesItsPageCurrent) {
    Prepare(5);
    report.ShowPreparedPages();
    preview->ShowTwoPages();  // pages 1 and 2 side by side
    preview->SetZoomPercent(100);
    const CanvasRect second = preview->ShownPages()->RecordAt(1).ViewRect;
    const QPoint inSecond(second.left + 20, second.top + 20);

    Mouse(QEvent::MouseButtonPress, inSecond, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(View().PaintBox()->Dragging());
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(Label(), Text("Стр. 2/5"));
    Mouse(QEvent::MouseMove, inSecond - QPoint(15, 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(View().HPos(), 15);
    EXPECT_EQ(View().VPos(), 40);
    EXPECT_EQ(View().OriginX(), -15);
    EXPECT_EQ(View().OriginY(), -40);
    Mouse(QEvent::MouseButtonRelease, inSecond - QPoint(15, 40), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(View().PaintBox()->Dragging());
    Mouse(QEvent::MouseMove, inSecond, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(View().VPos(), 40);
    // Scrolling within the row made its first page current; a press without moving takes
    // the second again.
    EXPECT_EQ(preview->CurrentPage(), 1);
    Mouse(QEvent::MouseButtonPress, inSecond, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, inSecond, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(preview->CurrentPage(), 2);

    // A press in the gap between the pages pans but keeps the page.
    const CanvasRect first = preview->ShownPages()->RecordAt(0).ViewRect;
    const QPoint gap(first.right + 5 + View().OriginX(), first.top + 20 + View().OriginY());
    Mouse(QEvent::MouseButtonPress, gap, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(View().PaintBox()->Dragging());
    EXPECT_EQ(View().PaintBox()->PageUnderPointer(), 0);
    EXPECT_EQ(preview->CurrentPage(), 2);
    Mouse(QEvent::MouseButtonRelease, gap, Qt::LeftButton, Qt::NoButton);
}

TEST_F(PreviewTest, AClickOnAnObjectGoesToTheReportInsteadOfPanning) {
    Prepare(1);
    QStringList clicked;
    report.OnObjectClick = [&](TfrView& v) { clicked << v.Memo.join(u'|'); };
    report.ShowPreparedPages();
    preview->SetZoomPercent(100);
    const CanvasRect page = preview->ShownPages()->RecordAt(0).ViewRect;
    // The object at (20, 30) of the sheet; drawing and hit test use the same place.
    const QPoint onObject(page.left + 25, page.top + 35);
    Mouse(QEvent::MouseButtonPress, onObject, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, onObject, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicked, QStringList{Text("Стр. 1")});
    EXPECT_FALSE(View().PaintBox()->Dragging());

    // Hovering: the cursor the report chooses over an object, the default elsewhere.
    report.OnMouseOverObject = [](TfrView&, Qt::CursorShape& cursor) {
        cursor = Qt::PointingHandCursor;
    };
    Mouse(QEvent::MouseMove, onObject, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(View().PaintBox()->cursor().shape(), Qt::PointingHandCursor);
    Mouse(QEvent::MouseMove, QPoint(page.left + 5, page.top + 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(View().PaintBox()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PreviewTest, ADoubleClickTakesThePageAndARightPressOpensTheZoomPopup) {
    Prepare(3);
    report.ShowPreparedPages();
    preview->ShowTwoPages();
    const CanvasRect second = preview->ShownPages()->RecordAt(1).ViewRect;
    const QPoint inSecond(second.left + 5, second.top + 5);
    // A press, then the second click of a double click, which is taken as no press.
    Mouse(QEvent::MouseButtonPress, inSecond, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, inSecond, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, inSecond, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(View().PaintBox()->Dragging());
    EXPECT_EQ(preview->CurrentPage(), 2);
    Mouse(QEvent::MouseButtonRelease, inSecond, Qt::LeftButton, Qt::NoButton);

    Mouse(QEvent::MouseButtonPress, inSecond, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(View().ProcMenu()->isVisible());
    View().ProcMenu()->hide();
    QMenu own;
    own.addAction(QStringLiteral("x"));
    preview->SetPopupMenu(&own);
    Mouse(QEvent::MouseButtonPress, inSecond, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(own.isVisible());
    EXPECT_FALSE(View().ProcMenu()->isVisible());
    own.hide();
}

TEST_F(PreviewTest, PrintAndPageSetupGoThroughTheWiredHandlers) {
    preview->PrintReport();  // nothing wired: nothing happens
    QList<std::pair<QString, TfrPagesView*>> calls;
    preview->OnPrint = [&](TfrPagesView& v) { calls << std::pair(QStringLiteral("print"), &v); };
    preview->OnPageSetup = [&](TfrPagesView& v) {
        calls << std::pair(QStringLiteral("setup"), &v);
    };
    preview->PrintReport();
    preview->SetUpPage();
    TfrPagesView* self = preview;
    EXPECT_EQ(calls, (QList<std::pair<QString, TfrPagesView*>>{{QStringLiteral("print"), self},
                                                               {QStringLiteral("setup"), self}}));
    EXPECT_EQ(preview->DialogOwner(), &host);
}

TEST_F(PreviewTest, TheReportForgetsADestroyedControl) {
    delete std::exchange(preview, nullptr);
    EXPECT_EQ(report.Preview, nullptr);
}

}  // namespace
