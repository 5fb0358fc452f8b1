#include "PaintBox.h"
#include "PreviewFixture.h"
#include "QtPrinting.h"
#include "RecordingCanvas.h"
#include "RectPrinting.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScrollBar>

namespace {

// A view of its own (no control around it) whose paint box is width by height pixels.
class PreviewViewTest : public PreviewFixture {
protected:
    void Show(int width, int height) {
        view.resize(width + 16, height + 18);
        view.show();
        view.SetShownReport(&report);
        view.TakePages();
        view.ResetView(true);
        ASSERT_EQ(view.PaintBox()->size(), QSize(width, height));
    }

    TfrPreparedPage& Page(int i) { return view.ShownPages()->RecordAt(i); }

    // The records of one paint of the view, with the repaint area given.
    std::vector<CanvasRecord> Paint(const CanvasRect& area) {
        RecordingCanvas canvas(view.PaintBox()->size());
        canvas.IntersectClipRect(area);
        view.PaintPages(canvas);
        return canvas.Records();
    }

    static QList<CanvasRect> Rects(const std::vector<CanvasRecord>& records,
                                   CanvasRecord::Kind kind) {
        QList<CanvasRect> rects;
        for (const CanvasRecord& r : records)
            if (r.kind == kind)
                rects << r.rect;
        return rects;
    }

    TfrPreviewView view;
};

TEST_F(PreviewViewTest, PagesWhollyBelowTheBoxAreNotDrawnOthersAreHoweverFarDown) {
    Prepare(3);
    SetSheets(300, 2080);  // pages at y 10, 2100 and 4190
    Show(400, 2400);
    ASSERT_EQ(Page(1).ViewRect, (CanvasRect{50, 2100, 350, 4180}));

    const auto records = Paint({0, 0, 400, 2400});
    EXPECT_TRUE(Page(0).Showing);
    EXPECT_TRUE(Page(1).Showing);
    EXPECT_FALSE(Page(2).Showing);
    EXPECT_TRUE(Page(0).LoadedPage);
    EXPECT_TRUE(Page(1).LoadedPage);
    EXPECT_FALSE(Page(2).LoadedPage);

    // Gray around the page interiors, then white framed pages with their shadows.
    EXPECT_EQ(Rects(records, CanvasRecord::ExcludeClip),
              (QList<CanvasRect>{{51, 11, 349, 2089}, {51, 2101, 349, 4179}}));
    const QList<CanvasRecord> fills = [&] {
        QList<CanvasRecord> list;
        for (const CanvasRecord& r : records)
            if (r.kind == CanvasRecord::FillRect)
                list << r;
        return list;
    }();
    ASSERT_FALSE(fills.isEmpty());
    EXPECT_EQ(fills[0].rect, (CanvasRect{0, 0, 400, 2400}));
    EXPECT_EQ(fills[0].brush.color, 0x808080u);
    EXPECT_EQ(Rects(records, CanvasRecord::Rectangle),
              (QList<CanvasRect>{{50, 10, 350, 2090}, {50, 2100, 350, 4180}}));
    QList<QList<QPoint>> shadows;
    for (const CanvasRecord& r : records)
        if (r.kind == CanvasRecord::Polyline) {
            shadows << r.points;
            EXPECT_EQ(r.pen, (CanvasPen{0, 1, CanvasPen::Solid}));
        }
    EXPECT_EQ(shadows, (QList<QList<QPoint>>{{{51, 2090}, {350, 2090}, {350, 11}},
                                             {{51, 4180}, {350, 4180}, {350, 2101}}}));
    // Each page's object lands at its place on the whole sheet: (20, 30) at 100 %.
    QList<CanvasRect> green;
    for (const CanvasRecord& r : fills)
        if (r.brush.color == kFill)
            green << r.rect;
    EXPECT_EQ(green, (QList<CanvasRect>{{70, 40, 110, 50}, {70, 2130, 110, 2140}}));
}

TEST_F(PreviewViewTest, ThePaintBoxPaintsItselfThroughItsCanvas) {
    Prepare(1);
    SetSheets(100, 150);
    Show(300, 200);  // the page at (100, 10) - (200, 160)
    const QImage image = view.PaintBox()->grab().toImage();
    struct Pixel {
        const char* name;
        QPoint at;
        QRgb color;
    };
    const Pixel pixels[] = {
        {"background", {5, 5}, qRgb(0x80, 0x80, 0x80)},
        {"left border", {100, 80}, qRgb(0, 0, 0)},
        {"inside", {105, 80}, qRgb(0xFF, 0xFF, 0xFF)},
        {"object", {159, 40}, qRgb(0, 0xFF, 0)},
        {"right border", {199, 80}, qRgb(0, 0, 0)},
        {"shadow right", {200, 80}, qRgb(0, 0, 0)},
        {"shadow below", {150, 160}, qRgb(0, 0, 0)},
        {"beside the shadow", {201, 80}, qRgb(0x80, 0x80, 0x80)},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(image.pixel(p.at), p.color) << p.name;
}

// An object reaching past the sheet is cut at the sheet's edge, as paper cuts it.
TEST_F(PreviewViewTest, NothingOfAPageIsDrawnOutsideItsSheet) {
    Prepare(1);
    SetSheets(50, 35);  // the object at (20, 30), 40 by 10, passes the right and bottom edges
    Show(300, 200);
    const CanvasRect r = Page(0).ViewRect.Translated(view.OriginX(), view.OriginY());
    const QImage image = view.PaintBox()->grab().toImage();
    EXPECT_EQ(image.pixel(r.left + 30, r.top + 32), qRgb(0, 0xFF, 0));
    EXPECT_EQ(image.pixel(r.right - 2, r.top + 32), qRgb(0, 0xFF, 0));
    // The frame and shadow stay black; beyond them the grey is untouched.
    EXPECT_EQ(image.pixel(r.right - 1, r.top + 32), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(r.right + 3, r.top + 32), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(r.left + 30, r.bottom + 3), qRgb(0x80, 0x80, 0x80));
}

TEST_F(PreviewViewTest, OnlyPagesMeetingTheRepaintAreaAreDrawnAndTheOthersReleased) {
    Prepare(3);
    SetSheets(300, 2080);
    Show(400, 2400);
    Paint({0, 0, 400, 2400});
    ASSERT_TRUE(Page(1).LoadedPage);

    const auto records = Paint({0, 0, 400, 100});
    EXPECT_TRUE(Page(0).Showing);
    EXPECT_FALSE(Page(1).Showing);
    EXPECT_FALSE(Page(1).LoadedPage);
    EXPECT_EQ(Rects(records, CanvasRecord::Rectangle), (QList<CanvasRect>{{50, 10, 350, 2090}}));

    // Scrolled down, the first page is out of the box and the third comes in.
    view.SetVPos(2090);
    ASSERT_EQ(view.OriginY(), -2090);
    Paint({0, 0, 400, 2400});
    EXPECT_EQ((std::vector<bool>{Page(0).Showing, Page(1).Showing, Page(2).Showing}),
              (std::vector<bool>{false, true, true}));
}

TEST_F(PreviewViewTest, ThePrintableAreaTakesTheObjectsWhenTheSheetIsNotWhole) {
    Prepare(1);
    TfrPreparedPage& page = report.PreparedPages->RecordAt(0);
    page.WholeSheet = false;
    page.Metrics.SheetWidth = 300;
    page.Metrics.SheetHeight = 400;
    page.Metrics.OffsetX = 10;
    page.Metrics.OffsetY = 20;
    page.Metrics.PrintWidth = 200;
    page.Metrics.PrintHeight = 260;
    page.LeftMargin = 20;
    page.TopMargin = 10;
    page.RightMargin = 30;
    page.BottomMargin = 50;  // 150 by 200 inside the margins: half the sheet
    Show(320, 500);          // the page at (10, 10) - (310, 410)

    const auto records = Paint({0, 0, 320, 500});
    QList<CanvasRect> green;
    for (const CanvasRecord& r : records)
        if (r.kind == CanvasRecord::FillRect && r.brush.color == kFill)
            green << r.rect;
    // The target starts at (10 + 30, 10 + 30); the object at half its size and place.
    EXPECT_EQ(green, (QList<CanvasRect>{{50, 55, 70, 60}}));
}

TEST_F(PreviewViewTest, WithoutPagesTheBoxIsButtonFaceAndBeforeAnyLayoutNothing) {
    Prepare(1);
    Show(300, 200);
    EXPECT_TRUE(view.LayoutReady());
    view.ReturnPages();
    EXPECT_EQ(report.PreparedPages->Count(), 1);
    const auto records = Paint({0, 0, 300, 200});
    ASSERT_EQ(records.size(), 3u);  // the test's clip, brush, fill
    EXPECT_EQ(records[2].kind, CanvasRecord::FillRect);
    EXPECT_EQ(records[2].rect, (CanvasRect{0, 0, 300, 200}));
    EXPECT_EQ(records[2].brush.color, SysColor::BtnFace);

    TfrPreviewView fresh;
    RecordingCanvas canvas(QSize(100, 100));
    fresh.PaintPages(canvas);
    EXPECT_TRUE(canvas.Records().empty());
}

TEST_F(PreviewViewTest, TheCurrentPageFollowsScrolling) {
    Prepare(6);
    SetSheets(100, 150);
    // Two columns at 100 %: rows at y 10..160, 170..320, 330..480.
    Show(300, 150);
    ASSERT_EQ(Page(2).ViewRect, (CanvasRect{10, 170, 110, 320}));
    ASSERT_EQ(Page(3).ViewRect, (CanvasRect{120, 170, 220, 320}));

    struct Step {
        const char* name;
        int position;  // the line 11 below it decides
        int page;
    };
    const Step steps[] = {
        {"into the second row: its first page", 160, 3},
        {"into the gap after it: unchanged", 310, 3},
        {"into the third row", 320, 5},
        {"back into the first row", 100, 1},
        {"into the gap after the first row: unchanged", 150, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        view.SetVPos(s.position);
        ASSERT_EQ(view.VPos(), s.position);
        EXPECT_EQ(view.CurrentPage(), s.page);
        EXPECT_EQ(view.PageLabel()->text(), QString::fromUtf8("Стр. %1/6").arg(s.page));
    }
}

TEST_F(PreviewViewTest, KeepingThePositionOverFewerPagesStaysOnTheLastOne) {
    Prepare(4);
    Show(300, 200);
    view.GoToPage(4);
    Prepare(2);
    view.TakePages();
    view.ResetView(false);
    EXPECT_EQ(view.CurrentPage(), 2);
    EXPECT_EQ(view.PageLabel()->text(), QString::fromUtf8("Стр. 2/2"));
}

TEST_F(PreviewViewTest, ZoomPopupEntriesAndTheirChecks) {
    Prepare(2);
    Show(400, 300);
    QStringList captions;
    QList<int> tags;
    for (const QAction* a : view.ProcMenu()->actions()) {
        captions << a->text();
        tags << a->data().toInt();
    }
    EXPECT_EQ(captions.join(u'|'), QString::fromUtf8("200%|150%|100%|75%|50%|25%|10%|"
                                                     "По ширине страницы|Страница целиком|"
                                                     "Две страницы"));
    EXPECT_EQ(tags, (QList<int>{200, 150, 100, 75, 50, 25, 10, 1, 2, 3}));
    EXPECT_EQ(view.CheckedZoomTag(), 100);

    view.ProcMenu()->actions()[8]->trigger();  // whole page
    EXPECT_EQ(view.ZoomMode(), pzOnePage);
    EXPECT_EQ(view.CheckedZoomTag(), 2);
    EXPECT_EQ(TfrPreviewView::Remembered().LastZoomMode, pzOnePage);
    const int sheetHeight = Page(0).Metrics.SheetHeight;
    EXPECT_DOUBLE_EQ(view.Scale(), (300 - 20) / double(sheetHeight));
    EXPECT_DOUBLE_EQ(TfrPreviewView::Remembered().LastScale, view.Scale());

    view.ProcMenu()->actions()[4]->trigger();  // 50%
    EXPECT_EQ(view.ZoomMode(), pzDefault);
    EXPECT_DOUBLE_EQ(view.Scale(), 0.5);
    EXPECT_EQ(view.CheckedZoomTag(), 50);

    view.SetZoomPercent(30);
    EXPECT_EQ(view.CheckedZoomTag(), 0);
    EXPECT_DOUBLE_EQ(TfrPreviewView::Remembered().LastScale, 0.3);
    // 2 % is no fit mode: the whole-page entry stays unchecked.
    view.SetZoomPercent(2);
    EXPECT_EQ(view.CheckedZoomTag(), 0);
}

}  // namespace
