#include "PageImages.h"

#include "Connection.h"
#include "Failure.h"
#include "Schema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The store's result code for a write to a file opened for reading only.
constexpr int kReadOnly = 8;

bool ReadOnlyError(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    return numeric && code == kReadOnly;
}

const QString kColumns = QStringLiteral(
    "\"PageNum\", \"Picture\", \"Kind\", \"SourcePage\", \"Dpi\", \"ShiftX\", \"ShiftY\"");

// A row of the columns above into a picture; false for a kind this program does not know.
bool FromRow(const QSqlQuery& q, PagePicture& picture) {
    picture.Bytes = q.value(1).toByteArray();
    if (!PagePicture::KindFromName(q.value(2).toString(), picture.Type))
        return false;
    picture.SourcePage = q.value(3).toInt();
    picture.Dpi = q.value(4).toDouble();
    picture.ShiftX = q.value(5).toInt();
    picture.ShiftY = q.value(6).toInt();
    return true;
}

}  // namespace

void TfPageImages::Prepare() {
    available_ = false;
    writable_ = false;
    reason_.clear();
    const QString file = QFileInfo(connection_.DataSource).fileName();
    QSqlDatabase db = connection_.Database();
    const QFileInfo info(connection_.DataSource);
    const bool readOnly = connection_.ReadOnly || (info.exists() && !info.isWritable());
    QStringList missing;
    try {
        missing = Schema::MissingExtensions(db);
        if (!missing.isEmpty() && !readOnly) {
            Schema::CreateMissingExtensions(db);
            missing.clear();
        }
    } catch (const Failure& e) {
        if (ReadOnlyError(db.lastError()) || e.Message().contains(QLatin1String("readonly"))) {
            reason_ = QStringLiteral(
                          "В базе данных %1 нет таблицы фонов страниц, а добавить ее нельзя: "
                          "файл открыт только для чтения. Фоны страниц недоступны.")
                          .arg(file);
        } else {
            reason_ = QStringLiteral(
                          "Не удалось добавить в базу данных %1 таблицу фонов страниц: %2\r"
                          "Фоны страниц недоступны.")
                          .arg(file, e.Message());
        }
        return;
    }
    if (!missing.isEmpty()) {
        reason_ = QStringLiteral(
                      "В базе данных %1 нет таблицы фонов страниц, а добавить ее нельзя: файл "
                      "открыт только для чтения. Фоны страниц недоступны.")
                      .arg(file);
        return;
    }
    available_ = true;
    writable_ = !readOnly;
    if (readOnly)
        reason_ = QStringLiteral(
                      "База данных %1 открыта только для чтения: фоны страниц нельзя сохранить.")
                      .arg(file);
}

std::optional<PagePicture> TfPageImages::Read(qint64 document, int page) const {
    if (!available_)
        return std::nullopt;
    QSqlQuery q(connection_.Database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM \"FwPageImage\" WHERE \"Document_Id\" = ? AND "
                             "\"PageNum\" = ?")
                  .arg(kColumns));
    q.addBindValue(document);
    q.addBindValue(page);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
    PagePicture picture;
    if (q.next() && FromRow(q, picture))
        return picture;
    return std::nullopt;
}

QHash<int, PagePicture> TfPageImages::ReadAll(qint64 document) const {
    QHash<int, PagePicture> all;
    if (!available_)
        return all;
    QSqlQuery q(connection_.Database());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT %1 FROM \"FwPageImage\" WHERE \"Document_Id\" = ?").arg(kColumns));
    q.addBindValue(document);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
    while (q.next()) {
        PagePicture picture;
        if (FromRow(q, picture))
            all.insert(q.value(0).toInt(), picture);
    }
    return all;
}

void TfPageImages::CheckWritable() const {
    if (!Writable())
        throw DatabaseError(reason_);
}

void TfPageImages::Refused(const QSqlError& error) const {
    if (ReadOnlyError(error))
        throw DatabaseError(
            QStringLiteral(
                "База данных %1 открыта только для чтения: фоны страниц нельзя сохранить.")
                .arg(QFileInfo(connection_.DataSource).fileName()));
    throw DatabaseError(QStringLiteral("Фон страницы не сохранен: ") + error.text());
}

void TfPageImages::Write(qint64 document, int page, const PagePicture& picture) {
    CheckWritable();
    // One statement replaces the row of that page, so a failure leaves the old one.
    QSqlQuery q(connection_.Database());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO \"FwPageImage\" (\"Document_Id\", %1) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                  .arg(kColumns));
    q.addBindValue(document);
    q.addBindValue(page);
    q.addBindValue(picture.Bytes);
    q.addBindValue(PagePicture::KindName(picture.Type));
    q.addBindValue(picture.SourcePage);
    q.addBindValue(picture.Dpi);
    q.addBindValue(picture.ShiftX);
    q.addBindValue(picture.ShiftY);
    if (!q.exec())
        Refused(q.lastError());
}

void TfPageImages::Remove(qint64 document, int page) {
    CheckWritable();
    QSqlQuery q(connection_.Database());
    q.prepare(QStringLiteral(
        "DELETE FROM \"FwPageImage\" WHERE \"Document_Id\" = ? AND \"PageNum\" = ?"));
    q.addBindValue(document);
    q.addBindValue(page);
    if (!q.exec())
        Refused(q.lastError());
}
