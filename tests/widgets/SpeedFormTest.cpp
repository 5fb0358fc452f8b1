#include "DataFixture.h"
#include "DataLink.h"
#include "RecordingCanvas.h"
#include "SpeedForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

void PrintTo(const CanvasRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

QList<QDialog*> ShownDialogs() {
    QList<QDialog*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
            shown << d;
    }
    return shown;
}

// Runs the panel modally and calls `inside` with its dialog once it is shown. A dialog still
// open when `inside` returns is a failure, and is closed so that the test goes on.
int RunWith(TSpeedForm& panel, const std::function<void(QDialog&)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, &panel, [&] {
        ran = true;
        QPointer<QDialog> dialog = panel.DialogWindow();
        if (!dialog || !dialog->isVisible()) {
            ADD_FAILURE() << "no dialog is shown";
            return;
        }
        inside(*dialog);
        if (dialog && dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->hide();
        }
    });
    const int result = panel.RunModal();
    EXPECT_TRUE(ran);
    return result;
}

// Key presses carrying each character, as a keyboard layout would send them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    }
}

void ReleaseWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A window with a hidden panel holding a text editor, an OK and a cancel button.
class SpeedForm : public ::testing::Test {
public:
    void SetUp() override { Build(); }

    void Build() {
        frame.Title = QStringLiteral("Formwright");
        clicks.clear();
        owner = std::make_unique<QWidget>();
        owner->resize(640, 480);
        panel = new TSpeedForm(owner.get());
        panel->SetFrame(&frame);
        panel->SetStyle(dsIcon);
        panel->SetCaption(QStringLiteral("Редактирование документа для печати"));
        edit = new QLineEdit(panel);
        edit->setGeometry(10, 10, 200, 21);
        ok = new TModalButton(QStringLiteral("OK"), panel);
        ok->setGeometry(10, 60, 75, 25);
        ok->SetModalResult(mrOk);
        ok->OnClick = [this] { clicks << QStringLiteral("OK"); };
        cancel = new TModalButton(QStringLiteral("Cancel"), panel);
        cancel->setGeometry(100, 60, 75, 25);
        cancel->SetModalResult(mrCancel);
        cancel->SetCancel(true);
        cancel->OnClick = [this] { clicks << QStringLiteral("Cancel"); };
        panel->SetClientSize(300, 100);
    }

    ServicesDouble services;
    AppFrame frame{services};
    std::unique_ptr<QWidget> owner;
    TSpeedForm* panel{nullptr};
    QLineEdit* edit{nullptr};
    TModalButton* ok{nullptr};
    TModalButton* cancel{nullptr};
    QStringList clicks;
};

TEST_F(SpeedForm, TheWayTheDialogEndsGivesItsResult) {
    struct Case {
        const char* name;
        std::function<void(SpeedForm&)> prepare;
        std::function<void(SpeedForm&, QDialog&)> act;
        int result;
        QStringList clicks;
    };
    const Case cases[] = {
        {"OK button",
         {},
         [](SpeedForm& f, QDialog&) { QTest::mouseClick(f.ok, Qt::LeftButton); },
         mrOk,
         {QStringLiteral("OK")}},
        {"Escape presses the cancel button",
         {},
         [](SpeedForm& f, QDialog&) { QTest::keyClick(f.edit, Qt::Key_Escape); },
         mrCancel,
         {QStringLiteral("Cancel")}},
        {"Enter presses the default button",
         [](SpeedForm& f) { f.ok->setDefault(true); },
         [](SpeedForm& f, QDialog&) { QTest::keyClick(f.edit, Qt::Key_Return); },
         mrOk,
         {QStringLiteral("OK")}},
        {"Escape without a cancel button does nothing",
         [](SpeedForm& f) { f.cancel->SetCancel(false); },
         [](SpeedForm& f, QDialog& d) {
             QTest::keyClick(f.edit, Qt::Key_Escape);
             EXPECT_TRUE(d.isVisible());
             QTest::mouseClick(f.ok, Qt::LeftButton);
         },
         mrOk,
         {QStringLiteral("OK")}},
        {"the close box", {}, [](SpeedForm&, QDialog& d) { d.close(); }, mrCancel, {}},
        {"a close refused by OnCloseQuery",
         [](SpeedForm& f) {
             f.panel->OnCloseQuery = [&f] { return f.clicks.contains(QStringLiteral("OK")); };
         },
         [](SpeedForm& f, QDialog& d) {
             d.close();
             QTest::keyClick(f.edit, Qt::Key_Escape);
             EXPECT_TRUE(d.isVisible());
             EXPECT_EQ(f.panel->ModalResult(), -1);
             QTest::mouseClick(f.ok, Qt::LeftButton);
         },
         mrOk,
         {QStringLiteral("Cancel"), QStringLiteral("OK")}},
        {"ModalResult set by code",
         {},
         [](SpeedForm& f, QDialog&) { f.panel->SetModalResult(7); },
         7,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Build();
        if (c.prepare)
            c.prepare(*this);
        const int result = RunWith(*panel, [&](QDialog& d) { c.act(*this, d); });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(panel->ModalResult(), c.result);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_FALSE(panel->Showing());
        EXPECT_EQ(panel->DialogWindow(), nullptr);
        EXPECT_EQ(edit->parentWidget(), panel->Client());
        ReleaseWindows();
    }
}

TEST_F(SpeedForm, ControlsMoveIntoADialogBuiltFromThePanelAndBack) {
    QMainWindow main;
    main.setGeometry(60, 40, 600, 400);
    auto* central = new QWidget;
    main.setCentralWidget(central);
    TSpeedForm form(central);
    form.SetFrame(&frame);
    form.SetStyle(dsIcon);
    form.SetCaption(QStringLiteral("Редактирование документа для печати"));
    form.SetBorderStyle(bsSingle);
    form.SetBorderIcons(0);
    form.SetPosition(poMainFormCenter);
    auto* text = new QLineEdit(&form);
    text->move(12, 8);
    auto* button = new TModalButton(QStringLiteral("OK"), &form);
    button->SetModalResult(mrOk);
    form.SetActiveControl(text);
    form.SetClientSize(300, 100);
    main.show();

    // Placed on the panel, the controls go into the container at the same place.
    EXPECT_EQ(form.parentWidget(), &main);
    QCoreApplication::processEvents();
    EXPECT_EQ(text->parentWidget(), form.Client());
    EXPECT_EQ(text->pos(), QPoint(12, 8));
    EXPECT_FALSE(form.isVisible());

    QPointer<QDialog> shown;
    const int result = RunWith(form, [&](QDialog& d) {
        shown = &d;
        EXPECT_NE(qobject_cast<TTaskBarForm*>(&d), nullptr);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Редактирование документа для печати"));
        EXPECT_EQ(d.windowModality(), Qt::ApplicationModal);
        EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
        EXPECT_EQ(d.minimumSize(), QSize(300, 100));
        EXPECT_EQ(d.maximumSize(), QSize(300, 100));
        EXPECT_EQ(d.size(), QSize(300, 100));
        const QPoint offCentre = d.frameGeometry().center() - main.frameGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << ", " << offCentre.y();
        EXPECT_EQ(text->window(), &d);
        EXPECT_EQ(form.Container()->geometry(), QRect(0, 0, 300, 100));
        EXPECT_TRUE(text->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }, 1000));
        EXPECT_EQ(form.ModalResult(), -1);
        QTest::mouseClick(button, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(text->window(), &main);
    EXPECT_EQ(form.Container()->parentWidget(), &form);
    EXPECT_EQ(form.ClientSize(), QSize(300, 100));
    // Released once its pending messages are handled.
    EXPECT_FALSE(shown.isNull());
    ReleaseWindows();
    EXPECT_TRUE(shown.isNull());
}

TEST_F(SpeedForm, AnEnlargedDialogOpensAtItsNewSizeNextTime) {
    panel->SetBorderStyle(bsSizeable);
    RunWith(*panel, [&](QDialog& d) {
        EXPECT_EQ(d.size(), QSize(300, 100));
        EXPECT_NE(d.minimumSize(), d.maximumSize());
        d.resize(420, 180);
        EXPECT_TRUE(QTest::qWaitFor([&] { return panel->ClientSize() == QSize(420, 180); }, 1000));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(panel->ClientSize(), QSize(420, 180));
    EXPECT_EQ(panel->StoredSize(), QSize(428, 207));
    ReleaseWindows();
    const int result = RunWith(*panel, [&](QDialog& d) {
        EXPECT_EQ(d.size(), QSize(420, 180));
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_EQ(result, mrCancel);
}

TEST_F(SpeedForm, MinimisingIsRefused) {
    panel->SetWindowState(wsMinimized);
    EXPECT_EQ(panel->WindowState(), wsNormal);
    panel->SetWindowState(wsMaximized);
    EXPECT_EQ(panel->WindowState(), wsMaximized);
    panel->SetWindowState(wsNormal);
    panel->SetBorderStyle(bsSizeable);

    const int result = RunWith(*panel, [&](QDialog& d) {
        EXPECT_FALSE(d.windowFlags() & Qt::WindowMinimizeButtonHint);
        d.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        EXPECT_FALSE(d.windowState() & Qt::WindowMinimized);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(panel->Showing());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
}

TEST_F(SpeedForm, RunModalDuringAShowingReturnsAtOnce) {
    const int result = RunWith(*panel, [&](QDialog& d) {
        EXPECT_EQ(panel->RunModal(), -1);
        EXPECT_EQ(panel->DialogWindow(), &d);
        EXPECT_TRUE(panel->Showing());
        EXPECT_EQ(ShownDialogs(), QList<QDialog*>{&d});
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
}

TEST_F(SpeedForm, AFailingHandlerIsReportedAndOnlyTheButtonsResultEndsTheDialog) {
    auto* check = new TModalButton(QStringLiteral("Проверить"), panel->Client());
    check->setGeometry(200, 60, 75, 25);
    check->OnClick = [] { throw DatabaseError(QStringLiteral("Нет связи с базой")); };
    ok->OnClick = [] { throw Failure(QStringLiteral("Ошибка записи")); };
    const int result = RunWith(*panel, [&](QDialog& d) {
        QTest::mouseClick(check, Qt::LeftButton);
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, QStringLiteral("Нет связи с базой."));
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Formwright"));
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    ASSERT_EQ(services.boxes.size(), 2);
    EXPECT_EQ(services.boxes[1].text, QStringLiteral("Ошибка записи."));
    EXPECT_EQ(edit->parentWidget(), panel->Client());
}

TEST_F(SpeedForm, DestroyingThePanelDuringAShowingEndsItWithCancel) {
    QPointer<QLineEdit> text = edit;
    QPointer<QDialog> shown;
    QTimer::singleShot(0, owner.get(), [&] {
        shown = panel->DialogWindow();
        ASSERT_TRUE(shown && shown->isVisible());
        delete panel;
    });
    EXPECT_EQ(panel->RunModal(), mrCancel);
    // The controls went with the panel, and the window with them.
    EXPECT_TRUE(text.isNull());
    ReleaseWindows();
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(ShownDialogs().isEmpty());
}

TEST_F(SpeedForm, PropertiesSetDuringAShowingReachTheWindowWithoutEndingIt) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    const QIcon icon(pixmap);
    panel->SetBorderIcons(0);
    const int result = RunWith(*panel, [&](QDialog& d) {
        auto* form = qobject_cast<TTaskBarForm*>(&d);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(d.parentWidget(), panel);
        EXPECT_FALSE(form->ShowOnTaskBar());

        panel->SetIcon(icon);
        EXPECT_EQ(d.windowIcon().cacheKey(), icon.cacheKey());
        panel->SetBorderIcons(biSystemMenu);
        EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
        panel->SetShowOnTaskBar(true);
        EXPECT_TRUE(form->ShowOnTaskBar());
        EXPECT_EQ(d.parentWidget(), nullptr);
        // The caption reaches the window only when it is built.
        panel->SetCaption(QStringLiteral("Другой"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Редактирование документа для печати"));

        QCoreApplication::processEvents();
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(panel->Showing());
        EXPECT_EQ(edit->window(), &d);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(edit->parentWidget(), panel->Client());
    ReleaseWindows();
    EXPECT_TRUE(ShownDialogs().isEmpty());
}

TEST_F(SpeedForm, PlacementStylesAndActiveControl) {
    // A panel given a control inside a window goes onto the window, at the same place.
    QGroupBox box(owner.get());
    box.setGeometry(30, 40, 300, 200);
    TSpeedForm inBox(&box);
    EXPECT_EQ(inBox.parentWidget(), owner.get());
    EXPECT_EQ(inBox.pos(), QPoint(30, 40));
    TSpeedForm later(owner.get());
    later.move(5, 6);
    later.setParent(&box);
    QCoreApplication::processEvents();
    EXPECT_EQ(later.parentWidget(), owner.get());
    EXPECT_EQ(later.pos(), QPoint(35, 46));

    // Without a parent the bounds do not change; dsWindow keeps a minimum size.
    TSpeedForm alone;
    alone.SetBounds(0, 0, 300, 300);
    EXPECT_EQ(alone.StoredSize(), QSize(200, 150));
    later.SetBounds(0, 0, 50, 10);
    EXPECT_EQ(later.StoredSize(), QSize(104, 28));
    later.SetBounds(0, 0, 200, 150);
    EXPECT_EQ(later.Container()->geometry(), QRect(4, 23, 192, 123));

    // Visible takes effect only in dsWindow; dsIcon parks the container out of sight.
    owner->show();
    panel->show();
    EXPECT_TRUE(panel->Visible());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->Container()->pos(), QPoint(200, 23));
    panel->SetStyle(dsWindow);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Container()->geometry(), QRect(4, 23, 300, 100));
    EXPECT_EQ(panel->size(), QSize(308, 127));
    panel->setVisible(false);
    EXPECT_FALSE(panel->isVisible());

    // ActiveControl takes only a control of the panel.
    QLineEdit elsewhere(owner.get());
    panel->SetActiveControl(edit);
    panel->SetActiveControl(&elsewhere);
    EXPECT_EQ(panel->ActiveControl(), edit);
    panel->SetActiveControl(nullptr);
    EXPECT_EQ(panel->ActiveControl(), nullptr);
}

// --- dsWindow drawing and hit areas

struct Fill {
    CanvasRect rect;
    quint32 color{0};
    bool operator==(const Fill&) const = default;
};
struct Stroke {
    QList<QPoint> points;
    quint32 color{0};
    bool operator==(const Stroke&) const = default;
};
void PrintTo(const Fill& f, std::ostream* os) {
    PrintTo(f.rect, os);
    *os << " 0x" << std::hex << f.color << std::dec;
}
void PrintTo(const Stroke& s, std::ostream* os) {
    for (const QPoint& p : s.points)
        *os << "(" << p.x() << ", " << p.y() << ")";
    *os << " 0x" << std::hex << s.color << std::dec;
}

class WindowStyle : public SpeedForm {
protected:
    void SetUp() override {
        SpeedForm::SetUp();
        panel->SetStyle(dsWindow);
        panel->SetBounds(10, 20, 200, 150);
        panel->SetCaption(QStringLiteral("Окно"));
        panel->show();
    }

    std::unique_ptr<RecordingCanvas> Painted() {
        auto canvas = std::make_unique<RecordingCanvas>(panel->size());
        panel->Paint(*canvas);
        return canvas;
    }
    static QList<Fill> Fills(const RecordingCanvas& c) {
        QList<Fill> fills;
        for (const CanvasRecord& r : c.RecordsOf(CanvasRecord::FillRect))
            fills.append({r.rect, r.brush.color});
        return fills;
    }
};

TEST_F(WindowStyle, DrawsCaptionBarFrameAndEdges) {
    const auto painted = Painted();
    const RecordingCanvas& canvas = *painted;
    const QList<Fill> frameFills = {
        {{4, 4, 196, 22}, SysColor::InactiveCaption}, {{2, 2, 4, 148}, SysColor::BtnFace},
        {{196, 2, 198, 148}, SysColor::BtnFace},      {{4, 2, 196, 4}, SysColor::BtnFace},
        {{4, 146, 196, 148}, SysColor::BtnFace},      {{4, 22, 196, 24}, SysColor::BtnFace},
    };
    EXPECT_EQ(Fills(canvas), frameFills);

    QList<Stroke> strokes;
    for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::Polyline))
        strokes.append({r.points, r.pen.color});
    const QList<Stroke> edges = {
        {{{1, 147}, {1, 1}, {198, 1}}, SysColor::Window},
        {{{198, 1}, {198, 148}, {0, 148}}, SysColor::BtnShadow},
        {{{199, 0}, {199, 149}, {-1, 149}}, SysColor::DkShadow3D},
        {{{0, 148}, {0, 0}, {199, 0}}, SysColor::BtnFace},
    };
    EXPECT_EQ(strokes, edges);

    const QList<CanvasRecord> texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].position, QPoint(24, 6));
    EXPECT_EQ(texts[0].text, QStringLiteral("Окно"));
    EXPECT_EQ(texts[0].font.face, QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(texts[0].font.size, 8);
    EXPECT_EQ(texts[0].font.unit, CanvasFont::Points);
    EXPECT_EQ(texts[0].font.style, CanvasFont::Bold);
    EXPECT_EQ(texts[0].font.color, SysColor::InactiveCaptionText);
    EXPECT_EQ(texts[0].background, Canvas::Transparent);
}

TEST_F(WindowStyle, IconFallsBackToTheApplicationsAndFocusMakesTheBarActive) {
    QPixmap red(16, 16), blue(16, 16);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    const QIcon appIcon(red), ownIcon(blue);
    QApplication::setWindowIcon(appIcon);
    QList<CanvasRecord> icons = Painted()->RecordsOf(CanvasRecord::Icon);
    ASSERT_EQ(icons.size(), 1);
    EXPECT_EQ(icons[0].rect, (CanvasRect{6, 5, 22, 21}));
    EXPECT_EQ(icons[0].icon.cacheKey(), appIcon.cacheKey());
    panel->SetIcon(ownIcon);
    icons = Painted()->RecordsOf(CanvasRecord::Icon);
    ASSERT_EQ(icons.size(), 1);
    EXPECT_EQ(icons[0].icon.cacheKey(), ownIcon.cacheKey());
    QApplication::setWindowIcon(QIcon());

    owner->show();
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(owner.get()));
    QLineEdit outside(owner.get());
    outside.move(400, 400);
    outside.show();
    QCoreApplication::processEvents();
    edit->setFocus();
    EXPECT_TRUE(panel->Active());
    const auto painted = Painted();
    const RecordingCanvas& active = *painted;
    EXPECT_EQ(Fills(active).value(0), (Fill{{4, 4, 196, 22}, SysColor::ActiveCaption}));
    EXPECT_EQ(active.RecordsOf(CanvasRecord::TextOut).value(0).font.color, SysColor::CaptionText);
    outside.setFocus();
    EXPECT_FALSE(panel->Active());
}

TEST_F(WindowStyle, ClientAreaIsBlankWhileTheContentsAreInTheirDialog) {
    RunWith(*panel, [&](QDialog&) {
        const QList<Fill> fills = Fills(*Painted());
        EXPECT_TRUE(fills.contains(Fill{{4, 23, 196, 146}, SysColor::BtnFace}));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_FALSE(Fills(*Painted()).contains(Fill{{4, 23, 196, 146}, SysColor::BtnFace}));
}

TEST_F(WindowStyle, HitAreas) {
    using H = TSpeedFormHit;
    const struct {
        QPoint at;
        H area;
    } cases[] = {
        {{0, 0}, H::TopLeft},         {{3, 3}, H::TopLeft},         {{0, 149}, H::BottomLeft},
        {{3, 147}, H::BottomLeft},    {{199, 0}, H::TopRight},      {{197, 3}, H::TopRight},
        {{199, 149}, H::BottomRight}, {{197, 147}, H::BottomRight}, {{0, 75}, H::Left},
        {{3, 75}, H::Left},           {{199, 75}, H::Right},        {{197, 75}, H::Right},
        {{100, 0}, H::Top},           {{100, 3}, H::Top},           {{100, 149}, H::Bottom},
        {{100, 147}, H::Bottom},      {{100, 4}, H::Caption},       {{4, 22}, H::Caption},
        {{100, 23}, H::Client},       {{4, 23}, H::Client},         {{196, 146}, H::Client},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << ", " << c.at.y());
        EXPECT_EQ(panel->HitTest(c.at), c.area);
    }
    panel->SetStyle(dsIcon);
    EXPECT_EQ(panel->HitTest({0, 0}), H::Client);
}

TEST_F(WindowStyle, DraggingTheCaptionMovesAndTheBordersResize) {
    owner->show();
    auto drag = [&](QPoint from, QPoint by) {
        const QPoint start = panel->mapToGlobal(from);
        auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
            QMouseEvent e(type, QPointF(panel->mapFromGlobal(global)), QPointF(global), button,
                          buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(panel, &e);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, start + by, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + by, Qt::LeftButton, Qt::NoButton);
    };
    drag({100, 10}, {30, 15});
    EXPECT_EQ(panel->geometry(), QRect(40, 35, 200, 150));
    drag({199, 149}, {50, 20});
    EXPECT_EQ(panel->geometry(), QRect(40, 35, 250, 170));
    EXPECT_EQ(panel->StoredSize(), QSize(250, 170));
    EXPECT_EQ(panel->Container()->geometry(), QRect(4, 23, 242, 143));
    // The left border stops at the smallest width; the right edge stays.
    drag({1, 80}, {400, 0});
    EXPECT_EQ(panel->geometry(), QRect(186, 35, 104, 170));
    // A drag in the client area goes to the controls, not to the panel.
    drag({50, 50}, {20, 20});
    EXPECT_EQ(panel->geometry(), QRect(186, 35, 104, 170));
}

// --- bound controls

class SpeedFormData : public DataFixture {};

TEST_F(SpeedFormData, BoundControlsShowTheCurrentRowAndKeepTheirBindings) {
    AddTemplate(QStringLiteral("Первый"));
    AddTemplate(QStringLiteral("Второй"));
    OpenModule();
    QWidget owner;
    TSpeedForm panel(&owner);
    panel.SetFrame(&frame);
    panel.SetStyle(dsIcon);
    auto* edit = new QLineEdit(&panel);
    auto* link = new TFieldDataLink(edit);
    link->OnDataChange = [=] {
        edit->setText(link->Field() ? link->Field()->AsString() : QString());
    };
    link->OnUpdateData = [=] { link->Field()->SetAsString(edit->text()); };
    QObject::connect(edit, &QLineEdit::textEdited, edit, [=] {
        if (link->Edit())
            link->Modified();
    });
    link->SetDataSource(&data->dsDocument);
    link->SetFieldName(QStringLiteral("Name"));
    auto* ok = new TModalButton(QStringLiteral("OK"), &panel);
    ok->move(0, 40);
    ok->SetModalResult(mrOk);
    ok->OnClick = [&] {
        if (data->Document.State() != TDataSetState::dsBrowse)
            data->Document.Post();
    };
    panel.SetClientSize(300, 80);

    data->Document.Next();
    int result = RunWith(panel, [&](QDialog& d) {
        EXPECT_EQ(edit->window(), &d);
        EXPECT_EQ(edit->text(), QStringLiteral("Второй"));
        edit->selectAll();
        TypeText(edit, QStringLiteral("Третий"));
        EXPECT_EQ(data->Document.State(), TDataSetState::dsEdit);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name FROM Document WHERE Id = 2")).toString(),
              QStringLiteral("Третий"));
    EXPECT_EQ(edit->window(), &owner);

    // Still bound after the dialog closed: the editor follows the cursor.
    data->Document.First();
    EXPECT_EQ(edit->text(), QStringLiteral("Первый"));
    result = RunWith(panel, [&](QDialog& d) {
        EXPECT_EQ(edit->window(), &d);
        EXPECT_EQ(edit->text(), QStringLiteral("Первый"));
        data->Document.Next();
        EXPECT_EQ(edit->text(), QStringLiteral("Третий"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
}

}  // namespace
