#include "Docs.h"

#include "AppFrame.h"
#include "DBEditors.h"
#include "DBGrid.h"
#include "DBSpinEdit.h"
#include "Data.h"
#include "FailureMessage.h"
#include "Labels.h"
#include "PageBackground.h"
#include "Placement.h"
#include "SpeedForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStylePainter>
#include <algorithm>

namespace {

constexpr quint32 clNavy = CanvasRgb(0, 0, 128);
constexpr quint32 clMaroon = CanvasRgb(128, 0, 0);
constexpr quint32 clSilver = CanvasRgb(192, 192, 192);

// Width of the sheet pictogram in front of an orientation's name.
constexpr int kSheetBox = 18;

QLabel* NavyLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, CanvasColorToQColor(clNavy));
    label->setPalette(palette);
    return label;
}

// The template's page count or orientation name: bold maroon on silver, centred.
TDBStaticText* ValueLabel(TDataSource& source, const QString& field, QWidget* parent) {
    auto* label = new TDBStaticText(parent);
    label->SetAutoSize(false);
    label->SetAlignment(TAlignment::Center);
    label->SetLayout(TTextLayout::Center);
    label->SetColor(clSilver);
    label->SetFontColor(clMaroon);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->SetDataSource(&source);
    label->SetDataField(field);
    return label;
}

bool Editing(const TADOTable& table) {
    return table.State() == TDataSetState::dsEdit || table.State() == TDataSetState::dsInsert;
}

}  // namespace

// --- the orientation list

TOrientComboBox::TOrientComboBox(QWidget* parent) : QComboBox(parent) {
    addItem(QStringLiteral("Портрет"));
    addItem(QStringLiteral("Ландшафт"));
    setItemDelegate(new Delegate(this));
}

void TOrientComboBox::DrawSheet(QPainter& painter, const QRect& box, int index,
                                const QColor& color) {
    // An A4 sheet, 10 x 14 pixels upright, with its top-right corner folded.
    const QSize size = index == 1 ? QSize(14, 10) : QSize(10, 14);
    QRect sheet(QPoint(0, 0), size);
    sheet.moveCenter(box.center());
    const int fold = 3;
    const QPolygon outline({sheet.topLeft(), QPoint(sheet.right() - fold, sheet.top()),
                            QPoint(sheet.right(), sheet.top() + fold), sheet.bottomRight(),
                            sheet.bottomLeft()});
    painter.save();
    painter.setPen(color);
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.drawPolyline(QPolygon({QPoint(sheet.right() - fold, sheet.top()),
                                   QPoint(sheet.right() - fold, sheet.top() + fold),
                                   QPoint(sheet.right(), sheet.top() + fold)}));
    painter.restore();
}

void TOrientComboBox::Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor ink = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect box(opt.rect.left() + 2, opt.rect.top(), kSheetBox, opt.rect.height());
    DrawSheet(*painter, box, index.row(), ink);
    painter->save();
    painter->setPen(ink);
    painter->drawText(opt.rect.adjusted(kSheetBox + 6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      text);
    painter->restore();
}

QSize TOrientComboBox::Delegate::sizeHint(const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    const QSize hint = QStyledItemDelegate::sizeHint(option, index);
    return {hint.width() + kSheetBox + 6, std::max(hint.height(), 18)};
}

void TOrientComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (currentIndex() < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    const QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    DrawSheet(painter, QRect(field.left(), field.top(), kSheetBox, field.height()), currentIndex(),
              ink);
    painter.setPen(ink);
    painter.drawText(field.adjusted(kSheetBox + 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     currentText());
}

// --- the window

TfDocs::TfDocs(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      frame_(frame),
      data_(dataModule),
      windows_(windows) {
    SetFrame(&frame_);
    FormCreate();
}

TfDocs::~TfDocs() = default;

void TfDocs::FormCreate() {
    setWindowTitle(QStringLiteral("Список шаблонов документов"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(454, 224);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setGeometry(8, 8, 438, 113);
    DBGrid1->SetFrame(&frame_);
    DBGrid1->SetOptions(TGridOption::Titles | TGridOption::Indicator | TGridOption::ColLines |
                        TGridOption::RowLines | TGridOption::RowHighlight);
    DBGrid1->AddColumn({.FieldName = QStringLiteral("Name"),
                        .Title = QStringLiteral("Наименование документа"),
                        .Width = 416,
                        .TitleAlignment = Qt::AlignCenter});
    DBGrid1->SetDataSource(&data_.dsDocument);

    GroupBox1 =
        new QGroupBox(QStringLiteral("Дополнительный параметры для выбранного документа"), this);
    GroupBox1->setGeometry(8, 126, 438, 58);
    GroupBox1->ensurePolished();
    // Inside the frame, in one row: the labels take the width of their text in the window's
    // font; the values fill the rest.
    Label1 = NavyLabel(QStringLiteral("Колличество страниц"), GroupBox1);
    Label2 = NavyLabel(QStringLiteral("Ориентация страниц"), GroupBox1);
    DBText1 = ValueLabel(data_.dsDocument, QStringLiteral("PageCount"), GroupBox1);
    DBText2 = ValueLabel(data_.dsDocument, QStringLiteral("OrientName"), GroupBox1);
    const QRect inside = GroupBox1->contentsRect();
    const int top = inside.top() + (inside.height() - 21) / 2;
    int x = inside.left() + 6;
    Label1->setGeometry(x, top + 1, Label1->sizeHint().width(), 19);
    x = Label1->geometry().right() + 5;
    DBText1->setGeometry(x, top, 56, 21);
    x = DBText1->geometry().right() + 17;
    Label2->setGeometry(x, top + 1, Label2->sizeHint().width(), 19);
    x = Label2->geometry().right() + 5;
    DBText2->setGeometry(x, top, inside.right() - 5 - x, 21);

    Button1 = new TModalButton(QStringLiteral("Создать новый"), this);
    Button1->setGeometry(8, 190, 140, 26);
    Button1->SetFrame(&frame_);
    Button1->OnClick = [this] { Button1Click(); };
    Button2 = new TModalButton(QStringLiteral("Изменить выбранный"), this);
    Button2->setGeometry(157, 190, 140, 26);
    Button2->SetFrame(&frame_);
    Button2->OnClick = [this] { Button2Click(); };
    Button3 = new TModalButton(QStringLiteral("Выбрать (закрыть)"), this);
    Button3->setGeometry(306, 190, 140, 26);
    Button3->SetFrame(&frame_);
    Button3->SetModalResult(mrOk);
    // Enter in the list chooses the template.
    Button3->setDefault(true);

    actLayout = new QAction(QStringLiteral("Разметка страницы…"), this);
    actLayout->setObjectName(QStringLiteral("actLayout"));
    actLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    actLayout->setShortcutContext(Qt::WindowShortcut);
    addAction(actLayout);
    DBGrid1->addAction(actLayout);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(actLayout, &QAction::triggered, this, [this] { Guard([this] { LayoutClick(); }); });

    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    CreateEditPanel();
    DBGrid1->setFocus();
}

void TfDocs::CreateEditPanel() {
    fEdit = new TSpeedForm(this);
    fEdit->SetFrame(&frame_);
    fEdit->SetStyle(dsIcon);
    fEdit->SetCaption(QStringLiteral("Редактирование документа"));
    fEdit->SetBorderStyle(bsSizeable);
    fEdit->SetBorderIcons(0);
    fEdit->SetPosition(poMainFormCenter);
    fEdit->setFont(font());
    fEdit->SetClientSize(431, 108);
    QWidget* client = fEdit->Client();

    Label3 = new QLabel(QStringLiteral("Наименование"), client);
    Label4 = new QLabel(QStringLiteral("Колличество страниц"), client);
    Label5 = new QLabel(QStringLiteral("Ориентация страниц"), client);
    // The editors line up right of the widest label.
    int left = 0;
    for (QLabel* label : {Label3, Label4, Label5})
        left = std::max(left, label->sizeHint().width());
    left += 8 + 8;
    Label3->setGeometry(8, 11, left - 16, 16);
    Label4->setGeometry(8, 40, left - 16, 16);
    Label5->setGeometry(8, 69, left - 16, 16);

    DBEdit1 = new TDBEdit(client);
    DBEdit1->setGeometry(left, 8, 423 - left, 21);
    DBEdit1->SetFrame(&frame_);
    DBEdit1->SetDataSource(&data_.dsDocument);
    DBEdit1->SetDataField(QStringLiteral("Name"));

    DBSpinEdit1 = new TDBSpinEdit(client);
    DBSpinEdit1->setGeometry(left, 37, 73, 21);
    DBSpinEdit1->SetFrame(&frame_);
    DBSpinEdit1->SetMinValue(1);
    DBSpinEdit1->SetCheckMaxValue(false);
    DBSpinEdit1->SetEditorEnabled(false);
    DBSpinEdit1->SetDataSource(&data_.dsDocument);
    DBSpinEdit1->SetDataField(QStringLiteral("PageCount"));

    cmbOrient = new TOrientComboBox(client);
    cmbOrient->setGeometry(left, 66, 120, 22);
    // Only the user's choice writes the column; selecting an item from code does not.
    connect(cmbOrient, &QComboBox::activated, this,
            [this] { Guard([this] { cmbOrientChange(); }); });

    BitBtn2 = new TModalButton(QStringLiteral("OK"), client);
    BitBtn2->setGeometry(268, 75, 75, 25);
    BitBtn2->SetModalResult(mrOk);
    BitBtn2->OnClick = [this] { BitBtn2Click(); };
    BitBtn3 = new TModalButton(QStringLiteral("Отмена"), client);
    BitBtn3->setGeometry(348, 75, 75, 25);
    BitBtn3->SetModalResult(mrCancel);
    BitBtn3->SetCancel(true);
    BitBtn3->OnClick = [this] { BitBtn3Click(); };

    BackgroundButton = new QPushButton(QStringLiteral("Фон страницы…"), client);
    BackgroundButton->setObjectName(QStringLiteral("BackgroundButton"));
    BackgroundButton->setAutoDefault(false);
    BackgroundButton->setGeometry(268, 35, 155, 25);
    connect(BackgroundButton, &QPushButton::clicked, this,
            [this] { Guard([this] { BackgroundClick(); }); });
    fBackground = new TfPageBackground(frame_, data_.PageImages, fEdit);

    setTabOrder(DBEdit1, DBSpinEdit1);
    setTabOrder(DBSpinEdit1, cmbOrient);
    setTabOrder(cmbOrient, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);
    // After the template's own controls and buttons: the pictures are an extra.
    setTabOrder(BitBtn3, BackgroundButton);
    fEdit->SetActiveControl(DBEdit1);
    // Enter presses OK. Made default only in the panel's own window, so that it does not take
    // that role from "Выбрать (закрыть)" in this one.
    fEdit->OnShow = [this] { BitBtn2->setDefault(true); };
}

int TfDocs::ShowModal() {
    CentreOnMainWindow(*this);
    DBGrid1->setFocus();
    return exec();
}

void TfDocs::closeEvent(QCloseEvent* event) {
    if (isVisible())
        done(mrOk);
    event->accept();
}

void TfDocs::RunEdit() {
    fEdit->RunModal();
    if (Editing(data_.Document))
        data_.Document.Cancel();
}

void TfDocs::Button1Click() {
    data_.Document.Append();
    // The store gives the Id only when the row is stored: the number is still empty here.
    data_.DocumentName.SetAsString(QStringLiteral("Без Имени - ") + data_.DocumentId.AsString());
    cmbOrient->setCurrentIndex(0);
    data_.DocumentPageCount.SetAsInteger(1);
    RunEdit();
}

void TfDocs::Button2Click() {
    pageCountBefore_ = data_.Document.IsEmpty() ? QVariant() : data_.DocumentPageCount.Value();
    data_.Document.Edit();
    cmbOrient->setCurrentIndex(data_.DocumentOrientetion.AsInteger());
    RunEdit();
}

void TfDocs::cmbOrientChange() {
    data_.DocumentOrientetion.SetAsInteger(cmbOrient->currentIndex());
}

void TfDocs::BitBtn2Click() {
    QString message;
    try {
        if (Editing(data_.Document)) {
            ConfirmFewerPages();
            data_.Document.Post();
        }
        return;
    } catch (const Failure& failure) {
        message = failure.Message();
    } catch (const std::exception& failure) {
        message = FailureMessage(failure);
    }
    frame_.ShowInfo(QStringLiteral("Ошибка редактирования\rТекст ошибки:\r") + message,
                    QStringLiteral("Ошибка!"));
    data_.Document.Cancel();
}

void TfDocs::ConfirmFewerPages() {
    if (data_.Document.State() != TDataSetState::dsEdit || pageCountBefore_.isNull())
        return;
    // The controls write what the user entered, as the post would first.
    emit data_.Document.UpdateData();
    const int before = pageCountBefore_.toInt();
    const int after = data_.DocumentPageCount.AsInteger();  // null: no page
    if (after >= before)
        return;
    // The template's fields: the values table follows the template being changed.
    int fields = 0;
    for (int row = 0; row < data_.Values_.RowCount(); ++row) {
        const QVariant page = data_.Values_PageNum.ValueAt(row);
        if (!page.isNull() && page.toInt() > after && page.toInt() <= before)
            ++fields;
    }
    if (fields == 0)
        return;
    const QString pages = after + 1 == before
                              ? QStringLiteral("На странице %1, которая будет убрана,").arg(before)
                              : QStringLiteral("На страницах %1–%2, которые будут убраны,")
                                    .arg(after + 1)
                                    .arg(before);
    const QString question = pages + QStringLiteral(
                                         " есть поля шаблона: %1.\r"
                                         "Пока они там, отчет по этому шаблону не построится.\r"
                                         "Уменьшить количество страниц с %2 до %3?")
                                         .arg(fields)
                                         .arg(before)
                                         .arg(after);
    if (!frame_.AskYesNo(question, QStringLiteral("Количество страниц")))
        data_.DocumentPageCount.SetValue(pageCountBefore_);
}

void TfDocs::BackgroundClick() {
    const TfPageImages& images = data_.PageImages;
    if (!images.Writable()) {
        frame_.ShowInfo(images.Unavailable(), QStringLiteral("Фон страницы"));
        return;
    }
    // A new template has no Id until it is stored, and the picture belongs to the Id.
    if (data_.DocumentId.IsNull()) {
        frame_.ShowInfo(QStringLiteral("Фон выбирается для сохраненного шаблона.\r"
                                       "Нажмите OK, затем откройте шаблон снова."),
                        QStringLiteral("Фон страницы"));
        return;
    }
    emit data_.Document.UpdateData();  // the page count as typed
    const int pages = data_.DocumentPageCount.AsInteger();
    if (pages < 1) {
        frame_.ShowInfo(QStringLiteral("Не определено колличество страниц для документа\r") +
                            data_.DocumentName.AsString(),
                        QStringLiteral("Фон страницы"));
        return;
    }
    fBackground->Execute(data_.DocumentId.Value().toLongLong(), pages);
}

void TfDocs::LayoutClick() {
    if (windows_.ShowPageLayout)
        windows_.ShowPageLayout();
}

void TfDocs::BitBtn3Click() {
    if (Editing(data_.Document))
        data_.Document.Cancel();
}
