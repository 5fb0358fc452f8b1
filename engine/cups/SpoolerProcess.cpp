#include "SpoolerProcess.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

SpoolerRun RunSpoolerProgram(QProcess& process, const QString& program, const QStringList& args,
                             int timeoutMs) {
    QEventLoop loop;
    bool over = false;
    const auto stop = [&] {
        over = true;
        loop.quit();
    };
    QObject::connect(&process, &QProcess::finished, &loop, stop);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            stop();
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    process.start(program, args);
    timeout.start(timeoutMs);
    if (!over)
        loop.exec();
    QObject::disconnect(&process, nullptr, &loop, nullptr);

    if (process.error() == QProcess::FailedToStart)
        return SpoolerRun::NotStarted;
    if (process.state() == QProcess::NotRunning)
        return SpoolerRun::Finished;
    process.kill();
    process.waitForFinished();
    return SpoolerRun::TimedOut;
}
