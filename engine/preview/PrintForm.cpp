#include "PrintForm.h"

#include "Failure.h"
#include "Formatting.h"
#include "PrintCommands.h"
#include "PrintPictures.h"
#include "Printer.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int kItemHeight = 16;
// As many as the command line takes.
constexpr int kMaxCopies = 999;

// Draws the items of the drop-down list as the closed box draws its current item.
class PrinterItemDelegate : public QStyledItemDelegate {
public:
    explicit PrinterItemDelegate(TfrPrinterComboBox& box) : QStyledItemDelegate(&box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        box_.DrawItem(*painter, option.rect, index.row(),
                      option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 24, kItemHeight};
    }

private:
    TfrPrinterComboBox& box_;
};

}  // namespace

// --- the printer list --------------------------------------------------------------------------

TfrPrinterComboBox::TfrPrinterComboBox(QPixmap picture, QWidget* parent)
    : QComboBox(parent), picture_(std::move(picture)) {
    setItemDelegate(new PrinterItemDelegate(*this));
}

void TfrPrinterComboBox::DrawItem(QPainter& painter, const QRect& rect, int index,
                                  bool selected) const {
    const QPalette& pal = palette();
    painter.fillRect(rect, selected ? pal.highlight() : pal.base());
    if (index < 0 || index >= count())
        return;
    painter.drawPixmap(rect.left() + 2, rect.top(), picture_);
    painter.setPen(selected ? pal.highlightedText().color() : pal.text().color());
    const QRect text(rect.left() + 24, rect.top() + 1, rect.width() - 24, rect.height() - 1);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, itemText(index));
}

void TfrPrinterComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    field.setHeight(std::min(field.height(), kItemHeight));
    field.moveTop((height() - field.height()) / 2);
    DrawItem(painter, field, currentIndex(), hasFocus());
}

// --- the dialog --------------------------------------------------------------------------------

TfrPrintForm::TfrPrintForm(TfrPrinter& printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      CollateImg(frCollatePicture()),
      NonCollateImg(frNonCollatePicture()),
      printer_(printer) {
    setObjectName(QStringLiteral("frPrintForm"));
    setWindowTitle(QStringLiteral("Печать"));
    setFixedSize(485, 226);
    BuildPrinterGroup();
    BuildPagesGroup();
    BuildCopiesGroup();
    BuildOutput();

    setTabOrder(CB1, PropButton);
    setTabOrder(PropButton, RB1);
    setTabOrder(RB1, RB2);
    setTabOrder(RB2, RB3);
    setTabOrder(RB3, E2);
    setTabOrder(E2, E1);
    setTabOrder(E1, frSpeedButton1);
    setTabOrder(frSpeedButton1, frSpeedButton2);
    setTabOrder(frSpeedButton2, CollateCB);
    setTabOrder(CollateCB, CB2);
    setTabOrder(CB2, Button1);
    setTabOrder(Button1, Button2);
    E1->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrPrintForm::~TfrPrintForm() = default;

void TfrPrintForm::BuildPrinterGroup() {
    GroupBox1 = new QGroupBox(QStringLiteral("Принтер"), this);
    GroupBox1->setGeometry(8, 4, 469, 53);
    Label4 = new QLabel(QStringLiteral("&Имя:"), GroupBox1);
    Label4->setGeometry(12, 22, 40, 16);

    Image1 = new QLabel(GroupBox1);
    Image1->setPixmap(frPrinterPicture());
    Image1->setGeometry(0, 0, 18, 16);
    Image1->hide();

    CB1 = new TfrPrinterComboBox(Image1->pixmap(), GroupBox1);
    CB1->setGeometry(56, 18, 305, 22);
    Label4->setBuddy(CB1);
    // Every printer but the virtual one, which cannot print.
    const QStringList names = printer_.PrinterNames();
    for (int i = 0; i < names.size(); ++i) {
        if (i != printer_.VirtualPrinterIndex())
            CB1->addItem(names[i]);
    }
    const SystemPrinter* system = printer_.System();
    rememberedPrinter_ = system ? system->PrinterIndex() : printer_.ActivePrinter();
    CB1->setCurrentIndex(rememberedPrinter_);
    connect(CB1, &QComboBox::currentIndexChanged, this, &TfrPrintForm::CB1Click);

    PropButton = new QPushButton(QStringLiteral("Свойства..."), GroupBox1);
    PropButton->setGeometry(368, 17, 89, 25);
    connect(PropButton, &QPushButton::clicked, this, &TfrPrintForm::PropButtonClick);
    EnableProperties();
}

void TfrPrintForm::EnableProperties() {
    const SystemPrinter* system = printer_.System();
    PropButton->setEnabled(system && system->HasPropertiesDialog());
}

void TfrPrintForm::BuildPagesGroup() {
    GroupBox2 = new QGroupBox(QStringLiteral("Страницы"), this);
    GroupBox2->setGeometry(8, 60, 237, 125);
    RB1 = new QRadioButton(QStringLiteral("&Все"), GroupBox2);
    RB1->setGeometry(12, 18, 120, 18);
    RB1->setChecked(true);
    RB2 = new QRadioButton(QStringLiteral("&Текущая"), GroupBox2);
    RB2->setGeometry(12, 38, 120, 18);
    RB3 = new QRadioButton(QStringLiteral("&Номера:"), GroupBox2);
    RB3->setGeometry(12, 58, 80, 18);
    connect(RB3, &QRadioButton::clicked, this, &TfrPrintForm::RB3Click);
    E2 = new QLineEdit(GroupBox2);
    E2->setGeometry(92, 56, 133, 21);
    E2->installEventFilter(this);
    Label2 =
        new QLabel(QStringLiteral("Введите номера и/или диапазоны страниц, разделенные запятыми. "
                                  "Например, 1,3,5-12"),
                   GroupBox2);
    Label2->setGeometry(12, 80, 213, 40);
    Label2->setWordWrap(true);
}

void TfrPrintForm::BuildCopiesGroup() {
    GroupBox3 = new QGroupBox(QStringLiteral("Копии"), this);
    GroupBox3->setGeometry(252, 60, 225, 125);
    Label1 = new QLabel(QStringLiteral("Число &копий:"), GroupBox3);
    Label1->setGeometry(12, 22, 86, 16);
    E1 = new QLineEdit(QStringLiteral("1"), GroupBox3);
    E1->setGeometry(100, 19, 41, 21);
    Label1->setBuddy(E1);
    frSpeedButton1 = new QToolButton(GroupBox3);
    frSpeedButton1->setArrowType(Qt::UpArrow);
    frSpeedButton1->setGeometry(141, 19, 15, 11);
    connect(frSpeedButton1, &QToolButton::clicked, this, &TfrPrintForm::frSpeedButton1Click);
    frSpeedButton2 = new QToolButton(GroupBox3);
    frSpeedButton2->setArrowType(Qt::DownArrow);
    frSpeedButton2->setGeometry(141, 30, 15, 11);
    connect(frSpeedButton2, &QToolButton::clicked, this, &TfrPrintForm::frSpeedButton2Click);

    PB1 = new QWidget(GroupBox3);
    PB1->setGeometry(122, 50, 92, 53);
    PB1->installEventFilter(this);

    CollateCB = new QCheckBox(GroupBox3);
    CollateCB->setGeometry(12, 98, 17, 17);
    CollateCB->setChecked(true);
    connect(CollateCB, &QCheckBox::toggled, this, &TfrPrintForm::PB1Paint);
    Label3 = new QLabel(QStringLiteral("&Разобрать по копиям"), GroupBox3);
    Label3->setGeometry(30, 98, 140, 17);
    Label3->setBuddy(CollateCB);
    Label3->installEventFilter(this);
}

void TfrPrintForm::BuildOutput() {
    Label5 = new QLabel(QStringLiteral("Вывести на &печать:"), this);
    Label5->move(8, 196);
    Label5->adjustSize();
    CB2 = new QComboBox(this);
    CB2->addItems({QStringLiteral("Все страницы диапазона"), QStringLiteral("Нечетные страницы"),
                   QStringLiteral("Четные страницы")});
    CB2->setCurrentIndex(0);
    // As wide as its longest item: the screen's font may be wider than the form was drawn for.
    const int cb2Left = Label5->geometry().right() + 1 + 11;
    CB2->setGeometry(cb2Left, 192, std::max(160, CB2->sizeHint().width()), 22);
    Label5->setBuddy(CB2);
    const int buttonsLeft = std::max(318, CB2->geometry().right() + 1 + 8);
    if (buttonsLeft > 318)
        setFixedSize(485 + buttonsLeft - 318, 226);

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setGeometry(buttonsLeft, 192, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setGeometry(buttonsLeft + 84, 192, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrPrintForm::Copies() const {
    const int copies = frStrToInt(E1->text());
    if (copies > kMaxCopies)
        throw Failure(QStringLiteral("Число копий не может быть больше %1").arg(kMaxCopies));
    return copies;
}

void TfrPrintForm::CB1Click() {
    printer_.SelectPrinter(CB1->currentIndex());
    EnableProperties();
}

void TfrPrintForm::PropButtonClick() {
    printer_.ShowPrinterProperties();
}

void TfrPrintForm::RB3Click() {
    E2->setFocus();
}

void TfrPrintForm::frSpeedButton1Click() {
    StepCopies(1);
}

void TfrPrintForm::frSpeedButton2Click() {
    StepCopies(-1);
}

void TfrPrintForm::StepCopies(int step) {
    try {
        int copies = std::min(frStrToInt(E1->text()) + step, kMaxCopies);
        if (step < 0)
            copies = std::max(copies, 1);
        E1->setText(QString::number(copies));
    } catch (const Failure& e) {
        frErrorBox(e.Message());
    }
}

void TfrPrintForm::PB1Paint() {
    PB1->update();
}

void TfrPrintForm::done(int result) {
    if (result != QDialog::Accepted)
        printer_.SelectPrinter(rememberedPrinter_);
    QDialog::done(result);
}

bool TfrPrintForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == E2 && event->type() == QEvent::FocusIn) {
        RB3->setChecked(true);
    } else if (watched == Label3 && event->type() == QEvent::MouseButtonRelease) {
        // Each click, the second one of a double click as well.
        CollateCB->toggle();
        return true;
    } else if (watched == PB1 && event->type() == QEvent::Paint) {
        QPainter p(PB1);
        p.fillRect(PB1->rect(), palette().button());
        if (CollateCB->isChecked())
            p.drawPixmap(QRect(8, 0, 74, 53), CollateImg, QRect(0, 0, 74, 53));
        else
            p.drawPixmap(QRect(0, 8, 92, 40), NonCollateImg, QRect(0, 0, 92, 40));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
