#include "PreviewForm.h"

#include "EngineState.h"
#include "PaintBox.h"
#include "PreparedPages.h"
#include "PreviewCommands.h"
#include "PreviewFind.h"
#include "PreviewToolbar.h"
#include "PreviewView.h"
#include "PrintCommands.h"
#include "Report.h"
#include "UiServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <algorithm>

namespace {

constexpr int kSmallChange = 10;
constexpr int kLargeChange = 200;

// The help context of a control, or of the nearest control around it that has one; 0 for none.
int HelpContextAt(QWidget* control, const QWidget* window) {
    for (QWidget* w = control; w && w != window; w = w->parentWidget()) {
        const QVariant context = w->property(frHelpContextProperty);
        if (context.isValid())
            return context.toInt();
    }
    return 0;
}

}  // namespace

TfrPreviewForm::TfrPreviewForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrPreviewForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print preview"));
    setWindowState(Qt::WindowMaximized);

    toolbar_ = new TfrPreviewToolbar(this);
    view_ = new TfrPreviewView(this);
    view_->OwnKeys = false;
    view_->ZoomShown = [this](int percent) { toolbar_->ShowZoom(percent); };

    toolbar_->OnZoom = [this] { ZoomBtnClick(); };
    toolbar_->OnLoad = [this] { LoadBtnClick(); };
    toolbar_->OnSave = [this] { SaveBtnClick(); };
    toolbar_->OnPrint = [this] { PrintBtnClick(); };
    toolbar_->OnPageSetup = [this] { PageSetupBtnClick(); };
    toolbar_->OnFind = [this] { FindBtnClick(); };
    toolbar_->OnHelp = [this] { HelpBtnClick(); };
    toolbar_->OnExit = [this] { ExitBtnClick(); };

    qApp->installEventFilter(this);
    resize(640, 480);
}

TfrPreviewForm::~TfrPreviewForm() {
    qApp->removeEventFilter(this);
    if (helpMode_)
        QApplication::restoreOverrideCursor();
    if (active_)
        FormDeactivate();
}

QString TfrPreviewForm::SettingsGroup() {
    return QStringLiteral("Form/TfrPreviewForm");
}

// --- showing -------------------------------------------------------------------------------

void TfrPreviewForm::ShowInWindow(TfrReport& report) {
    ConnectReport(report);
    if (mdiChild_)
        setWindowState(Qt::WindowNoState);
    else
        ReadPlacement();
    if (const QString* help = frEngineState().ApplicationHelpFile)
        savedHelpFile_ = *help;
    if (report.ModalPreview)
        exec();
    else
        show();
}

void TfrPreviewForm::ConnectReport(TfrReport& report) {
    view_->SetShownReport(&report);
    view_->TakePages();
    toolbar_->Setup(report, true);
    view_->ResetView(true);
    view_->SetHPos(0);
    view_->SetVPos(0);
}

void TfrPreviewForm::ReadPlacement() {
    QSettings settings(QStringLiteral("Carvelle"));
    settings.beginGroup(SettingsGroup());
    const QRect current = normalGeometry().isValid() ? normalGeometry() : geometry();
    QRect placed(settings.value(QStringLiteral("XPosition"), current.x()).toInt(),
                 settings.value(QStringLiteral("YPosition"), current.y()).toInt(),
                 settings.value(QStringLiteral("Width"), current.width()).toInt(),
                 settings.value(QStringLiteral("Height"), current.height()).toInt());
    // A window kept on a screen that is gone comes back onto this one.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        placed.setSize(placed.size().boundedTo(area.size()).expandedTo(QSize(200, 150)));
        if (!area.intersects(placed))
            placed.moveTopLeft(area.topLeft());
    }
    const bool maximized = settings.value(QStringLiteral("Maximized"), true).toBool();
    setWindowState(Qt::WindowNoState);
    setGeometry(placed);
    if (maximized)
        setWindowState(Qt::WindowMaximized);
}

void TfrPreviewForm::StorePlacement() {
    if (mdiChild_ || placementStored_)
        return;
    placementStored_ = true;
    const QRect normal =
        isMaximized() && normalGeometry().isValid() ? normalGeometry() : geometry();
    QSettings settings(QStringLiteral("Carvelle"));
    settings.beginGroup(SettingsGroup());
    settings.setValue(QStringLiteral("XPosition"), normal.x());
    settings.setValue(QStringLiteral("YPosition"), normal.y());
    settings.setValue(QStringLiteral("Width"), normal.width());
    settings.setValue(QStringLiteral("Height"), normal.height());
    settings.setValue(QStringLiteral("Maximized"), isMaximized());
}

void TfrPreviewForm::done(int result) {
    StorePlacement();
    QDialog::done(result);
}

void TfrPreviewForm::closeEvent(QCloseEvent* event) {
    StorePlacement();
    QDialog::closeEvent(event);
}

void TfrPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int top = TfrPreviewToolbar::kHeight;
    toolbar_->setGeometry(0, 0, width(), top);
    view_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void TfrPreviewForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow() && !active_)
        FormActivate();
    else if (!isActiveWindow() && active_)
        FormDeactivate();
}

void TfrPreviewForm::FormActivate() {
    active_ = true;
    TfrEngineState* state = frEngineStateIfRunning();
    if (state && state->ApplicationHelpFile)
        *state->ApplicationHelpFile = state->UserHelpFile;
    view_->PaintBox()->setFocus();
}

void TfrPreviewForm::FormDeactivate() {
    active_ = false;
    TfrEngineState* state = frEngineStateIfRunning();
    if (state && state->ApplicationHelpFile)
        *state->ApplicationHelpFile = savedHelpFile_;
}

// --- TfrPagesView --------------------------------------------------------------------------

TfrReport* TfrPreviewForm::ShownReport() const {
    return view_->ShownReport();
}

TfrEMFPages* TfrPreviewForm::ShownPages() const {
    return view_->ShownPages();
}

int TfrPreviewForm::CurrentPage() const {
    return view_->CurrentPage();
}

void TfrPreviewForm::ReturnPages() {
    view_->ReturnPages();
}

void TfrPreviewForm::TakePages() {
    view_->TakePages();
}

void TfrPreviewForm::ResetView(bool resetPosition) {
    view_->ResetView(resetPosition);
}

QWidget* TfrPreviewForm::DialogOwner() const {
    return const_cast<TfrPreviewForm*>(this);
}

// --- commands ------------------------------------------------------------------------------

void TfrPreviewForm::ZoomBtnClick() {
    frZoomBtnClick(*view_, toolbar_->ZoomBtn);
}

void TfrPreviewForm::LoadBtnClick() {
    frLoadBtnClick(*view_, this);
}

void TfrPreviewForm::SaveBtnClick() {
    frSaveBtnClick(*view_, this);
}

void TfrPreviewForm::PrintBtnClick() {
    frPrintBtnClick(*this);
}

void TfrPreviewForm::PageSetupBtnClick() {
    frPageSetupBtnClick(*this);
}

void TfrPreviewForm::FindBtnClick() {
    frFindBtnClick(*view_, this);
}

void TfrPreviewForm::ExitBtnClick() {
    if (!ShownReport())
        return;
    if (isModal())
        done(QDialog::Accepted);
    else
        close();
}

void TfrPreviewForm::HelpBtnClick() {
    if (helpMode_) {
        EndHelpMode();
        return;
    }
    helpMode_ = true;
    toolbar_->HelpBtn->setChecked(true);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    grabMouse();
}

void TfrPreviewForm::EndHelpMode() {
    helpMode_ = false;
    QApplication::restoreOverrideCursor();
    releaseMouse();
    toolbar_->HelpBtn->setChecked(false);
}

void TfrPreviewForm::mousePressEvent(QMouseEvent* event) {
    if (!helpMode_) {
        QDialog::mousePressEvent(event);
        return;
    }
    EndHelpMode();
    QWidget* control = childAt(event->position().toPoint());
    if (control == toolbar_->HelpBtn)
        return;
    const int context = HelpContextAt(control, this);
    TfrEngineState* state = frEngineStateIfRunning();
    if (context != 0 && state && state->Services)
        state->Services->HelpTopic(state->UserHelpFile, context);
}

// --- keyboard ------------------------------------------------------------------------------

bool TfrPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this)
        return false;
    return FormKeyDown(*static_cast<QKeyEvent*>(event));
}

bool TfrPreviewForm::FormKeyDown(const QKeyEvent& event) {
    if (helpMode_ && event.key() == Qt::Key_Escape) {
        EndHelpMode();
        return true;
    }
    if (view_->PageCount() == 0)
        return false;
    TfrPreviewView& v = *view_;
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    switch (event.key()) {
        case Qt::Key_Up:
            v.SetVPos(v.VPos() - kSmallChange);
            return true;
        case Qt::Key_Down:
            v.SetVPos(v.VPos() + kSmallChange);
            return true;
        case Qt::Key_Left:
            v.SetHPos(v.HPos() - kSmallChange);
            return true;
        case Qt::Key_Right:
            v.SetHPos(v.HPos() + kSmallChange);
            return true;
        case Qt::Key_PageUp:
            if (ctrl)
                v.PgUpClick();
            else
                v.SetVPos(v.VPos() - kLargeChange);
            return true;
        case Qt::Key_PageDown:
            if (ctrl)
                v.PgDownClick();
            else
                v.SetVPos(v.VPos() + kLargeChange);
            return true;
        case Qt::Key_Space:
            ZoomBtnClick();
            return true;
        case Qt::Key_Escape:
            ExitBtnClick();
            return true;
        case Qt::Key_Home:
            if (!ctrl)
                return false;
            v.SetVPos(0);
            return true;
        case Qt::Key_End:
            if (!ctrl)
                return false;
            v.SetCurrentPage(v.PageCount());
            v.ScrollToCurrentPage();
            v.UpdatePageLabel();
            return true;
        case Qt::Key_F3:
            if (!ctrl && !v.Search().FindText.isEmpty()) {
                frContinueFromCurrentPage(v);
                frFindNext(v);
            }
            return true;
        default:
            break;
    }
    if (!ctrl)
        return false;
    // Within the window, Ctrl with any other key does nothing but these.
    switch (event.key()) {
        case Qt::Key_O:
            LoadBtnClick();
            break;
        case Qt::Key_S:
            SaveBtnClick();
            break;
        case Qt::Key_P:
            if (toolbar_->PrintBtn->isEnabled())
                PrintBtnClick();
            break;
        case Qt::Key_F:
            FindBtnClick();
            break;
        default:
            break;
    }
    return true;
}

// --- the engine's side ---------------------------------------------------------------------

void frShowInPreviewWindow(TfrReport& report) {
    QString caption = QStringLiteral("Предварительный просмотр");
    if (!report.Title.isEmpty())
        caption += QStringLiteral(" - ") + report.Title;
    // A window of its own, not a child of the one in front: it outlives that one.
    auto* form = new TfrPreviewForm;
    form->setWindowTitle(caption);
    form->SetMdiChild(report.MDIPreview);
    // The window goes with the report.
    QObject::connect(&report, &QObject::destroyed, form, &QWidget::close);
    form->ShowInWindow(report);
}
