#pragma once

#include "TemplateWindows.h"

#include <QDialog>

class AppFrame;
class QAction;
class QGroupBox;
class QPushButton;
class TDBCheckBox;
class TDBGrid;
class TDBStaticText;
class TSpinEdit;
class TfData;

// The field list: the text fields of the current template, with the font and place of the
// current one, and the commands that add, change and delete fields through the field editor.
class TfValue : public QDialog {
    Q_OBJECT
public:
    TfValue(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
            QWidget* parent = nullptr);

    // Shown modally, centred on the main window.
    int ShowModal();

    void actAddExecute();
    void actEditExecute();
    void actDeleteExecute();
    // "Разметка страницы…": the fields on the picture of the page.
    void actLayoutExecute();
    void SpinEditChange();

    QAction* actAdd{nullptr};
    QAction* actEdit{nullptr};
    QAction* actDelete{nullptr};
    QAction* actLayout{nullptr};

    TDBGrid* Grid{nullptr};

    QGroupBox* gbFont{nullptr};
    TDBStaticText* lbFontName{nullptr};
    TDBStaticText* lbFontSize{nullptr};
    TDBCheckBox* cbBold{nullptr};
    TDBCheckBox* cbUnderline{nullptr};

    QGroupBox* gbPlace{nullptr};
    TDBStaticText* lbTop{nullptr};
    TDBStaticText* lbLeft{nullptr};
    TDBStaticText* lbHeight{nullptr};
    TDBStaticText* lbWidth{nullptr};

    QGroupBox* gbRows{nullptr};
    TSpinEdit* SpinEdit{nullptr};

    QPushButton* btnAdd{nullptr};
    QPushButton* btnEdit{nullptr};
    QPushButton* btnDelete{nullptr};
    QPushButton* btnLayout{nullptr};
    QPushButton* btnOk{nullptr};

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The template can take fields: it exists and has pages. Tells the user when not.
    bool TemplateReady() const;
    template <class Action>
    void Guard(Action&& action);

    AppFrame& frame_;
    TfData& data_;
    const TemplateWindows& windows_;
};
