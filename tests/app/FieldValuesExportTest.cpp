// Field values of every kind through the real program: each document ends in a PDF or in a
// clear error naming the value, never in a crash.
#include "Connection.h"
#include "Schema.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <initializer_list>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFieldsPerDocument = 24;
constexpr int kValueLength = 255;  // HistoryValue.Value is Text(255)

// Hand-picked values: measuring, nesting, numbers beyond any range, breaks, odd brackets.
QStringList PickedValues() {
    QStringList v = {
        u"[CALCWIDTH]"_s,
        u"Ширина [CALCWIDTH]"_s,
        u"[CALCHEIGHT()]"_s,
        u"[CALCWIDTH] x [CALCHEIGHT()]"_s,
        u"[IF(CALCHEIGHT() > 0, CALCWIDTH, 0)]"_s,
        u"[[CALCWIDTH]]"_s,
        u"[.Left]"_s,
        u"[Left] [Width] [Font.Size] [Name]"_s,
        u"[(1e308*10-1e308*10)=5]"_s,
        u"[1e308*10]"_s,
        u"[-1e308*10 < 0]"_s,
        u"[INT(1e308*10)]"_s,
        u"[ROUND(1e300)]"_s,
        u"[STR(1e308*10)]"_s,
        u"[FORMATFLOAT('0', 1e308*10)]"_s,
        u"[1e400]"_s,
        u"[1/0] [7 mod 0] [0 mod 0]"_s,
        u"[FORMATFLOAT('0.00', 2.345)] [10.125 #N1,2]"_s,
        u"[FORMATFLOAT('#.#######E-##', 1234.567)] [FORMATFLOAT('#.###E-0', 0)]"_s,
        u"[FORMATFLOAT('', 0)] [FORMATFLOAT(';;', -1)] [FORMATFLOAT('E+', 5)]"_s,
        u"a[CRLF]b"_s,
        u"[CRLF]"_s,
        u"a[CRLF][CRLF][CRLF]"_s,
        u"["_s,
        u"]"_s,
        u"[]"_s,
        u"[ ]"_s,
        u"x [yz"_s,
        u"['[']"_s,
        u"[''''']"_s,
        u"['"_s,
        u"[x #N]"_s,
        u"[1 #N99]"_s,
        u"[1 #N1,300]"_s,
        u"[1 #Dyyyy]"_s,
        u"[1 #B]"_s,
        u"[1e20 #N0,2]"_s,
        u"[-0 #N0,0]"_s,
        u"[PAGE#] из [TOTALPAGES]"_s,
        u"[DATE] [TIME #Thh:nn]"_s,
        u"[STOPREPORT]"_s,
        u"[NEWPAGE][NEWCOLUMN][SHOWBAND('x')]"_s,
        u"[SETARRAY('a', 1, 2)][GETARRAY('a', 1)]"_s,
        u"[INC(Left)][Left]"_s,
        u"[INC(Memo)]"_s,
        u"[COPY('abc', -5, 99999999999)]"_s,
        u"[COPY('abc', 2147483648, 1)]"_s,
        u"[ФУНКЦИЯ(1, 2, 3, 4)]"_s,
        u"[IF(]"_s,
        u"[1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 "
        u"32 33 34]"_s,
        u"[abc]"_s,
        u"Иванов [И.И.]"_s,
        u"[fData.ListDoc.Descript]"_s,
        u"[\"\"]"_s,
        u"[%x]"_s,
        QString(kValueLength, u'Ж'),
        QString(u"W "_s).repeated(kValueLength / 2),
        QString(kValueLength, u'['),
        QString(kValueLength, u']'),
    };
    const auto fit = [](const QString& s) { return s.left(kValueLength); };
    for (int depth : {10, 40, 120}) {
        v << fit(u"["_s + QString(depth, u'(') + u"1"_s + QString(depth, u')') + u"]"_s);
        v << fit(QString(depth, u'[') + u"1"_s + QString(depth, u']'));
        v << fit(u"["_s + QString(u"IF(1,"_s).repeated(depth) + u"1"_s +
                 QString(u",0)"_s).repeated(depth) + u"]"_s);
        v << fit(u"["_s + QString(u"1+"_s).repeated(depth) + u"1]"_s);
        v << fit(u"["_s + QString(u"-"_s).repeated(depth) + u"1]"_s);
        v << fit(u"["_s + QString(u"CALCWIDTH+"_s).repeated(depth / 10 + 1) + u"0]"_s);
    }
    return v;
}

// Generated values: random expressions of the evaluator's grammar, numbers and texts kept
// apart as a user keeps them, so that most of them print (a decimal comma inside a call's
// arguments would split them, so numbers there are written with a point); around them, text and an
// inline format now and then.
class ValueGenerator {
public:
    QStringList Values(int count) {
        QStringList values;
        for (int n = 0; n < count; ++n) {
            QString value = n % 3 == 0 ? u"Сумма "_s : QString();
            value += u"["_s + (n % 4 == 3 ? Text(3) : Number(3));
            if (n % 5 == 1)
                value += Pick({u" #N0,2"_s, u" #N# ##0,00"_s, u" #N1.3"_s, u" #0.00"_s});
            value += u"]"_s;
            if (n % 4 == 0)
                value += u" руб."_s;
            values << value;
        }
        return values;
    }

private:
    QString Pick(std::initializer_list<QString> choices) {
        const auto i = std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random_);
        return *(choices.begin() + i);
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    QString Number(int depth) {
        if (depth == 0 || Below(3) == 0)
            return Pick({u"0"_s, u"1"_s, u"2.5"_s, u"0.125"_s, u"2.345"_s, u"1234567.005"_s,
                         u"1e15"_s, u"1e300"_s, u"PAGE#"_s, u"TOTALPAGES"_s, u"CALCWIDTH"_s,
                         u"Left"_s, u"Width"_s, u"Font.Size"_s, u"LENGTH('абв')"_s});
        switch (Below(6)) {
            case 0:
                return u"("_s + Number(depth - 1) + u")"_s;
            case 1:
                return Pick({u"INT("_s, u"FRAC("_s, u"ROUND("_s, u"-("_s}) + Number(depth - 1) +
                       u")"_s;
            case 2:
                return u"IF("_s + Number(depth - 1) + u" > 1, "_s + Number(depth - 1) + u", "_s +
                       Number(depth - 1) + u")"_s;
            case 3:
                return u"MAXNUM("_s + Number(depth - 1) + u", "_s + Number(depth - 1) + u")"_s;
            default:
                return Number(depth - 1) +
                       Pick({u" + "_s, u" - "_s, u" * "_s, u" / "_s, u" mod "_s, u" = "_s, u" < "_s,
                             u" >= "_s, u" <> "_s}) +
                       Number(depth - 1);
        }
    }

    QString Text(int depth) {
        if (depth == 0 || Below(3) == 0)
            return Pick({u"'абв'"_s, u"'it''s'"_s, u"''"_s, u"'[x]'"_s, u"CRLF"_s, u"' '"_s});
        switch (Below(4)) {
            case 0:
                return Pick({u"UPPERCASE("_s, u"TRIM("_s, u"NAMECASE("_s}) + Text(depth - 1) +
                       u")"_s;
            case 1:
                return u"FORMATFLOAT("_s +
                       Pick({u"'0.00'"_s, u"'#,##0.00'"_s, u"'0.###E+00'"_s, u"'#.#######E-##'"_s,
                             u"'0;(0);ноль'"_s, u"''"_s}) +
                       u", "_s + Number(depth - 1) + u")"_s;
            case 2:
                return u"STR("_s + Number(depth - 1) + u")"_s;
            default:
                return Text(depth - 1) + u" + "_s + Text(depth - 1);
        }
    }

    std::mt19937 random_{20261211};
};

class FieldValuesExport : public ::testing::Test {
protected:
    struct Result {
        bool finished{false};
        int code{-1};
        QString err;
    };

    Result Export(qint64 document) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        QFile::remove(Pdf());
        p.start(QStringLiteral(QB_QUILLBOX_EXE),
                {u"--export-pdf"_s, Pdf(), u"--document"_s, QString::number(document)});
        Result r;
        r.finished = p.waitForFinished(60000);
        if (!r.finished)
            p.kill();
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QString Pdf() const { return dir.file(u"out.pdf"_s); }

    qint64 Insert(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.prepare(sql)) << q.lastError().text().toStdString();
        for (const QVariant& value : values)
            q.addBindValue(value);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        return q.lastInsertId().toLongLong();
    }

    TempDir dir;
};

// Each document holds a batch of values, each marked with its number. A document that fails
// must name the failing value's line; that value is then taken out and the rest goes again,
// so every value is tried.
TEST_F(FieldValuesExport, EveryValueEndsInAPdfOrAClearError) {
    QStringList values = PickedValues();
    values += ValueGenerator().Values(220);
    ASSERT_GE(values.size(), 290);

    const QString db = dir.file(u"Quillbox.mdb"_s);
    Schema::CreateFile(db, false);
    struct Batch {
        qint64 document{0};
        QMap<int, qint64> fields;  // value index -> Values_.Id
    };
    QList<Batch> batches;
    {
        TADOConnection con;
        con.DataSource = db;
        con.Open();
        QSqlDatabase sql = con.Database();
        ASSERT_TRUE(sql.transaction());
        for (int first = 0; first < values.size(); first += kFieldsPerDocument) {
            Batch batch;
            const qint64 form = Insert(
                sql, u"INSERT INTO Document (Name, PageCount, Orientetion) VALUES (?, 1, 0)"_s,
                {u"Проба %1"_s.arg(first)});
            batch.document =
                Insert(sql, u"INSERT INTO ListDoc (Document_Id, Date, Descript) VALUES (?, ?, ?)"_s,
                       {form, u"2026-12-11 00:00:00"_s, u"Проба %1"_s.arg(first)});
            for (int i = first; i < std::min<int>(first + kFieldsPerDocument, values.size()); ++i) {
                const int row = i - first;
                // Marked at the start so that a field never begins with "[" by the mark.
                const QString value = (u"№%1 "_s.arg(i) + values[i]).left(kValueLength);
                const qint64 field = Insert(
                    sql,
                    u"INSERT INTO Values_ (Document_Id, VarName, VarValue, PageNum, Left, Top, "
                    "Height, Width, FontSize, FontName, FontBold, FontUnderline) "
                    "VALUES (?, ?, ?, 1, 10, ?, 10, 150, 10, 'Arial', 0, 0)"_s,
                    {form, u"Поле %1"_s.arg(i), value, 10 + 11 * row});
                Insert(
                    sql,
                    u"INSERT INTO HistoryValue (ListDoc_Id, Values_Id, Value) VALUES (?, ?, ?)"_s,
                    {batch.document, field, value});
                batch.fields.insert(i, field);
            }
            batches << batch;
        }
        ASSERT_TRUE(sql.commit());
    }

    int exported = 0;
    int refused = 0;
    for (Batch& batch : batches) {
        for (;;) {
            const Result r = Export(batch.document);
            if (r.code == 0) {
                EXPECT_GT(QFileInfo(Pdf()).size(), 0);
                exported += batch.fields.size();
                break;
            }
            // A clear error: the program ended by itself with the preparation's code and named
            // the line that failed, whose mark tells the value.
            int failed = -1;
            for (auto it = batch.fields.cbegin(); it != batch.fields.cend() && failed < 0; ++it)
                if (r.err.contains(u"№%1 "_s.arg(it.key())))
                    failed = it.key();
            if (!r.finished || r.code != 8 || failed < 0) {
                QStringList batchValues;
                for (auto it = batch.fields.cbegin(); it != batch.fields.cend(); ++it)
                    batchValues << u"№%1 "_s.arg(it.key()) + values[it.key()];
                ADD_FAILURE() << "exit " << r.code << (r.finished ? "" : " (hung)") << ": "
                              << r.err.toStdString() << "\nvalues:\n"
                              << batchValues.join(u'\n').toStdString();
                break;
            }
            EXPECT_FALSE(QFile::exists(Pdf())) << values[failed].toStdString();
            ++refused;
            TADOConnection con;
            con.DataSource = db;
            con.Open();
            QSqlQuery q(con.Database());
            const qint64 field = batch.fields.take(failed);
            ASSERT_TRUE(q.exec(u"DELETE FROM HistoryValue WHERE Values_Id = %1"_s.arg(field)));
            ASSERT_TRUE(q.exec(u"DELETE FROM Values_ WHERE Id = %1"_s.arg(field)));
            if (batch.fields.isEmpty())
                break;
        }
    }
    EXPECT_EQ(exported + refused, values.size());
    // Both ends are reached: most values print, and the bad ones are refused.
    EXPECT_GT(exported, values.size() / 2);
    EXPECT_GT(refused, 20);
}

}  // namespace
