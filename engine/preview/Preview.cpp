#include "Preview.h"

#include "Engine.h"
#include "Page.h"
#include "PaintBox.h"
#include "PreparedPages.h"
#include "PreviewCommands.h"
#include "PreviewFind.h"
#include "PreviewForm.h"
#include "PreviewToolbar.h"
#include "PreviewView.h"

#include <QEvent>
#include <QWheelEvent>

namespace {

constexpr int kEmbeddedWheelFactor = 3;

}  // namespace

TfrPreview::TfrPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    toolbar_ = new TfrPreviewToolbar(this);
    toolbar_->hide();
    view_ = new TfrPreviewView(this);
    view_->hide();
    view_->PageChanged = [this] { NotifyPageChanged(); };
    view_->ZoomShown = [this](int percent) { toolbar_->ShowZoom(percent); };
    toolbar_->OnZoom = [this] { frZoomBtnClick(*view_, toolbar_->ZoomBtn); };
    toolbar_->OnLoad = [this] { frLoadBtnClick(*view_, window()); };
    toolbar_->OnSave = [this] { frSaveBtnClick(*view_, window()); };
    toolbar_->OnPrint = [this] { PrintReport(); };
    toolbar_->OnPageSetup = [this] { SetUpPage(); };
    toolbar_->OnFind = [this] { frFindBtnClick(*view_, window()); };
    setFocusProxy(view_->PaintBox());
    SetScrollBars(ssBoth);
}

TfrPreview::~TfrPreview() = default;

void TfrPreview::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    view_->SetPanelsVisible(style == ssBoth || style == ssVertical,
                            style == ssBoth || style == ssHorizontal);
}

void TfrPreview::SetShowToolbar(bool show) {
    showToolbar_ = show;
    toolbar_->setVisible(show);
    ArrangeToolbar();
}

void TfrPreview::ArrangeToolbar() {
    QRect area = contentsRect();
    if (showToolbar_) {
        toolbar_->setGeometry(area.x(), area.y(), area.width(), TfrPreviewToolbar::kHeight);
        area.setTop(area.top() + TfrPreviewToolbar::kHeight);
    }
    view_->setGeometry(area);
}

void TfrPreview::SetPopupMenu(QMenu* menu) {
    view_->OwnerPopup = menu;
}

TfrReport* TfrPreview::ShownReport() const {
    return view_->ShownReport();
}

TfrEMFPages* TfrPreview::ShownPages() const {
    return view_->ShownPages();
}

int TfrPreview::CurrentPage() const {
    return view_->CurrentPage();
}

void TfrPreview::ConnectReport(TfrReport& report) {
    ArrangeToolbar();
    view_->show();
    view_->SetShownReport(&report);
    view_->TakePages();
    toolbar_->Setup(report, false);
    if (report.InitialZoom != pzDefault)
        TfrPreviewView::Remembered().LastZoomMode = report.InitialZoom;
    view_->ResetView(true);

    QWidget* host = window() != this ? window() : nullptr;
    if (host != host_) {
        if (host_)
            host_->removeEventFilter(this);
        host_ = host;
        if (host_)
            host_->installEventFilter(this);
    }
    view_->SetWheelFactor(kEmbeddedWheelFactor);
}

void TfrPreview::ReturnPages() {
    view_->ReturnPages();
}

void TfrPreview::TakePages() {
    view_->TakePages();
}

void TfrPreview::ResetView(bool resetPosition) {
    view_->ResetView(resetPosition);
}

QWidget* TfrPreview::DialogOwner() const {
    return window();
}

void TfrPreview::GoToPage(int page) {
    view_->GoToPage(page);
}

int TfrPreview::PageCount() const {
    return view_->PageCount();
}

void TfrPreview::SetZoomPercent(double percent) {
    view_->SetZoomPercent(percent);
}

void TfrPreview::FitPageWidth() {
    view_->SetFitMode(pzPageWidth);
}

void TfrPreview::ShowWholePage() {
    view_->SetFitMode(pzOnePage);
}

void TfrPreview::ShowTwoPages() {
    view_->SetFitMode(pzTwoPages);
}

void TfrPreview::NextPage() {
    GoToPage(CurrentPage() + 1);
}

void TfrPreview::PreviousPage() {
    GoToPage(CurrentPage() - 1);
}

void TfrPreview::PrintReport() {
    if (OnPrint)
        OnPrint(*this);
}

void TfrPreview::SetUpPage() {
    if (OnPageSetup)
        OnPageSetup(*this);
}

void TfrPreview::NotifyPageChanged() {
    if (OnPageChanged)
        OnPageChanged(*this, CurrentPage());
}

void TfrPreview::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    ArrangeToolbar();
    view_->Relayout();
}

bool TfrPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Wheel)
        view_->Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
    return false;  // the host sees its wheel events too
}

void frStartPreview(TfrEngine& engine) {
    engine.State().Hooks.ShowPreparedPages = [](TfrReport& report) {
        if (report.PreparedPages->Count() == 0)
            return;  // a connected preview keeps what it showed
        if (!report.Preview) {
            frShowInPreviewWindow(report);
            return;
        }
        if (auto* view = dynamic_cast<TfrPagesView*>(report.Preview.data()))
            view->ConnectReport(report);
    };
}
