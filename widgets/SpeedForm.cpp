#include "SpeedForm.h"

#include "PainterCanvas.h"
#include "Placement.h"

#include <QApplication>
#include <QChildEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace {

// dsWindow geometry: the frame left, right and below the container, and the container's top.
constexpr int kFrame = 4;
constexpr int kClientTop = 23;
constexpr int kParkedX = 200;
constexpr int kMinWidth = 104;
constexpr int kMinHeight = 28;

QWidget* OwnerWindow(QWidget* parent) {
    return parent ? parent->window() : nullptr;
}

// The application's main window, else the panel's own window.
QWidget* MainOrOwnWindow(QWidget* panel) {
    QWidget* main = MainWindowOf(*panel);
    return main ? main : panel->window();
}

bool ExplicitlyHidden(const QWidget* w) {
    return w->testAttribute(Qt::WA_WState_Hidden) &&
           w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// Moves w onto parent at the same position, shown unless it was hidden on purpose.
void Reparent(QWidget* w, QWidget* parent) {
    const bool hidden = ExplicitlyHidden(w);
    const QPoint at = w->pos();
    w->setParent(parent);
    w->move(at);
    if (!hidden)
        w->show();
}

}  // namespace

// --- dialog window

TTaskBarForm::TTaskBarForm(QWidget* owner, Qt::WindowFlags flags)
    : QDialog(owner, flags), owner_(owner) {}

void TTaskBarForm::SetShowOnTaskBar(bool show) {
    if (show == showOnTaskBar_)
        return;
    showOnTaskBar_ = show;
    // A window without a transient owner gets a task-bar button of its own.
    recreating_ = true;
    const bool shown = isVisible();
    const QPoint at = pos();
    setParent(show ? nullptr : owner_.data(), windowFlags());
    move(at);
    if (shown)
        QDialog::setVisible(true);
    recreating_ = false;
}

// --- inner container

TSpeedFormBox::TSpeedFormBox(TSpeedForm& panel) : panel_(panel) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(false);
    client_ = new QWidget;
    client_->installEventFilter(this);
    setWidget(client_);
    viewport()->installEventFilter(this);
}

void TSpeedFormBox::SetAutoScroll(bool on) {
    autoScroll_ = on;
    const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    UpdateClientSize();
}

bool TSpeedFormBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_) {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
            UpdateClientSize();
        } else if (event->type() == QEvent::ChildRemoved) {
            UpdateClientSize();
        }
    } else if (watched == viewport()) {
        if (event->type() == QEvent::Resize)
            UpdateClientSize();
    } else if (watched->parent() == client_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                UpdateClientSize();
                break;
            default:
                break;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

// The client is as large as what is shown, and with AutoScroll large enough for every control.
void TSpeedFormBox::UpdateClientSize() {
    QSize want = viewport()->size();
    if (autoScroll_) {
        QRect extent;
        for (QObject* o : client_->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && w->isVisibleTo(client_))
                extent |= w->geometry();
        }
        if (!extent.isNull())
            want = want.expandedTo(QSize(extent.right() + 1, extent.bottom() + 1));
    }
    if (client_->size() != want)
        client_->resize(want);
}

// --- the panel

TSpeedForm::TSpeedForm(QWidget* parent) : QWidget(OwnerWindow(parent)) {
    if (parent && parent != parentWidget())
        move(parent->mapTo(parentWidget(), QPoint(0, 0)));
    container_ = new TSpeedFormBox(*this);
    container_->setParent(this);
    container_->show();
    setMouseTracking(true);
    focusConnection_ = connect(
        qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* now) { SetActive(now && (now == this || isAncestorOf(now))); });
    SetStyle(dsWindow);
}

TSpeedForm::~TSpeedForm() {
    disconnect(focusConnection_);
    if (!dialog_)
        return;
    QDialog* dialog = dialog_;
    dialog->removeEventFilter(this);
    disconnect(dialog, nullptr, this, nullptr);
    if (showing_)
        dialog->done(mrCancel);
    dialog->hide();
    EndLoop();
    // The controls go with the panel, not with the window.
    if (container_ && container_->parentWidget() != this)
        container_->setParent(this);
    dialog->deleteLater();
}

bool TSpeedForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ChildAdded: {
            // Moved later: the child is still being made.
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType() && child != container_) {
                pending_.append(QPointer<QWidget>(static_cast<QWidget*>(child)));
                if (!adoptQueued_) {
                    adoptQueued_ = true;
                    QMetaObject::invokeMethod(
                        this, [this] { AdoptControls(); }, Qt::QueuedConnection);
                }
            }
            break;
        }
        case QEvent::ParentChange:
            if (parentWidget() && !parentWidget()->isWindow())
                QMetaObject::invokeMethod(
                    this, [this] { PlaceOnOwnerWindow(); }, Qt::QueuedConnection);
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void TSpeedForm::AdoptControls() {
    adoptQueued_ = false;
    const QList<QPointer<QWidget>> pending = std::exchange(pending_, {});
    for (const QPointer<QWidget>& w : pending) {
        if (w && w->parentWidget() == this && !w->isWindow() && w != container_)
            Reparent(w, Client());
    }
}

void TSpeedForm::PlaceOnOwnerWindow() {
    QWidget* parent = parentWidget();
    if (!parent || parent->isWindow())
        return;
    QWidget* owner = parent->window();
    const QPoint at = mapTo(owner, QPoint(0, 0));
    const bool wanted = visible_;
    setParent(owner);
    move(at);
    visible_ = wanted;
    ApplyVisibility();
}

void TSpeedForm::SetStyle(TSpeedFormStyle style) {
    style_ = style;
    if (style_ == dsWindow) {
        setMinimumSize(kMinWidth, kMinHeight);
        stored_ = stored_.expandedTo(QSize(kMinWidth, kMinHeight));
        resize(stored_);
        // Paint covers every pixel.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
    } else {
        setMinimumSize(0, 0);
        setFocusPolicy(Qt::NoFocus);
    }
    PlaceContainer();
    ApplyVisibility();
    update();
}

void TSpeedForm::setVisible(bool visible) {
    visible_ = visible;
    ApplyVisibility();
}

void TSpeedForm::ApplyVisibility() {
    QWidget::setVisible(visible_ && style_ == dsWindow);
}

bool TSpeedForm::ContainerOnPanel() const {
    return container_ && container_->parentWidget() == this;
}

void TSpeedForm::PlaceContainer() {
    if (!ContainerOnPanel())
        return;
    if (style_ == dsWindow)
        container_->setGeometry(kFrame, kClientTop, stored_.width() - 2 * kFrame,
                                stored_.height() - kClientTop - kFrame);
    else
        container_->move(kParkedX, kClientTop);
}

void TSpeedForm::SetBounds(int left, int top, int width, int height) {
    if (!parentWidget())
        return;
    if (style_ == dsWindow) {
        width = std::max(width, kMinWidth);
        height = std::max(height, kMinHeight);
    }
    stored_ = QSize(width, height);
    setGeometry(left, top, width, height);
    if (style_ == dsWindow)
        PlaceContainer();
}

void TSpeedForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (style_ == dsWindow && parentWidget() && size() != stored_) {
        stored_ = size();
        PlaceContainer();
    }
}

void TSpeedForm::SetClientSize(int width, int height) {
    SetBounds(x(), y(), width + 2 * kFrame, height + kClientTop + kFrame);
    if (ContainerOnPanel())
        container_->setGeometry(style_ == dsIcon ? kParkedX : kFrame, kClientTop, width, height);
}

QSize TSpeedForm::ClientSize() const {
    return container_->size();
}

void TSpeedForm::SetTabStop(bool on) {
    tabStop_ = on;
    if (style_ == dsWindow)
        setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
}

void TSpeedForm::SetActiveControl(QWidget* control) {
    AdoptControls();
    if (!control || control->parentWidget() == Client())
        activeControl_ = control;
}

void TSpeedForm::SetFocus() {
    if (dialog_) {
        dialog_->activateWindow();
        dialog_->raise();
    } else {
        setFocus();
    }
}

void TSpeedForm::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TSpeedForm::SetIcon(const QIcon& icon) {
    icon_ = icon;
    update();
    if (dialog_)
        dialog_->setWindowIcon(icon_.isNull() ? QApplication::windowIcon() : icon_);
}

void TSpeedForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    if (dialog_)
        ReapplyFlags();
}

void TSpeedForm::SetColor(quint32 color) {
    color_ = color;
    QPalette palette = Client()->palette();
    palette.setColor(QPalette::Window, CanvasColorToQColor(color_));
    Client()->setPalette(palette);
    update();
}

void TSpeedForm::SetWindowState(TWindowState state) {
    if (state != wsMinimized)
        windowState_ = state;
}

void TSpeedForm::SetShowOnTaskBar(bool on) {
    showOnTaskBar_ = on;
    auto* form = qobject_cast<TTaskBarForm*>(dialog_.data());
    if (!form)
        return;
    rebuilding_ = true;
    form->SetShowOnTaskBar(on);
    rebuilding_ = false;
}

void TSpeedForm::Run(const std::function<void()>& handler) {
    if (handler)
        Guard(handler);
}

// --- showing

int TSpeedForm::RunModal() {
    modalResult_ = -1;
    if (showing_ || (dialog_ && dialog_->isVisible()))
        return modalResult_;
    AdoptControls();
    QPointer<TSpeedForm> self(this);
    QEventLoop loop;
    showing_ = true;
    ended_ = false;
    loop_ = &loop;
    try {
        if (!dialog_)
            BuildDialog();
        if (self && !ended_) {
            dialog_->setWindowModality(Qt::ApplicationModal);
            if (windowState_ == wsMaximized)
                dialog_->setWindowState(Qt::WindowMaximized);
            dialog_->show();
            if (self && activeControl_ && activeControl_->window() == dialog_)
                activeControl_->setFocus(Qt::ActiveWindowFocusReason);
        }
        if (self && !ended_)
            loop.exec(QEventLoop::DialogExec);
    } catch (...) {
        if (self) {
            loop_ = nullptr;
            showing_ = false;
            Restore();
        }
        throw;
    }
    // The panel went during the showing; its destructor ended it with mrCancel.
    if (!self)
        return mrCancel;
    loop_ = nullptr;
    showing_ = false;
    // Ended without a result: by quitting, or the window was hidden.
    if (dialog_ && dialog_->result() == mrNone)
        dialog_->setResult(mrCancel);
    Restore();
    return modalResult_;
}

void TSpeedForm::SetModalResult(int result) {
    modalResult_ = result;
    if (showing_ && result != mrNone)
        CloseModal(result);
}

void TSpeedForm::CloseModal(int result) {
    if (!showing_ || !dialog_ || closing_ || ended_)
        return;
    QPointer<TSpeedForm> self(this);
    closing_ = true;
    bool canClose = true;
    if (OnCloseQuery)
        Guard([&] { canClose = OnCloseQuery(); });
    if (self && canClose)
        Run(OnClose);
    if (!self)
        return;
    if (canClose && dialog_) {
        dialog_->done(result);
        EndLoop();
    } else {
        modalResult_ = -1;
    }
    closing_ = false;
}

void TSpeedForm::EndLoop() {
    ended_ = true;
    if (loop_)
        loop_->exit(0);
}

Qt::WindowFlags TSpeedForm::DialogFlags() const {
    Qt::WindowFlags flags;
    switch (borderStyle_) {
        case bsNone:
            flags = Qt::Dialog | Qt::FramelessWindowHint;
            break;
        case bsToolWindow:
        case bsSizeToolWin:
            flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            break;
        default:
            flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            break;
    }
    // The buttons of the title bar all hang on the system menu. Minimising is refused, so
    // there is no minimise button.
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((borderIcons_ & biMaximize) && (borderStyle_ == bsSingle || borderStyle_ == bsSizeable))
            flags |= Qt::WindowMaximizeButtonHint;
        if (borderIcons_ & biHelp)
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (stayOnTop_)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

void TSpeedForm::BuildDialog() {
    // A window of the panel's, so that it goes with the panel, transient for its window.
    QDialog* dialog = formClass_ ? formClass_(this) : nullptr;
    if (!dialog)
        dialog = new TTaskBarForm(this);
    dialog_ = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    connect(dialog, &QObject::destroyed, this, [this] { EndLoop(); });
    dialog->setWindowFlags(DialogFlags());
    dialog->setWindowTitle(caption_);
    if (!icon_.isNull())
        dialog->setWindowIcon(icon_);

    const QSize client = container_->size();
    const bool sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
    if (sizeable) {
        dialog->setMinimumSize(constraints_.MinWidth, constraints_.MinHeight);
        dialog->setMaximumSize(
            constraints_.MaxWidth > 0 ? constraints_.MaxWidth : QWIDGETSIZE_MAX,
            constraints_.MaxHeight > 0 ? constraints_.MaxHeight : QWIDGETSIZE_MAX);
        dialog->resize(client);
    } else {
        dialog->setFixedSize(client);
    }
    dialog->setFont(font());
    dialog->setLayoutDirection(layoutDirection());
    if (color_ != SysColor::BtnFace) {
        QPalette palette = dialog->palette();
        palette.setColor(QPalette::Window, CanvasColorToQColor(color_));
        dialog->setPalette(palette);
    }
    if (auto* form = qobject_cast<TTaskBarForm*>(dialog))
        form->SetShowOnTaskBar(showOnTaskBar_);
    dialog->installEventFilter(this);

    container_->setParent(dialog);
    container_->setGeometry(QRect(QPoint(0, 0), dialog->size()));
    container_->show();
    PlaceDialog();
    Run(OnCreate);
}

void TSpeedForm::PlaceDialog() {
    QScreen* screen = window()->screen() ? window()->screen() : QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->availableGeometry() : QRect();
    QRect area;
    QWidget* ref = nullptr;
    switch (position_) {
        case poDesigned:
            dialog_->move(mapToGlobal(QPoint(0, 0)));
            return;
        case poScreenCenter:
        case poDesktopCenter:
            area = desk;
            break;
        case poMainFormCenter:
        case poOwnerFormCenter:
            ref = position_ == poMainFormCenter ? MainOrOwnWindow(this) : window();
            if (ref == this || !ref->isVisible())
                ref = nullptr;
            area = ref ? ref->frameGeometry() : desk;
            break;
        default:
            return;  // where the window system puts it
    }
    // The frame is not known before the window is shown; the owner's stands in for it.
    QWidget* framed = ref ? ref : (window() != this && window()->isVisible() ? window() : nullptr);
    const QSize frame = framed ? framed->frameGeometry().size() - framed->size() : QSize();
    dialog_->move(CentredTopLeft(dialog_->size() + frame, area, desk));
}

// Changing the flags of a shown window hides it; it is shown again without ending the showing.
void TSpeedForm::ReapplyFlags() {
    rebuilding_ = true;
    const bool shown = dialog_->isVisible();
    const QPoint at = dialog_->pos();
    dialog_->setWindowFlags(DialogFlags());
    dialog_->move(at);
    if (shown)
        dialog_->show();
    rebuilding_ = false;
}

// Only a window deleted by someone else takes the container with it.
void TSpeedForm::EnsureContainer() {
    if (container_)
        return;
    container_ = new TSpeedFormBox(*this);
    container_->setParent(this);
    container_->show();
    SetClientSize(stored_.width() - 2 * kFrame, stored_.height() - kClientTop - kFrame);
}

void TSpeedForm::Restore() {
    EnsureContainer();
    if (!dialog_)
        return;
    QDialog* dialog = dialog_;
    dialog->removeEventFilter(this);
    disconnect(dialog, nullptr, this, nullptr);
    Run(OnDestroy);
    dialog->hide();
    const QSize client = container_->size();
    if (!ContainerOnPanel()) {
        container_->setParent(this);
        container_->show();
    }
    SetClientSize(client.width(), client.height());
    modalResult_ = dialog->result();
    dialog_ = nullptr;
    dialog->deleteLater();
}

bool TSpeedForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != dialog_.data() || rebuilding_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            // Escape presses the cancel button, and does nothing without one: the buttons'
            // handlers decide what happens to the data.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
                break;
            for (TModalButton* button : dialog_->findChildren<TModalButton*>()) {
                if (button->Cancel() && button->isVisible() && button->isEnabled() &&
                    PanelOf(button) == this) {
                    button->click();
                    break;
                }
            }
            return true;
        }
        case QEvent::Close:
            // The close box and close(): mrCancel, if OnCloseQuery agrees.
            if (closing_ || !showing_)
                break;
            event->ignore();
            CloseModal(mrCancel);
            return true;
        case QEvent::Show:
            Run(OnShow);
            break;
        case QEvent::Hide:
            if (!event->spontaneous() && showing_) {
                Run(OnHide);
                EndLoop();
            }
            break;
        case QEvent::WindowActivate:
            Run(OnActivate);
            break;
        case QEvent::WindowDeactivate:
            Run(OnDeactivate);
            break;
        case QEvent::Resize:
            if (container_ && container_->parentWidget() == dialog_)
                container_->setGeometry(dialog_->rect());
            Run(OnResize);
            break;
        case QEvent::WindowStateChange:
            if (dialog_->windowState() & Qt::WindowMinimized)
                dialog_->setWindowState(dialog_->windowState() & ~Qt::WindowMinimized);
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

TSpeedForm* TSpeedForm::PanelOf(const QWidget* control) {
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        if (auto* box = qobject_cast<const TSpeedFormBox*>(w))
            return &box->Panel();
        if (auto* panel = qobject_cast<const TSpeedForm*>(w))
            return const_cast<TSpeedForm*>(panel);
    }
    return nullptr;
}

// --- dsWindow: drawing, focus and hit areas

void TSpeedForm::SetActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    update();
}

void TSpeedForm::Paint(Canvas& canvas) const {
    if (style_ != dsWindow)
        return;
    const int w = width();
    const int h = height();

    CanvasBrush brush;
    brush.color = active_ ? SysColor::ActiveCaption : SysColor::InactiveCaption;
    canvas.SetBrush(brush);
    canvas.FillRect({kFrame, kFrame, w - kFrame, 22});

    const QIcon icon = icon_.isNull() ? QApplication::windowIcon() : icon_;
    if (!icon.isNull())
        canvas.DrawIcon({6, 5, 22, 21}, icon);

    CanvasFont font;
    font.face = QStringLiteral("MS Sans Serif");
    font.size = 8;
    font.style = CanvasFont::Bold;
    font.color = active_ ? SysColor::CaptionText : SysColor::InactiveCaptionText;
    canvas.SelectFont(font);
    canvas.SetBackgroundMode(Canvas::Transparent);
    canvas.TextOut(24, 6, caption_);

    brush.color = SysColor::BtnFace;
    canvas.SetBrush(brush);
    canvas.FillRect({2, 2, kFrame, h - 2});
    canvas.FillRect({w - kFrame, 2, w - 2, h - 2});
    canvas.FillRect({kFrame, 2, w - kFrame, kFrame});
    canvas.FillRect({kFrame, h - kFrame, w - kFrame, h - 2});
    canvas.FillRect({kFrame, 22, w - kFrame, 24});
    // With the contents away in their dialog, the client area is blank.
    if (!ContainerOnPanel()) {
        brush.color = color_;
        canvas.SetBrush(brush);
        canvas.FillRect({kFrame, kClientTop, w - kFrame, h - kFrame});
    }

    CanvasPen pen;
    pen.color = SysColor::Window;
    canvas.SetPen(pen);
    canvas.Polyline({{1, h - 3}, {1, 1}, {w - 2, 1}});
    pen.color = SysColor::BtnShadow;
    canvas.SetPen(pen);
    canvas.Polyline({{w - 2, 1}, {w - 2, h - 2}, {0, h - 2}});
    pen.color = SysColor::DkShadow3D;
    canvas.SetPen(pen);
    canvas.Polyline({{w - 1, 0}, {w - 1, h - 1}, {-1, h - 1}});
    pen.color = SysColor::BtnFace;
    canvas.SetPen(pen);
    canvas.Polyline({{0, h - 2}, {0, 0}, {w - 1, 0}});
}

void TSpeedForm::paintEvent(QPaintEvent*) {
    PainterCanvas canvas(*this);
    Paint(canvas);
}

TSpeedFormHit TSpeedForm::HitTest(QPoint pos) const {
    if (style_ != dsWindow)
        return TSpeedFormHit::Client;
    // The container's rectangle; the top border is as deep as the left one.
    const int l = kFrame;
    const int t = kClientTop;
    const int r = width() - kFrame;
    const int b = height() - kFrame;
    const int x = pos.x();
    const int y = pos.y();
    if (x < l && y < l)
        return TSpeedFormHit::TopLeft;
    if (x < l && y > b)
        return TSpeedFormHit::BottomLeft;
    if (x > r && y < l)
        return TSpeedFormHit::TopRight;
    if (x > r && y > b)
        return TSpeedFormHit::BottomRight;
    if (x < l)
        return TSpeedFormHit::Left;
    if (x > r)
        return TSpeedFormHit::Right;
    if (y < l)
        return TSpeedFormHit::Top;
    if (y > b)
        return TSpeedFormHit::Bottom;
    if (y < t)
        return TSpeedFormHit::Caption;
    return TSpeedFormHit::Client;
}

void TSpeedForm::mousePressEvent(QMouseEvent* event) {
    const TSpeedFormHit area = HitTest(event->position().toPoint());
    if (event->button() != Qt::LeftButton || area == TSpeedFormHit::Client) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragArea_ = area;
    dragStart_ = event->globalPosition().toPoint();
    dragGeometry_ = geometry();
    raise();
    event->accept();
}

void TSpeedForm::mouseMoveEvent(QMouseEvent* event) {
    using H = TSpeedFormHit;
    if (dragArea_ == H::Client || !(event->buttons() & Qt::LeftButton)) {
        switch (HitTest(event->position().toPoint())) {
            case H::TopLeft:
            case H::BottomRight:
                setCursor(Qt::SizeFDiagCursor);
                break;
            case H::TopRight:
            case H::BottomLeft:
                setCursor(Qt::SizeBDiagCursor);
                break;
            case H::Left:
            case H::Right:
                setCursor(Qt::SizeHorCursor);
                break;
            case H::Top:
            case H::Bottom:
                setCursor(Qt::SizeVerCursor);
                break;
            default:
                unsetCursor();
                break;
        }
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint d = event->globalPosition().toPoint() - dragStart_;
    int left = dragGeometry_.left();
    int top = dragGeometry_.top();
    int right = left + dragGeometry_.width();
    int bottom = top + dragGeometry_.height();
    const H a = dragArea_;
    if (a == H::Caption) {
        left += d.x();
        right += d.x();
        top += d.y();
        bottom += d.y();
    }
    if (a == H::Left || a == H::TopLeft || a == H::BottomLeft)
        left = std::min(left + d.x(), right - kMinWidth);
    if (a == H::Right || a == H::TopRight || a == H::BottomRight)
        right = std::max(right + d.x(), left + kMinWidth);
    if (a == H::Top || a == H::TopLeft || a == H::TopRight)
        top = std::min(top + d.y(), bottom - kMinHeight);
    if (a == H::Bottom || a == H::BottomLeft || a == H::BottomRight)
        bottom = std::max(bottom + d.y(), top + kMinHeight);
    SetBounds(left, top, right - left, bottom - top);
    event->accept();
}

void TSpeedForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragArea_ != TSpeedFormHit::Client) {
        dragArea_ = TSpeedFormHit::Client;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// --- buttons

TModalButton::TModalButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    connect(this, &QPushButton::clicked, this, &TModalButton::Clicked);
}

void TModalButton::Clicked() {
    // The result is taken before the handler runs, as the handler may release the button.
    const int result = modalResult_;
    QPointer<TModalButton> self(this);
    QPointer<TSpeedForm> panel = TSpeedForm::PanelOf(this);
    if (OnClick) {
        const std::function<void()> handler = OnClick;
        const TFailureSink sink = panel ? static_cast<const TFailureSink&>(*panel) : *this;
        sink.Guard(handler);
    }
    if (result == mrNone)
        return;
    if (panel) {
        panel->SetModalResult(result);
    } else if (self) {
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(result);
    }
}
