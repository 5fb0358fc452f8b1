#include "Schema.h"

#include "Connection.h"
#include "Failure.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace Schema {
namespace {

// Column declarations: Text(n) and the integer ranges are enforced by named CHECK constraints,
// so the store's message names the column.
QString Text(const char* column, int n) {
    return QStringLiteral(
               "\"%1\" TEXT CONSTRAINT \"%1 longer than %2 characters\" "
               "CHECK (\"%1\" IS NULL OR length(\"%1\") <= %2)")
        .arg(QLatin1String(column))
        .arg(n);
}

QString Small(const char* column, const char* extra = "") {
    return QStringLiteral(
               "\"%1\" SMALLINT%2 CONSTRAINT \"%1 out of range -32768..32767\" "
               "CHECK (\"%1\" IS NULL OR \"%1\" BETWEEN -32768 AND 32767)")
        .arg(QLatin1String(column), QLatin1String(extra));
}

QString Integer(const char* column) {
    return QStringLiteral(
               "\"%1\" INTEGER CONSTRAINT \"%1 out of range for a 32-bit integer\" "
               "CHECK (\"%1\" IS NULL OR \"%1\" BETWEEN -2147483648 AND 2147483647)")
        .arg(QLatin1String(column));
}

QString Boolean(const char* column) {
    return QStringLiteral(
               "\"%1\" BOOLEAN CONSTRAINT \"%1 is not Yes/No\" "
               "CHECK (\"%1\" IS NULL OR \"%1\" IN (0, 1))")
        .arg(QLatin1String(column));
}

const QString kKey = QStringLiteral("\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT");

void Exec(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql))
        throw DatabaseError(q.lastError().text());
}

QString Table(const char* name, const QStringList& columns) {
    return QStringLiteral("CREATE TABLE \"%1\" (\n  %2\n)")
        .arg(QLatin1String(name), columns.join(QStringLiteral(",\n  ")));
}

qint64 Insert(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
    return q.lastInsertId().toLongLong();
}

// The program's own tables: what the four tables have no place for.
struct Extension {
    const char* name;
    QString sql;
};

QList<Extension> Extensions() {
    return {
        {"FwPageImage",
         QStringLiteral(
             "CREATE TABLE \"FwPageImage\" (\n"
             "  \"Id\" INTEGER PRIMARY KEY AUTOINCREMENT,\n"
             "  \"Document_Id\" INTEGER NOT NULL,\n"
             "  \"PageNum\" INTEGER NOT NULL,\n"
             "  \"Picture\" BLOB NOT NULL,\n"
             "  \"Kind\" TEXT NOT NULL CHECK (\"Kind\" IN ('png', 'jpeg', 'tiff', 'pdf')),\n"
             "  \"SourcePage\" INTEGER NOT NULL DEFAULT 0,\n"
             "  \"Dpi\" REAL NOT NULL DEFAULT 0,\n"
             "  \"ShiftX\" INTEGER NOT NULL DEFAULT 0,\n"
             "  \"ShiftY\" INTEGER NOT NULL DEFAULT 0,\n"
             "  UNIQUE (\"Document_Id\", \"PageNum\")\n"
             ")")},
    };
}

void CreateExtensions(QSqlQuery& q, const QStringList& names) {
    for (const Extension& e : Extensions()) {
        if (names.contains(QLatin1String(e.name)))
            Exec(q, e.sql);
    }
}

QStringList ExtensionNames() {
    QStringList names;
    for (const Extension& e : Extensions())
        names << QLatin1String(e.name);
    return names;
}

}  // namespace

QStringList MissingExtensions(QSqlDatabase& db) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw DatabaseError(q.lastError().text());
    QSet<QString> present;
    while (q.next())
        present.insert(q.value(0).toString().toLower());
    QStringList missing;
    for (const QString& name : ExtensionNames()) {
        if (!present.contains(name.toLower()))
            missing << name;
    }
    return missing;
}

void CreateMissingExtensions(QSqlDatabase& db) {
    const QStringList missing = MissingExtensions(db);
    if (missing.isEmpty())
        return;
    if (!db.transaction())
        throw DatabaseError(db.lastError().text());
    QSqlQuery q(db);
    try {
        CreateExtensions(q, missing);
    } catch (...) {
        q.finish();
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw DatabaseError(text);
    }
}

void Check(const TADOConnection& connection, const Columns& used) {
    // Names compare as the store compares them: without regard to case.
    QHash<QString, QSet<QString>> present;
    QSqlQuery q(connection.Database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m "
                               "JOIN pragma_table_info(m.name) AS p "
                               "WHERE m.type IN ('table', 'view')")))
        ThrowStoreError(q.lastError(), connection.DataSource);
    while (q.next())
        present[q.value(0).toString().toLower()].insert(q.value(1).toString().toLower());
    if (q.lastError().isValid())
        ThrowStoreError(q.lastError(), connection.DataSource);

    QStringList missing;
    int tablesFound = 0;
    for (const auto& [table, columns] : used) {
        const auto found = present.constFind(table.toLower());
        if (found == present.cend()) {
            missing << QStringLiteral("таблицы «%1»").arg(table);
            continue;
        }
        ++tablesFound;
        for (const QString& column : columns) {
            if (!found->contains(column.toLower()))
                missing << QStringLiteral("столбца «%1» таблицы «%2»").arg(column, table);
        }
    }
    if (missing.isEmpty())
        return;
    if (tablesFound == 0)
        throw StoreError(StoreError::Reason::NotOurs,
                         StoreError::Text(StoreError::Reason::NotOurs, connection.DataSource));
    throw StoreError(
        StoreError::Reason::Incomplete,
        QStringLiteral("В базе данных %1 нет %2")
            .arg(QFileInfo(connection.DataSource).fileName(), missing.join(QStringLiteral(", "))));
}

void Create(QSqlDatabase& db) {
    const QStringList tables = {
        Table("Document",
              {kKey, Text("Name", 100), Small("PageCount"), Small("Orientetion", " DEFAULT 0")}),
        Table("Values_", {kKey, Integer("Document_Id"), Text("VarName", 100), Text("VarValue", 255),
                          Small("PageNum"), Integer("Left"), Integer("Top"), Integer("Height"),
                          Integer("Width"), Small("FontSize"), Text("FontName", 30),
                          Boolean("FontBold"), Boolean("FontUnderline")}),
        Table("ListDoc", {kKey, Integer("Document_Id"), QStringLiteral("\"Date\" DATETIME"),
                          Text("Descript", 100)}),
        Table("HistoryValue",
              {kKey, Integer("ListDoc_Id"), Integer("Values_Id"), Text("Value", 255)}),
    };
    if (!db.transaction())
        throw DatabaseError(db.lastError().text());
    QSqlQuery q(db);
    try {
        for (const QString& sql : tables)
            Exec(q, sql);
        CreateExtensions(q, ExtensionNames());
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DatabaseError(db.lastError().text());
}

void AddSample(QSqlDatabase& db) {
    if (!db.transaction())
        throw DatabaseError(db.lastError().text());
    try {
        const qint64 doc =
            Insert(db,
                   QStringLiteral("INSERT INTO \"Document\" (\"Name\", \"PageCount\", "
                                  "\"Orientetion\") VALUES (?, ?, ?)"),
                   {QStringLiteral("Почтовый перевод"), 1, 0});
        struct Field {
            QString name, value;
            int left, top, height, width, size;
            bool bold;
        };
        const Field fields[] = {
            {QStringLiteral("Кому"), QStringLiteral("Иванову Ивану Ивановичу"), 30, 40, 8, 120, 12,
             true},
            {QStringLiteral("Куда"), QStringLiteral("г. Москва, ул. Садовая, д. 1"), 30, 52, 8, 150,
             10, false},
            {QStringLiteral("Сумма"), QStringLiteral("1 500 руб. 00 коп."), 30, 64, 8, 80, 10,
             false},
        };
        QList<qint64> ids;
        for (const Field& f : fields)
            ids.append(
                Insert(db,
                       QStringLiteral(
                           "INSERT INTO \"Values_\" (\"Document_Id\", \"VarName\", \"VarValue\", "
                           "\"PageNum\", \"Left\", \"Top\", \"Height\", \"Width\", \"FontSize\", "
                           "\"FontName\", \"FontBold\", \"FontUnderline\") "
                           "VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, 0)"),
                       {doc, f.name, f.value, f.left, f.top, f.height, f.width, f.size,
                        QStringLiteral("Times New Roman"), f.bold ? 1 : 0}));
        const qint64 list =
            Insert(db,
                   QStringLiteral("INSERT INTO \"ListDoc\" (\"Document_Id\", \"Date\", "
                                  "\"Descript\") VALUES (?, ?, ?)"),
                   {doc, QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(" 00:00:00"),
                    QStringLiteral("Почтовый перевод")});
        for (int i = 0; i < ids.size(); ++i)
            Insert(db,
                   QStringLiteral("INSERT INTO \"HistoryValue\" (\"ListDoc_Id\", \"Values_Id\", "
                                  "\"Value\") VALUES (?, ?, ?)"),
                   {list, ids[i], fields[i].value});
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DatabaseError(db.lastError().text());
}

void CreateFile(const QString& file, bool withSample) {
    if (QFileInfo::exists(file))
        throw DatabaseError(QStringLiteral("Файл уже существует: ") + file);
    TADOConnection con;
    con.DataSource = file;
    con.Open();
    QSqlDatabase db = con.Database();
    Create(db);
    if (withSample)
        AddSample(db);
}

}  // namespace Schema
