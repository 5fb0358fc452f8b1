#include "EngineErrors.h"
#include "MemoView.h"
#include "Objects.h"
#include "Page.h"
#include "PainterCanvas.h"
#include "PreparedPages.h"
#include "RecordingCanvas.h"
#include "Report.h"
#include "ReportFixture.h"
#include "ScriptedPrinter.h"

#include <gtest/gtest.h>
#include <QBuffer>

namespace {

// The virtual printer's A4 sheet, in page units.
constexpr int kSheetWidth = 758;
constexpr int kSheetHeight = 1071;

class PreparedPagesTest : public ReportFixture {
protected:
    TfrEMFPages& Store() { return *report.PreparedPages; }
    TfrPreparedPage& Record(int index) { return Store().RecordAt(index); }

    // A new prepared page at the end, made from the design page.
    int AddPage() {
        Store().Insert(Store().Count(), design);
        return Store().Count() - 1;
    }

    // Objects written as preparation writes them: marked prepared and printed, or for text
    // objects in the prepared form the text layer writes.
    void PrintLine(int page, const QString& name, QRect r, bool visible = true) {
        TfrLineView line;
        line.Name = name;
        line.PlaceAt(r.x(), r.y(), r.width(), r.height());
        line.Visible = visible;
        line.Prepared = true;
        line.Print(*Record(page).Stream);
    }
    void PrintPicture(int page, const QString& name, QRect r, bool visible = true) {
        TfrPictureView picture;
        picture.Name = name;
        picture.PlaceAt(r.x(), r.y(), r.width(), r.height());
        picture.FillColor = CanvasRgb(255, 0, 0);
        picture.Visible = visible;
        picture.Prepared = true;
        picture.Print(*Record(page).Stream);
    }
    void WriteText(int page, const QString& name, QRect r, const QStringList& lines) {
        TfrMemoView memo;
        memo.Name = name;
        memo.PlaceAt(r.x(), r.y(), r.width(), r.height());
        memo.Prepared = true;
        memo.WorkMemo = lines;
        memo.WriteEntry(*Record(page).Stream);
    }

    // The loaded objects, one line each: class, name, bounds, text.
    static QStringList Describe(const TfrPage& page) {
        QStringList out;
        for (const auto& v : page.Objects()) {
            out.append(QStringLiteral("%1 %2 %3,%4,%5,%6 %7")
                           .arg(v->ClassName(), v->Name)
                           .arg(v->Left)
                           .arg(v->Top)
                           .arg(v->Width)
                           .arg(v->Height)
                           .arg(v->Memo.join(u'|')));
        }
        return out;
    }

    QList<int> LoadedPages() {
        QList<int> loaded;
        for (int i = 0; i < Store().Count(); ++i) {
            if (Record(i).LoadedPage)
                loaded.append(i);
        }
        return loaded;
    }

    static QList<QList<QPoint>> Lines(const RecordingCanvas& canvas) {
        QList<QList<QPoint>> lines;
        for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::LineTo))
            lines.append(r.points);
        return lines;
    }

    TfrReport report;
    TfrPage& design{report.Pages.Add()};
    const CanvasRect sheet{0, 0, kSheetWidth, kSheetHeight};
};

TEST_F(PreparedPagesTest, ARecordCopiesItsDesignPage) {
    // Orientation written directly: landscape with the portrait paper and metrics.
    design.Orientation = poLandscape;
    design.PaperKind = 0x10009;
    design.WholeSheet = false;
    design.LeftMargin = 1;
    design.TopMargin = 2;
    design.RightMargin = 3;
    design.BottomMargin = 4;
    frEngineState().StreamVersion = 23;

    TfrPreparedPage& r = Store().Insert(0, design);
    EXPECT_EQ(r.PaperKind, 9);
    EXPECT_EQ(r.Orientation, poLandscape);
    EXPECT_EQ(r.PaperX, 2100);
    EXPECT_EQ(r.PaperY, 2970);
    EXPECT_EQ(r.PaperSource, 65535);
    EXPECT_FALSE(r.WholeSheet);
    EXPECT_EQ((QList<int>{r.LeftMargin, r.TopMargin, r.RightMargin, r.BottomMargin}),
              (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(r.Metrics, design.Metrics);
    EXPECT_EQ(r.Metrics.SheetWidth, kSheetWidth);
    EXPECT_FALSE(r.Showing);
    EXPECT_EQ(r.LoadedPage, nullptr);
    EXPECT_EQ(r.Stream->data(), QByteArray(1, char(24)));
    EXPECT_EQ(frEngineState().StreamVersion, 24);

    // Copies: later changes of the design page do not reach the record.
    const TfrPageMetrics metrics = r.Metrics;
    design.PaperX = 1;
    design.LeftMargin = 99;
    design.Metrics.SheetWidth = 5;
    EXPECT_EQ(r.PaperX, 2100);
    EXPECT_EQ(r.LeftMargin, 1);
    EXPECT_EQ(r.Metrics, metrics);
}

TEST_F(PreparedPagesTest, InsertAppendsAtOrPastCountAndIndexesAreChecked) {
    auto marked = [&](int margin) -> const TfrPage& {
        design.LeftMargin = margin;
        return design;
    };
    Store().Insert(0, marked(1));  // into an empty store
    Store().Insert(1, marked(2));  // at Count
    Store().Insert(7, marked(3));  // past Count
    Store().Insert(0, marked(4));  // in front
    Store().Insert(2, marked(5));  // in the middle
    auto margins = [&] {
        QList<int> out;
        for (int i = 0; i < Store().Count(); ++i)
            out.append(Record(i).LeftMargin);
        return out;
    };
    EXPECT_EQ(margins(), (QList<int>{4, 1, 5, 2, 3}));

    EXPECT_THROW(Store().Insert(-1, design), EListError);
    EXPECT_THROW(Store().RecordAt(5), EListError);
    EXPECT_THROW(Store().RecordAt(-1), EListError);
    EXPECT_THROW(Store().Delete(5), EListError);
    EXPECT_THROW(Store().LoadPage(5), EListError);
    EXPECT_EQ(Store().Count(), 5);

    Store().Delete(1);
    EXPECT_EQ(margins(), (QList<int>{4, 5, 2, 3}));
    Store().ClearAll();
    EXPECT_EQ(Store().Count(), 0);
}

TEST_F(PreparedPagesTest, AddRaisesOnBeginPageOnTheCurrentAndTheMainReport) {
    TfrReport member;
    QStringList raised;
    report.OnBeginPage = [&](int pgNo) { raised.append(QStringLiteral("main %1").arg(pgNo)); };
    member.OnBeginPage = [&](int pgNo) { raised.append(QStringLiteral("member %1").arg(pgNo)); };
    TfrEngineState& state = frEngineState();
    state.PreparedPageIndex = 3;

    state.CurrentReport = state.MainReport = &report;
    Store().Add(design);
    EXPECT_EQ(raised, QStringList{QStringLiteral("main 3")});

    raised.clear();
    state.CurrentReport = &member;
    Store().Add(design);
    EXPECT_EQ(raised, (QStringList{QStringLiteral("member 3"), QStringLiteral("main 3")}));

    // Without handlers the page is still added.
    report.OnBeginPage = nullptr;
    member.OnBeginPage = nullptr;
    Store().Add(design);
    EXPECT_EQ(Store().Count(), 3);
}

TEST_F(PreparedPagesTest, ThePageStreamHoldsVisibleObjectsInPrintOrder) {
    const int page = AddPage();
    PrintLine(page, QStringLiteral("Hidden"), {1, 2, 3, 4}, false);
    PrintLine(page, QStringLiteral("Line"), {10, 20, 30, 0});
    PrintPicture(page, QStringLiteral("HiddenPicture"), {5, 5, 5, 5}, false);

    Bytes expected;
    expected.u8(24);
    expected.u8(frTypeLine).str(QStringLiteral("Line")).u8(2).u8(0).i32(10).i32(20).i32(30).i32(0);
    expected.u16(0).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    expected.list({}).u16(0).str(QString()).i32(2).i32(1).u8(0);
    EXPECT_EQ(Record(page).Stream->data().toHex(' '), expected.data.toHex(' '));

    WriteText(page, QStringLiteral("Memo1"), {40, 50, 60, 70}, {QStringLiteral("Итого: 14 руб.")});
    Store().LoadPage(page);
    EXPECT_EQ(Describe(*Record(page).LoadedPage),
              (QStringList{QStringLiteral("TfrLineView Line 10,20,30,0 "),
                           QStringLiteral("TfrMemoView Memo1 40,50,60,70 Итого: 14 руб.")}));
}

TEST_F(PreparedPagesTest, LoadPageRebuildsThePaperAndTheObjects) {
    design.WholeSheet = false;
    design.TopMargin = 7;
    design.Orientation = poLandscape;
    const int page = AddPage();
    PrintLine(page, QStringLiteral("A"), {1, 2, 3, 4});
    frEngineState().StreamVersion = 23;

    Store().LoadPage(page);
    const TfrPage& loaded = *Record(page).LoadedPage;
    EXPECT_EQ(frEngineState().CurrentDesignPage, &loaded);
    EXPECT_EQ(frEngineState().StreamVersion, 24);
    EXPECT_FALSE(loaded.WholeSheet);
    EXPECT_EQ(loaded.TopMargin, 7);
    EXPECT_EQ(loaded.Orientation, poLandscape);
    EXPECT_FALSE(loaded.ObjectAt(0).Prepared);

    // Preparation goes on appending after a load; a second load replaces the loaded page.
    PrintLine(page, QStringLiteral("B"), {5, 6, 7, 8});
    Store().LoadPage(page);
    EXPECT_EQ(Describe(*Record(page).LoadedPage),
              (QStringList{QStringLiteral("TfrLineView A 1,2,3,4 "),
                           QStringLiteral("TfrLineView B 5,6,7,8 ")}));
}

TEST_F(PreparedPagesTest, AStreamThatCannotBeReadLeavesNoLoadedPage) {
    const int page = AddPage();
    PrintLine(page, QStringLiteral("Line"), {1, 2, 3, 4});
    const QByteArray good = Record(page).Stream->data();
    struct Case {
        const char* name;
        QByteArray tail;
    };
    const Case cases[] = {
        {"an add-in class that is not registered",
         Bytes().u8(10).str(QStringLiteral("TfrChart")).data},
        {"a type that names no class", Bytes().u8(7).data},
        {"an entry cut short", good.mid(1, good.size() - 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QBuffer& stream = *Record(page).Stream;
        stream.buffer() = good;
        Store().LoadPage(page);  // a loaded page that the failing load must free
        ASSERT_NE(Record(page).LoadedPage, nullptr);
        stream.buffer() = good + c.tail;
        EXPECT_THROW(Store().LoadPage(page), Failure);
        EXPECT_EQ(Record(page).LoadedPage, nullptr);
        EXPECT_EQ(frEngineState().CurrentDesignPage, nullptr);
        EXPECT_EQ(stream.pos(), stream.size());
    }
}

TEST_F(PreparedPagesTest, StorePageWritesTheLoadedObjectsBack) {
    const int page = AddPage();
    PrintLine(page, QStringLiteral("Line"), {10, 20, 30, 40});
    WriteText(page, QStringLiteral("Memo1"), {1, 1, 50, 20}, {QStringLiteral("a")});

    Store().LoadPage(page);
    TfrPage& loaded = *Record(page).LoadedPage;
    loaded.ObjectAt(0).Left = 111;
    loaded.ObjectAt(1).Memo = QStringList{QStringLiteral("b"), QStringLiteral("в")};
    Store().StorePage(page);
    EXPECT_EQ(Record(page).Stream->data().at(0), char(24));

    Store().LoadPage(page);
    EXPECT_EQ(Describe(*Record(page).LoadedPage),
              (QStringList{QStringLiteral("TfrLineView Line 111,20,30,40 "),
                           QStringLiteral("TfrMemoView Memo1 1,1,50,20 b|в")}));

    // Without a loaded page there is nothing to write and the stream stays.
    const QByteArray bytes = Record(page).Stream->data();
    Record(page).LoadedPage.reset();
    Store().StorePage(page);
    EXPECT_EQ(Record(page).Stream->data(), bytes);
}

TEST_F(PreparedPagesTest, DrawingIntoTwiceTheSheetSizeDoublesEveryCoordinate) {
    const int first = AddPage();
    const int second = AddPage();
    PrintLine(first, QStringLiteral("Elsewhere"), {1, 1, 300, 300});
    PrintPicture(second, QStringLiteral("Picture"), {100, 200, 50, 30});
    PrintLine(second, QStringLiteral("Line"), {40, 60, 100, 20});
    Record(second).Showing = true;

    RecordingCanvas canvas(QSize(1600, 2200));
    const CanvasRect target{5, 7, 5 + 2 * kSheetWidth, 7 + 2 * kSheetHeight};
    frEngineState().PrintingState = false;
    Store().DrawPage(second, canvas, target);

    const auto fills = canvas.RecordsOf(CanvasRecord::FillRect);
    ASSERT_EQ(fills.size(), 1);
    EXPECT_EQ(fills[0].rect, CanvasRect({205, 407, 305, 467}));
    EXPECT_EQ(Lines(canvas), (QList<QList<QPoint>>{{{85, 127}, {285, 167}}}));
    EXPECT_TRUE(frEngineState().PrintingState);
    EXPECT_EQ(LoadedPages(), QList<int>{second});
    // The objects go back to their page units after drawing.
    EXPECT_EQ(Record(second).LoadedPage->ObjectAt(1).Left, 40);

    // Factors that are not whole numbers: 1137 / 758 = 1.5 and 1606 / 1071.
    canvas.ClearRecords();
    Store().DrawPage(second, canvas, {0, 0, 1137, 1606});
    EXPECT_EQ(Lines(canvas), (QList<QList<QPoint>>{{{60, 90}, {210, 120}}}));
}

TEST_F(PreparedPagesTest, ShowingClearReleasesAndShowingSetReloadsTheSameObjects) {
    const int page = AddPage();
    PrintLine(page, QStringLiteral("Line"), {40, 60, 100, 20});
    WriteText(page, QStringLiteral("Memo1"), {10, 10, 200, 30}, {QStringLiteral("Итого: 14 руб.")});
    PrintPicture(page, QStringLiteral("Picture"), {100, 200, 50, 30});
    RecordingCanvas canvas(QSize(800, 1100));

    Record(page).Showing = true;
    Store().DrawPage(page, canvas, sheet);
    ASSERT_NE(Record(page).LoadedPage, nullptr);
    const QStringList objects = Describe(*Record(page).LoadedPage);
    const auto lines = Lines(canvas);
    ASSERT_EQ(lines.size(), 1);

    Record(page).Showing = false;
    canvas.ClearRecords();
    Store().DrawPage(page, canvas, sheet);
    EXPECT_EQ(Record(page).LoadedPage, nullptr);
    EXPECT_TRUE(canvas.Records().empty());

    Record(page).Showing = true;
    Store().DrawPage(page, canvas, sheet);
    ASSERT_NE(Record(page).LoadedPage, nullptr);
    EXPECT_EQ(Describe(*Record(page).LoadedPage), objects);
    EXPECT_EQ(Lines(canvas), lines);
}

TEST_F(PreparedPagesTest, DrawingOnePageLoadsThatPageAlone) {
    for (int i = 0; i < 4; ++i)
        PrintLine(AddPage(), QStringLiteral("Line%1").arg(i), {10, 10, 10, 10});
    RecordingCanvas canvas(QSize(800, 1100));
    // As a preview repaints: every page is drawn, only those on screen are showing.
    auto repaint = [&](QList<int> onScreen) {
        for (int i = 0; i < Store().Count(); ++i) {
            Record(i).Showing = onScreen.contains(i);
            Store().DrawPage(i, canvas, sheet);
        }
    };
    repaint({1});
    EXPECT_EQ(LoadedPages(), QList<int>{1});
    repaint({2, 3});
    EXPECT_EQ(LoadedPages(), (QList<int>{2, 3}));
    repaint({});
    EXPECT_TRUE(LoadedPages().isEmpty());
}

TEST_F(PreparedPagesTest, OnScreenObjectsOutsideTheVisibleRegionAreSkipped) {
    struct Case {
        const char* name;
        QRect bounds;
        bool drawn;
    };
    // The visible region covers 100..199 in both directions; the box is widened by 10.
    const Case cases[] = {
        {"inside", {150, 150, 10, 10}, true},
        {"9 right of the region", {209, 150, 10, 10}, true},
        {"10 right of the region", {210, 150, 10, 10}, false},
        {"9 above the region", {150, 81, 10, 10}, true},
        {"10 above the region", {150, 80, 10, 10}, false},
    };
    const int page = AddPage();
    for (const Case& c : cases)
        PrintLine(page, QString::fromLatin1(c.name), c.bounds);
    Record(page).Showing = true;

    ImageCanvas screen(QSize(400, 400));
    screen.IntersectClipRect({100, 100, 200, 200});
    Store().DrawPage(page, screen, sheet);
    RecordingCanvas recording(QSize(400, 400));
    recording.IntersectClipRect({100, 100, 200, 200});
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(Record(page).LoadedPage->ObjectAt(i).DrawCanvas == &screen, cases[i].drawn);
    }

    // A recording canvas gets everything.
    Store().DrawPage(page, recording, sheet);
    EXPECT_EQ(recording.RecordsOf(CanvasRecord::LineTo).size(), qsizetype(std::size(cases)));
}

TEST_F(PreparedPagesTest, ThePrintersCanvasGetsEveryObjectForThePrinter) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->Current = 0;
    ScriptedPrinter* printer = system.get();
    Restart(std::move(system));
    TfrReport printed;
    TfrEMFPages& store = *printed.PreparedPages;
    store.Insert(0, printed.Pages.Add());
    TfrLineView line;
    line.PlaceAt(5000, 5000, 10, 10);  // far off the sheet
    line.Prepared = true;
    line.Print(*store.RecordAt(0).Stream);
    store.RecordAt(0).Showing = true;

    ImageCanvas screen(QSize(100, 100));
    store.DrawPage(0, screen, {0, 0, kSheetWidth, kSheetHeight});
    EXPECT_EQ(store.RecordAt(0).LoadedPage->ObjectAt(0).DrawCanvas, nullptr);

    printer->BeginDoc();
    Canvas& page = *printer->PageCanvas();
    store.DrawPage(0, page, {0, 0, kSheetWidth, kSheetHeight});
    const TfrView& drawn = store.RecordAt(0).LoadedPage->ObjectAt(0);
    EXPECT_EQ(drawn.DrawCanvas, &page);
    EXPECT_TRUE(drawn.ToPrinter);

    // Another canvas while the job runs is not the printer.
    RecordingCanvas other(QSize(100, 100));
    store.DrawPage(0, other, {0, 0, kSheetWidth, kSheetHeight});
    EXPECT_FALSE(store.RecordAt(0).LoadedPage->ObjectAt(0).ToPrinter);
    printer->EndDoc();
}

TEST_F(PreparedPagesTest, ObjectAtPointReportsTheLaterOfOverlappingObjects) {
    const int page = AddPage();
    PrintPicture(page, QStringLiteral("Under"), {100, 100, 50, 50});
    PrintPicture(page, QStringLiteral("Over"), {120, 120, 50, 50});
    QString clicked;
    QString hovered;
    report.OnObjectClick = [&](TfrView& view) { clicked = view.Name; };
    report.OnMouseOverObject = [&](TfrView& view, Qt::CursorShape& cursor) {
        hovered = view.Name;
        cursor = Qt::PointingHandCursor;
    };

    struct Case {
        const char* name;
        QPoint point;
        const char* hit;
    };
    const Case wholeSheet[] = {
        {"both", {130, 130}, "Over"},
        {"lower only", {110, 110}, "Under"},
        {"upper only", {160, 160}, "Over"},
        {"top-left corner", {120, 120}, "Over"},
        {"right edge is outside", {150, 110}, ""},
        {"neither", {99, 99}, ""},
    };
    for (const Case& c : wholeSheet) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        Qt::CursorShape cursor = Qt::ArrowCursor;
        EXPECT_EQ(Store().ObjectAtPoint(page, c.point, true, cursor), *c.hit != 0);
        EXPECT_EQ(clicked, QString::fromLatin1(c.hit));
    }

    // Scaled into the printable area inside the margins: kx = 682 / 758, ky = 975 / 1071,
    // offsets 10 + 18 and 20 + 18. "Over" covers 136..180 by 147..192, "Under" 118..162 by
    // 129..174.
    Record(page).WholeSheet = false;
    Record(page).LeftMargin = 10;
    Record(page).TopMargin = 20;
    Record(page).RightMargin = 30;
    Record(page).BottomMargin = 40;
    const Case scaled[] = {
        {"corner of the upper", {136, 147}, "Over"},
        {"left of the upper", {135, 148}, "Under"},
        {"last pixel of the upper", {180, 192}, "Over"},
        {"past the upper", {181, 150}, ""},
    };
    for (const Case& c : scaled) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        Qt::CursorShape cursor = Qt::ArrowCursor;
        EXPECT_EQ(Store().ObjectAtPoint(page, c.point, true, cursor), *c.hit != 0);
        EXPECT_EQ(clicked, QString::fromLatin1(c.hit));
    }

    // Not a click: the mouse-over handler, which may change the cursor.
    clicked.clear();
    Qt::CursorShape cursor = Qt::ArrowCursor;
    EXPECT_TRUE(Store().ObjectAtPoint(page, {150, 160}, false, cursor));
    EXPECT_EQ(hovered, QStringLiteral("Over"));
    EXPECT_EQ(cursor, Qt::PointingHandCursor);
    EXPECT_TRUE(clicked.isEmpty());

    // A hit without a handler is not handled.
    report.OnObjectClick = nullptr;
    report.OnMouseOverObject = nullptr;
    EXPECT_FALSE(Store().ObjectAtPoint(page, {150, 160}, true, cursor));
    EXPECT_FALSE(Store().ObjectAtPoint(page, {150, 160}, false, cursor));
}

TEST_F(PreparedPagesTest, TheReportOwnsItsStoreAndCanHandItOver) {
    PrintLine(AddPage(), QStringLiteral("Line"), {1, 1, 5, 5});
    TfrEMFPages* before = report.PreparedPages.get();
    std::unique_ptr<TfrEMFPages> taken = report.TakePreparedPages();
    EXPECT_EQ(taken.get(), before);
    ASSERT_NE(report.PreparedPages, nullptr);
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    EXPECT_EQ(taken->Report(), &report);

    report.ReturnPreparedPages(std::move(taken));
    EXPECT_EQ(report.PreparedPages.get(), before);
    report.ReturnPreparedPages(nullptr);
    ASSERT_NE(report.PreparedPages, nullptr);
    EXPECT_EQ(report.PreparedPages->Count(), 0);

    // A store that outlives its report raises no events and still draws.
    auto gone = std::make_unique<TfrReport>();
    gone->OnObjectClick = [](TfrView&) { FAIL() << "the report is gone"; };
    std::unique_ptr<TfrEMFPages> kept = gone->TakePreparedPages();
    kept->Insert(0, design);
    TfrPictureView picture;
    picture.PlaceAt(0, 0, 100, 100);
    picture.FillColor = 0;
    picture.Prepared = true;
    picture.Print(*kept->RecordAt(0).Stream);
    gone.reset();
    EXPECT_EQ(kept->Report(), nullptr);
    Qt::CursorShape cursor = Qt::ArrowCursor;
    EXPECT_FALSE(kept->ObjectAtPoint(0, {5, 5}, true, cursor));
    kept->RecordAt(0).Showing = true;
    RecordingCanvas canvas(QSize(100, 100));
    kept->DrawPage(0, canvas, sheet);
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::FillRect).size(), 1);
}

}  // namespace
