#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The find-text dialog of the preview: the text, whether case matters, and whether the search
// starts from the first page or goes on from the last match.
class TfrPreviewSearchForm : public QDialog {
public:
    explicit TfrPreviewSearchForm(QWidget* parent = nullptr);

    QLabel* Label1{nullptr};
    QLineEdit* Edit1{nullptr};
    QGroupBox* GroupBox1{nullptr};
    QCheckBox* CB1{nullptr};
    QGroupBox* GroupBox2{nullptr};
    QRadioButton* RB1{nullptr};
    QRadioButton* RB2{nullptr};
    QPushButton* Button1{nullptr};
    QPushButton* Button2{nullptr};

protected:
    void showEvent(QShowEvent* event) override;
};
