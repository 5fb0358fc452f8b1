#include "WaitTimings.h"

#include "PaintBox.h"
#include "Preview.h"
#include "PreviewView.h"
#include "PrintRep.h"
#include "Quillbox.h"
#include "main.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kGiveUpMs = 300'000;

void Print(const char* what, const QElapsedTimer& clock) {
    std::fprintf(stderr, "%s %.1f ms\n", what, double(clock.nsecsElapsed()) / 1e6);
}

// The process's resident memory in MB, as the kernel counts it.
double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression rss(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                 QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = rss.match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024 : 0;
}

}  // namespace

std::unique_ptr<WaitTimings> WaitTimings::FromEnvironment(const QElapsedTimer& sinceMain,
                                                          Quillbox& app) {
    const QByteArray wanted = qgetenv("QUILLBOX_TIMING");
    if (wanted.isEmpty())
        return nullptr;
    Mode mode = Mode::Startup;
    if (wanted == "preview") {
        mode = Mode::Preview;
    } else if (wanted == "paging") {
        mode = Mode::Paging;
    } else if (wanted != "startup") {
        std::fprintf(stderr, "QUILLBOX_TIMING: startup, preview or paging, not %s\n",
                     wanted.constData());
        return nullptr;
    }
    return std::unique_ptr<WaitTimings>(new WaitTimings(sinceMain, app, mode));
}

WaitTimings::WaitTimings(const QElapsedTimer& sinceMain, Quillbox& app, Mode mode)
    : app_(app), mode_(mode), clock_(sinceMain) {
    watched_ = app_.fMain.get();
    watched_->installEventFilter(this);
    QTimer::singleShot(kGiveUpMs, this, [this] { Fail(QStringLiteral("not reached")); });
}

bool WaitTimings::eventFilter(QObject* watched, QEvent* event) {
    // A page turn counts once the next page is on the screen, not at an earlier paint.
    const bool turned = step_ != Step::PageTurn || CurrentPage() != page_;
    if (watched == watched_ && event->type() == QEvent::Paint && !pending_ && turned) {
        // Taken once the paint has been flushed to the screen.
        pending_ = true;
        QTimer::singleShot(0, this, [this] { Reached(); });
    }
    return false;
}

void WaitTimings::Reached() {
    pending_ = false;
    switch (step_) {
        case Step::MainWindow: {
            Print("startup", clock_);
            watched_->removeEventFilter(this);
            if (mode_ == Mode::Startup) {
                QCoreApplication::exit(0);
                return;
            }
            QAction* print = PrintAction();
            if (!print || !print->isEnabled()) {
                Fail(QStringLiteral("F9 cannot be pressed"));
                return;
            }
            step_ = Step::Preview;
            watched_ = app_.fPrintRep->Preview->View().PaintBox();
            watched_->installEventFilter(this);
            clock_.start();
            print->trigger();  // the preview runs modally from here
            return;
        }
        case Step::Preview:
            Print("preview", clock_);
            step_ = Step::PageTurn;
            residentBefore_ = ResidentMb();
            clock_.start();
            TurnPage();
            return;
        case Step::PageTurn:
            ++turns_;
            if (mode_ == Mode::Preview) {
                Print("page turn", clock_);
                QCoreApplication::exit(0);
                return;
            }
            if (CurrentPage() < app_.fPrintRep->Preview->PageCount()) {
                TurnPage();
                return;
            }
            std::fprintf(stderr, "paging %d pages %.1f ms a page, %.1f MB -> %.1f MB\n", turns_,
                         double(clock_.nsecsElapsed()) / 1e6 / turns_, residentBefore_,
                         ResidentMb());
            QCoreApplication::exit(0);
            return;
    }
}

// Page Down where the user's key would go.
void WaitTimings::TurnPage() {
    page_ = CurrentPage();
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = app_.fPrintRep.get();
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier));
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

int WaitTimings::CurrentPage() const {
    return app_.fPrintRep->Preview->CurrentPage();
}
