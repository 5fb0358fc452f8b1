#include "ProgressForm.h"

#include "Engine.h"
#include "EngineStrings.h"
#include "Failure.h"
#include "Page.h"
#include "Report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <utility>

namespace {

constexpr int kCancelCaption = 55001;
// The private event the window posts itself before it shows: the work starts when it arrives.
constexpr QEvent::Type kRunWorkEvent = static_cast<QEvent::Type>(1025);

}  // namespace

TfrProgressForm::TfrProgressForm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setFixedSize(278, 106);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    label1_ = new QLabel(this);
    label1_->setGeometry(20, 26, 237, 16);
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label2_ = new QLabel(this);
    label2_->setGeometry(20, 42, 237, 16);
    label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    button1_ = new QPushButton(frLoadStr(kCancelCaption), this);
    button1_->setGeometry(100, 68, 75, 25);
    // Enter must not cancel a long run by accident; Escape does it on purpose.
    button1_->setAutoDefault(false);
    connect(button1_, &QPushButton::clicked, this, &TfrProgressForm::Button1Click);
}

TfrProgressForm::~TfrProgressForm() = default;

void TfrProgressForm::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TfrProgressForm::SetLabel1(const QString& text) {
    label1_->setText(text);
}

void TfrProgressForm::SetLabel2(const QString& text) {
    label2_->setText(text);
}

QString TfrProgressForm::Label1() const {
    return label1_->text();
}

TfrReport* TfrProgressForm::Report() const {
    return report_;
}

int TfrProgressForm::RunProgress(TfrReport& report) {
    if (running_)
        throw Failure(QStringLiteral("Окно хода работы уже занято другой работой"));
    button1_->setText(frLoadStr(kCancelCaption));
    report_ = &report;
    label2_->clear();
    failure_ = nullptr;
    resultSet_ = false;
    running_ = true;
    const auto stopped = qScopeGuard([this] { running_ = false; });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QCoreApplication::postEvent(this, new QEvent(kRunWorkEvent));
    const int result = exec();
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    return result;
}

void TfrProgressForm::SetModalResult(int result) {
    if (result == mrNone)
        return;
    resultSet_ = true;
    done(result);
}

void TfrProgressForm::Button1Click() {
    if (report_)
        report_->CancelRequested = true;
    SetModalResult(mrCancel);
}

bool TfrProgressForm::event(QEvent* e) {
    if (e->type() != kRunWorkEvent)
        return QDialog::event(e);
    if (running_ && !resultSet_)
        RunWork();
    return true;
}

void TfrProgressForm::reject() {
    button1_->click();
}

void TfrProgressForm::RunWork() {
    if (!workHandler_)
        return;
    try {
        const WorkHandler handler = workHandler_;
        handler(*this);
    } catch (...) {
        // Nothing may leave through the event loop: the failure closes the window and is
        // raised again by RunProgress.
        failure_ = std::current_exception();
        SetModalResult(mrCancel);
        return;
    }
    // A handler that forgot to end the run must not leave the window up for good.
    if (!resultSet_)
        SetModalResult(report_ && report_->CancelRequested ? mrCancel : mrOk);
}

void frStartProgressWindow(TfrEngine& engine) {
    engine.InstallProgressWindow(std::make_unique<TfrProgressForm>());
}
