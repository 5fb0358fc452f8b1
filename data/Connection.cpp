#include "Connection.h"

#include "Failure.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QString NextConnectionName() {
    static QAtomicInt serial;
    return QStringLiteral("quillbox-%1").arg(serial.fetchAndAddRelaxed(1));
}
}  // namespace

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
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DatabaseError(db.lastError().text());
    QSqlQuery q(db);
    // The first statement reads the file's header, so a file that is no database fails here.
    for (const char* pragma :
         {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF"}) {
        if (!q.exec(QLatin1String(pragma))) {
            const QString message = q.lastError().text();
            q.finish();
            db.close();
            throw DatabaseError(message);
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
