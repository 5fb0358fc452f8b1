#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own: its configuration, spool, logs and socket in a temporary
// folder, one cups-pdf queue as the default. CUPS_SERVER points this process (and Qt, which must
// not have read printers yet) at it. It stops when the object goes, and dies with the test
// process if that ends first.
class CupsScheduler {
public:
    static inline const QString Queue = QStringLiteral("Formwright-PDF");

    CupsScheduler();
    ~CupsScheduler();
    CupsScheduler(const CupsScheduler&) = delete;
    CupsScheduler& operator=(const CupsScheduler&) = delete;

    bool Running() const { return running_; }
    // Why it does not run.
    const QString& Error() const { return error_; }
    // cupsd and cups-pdf are installed; run as root, not running is then a fault.
    bool Installed() const { return installed_; }

    // Runs a CUPS client program against this scheduler; its standard output, and its exit code
    // through `code`.
    QString Client(const QString& program, const QStringList& args, int* code = nullptr) const;
    // Back to the one default queue, whatever a test did to the queues.
    void ResetQueues();
    // Adds a cups-pdf queue; true on success.
    bool AddQueue(const QString& name, bool makeDefault);
    // Waits until the job has left the queue; true when it did within the time.
    bool WaitUntilDone(const QString& job, int ms) const;
    // The first value of a job's attribute as the spooler stored it (raw IPP bytes; integers are
    // four bytes big-endian); empty when there is none.
    QByteArray JobAttribute(const QString& job, const QByteArray& name) const;
    // The file of the job's document in the spool.
    QString JobDocument(const QString& job) const;
    // Every job the scheduler ever accepted.
    QStringList AllJobs() const;
    // Stops the scheduler where it stands (it then answers no one), or lets it go on.
    void Freeze(bool frozen);

private:
    bool Start();
    QStringList JobIds(const QStringList& lpstatArgs) const;
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString ppd_;
    QByteArray previousServer_;
    bool installed_{false};
    bool running_{false};
    QString error_;
};
