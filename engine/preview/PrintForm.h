#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPixmap>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TfrPrinter;

// The printer list of the print dialog: every item is a printer picture and a name, 16 pixels
// high, and the closed box shows its current item the same way.
class TfrPrinterComboBox : public QComboBox {
public:
    TfrPrinterComboBox(QPixmap picture, QWidget* parent);

    // CB1DrawItem: the rectangle filled, the picture at (left + 2, top), the name at
    // (left + 24, top + 1).
    void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// The print dialog: printer, pages, copies and collation, and which pages of the range.
// Choosing a printer selects it at once; any end but OK selects the printer the dialog found.
class TfrPrintForm : public QDialog {
public:
    explicit TfrPrintForm(TfrPrinter& printer, QWidget* parent = nullptr);
    ~TfrPrintForm() override;

    // The copies as a number; a text that is not one raises EConvertError, more than 999 a
    // failure of its own.
    int Copies() const;
    // The system printer index the dialog found when it was created.
    int RememberedPrinter() const { return rememberedPrinter_; }

    QGroupBox* GroupBox1{nullptr};
    QLabel* Label4{nullptr};
    TfrPrinterComboBox* CB1{nullptr};
    QPushButton* PropButton{nullptr};
    QLabel* Image1{nullptr};

    QGroupBox* GroupBox2{nullptr};
    QRadioButton* RB1{nullptr};
    QRadioButton* RB2{nullptr};
    QRadioButton* RB3{nullptr};
    QLineEdit* E2{nullptr};
    QLabel* Label2{nullptr};

    QGroupBox* GroupBox3{nullptr};
    QLabel* Label1{nullptr};
    QLineEdit* E1{nullptr};
    QToolButton* frSpeedButton1{nullptr};
    QToolButton* frSpeedButton2{nullptr};
    QCheckBox* CollateCB{nullptr};
    QLabel* Label3{nullptr};
    QWidget* PB1{nullptr};

    QLabel* Label5{nullptr};
    QComboBox* CB2{nullptr};
    QPushButton* Button1{nullptr};
    QPushButton* Button2{nullptr};

    const QPixmap CollateImg;
    const QPixmap NonCollateImg;

    void CB1Click();
    void PropButtonClick();
    void RB3Click();
    void frSpeedButton1Click();
    void frSpeedButton2Click();
    void PB1Paint();

    // Any result but OK selects the remembered printer again.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPrinterGroup();
    void BuildPagesGroup();
    void BuildCopiesGroup();
    void BuildOutput();
    // E1 := its value + step, at least 1; a bad text goes to the engine's error box.
    void StepCopies(int step);
    // "Свойства..." only for a printer that has properties (a file has none).
    void EnableProperties();

    TfrPrinter& printer_;
    int rememberedPrinter_{0};
};
