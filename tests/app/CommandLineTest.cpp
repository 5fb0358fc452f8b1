#include "Connection.h"
#include "CupsScheduler.h"
#include "MmConversion.h"
#include "PdfReader.h"
#include "Printer.h"
#include "ReportBuilder.h"
#include "Schema.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// The built program run in a temporary working folder, without a display.
class CommandLineRun : public ::testing::Test {
protected:
    struct Result {
        int code{-1};
        QString out;
        QString err;
    };

    Result Run(const QStringList& args, const QStringList& settings = {}) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        for (const QString& setting : settings)
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QB_QUILLBOX_EXE), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        Result r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    QString Db() const { return dir.file(QStringLiteral("Quillbox.mdb")); }
    void Sample() { Schema::CreateFile(Db(), true); }
    qint64 Sql(const QString& statement) {
        TADOConnection con;
        con.DataSource = Db();
        con.Open();
        QSqlQuery q(con.Database());
        EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
        return q.lastInsertId().toLongLong();
    }

    TempDir dir;
};

TEST_F(CommandLineRun, HelpListsEveryOptionAndExitCode) {
    const Result r = Run({QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    for (const char* option : {"--help", "--list", "--export-pdf", "--print", "--printer",
                               "--copies", "--pages", "--document"})
        EXPECT_TRUE(r.out.contains(QLatin1String(option))) << option;
    for (int code = 0; code <= 10; ++code)
        EXPECT_TRUE(r.out.contains(QStringLiteral("\n  %1 ").arg(code))) << code;
}

TEST_F(CommandLineRun, FailuresGiveOneLineAndTheirCode) {
    struct Row {
        const char* name;
        bool database;
        QString sql;  // run on the sample database first
        QStringList args;
        int code;
        QString message;  // the line's beginning
    };
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    const Row rows[] = {
        {"no database",
         false,
         {},
         {s("--list")},
         3,
         s("не найден файл базы данных Quillbox.mdb в папке ") + QDir::currentPath()},
        {"unknown option", true, {}, {s("--bogus")}, 2, s("неизвестный параметр «--bogus»")},
        {"file name missing",
         true,
         {},
         {s("--export-pdf")},
         2,
         s("после --export-pdf нужно значение")},
        {"two jobs",
         true,
         {},
         {s("--list"), s("--print")},
         2,
         s("параметр --print нельзя сочетать с другим заданием")},
        {"no such document",
         true,
         {},
         {s("--export-pdf"), s("out.pdf"), s("--document"), s("99")},
         4,
         s("нет документа для печати с номером «99»")},
        {"no document at all",
         true,
         s("DELETE FROM ListDoc"),
         {s("--export-pdf"), s("out.pdf")},
         4,
         s("нет ни одного документа для печати")},
        {"no such printer",
         true,
         {},
         {s("--print"), s("--printer"), s("Nowhere")},
         5,
         s("нет принтера «Nowhere»")},
        {"the file printer",
         true,
         {},
         {s("--print"), s("--printer"), s("Файл PDF")},
         5,
         s("принтер «Файл PDF» доступен только в окне программы")},
        {"empty page list item",
         true,
         {},
         {s("--export-pdf"), s("out.pdf"), s("--pages"), s("1,,2")},
         6,
         s("неверный список страниц «1,,2»: '' is not a valid integer value")},
        {"pages beyond the report",
         true,
         {},
         {s("--export-pdf"), s("out.pdf"), s("--pages"), s("2-3")},
         6,
         s("в списке «2-3» нет страниц отчета (всего 1)")},
        {"copies zero",
         true,
         {},
         {s("--print"), s("--copies"), s("0")},
         7,
         s("неверное число копий «0»")},
        {"copies not a number",
         true,
         {},
         {s("--print"), s("--copies"), s("два")},
         7,
         s("неверное число копий «два»")},
        {"field beyond the pages",
         true,
         s("UPDATE Values_ SET PageNum = 3"),
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("List index out of bounds (2)")},
        {"expression error",
         true,
         s("UPDATE HistoryValue SET Value = 'Сумма [неизвестно]'"),
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("Ошибка: Возникла ошибка при обработке выражения; Сумма [неизвестно];")},
        {"template without pages",
         true,
         s("UPDATE Document SET PageCount = 0; DELETE FROM Values_"),
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("в отчете нет страниц")},
        {"file not writable",
         true,
         {},
         {s("--export-pdf"), s("missing/out.pdf")},
         9,
         s("Не удалось записать файл \"missing/out.pdf\"")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(Db());
        if (row.database)
            Sample();
        for (const QString& statement : row.sql.split(u';', Qt::SkipEmptyParts))
            Sql(statement);
        const Result r = Run(row.args);
        EXPECT_EQ(r.code, row.code);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("quillbox: ") + row.message))
            << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("out.pdf"))));
    }
}

TEST_F(CommandLineRun, ListShowsTemplatesWithTheirDocuments) {
    Sample();
    Sql(
        QStringLiteral("INSERT INTO ListDoc (Document_Id, Date, Descript) "
                       "VALUES (1, '2024-03-05 00:00:00', 'Мартовский')"));
    Sql(
        QStringLiteral("INSERT INTO Document (Name, PageCount, Orientetion) "
                       "VALUES ('Пустой', 2, 1)"));
    const Result r = Run({QStringLiteral("--list")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(r.out, QStringLiteral("Шаблон 1: Почтовый перевод (страниц: 1, Портрет)\n"
                                    "  2  05.03.2024  Мартовский\n"
                                    "  1  %1  Почтовый перевод\n"
                                    "Шаблон 2: Пустой (страниц: 2, Ландшафт)\n"
                                    "  документов для печати нет\n")
                         .arg(today));
}

// Where the builder puts a field's text cell, in points from the sheet's corner.
double Points(int mm, int gap) {
    return (MmToPixels(TfReportBuilder::FormDotsPerInch, mm) + gap) * 72 / frUnitsPerInch;
}

TEST_F(CommandLineRun, ExportWritesTheDocumentWhereTheBuilderPutsIt) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    Sample();
    // The first document for printing is the default; the other one is chosen by number.
    const Result first = Run({QStringLiteral("--export-pdf"), QStringLiteral("first")});
    EXPECT_EQ(first.code, 0);
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    const QString firstPdf = dir.file(QStringLiteral("first"));
    const auto name = PdfWordBox(firstPdf, QStringLiteral("Иванову"));
    ASSERT_TRUE(name.has_value());
    // Field "Кому": Left 30 mm, Top 40 mm; the text starts after the object's gaps (2, 1).
    EXPECT_NEAR(name->left(), Points(30, 2), 1.0);
    EXPECT_NEAR(name->top(), Points(40, 1), 72 / 25.4 / 2);  // half a millimetre
    const QList<QSizeF> portrait = PdfPageSizes(firstPdf);
    ASSERT_EQ(portrait.size(), 1);
    EXPECT_LT(portrait[0].width(), portrait[0].height());

    Sql(QStringLiteral("UPDATE Document SET Orientetion = 1"));
    const qint64 other = Sql(QStringLiteral(
        "INSERT INTO ListDoc (Document_Id, Date, Descript) VALUES (1, '2030-01-01', 'Другой')"));
    Sql(QStringLiteral("INSERT INTO HistoryValue (ListDoc_Id, Values_Id, Value) VALUES (%1, 3, "
                       "'Петрову')")
            .arg(other));
    const Result chosen = Run({QStringLiteral("--export-pdf"), QStringLiteral("other.pdf"),
                               QStringLiteral("--document"), QString::number(other)});
    EXPECT_EQ(chosen.code, 0) << chosen.err.toStdString();
    const QString otherPdf = dir.file(QStringLiteral("other.pdf"));
    EXPECT_TRUE(PdfWordBox(otherPdf, QStringLiteral("Петрову")).has_value());
    EXPECT_FALSE(PdfWordBox(otherPdf, QStringLiteral("Иванову")).has_value());
    const QList<QSizeF> landscape = PdfPageSizes(otherPdf);
    ASSERT_EQ(landscape.size(), 1);
    EXPECT_GT(landscape[0].width(), landscape[0].height());
}

// The run lets the database go before preparing; the report still reads the rows it names.
TEST_F(CommandLineRun, ExportPrintsTheDataModulesFieldsNamedInValues) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    Sample();
    Sql(QStringLiteral("UPDATE ListDoc SET Descript = 'Накладная77'"));
    Sql(QStringLiteral("UPDATE HistoryValue SET Value = '[fData.ListDoc.Descript]'"));
    const Result r = Run({QStringLiteral("--export-pdf"), QStringLiteral("named.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(PdfWordBox(dir.file(QStringLiteral("named.pdf")), QStringLiteral("Накладная77"))
                    .has_value());
}

TEST_F(CommandLineRun, PrintSendsTheReportToTheChosenQueue) {
    CupsScheduler cups;
    if (!cups.Running()) {
        if (cups.Installed())
            FAIL() << cups.Error().toStdString();
        GTEST_SKIP() << "skipped: no cupsd";
    }
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    ASSERT_TRUE(cups.AddQueue(QStringLiteral("Second"), false));
    Sample();
    // A tag in the title finds the copy cups-pdf leaves in the user's PDF folder.
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(12);
    Sql(QStringLiteral("UPDATE ListDoc SET Descript = 'Бланк %1'").arg(tag));
    const Result r = Run({QStringLiteral("--print"), QStringLiteral("--printer"),
                          QStringLiteral("Second"), QStringLiteral("--copies"), QStringLiteral("2"),
                          QStringLiteral("--pages"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList jobs = cups.AllJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_TRUE(jobs[0].startsWith(QStringLiteral("Second-")));
    ASSERT_TRUE(cups.WaitUntilDone(jobs[0], 30000));
    QDir output(QDir::homePath() + QStringLiteral("/PDF"));
    for (const QString& name : output.entryList({QLatin1Char('*') + tag + QLatin1Char('*')}))
        output.remove(name);
    EXPECT_EQ(cups.JobAttribute(jobs[0], "job-name"), (QStringLiteral("Бланк ") + tag).toUtf8());
    EXPECT_EQ(cups.JobAttribute(jobs[0], "copies"), QByteArray("\0\0\0\x01", 4));
    const QString document = cups.JobDocument(jobs[0]);
    const auto name = PdfWordBox(document, QStringLiteral("Иванову"));
    ASSERT_TRUE(name.has_value());
    EXPECT_NEAR(name->left(), Points(30, 2), 1.0);
    // Collated copies are drawn into the job itself.
    EXPECT_EQ(PdfPageSizes(document).size(), 2);
}

// The benchmarks' timings from inside the program: each step is reached and timed, and the
// program quits by itself.
TEST_F(CommandLineRun, TimingsOfTheWindowsEndTheProgram) {
    Sample();
    Sql(QStringLiteral("UPDATE Document SET PageCount = 2"));
    const QRegularExpression time(
        QStringLiteral("^(startup|preview|page turn) \\d+\\.\\d ms$|"
                       "^(paging) 1 pages \\d+\\.\\d ms a page, \\d+\\.\\d MB -> \\d+\\.\\d MB$"));
    const std::pair<const char*, QStringList> runs[] = {
        {"startup", {QStringLiteral("startup")}},
        {"preview",
         {QStringLiteral("startup"), QStringLiteral("preview"), QStringLiteral("page turn")}},
        {"paging",
         {QStringLiteral("startup"), QStringLiteral("preview"), QStringLiteral("paging")}},
    };
    for (const auto& [mode, steps] : runs) {
        SCOPED_TRACE(mode);
        const Result r = Run({}, {QStringLiteral("QT_QPA_PLATFORM=offscreen"),
                                  QStringLiteral("QUILLBOX_TIMING=") + QLatin1String(mode)});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList reached;
        for (const QString& line : r.err.split(u'\n')) {
            const QRegularExpressionMatch m = time.match(line);
            if (m.hasMatch())
                reached << m.captured(1) + m.captured(2);
        }
        EXPECT_EQ(reached, steps) << r.err.toStdString();
    }
}

}  // namespace
