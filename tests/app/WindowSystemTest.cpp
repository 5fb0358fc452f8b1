#include "Docs.h"
#include "EditValue.h"
#include "HelpWindow.h"
#include "QtUiServices.h"
#include "Quillbox.h"
#include "Schema.h"
#include "SpeedForm.h"
#include "TempDir.h"
#include "Value.h"
#include "WindowSystem.h"
#include "XSession.h"
#include "main.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

constexpr unsigned kMwmFunctions = 0x1;  // flags: the functions field is given
constexpr unsigned kMwmFuncAll = 0x1;
constexpr unsigned kMwmFuncClose = 0x20;

std::string Str(const QString& s) {
    return s.toStdString();
}

// The window manager has framed the window: it has told the window its frame.
bool Framed(QWidget& w) {
    return QTest::qWaitFor([&] { return XSession::HasProperty(w.winId(), "_NET_FRAME_EXTENTS"); },
                           5000);
}

// Closes the window the way the window manager's close box does (openbox: Alt+F4).
void CloseThroughWindowManager(quint64 window) {
    XSession::Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                              QStringLiteral("--sync"), QString::number(window)});
    XSession::Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+F4")});
}

// Runs `inside` once the modal window that `open` shows is framed; `open` must return after
// `inside` has closed it.
void WhileShown(const std::function<void()>& open, const std::function<void(QWidget&)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        ran = true;
        ASSERT_TRUE(Framed(*shown));
        inside(*shown);
    });
    open();
    EXPECT_TRUE(ran);
}

// The program's windows over a sample database, the main window shown maximised under openbox.
class WindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!WindowSystem())
            GTEST_SKIP() << "no X server with a window manager: " << Str(WindowSystemError());
        Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), true);
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(QB_HELP_FILE), dir.file(QStringLiteral("Quillbox.hlp"))));
        app = std::make_unique<Quillbox>(services);
        ASSERT_TRUE(app->Start(QCoreApplication::applicationFilePath()));
        app->fMain->showMaximized();
        ASSERT_TRUE(Framed(*app->fMain));
        const QRect screen = app->fMain->screen()->availableGeometry();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return app->fMain->frameGeometry().width() == screen.width(); }, 5000));
    }

    void TearDown() override {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TempDir dir;
    QtUiServices services;
    std::unique_ptr<Quillbox> app;
};

TEST_F(WindowSystemTest, TitlesAreTheCaptionsAlone) {
    const quint64 main = app->fMain->winId();
    for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
        SCOPED_TRACE(property);
        EXPECT_EQ(Str(XSession::Property(main, property)), "Formwright {" QB_FILE_VERSION "}");
    }

    struct Box {
        const char* name;
        std::function<void()> open;
        QString title;
    };
    const Box boxes[] = {
        {"short caption",
         [&] {
             app->frame.AskYesNo(QStringLiteral("Удаляем документ?\rЯнварь"),
                                 QStringLiteral("Удаление!"));
         },
         QStringLiteral("Удаление!")},
        {"empty caption",
         [&] {
             app->frame.ShowInfo(QStringLiteral("Нет ни одного созданного документа"), QString());
         },
         QString()},
        {"error box", [&] { app->frame.ShowError(QStringLiteral("Сбой")); },
         QStringLiteral("Formwright")},
    };
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        WhileShown(box.open, [&](QWidget& shown) {
            for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
                SCOPED_TRACE(property);
                EXPECT_TRUE(XSession::HasProperty(shown.winId(), property));
                EXPECT_EQ(Str(XSession::Property(shown.winId(), property)), Str(box.title));
            }
            qobject_cast<QMessageBox*>(&shown)->buttons().constFirst()->click();
        });
    }
}

TEST_F(WindowSystemTest, TheTemplateListAsksForNoCloseBoxAndAWindowManagersCloseChooses) {
    TfDocs& docs = *app->fDocs;
    int result = -1;
    WhileShown(
        [&] { result = docs.ShowModal(); },
        [&](QWidget& shown) {
            ASSERT_EQ(&shown, &docs);
            EXPECT_EQ(Str(XSession::Property(docs.winId(), "_NET_WM_NAME")),
                      "Список шаблонов документов");
            const QStringList hints =
                XSession::Property(docs.winId(), "_MOTIF_WM_HINTS").split(QStringLiteral(", "));
            ASSERT_GE(hints.size(), 2);
            bool ok = false;
            EXPECT_TRUE(hints[0].toUInt(&ok, 16) & kMwmFunctions);
            const unsigned functions = hints[1].toUInt(&ok, 16);
            EXPECT_FALSE(functions & (kMwmFuncAll | kMwmFuncClose))
                << Str(hints.join(QLatin1Char(',')));

            // openbox offers its close all the same: it chooses.
            CloseThroughWindowManager(docs.winId());
            if (!QTest::qWaitFor([&] { return !docs.isVisible(); }, 3000)) {
                ADD_FAILURE() << "the window manager's close left the list open";
                docs.Button3->click();
            }
        });
    EXPECT_EQ(result, 1);
}

TEST_F(WindowSystemTest, FieldListAndEditorOpenCentredOnTheMainWindowEveryTime) {
    const QPoint centre = app->fMain->frameGeometry().center();
    for (QDialog* window :
         {static_cast<QDialog*>(app->fValue.get()), static_cast<QDialog*>(app->fEditValue.get())}) {
        SCOPED_TRACE(Str(window->objectName()));
        QList<QRect> frames;
        for (int time = 0; time < 2; ++time) {
            WhileShown(
                [&] {
                    if (auto* list = qobject_cast<TfValue*>(window))
                        list->ShowModal();
                    else
                        qobject_cast<TfEditValue*>(window)->ShowModal();
                },
                [&](QWidget&) {
                    QTest::qWait(300);  // the frame's last move
                    frames << window->frameGeometry();
                    window->done(0);
                });
        }
        ASSERT_EQ(frames.size(), 2);
        EXPECT_LE((frames[0].topLeft() - frames[1].topLeft()).manhattanLength(), 2)
            << "first at " << frames[0].x() << "," << frames[0].y() << ", then at " << frames[1].x()
            << "," << frames[1].y();
        EXPECT_LE((frames[1].center() - centre).manhattanLength(), 3);
    }
}

TEST_F(WindowSystemTest, HelpIsAttachedToTheMainWindowAndEndsWithIt) {
    const quint64 main = app->fMain->winId();
    bool helpShown = false;
    QString extents;
    QString owner;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(Framed(*app->fMain));
        XSession::Run(QStringLiteral("xdotool"),
                      {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                       QString::number(app->fMain->winId())});
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return QApplication::activeWindow() == app->fMain.get(); }, 3000));
        app->fMain->actHelp->trigger();
        HelpWindow* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible())
                help = h;
        ASSERT_NE(help, nullptr);
        helpShown = true;
        ASSERT_TRUE(Framed(*help));
        extents = XSession::Property(help->winId(), "_NET_FRAME_EXTENTS");
        owner = XSession::Property(help->winId(), "WM_TRANSIENT_FOR");
        CloseThroughWindowManager(main);
    });
    // Still running after the main window has closed: fail and end.
    QTimer guard;
    bool stuck = false;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        stuck = true;
        QCoreApplication::quit();
    });
    guard.start(8000);
    EXPECT_EQ(app->Run(), 0);
    EXPECT_TRUE(helpShown);
    EXPECT_FALSE(stuck) << "the program went on after its main window was closed";
    // A window manager's frame without the resize grips under the buttons: as deep below as
    // at the sides.
    const QStringList frame = extents.split(QStringLiteral(", "));
    ASSERT_EQ(frame.size(), 4) << Str(extents);
    EXPECT_EQ(frame[3], frame[0]) << "frame " << Str(extents);
    EXPECT_TRUE(owner.endsWith(QStringLiteral("0x") + QString::number(main, 16))) << Str(owner);
}

// The program itself, started as a user starts it.
TEST(WindowSystemProgram, StartsWithoutWarningsUnderItsCaptionWithItsIconAndEndsOnClose) {
    if (!WindowSystem())
        GTEST_SKIP() << "no X server with a window manager: " << Str(WindowSystemError());
    TempDir dir;
    Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), true);
    QTemporaryDir runtime;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(QB_QUILLBOX_EXE), {});
    ASSERT_TRUE(program.waitForStarted(5000));

    quint64 main = 0;
    (void)QTest::qWaitFor(
        [&] {
            const QStringList ids =
                XSession::Run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--pid"), QString::number(program.processId())})
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& id : ids) {
                if (XSession::HasProperty(id.toULongLong(), "_NET_FRAME_EXTENTS"))
                    main = id.toULongLong();
            }
            return main != 0;
        },
        10000);
    ASSERT_NE(main, 0u) << "no window of the program appeared";
    EXPECT_EQ(Str(XSession::Property(main, "_NET_WM_NAME")), "Formwright {" QB_FILE_VERSION "}");
    EXPECT_TRUE(XSession::HasProperty(main, "_NET_WM_ICON")) << "the window has no icon";

    CloseThroughWindowManager(main);
    const bool ended = program.waitForFinished(8000);
    if (!ended)
        program.kill();
    EXPECT_TRUE(ended) << "the program went on after its main window was closed";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(Str(QString::fromLocal8Bit(program.readAllStandardError())), "");
}

}  // namespace
