#include "PreviewView.h"

#include "Page.h"
#include "PaintBox.h"
#include "PreparedPages.h"
#include "PreviewLayout.h"
#include "PreviewToolbar.h"
#include "Rounding.h"

#include <QActionGroup>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kBarWidth = 16;
constexpr int kBottomHeight = 18;
constexpr int kSmallChange = 10;
constexpr int kLargeChange = 200;
constexpr int kWheelStep = 120;
constexpr quint32 kBackground = 0x808080;

struct ZoomEntry {
    const char* caption;
    int tag;
};
constexpr std::array<ZoomEntry, 10> kZoomEntries{{
    {"200%", 200},
    {"150%", 150},
    {"100%", 100},
    {"75%", 75},
    {"50%", 50},
    {"25%", 25},
    {"10%", 10},
    {"По ширине страницы", 1},
    {"Страница целиком", 2},
    {"Две страницы", 3},
}};

bool IsFitTag(int tag) {
    return tag >= 1 && tag <= 3;
}

QScrollBar* MakeBar(Qt::Orientation orientation, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setSingleStep(kSmallChange);
    bar->setPageStep(kLargeChange);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setRange(0, 0);
    bar->setEnabled(false);
    return bar;
}

QToolButton* MakePageButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->resize(kBarWidth, kBarWidth);
    return button;
}

}  // namespace

TfrRememberedZoom& TfrPreviewView::Remembered() {
    static TfrRememberedZoom zoom;
    return zoom;
}

TfrPreviewView::TfrPreviewView(QWidget* parent) : QWidget(parent) {
    scrollBox_ = new QWidget(this);
    rPanel_ = new QWidget(scrollBox_);
    paintBox_ = new TfrPBox(*this, scrollBox_);
    vScrollBar_ = MakeBar(Qt::Vertical, rPanel_);
    pgUp_ = MakePageButton(Qt::UpArrow, rPanel_);
    pgDown_ = MakePageButton(Qt::DownArrow, rPanel_);

    bPanel_ = new QWidget(this);
    bevel1_ = new QFrame(bPanel_);
    bevel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel1_->setGeometry(0, 1, 77, 17);
    label1_ = new QLabel(bPanel_);
    label1_->setGeometry(4, 3, 72, 14);
    hScrollBar_ = MakeBar(Qt::Horizontal, bPanel_);
    bevel1_->setProperty(frHelpContextProperty, 206);
    label1_->setProperty(frHelpContextProperty, 206);
    paintBox_->setProperty(frHelpContextProperty, 207);

    procMenu_ = new QMenu(this);
    auto* group = new QActionGroup(procMenu_);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ZoomEntry& entry : kZoomEntries) {
        QAction* action = procMenu_->addAction(QString::fromUtf8(entry.caption));
        action->setData(entry.tag);
        action->setCheckable(true);
        action->setChecked(entry.tag == 100);
        group->addAction(action);
        const int tag = entry.tag;
        connect(action, &QAction::triggered, this, [this, tag] { N3Click(tag); });
    }

    connect(vScrollBar_, &QScrollBar::valueChanged, this, &TfrPreviewView::VScrollBarChange);
    connect(hScrollBar_, &QScrollBar::valueChanged, this, &TfrPreviewView::HScrollBarChange);
    connect(pgUp_, &QToolButton::clicked, this, &TfrPreviewView::PgUpClick);
    connect(pgDown_, &QToolButton::clicked, this, &TfrPreviewView::PgDownClick);
    ArrangeParts();
}

TfrPreviewView::~TfrPreviewView() = default;

// --- the pages -----------------------------------------------------------------------------

int TfrPreviewView::PageCount() const {
    return shownPages_ ? shownPages_->Count() : 0;
}

void TfrPreviewView::TakePages() {
    highlight_.reset();
    shownPages_.reset();
    if (shownReport_)
        shownPages_ = shownReport_->TakePreparedPages();
}

void TfrPreviewView::ReturnPages() {
    if (shownReport_)
        shownReport_->ReturnPreparedPages(std::move(shownPages_));
    shownPages_.reset();
}

void TfrPreviewView::ReleasePages() {
    for (int i = 0; i < PageCount(); ++i) {
        TfrPreparedPage& page = shownPages_->RecordAt(i);
        page.Showing = false;
        page.LoadedPage.reset();
    }
}

// --- layout --------------------------------------------------------------------------------

void TfrPreviewView::ResetView(bool resetPosition) {
    scale_ = Remembered().LastScale;
    zoomMode_ = Remembered().LastZoomMode;
    CheckZoomEntry(zoomMode_ == pzDefault ? PercentTag(scale_ * 100) : static_cast<int>(zoomMode_));
    if (resetPosition) {
        currentPage_ = 1;
        originX_ = originY_ = prevHPos_ = prevVPos_ = 0;
        hScrollBar_->setValue(0);
        vScrollBar_->setValue(0);
    } else if (PageCount() > 0) {
        // Pages taken anew may be fewer than before.
        currentPage_ = std::clamp(currentPage_, 1, PageCount());
    }
    UpdatePageLabel();
    FormResize();
    ReleasePages();
    highlight_.reset();
    paintBox_->update();
}

void TfrPreviewView::Relayout() {
    ArrangeParts();
    FormResize();
}

void TfrPreviewView::ArrangeParts() {
    const bool right = !rPanel_->isHidden();
    const bool bottom = !bPanel_->isHidden();
    const int boxHeight = std::max(0, height() - (bottom ? kBottomHeight : 0));
    scrollBox_->setGeometry(0, 0, width(), boxHeight);
    bPanel_->setGeometry(0, height() - kBottomHeight, width(), kBottomHeight);

    const int barWidth = right ? kBarWidth : 0;
    paintBox_->setGeometry(0, 0, std::max(0, width() - barWidth), boxHeight);
    rPanel_->setGeometry(width() - kBarWidth, 0, kBarWidth, boxHeight);
    pgDown_->move(0, boxHeight - kBarWidth);
    pgUp_->move(0, pgDown_->y() - kBarWidth);
    vScrollBar_->setGeometry(0, 0, kBarWidth, std::max(0, pgUp_->y() - 1));
    const int left = 80;
    hScrollBar_->setGeometry(left, 1, std::max(0, width() - left - barWidth), kBarWidth);
}

void TfrPreviewView::FormResize() {
    const int count = PageCount();
    if (count == 0)
        return;
    layoutReady_ = false;
    highlight_.reset();

    std::vector<QSize> sheets;
    sheets.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TfrPageMetrics& m = shownPages_->RecordAt(i).Metrics;
        sheets.emplace_back(m.SheetWidth, m.SheetHeight);
    }
    const TfrPreviewLayout layout =
        frLayoutPreview(sheets, paintBox_->size(), zoomMode_, scale_, currentPage_);
    scale_ = layout.Scale;
    if (ZoomShown)
        ZoomShown(frRound(scale_ * 100));
    CheckZoomEntry(zoomMode_ == pzDefault ? PercentTag(frRound(scale_ * 100))
                                          : static_cast<int>(zoomMode_));
    for (int i = 0; i < count; ++i)
        shownPages_->RecordAt(i).ViewRect = layout.ViewRects[static_cast<std::size_t>(i)];

    ArrangeParts();
    // Moving a position into the new range runs its handler.
    hScrollBar_->setRange(0, layout.HMax);
    hScrollBar_->setEnabled(layout.HMax != 0);
    vScrollBar_->setRange(0, layout.VMax);
    vScrollBar_->setEnabled(layout.VMax != 0);
    ScrollToCurrentPage();
    layoutReady_ = true;
}

void TfrPreviewView::SetPanelsVisible(bool right, bool bottom) {
    rPanel_->setVisible(right);
    bPanel_->setVisible(bottom);
    Relayout();
}

// --- painting ------------------------------------------------------------------------------

void TfrPreviewView::PaintPages(Canvas& canvas) {
    if (!layoutReady_)
        return;
    const CanvasRect box{0, 0, paintBox_->width(), paintBox_->height()};
    const int count = PageCount();
    if (count == 0) {
        canvas.SetBrush({SysColor::BtnFace, CanvasBrush::Solid});
        canvas.FillRect(box);
        return;
    }

    canvas.SaveClip();
    const QRegion area = canvas.VisibleRegion();
    std::vector<CanvasRect> screen(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TfrPreparedPage& page = shownPages_->RecordAt(i);
        const CanvasRect r = page.ViewRect.Translated(originX_, originY_);
        screen[static_cast<std::size_t>(i)] = r;
        // Only a page wholly outside the box is left out, however tall the box is.
        const bool inBox = r.top < box.bottom && r.bottom > 0 && r.left < box.right && r.right > 0;
        page.Showing = inBox && area.intersects(r.ToQRect());
        if (page.Showing)
            canvas.ExcludeClipRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    }
    canvas.SetBrush({kBackground, CanvasBrush::Solid});
    canvas.FillRect(box);
    canvas.RestoreClip();

    canvas.SetPen({0x000000, 1, CanvasPen::Solid});
    canvas.SetBrush({0xFFFFFF, CanvasBrush::Solid});
    for (int i = 0; i < count; ++i) {
        if (!shownPages_->RecordAt(i).Showing)
            continue;
        const CanvasRect& r = screen[static_cast<std::size_t>(i)];
        canvas.Rectangle(r);
        canvas.Polyline({{r.left + 1, r.bottom}, {r.right, r.bottom}, {r.right, r.top + 1}});
    }

    for (int i = 0; i < count; ++i) {
        const TfrPreparedPage& page = shownPages_->RecordAt(i);
        if (!page.Showing) {
            shownPages_->DrawPage(i, canvas, {});  // releases its objects
            continue;
        }
        const CanvasRect& r = screen[static_cast<std::size_t>(i)];
        // Nothing of a page reaches past its sheet, as on paper.
        canvas.SaveClip();
        canvas.IntersectClipRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
        const CanvasRect target = PageTarget(page, r, scale_);
        if (PaintUnderPage)
            PaintUnderPage(i, canvas, r, scale_);
        shownPages_->DrawPage(i, canvas, target);
        canvas.RestoreClip();
    }
    if (highlight_)
        canvas.InvertRect(highlight_->Translated(originX_, originY_));
}

CanvasRect TfrPreviewView::PageTarget(const TfrPreparedPage& page, const CanvasRect& r,
                                      double scale) {
    if (page.WholeSheet)
        return r;
    const TfrPageMetrics& m = page.Metrics;
    const int left = r.left + frRound((m.OffsetX + page.LeftMargin) * scale);
    const int top = r.top + frRound((m.OffsetY + page.TopMargin) * scale);
    return {left, top, left + frRound((m.PrintWidth - page.LeftMargin - page.RightMargin) * scale),
            top + frRound((m.PrintHeight - page.TopMargin - page.BottomMargin) * scale)};
}

void TfrPreviewView::SetHighlight(const CanvasRect& rect) {
    highlight_ = rect;
}

void TfrPreviewView::ClearHighlight() {
    highlight_.reset();
}

// --- zoom ----------------------------------------------------------------------------------

int TfrPreviewView::PercentTag(double percent) const {
    for (const ZoomEntry& entry : kZoomEntries)
        if (!IsFitTag(entry.tag) && entry.tag == percent)
            return entry.tag;
    return 0;
}

void TfrPreviewView::CheckZoomEntry(int tag) {
    for (QAction* action : procMenu_->actions())
        action->setChecked(action->data().toInt() == tag);
}

int TfrPreviewView::CheckedZoomTag() const {
    for (const QAction* action : procMenu_->actions())
        if (action->isChecked())
            return action->data().toInt();
    return 0;
}

void TfrPreviewView::N3Click(int tag) {
    if (PageCount() == 0)
        return;
    originX_ = 0;
    if (IsFitTag(tag)) {
        zoomMode_ = static_cast<TfrPreviewZoom>(tag);
    } else {
        zoomMode_ = pzDefault;
        scale_ = tag / 100.0;
    }
    CheckZoomEntry(tag);
    hScrollBar_->setValue(0);
    FormResize();
    Remembered() = {scale_, zoomMode_};
    paintBox_->update();
}

void TfrPreviewView::SetZoomPercent(double percent) {
    scale_ = percent / 100;
    zoomMode_ = pzDefault;
    Remembered() = {scale_, zoomMode_};
    FormResize();
    paintBox_->repaint();
}

void TfrPreviewView::SetFitMode(TfrPreviewZoom mode) {
    zoomMode_ = mode;
    Remembered().LastZoomMode = mode;
    FormResize();
    paintBox_->repaint();
}

// --- scrolling -----------------------------------------------------------------------------

void TfrPreviewView::VScrollBarChange(int position) {
    if (PageCount() == 0)
        return;
    const int d = prevVPos_ - position;
    prevVPos_ = position;
    originY_ = -position;
    paintBox_->scroll(0, d);
    // The page under the line just below the top margin becomes current.
    const int line = position + 11;
    for (int i = 0; i < PageCount(); ++i) {
        const CanvasRect& r = shownPages_->RecordAt(i).ViewRect;
        if (r.top < line && line < r.bottom) {
            currentPage_ = i + 1;
            UpdatePageLabel();
            return;
        }
    }
}

void TfrPreviewView::HScrollBarChange(int position) {
    if (PageCount() == 0)
        return;
    const int d = prevHPos_ - position;
    prevHPos_ = position;
    originX_ = -position;
    paintBox_->scroll(d, 0);
}

void TfrPreviewView::WheelUp() {
    SetVPos(VPos() - vScrollBar_->singleStep() * wheelFactor_);
}

void TfrPreviewView::WheelDown() {
    SetVPos(VPos() + vScrollBar_->singleStep() * wheelFactor_);
}

void TfrPreviewView::Wheel(int angleDelta) {
    wheelRest_ += angleDelta;
    for (; wheelRest_ >= kWheelStep; wheelRest_ -= kWheelStep)
        WheelUp();
    for (; wheelRest_ <= -kWheelStep; wheelRest_ += kWheelStep)
        WheelDown();
}

void TfrPreviewView::SetHPos(int position) {
    hScrollBar_->setValue(position);
}

void TfrPreviewView::SetVPos(int position) {
    vScrollBar_->setValue(position);
}

int TfrPreviewView::HPos() const {
    return hScrollBar_->value();
}

int TfrPreviewView::VPos() const {
    return vScrollBar_->value();
}

// --- pages ---------------------------------------------------------------------------------

void TfrPreviewView::ScrollToCurrentPage() {
    const int count = PageCount();
    if (count == 0)
        return;
    const int index = std::clamp(currentPage_, 1, count) - 1;
    SetVPos(shownPages_->RecordAt(index).ViewRect.top - 10);
}

void TfrPreviewView::GoToPage(int page) {
    if (page < 1 || page > PageCount())
        return;
    currentPage_ = page;
    ScrollToCurrentPage();
}

void TfrPreviewView::ShowPage(int page) {
    if (PageCount() == 0)
        return;
    currentPage_ = page;
    UpdatePageLabel();
    ScrollToCurrentPage();
}

void TfrPreviewView::PgUpClick() {
    if (currentPage_ > 1)
        --currentPage_;
    UpdatePageLabel();
    ScrollToCurrentPage();
}

void TfrPreviewView::PgDownClick() {
    if (PageCount() == 0)
        return;
    ShowPage(std::min(currentPage_ + 1, PageCount()));
}

void TfrPreviewView::UpdatePageLabel() {
    if (PageCount() == 0) {
        label1_->clear();
        return;
    }
    if (PageChanged)
        PageChanged();
    label1_->setText(QStringLiteral("Стр. %1/%2").arg(currentPage_).arg(PageCount()));
}

// --- events --------------------------------------------------------------------------------

void TfrPreviewView::resizeEvent(QResizeEvent*) {
    Relayout();
}

void TfrPreviewView::wheelEvent(QWheelEvent* event) {
    Wheel(event->angleDelta().y());
    event->accept();
}

void TfrPreviewView::keyPressEvent(QKeyEvent* event) {
    if (!OwnKeys) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_PageUp:
            PgUpClick();
            break;
        case Qt::Key_PageDown:
            PgDownClick();
            break;
        case Qt::Key_Home:
            ShowPage(1);
            break;
        case Qt::Key_End:
            ShowPage(PageCount());
            break;
        case Qt::Key_Up:
            SetVPos(VPos() - kSmallChange);
            break;
        case Qt::Key_Down:
            SetVPos(VPos() + kSmallChange);
            break;
        case Qt::Key_Left:
            SetHPos(HPos() - kSmallChange);
            break;
        case Qt::Key_Right:
            SetHPos(HPos() + kSmallChange);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}
