#pragma once

#include <QMainWindow>

#include "FailureMessage.h"

#include "TemplateWindows.h"

class AppFrame;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class TAdvStatusBar;
class TDBDateEdit;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TDBStaticText;
class TModalButton;
class TSpeedForm;
class TSpinEdit;
class TfData;
class TrLabel;

// The main window: the documents for printing of the current template and their values. Every
// command is an action shared by the menu bar, the tool bars and the context menu.
class TfMain : public QMainWindow {
    Q_OBJECT
public:
    TfMain(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
           QWidget* parent = nullptr);
    ~TfMain() override;

    // --- actions
    void actSelectDocExecute();
    void actValuesExecute();
    void actAddListDocExecute();
    void actEditListDocExecute();
    void actDelListDocExecute();
    void actCreateReportExecute();
    void actEditValueExecute();
    void actParamValueExecute();
    void actRefreshValueExecute();
    void actDelHistoryExecute();
    void actHelpExecute();
    void actAboutExecute();
    void actExitExecute();

    // --- the value editor
    // Escape discards, Enter stores; afterwards a hidden editor gives the focus to the grid.
    // Returns whether the key was one of them.
    bool EditKeyPress(int key);
    // The editor lost the focus: the change is discarded.
    void EditExit();
    // Where the value editor goes for a cell rectangle in the grid's client coordinates.
    static QRect EditorRect(const QRect& cell);

    QAction* actSelectDoc{nullptr};
    QAction* actValues{nullptr};
    QAction* actAddListDoc{nullptr};
    QAction* actEditListDoc{nullptr};
    QAction* actDelListDoc{nullptr};
    QAction* actCreateReport{nullptr};
    QAction* actEditValue{nullptr};
    QAction* actParamValue{nullptr};
    QAction* actRefreshValue{nullptr};
    QAction* actDelHistory{nullptr};
    QAction* actHelp{nullptr};
    QAction* actAbout{nullptr};
    QAction* actExit{nullptr};

    // Tool area: the menu bar (a tool bar holding the drop-down menus) and the four tool bars.
    QToolBar* tbMenu{nullptr};
    QMenuBar* MainMenu{nullptr};
    QMenu* mnuDocument{nullptr};
    QMenu* mnuHistory{nullptr};
    QMenu* mnuField{nullptr};
    QMenu* mnuHelp{nullptr};
    QToolBar* tbDocument{nullptr};
    QToolBar* tbHistory{nullptr};
    QToolBar* tbField{nullptr};
    QToolBar* tbExit{nullptr};
    QMenu* PopupMenu1{nullptr};

    // The template strip.
    QWidget* pnlTemplate{nullptr};
    TrLabel* lbTemplate{nullptr};
    TDBStaticText* txtTemplateName{nullptr};

    // The documents panel.
    QWidget* pnlListDoc{nullptr};
    QLabel* lbListDoc{nullptr};
    TDBGrid* DBGrid1{nullptr};

    // The values panel.
    QWidget* pnlValues{nullptr};
    QLabel* lbRowHeight{nullptr};
    TSpinEdit* SpinEdit{nullptr};
    QLabel* lbValues{nullptr};
    TDBGrid* Grid{nullptr};
    TDBMemo* Edit{nullptr};

    TAdvStatusBar* StatusBar1{nullptr};
    TDBStaticText* txtLeft{nullptr};
    TDBStaticText* txtTop{nullptr};
    TDBStaticText* txtHeight{nullptr};
    TDBStaticText* txtWidth{nullptr};
    TDBStaticText* txtPageNum{nullptr};

    // The document-for-printing panel.
    TSpeedForm* fEditListDoc{nullptr};
    QLabel* lbDate{nullptr};
    TDBDateEdit* edDate{nullptr};
    QLabel* lbDescript{nullptr};
    TDBEdit* edDescript{nullptr};
    TModalButton* btnOk{nullptr};
    TModalButton* btnCancel{nullptr};

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void CreateActions();
    void CreateToolArea();
    void CreateListDocPanel();
    void CreateValuesPanel();
    void CreateStatusBar();
    void CreateEditListDoc();
    void CreatePopupMenu();

    // Shows fEditListDoc on the ListDoc row being added or changed; stores it on "OK".
    void RunEditListDoc();
    // Runs an action: an open value editor is closed first (its change discarded), and a
    // failure goes to the standard error box.
    void RunAction(void (TfMain::*action)());
    template <class F>
    bool Guard(F&& f);
    void ReportError(const QString& message);
    void RefreshValueLabels();

    AppFrame& frame_;
    TfData& data_;
    const TemplateWindows& windows_;
    // The error box is up: the value editor losing the focus to it keeps the change.
    bool reporting_{false};
};

template <class F>
bool TfMain::Guard(F&& f) {
    try {
        f();
        return true;
    } catch (const Failure& e) {
        ReportError(e.Message());
    } catch (const std::exception& e) {
        ReportError(FailureMessage(e));
    }
    return false;
}
