#include "WaitTimings.h"

#include "PaintBox.h"
#include "PreviewView.h"
#include "Preview.h"
#include "PrintRep.h"
#include "Quillbox.h"
#include "main.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kGiveUpMs = 60'000;

void Print(const char* what, const QElapsedTimer& clock) {
    std::fprintf(stderr, "%s %.1f ms\n", what, double(clock.nsecsElapsed()) / 1e6);
}

}  // namespace

std::unique_ptr<WaitTimings> WaitTimings::FromEnvironment(const QElapsedTimer& sinceMain,
                                                          Quillbox& app) {
    const QByteArray wanted = qgetenv("QUILLBOX_TIMING");
    if (wanted.isEmpty())
        return nullptr;
    if (wanted != "startup" && wanted != "preview") {
        std::fprintf(stderr, "QUILLBOX_TIMING: startup or preview, not %s\n", wanted.constData());
        return nullptr;
    }
    return std::unique_ptr<WaitTimings>(new WaitTimings(sinceMain, app, wanted == "preview"));
}

WaitTimings::WaitTimings(const QElapsedTimer& sinceMain, Quillbox& app, bool preview)
    : app_(app), preview_(preview), clock_(sinceMain) {
    watched_ = app_.fMain.get();
    watched_->installEventFilter(this);
    QTimer::singleShot(kGiveUpMs, this, [this] { Fail(QStringLiteral("not reached")); });
}

bool WaitTimings::eventFilter(QObject* watched, QEvent* event) {
    // The page turn counts once the next page is on the screen, not at an earlier paint.
    const bool turned = step_ != Step::PageTurn || app_.fPrintRep->Preview->CurrentPage() != page_;
    if (watched == watched_ && event->type() == QEvent::Paint && !pending_ && turned) {
        pending_ = true;
        QTimer::singleShot(0, this, [this] { Reached(); });
    }
    return false;
}

void WaitTimings::Reached() {
    pending_ = false;
    watched_->removeEventFilter(this);
    switch (step_) {
        case Step::MainWindow: {
            Print("startup", clock_);
            if (!preview_) {
                QCoreApplication::exit(0);
                return;
            }
            QAction* print = PrintAction();
            QWidget* box = app_.fPrintRep->Preview->View().PaintBox();
            if (!print || !print->isEnabled() || !box) {
                Fail(QStringLiteral("F9 cannot be pressed"));
                return;
            }
            step_ = Step::Preview;
            watched_ = box;
            watched_->installEventFilter(this);
            clock_.start();
            print->trigger();  // the preview runs modally from here
            return;
        }
        case Step::Preview: {
            Print("preview", clock_);
            step_ = Step::PageTurn;
            page_ = app_.fPrintRep->Preview->CurrentPage();
            watched_->installEventFilter(this);
            QWidget* target = QApplication::focusWidget();
            if (!target)
                target = app_.fPrintRep.get();
            clock_.start();
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier));
            return;
        }
        case Step::PageTurn:
            Print("page turn", clock_);
            QCoreApplication::exit(0);
            return;
    }
}

void WaitTimings::Fail(const QString& why) {
    std::fprintf(stderr, "QUILLBOX_TIMING: %s\n", qPrintable(why));
    QCoreApplication::exit(1);
}

QAction* WaitTimings::PrintAction() const {
    for (QAction* action : app_.fMain->findChildren<QAction*>()) {
        if (action->shortcut() == QKeySequence(Qt::Key_F9))
            return action;
    }
    return nullptr;
}
