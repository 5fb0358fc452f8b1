#include "DataFixture.h"
#include "Failure.h"
#include "Labels.h"
#include "RecordingCanvas.h"
#include "Separator.h"
#include "StatusBar.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

void PrintTo(const CanvasRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

QList<CanvasRecord> Drawn(const QWidget& widget, const std::function<void(Canvas&)>& paint,
                          CanvasRecord::Kind kind) {
    RecordingCanvas canvas(widget.size());
    paint(canvas);
    return canvas.RecordsOf(kind);
}

QList<CanvasRecord> Texts(const TrCustomLabel& label) {
    return Drawn(
        label, [&](Canvas& c) { label.Paint(c); }, CanvasRecord::DrawText);
}

// Pixels make the text height the same on every machine.
QFont PixelFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    return font;
}

// --- raised labels

TEST(TrLabel, DefaultsDrawTheCaptionThreeTimes) {
    TrLabel label;
    label.SetCaption(QStringLiteral("Высота строки"));
    RecordingCanvas canvas(label.size());
    label.Paint(canvas);

    const QList<CanvasRecord> fills = canvas.RecordsOf(CanvasRecord::FillRect);
    ASSERT_FALSE(fills.isEmpty());
    EXPECT_EQ(fills[0].rect, (CanvasRect{0, 0, label.width(), label.height()}));
    EXPECT_EQ(fills[0].brush.color, SysColor::BtnFace);

    const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::DrawText);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0].font.color, SysColor::BtnHighlight);
    EXPECT_EQ(texts[1].font.color, SysColor::BtnShadow);
    EXPECT_EQ(texts[2].font.color, SysColor::WindowText);
    EXPECT_EQ(texts[2].rect, (CanvasRect{1, 1, label.width() + 1, label.height() + 1}));
    EXPECT_EQ(texts[0].rect, texts[2].rect.Translated(-1, -1));
    EXPECT_EQ(texts[1].rect, texts[2].rect.Translated(1, 1));
    for (const CanvasRecord& t : texts)
        EXPECT_EQ(t.text, QStringLiteral("Высота строки"));
}

TEST(TrLabel, DisabledShowsGreyTextWithALightCopyDownRight) {
    for (const bool text3D : {true, false}) {
        SCOPED_TRACE(text3D ? "raised" : "flat");
        TrLabel label;
        label.SetCaption(QStringLiteral("Дата"));
        label.SetText3D(text3D);
        label.SetRaisedTopDistance(3);
        label.setEnabled(false);
        const QList<CanvasRecord> texts = Texts(label);
        ASSERT_EQ(texts.size(), 2);
        EXPECT_EQ(texts[0].font.color, SysColor::BtnHighlight);
        EXPECT_EQ(texts[1].font.color, SysColor::GrayText);
        EXPECT_EQ(texts[0].rect, texts[1].rect.Translated(1, 1));
    }
}

TEST(TrLabel, TextPlacement) {
    struct Case {
        const char* name;
        std::function<void(TrLabel&)> setup;
        // Where the text itself goes, given the label's text height.
        std::function<CanvasRect(int textHeight)> expected;
    };
    const Case cases[] = {
        {"left and top move by the highlight distance",
         [](TrLabel& l) { l.SetRaisedTopDistance(2); },
         [](int) {
             return CanvasRect{2, 2, 102, 42};
         }},
        {"right moves left by the shadow distance",
         [](TrLabel& l) { l.SetAlignment(TAlignment::RightJustify); },
         [](int) {
             return CanvasRect{-1, 1, 99, 41};
         }},
        {"centre does not move sideways", [](TrLabel& l) { l.SetAlignment(TAlignment::Center); },
         [](int) {
             return CanvasRect{0, 1, 100, 41};
         }},
        {"flat text stays in place", [](TrLabel& l) { l.SetText3D(false); },
         [](int) {
             return CanvasRect{0, 0, 100, 40};
         }},
        {"centre layout", [](TrLabel& l) { l.SetLayout(TTextLayout::Center); },
         [](int h) {
             const int dy = static_cast<int>(std::nearbyint((40 - h) / 2.0));
             return CanvasRect{1, dy, 101, 40 + dy};
         }},
        {"bottom layout inside a bevel",
         [](TrLabel& l) {
             l.SetLayout(TTextLayout::Bottom);
             l.SetBevelOuter(TBevelCut::Lowered);
         },
         [](int h) {
             const int dy = 40 - h - 2 - 1;
             return CanvasRect{2, 1 + dy, 100, 39 + dy};
         }},
        {"two bevels with a border between them",
         [](TrLabel& l) {
             l.SetBevelOuter(TBevelCut::Raised);
             l.SetBorderWidth(2);
             l.SetBevelInner(TBevelCut::Lowered);
         },
         [](int) {
             return CanvasRect{5, 5, 97, 37};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrLabel label;
        label.setFont(PixelFont());
        label.SetAutoSize(false);
        label.resize(100, 40);
        label.SetCaption(QStringLiteral("Поле"));
        c.setup(label);
        RecordingCanvas canvas(label.size());
        label.Paint(canvas);
        const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::DrawText);
        ASSERT_FALSE(texts.isEmpty());
        const CanvasRecord& text = texts.back();
        const int height = canvas.TextBounds({0, 0, 100, 40}, QStringLiteral("Поле"), 0).Height();
        EXPECT_EQ(text.rect, c.expected(height));
        const QList<CanvasRecord> clips = canvas.RecordsOf(CanvasRecord::IntersectClip);
        ASSERT_EQ(clips.size(), 1);
    }
}

TEST(TrLabel, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
    QWidget parent;
    parent.resize(400, 100);
    TrLabel right(&parent);
    right.setFont(PixelFont());
    right.SetAlignment(TAlignment::RightJustify);
    right.move(200, 10);
    right.SetCaption(QStringLiteral("стр."));
    const int edge = right.geometry().right();
    const int narrow = right.width();
    right.SetCaption(QStringLiteral("Номер страницы"));
    EXPECT_GT(right.width(), narrow);
    EXPECT_EQ(right.geometry().right(), edge);

    TrLabel left(&parent);
    left.setFont(PixelFont());
    left.move(20, 40);
    left.SetCaption(QStringLiteral("Номер страницы"));
    EXPECT_EQ(left.x(), 20);
    EXPECT_EQ(left.width(), right.width());

    RecordingCanvas measure(QSize(8, 8));
    measure.SelectFont(CanvasFontOf(PixelFont(), 0));
    EXPECT_EQ(left.width(), measure.TextWidth(QStringLiteral("Номер страницы")) + 2)
        << "the text and half of the two copy distances on each side";
    left.SetCaption(QString());
    EXPECT_EQ(left.width(), measure.TextWidth(QStringLiteral(" ")) + 2)
        << "an empty caption is measured as one blank";
}

TEST(TrLabel, BlinkingSwapsToTheBlinkColours) {
    TrLabel label;
    label.SetCaption(QStringLiteral("Внимание"));
    label.SetBlinkSpeed(5);
    label.SetBlink(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return label.Blinking(); }));
    const QList<CanvasRecord> texts = Texts(label);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0].font.color, SysColor::BtnShadow);
    EXPECT_EQ(texts[1].font.color, SysColor::BtnHighlight);
    EXPECT_EQ(texts[2].font.color, SysColor::GrayText);
    label.SetBlink(false);
    EXPECT_FALSE(label.Blinking());
    EXPECT_EQ(Texts(label)[2].font.color, SysColor::WindowText);
}

TEST(TrLabel, AcceleratorGivesTheFocusToItsControl) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new TrLabel;
    auto* target = new QLineEdit;
    auto* other = new QLineEdit;
    layout->addWidget(label);
    layout->addWidget(target);
    layout->addWidget(other);
    label->SetCaption(QStringLiteral("&Name"));
    label->SetFocusControl(target);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    label->setEnabled(false);
    QTest::keyClick(other, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus()) << "a disabled label passes nothing on";
    label->setEnabled(true);
    QTest::keyClick(other, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(target->hasFocus());
}

// --- the data-aware label

class DBStaticText : public DataFixture {};

TEST_F(DBStaticText, ShowsTheDisplayTextOfTheCurrentRow) {
    const qint64 doc = AddTemplate(QStringLiteral("Без страниц"), QVariant());
    AddTemplate(QStringLiteral("Две & страницы"), 2);
    AddListDoc(doc, QStringLiteral("2024-03-05"), QStringLiteral("Первый"));
    OpenModule();

    TDBStaticText pages;
    pages.SetDataSource(&data->dsDocument);
    pages.SetDataField(QStringLiteral("PageCount"));
    TDBStaticText date;
    date.SetDataSource(&data->dsListDoc);
    date.SetDataField(QStringLiteral("Date"));
    TDBStaticText name;
    name.SetDataSource(&data->dsDocument);
    name.SetDataField(QStringLiteral("Name"));

    EXPECT_EQ(pages.Caption(), QString()) << "null shows empty";
    EXPECT_EQ(date.Caption(), QStringLiteral("05.03.2024"));
    data->Document.Next();
    EXPECT_EQ(pages.Caption(), QStringLiteral("2"));
    EXPECT_EQ(date.Caption(), QString()) << "the second template has no documents";

    // Flat, in a lowered bevel, "&" shown as it stands.
    RecordingCanvas canvas(name.size());
    name.Paint(canvas);
    const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::DrawText);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].text, QStringLiteral("Две & страницы"));
    EXPECT_TRUE(texts[0].format & Canvas::TextNoPrefix);
    const QList<CanvasRecord> bevels = canvas.RecordsOf(CanvasRecord::Bevel);
    ASSERT_EQ(bevels.size(), 1);
    EXPECT_EQ(bevels[0].bevel, Canvas::Lowered);

    auto source = std::make_unique<TDataSource>(data->Document);
    pages.SetDataSource(source.get());
    EXPECT_EQ(pages.Caption(), QStringLiteral("2"));
    source.reset();
    EXPECT_EQ(pages.DataSource(), nullptr);
    EXPECT_EQ(pages.Caption(), QString());
}

// --- status bar

TEST(TAdvStatusBar, PanelsSideBySideWithControlsOverThem) {
    TAdvStatusBar bar;
    bar.setSizeGripEnabled(false);
    bar.resize(700, 20);
    bar.show();
    const QStringList captions{
        QStringLiteral("Слева"),  QString(), QStringLiteral("Сверху"), QString(),
        QStringLiteral("Высота"), QString(), QStringLiteral("Ширина"), QString(),
        QStringLiteral("стр."),   QString()};
    for (int i = 0; i < captions.size(); ++i)
        bar.AddPanel(captions[i], i % 2 == 0 ? 50 : 70,
                     i == 6 ? TAlignment::LeftJustify : TAlignment::Center);
    ASSERT_EQ(bar.PanelCount(), 10);
    EXPECT_EQ(bar.PanelRect(0), QRect(0, 2, 48, 18));
    EXPECT_EQ(bar.PanelRect(1), QRect(50, 2, 68, 18));
    EXPECT_EQ(bar.PanelRect(8), QRect(480, 2, 48, 18));
    EXPECT_EQ(bar.PanelRect(9).left(), 530);
    EXPECT_EQ(bar.PanelRect(9).right(), 699) << "the last panel reaches the right edge";

    TDBStaticText value;
    bar.PlaceInPanel(&value, 1);
    EXPECT_EQ(value.parentWidget(), &bar);
    EXPECT_EQ(value.geometry(), bar.PanelRect(1).adjusted(1, 1, -1, -1));
    bar.resize(700, 26);
    EXPECT_EQ(value.geometry(), bar.PanelRect(1).adjusted(1, 1, -1, -1));
    // In the last panel a control keeps the panel's width, beside the panel before it.
    TDBStaticText last;
    bar.PlaceInPanel(&last, 9);
    EXPECT_EQ(last.geometry(), QRect(531, 3, 66, 22));

    RecordingCanvas canvas(bar.size());
    bar.Paint(canvas);
    const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::DrawText);
    ASSERT_EQ(texts.size(), 10);
    EXPECT_EQ(texts[2].text, QStringLiteral("Сверху"));
    EXPECT_TRUE(texts[2].format & Canvas::TextCenter);
    EXPECT_FALSE(texts[6].format & (Canvas::TextCenter | Canvas::TextRight));
    EXPECT_EQ(canvas.RecordsOf(CanvasRecord::Bevel).size(), 10);

    bar.showMessage(QStringLiteral("Готово"));
    const QList<CanvasRecord> message = Drawn(
        bar, [&](Canvas& c) { bar.Paint(c); }, CanvasRecord::DrawText);
    ASSERT_EQ(message.size(), 1);
    EXPECT_EQ(message[0].text, QStringLiteral("Готово"));
}

// --- separator

TEST(TrSeparator, DividerLineFollowsTheEdgeItStandsAgainst) {
    TrSeparator separator;
    EXPECT_EQ(separator.Align(), TAlign::Left);
    EXPECT_EQ(separator.width(), 8);
    separator.resize(8, 30);
    const auto draw = [&](CanvasRecord::Kind kind) {
        return Drawn(
            separator, [&](Canvas& c) { separator.Paint(c); }, kind);
    };
    EXPECT_TRUE(draw(CanvasRecord::EtchedLine).isEmpty()) << "a spacer draws nothing";

    separator.SetSeparatorStyle(TSeparatorStyle::Divider);
    QList<CanvasRecord> lines = draw(CanvasRecord::EtchedLine);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].orientation, Qt::Vertical);
    EXPECT_EQ(lines[0].points.value(0), QPoint(3, 0));
    EXPECT_EQ(lines[0].length, 30);

    separator.SetAlign(TAlign::Top);
    separator.resize(40, 8);
    lines = draw(CanvasRecord::EtchedLine);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].orientation, Qt::Horizontal);
    EXPECT_EQ(lines[0].points.value(0), QPoint(0, 3));
    EXPECT_EQ(lines[0].length, 40);
}

TEST(TrSeparator, DividerNeedsAnEdge) {
    for (const TAlign align : {TAlign::None, TAlign::Client}) {
        TrSeparator separator;
        separator.SetAlign(align);
        try {
            separator.SetSeparatorStyle(TSeparatorStyle::Divider);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Message(),
                      QStringLiteral("Для установки rspDivider свойство Align не может быть "
                                     "alNone или alClient."));
        }
        EXPECT_EQ(separator.SeparatorStyle(), TSeparatorStyle::Spacer);
    }
}

}  // namespace
