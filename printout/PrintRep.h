#pragma once

#include "Canvas.h"
#include "PagePicture.h"
#include "PrintWarnings.h"
#include "Report.h"

#include <QDialog>
#include <array>
#include <memory>
#include <vector>

class AppFrame;
class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class TfData;
class TfReportBuilder;
class TfrPreview;

// The print preview window: the report of the current document for printing, built on demand
// and shown in the engine's preview control, with zoom, page turning, page set-up and printing.
class TfPrintRep : public QDialog {
public:
    TfPrintRep(AppFrame& frame, TfData& dataModule, QWidget* parent = nullptr);
    ~TfPrintRep() override;

    // Builds the report of the current document for printing and shows it modally until the
    // window is closed. Nothing is shown when the build or the preparation fails; a cancelled
    // preparation shows the pages it formed.
    void BuildAndShow();
    // Empties the report's pages and adds one per template page.
    void SetupPages();

    // Moves the zoom menu's check mark to `item`; a percentage above 0 also zooms to it.
    void CheckZoomItem(QAction* item, double percent);

    void TBItem1Click();
    void TBItem2Click();
    void TBItem3Click();
    void TBItem4Click();
    void TBItem5Click();

    TfrReport Report;
    TfrPreview* Preview{nullptr};

    QToolBar* ToolBar1{nullptr};
    QToolBar* ToolBar2{nullptr};
    QAction* TBItem1{nullptr};
    QAction* TBItem2{nullptr};
    QAction* TBItem3{nullptr};
    QAction* TBItem4{nullptr};
    QAction* TBItem5{nullptr};
    // "Фон бланка": the pictures of the blank form behind the pages, on the screen only.
    QAction* TBBackground{nullptr};
    // What will not print as the template means it: a list of the preparation's warnings,
    // shown only when there are some; a line shows its page and marks its field.
    QToolButton* WarningsButton{nullptr};
    QAction* WarningsAction{nullptr};  // the button's place in the tool bar
    QMenu* WarningsMenu{nullptr};
    std::vector<TfrPrintWarning> Warnings;
    QToolButton* ZoomButton{nullptr};
    QMenu* ZoomMenu{nullptr};
    QAction* m1{nullptr};
    QAction* m2{nullptr};
    QAction* m3{nullptr};
    QAction* m4{nullptr};
    QAction* m5{nullptr};
    QAction* m6{nullptr};
    QAction* m7{nullptr};
    QAction* m8{nullptr};
    QAction* m9{nullptr};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The zoom items in menu order, for Ctrl+plus and Ctrl+minus.
    std::array<QAction*, 9> ZoomItems() const;
    void StepZoom(int step);
    // The picture of the template's page under prepared page `page` (zero-based).
    void PaintBackground(int page, Canvas& canvas, const CanvasRect& sheet, double scale);
    // The warnings of the last preparation into the list.
    void ShowWarnings();

    AppFrame& frame_;
    TfData& data_;
    std::unique_ptr<TfReportBuilder> builder_;
    PagePictureCache pictures_;
};
