#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TfrPrinter;

// What the page-setup dialog shows and returns: the printer (an index into the printer
// abstraction's names), the paper code, the orientation, and margins in hundredths of a
// millimetre.
struct TfrPageSetup {
    int Printer{0};
    int PaperKind{0};
    bool Landscape{false};
    int LeftMargin{0};
    int TopMargin{0};
    int RightMargin{0};
    int BottomMargin{0};
};
// Runs the page-setup dialog on `setup` over the printer; true when the user accepted it.
using TfrPageSetupDialog = std::function<bool(TfrPrinter&, TfrPageSetup&, QWidget* owner)>;
// The page-setup dialog of this engine (TfrPageSetupForm), modal.
bool frRunPageSetupForm(TfrPrinter& printer, TfrPageSetup& setup, QWidget* owner);

// The page-setup dialog: printer, paper, orientation and margins. Choosing a printer selects it
// at once, so its papers can be listed; any end but OK selects the printer the dialog found.
class TfrPageSetupForm : public QDialog {
public:
    TfrPageSetupForm(TfrPrinter& printer, const TfrPageSetup& setup, QWidget* parent = nullptr);
    ~TfrPageSetupForm() override;

    // What the dialog shows now.
    TfrPageSetup Setup() const;

    QGroupBox* PrinterGroup{nullptr};
    QLabel* PrinterLabel{nullptr};
    QComboBox* PrinterBox{nullptr};
    QGroupBox* PaperGroup{nullptr};
    QLabel* PaperLabel{nullptr};
    QComboBox* PaperBox{nullptr};
    QGroupBox* OrientationGroup{nullptr};
    QRadioButton* Portrait{nullptr};
    QRadioButton* Landscape{nullptr};
    QGroupBox* MarginsGroup{nullptr};
    QLabel* LeftLabel{nullptr};
    QLabel* TopLabel{nullptr};
    QLabel* RightLabel{nullptr};
    QLabel* BottomLabel{nullptr};
    QDoubleSpinBox* LeftMargin{nullptr};
    QDoubleSpinBox* TopMargin{nullptr};
    QDoubleSpinBox* RightMargin{nullptr};
    QDoubleSpinBox* BottomMargin{nullptr};
    QPushButton* OkButton{nullptr};
    QPushButton* CancelButton{nullptr};

    // Any result but OK selects the remembered printer again.
    void done(int result) override;

private:
    void PrinterChanged();
    // The papers of the current printer, `kind` chosen when it has it, else its current paper.
    void FillPapers(int kind);
    // A group across the dialog at `top` holding a labelled drop-down list.
    QComboBox* ListGroup(QGroupBox*& group, QLabel*& label, const QString& title,
                         const QString& caption, int top);
    QDoubleSpinBox* MarginBox(QLabel*& label, const QString& caption, int hundredths, int row);

    TfrPrinter& printer_;
    int rememberedPrinter_{0};
};
