#include "DataFixture.h"

#include "Failure.h"

#include <QFile>
#include <QProcess>

namespace {

class Store : public DataFixture {};

TEST_F(Store, RefusesWhatDoesNotFitAndKeepsTheRest) {
    AddTemplate(QStringLiteral("Бланк"), 2, 0);
    OpenModule();
    struct Case {
        const char* name;
        TField* field;
        QVariant value;
        QString message;  // one sentence naming the field as the windows do, and its limit
    };
    const Case cases[] = {
        {"101 characters", &data->DocumentName, QString(101, QChar(u'ж')),
         QStringLiteral("В поле \"Наименование\" можно ввести не более 100 символов")},
        {"small integer above the range", &data->DocumentPageCount, 40000,
         QStringLiteral(
             "В поле \"Колличество страниц\" можно ввести целое число от -32768 до 32767")},
        {"small integer below the range", &data->DocumentOrientetion, -32769,
         QStringLiteral(
             "В поле \"Ориентация страниц\" можно ввести целое число от -32768 до 32767")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool append : {true, false}) {
            append ? data->Document.Append() : data->Document.Edit();
            c.field->SetValue(c.value);
            try {
                data->Document.Post();
                ADD_FAILURE() << "stored";
            } catch (const DatabaseError& e) {
                EXPECT_EQ(e.Message(), c.message);
            }
            // The row stays in editing for the user to correct or cancel.
            EXPECT_NE(data->Document.State(), TDataSetState::dsBrowse);
            data->Document.Cancel();
        }
    }
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM Document")).toInt(), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name || '/' || PageCount FROM Document")).toString(),
              QStringLiteral("Бланк/2"));

    // Exactly 100 characters and the bounds themselves fit.
    data->Document.Edit();
    data->DocumentName.SetValue(QString(100, QChar(u'ж')));
    data->DocumentPageCount.SetValue(32767);
    data->DocumentOrientetion.SetValue(-32768);
    data->Document.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT length(Name) FROM Document")).toInt(), 100);
}

TEST_F(Store, NewTemplateGetsTheDefaultOrientation) {
    OpenModule();
    data->Document.Append();
    data->DocumentName.SetAsString(QStringLiteral("Новый"));
    data->Document.Post();
    EXPECT_EQ(data->DocumentOrientetion.AsInteger(), 0);
    EXPECT_FALSE(data->DocumentOrientetion.IsNull());
    EXPECT_EQ(data->DocumentOrientName.AsString(), QStringLiteral("Портрет"));
}

TEST_F(Store, KeysAreNeverReused) {
    const qint64 a = AddTemplate(QStringLiteral("a"));
    const qint64 b = AddTemplate(QStringLiteral("b"));
    Exec(QStringLiteral("DELETE FROM Document WHERE Id = ?"), {b});
    EXPECT_GT(AddTemplate(QStringLiteral("c")), b);
    EXPECT_GT(b, a);
}

TEST_F(Store, CreatingRefusesAnExistingFileAndTheSampleIsComplete) {
    const QString file = dir.file(QStringLiteral("Quillbox.mdb"));
    const QByteArray before = [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_THROW(Schema::CreateFile(file, true), DatabaseError);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    TempDir other;
    Schema::CreateFile(other.file(QStringLiteral("Quillbox.mdb")), true);
    OpenModule();
    EXPECT_EQ(data->Document.RecordCount(), 1);
    EXPECT_EQ(data->Values_.RecordCount(), 3);
    EXPECT_EQ(data->ListDoc.RecordCount(), 1);
    EXPECT_EQ(data->HistoryValue.RecordCount(), 3);
    data->RefreshFields();  // every field already has its value
    EXPECT_EQ(data->HistoryValue.RecordCount(), 3);
}

TEST_F(Store, PostedRowsSurviveAKilledProcess) {
    sql.Close();
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(QB_POST_CHILD), {dir.file(QStringLiteral("Quillbox.mdb"))});
    ASSERT_TRUE(child.waitForStarted());
    int posted = 0;
    while (posted < 25) {
        if (!child.canReadLine() && !child.waitForReadyRead(30000))
            break;
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            if (line.startsWith("posted "))
                posted = line.mid(7).toInt();
        }
    }
    child.kill();  // SIGKILL, right after a post
    child.waitForFinished();
    ASSERT_GE(posted, 25);

    sql.Open();
    EXPECT_GE(Scalar(QStringLiteral("SELECT count(*) FROM Document")).toInt(), posted);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT max(Id) FROM Document")).toInt(),
              Scalar(QStringLiteral("SELECT count(*) FROM Document")).toInt());
    EXPECT_EQ(Scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

}  // namespace
