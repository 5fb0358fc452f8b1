#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPrinterInfo;

// One setting of a CUPS queue the user may change: its name for `lp -o`, its caption, the
// values it takes (with captions) and the queue's own value.
struct QueueOption {
    QString Key;
    QString Label;
    QStringList Values;
    QStringList ValueLabels;
    QString Default;

    bool operator==(const QueueOption&) const = default;
};

// The queue's settings that leave every mark where it is on the sheet: two-sided printing,
// resolution and colour, each only when the queue offers a choice. Paper, orientation, scaling,
// margins and pages a sheet are never among them: a form must print as laid out.
QList<QueueOption> QueueOptionsOf(const QPrinterInfo& queue);
