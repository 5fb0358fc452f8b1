#pragma once

#include <QString>
#include <QStringList>

class QProcess;

// How a spooler program ended.
enum class SpoolerRun {
    NotStarted,  // the program is not there
    Finished,    // it ended by itself; its exit code and output are in the process
    TimedOut,    // it did not end in time and was killed
};

// Runs a CUPS client program while the event loop goes on, so the windows keep answering, and
// waits at most timeoutMs for it.
SpoolerRun RunSpoolerProgram(QProcess& process, const QString& program, const QStringList& args,
                             int timeoutMs);
