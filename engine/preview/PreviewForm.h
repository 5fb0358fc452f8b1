#pragma once

#include "PagesView.h"

#include <QDialog>
#include <QString>

class QKeyEvent;
class TfrPreviewToolbar;
class TfrPreviewView;
class TfrReport;

// The stand-alone preview window a report opens when it has no preview control: the toolbar
// above the pages, the keyboard table, find, report files, help on a control, and a placement
// remembered between runs. It takes the report's prepared pages and frees them, and itself,
// when it closes.
class TfrPreviewForm : public QDialog, public TfrPagesView {
public:
    explicit TfrPreviewForm(QWidget* parent = nullptr);
    ~TfrPreviewForm() override;

    // Settings group of the remembered placement, under the organisation "Carvelle".
    static QString SettingsGroup();

    // Takes the report's pages and shows them from page 1: modally when the report's
    // ModalPreview is set (returning when the window closes), otherwise at once.
    void ShowInWindow(TfrReport& report);
    // An MDI child: shown in the normal state, its placement neither read nor kept.
    void SetMdiChild(bool mdi) { mdiChild_ = mdi; }

    TfrPreviewToolbar& Toolbar() const { return *toolbar_; }
    TfrPreviewView& View() const { return *view_; }
    bool HelpMode() const { return helpMode_; }

    // --- TfrPagesView
    TfrReport* ShownReport() const override;
    TfrEMFPages* ShownPages() const override;
    int CurrentPage() const override;
    void ConnectReport(TfrReport& report) override;
    void ReturnPages() override;
    void TakePages() override;
    void ResetView(bool resetPosition) override;
    QWidget* DialogOwner() const override;

    // --- the toolbar's commands
    void ZoomBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();
    void PrintBtnClick();
    void PageSetupBtnClick();
    void FindBtnClick();
    void HelpBtnClick();
    void ExitBtnClick();

    void done(int result) override;

protected:
    // Keys reach the window before its controls.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // True when the key is consumed.
    bool FormKeyDown(const QKeyEvent& event);
    void FormActivate();
    void FormDeactivate();
    void ReadPlacement();
    void StorePlacement();
    void EndHelpMode();

    TfrPreviewToolbar* toolbar_{nullptr};
    TfrPreviewView* view_{nullptr};
    bool mdiChild_{false};
    bool placementStored_{false};
    bool helpMode_{false};
    bool active_{false};
    // The application's help file as it was before the window became active.
    QString savedHelpFile_;
};

// The stand-alone window for a report's prepared pages, with the caption of a report's preview.
void frShowInPreviewWindow(TfrReport& report);
