#pragma once

#include "DBErrors.h"
#include "TemplateWindows.h"

#include <QComboBox>
#include <QDialog>
#include <QStyledItemDelegate>

class AppFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TDBSpinEdit;
class TDBStaticText;
class TModalButton;
class TSpeedForm;
class TfData;
class TfPageBackground;
class QAction;

// The orientation list: two fixed items, each drawn with a small sheet upright or on its side.
class TOrientComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TOrientComboBox(QWidget* parent = nullptr);

    // Draws an item: the sheet and the item's text.
    class Delegate : public QStyledItemDelegate {
    public:
        using QStyledItemDelegate::QStyledItemDelegate;
        void paint(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const override;
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    };

    // A sheet of the item at `index` (0 upright, 1 on its side) inside `box`.
    static void DrawSheet(QPainter& painter, const QRect& box, int index, const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The template list: choosing the current template, creating and changing templates. Whatever
// row is current when "Выбрать (закрыть)" closes the window is the application's current
// template. A template is edited in the dialog panel fEdit on the current Document row.
class TfDocs : public QDialog, public TFailureSink {
    Q_OBJECT
public:
    TfDocs(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
           QWidget* parent = nullptr);
    ~TfDocs() override;

    // Shown modally, centred on the main window; the result is 1.
    int ShowModal();

    // "Создать новый", "Изменить выбранный".
    void Button1Click();
    void Button2Click();
    // A choice in the orientation list.
    void cmbOrientChange();
    // The panel's "OK" and "Отмена".
    void BitBtn2Click();
    void BitBtn3Click();
    // The panel's "Фон страницы…": the pictures behind the template's pages.
    void BackgroundClick();
    // "Разметка страницы…" on the current template.
    void LayoutClick();

    // Escape does not close the window: only "Выбрать (закрыть)" does.
    void reject() override {}

    TDBGrid* DBGrid1{nullptr};
    QGroupBox* GroupBox1{nullptr};
    QLabel* Label1{nullptr};
    TDBStaticText* DBText1{nullptr};
    QLabel* Label2{nullptr};
    TDBStaticText* DBText2{nullptr};
    TModalButton* Button1{nullptr};
    TModalButton* Button2{nullptr};
    TModalButton* Button3{nullptr};

    TSpeedForm* fEdit{nullptr};
    QLabel* Label3{nullptr};
    TDBEdit* DBEdit1{nullptr};
    QLabel* Label4{nullptr};
    TDBSpinEdit* DBSpinEdit1{nullptr};
    QLabel* Label5{nullptr};
    TOrientComboBox* cmbOrient{nullptr};
    TModalButton* BitBtn2{nullptr};
    TModalButton* BitBtn3{nullptr};
    QPushButton* BackgroundButton{nullptr};
    TfPageBackground* fBackground{nullptr};
    // In the list's context menu and on Ctrl+L.
    QAction* actLayout{nullptr};

protected:
    // No close box is asked for; a window manager that closes the window anyway chooses, as
    // "Выбрать (закрыть)" does.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void CreateEditPanel();
    // Shows fEdit; a row still being edited when it closes (the window manager closed it) is
    // discarded.
    void RunEdit();
    // Before a lowered page count is stored: when fields sit on the pages that go, asks the
    // user, and a "no" keeps the count the template had.
    void ConfirmFewerPages();

    AppFrame& frame_;
    TfData& data_;
    // The page count of the template being changed, as it was stored.
    QVariant pageCountBefore_;
    // The windows this one may open.
    const TemplateWindows& windows_;
};
