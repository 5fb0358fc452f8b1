#include "Value.h"

#include "AppFrame.h"
#include "DBEditors.h"
#include "DBGrid.h"
#include "Data.h"
#include "EditValue.h"
#include "FailureMessage.h"
#include "FontGroup.h"
#include "Labels.h"
#include "Placement.h"
#include "SpinEdit.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

namespace {

void Caption(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
}

}  // namespace

TfValue::TfValue(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      frame_(frame),
      data_(dataModule),
      windows_(windows) {
    setObjectName(QStringLiteral("fValue"));
    setWindowTitle(QStringLiteral("Список шаблонных полей"));
    setFixedSize(591, 396);

    Grid = new TDBGrid(this);
    Grid->setGeometry(0, 0, 591, 250);
    Grid->SetFrame(&frame_);
    Grid->SetOptions(TGridOption::Titles | TGridOption::Indicator | TGridOption::ColumnResize |
                     TGridOption::ColLines | TGridOption::RowLines | TGridOption::RowHighlight);
    Grid->SetTitleColor(QColor(0, 0, 128));
    Grid->AddColumn({.FieldName = QStringLiteral("VarName"),
                     .Title = QStringLiteral("Текстовое поле|Наименование"),
                     .Width = 185});
    Grid->AddColumn({.FieldName = QStringLiteral("VarValue"),
                     .Title = QStringLiteral("Текстовое поле|Текст для печати по умолчанию"),
                     .Width = 331});
    Grid->AddColumn(
        {.FieldName = QStringLiteral("PageNum"), .Title = QStringLiteral("№ стр."), .Width = 41});
    Grid->SetRowLines(4);
    Grid->SetDataSource(&data_.dsValues_);

    // The current field's font.
    const TFontGroup font = CreateFontGroup(data_.dsValues_, this, QRect(4, 254, 240, 100));
    gbFont = font.Box;
    lbFontName = font.Name;
    lbFontSize = font.Size;
    cbBold = font.Bold;
    cbUnderline = font.Underline;

    // Its place on the sheet.
    gbPlace = new QGroupBox(QStringLiteral("Координаты расположения поля (мм.)"), this);
    gbPlace->setGeometry(248, 254, 250, 100);
    Caption(QStringLiteral("Свеху"), gbPlace, 8, 32);
    lbTop = CreateFieldText(data_.dsValues_, QStringLiteral("Top"), gbPlace, QRect(62, 29, 56, 21));
    Caption(QStringLiteral("Слева"), gbPlace, 128, 32);
    lbLeft =
        CreateFieldText(data_.dsValues_, QStringLiteral("Left"), gbPlace, QRect(184, 29, 56, 21));
    Caption(QStringLiteral("Высота"), gbPlace, 8, 66);
    lbHeight =
        CreateFieldText(data_.dsValues_, QStringLiteral("Height"), gbPlace, QRect(62, 63, 56, 21));
    Caption(QStringLiteral("Ширина"), gbPlace, 128, 66);
    lbWidth =
        CreateFieldText(data_.dsValues_, QStringLiteral("Width"), gbPlace, QRect(184, 63, 56, 21));

    gbRows = new QGroupBox(QStringLiteral("Выс строки"), this);
    gbRows->setGeometry(502, 254, 85, 100);
    SpinEdit = new TSpinEdit(gbRows);
    SpinEdit->SetFrame(&frame_);
    SpinEdit->setGeometry(12, 40, 60, 22);
    SpinEdit->SetMinValue(1);
    SpinEdit->SetMaxValue(10);
    SpinEdit->SetEditorEnabled(false);
    SpinEdit->SetValue(4);
    SpinEdit->OnChange = [this] { SpinEditChange(); };

    actAdd = new QAction(QStringLiteral("Добавить"), this);
    actEdit = new QAction(QStringLiteral("Изменить"), this);
    actDelete = new QAction(QStringLiteral("Удалить"), this);
    connect(actAdd, &QAction::triggered, this, [this] { Guard([this] { actAddExecute(); }); });
    connect(actEdit, &QAction::triggered, this, [this] { Guard([this] { actEditExecute(); }); });
    connect(actDelete, &QAction::triggered, this,
            [this] { Guard([this] { actDeleteExecute(); }); });

    int left = 4;
    for (auto [button, action] : {std::pair{&btnAdd, actAdd}, std::pair{&btnEdit, actEdit},
                                  std::pair{&btnDelete, actDelete}}) {
        *button = new QPushButton(action->text(), this);
        (*button)->setAutoDefault(false);
        (*button)->setGeometry(left, 362, 82, 27);
        connect(*button, &QPushButton::clicked, action, &QAction::trigger);
        left += 88;
    }
    actLayout = new QAction(QStringLiteral("Разметка страницы…"), this);
    actLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(actLayout);
    connect(actLayout, &QAction::triggered, this,
            [this] { Guard([this] { actLayoutExecute(); }); });
    btnLayout = new QPushButton(actLayout->text(), this);
    btnLayout->setObjectName(QStringLiteral("btnLayout"));
    btnLayout->setAutoDefault(false);
    btnLayout->setGeometry(left + 12, 362, 140, 27);
    connect(btnLayout, &QPushButton::clicked, actLayout, &QAction::trigger);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setGeometry(505, 362, 82, 27);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, [this] { done(1); });

    setTabOrder(Grid, SpinEdit);
    setTabOrder(SpinEdit, btnAdd);
    setTabOrder(btnAdd, btnEdit);
    setTabOrder(btnEdit, btnDelete);
    setTabOrder(btnDelete, btnLayout);
    setTabOrder(btnLayout, btnOk);
}

template <class Action>
void TfValue::Guard(Action&& action) {
    try {
        action();
    } catch (const Failure& e) {
        frame_.ShowError(e.Message());
    } catch (const std::exception& e) {
        frame_.ShowError(FailureMessage(e));
    }
}

bool TfValue::TemplateReady() const {
    if (data_.Document.RecordCount() == 0) {
        frame_.ShowInfo(QStringLiteral("Нет ни одного созданного документа"), QString());
        return false;
    }
    if (data_.DocumentPageCount.AsInteger() == 0) {
        frame_.ShowInfo(QStringLiteral("Не определено колличество страниц для документа\r") +
                            data_.DocumentName.AsString(),
                        QString());
        return false;
    }
    return true;
}

void TfValue::actAddExecute() {
    if (!TemplateReady())
        return;
    TfEditValue* editor = windows_.fEditValue;
    data_.Values_.Append();
    editor->SetMaxPage(data_.DocumentPageCount.AsInteger());
    data_.Values_Document_Id.SetValue(data_.DocumentId.Value());
    data_.Values_FontBold.SetValue(false);
    data_.Values_FontUnderline.SetValue(false);
    data_.Values_FontName.SetAsString(QStringLiteral("Courier New"));
    data_.Values_FontSize.SetAsInteger(10);
    data_.Values_PageNum.SetAsInteger(1);
    editor->ShowModal();
}

void TfValue::actEditExecute() {
    if (data_.Values_.RecordCount() == 0)
        return;
    if (!TemplateReady())
        return;
    TfEditValue* editor = windows_.fEditValue;
    data_.Values_.Edit();
    editor->SetMaxPage(data_.DocumentPageCount.AsInteger());
    editor->ShowModal();
}

void TfValue::actDeleteExecute() {
    if (data_.Values_.RecordCount() != 0 &&
        frame_.AskYesNo(QStringLiteral("Удалить выбранную запись"), QStringLiteral("Удаление!")))
        data_.Values_.Delete();
}

void TfValue::actLayoutExecute() {
    if (windows_.ShowPageLayout)
        windows_.ShowPageLayout();
}

void TfValue::SpinEditChange() {
    Grid->SetRowLines(static_cast<int>(std::nearbyint(SpinEdit->Value())));
}

int TfValue::ShowModal() {
    CentreOnMainWindow(*this);
    return exec();
}

void TfValue::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Grid->setFocus(Qt::OtherFocusReason);
}
