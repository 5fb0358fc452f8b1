#pragma once

#include "Canvas.h"
#include "DBErrors.h"
#include "ModalResult.h"

#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <functional>

class QEventLoop;
class TSpeedForm;


enum TSpeedFormStyle { dsIcon = 0, dsWindow = 1 };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Limits of the dialog's client size; 0 is no limit.
struct TSizeConstraints {
    int MinWidth{0};
    int MinHeight{0};
    int MaxWidth{0};
    int MaxHeight{0};
};

// Where a point of a dsWindow panel lies: its client area, its caption bar (dragging moves the
// panel) or one of its borders and corners (dragging resizes it).
enum class TSpeedFormHit {
    Client,
    Caption,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// The dialog window a panel shows itself in. Without ShowOnTaskBar it is transient for its
// owner window and gets no task-bar button of its own; with it, it is a window of its own.
// Closing it any way but through a modal result gives mrCancel.
class TTaskBarForm : public QDialog {
    Q_OBJECT
public:
    explicit TTaskBarForm(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Dialog);

    bool ShowOnTaskBar() const { return showOnTaskBar_; }
    // Re-creates the window; a shown window is shown again at once.
    void SetShowOnTaskBar(bool show);
    QWidget* Owner() const { return owner_; }
    // True while the window is being re-created (it is hidden and shown again meanwhile).
    bool Recreating() const { return recreating_; }

    void reject() override { done(mrCancel); }

private:
    QPointer<QWidget> owner_;
    bool showOnTaskBar_{false};
    bool recreating_{false};
};

// The inner container of a panel: a scroll box without border holding every control placed on
// the panel, in Client(). With AutoScroll on, scroll bars appear when the controls reach beyond
// what is shown.
class TSpeedFormBox : public QScrollArea {
    Q_OBJECT
public:
    explicit TSpeedFormBox(TSpeedForm& panel);

    TSpeedForm& Panel() const { return panel_; }
    QWidget* Client() const { return client_; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateClientSize();

    TSpeedForm& panel_;
    QWidget* client_{nullptr};
    bool autoScroll_{true};
};

// A window carrying a small dialog inside itself. The dialog's controls live on the panel, part
// of the owning window and bound to the same data; RunModal shows them in a real modal dialog
// window built from the panel's properties, and moves them back when it closes.
//
// Controls created with the panel as parent are moved into the inner container (at the next
// turn of the event loop, and at the latest when RunModal starts), at the same position; they
// may also be created on Client() directly. Failures raised by the panel's handlers and by its
// buttons' handlers are reported through the panel's failure sink and never end the dialog.
class TSpeedForm : public QWidget, public TFailureSink {
    Q_OBJECT
public:
    // A parent that is not a window puts the panel on that parent's window, at the same place.
    explicit TSpeedForm(QWidget* parent = nullptr);
    ~TSpeedForm() override;

    // --- showing
    // Shows the contents as a modal dialog and returns its modal result. Called while a showing
    // runs or the dialog window is visible, it shows nothing and returns -1.
    int RunModal();
    int ModalResult() const { return modalResult_; }
    // While a showing runs, a result other than mrNone ends it with that result (unless
    // OnCloseQuery refuses).
    void SetModalResult(int result);
    bool Showing() const { return showing_; }
    // The window of the current showing, or nullptr.
    QDialog* DialogWindow() const { return dialog_; }

    // The dialog window class; by default a TTaskBarForm. The factory gets the panel, which
    // the window is to belong to.
    using FormFactory = std::function<QDialog*(QWidget* owner)>;
    void SetFormClass(FormFactory factory) { formClass_ = std::move(factory); }

    // --- the panel
    TSpeedFormStyle Style() const { return style_; }
    void SetStyle(TSpeedFormStyle style);
    // Whether the panel is wanted visible; it is seen only in dsWindow.
    bool Visible() const { return visible_; }
    void setVisible(bool visible) override;
    // Ignored while the panel has no parent; in dsWindow never smaller than 104 x 28, and the
    // container follows the size.
    void SetBounds(int left, int top, int width, int height);
    QSize StoredSize() const { return stored_; }
    // The dialog's client size: the container's size, the panel 8 wider and 27 taller.
    void SetClientSize(int width, int height);
    QSize ClientSize() const;
    TSpeedFormBox* Container() const { return container_; }
    QWidget* Client() const { return container_ ? container_->Client() : nullptr; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // Only a control placed directly on the panel, or none.
    QWidget* ActiveControl() const { return activeControl_; }
    void SetActiveControl(QWidget* control);
    // To the dialog window when there is one, else to the panel.
    void SetFocus();

    // --- passed on to the dialog window when it is built
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Empty: the application's icon.
    QIcon Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    // A canvas colour (0x00BBGGRR or a system colour) for the background of the contents.
    quint32 Color() const { return color_; }
    void SetColor(quint32 color);
    TWindowState WindowState() const { return windowState_; }
    // Minimised is refused.
    void SetWindowState(TWindowState state);
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool on) { stayOnTop_ = on; }
    bool ShowOnTaskBar() const { return showOnTaskBar_; }
    void SetShowOnTaskBar(bool on);
    TSizeConstraints Constraints() const { return constraints_; }
    void SetConstraints(const TSizeConstraints& c) { constraints_ = c; }
    bool AutoScroll() const { return container_->AutoScroll(); }
    void SetAutoScroll(bool on) { container_->SetAutoScroll(on); }

    // Events of the dialog window.
    std::function<void()> OnCreate;   // built, before it is shown
    std::function<void()> OnDestroy;  // before it is released
    std::function<void()> OnShow;
    std::function<void()> OnHide;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;
    std::function<void()> OnResize;
    std::function<bool()> OnCloseQuery;  // false keeps the dialog open
    std::function<void()> OnClose;

    // --- dsWindow
    bool Active() const { return active_; }
    void Paint(Canvas& canvas) const;
    TSpeedFormHit HitTest(QPoint pos) const;

    // The panel a control belongs to: the nearest panel or inner container among its parents.
    static TSpeedForm* PanelOf(const QWidget* control);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TSpeedFormBox;

    void AdoptControls();
    void PlaceOnOwnerWindow();
    void ApplyVisibility();
    void PlaceContainer();
    bool ContainerOnPanel() const;
    void BuildDialog();
    Qt::WindowFlags DialogFlags() const;
    void PlaceDialog();
    void ReapplyFlags();
    // Ends the showing with result when OnCloseQuery allows it.
    void CloseModal(int result);
    void EndLoop();
    void Restore();
    void EnsureContainer();
    void SetActive(bool active);
    void Run(const std::function<void()>& handler);

    QPointer<TSpeedFormBox> container_;
    QSize stored_{200, 150};
    TSpeedFormStyle style_{dsWindow};
    bool visible_{false};
    bool tabStop_{true};
    FormFactory formClass_;
    QPointer<QDialog> dialog_;
    QEventLoop* loop_{nullptr};
    bool showing_{false};
    bool ended_{false};
    bool closing_{false};
    bool rebuilding_{false};
    int modalResult_{mrNone};
    bool active_{false};
    QPointer<QWidget> activeControl_;
    QList<QPointer<QWidget>> pending_;
    bool adoptQueued_{false};

    QString caption_;
    QIcon icon_;
    TFormBorderStyle borderStyle_{bsDialog};
    TBorderIcons borderIcons_{biSystemMenu | biMinimize | biMaximize};
    TPosition position_{poScreenCenter};
    quint32 color_{SysColor::BtnFace};
    TWindowState windowState_{wsNormal};
    bool stayOnTop_{false};
    bool showOnTaskBar_{false};
    TSizeConstraints constraints_;

    // A drag on the caption bar or a border: where it started.
    TSpeedFormHit dragArea_{TSpeedFormHit::Client};
    QPoint dragStart_;
    QRect dragGeometry_;
    QMetaObject::Connection focusConnection_;
};

// A button that ends the dialog it sits in with its modal result, after its OnClick handler
// ran (a failure there is reported and does not keep the dialog open). A cancel button is also
// pressed by Escape; a default button (setDefault) by Enter.
class TModalButton : public QPushButton, public TFailureSink {
    Q_OBJECT
public:
    explicit TModalButton(const QString& text = QString(), QWidget* parent = nullptr);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }

    std::function<void()> OnClick;

private:
    void Clicked();

    int modalResult_{mrNone};
    bool cancel_{false};
};
