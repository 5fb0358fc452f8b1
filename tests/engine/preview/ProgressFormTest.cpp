#include "EngineStrings.h"
#include "Failure.h"
#include "Page.h"
#include "ProgressForm.h"
#include "Report.h"
#include "ReportFixture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

class ProgressFormTest : public ReportFixture {
protected:
    TfrProgressForm form;
    TfrReport report;
};

TEST_F(ProgressFormTest, TheWindowAsLaidOut) {
    EXPECT_EQ(form.size(), QSize(278, 106));
    EXPECT_EQ(form.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(form.font().pointSize(), 8);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowSystemMenuHint);

    EXPECT_EQ(form.Label1Widget()->geometry().topLeft(), QPoint(20, 26));
    EXPECT_EQ(form.Label1Widget()->width(), 237);
    EXPECT_EQ(form.Label2Widget()->geometry().topLeft(), QPoint(20, 42));
    EXPECT_EQ(form.Label2Widget()->width(), 237);
    EXPECT_TRUE(form.Label1Widget()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(form.Label2Widget()->alignment() & Qt::AlignHCenter);

    EXPECT_EQ(form.Button1()->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(form.Button1()->geometry(), QRect(100, 68, 75, 25));
}

TEST_F(ProgressFormTest, TheWorkRunsOnceTheWindowIsUp) {
    // As preparation sets it up.
    form.SetCaption(frLoadStr(55203));
    form.SetStepText(frLoadStr(55205));
    form.SetLabel1(form.StepText() + QStringLiteral("  1"));
    form.Label2Widget()->setText(QStringLiteral("прежний текст"));
    form.Button1()->setText(QStringLiteral("Стоп"));

    struct Seen {
        bool visible{false};
        bool modal{false};
        QString title;
        QString label1;
        QString label2;
        QString button;
        TfrReport* report{nullptr};
    };
    QList<Seen> calls;
    form.SetWorkHandler([&](TfrProgressWindow& window) {
        EXPECT_EQ(&window, static_cast<TfrProgressWindow*>(&form));
        calls.append({form.isVisible(), QApplication::activeModalWidget() == &form,
                      form.windowTitle(), form.Label1Widget()->text(), form.Label2Widget()->text(),
                      form.Button1()->text(), window.Report()});
        window.SetLabel1(window.StepText() + QStringLiteral("  2"));
        window.SetModalResult(mrOk);
    });

    EXPECT_EQ(form.RunProgress(report), mrOk);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].visible);
    EXPECT_TRUE(calls[0].modal);
    EXPECT_EQ(calls[0].title, QStringLiteral("Подготовка отчета"));
    EXPECT_EQ(calls[0].label1, QStringLiteral("Формируется страница:  1"));
    EXPECT_EQ(calls[0].label2, QString());
    EXPECT_EQ(calls[0].button, QStringLiteral("Отмена"));
    EXPECT_EQ(calls[0].report, &report);
    EXPECT_EQ(form.Label1(), QStringLiteral("Формируется страница:  2"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(report.CancelRequested);

    // The window is reused: a second run calls the handler again, once.
    EXPECT_EQ(form.RunProgress(report), mrOk);
    EXPECT_EQ(calls.size(), 2);
}

TEST_F(ProgressFormTest, EveryWayAHandlerEndsClosesTheWindow) {
    struct Case {
        const char* name;
        std::function<void(TfrProgressWindow&)> work;
        int result;
    };
    // None of these lets pending events through.
    const Case cases[] = {
        {"OK", [](TfrProgressWindow& w) { w.SetModalResult(mrOk); }, mrOk},
        {"Cancel", [](TfrProgressWindow& w) { w.SetModalResult(mrCancel); }, mrCancel},
        {"no result", [](TfrProgressWindow&) {}, mrOk},
        {"no result after a cancel request",
         [this](TfrProgressWindow&) { report.CancelRequested = true; }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report.CancelRequested = false;
        form.SetWorkHandler(c.work);
        EXPECT_EQ(form.RunProgress(report), c.result);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(ProgressFormTest, EscapePressesCancelBetweenSteps) {
    QSignalSpy clicks(form.Button1(), &QPushButton::clicked);
    bool cancelledByEnter = false;
    int steps = 0;
    form.SetWorkHandler([&](TfrProgressWindow& window) {
        // The user presses Enter, then Escape, while the work runs.
        QTimer::singleShot(0, &form, [&] {
            QTest::keyClick(&form, Qt::Key_Return);
            cancelledByEnter = report.CancelRequested;
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        while (!report.CancelRequested && steps < 100) {
            ++steps;
            window.SetLabel1(QStringLiteral("Формируется страница:  %1").arg(steps));
            QCoreApplication::processEvents();
        }
        window.SetModalResult(report.CancelRequested ? mrCancel : mrOk);
    });

    EXPECT_EQ(form.RunProgress(report), mrCancel);
    EXPECT_FALSE(cancelledByEnter);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(report.CancelRequested);
    EXPECT_LT(steps, 100);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ProgressFormTest, AFailureOfTheWorkClosesTheWindowAndReachesTheCaller) {
    form.SetWorkHandler([](TfrProgressWindow&) { throw Failure(QStringLiteral("Сбой")); });
    try {
        form.RunProgress(report);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Сбой"));
    }
    EXPECT_FALSE(form.isVisible());

    // A run inside a run is refused the same way.
    form.SetWorkHandler([&](TfrProgressWindow&) { form.RunProgress(report); });
    EXPECT_THROW(form.RunProgress(report), Failure);
    EXPECT_FALSE(form.isVisible());

    // The window is usable afterwards.
    form.SetWorkHandler([](TfrProgressWindow& w) { w.SetModalResult(mrOk); });
    EXPECT_EQ(form.RunProgress(report), mrOk);
}

TEST_F(ProgressFormTest, TheEngineOwnsItsProgressWindow) {
    EXPECT_EQ(engine->ProgressWindow(), nullptr);
    frStartProgressWindow(*engine);
    QPointer<TfrProgressForm> first = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    ASSERT_FALSE(first.isNull());
    frStartProgressWindow(*engine);
    EXPECT_TRUE(first.isNull());
    QPointer<TfrProgressForm> second = dynamic_cast<TfrProgressForm*>(engine->ProgressWindow());
    engine.reset();
    EXPECT_TRUE(second.isNull());
}

}  // namespace
