#include "PrinterOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

PrinterOptionsDialog::PrinterOptionsDialog(const QString& queue, QList<QueueOption> options,
                                           const QMap<QString, QString>& chosen, QWidget* parent)
    : QDialog(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("PrinterOptionsDialog"));
    setWindowTitle(QStringLiteral("Свойства принтера \"%1\"").arg(queue));
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    for (const QueueOption& option : options_) {
        auto* box = new QComboBox(this);
        box->setObjectName(option.Key);
        if (option.Default.isEmpty())
            box->addItem(QStringLiteral("Как задано в системе"), QString());
        for (qsizetype i = 0; i < option.Values.size(); ++i)
            box->addItem(option.ValueLabels.value(i, option.Values[i]), option.Values[i]);
        box->setCurrentIndex(std::max(0, box->findData(chosen.value(option.Key, option.Default))));
        auto* label = new QLabel(option.Label + u':', this);
        label->setBuddy(box);
        form->addRow(label, box);
        Boxes.append(box);
    }
    layout->addLayout(form);

    Note = new QLabel(this);
    Note->setWordWrap(true);
    Note->setText(
        options_.isEmpty()
            ? QStringLiteral("У этого принтера нет настроек, которые программа может менять. Его "
                             "параметры задаются в системе.")
            : QStringLiteral("Здесь только настройки, которые не сдвигают печать на бланке. "
                             "Бумага и ориентация берутся из шаблона; остальные параметры "
                             "принтера задаются в системе."));
    layout->addWidget(Note);

    auto* buttons = new QDialogButtonBox(this);
    OkButton = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    CancelButton = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    OkButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QMap<QString, QString> PrinterOptionsDialog::Chosen() const {
    QMap<QString, QString> chosen;
    for (qsizetype i = 0; i < options_.size(); ++i) {
        const QString value = Boxes[i]->currentData().toString();
        if (!value.isEmpty() && value != options_[i].Default)
            chosen.insert(options_[i].Key, value);
    }
    return chosen;
}
