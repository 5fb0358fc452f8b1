#include "EngineErrors.h"
#include "MemoView.h"
#include "Objects.h"
#include "Page.h"
#include "QtPrinting.h"
#include "Report.h"
#include "ReportFixture.h"
#include "ScriptedPrinter.h"
#include "StreamIO.h"

#include <gtest/gtest.h>
#include <QtEndian>

namespace {

using StreamTest = ReportFixture;

const QString kBadFormat = QStringLiteral("Неверный QDS формат");

// The header of a report stream written on the virtual printer.
Bytes& Header(Bytes& b) {
    return b.u8(24).u16(0).u16(0).str(QString(QChar(1)));
}

// The record of a page fresh from Add, after its 255.
Bytes& DefaultPageRecord(Bytes& b) {
    return b.i32(-1)
        .i32(9)
        .i32(2100)
        .i32(2970)
        .i32(0)
        .i32(0)
        .i32(0)
        .i32(0)
        .u8(0)
        .i32(65535)
        .u16(0)
        .u16(0xFFFF)
        .i32(0)
        .i32(0)
        .u8(0)
        .str(QString())
        .u8(3)
        .str(QStringLiteral("Form"))
        .i32(0x8000000F)
        .i32(220)
        .i32(120)
        .i32(380)
        .i32(300)
        .u8(4)
        .list({});
}

Bytes& EmptyDictionary(Bytes& b) {
    return b.u8(254).u16(0xFFFE).i32(0).i32(0).i32(0);
}

TfrMemoView& AddMemo(TfrPage& page, const QString& text) {
    auto memo = std::make_unique<TfrMemoView>();
    memo->PlaceAt(36, 91, 362, 36);
    memo->Memo.append(text);
    return static_cast<TfrMemoView&>(page.AddObject(std::move(memo)));
}

QByteArray Write(TfrReport& report) {
    return Written([&](QIODevice& s) { report.WriteToStream(s); });
}

void Read(TfrReport& report, const QByteArray& bytes) {
    const auto stream = Reading(bytes);
    report.ReadFromStream(*stream);
}

// Every field a text object keeps in the design form.
QVariantList Fields(const TfrMemoView& m) {
    return {m.Name,
            m.Left,
            m.Top,
            m.Width,
            m.Height,
            m.Flags,
            m.FrameTyp,
            m.FrameWidth,
            m.FrameColor,
            m.FrameStyle,
            m.FillColor,
            m.DisplayFormat,
            m.DisplayFormatText,
            m.Memo,
            m.ScriptText,
            m.Visible,
            m.Restrictions,
            m.Tag,
            m.GapX,
            m.GapY,
            m.BandAlign,
            m.Font.face,
            m.Font.size,
            m.Font.style,
            m.Font.color,
            m.Alignment,
            m.Font.charset,
            m.Highlight.FontStyle,
            m.Highlight.FontColor,
            m.Highlight.FillColor,
            m.HighlightCondition,
            m.LineSpacing,
            m.CharSpacing};
}

TEST(StreamPrimitives, Layout) {
    struct Case {
        const char* name;
        std::function<void(QIODevice&)> write;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty string", [](QIODevice& s) { frWriteString(s, QString()); },
         Bytes().u16(0).u8(0).data},
        {"Latin string", [](QIODevice& s) { frWriteString(s, QStringLiteral("Ab")); },
         QByteArray("\x02\x00"
                    "Ab\x00",
                    5)},
        // The count is of UTF-8 bytes.
        {"Cyrillic string", [](QIODevice& s) { frWriteString(s, QStringLiteral("Я")); },
         QByteArray("\x02\x00\xD0\xAF\x00", 5)},
        {"empty list", [](QIODevice& s) { frWriteMemo(s, {}); }, QByteArray(3, '\0')},
        {"two lines",
         [](QIODevice& s) {
             frWriteMemo(s, {QStringLiteral("a"), QStringLiteral("bc")});
         },
         QByteArray("\x02\x00\x01\x00"
                    "a\x0D\x02\x00"
                    "bc\x00",
                    11)},
        {"a line that is empty", [](QIODevice& s) { frWriteMemo(s, {QString()}); },
         QByteArray("\x01\x00\x00\x00\x00", 5)},
        {"true in 16 bits", [](QIODevice& s) { frWriteBool16(s, true); },
         QByteArray("\xFF\xFF", 2)},
        {"negative integer", [](QIODevice& s) { frWriteInt(s, -2); },
         QByteArray("\xFE\xFF\xFF\xFF", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Written(c.write).toHex(' '), c.bytes.toHex(' '));
    }

    const auto list =
        Reading(QByteArray("\x02\x00\x01\x00"
                           "a\x0D\x02\x00"
                           "bc\x00",
                           11));
    EXPECT_EQ(frReadMemo(*list), QStringList({QStringLiteral("a"), QStringLiteral("bc")}));
    EXPECT_TRUE(list->atEnd());
    const auto text = Reading(QByteArray("\x02\x00\xD0\xAF\x00", 5));
    EXPECT_EQ(frReadString(*text), QStringLiteral("Я"));
    EXPECT_TRUE(text->atEnd());
    const auto shortText =
        Reading(QByteArray("\x05\x00"
                           "ab",
                           4));
    EXPECT_THROW(frReadString(*shortText), EStreamError);
}

TEST(StreamPrimitives, ListLongerThanItsCountKeepsAllLines) {
    const QStringList lines(70000, QStringLiteral("ж"));
    const QByteArray bytes = Written([&](QIODevice& s) { frWriteMemo(s, lines); });
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFF", 2));
    const auto stream = Reading(bytes);
    EXPECT_EQ(frReadMemo(*stream), lines);
    EXPECT_TRUE(stream->atEnd());
}

TEST(StreamPrimitives, TextTooLongForItsCountIsRefused) {
    const QString text(40000, QChar(0x0416));  // 80000 bytes in UTF-8
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(frWriteString(buffer, text), EStreamError);
    EXPECT_THROW(frWriteMemo(buffer, {text}), EStreamError);
}

TEST(StreamPrimitives, FrameWidth) {
    struct Case {
        const char* name;
        float width;
        qint32 written;
        float read;
    };
    const Case cases[] = {
        {"a fraction in thousandths", 0.5f, 500, 0.5f},
        {"a whole width as it is", 3.0f, 3, 3.0f},
        {"no frame", 0.0f, 0, 0.0f},
        {"1.25", 1.25f, 1250, 1.25f},
        // Kept by the reader's rule: up to 10 is whole units.
        {"a whole width above 10 in thousandths", 11.0f, 11000, 11.0f},
        {"a hairline the reader would take for whole units", 0.004f, 11, 0.011f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frEncodeFrameWidth(c.width), c.written);
        EXPECT_FLOAT_EQ(frDecodeFrameWidth(c.written), c.read);
    }
}

TEST_F(StreamTest, EmptyReport) {
    TfrReport report;
    Bytes expected;
    EmptyDictionary(Header(expected));
    EXPECT_EQ(Write(report).toHex(' '), expected.data.toHex(' '));
}

TEST_F(StreamTest, OnePageWithOneTextObject) {
    TfrReport report;
    AddMemo(report.Pages.Add(), QStringLiteral("Иванов"));

    Bytes memo;
    memo.str(QString())
        .u8(2)
        .u8(0)
        .i32(36)
        .i32(91)
        .i32(362)
        .i32(36)
        .u16(3)
        .u16(0)
        .i32(1)
        .i32(0)
        .u16(0)
        .i32(0x1FFFFFFF)
        .i32(u',' + 512)
        .str(QString())
        .list({QStringLiteral("Иванов")})
        .list({})
        .u16(0xFFFF)
        .u16(0)
        .str(QString())
        .i32(2)
        .i32(1)
        .u8(0)
        .str(QStringLiteral("Arial"))
        .i32(10)
        .u16(0)
        .i32(0)
        .i32(0)
        .u16(204)
        .u16(2)
        .i32(0)
        .i32(0xFFFFFF)
        .str(QString())
        .i32(2)
        .i32(0);
    Bytes expected;
    Header(expected).u8(255);
    DefaultPageRecord(expected);
    const int entry = expected.size();
    expected.u8(0).u8(0).i32(entry + 6 + memo.size()).raw(memo.data);
    EmptyDictionary(expected);

    const QByteArray written = Write(report);
    EXPECT_EQ(written.toHex(' '), expected.data.toHex(' '));
    // The end offset is the stream's size after the object's data.
    const qint32 end = qFromLittleEndian<qint32>(written.constData() + entry + 2);
    EXPECT_EQ(end, written.size() - 15);
}

TEST_F(StreamTest, PreparedFormCarriesTheExpandedText) {
    TfrMemoView memo;
    memo.Prepared = true;
    memo.Memo = QStringList({QStringLiteral("[Фамилия]")});
    memo.WorkMemo = QStringList({QStringLiteral("Иванов")});
    memo.ScriptText = QStringList({QStringLiteral("Visible := False")});
    memo.HighlightCondition = QStringLiteral("Value > 0");
    const QByteArray written = Written([&](QIODevice& s) { memo.WriteToStream(s); });

    Bytes expected;
    expected.str(QString())
        .u8(2)
        .u8(0)
        .i32(0)
        .i32(0)
        .i32(0)
        .i32(0)
        .u16(3)
        .u16(0)
        .i32(1)
        .i32(0)
        .u16(0)
        .i32(0x1FFFFFFF)
        .list({QStringLiteral("Иванов")})
        .u16(0)
        .str(QString())
        .i32(2)
        .i32(1)
        .u8(0)
        .str(QStringLiteral("Arial"))
        .i32(10)
        .u16(0)
        .i32(0)
        .i32(0)
        .u16(204)
        .i32(2)
        .i32(0);
    EXPECT_EQ(written.toHex(' '), expected.data.toHex(' '));

    TfrMemoView back;
    back.Prepared = true;
    const auto stream = Reading(written);
    back.ReadFromStream(*stream);
    EXPECT_TRUE(stream->atEnd());
    EXPECT_EQ(back.Memo, QStringList({QStringLiteral("Иванов")}));
    EXPECT_TRUE(back.ScriptText.isEmpty());
    EXPECT_TRUE(back.Visible);
    EXPECT_EQ(back.HighlightCondition, QString());
}

TEST_F(StreamTest, DesignFormRoundTrip) {
    TfrMemoView memo;
    memo.Name = QStringLiteral("Поле1");
    memo.PlaceAt(-5, 7, 300, 40);
    memo.Flags = frFlagWordWrap | frFlagSuppress | frFlagHook;
    memo.FrameTyp = frftLeft | frftTop;
    memo.FrameWidth = 0.5f;
    memo.FrameColor = 0x8000000F;
    memo.FrameStyle = psDouble;
    memo.FillColor = CanvasRgb(1, 2, 3);
    memo.DisplayFormat = 0x01020000 | 512 | ',';
    memo.DisplayFormatText = QStringLiteral("#,##0.00");
    memo.Memo =
        QStringList({QStringLiteral("строка\r\nс переводом"), QString(), QStringLiteral("x")});
    memo.ScriptText = QStringList({QStringLiteral("begin end")});
    memo.Visible = false;
    memo.Restrictions = 5;
    memo.Tag = QStringLiteral("[Tag]");
    memo.GapX = 4;
    memo.GapY = 3;
    memo.BandAlign = baRest;
    memo.Font = {QStringLiteral("Liberation Serif"), 0, fsItalic | fsStrikeOut, 0xFF, 14};
    memo.Font.charset = 238;
    memo.Alignment = frtaCenter | frtaMiddle;
    memo.Highlight = {fsUnderline, 0x0000FF, 0x00FF00};
    memo.HighlightCondition = QStringLiteral("[Сумма] > 0");
    memo.LineSpacing = 5;
    memo.CharSpacing = 1;

    const QByteArray written = Written([&](QIODevice& s) { memo.WriteToStream(s); });
    TfrMemoView back;
    const auto stream = Reading(written);
    back.ReadFromStream(*stream);
    EXPECT_TRUE(stream->atEnd());
    EXPECT_EQ(Fields(back), Fields(memo));
}

TEST_F(StreamTest, NewerVersionIsRefused) {
    TfrReport report;
    report.Pages.Add();
    report.Pages.Add();
    QByteArray bytes = Write(report);
    bytes[0] = 25;
    Read(report, bytes);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, kBadFormat);
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(report.Pages.Count(), 2);  // nothing read
}

TEST_F(StreamTest, EmptyStreamLeavesTheReport) {
    TfrReport report;
    report.Pages.Add();
    report.Dictionary.Variables.append({QStringLiteral("a"), 1});
    Read(report, QByteArray());
    EXPECT_EQ(report.Pages.Count(), 1);
    EXPECT_TRUE(report.Dictionary.Variables.isEmpty());
    EXPECT_TRUE(services.boxes.isEmpty());
}

// A report with two pages and three kinds of object.
QByteArray SampleStream(TfrReport& report) {
    TfrPage& first = report.Pages.Add();
    AddMemo(first, QStringLiteral("Иванов"));
    first.AddObject(std::make_unique<TfrLineView>()).PlaceAt(1, 2, 300, 0);
    TfrPage& second = report.Pages.Add();
    second.ScriptText = QStringList({QStringLiteral("begin end")});
    second.AddObject(std::make_unique<TfrPictureView>()).Name = QStringLiteral("Picture1");
    return Write(report);
}

TEST_F(StreamTest, TruncatedStreamEndsInTheBadFormatMessage) {
    TfrReport source;
    const QByteArray whole = SampleStream(source);
    const QStringList written{QStringLiteral("TfrMemoView"), QStringLiteral("TfrLineView"),
                              QStringLiteral("TfrPictureView")};
    int refused = 0;
    qsizetype lastRead = 0;
    for (int size = 1; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        services.boxes.clear();
        TfrReport report;
        Read(report, whole.left(size));
        if (services.boxes.isEmpty()) {
            // Cut between two entries: what came before the cut is there, in order, and a
            // longer stream never gives less. Objects follow both page records.
            QStringList read;
            for (int p = 0; p < report.Pages.Count(); ++p) {
                for (const auto& view : report.Pages.PageAt(p).Objects())
                    read << view->ClassName();
            }
            EXPECT_EQ(read, written.first(read.size()));
            EXPECT_GE(read.size() + report.Pages.Count(), lastRead);
            lastRead = read.size() + report.Pages.Count();
            EXPECT_LE(report.Pages.Count(), 2);
            if (!read.isEmpty()) {
                EXPECT_EQ(report.Pages.Count(), 2);
            }
            continue;
        }
        ++refused;
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, kBadFormat);
        EXPECT_EQ(report.Pages.Count(), 1);
        EXPECT_EQ(report.Pages.PageAt(0).ObjectCount(), 0);
    }
    EXPECT_GT(refused, whole.size() / 2);
}

TEST_F(StreamTest, GarbledStreamNeverCrashes) {
    TfrReport source;
    const QByteArray whole = SampleStream(source);
    for (int at = 1; at < whole.size(); ++at) {
        for (const char value : {'\x00', '\x0A', '\x7F', '\xFF'}) {
            SCOPED_TRACE(QStringLiteral("byte %1 := %2").arg(at).arg(int(value)).toStdString());
            QByteArray bytes = whole;
            bytes[at] = value;
            services.boxes.clear();
            TfrReport report;
            Read(report, bytes);
            EXPECT_LE(services.boxes.size(), 1);
            if (!services.boxes.isEmpty() && services.boxes[0].text == kBadFormat) {
                EXPECT_EQ(report.Pages.Count(), 1);
            }
        }
    }
}

class ChartView : public TfrPictureView {
public:
    QString ClassName() const override { return QStringLiteral("TfrChartView"); }
};

TEST_F(StreamTest, UnknownAddInClassIsReported) {
    frRegisterObject(QStringLiteral("TfrChartView"), [] { return std::make_unique<ChartView>(); });
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    page.AddObject(frCreateObject(frTypeAddIn, QStringLiteral("TfrChartView")));
    AddMemo(page, QStringLiteral("после")).Name = QStringLiteral("Memo1");
    const QByteArray bytes = Write(report);
    frUnregisterObject(QStringLiteral("TfrChartView"));

    TfrReport back;
    Read(back, bytes);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Report contains the following non-plugged components:\r"
                             "TfrChartView\r"
                             "You must include these components into your project."));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка"));
    // What could be read stays, the entry after the unknown one included.
    ASSERT_EQ(back.Pages.Count(), 1);
    ASSERT_EQ(back.Pages.PageAt(0).ObjectCount(), 1);
    EXPECT_EQ(back.Pages.PageAt(0).ObjectAt(0).Name, QStringLiteral("Memo1"));
}

TEST_F(StreamTest, EntryNamingNoPageIsSkipped) {
    TfrReport report;
    TfrPage& page = report.Pages.Add();
    AddMemo(page, QStringLiteral("первый")).Name = QStringLiteral("First");
    AddMemo(page, QStringLiteral("второй")).Name = QStringLiteral("Second");
    QByteArray bytes = Write(report);
    Bytes prefix;
    Header(prefix).u8(255);
    DefaultPageRecord(prefix);
    ASSERT_EQ(bytes[prefix.size()], char(frTypeText));
    bytes[prefix.size() + 1] = 5;  // the first entry's page index

    TfrReport back;
    Read(back, bytes);
    EXPECT_TRUE(services.boxes.isEmpty());
    ASSERT_EQ(back.Pages.PageAt(0).ObjectCount(), 1);
    EXPECT_EQ(back.Pages.PageAt(0).ObjectAt(0).Name, QStringLiteral("Second"));
}

TEST_F(StreamTest, RoundTrip) {
    TfrReport report;
    TfrPage& first = report.Pages.Add();
    first.Orientation = poLandscape;  // written directly: the paper is still portrait
    first.LeftMargin = 40;
    first.Name = QStringLiteral("Страница");
    TfrPage& second = report.Pages.Add();
    second.ScriptText = QStringList({QStringLiteral("begin"), QStringLiteral("end")});
    TfrMemoView& cyrillic = AddMemo(first, QStringLiteral("Съешь же ещё этих мягких булок, ёж"));
    cyrillic.SetProperty(QStringLiteral("Font.Style"), 6);
    cyrillic.Prepared = true;
    TfrMemoView& other = AddMemo(second, QStringLiteral("Zoë, 漢字 & naïve €"));
    other.Name = QStringLiteral("Memo2");
    report.Dictionary.Variables.append({QStringLiteral("Итого"), QStringLiteral("[Сумма]")});
    report.Dictionary.BandDataSources.append({QStringLiteral("Band1"), 7});
    const QStringList script = second.ScriptText;
    const QVariantList cyrillicFields = Fields(cyrillic);
    const QVariantList otherFields = Fields(other);

    const QByteArray bytes = Write(report);
    frEngineState().PrintingState = true;  // a read clears it
    Read(report, bytes);
    EXPECT_TRUE(services.boxes.isEmpty());
    ASSERT_EQ(report.Pages.Count(), 2);
    const TfrPage& page1 = report.Pages.PageAt(0);
    const TfrPage& page2 = report.Pages.PageAt(1);
    ASSERT_EQ(page1.ObjectCount(), 1);
    ASSERT_EQ(page2.ObjectCount(), 1);
    const auto& memo1 = static_cast<const TfrMemoView&>(page1.ObjectAt(0));
    const auto& memo2 = static_cast<const TfrMemoView&>(page2.ObjectAt(0));
    EXPECT_EQ(memo1.Memo, QStringList({QStringLiteral("Съешь же ещё этих мягких булок, ёж")}));
    EXPECT_EQ(memo2.Memo, QStringList({QStringLiteral("Zoë, 漢字 & naïve €")}));
    EXPECT_EQ(Fields(memo1), cyrillicFields);
    EXPECT_EQ(Fields(memo2), otherFields);
    EXPECT_FALSE(memo1.Prepared);
    EXPECT_GT(memo1.Serial, 0);

    // Reading selects the paper again, with the orientation written.
    EXPECT_EQ(page1.Orientation, poLandscape);
    EXPECT_EQ(page1.PaperX, 2970);
    EXPECT_EQ(page1.Metrics.SheetWidth, 1071);
    EXPECT_EQ(page1.LeftMargin, 40);
    EXPECT_EQ(page1.Name, QStringLiteral("Страница"));
    EXPECT_EQ(page2.PaperX, 2100);
    EXPECT_EQ(page2.ScriptText, script);

    EXPECT_EQ(report.PrinterName, QStringLiteral("Виртуальный принтер"));
    EXPECT_TRUE(engine->Printer().IsVirtual());
    ASSERT_EQ(report.Dictionary.Variables.size(), 1);
    EXPECT_EQ(report.Dictionary.Variables[0].Name, QStringLiteral("Итого"));
    EXPECT_EQ(report.Dictionary.Variables[0].Value, QStringLiteral("[Сумма]"));
    ASSERT_EQ(report.Dictionary.BandDataSources.size(), 1);
    EXPECT_EQ(report.Dictionary.BandDataSources[0].Value, QStringLiteral("7"));
    EXPECT_FALSE(frEngineState().PrintingState);
}

TEST_F(StreamTest, ObjectsOfPagesBeyond256KeepTheirPage) {
    TfrReport report;
    for (int i = 0; i < 300; ++i)
        report.Pages.Add();
    AddMemo(report.Pages.PageAt(44), QStringLiteral("44")).Name = QStringLiteral("A");
    AddMemo(report.Pages.PageAt(299), QStringLiteral("299")).Name = QStringLiteral("B");
    AddMemo(report.Pages.PageAt(300 - 256), QStringLiteral("44 again")).Name = QStringLiteral("C");

    Read(report, Write(report));
    ASSERT_EQ(report.Pages.Count(), 300);
    EXPECT_EQ(report.Pages.PageAt(44).ObjectCount(), 2);
    ASSERT_EQ(report.Pages.PageAt(299).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.PageAt(299).ObjectAt(0).Name, QStringLiteral("B"));
}

TEST_F(StreamTest, ExtensionMarkEndsReading) {
    TfrReport report;
    AddMemo(report.Pages.Add(), QStringLiteral("текст"));
    QByteArray bytes = Write(report);
    bytes.chop(15);  // the dictionary
    bytes.append(char(253));
    bytes.append("whatever an extension keeps");
    Read(report, bytes);
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(report.Pages.PageAt(0).ObjectCount(), 1);
}

TEST_F(StreamTest, ReportForm) {
    TfrReport report;
    AddMemo(report.Pages.Add(), QStringLiteral("форма"));
    EXPECT_EQ(Written([&](QIODevice& s) { report.WriteReportForm(s); }).toHex(' '),
              QByteArray("\x18\x00\x00\x00", 4).toHex(' '));

    report.StoreInDFM = true;
    const QByteArray form = Written([&](QIODevice& s) { report.WriteReportForm(s); });
    EXPECT_EQ(qFromLittleEndian<qint32>(form.constData() + 4), form.size() - 8);

    TfrReport loaded;
    loaded.StoreInDFM = true;
    const auto stream = Reading(form);
    loaded.ReadReportForm(*stream);
    EXPECT_EQ(loaded.Pages.Count(), 0);
    loaded.Loaded();
    ASSERT_EQ(loaded.Pages.Count(), 1);
    EXPECT_EQ(loaded.Pages.PageAt(0).ObjectAt(0).Memo, QStringList({QStringLiteral("форма")}));
}

TEST_F(StreamTest, RealPrinterNameIsWrittenAndSelected) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office")),
                      ScriptedPrinter::Office(QStringLiteral("Зал"))};
    system->Current = 1;
    Restart(std::move(system));
    TfrReport report;
    const QByteArray bytes = Write(report);
    const QByteArray name = Bytes().str(QStringLiteral("Зал")).data;
    EXPECT_EQ(bytes.mid(5, name.size()).toHex(' '), name.toHex(' '));

    engine->Printer().SelectPrinter(0);
    Read(report, bytes);
    EXPECT_EQ(engine->Printer().ActivePrinter(), 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("Зал"));
}

}  // namespace
