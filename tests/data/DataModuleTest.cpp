#include "DataFixture.h"

#include "Failure.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

namespace {

class DataModule : public DataFixture {};

TEST_F(DataModule, MissingDatabaseTellsTheUserAndEnds) {
    TempDir empty;  // the working folder has no database
    data = std::make_unique<TfData>(frame);
    data->DataModuleCreate(QCoreApplication::applicationFilePath());
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Не найден файл базы данных Quillbox.mdb по указанному пути\r") +
                  QDir::currentPath() + QStringLiteral("\rПродолжение невозможно."));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка !"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Information);
    EXPECT_TRUE(frame.Terminated());
    EXPECT_FALSE(data->Document.Active());
    EXPECT_FALSE(data->Con.Connected());
}

TEST_F(DataModule, FindsTheDatabaseInAMixedCaseFolder) {
    // An upper-cased path names another folder here; the file is found all the same.
    const QString folder = dir.file(QStringLiteral("Бланки/Work"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Schema::CreateFile(folder + QStringLiteral("/Quillbox.mdb"), true);
    QDir::setCurrent(folder);
    OpenModule();
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_TRUE(data->Document.Active());
    EXPECT_EQ(data->Values_.RecordCount(), 3);
    EXPECT_EQ(frame.AppCaption,
              QStringLiteral("Formwright {") + data->VerInf.FileVersion() + QLatin1Char('}'));
}

// A database made by the program's own tool, then changed by a statement.
QByteArray Changed(const QString& statement) {
    TempDir folder;
    const QString path = folder.file(QStringLiteral("Quillbox.mdb"));
    Schema::CreateFile(path, false);
    {
        TADOConnection con;
        con.DataSource = path;
        con.Open();
        QSqlQuery q(con.Database());
        for (const QString& one : statement.split(u';', Qt::SkipEmptyParts))
            EXPECT_TRUE(q.exec(one)) << q.lastError().text().toStdString();
    }
    return FileBytes(path);
}

// A file that cannot serve is named in one sentence of its own (the window and the command line
// show it as it is), and the file stays as it was.
TEST_F(DataModule, AFileThatCannotServeIsNamedInOneSentence) {
    using R = StoreError::Reason;
    QByteArray noise(4096, '\0');
    quint32 x = 12345;
    for (char& c : noise) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    QByteArray jet = QByteArray::fromHex("00010000") + QByteArray("Standard Jet DB") +
                     QByteArray(1, '\0') + QByteArray(2028, '\x55');
    const QString notOurs =
        QStringLiteral("Файл Quillbox.mdb не является базой данных этой программы");
    const struct {
        const char* name;
        QByteArray file;
        R reason;
        QString text;
    } rows[] = {
        {"random bytes", noise, R::NotOurs, notOurs},
        {"a text", QByteArray("Иванов;Москва\n").repeated(100), R::NotOurs, notOurs},
        {"an empty file", QByteArray(), R::NotOurs, notOurs},
        {"another program's database",
         Changed(QStringLiteral("DROP TABLE Document; DROP TABLE Values_; DROP TABLE ListDoc; DROP "
                                "TABLE HistoryValue; "
                                "CREATE TABLE Other (x)")),
         R::NotOurs, notOurs},
        {"an old Jet 4 file", jet, R::OldFormat,
         QStringLiteral("Файл Quillbox.mdb сохранен в старом формате (Jet 4) и не может быть "
                        "прочитан")},
        {"a damaged database",
         // The header kept, the rest of the first page (the list of tables) overwritten.
         Changed(QString()).left(100) + QByteArray(3996, '\xff') + Changed(QString()).mid(4096),
         R::Damaged,
         QStringLiteral("База данных Quillbox.mdb повреждена и не может быть прочитана")},
        {"a column missing", Changed(QStringLiteral("ALTER TABLE HistoryValue DROP COLUMN Value")),
         R::Incomplete,
         QStringLiteral("В базе данных Quillbox.mdb нет столбца «Value» таблицы «HistoryValue»")},
        {"a table and columns missing",
         Changed(QStringLiteral("DROP TABLE ListDoc; ALTER TABLE Values_ DROP COLUMN FontName; "
                                "ALTER TABLE Values_ DROP COLUMN \"Left\"")),
         R::Incomplete,
         QStringLiteral("В базе данных Quillbox.mdb нет столбца «Left» таблицы «Values_», "
                        "столбца «FontName» таблицы «Values_», таблицы «ListDoc»")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir folder;
        const QString path = folder.file(QStringLiteral("Quillbox.mdb"));
        ASSERT_TRUE(PutFile(path, row.file));
        const QDateTime written = QFileInfo(path).lastModified();
        data = std::make_unique<TfData>(frame);
        try {
            data->DataModuleCreate(QCoreApplication::applicationFilePath());
            ADD_FAILURE() << "opened";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.WhatFailed(), row.reason);
            EXPECT_EQ(e.Message(), row.text);
        }
        data.reset();
        EXPECT_TRUE(services.boxes.isEmpty());
        EXPECT_EQ(FileBytes(path), row.file);
        EXPECT_EQ(QFileInfo(path).lastModified(), written);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("Quillbox.mdb")});
    }
}

// Another program's write lock is waited for a few seconds before the database is called busy.
TEST_F(DataModule, ADatabaseLockedByAnotherProgramIsBusy) {
    Exec(QStringLiteral("BEGIN EXCLUSIVE"));
    QElapsedTimer waited;
    waited.start();
    data = std::make_unique<TfData>(frame);
    try {
        data->DataModuleCreate(QCoreApplication::applicationFilePath());
        ADD_FAILURE() << "opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.WhatFailed(), StoreError::Reason::Busy);
        EXPECT_EQ(e.Message(), QStringLiteral("База данных Quillbox.mdb занята другой программой; "
                                              "повторите попытку позже"));
    }
    EXPECT_GE(waited.elapsed(), 4000);
    Exec(QStringLiteral("ROLLBACK"));
    OpenModule();
    EXPECT_TRUE(data->Document.Active());
}

TEST_F(DataModule, OrientName) {
    struct Case {
        const char* name;
        QVariant orientation;
        QString expected;
    };
    const Case cases[] = {
        {"portrait", 0, QStringLiteral("Портрет")},
        {"landscape", 1, QStringLiteral("Ландшафт")},
        {"null reads as portrait", QVariant(), QStringLiteral("Портрет")},
        {"other value", 2, QString()},
        {"negative", -1, QString()},
    };
    for (const Case& c : cases)
        AddTemplate(QString::fromLatin1(c.name), 1, c.orientation);
    OpenModule();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].name);
        data->Document.SetRecNo(i + 1);
        EXPECT_EQ(data->DocumentOrientName.AsString(), cases[i].expected);
    }
    data->Document.First();
    data->Document.Edit();
    EXPECT_TRUE(data->DocumentOrientName.IsNull());  // empty while edited
    data->Document.Cancel();
    EXPECT_EQ(data->DocumentOrientName.AsString(), QStringLiteral("Портрет"));
    data->Document.Append();
    EXPECT_TRUE(data->DocumentOrientName.IsNull());
}

class Refresh : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        doc = AddTemplate(QStringLiteral("Бланк"));
        withText = AddField(doc, QStringLiteral("А"), QStringLiteral("текст"));
        withNull = AddField(doc, QStringLiteral("Б"), QVariant());
        withEmpty = AddField(doc, QStringLiteral("В"), QStringLiteral(""));
        list = AddListDoc(doc, QStringLiteral("2026-02-02"), QStringLiteral("Бланк"));
        OpenModule();
    }

    QVariant StoredValue(qint64 field) {
        return Scalar(QStringLiteral(
                          "SELECT Value FROM HistoryValue WHERE ListDoc_Id = %1 AND Values_Id = %2")
                          .arg(list)
                          .arg(field));
    }
    int Count() { return Scalar(QStringLiteral("SELECT count(*) FROM HistoryValue")).toInt(); }

    qint64 doc{}, withText{}, withNull{}, withEmpty{}, list{};
};

TEST_F(Refresh, AddsOneValuePerFieldFromTheDefaultText) {
    data->RefreshFields();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(StoredValue(withText).toString(), QStringLiteral("текст"));
    EXPECT_EQ(StoredValue(withNull).toString(), QStringLiteral(" "));
    const QVariant empty = StoredValue(withEmpty);
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(empty.toString(), QString());
    EXPECT_EQ(data->HistoryValue.RecordCount(), 3);
    EXPECT_EQ(data->Values_.RecNo(), 1);
    EXPECT_EQ(data->HistoryValue.RecNo(), 1);

    data->RefreshFields();  // the second run adds nothing
    EXPECT_EQ(Count(), 3);
}

// The values come in one transaction: a failure part-way leaves none of them, in the file and
// in the table alike, and the next run adds them all.
TEST_F(Refresh, AFailurePartWayLeavesNoValue) {
    Exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON HistoryValue "
                        "WHEN (SELECT count(*) FROM HistoryValue) >= 2 "
                        "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END"),
         {});
    EXPECT_THROW(data->RefreshFields(), DatabaseError);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(data->HistoryValue.RecordCount(), 0);
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsBrowse);

    Exec(QStringLiteral("DROP TRIGGER full"), {});
    data->RefreshFields();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(data->HistoryValue.RecordCount(), 3);
}

TEST_F(Refresh, ADeletedValueComesBackWithTheCurrentDefaultText) {
    data->RefreshFields();
    Exec(QStringLiteral("UPDATE Values_ SET VarValue = 'новый текст' WHERE Id = ?"), {withText});
    Exec(QStringLiteral("UPDATE Values_ SET VarValue = 'не трогать' WHERE Id = ?"), {withNull});
    data->Values_.Requery();
    ASSERT_TRUE(data->HistoryValue.LocateRow(QStringLiteral("Values_Id"), {withText}));
    data->HistoryValue.Delete();
    data->RefreshFields();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(StoredValue(withText).toString(), QStringLiteral("новый текст"));
    EXPECT_EQ(StoredValue(withNull).toString(), QStringLiteral(" "));  // existing rows untouched
}

TEST_F(Refresh, ANewDocumentDatedEarlierGetsItsValues) {
    data->ListDoc.Append();
    data->ListDocDate.SetValue(QDate(2020, 1, 1));
    data->ListDocDescript.SetAsString(QStringLiteral("Ранний"));
    data->ListDoc.Post();
    data->RefreshFields();
    const qint64 early =
        Scalar(QStringLiteral("SELECT Id FROM ListDoc WHERE Descript = 'Ранний'")).toLongLong();
    EXPECT_EQ(
        Scalar(QStringLiteral("SELECT count(*) FROM HistoryValue WHERE ListDoc_Id = %1").arg(early))
            .toInt(),
        3);
    EXPECT_EQ(
        Scalar(QStringLiteral("SELECT count(*) FROM HistoryValue WHERE ListDoc_Id = %1").arg(list))
            .toInt(),
        0);
}

TEST_F(Refresh, NothingWithoutADocumentOrFields) {
    const qint64 bare = AddTemplate(QStringLiteral("Без полей"));
    AddListDoc(bare, QStringLiteral("2026-01-01"), QStringLiteral("Пустой"));
    AddTemplate(QStringLiteral("Без документов"));
    AddField(bare + 1, QStringLiteral("Поле"), QStringLiteral("x"));
    data->Document.Requery();
    data->Document.SetRecNo(2);  // fields: none
    data->RefreshFields();
    data->Document.SetRecNo(3);  // documents for printing: none
    ASSERT_EQ(data->Values_.RecordCount(), 1);
    data->RefreshFields();
    EXPECT_EQ(Count(), 0);
}

}  // namespace
