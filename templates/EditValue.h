#pragma once

#include "TemplateWindows.h"

#include <QDialog>
#include <QFont>

class AppFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class TDBCheckBox;
class TDBMemo;
class TDBSpinEdit;
class TDBStaticText;
class TfData;

// The field editor: edits the current row of Values_, which its caller has put into insert or
// edit state. Every editor is bound to the row; "OK" stores it, "Отмена" discards it.
class TfEditValue : public QDialog {
    Q_OBJECT
public:
    TfEditValue(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
                QWidget* parent = nullptr);

    // Shown modally, centred on the main window.
    int ShowModal();

    // The highest page the page-number box offers: the template's page count (at least 1).
    void SetMaxPage(int pages);
    int MaxPage() const;

    // The font button, "OK" and "Отмена".
    void TBItem1Click();
    void BitBtn1Click();
    void BitBtn2Click();

    // The font the font dialog starts from when the field has no font name: the last one chosen.
    const QFont& DialogFont() const { return dialogFont_; }

    QGroupBox* gbText{nullptr};
    TDBMemo* edName{nullptr};
    TDBMemo* edValue{nullptr};
    TDBSpinEdit* SpinEdit{nullptr};
    TDBStaticText* lbPageCount{nullptr};

    QGroupBox* gbFont{nullptr};
    TDBStaticText* lbFontName{nullptr};
    TDBStaticText* lbFontSize{nullptr};
    TDBCheckBox* cbBold{nullptr};
    TDBCheckBox* cbUnderline{nullptr};
    QToolButton* TBItem1{nullptr};

    QGroupBox* gbPlace{nullptr};
    TDBSpinEdit* edTop{nullptr};
    TDBSpinEdit* edLeft{nullptr};
    TDBSpinEdit* edHeight{nullptr};
    TDBSpinEdit* edWidth{nullptr};

    QPushButton* BitBtn1{nullptr};
    QPushButton* BitBtn2{nullptr};

    // Escape and the window manager's close come here: the same as "Отмена".
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool Editing() const;
    // Runs `action`; a failure goes to the standard error box. False when it failed.
    template <class Action>
    bool Guard(Action&& action);

    AppFrame& frame_;
    TfData& data_;
    QFont dialogFont_;
};
