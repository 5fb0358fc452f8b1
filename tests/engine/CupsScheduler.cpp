#include "CupsScheduler.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

namespace {

const QStringList kSbinPaths{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                             QStringLiteral("/usr/local/sbin")};

QString FindProgram(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, kSbinPaths);
    return path;
}

bool WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(text.toUtf8()) >= 0;
}

}  // namespace

CupsScheduler::CupsScheduler()
    : dir_(QDir::tempPath() + QStringLiteral("/formwright-cups-XXXXXX")) {
    previousServer_ = qgetenv("CUPS_SERVER");
    const QString cupsd = FindProgram(QStringLiteral("cupsd"));
    if (cupsd.isEmpty() || FindProgram(QStringLiteral("lpadmin")).isEmpty()) {
        error_ = QStringLiteral("no cupsd");
        return;
    }
    for (const char* candidate : {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd",
                                  "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"}) {
        if (QFileInfo::exists(QString::fromLatin1(candidate))) {
            ppd_ = QString::fromLatin1(candidate);
            break;
        }
    }
    if (ppd_.isEmpty() || !QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf"))) {
        error_ = QStringLiteral("no cups-pdf");
        return;
    }
    installed_ = true;
    // cups-pdf runs only under a scheduler started by root.
    if (::geteuid() != 0) {
        error_ = QStringLiteral("not root");
        return;
    }
    running_ = Start();
}

CupsScheduler::~CupsScheduler() {
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(10000)) {
            cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }
    if (previousServer_.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", previousServer_);
}

bool CupsScheduler::Start() {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    // Filters run as the scheduler's own user: they must reach the folder and write to tmp.
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "ppd"})
        QDir(dir_.path()).mkdir(QString::fromLatin1(sub));
    ::chmod(QFile::encodeName(Path(QStringLiteral("tmp"))).constData(), 01777);

    const QString socket = Path(QStringLiteral("cups.sock"));
    const QString conf = QStringLiteral(
                             "Listen %1\n"
                             "Browsing No\n"
                             "LogLevel warn\n"
                             "DirtyCleanInterval 0\n"
                             "WebInterface No\n"
                             "DefaultAuthType None\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                             "  </Limit>\n</Policy>\n")
                             .arg(socket);
    const QString files = QStringLiteral(
                              "ServerRoot %1\n"
                              "RequestRoot %1/spool\n"
                              "CacheDir %1/cache\n"
                              "StateDir %1/state\n"
                              "TempDir %1/tmp\n"
                              "AccessLog %1/log/access_log\n"
                              "ErrorLog %1/log/error_log\n"
                              "PageLog %1/log/page_log\n")
                              .arg(dir_.path());
    if (!WriteFile(Path(QStringLiteral("cupsd.conf")), conf) ||
        !WriteFile(Path(QStringLiteral("cups-files.conf")), files)) {
        error_ = QStringLiteral("cannot write the configuration");
        return false;
    }

    // The client side: this process, Qt and every client program talk to this scheduler only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");

    // Dies with the test process, whatever ends it.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.start(FindProgram(QStringLiteral("cupsd")),
                 {QStringLiteral("-f"), QStringLiteral("-c"), Path(QStringLiteral("cupsd.conf")),
                  QStringLiteral("-s"), Path(QStringLiteral("cups-files.conf"))});
    if (!cupsd_.waitForStarted(10000)) {
        error_ = QStringLiteral("cupsd did not start: ") + cupsd_.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    bool up = false;
    while (!deadline.hasExpired() && cupsd_.state() == QProcess::Running) {
        if (QFileInfo::exists(socket) && Client(QStringLiteral("lpstat"), {QStringLiteral("-r")})
                                             .contains(QStringLiteral("is running"))) {
            up = true;
            break;
        }
        QThread::msleep(100);
    }
    if (!up) {
        QFile log(Path(QStringLiteral("log/error_log")));
        log.open(QIODevice::ReadOnly);
        error_ = QStringLiteral("cupsd did not come up: ") +
                 QString::fromLocal8Bit(cupsd_.readAll() + log.readAll());
        return false;
    }
    if (!AddQueue(Queue, true)) {
        error_ = QStringLiteral("the cups-pdf queue could not be added");
        return false;
    }
    return true;
}

void CupsScheduler::Freeze(bool frozen) {
    if (cupsd_.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(cupsd_.processId()), frozen ? SIGSTOP : SIGCONT);
}

QString CupsScheduler::Client(const QString& program, const QStringList& args, int* code) const {
    QProcess p;
    p.start(FindProgram(program), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    if (code)
        *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool CupsScheduler::AddQueue(const QString& name, bool makeDefault) {
    int code = -1;
    Client(QStringLiteral("lpadmin"),
           {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
            QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd_},
           &code);
    if (code != 0)
        return false;
    if (makeDefault)
        Client(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, &code);
    return code == 0;
}

void CupsScheduler::ResetQueues() {
    const QString queues = Client(QStringLiteral("lpstat"), {QStringLiteral("-e")});
    bool present = false;
    for (const QString& name : queues.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (name == Queue)
            present = true;
        else
            Client(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
    }
    if (!present)
        AddQueue(Queue, true);
    else
        Client(QStringLiteral("lpadmin"), {QStringLiteral("-d"), Queue});
}

bool CupsScheduler::WaitUntilDone(const QString& job, int ms) const {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (!JobIds({QStringLiteral("-o")}).contains(job))
            return AllJobs().contains(job);
        QThread::msleep(100);
    }
    return false;
}

QByteArray CupsScheduler::JobAttribute(const QString& job, const QByteArray& name) const {
    const int number = job.section(QLatin1Char('-'), -1).toInt();
    QFile f(Path(QStringLiteral("spool/c%1").arg(number, 5, 10, QLatin1Char('0'))));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    // An attribute: tag, name length, name, value length, value (lengths 16-bit big-endian).
    QByteArray key;
    key.append(char(name.size() >> 8)).append(char(name.size() & 0xFF)).append(name);
    const qsizetype at = data.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype value = at + key.size();
    if (value + 2 > data.size())
        return {};
    const int length = (uchar(data[value]) << 8) | uchar(data[value + 1]);
    return data.mid(value + 2, length);
}

QString CupsScheduler::JobDocument(const QString& job) const {
    const int number = job.section(QLatin1Char('-'), -1).toInt();
    return Path(QStringLiteral("spool/d%1-001").arg(number, 5, 10, QLatin1Char('0')));
}

QStringList CupsScheduler::AllJobs() const {
    return JobIds({QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")});
}

QStringList CupsScheduler::JobIds(const QStringList& lpstatArgs) const {
    QStringList jobs;
    const QString out = Client(QStringLiteral("lpstat"), lpstatArgs);
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        jobs.append(line.section(QLatin1Char(' '), 0, 0));
    return jobs;
}
