#include "XSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <functional>

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

void Stop(std::unique_ptr<QProcess>& process) {
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    process.reset();
}

}  // namespace

XSession::~XSession() {
    Stop(manager_);
    Stop(server_);
}

bool XSession::Start() {
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            error_ = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return false;
        }
    }
    // Xvfb takes a free display number itself and writes it to its standard output.
    server_ = std::make_unique<QProcess>();
    server_->setProcessChannelMode(QProcess::SeparateChannels);
    server_->setStandardErrorFile(QProcess::nullDevice());
    server_->start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray number;
    const bool started =
        server_->waitForStarted(5000) && WaitUntil(
                                             [&] {
                                                 server_->waitForReadyRead(50);
                                                 number += server_->readAllStandardOutput();
                                                 return number.contains('\n') ||
                                                        server_->state() == QProcess::NotRunning;
                                             },
                                             10000);
    if (!started || server_->state() == QProcess::NotRunning || number.trimmed().isEmpty()) {
        error_ = QStringLiteral("Xvfb did not start");
        return false;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    qputenv("DISPLAY", display_.toLocal8Bit());
    manager_ = std::make_unique<QProcess>();
    manager_->setStandardOutputFile(QProcess::nullDevice());
    manager_->setStandardErrorFile(QProcess::nullDevice());
    manager_->start(QStringLiteral("openbox"), {});
    // The window manager is up once it names itself on the root window.
    if (!manager_->waitForStarted(5000) ||
        !WaitUntil(
            [] {
                return Run(QStringLiteral("xprop"),
                           {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains(QStringLiteral("window id"));
            },
            10000)) {
        error_ = QStringLiteral("openbox did not start on %1").arg(display_);
        return false;
    }
    return true;
}

QString XSession::Run(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString XSession::Property(quint64 window, const char* name) {
    const QString out = Run(QStringLiteral("xprop"),
                            {QStringLiteral("-id"), QString::number(window), QStringLiteral("-len"),
                             QStringLiteral("64"), QLatin1String(name)})
                            .trimmed();
    // NAME(TYPE) = value, or NAME(TYPE): value for windows.
    qsizetype at = out.indexOf(QStringLiteral(" = "));
    if (at < 0)
        at = out.indexOf(QStringLiteral("): "));
    if (at < 0 || out.contains(QStringLiteral("not found")))
        return {};
    QString value = out.mid(at + 3);
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

bool XSession::HasProperty(quint64 window, const char* name) {
    const QString out = Run(QStringLiteral("xprop"),
                            {QStringLiteral("-id"), QString::number(window), QStringLiteral("-len"),
                             QStringLiteral("4"), QLatin1String(name)});
    return !out.isEmpty() && !out.contains(QStringLiteral("not found"));
}
