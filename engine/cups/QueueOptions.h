#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One option of a CUPS queue's driver, as `lpoptions -l` lists it.
struct QueueOption {
    QString Key;
    QString Label;
    QStringList Values;
    QString Default;  // the value the queue uses now

    bool operator==(const QueueOption&) const = default;
};

// The options in the text `lpoptions -p QUEUE -l` writes ("Key/Label: one *two three", the
// current value marked with "*"), in its order; lines of another shape are skipped.
QList<QueueOption> ParseQueueOptions(const QString& listing);

// Whether an option leaves every mark where it is on the sheet: the paper source, two-sided
// printing, resolution, quality, colour and media type. Paper size, orientation, scaling,
// margins and pages a sheet are not among them: a form must print as laid out.
bool KeepsLayout(const QString& key);

// The options of the queue that keep the layout, asked of the spooler; none when it does not
// answer within a few seconds.
QList<QueueOption> ReadQueueOptions(const QString& queue);
