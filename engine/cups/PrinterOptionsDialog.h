#pragma once

#include "QueueOptions.h"

#include <QDialog>
#include <QList>
#include <QMap>

class QComboBox;
class QLabel;
class QPushButton;

// "Свойства…" of a CUPS queue: only the settings that leave every mark in its place
// (two-sided printing, resolution, colour), one drop-down list each. Paper,
// orientation, scaling and pages a sheet are the program's and are not offered; the note says
// that the queue's other settings are the system's.
class PrinterOptionsDialog : public QDialog {
public:
    // `chosen`: the values picked before, by option key.
    PrinterOptionsDialog(const QString& queue, QList<QueueOption> options,
                         const QMap<QString, QString>& chosen, QWidget* parent = nullptr);

    // The values that differ from the queue's own, by option key.
    QMap<QString, QString> Chosen() const;

    QLabel* Note{nullptr};
    QList<QComboBox*> Boxes;
    QPushButton* OkButton{nullptr};
    QPushButton* CancelButton{nullptr};

private:
    QList<QueueOption> options_;
};
