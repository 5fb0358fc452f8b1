#include "Connection.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString NextConnectionName() {
    static QAtomicInt serial;
    return QStringLiteral("quillbox-%1").arg(serial.fetchAndAddRelaxed(1));
}

// The store's primary result codes (the low byte of an extended one).
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

// An old Jet file carries its signature at byte 4. Read only once the store has refused the
// file: closing a handle of a file drops this process's locks on it.
bool OldFormat(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.read(19).mid(4) == QByteArrayLiteral("Standard Jet DB");
}

}  // namespace

QString StoreError::Text(Reason reason, const QString& file) {
    const QString name = QFileInfo(file).fileName();
    switch (reason) {
        case Reason::NotOurs:
            return QStringLiteral("Файл %1 не является базой данных этой программы").arg(name);
        case Reason::OldFormat:
            return QStringLiteral(
                       "Файл %1 сохранен в старом формате (Jet 4) и не может быть прочитан")
                .arg(name);
        case Reason::Damaged:
            return QStringLiteral("База данных %1 повреждена и не может быть прочитана").arg(name);
        case Reason::Busy:
            return QStringLiteral(
                       "База данных %1 занята другой программой; повторите попытку позже")
                .arg(name);
        case Reason::Incomplete:
            break;
    }
    return QStringLiteral("В базе данных %1 нет нужных программе таблиц").arg(name);
}

void ThrowStoreError(const QSqlError& error, const QString& file) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (numeric) {
        switch (code) {
            case kNotADatabase:
                if (OldFormat(file))
                    throw StoreError(StoreError::Reason::OldFormat,
                                     StoreError::Text(StoreError::Reason::OldFormat, file));
                throw StoreError(StoreError::Reason::NotOurs,
                                 StoreError::Text(StoreError::Reason::NotOurs, file));
            case kCorrupt:
                throw StoreError(StoreError::Reason::Damaged,
                                 StoreError::Text(StoreError::Reason::Damaged, file));
            case kBusy:
            case kLocked:
                throw StoreError(StoreError::Reason::Busy,
                                 StoreError::Text(StoreError::Reason::Busy, file));
            default:
                break;
        }
    }
    throw DatabaseError(error.text());
}

TADOConnection::TADOConnection() : name_(NextConnectionName()) {
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
}

TADOConnection::~TADOConnection() {
    Close();
    QSqlDatabase::removeDatabase(name_);
}

void TADOConnection::Open() {
    if (Connected())
        return;
    QSqlDatabase db = Database();
    db.setDatabaseName(DataSource);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        ThrowStoreError(db.lastError(), DataSource);
    QSqlQuery q(db);
    // The first statement reads the file's header, so a file that is no database, or one
    // locked by another program, fails here.
    for (const char* pragma :
         {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF"}) {
        if (!q.exec(QLatin1String(pragma))) {
            const QSqlError error = q.lastError();
            q.finish();
            db.close();
            ThrowStoreError(error, DataSource);
        }
    }
}

void TADOConnection::Close() {
    QSqlDatabase db = Database();
    if (db.isOpen())
        db.close();
}

bool TADOConnection::Connected() const {
    return Database().isOpen();
}

QSqlDatabase TADOConnection::Database() const {
    return QSqlDatabase::database(name_, false);
}
