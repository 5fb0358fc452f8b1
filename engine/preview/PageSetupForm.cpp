#include "PageSetupForm.h"

#include "Printer.h"
#include "Rounding.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPageSize>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>

namespace {

// The driver's name of a paper, or the name of its standard size when the driver gives none.
QString PaperName(int kind, const QString& title) {
    if (!title.isEmpty())
        return title;
    if (kind == DMPAPER_USER)
        return QStringLiteral("Особый размер");
    const QPageSize size(QPageSize::id(kind));
    return size.isValid() ? size.name() : QString::number(kind);
}

}  // namespace

TfrPageSetupForm::TfrPageSetupForm(TfrPrinter& printer, const TfrPageSetup& setup, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      printer_(printer) {
    setObjectName(QStringLiteral("frPageSetupForm"));
    setWindowTitle(QStringLiteral("Параметры страницы"));
    setFixedSize(420, 262);

    PrinterBox = ListGroup(PrinterGroup, PrinterLabel, QStringLiteral("Принтер"),
                           QStringLiteral("&Имя:"), 4);
    // The real printers; the virtual one only when there is no other.
    const QStringList names = printer.PrinterNames();
    const bool onlyVirtual = names.size() == 1;
    for (int i = 0; i < names.size(); ++i) {
        if (onlyVirtual || i != printer.VirtualPrinterIndex())
            PrinterBox->addItem(names[i]);
    }
    rememberedPrinter_ = printer.ActivePrinter();
    PrinterBox->setCurrentIndex(setup.Printer);

    PaperBox =
        ListGroup(PaperGroup, PaperLabel, QStringLiteral("Бумага"), QStringLiteral("&Размер:"), 60);

    OrientationGroup = new QGroupBox(QStringLiteral("Ориентация"), this);
    OrientationGroup->setGeometry(8, 116, 130, 105);
    Portrait = new QRadioButton(QStringLiteral("&Книжная"), OrientationGroup);
    Portrait->setGeometry(12, 24, 110, 18);
    Landscape = new QRadioButton(QStringLiteral("&Альбомная"), OrientationGroup);
    Landscape->setGeometry(12, 50, 110, 18);
    (setup.Landscape ? Landscape : Portrait)->setChecked(true);

    MarginsGroup = new QGroupBox(QStringLiteral("Поля (мм)"), this);
    MarginsGroup->setGeometry(146, 116, 266, 105);
    LeftMargin = MarginBox(LeftLabel, QStringLiteral("&Левое:"), setup.LeftMargin, 0);
    TopMargin = MarginBox(TopLabel, QStringLiteral("&Верхнее:"), setup.TopMargin, 1);
    RightMargin = MarginBox(RightLabel, QStringLiteral("Прав&ое:"), setup.RightMargin, 2);
    BottomMargin = MarginBox(BottomLabel, QStringLiteral("&Нижнее:"), setup.BottomMargin, 3);

    OkButton = new QPushButton(QStringLiteral("ОК"), this);
    OkButton->setGeometry(254, 229, 75, 25);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setGeometry(337, 229, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    printer_.SelectPrinter(PrinterBox->currentIndex());
    FillPapers(setup.PaperKind);
    connect(PrinterBox, &QComboBox::currentIndexChanged, this, &TfrPageSetupForm::PrinterChanged);
    PaperBox->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrPageSetupForm::~TfrPageSetupForm() = default;

QComboBox* TfrPageSetupForm::ListGroup(QGroupBox*& group, QLabel*& label, const QString& title,
                                       const QString& caption, int top) {
    group = new QGroupBox(title, this);
    group->setGeometry(8, top, 404, 53);
    label = new QLabel(caption, group);
    label->setGeometry(12, 22, 60, 16);
    auto* box = new QComboBox(group);
    box->setGeometry(76, 18, 316, 22);
    label->setBuddy(box);
    return box;
}

QDoubleSpinBox* TfrPageSetupForm::MarginBox(QLabel*& label, const QString& caption, int hundredths,
                                            int row) {
    const int column = row / 2;
    const int line = row % 2;
    label = new QLabel(caption, MarginsGroup);
    // Each column's captions as wide as the wider of its two in the screen's font.
    const QFontMetrics metrics(label->font());
    static const QString columns[2][2] = {{QStringLiteral("Левое:"), QStringLiteral("Верхнее:")},
                                          {QStringLiteral("Правое:"), QStringLiteral("Нижнее:")}};
    auto captionWidth = [&metrics](int c) {
        return std::max(metrics.horizontalAdvance(columns[c][0]),
                        metrics.horizontalAdvance(columns[c][1])) +
               2;
    };
    constexpr int boxWidth = 58;
    const int left = column == 0 ? 10 : 10 + captionWidth(0) + 3 + boxWidth + 8;
    label->setGeometry(left, 26 + line * 36, captionWidth(column), 16);
    auto* box = new QDoubleSpinBox(MarginsGroup);
    box->setGeometry(left + captionWidth(column) + 3, 22 + line * 36, boxWidth, 22);
    box->setDecimals(2);
    box->setRange(0, 999.99);
    box->setValue(hundredths / 100.0);
    label->setBuddy(box);
    return box;
}

TfrPageSetup TfrPageSetupForm::Setup() const {
    TfrPageSetup setup;
    setup.Printer = PrinterBox->currentIndex();
    setup.PaperKind = PaperBox->currentData().toInt();
    setup.Landscape = Landscape->isChecked();
    setup.LeftMargin = frRound(LeftMargin->value() * 100);
    setup.TopMargin = frRound(TopMargin->value() * 100);
    setup.RightMargin = frRound(RightMargin->value() * 100);
    setup.BottomMargin = frRound(BottomMargin->value() * 100);
    return setup;
}

void TfrPageSetupForm::PrinterChanged() {
    const int kind = PaperBox->currentData().toInt();
    printer_.SelectPrinter(PrinterBox->currentIndex());
    FillPapers(kind);
}

void TfrPageSetupForm::FillPapers(int kind) {
    PaperBox->clear();
    const QStringList& titles = printer_.PaperTitles();
    for (int i = 0; i < printer_.PaperKindCount(); ++i) {
        const int code = printer_.PaperKinds()[i];
        PaperBox->addItem(PaperName(code, i < titles.size() ? titles[i] : QString()), code);
    }
    int index = PaperBox->findData(kind);
    if (index < 0)
        index = PaperBox->findData(printer_.PaperKind());
    PaperBox->setCurrentIndex(std::max(index, 0));
}

void TfrPageSetupForm::done(int result) {
    if (result != QDialog::Accepted)
        printer_.SelectPrinter(rememberedPrinter_);
    QDialog::done(result);
}

bool frRunPageSetupForm(TfrPrinter& printer, TfrPageSetup& setup, QWidget* owner) {
    TfrPageSetupForm form(printer, setup, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    setup = form.Setup();
    return true;
}
