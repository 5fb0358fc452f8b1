#include "BenchDatabase.h"

#include "BenchForm.h"
#include "Connection.h"
#include "Failure.h"
#include "Schema.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace BenchForm {
namespace {

qint64 Insert(QSqlQuery& q, const QVariantList& values) {
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
    return q.lastInsertId().toLongLong();
}

QSqlQuery Prepared(QSqlDatabase& db, const char* sql) {
    QSqlQuery q(db);
    if (!q.prepare(QString::fromUtf8(sql)))
        throw DatabaseError(q.lastError().text());
    return q;
}

}  // namespace

void WriteDatabase(int pages, const QString& file, int perPage) {
    Schema::CreateFile(file, false);
    TADOConnection con;
    con.DataSource = file;
    con.Open();
    QSqlDatabase db = con.Database();
    if (!db.transaction())
        throw DatabaseError(db.lastError().text());
    QSqlQuery document =
        Prepared(db, "INSERT INTO Document (Name, PageCount, Orientetion) VALUES (?, ?, 0)");
    const QString name = QStringLiteral("Бланк на %1 стр.").arg(pages);
    const qint64 doc = Insert(document, {name, pages});
    QSqlQuery field =
        Prepared(db,
                 "INSERT INTO Values_ (Document_Id, VarName, VarValue, PageNum, \"Left\", \"Top\", "
                 "Height, Width, FontSize, FontName, FontBold, FontUnderline) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    QSqlQuery listDoc =
        Prepared(db, "INSERT INTO ListDoc (Document_Id, Date, Descript) VALUES (?, ?, ?)");
    const qint64 list = Insert(
        listDoc,
        {doc, QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(" 00:00:00"), name});
    QSqlQuery value =
        Prepared(db, "INSERT INTO HistoryValue (ListDoc_Id, Values_Id, Value) VALUES (?, ?, ?)");
    for (int p = 1; p <= pages; ++p) {
        for (const BenchForm::Field& f : BenchForm::PageFields(p, perPage)) {
            const qint64 id = Insert(field, {doc, f.name, QString(), p, f.left, f.top, f.height,
                                             f.width, BenchForm::FontSize, BenchForm::FontName,
                                             f.bold ? 1 : 0, f.underline ? 1 : 0});
            Insert(value, {list, id, BenchForm::Value(f)});
        }
    }
    if (!db.commit())
        throw DatabaseError(db.lastError().text());
}

}  // namespace BenchForm
