#include "PreviewSearchForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrPreviewSearchForm::TfrPreviewSearchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrPreviewSearchForm"));
    setWindowTitle(QStringLiteral("Поиск"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Искать &текст"), this);
    Edit1 = new QLineEdit(this);
    Label1->setBuddy(Edit1);

    GroupBox1 = new QGroupBox(QStringLiteral("Опции поиска"), this);
    CB1 = new QCheckBox(QStringLiteral("Различать &регистр"), GroupBox1);
    auto* options = new QVBoxLayout(GroupBox1);
    options->addWidget(CB1);
    options->addStretch();

    GroupBox2 = new QGroupBox(QStringLiteral("Искать"), this);
    RB1 = new QRadioButton(QStringLiteral("С &начала"), GroupBox2);
    RB2 = new QRadioButton(QStringLiteral("&Продолжить"), GroupBox2);
    RB1->setChecked(true);
    auto* from = new QVBoxLayout(GroupBox2);
    from->addWidget(RB1);
    from->addWidget(RB2);

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* text = new QHBoxLayout;
    text->addWidget(Label1);
    text->addWidget(Edit1, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(GroupBox1, 1);
    groups->addWidget(GroupBox2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    // A dialog of one size: 262 by 158 as laid out, larger where the fonts need it.
    setMinimumSize(262, 158);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrPreviewSearchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the window it belongs to, or on the screen.
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->frameGeometry().center() - rect().center());
    Edit1->setFocus();
    Edit1->selectAll();
}
