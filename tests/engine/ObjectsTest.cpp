#include "EngineErrors.h"
#include "MemoView.h"
#include "Objects.h"
#include "Page.h"
#include "QtPrinting.h"
#include "RecordingCanvas.h"
#include "Report.h"
#include "ReportFixture.h"
#include "StreamIO.h"
#include "Variant.h"
#include "Variants.h"

#include <gtest/gtest.h>
#include <QLocale>

namespace {

using ObjectsTest = ReportFixture;

QStringList Names(const std::vector<TfrPropRec>& props) {
    QStringList names;
    for (const TfrPropRec& p : props)
        names.append(p.PropName);
    return names;
}

TEST_F(ObjectsTest, NewTextObject) {
    TfrMemoView memo;
    EXPECT_EQ(memo.ObjectType, frTypeText);
    EXPECT_EQ(memo.BaseName, QStringLiteral("Memo"));
    EXPECT_EQ(memo.Flags, frFlagStretched | frFlagWordWrap);
    EXPECT_EQ(memo.Font.face, QStringLiteral("Arial"));
    EXPECT_EQ(memo.Font.size, 10);
    EXPECT_EQ(memo.Font.style, 0);
    EXPECT_EQ(memo.Font.color, clBlack);
    EXPECT_EQ(memo.Font.charset, 204);
    EXPECT_EQ(memo.FrameWidth, 1.0f);
    EXPECT_EQ(memo.FrameTyp, frftNone);
    EXPECT_EQ(memo.FillColor, clTransparent);
    EXPECT_EQ(memo.GapX, 2);
    EXPECT_EQ(memo.GapY, 1);
    EXPECT_EQ(memo.LineSpacing, 2);
    EXPECT_EQ(memo.CharSpacing, 0);
    EXPECT_EQ(memo.Alignment, frtaLeft);
    EXPECT_EQ(memo.Highlight, TfrHighlightAttr({fsBold, clBlack, 0xFFFFFF}));
    EXPECT_EQ(memo.DisplayFormat, u',' + 512);  // the Russian decimal separator
    EXPECT_TRUE(memo.Visible);
    EXPECT_FALSE(memo.Prepared);
    EXPECT_EQ(memo.Serial, 0);
    EXPECT_EQ(memo.FactorX, 1.0);
    EXPECT_EQ(memo.Name, QString());
}

TEST_F(ObjectsTest, FontByName) {
    TfrMemoView memo;
    memo.SetProperty(QStringLiteral("Font.Style"), 6);
    EXPECT_EQ(memo.Font.style, CanvasFont::Bold | CanvasFont::Underline);
    EXPECT_EQ(memo.GetProperty(QStringLiteral("Font.Style")), 6);

    memo.SetProperty(QStringLiteral("Font.Style"), 1);
    EXPECT_EQ(memo.Font.style, CanvasFont::Italic);
    EXPECT_EQ(memo.GetProperty(QStringLiteral("FONT.STYLE")), 1);

    memo.SetProperty(QStringLiteral("font.size"), 14);
    EXPECT_EQ(memo.Font.size, 14);
    memo.SetProperty(QStringLiteral("Font.Name"), QStringLiteral("Times New Roman"));
    EXPECT_EQ(memo.GetProperty(QStringLiteral("font.name")), QStringLiteral("Times New Roman"));
}

TEST_F(ObjectsTest, TextObjectPropertiesByName) {
    TfrMemoView memo;
    memo.PlaceAt(36, 91, 362, 36);
    memo.Memo = QStringList({QStringLiteral("Иванов"), QStringLiteral("Пётр")});
    struct Case {
        const char* name;
        QVariant expected;
    };
    const Case cases[] = {
        {"Left", 36},  // the view's answer is kept
        {"height", 36},
        {"Font.Name", QStringLiteral("Arial")},
        {"WordWrap", true},
        {"Stretched", true},
        {"AutoWidth", false},
        {"Memo", QStringLiteral("Иванов\r\nПётр\r\n")},
        {"DataField", QStringLiteral("Иванов")},
        {"Memo.Count", 2},
        {"Lines.Count", 2},
        {"FrameWidth", 1.0},
        {"FillColor", 0x1FFFFFFF},
        {"Visible", true},
        {"LineSpacing", 2},
        {"NoSuchProperty", QVariant()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(memo.GetProperty(QString::fromLatin1(c.name)), c.expected);
    }
}

TEST_F(ObjectsTest, SettingByName) {
    TfrMemoView memo;
    memo.SetProperty(QStringLiteral("Stretched"), false);
    memo.SetProperty(QStringLiteral("Suppress"), true);
    EXPECT_EQ(memo.Flags, frFlagWordWrap | frFlagSuppress);
    memo.SetProperty(QStringLiteral("Memo"), QStringLiteral("один\r\nдва\nтри\r"));
    EXPECT_EQ(memo.Memo,
              QStringList({QStringLiteral("один"), QStringLiteral("два"), QStringLiteral("три")}));
    memo.SetProperty(QStringLiteral("DataField"), QStringLiteral("[Поле]"));
    EXPECT_EQ(memo.Memo, QStringList({QStringLiteral("[Поле]")}));
    memo.SetProperty(QStringLiteral("Left"), QStringLiteral("12"));
    EXPECT_EQ(memo.Left, 12);
    memo.SetProperty(QStringLiteral("Top"), 2.5);
    EXPECT_EQ(memo.Top, 2);  // halves to even
    memo.SetProperty(QStringLiteral("FrameWidth"), QStringLiteral("0,5"));
    EXPECT_EQ(memo.FrameWidth, 0.5f);

    // An unknown name changes nothing.
    auto bytes = [&] { return Written([&](QIODevice& s) { memo.WriteToStream(s); }); };
    const QByteArray before = bytes();
    memo.SetProperty(QStringLiteral("NoSuchProperty"), 5);
    EXPECT_EQ(bytes(), before);

    try {
        memo.SetProperty(QStringLiteral("Width"), QStringLiteral("широко"));
        ADD_FAILURE() << "no conversion error";
    } catch (const EVariantError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid variant type conversion"));
    }
    EXPECT_THROW(memo.SetProperty(QStringLiteral("Font.Size"), frNull()), EVariantError);
}

// Names match whatever their case, in Latin and Cyrillic, by the engine's conventions: the
// system's default locale changes neither names nor values.
TEST_F(ObjectsTest, NamesIgnoreCase) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("font.size"), QStringLiteral("FONT.SIZE")},
        {QStringLiteral("Поле.ширина"), QStringLiteral("ПОЛЕ.ШИРИНА")},
        {QStringLiteral("Ёлка_1 z"), QStringLiteral("ЁЛКА_1 Z")},
        {QString(), QString()},
    };
    for (const auto& [name, upper] : cases)
        EXPECT_EQ(frUpper(name), upper) << name.toStdString();
    TfrMemoView memo;
    memo.SetProperty(QStringLiteral("font.size"), 14);
    EXPECT_EQ(memo.Font.size, 14);

    const QLocale before;
    for (const QLocale& system : {QLocale(QLocale::Turkish, QLocale::Turkey), QLocale::c()}) {
        QLocale::setDefault(system);
        EXPECT_EQ(frUpper(QStringLiteral("i")), QStringLiteral("I"));
        memo.SetProperty(QStringLiteral("Memo"), 1.5);
        EXPECT_EQ(memo.Memo, QStringList{QStringLiteral("1,5")});
        memo.SetProperty(QStringLiteral("Font.Size"), QStringLiteral("12,5"));
        EXPECT_EQ(memo.Font.size, 12);
    }
    QLocale::setDefault(before);
}

TEST_F(ObjectsTest, ScriptMethods) {
    TfrMemoView memo;
    const QVariant none;
    // Until the evaluator is installed the argument is taken as the text it is.
    memo.CallMethod(QStringLiteral("MEMO.ADD"), QStringLiteral("[1 + 2]"), none, none);
    memo.CallMethod(QStringLiteral("LINES.ADD"), QStringLiteral("второй"), none, none);
    EXPECT_EQ(memo.Memo, QStringList({QStringLiteral("[1 + 2]"), QStringLiteral("второй")}));

    EXPECT_EQ(
        memo.CallMethod(QStringLiteral("LINES.INDEXOF"), QStringLiteral("ВТОРОЙ"), none, none), 1);
    EXPECT_EQ(memo.CallMethod(QStringLiteral("MEMO.INDEXOF"), QStringLiteral("нет"), none, none),
              -1);
    memo.CallMethod(QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), 0,
                    QStringLiteral("первый"));
    EXPECT_EQ(memo.CallMethod(QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("LINES"), 0, none),
              QStringLiteral("первый"));
    memo.CallMethod(QStringLiteral("MEMO.DELETE"), 0, none, none);
    EXPECT_EQ(memo.Memo, QStringList({QStringLiteral("второй")}));
    EXPECT_THROW(memo.CallMethod(QStringLiteral("LINES.DELETE"), 3, none, none), EListError);
    memo.CallMethod(QStringLiteral("LINES.CLEAR"), none, none, none);
    EXPECT_TRUE(memo.Memo.isEmpty());

    memo.CallMethod(QStringLiteral("HIDE"), none, none, none);
    EXPECT_FALSE(memo.Visible);
    memo.CallMethod(QStringLiteral("SHOW"), none, none, none);
    EXPECT_TRUE(memo.Visible);
    EXPECT_EQ(memo.CallMethod(QStringLiteral("FLY"), none, none, none), QVariant());

    // A picture knows the MEMO names only.
    TfrPictureView picture;
    picture.CallMethod(QStringLiteral("LINES.ADD"), QStringLiteral("x"), none, none);
    EXPECT_TRUE(picture.Memo.isEmpty());
}

TEST_F(ObjectsTest, Factory) {
    struct Case {
        int type;
        const char* className;
    };
    const Case cases[] = {{0, "TfrMemoView"},
                          {1, "TfrPictureView"},
                          {2, "TfrBandView"},
                          {3, "TfrSubReportView"},
                          {4, "TfrLineView"}};
    qint32 serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const auto view = frCreateObject(c.type, QString());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->ObjectType, c.type);
        EXPECT_EQ(view->ClassName(), QString::fromLatin1(c.className));
        EXPECT_GT(view->Serial, serial);
        serial = view->Serial;
    }
    for (int type = 5; type <= 9; ++type)
        EXPECT_EQ(frCreateObject(type, QString()), nullptr) << type;
}

class ChartView : public TfrPictureView {
public:
    QString ClassName() const override { return QStringLiteral("TfrChartView"); }
};

TEST_F(ObjectsTest, AddInClasses) {
    frRegisterObject(QStringLiteral("TfrChartView"), [] { return std::make_unique<ChartView>(); });
    const auto chart = frCreateObject(frTypeAddIn, QStringLiteral("TfrChartView"));
    frUnregisterObject(QStringLiteral("TfrChartView"));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->ObjectType, frTypeAddIn);
    EXPECT_EQ(chart->ClassName(), QStringLiteral("TfrChartView"));

    // Unknown names pile up in the error text; the match is exact.
    EXPECT_THROW(frCreateObject(frTypeAddIn, QStringLiteral("TfrChartView")), EClassNotFound);
    try {
        frCreateObject(frTypeAddIn, QStringLiteral("tfrmemoview"));
        ADD_FAILURE() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TfrChartView\rtfrmemoview\r"));
    }
    EXPECT_TRUE(frEngineState().ErrorFlag);
}

TEST_F(ObjectsTest, PropertyLists) {
    TfrMemoView memo;
    const QStringList view = {
        QStringLiteral("Name"),       QStringLiteral("Left"),        QStringLiteral("Top"),
        QStringLiteral("Width"),      QStringLiteral("Height"),      QStringLiteral("Flags"),
        QStringLiteral("FrameTyp"),   QStringLiteral("FrameWidth"),  QStringLiteral("FrameColor"),
        QStringLiteral("FrameStyle"), QStringLiteral("FillColor"),   QStringLiteral("Tag"),
        QStringLiteral("BandAlign"),  QStringLiteral("Visible"),     QStringLiteral("Memo"),
        QStringLiteral("Memo.Count"), QStringLiteral("Restrictions")};
    const QStringList text = {QStringLiteral("Font.Name"),     QStringLiteral("Font.Size"),
                              QStringLiteral("Font.Style"),    QStringLiteral("Font.Color"),
                              QStringLiteral("Font"),          QStringLiteral("Alignment"),
                              QStringLiteral("DisplayFormat"), QStringLiteral("Highlight"),
                              QStringLiteral("LineSpacing"),   QStringLiteral("CharSpacing"),
                              QStringLiteral("GapX"),          QStringLiteral("GapY"),
                              QStringLiteral("Stretched"),     QStringLiteral("WordWrap"),
                              QStringLiteral("WordBreak"),     QStringLiteral("AutoWidth"),
                              QStringLiteral("TextOnly"),      QStringLiteral("Suppress"),
                              QStringLiteral("HideZeros"),     QStringLiteral("Lines.Count"),
                              QStringLiteral("Underlines"),    QStringLiteral("RTLReading")};
    EXPECT_TRUE(memo.Properties().empty());
    EXPECT_EQ(Names(memo.PropertyList()), view + text);
    memo.ListProperties();
    EXPECT_EQ(Names(memo.Properties()), view + text);  // listed again, not appended

    const TfrPropRec* style = memo.FindProperty(QStringLiteral("framestyle"));
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->Enum,
              QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble").split(u';'));
    EXPECT_EQ(style->EnumValues, QVariantList({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(memo.FindProperty(QStringLiteral("Nothing")), nullptr);

    TfrBandView band;
    EXPECT_EQ(
        Names(band.PropertyList()),
        QStringList({QStringLiteral("Name"), QStringLiteral("Left"), QStringLiteral("Top"),
                     QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("Flags"),
                     QStringLiteral("Visible"), QStringLiteral("Memo"),
                     QStringLiteral("Memo.Count"), QStringLiteral("Restrictions")}));
}

TEST_F(ObjectsTest, PagePropertyLists) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    EXPECT_EQ(Names(page.PropertyList()),
              QStringLiteral("Type Visible Size Width Height LeftMargin TopMargin RightMargin "
                             "BottomMargin Orientation PrintToPrevPage StretchToPrintable Columns "
                             "ColumnWidth ColumnGap OnBeforePrint")
                  .split(u' '));
    // The virtual printer's papers with their codes.
    const TfrPropRec* size = page.FindProperty(QStringLiteral("Size"));
    ASSERT_NE(size, nullptr);
    ASSERT_EQ(size->EnumValues.size(), frPaperCount);
    EXPECT_EQ(size->Enum.size(), frPaperCount);
    EXPECT_EQ(size->EnumValues[8], 9);
    EXPECT_EQ(size->EnumValues.last(), 256);

    page.Type = ptDialog;
    page.ListProperties();
    EXPECT_EQ(Names(page.Properties()),
              QStringLiteral("Type Visible BorderStyle Caption Color Left Top Width Height "
                             "Position OnActivate")
                  .split(u' '));
    EXPECT_EQ(page.FindProperty(QStringLiteral("BorderStyle"))->EnumValues, QVariantList({3, 2}));
}

TEST_F(ObjectsTest, ANegativeFrameWidthIsRefused) {
    TfrMemoView memo;
    memo.SetProperty(QStringLiteral("FrameWidth"), 2.5);
    try {
        memo.SetProperty(QStringLiteral("FrameWidth"), -2.5);
        ADD_FAILURE() << "taken";
    } catch (const Failure& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Недопустимое значение свойства"));
    }
    EXPECT_EQ(memo.FrameWidth, 2.5f);
}

TEST_F(ObjectsTest, UniqueObjectNamesAcrossThePages) {
    TfrReport report;
    frEngineState().CurrentReport = &report;
    TfrPage& first = report.Pages.Add();
    TfrPage& second = report.Pages.Add();
    first.AddObject(std::make_unique<TfrMemoView>()).Name = QStringLiteral("Memo1");
    second.AddObject(std::make_unique<TfrMemoView>()).Name = QStringLiteral("MEMO3");
    TfrView& fresh = second.AddObject(std::make_unique<TfrMemoView>());
    fresh.AssignUniqueName();
    EXPECT_EQ(fresh.Name, QStringLiteral("Memo2"));
    TfrLineView line;
    line.AssignUniqueName();
    EXPECT_EQ(line.Name, QStringLiteral("Line1"));

    // Every number taken: the name is empty, not the one the object had.
    for (int n = 1; n <= 10000; ++n)
        second.AddObject(std::make_unique<TfrMemoView>()).Name = QStringLiteral("Memo%1").arg(n);
    fresh.Name = QStringLiteral("Old");
    fresh.AssignUniqueName();
    EXPECT_EQ(fresh.Name, QString());
}

TEST_F(ObjectsTest, PrintWritesTheEntryOfAVisibleObject) {
    TfrReport report;
    frEngineState().CurrentReport = &report;
    TfrPictureView picture;
    picture.Prepared = true;
    picture.PlaceAt(10, 20, 30, 40);
    picture.Memo = QStringList({QStringLiteral("[Поле]")});
    picture.Tag = QStringLiteral("метка");
    QStringList seen;
    report.OnBeforePrint = [&](QStringList& memo, TfrView& view) {
        EXPECT_EQ(&view, &picture);
        seen = memo;
    };

    const QByteArray printed = Written([&](QIODevice& s) { picture.Print(s); });
    EXPECT_EQ(seen, picture.Memo);
    // The type byte, then the prepared form: the expanded lines in place of the design fields.
    Bytes entry;
    entry.u8(frTypePicture).str(QString()).u8(2).u8(0).i32(10).i32(20).i32(30).i32(40);
    entry.u16(0).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    entry.list({QStringLiteral("[Поле]")}).u16(0).str(QStringLiteral("метка"));
    entry.i32(2).i32(1).u8(0);
    EXPECT_EQ(printed.toHex(' '), entry.data.toHex(' '));
    EXPECT_EQ(picture.WorkMemo, picture.Memo);
    EXPECT_EQ(picture.Tag, QStringLiteral("метка"));

    picture.Visible = false;
    EXPECT_TRUE(Written([&](QIODevice& s) { picture.Print(s); }).isEmpty());

    // Text objects are printed by the text layer.
    TfrMemoView memo;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(memo.Print(buffer), Failure);
}

TEST_F(ObjectsTest, BandAlignmentAgainstThePageEdges) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();  // edges 18 and 740
    frEngineState().CurrentDesignPage = &page;
    TfrView& before = page.AddObject(std::make_unique<TfrLineView>());
    before.PlaceAt(100, 50, 50, 20);  // ends at 150
    TfrView& after = page.AddObject(std::make_unique<TfrLineView>());
    after.PlaceAt(500, 60, 50, 20);
    TfrView& below = page.AddObject(std::make_unique<TfrLineView>());
    below.PlaceAt(300, 400, 50, 20);  // in no row of the others

    struct Case {
        const char* name;
        quint8 align;
        qint32 left, top, width;
        qint32 expectedLeft, expectedWidth;
    };
    const Case cases[] = {
        {"centre", baCenter, 0, 300, 101, 18 + (722 - 101) / 2, 101},
        {"centre of a wider object truncates toward zero", baCenter, 0, 300, 725, 17, 725},
        {"width without a band", baWidth, 0, 300, 10, 18, 721},
        {"left against the neighbour", baLeft, 300, 55, 40, 150, 40},
        {"left without a neighbour", baLeft, 300, 200, 40, 18, 40},
        {"right against the neighbour", baRight, 300, 55, 40, 460, 40},
        {"right without a neighbour", baRight, 300, 200, 40, 700, 40},
        {"the rest between the neighbours", baRest, 300, 55, 40, 150, 350},
        {"none", baNone, 300, 55, 40, 300, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrLineView view;
        view.PlaceAt(c.left, c.top, c.width, 30);
        view.BandAlign = c.align;
        view.AlignToPage();
        EXPECT_EQ(view.Left, c.expectedLeft);
        EXPECT_EQ(view.Width, c.expectedWidth);
    }
}

TEST_F(ObjectsTest, GeometryScalesWithHalvesToEven) {
    struct Case {
        const char* name;
        double factor;
        float frameWidth;
        quint16 frame;
        qint32 left, gapX, gapY;
        CanvasRect frameRect;
    };
    // Left 1, Top 3, Width 5, Height 7, origin (100, 200).
    const Case cases[] = {
        {"scale 1, thin frame: the gaps stay",
         1.0,
         1.0f,
         frftNone,
         101,
         2,
         1,
         {101, 203, 107, 211}},
        {"frame of 3: gaps grow by 2 and 1", 1.0, 3.0f, frftNone, 101, 4, 2, {101, 203, 107, 211}},
        {"2.5: 1 x 2.5 rounds to 2", 2.5, 1.0f, frftNone, 102, 6, 2, {102, 208, 116, 226}},
        {"frame sides move the frame rectangle in",
         1.0,
         3.0f,
         frftLeft | frftTop | frftRight | frftBottom,
         101,
         4,
         2,
         {102, 204, 105, 209}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrPictureView view;
        view.PlaceAt(1, 3, 5, 7);
        view.FactorX = view.FactorY = c.factor;
        view.DrawOriginX = 100;
        view.DrawOriginY = 200;
        view.FrameWidth = c.frameWidth;
        view.FrameTyp = c.frame;
        view.ScaleGeometry();
        EXPECT_EQ(view.Left, c.left);
        EXPECT_EQ(view.GapX, c.gapX);
        EXPECT_EQ(view.GapY, c.gapY);
        EXPECT_EQ(view.FrameRect, c.frameRect);
        view.RestoreGeometry();
        EXPECT_EQ(QList<int>({view.Left, view.Top, view.Width, view.Height, view.GapX, view.GapY}),
                  QList<int>({1, 3, 5, 7, 2, 1}));
        EXPECT_EQ(view.FrameWidth, c.frameWidth);
    }

    // The clip region covers the frame lines, right and bottom edges outside.
    TfrPictureView view;
    view.PlaceAt(1, 3, 5, 7);
    EXPECT_EQ(view.GetClipRegion(false), QRegion(1, 3, 6, 8));
    EXPECT_EQ(view.GetClipRegion(true), QRegion(-9, -7, 26, 28));
    view.FrameTyp = frftLeft | frftRight;
    view.FrameWidth = 3.0f;
    EXPECT_EQ(view.GetClipRegion(false), QRegion(-1, 3, 9, 8));  // b = 2, a = 1
}

TEST_F(ObjectsTest, PictureAndLineDrawing) {
    RecordingCanvas canvas(QSize(400, 400));
    TfrPictureView picture;
    picture.PlaceAt(10, 20, 30, 40);
    picture.FillColor = CanvasRgb(255, 0, 0);
    picture.FrameTyp = frftRight | frftLeft | frftBottom | frftTop;
    picture.FactorX = picture.FactorY = 2.0;
    picture.DrawOriginX = 5;
    picture.DrawOriginY = 7;
    picture.PaintObject(canvas);

    const auto fills = canvas.RecordsOf(CanvasRecord::FillRect);
    ASSERT_EQ(fills.size(), 1);
    EXPECT_EQ(fills[0].rect, CanvasRect({25, 47, 85, 127}));
    EXPECT_EQ(fills[0].brush.color, CanvasRgb(255, 0, 0));
    QList<QList<QPoint>> sides;
    for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::LineTo))
        sides.append(r.points);
    // Right, left, bottom, top, with a pen two pixels wide.
    EXPECT_EQ(sides, (QList<QList<QPoint>>{{{85, 47}, {85, 127}},
                                           {{25, 47}, {25, 127}},
                                           {{25, 127}, {85, 127}},
                                           {{25, 47}, {85, 47}}}));
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::LineTo)[0].pen.width, 2);
    EXPECT_EQ(picture.Left, 10);

    // A new picture paints nothing at all: no fill, no frame.
    canvas.ClearRecords();
    TfrPictureView plain;
    plain.PaintObject(canvas);
    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::FillRect).isEmpty());
    EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::LineTo).isEmpty());

    TfrLineView line;
    line.PlaceAt(10, 20, 100, 0);
    line.FrameColor = CanvasRgb(0, 0, 255);
    line.FactorX = line.FactorY = 2.0;
    line.PaintObject(canvas);
    const auto lines = canvas.RecordsOf(CanvasRecord::LineTo);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].points, QList<QPoint>({{20, 40}, {220, 40}}));
    EXPECT_EQ(lines[0].pen.color, CanvasRgb(0, 0, 255));
}

}  // namespace
