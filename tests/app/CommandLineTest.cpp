#include "CommandLine.h"
#include "Connection.h"
#include "CupsScheduler.h"
#include "FileLimits.h"
#include "MmConversion.h"
#include "PdfReader.h"
#include "Printer.h"
#include "ReportBuilder.h"
#include "Schema.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

// The built program run in a temporary working folder, without a display.
class CommandLineRun : public ::testing::Test {
protected:
    struct Result {
        int code{-1};
        QString out;
        QString err;
    };

    // child: run in the child process before the program starts.
    Result Run(const QStringList& args, const QStringList& settings = {},
               const std::function<void()>& child = {}) {
        QProcess p;
        if (child)
            p.setChildProcessModifier(child);
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
    for (int code = 0; code <= 12; ++code)
        EXPECT_TRUE(r.out.contains(QStringLiteral("\n  %1 ").arg(code))) << code;
}

// Every way a run can fail: its exit code and its one line. The database is never changed, and
// a file of the output's name stays as it was.
TEST_F(CommandLineRun, FailuresGiveOneLineAndTheirCode) {
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    const QString out = dir.file(QStringLiteral("out.pdf"));
    const auto obeyed = [] {
        if (!ChildObeysPermissions())
            ::_exit(99);
    };
    std::unique_ptr<TADOConnection> lock;
    struct Row {
        const char* name;
        std::function<void()> prepare;  // on the sample database
        QStringList args;
        int code;
        QString message;  // the line's beginning; empty: no line
        std::function<void()> child{};
        bool locked{false};  // by another connection while the program runs
    };
    const Row rows[] = {
        {"no database",
         [&] { QFile::remove(Db()); },
         {s("--list")},
         3,
         s("не найден файл базы данных Quillbox.mdb в папке ") + QDir::currentPath()},
        {"a random file",
         [&] { ASSERT_TRUE(PutFile(Db(), QByteArray(4096, '\x9c'))); },
         {s("--export-pdf"), s("out.pdf")},
         3,
         s("Файл Quillbox.mdb не является базой данных этой программы")},
        {"a Jet 4 file",
         [&] {
             ASSERT_TRUE(PutFile(
                 Db(), QByteArray::fromHex("00010000") + "Standard Jet DB" + QByteArray(2029, 0)));
         },
         {s("--list")},
         3,
         s("Файл Quillbox.mdb сохранен в старом формате (Jet 4) и не может быть прочитан")},
        {"a column missing",
         [&] { Sql(s("ALTER TABLE HistoryValue DROP COLUMN Value")); },
         {s("--export-pdf"), s("out.pdf")},
         3,
         s("В базе данных Quillbox.mdb нет столбца «Value» таблицы «HistoryValue»")},
        {"a database locked by another program",
         {},
         {s("--export-pdf"), s("out.pdf")},
         12,
         s("База данных Quillbox.mdb занята другой программой; повторите попытку позже"),
         {},
         true},
        {"output over the database",
         {},
         {s("--export-pdf"), s("Quillbox.mdb")},
         9,
         s("файл «Quillbox.mdb» - это база данных программы; отчет в него не записывается")},
        {"output over the database by another spelling",
         {},
         {s("--export-pdf"), s("./Quillbox.mdb")},
         9,
         s("файл «./Quillbox.mdb» - это база данных программы")},
        {"output over the database by its full path",
         {},
         {s("--export-pdf"), dir.file(s("Quillbox.mdb"))},
         9,
         s("файл «") + dir.file(s("Quillbox.mdb")) + s("» - это база данных программы")},
        {"output over the database through a link",
         [&] { QFile::link(Db(), dir.file(s("link.pdf"))); },
         {s("--export-pdf"), s("link.pdf")},
         9,
         s("файл «link.pdf» - это база данных программы")},
        {"output into a missing folder",
         {},
         {s("--export-pdf"), s("missing/out.pdf")},
         9,
         s("Не удалось записать файл \"missing/out.pdf\": нет папки \"") + dir.file(s("missing")) +
             u'"'},
        {"output into a read-only folder",
         [&] {
             QDir().mkdir(dir.file(s("locked")));
             QFile::setPermissions(dir.file(s("locked")), QFile::ReadOwner | QFile::ExeOwner);
         },
         {s("--export-pdf"), s("locked/out.pdf")},
         9,
         s("Не удалось записать файл \"locked/out.pdf\": в папку \"") + dir.file(s("locked")) +
             s("\" нельзя записывать"),
         obeyed},
        {"a full disk",
         {},
         {s("--export-pdf"), s("out.pdf")},
         9,
         s("Не удалось записать файл \"out.pdf\": ошибка записи (возможно, на диске нет места)"),
         [] { ChildFileSizeLimit(2000, false); }},
        {"an export killed half-way",
         {},
         {s("--export-pdf"), s("out.pdf")},
         -1,
         {},
         [] { ChildFileSizeLimit(2000, true); }},
        {"no such document",
         {},
         {s("--export-pdf"), s("out.pdf"), s("--document"), s("99")},
         4,
         s("нет документа для печати с номером «99» (см. --list)")},
        {"no document at all",
         [&] { Sql(s("DELETE FROM ListDoc")); },
         {s("--export-pdf"), s("out.pdf")},
         4,
         s("нет ни одного документа для печати")},
        {"a bad page list",
         {},
         {s("--export-pdf"), s("out.pdf"), s("--pages"), s("1,,2")},
         6,
         s("неверный список страниц «1,,2»: нужны номера и диапазоны страниц через запятую, "
           "например 1,3,5-12")},
        {"pages beyond the report",
         {},
         {s("--export-pdf"), s("out.pdf"), s("--pages"), s("2-3")},
         6,
         s("в списке «2-3» нет страниц отчета (всего 1)")},
        {"copies zero",
         {},
         {s("--print"), s("--copies"), s("0")},
         7,
         s("неверное число копий «0»: нужно целое число от 1 до 999")},
        {"copies not a number",
         {},
         {s("--print"), s("--copies"), s("два")},
         7,
         s("неверное число копий «два»")},
        {"unknown option", {}, {s("--bogus")}, 2, s("неизвестный параметр «--bogus»")},
        {"file name missing", {}, {s("--export-pdf")}, 2, s("после --export-pdf нужно значение")},
        {"two jobs",
         {},
         {s("--list"), s("--print")},
         2,
         s("параметр --print нельзя сочетать с другим заданием")},
        {"no such printer",
         {},
         {s("--print"), s("--printer"), s("Nowhere")},
         5,
         s("нет принтера «Nowhere»")},
        {"the file printer",
         {},
         {s("--print"), s("--printer"), s("Файл PDF")},
         5,
         s("принтер «Файл PDF» доступен только в окне программы")},
        {"field beyond the pages",
         [&] { Sql(s("UPDATE Values_ SET PageNum = 3")); },
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("List index out of bounds (2)")},
        {"expression error",
         [&] { Sql(s("UPDATE HistoryValue SET Value = 'Сумма [неизвестно]'")); },
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("Ошибка: Возникла ошибка при обработке выражения; Сумма [неизвестно];")},
        {"template without pages",
         [&] {
             Sql(s("UPDATE Document SET PageCount = 0"));
             Sql(s("DELETE FROM Values_"));
         },
         {s("--export-pdf"), s("out.pdf")},
         8,
         s("в отчете нет страниц")},
    };
    // A first export readies what the program keeps between runs (the font caches), so that
    // the limits below meet the report's own file.
    Sample();
    ASSERT_EQ(Run({s("--export-pdf"), s("out.pdf")}).code, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const QString& name : FilesIn(dir.path()))
            QFile::remove(dir.file(name));
        Sample();
        if (row.prepare)
            row.prepare();
        ASSERT_TRUE(PutFile(out, "previous"));
        const QByteArray database = FileBytes(Db());
        const QStringList files = FilesIn(dir.path());
        // Taken last: closing any other handle of the file in this process would release it.
        if (row.locked) {
            lock = std::make_unique<TADOConnection>();
            lock->DataSource = Db();
            lock->Open();
            QSqlQuery begin(lock->Database());
            ASSERT_TRUE(begin.exec(s("BEGIN EXCLUSIVE"))) << begin.lastError().text().toStdString();
        }

        const Result r = Run(row.args, {}, row.child);
        lock.reset();
        if (r.code == 99)
            GTEST_SKIP() << "skipped: permissions cannot be enforced here";
        QFile::setPermissions(dir.file(s("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(dir.file(s("locked"))).removeRecursively();
        EXPECT_EQ(r.code, row.code);
        if (row.message.isEmpty()) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("quillbox: ") + row.message))
                << r.err.toStdString();
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(FileBytes(Db()), database);
        EXPECT_EQ(FileBytes(out), QByteArray("previous"));
        EXPECT_EQ(FilesIn(dir.path()), files);
    }
}

// The database only read: a read-only file serves an export and stays as it was.
TEST_F(CommandLineRun, AReadOnlyDatabaseExportsAndStaysAsItWas) {
    Sample();
    QFile::setPermissions(Db(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = FileBytes(Db());
    const QDateTime modified = QFileInfo(Db()).lastModified();
    ASSERT_TRUE(PutFile(dir.file(QStringLiteral("out.pdf")), "previous"));
    const Result r = Run({QStringLiteral("--export-pdf"), QStringLiteral("out.pdf")}, {}, [] {
        if (!ChildObeysPermissions())
            ::_exit(99);
    });
    if (r.code == 99)
        GTEST_SKIP() << "skipped: permissions cannot be enforced here";
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(FileBytes(dir.file(QStringLiteral("out.pdf"))).startsWith("%PDF-"));
    EXPECT_EQ(FileBytes(Db()), before);
    EXPECT_EQ(QFileInfo(Db()).lastModified(), modified);
    EXPECT_EQ(FilesIn(dir.path()),
              (QStringList{QStringLiteral("Quillbox.mdb"), QStringLiteral("out.pdf")}));
}

// Whatever ends a run, it ends with a documented code and one line.
TEST(CommandLineStop, EveryExceptionEndsWithACodeAndALine) {
    using R = StoreError::Reason;
    const struct {
        const char* name;
        std::function<void()> raise;
        int code;
        QString message;
    } rows[] = {
        {"its own stop",
         [] {
             throw CommandLine::Stop{6, QStringLiteral("список")};
         },
         6, QStringLiteral("список")},
        {"a busy database",
         [] { throw StoreError(R::Busy, StoreError::Text(R::Busy, QStringLiteral("a/Q.mdb"))); },
         12, QStringLiteral("База данных Q.mdb занята другой программой; повторите попытку позже")},
        {"a file that is no database",
         [] { throw StoreError(R::NotOurs, QStringLiteral("не та")); }, 3, QStringLiteral("не та")},
        {"a failure of two lines", [] { throw Failure(QStringLiteral("Ошибка\rв строке")); }, 1,
         QStringLiteral("Ошибка; в строке")},
        {"no memory", [] { throw std::bad_alloc(); }, 1, QStringLiteral("недостаточно памяти")},
        {"a fault of the program", [] { throw std::out_of_range("vector"); }, 1,
         QStringLiteral("непредвиденная ошибка программы")},
        {"anything", [] { throw 42; }, 1, QStringLiteral("непредвиденная ошибка программы")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLine::Stop stop;
        try {
            row.raise();
        } catch (...) {
            stop = CommandLine::StopForCurrentException();
        }
        EXPECT_EQ(stop.code, row.code);
        EXPECT_EQ(stop.message, row.message);
        EXPECT_TRUE(CommandLine::Usage().contains(QStringLiteral("\n  %1 ").arg(row.code)));
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

// The run lets the database go before preparing; the report still reads the rows it names,
// and the program's own functions are there.
TEST_F(CommandLineRun, ExportPrintsTheDataModulesFieldsNamedInValues) {
    if (!PdfToolsInstalled())
        GTEST_SKIP() << "skipped: no poppler-utils";
    Sample();
    Sql(QStringLiteral("UPDATE ListDoc SET Descript = 'Накладная77'"));
    Sql(QStringLiteral(
        "UPDATE HistoryValue SET Value = '[fData.ListDoc.Descript] [СУММАПРОПИСЬЮ(2)]'"));
    const Result r = Run({QStringLiteral("--export-pdf"), QStringLiteral("named.pdf")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    for (const char* word : {"Накладная77", "Два", "рубля"})
        EXPECT_TRUE(
            PdfWordBox(dir.file(QStringLiteral("named.pdf")), QString::fromUtf8(word)).has_value())
            << word;
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

// Warnings of the preparation go to standard error; with --strict they end the run unwritten.
TEST_F(CommandLineRun, WarningsAreToldAndStrictMakesThemAnError) {
    Sample();
    Result r = Run({QStringLiteral("--export-pdf"), QStringLiteral("out.pdf")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << "the sample prints as its templates mean: "
                                 << r.err.toStdString();

    Sql(QStringLiteral("UPDATE Values_ SET FontName = 'Wingdings'"));
    QFile::remove(dir.file(QStringLiteral("out.pdf")));
    r = Run({QStringLiteral("--export-pdf"), QStringLiteral("out.pdf")});
    EXPECT_EQ(r.code, 0);
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("quillbox: предупреждение: Поле «")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral(", страница 1: шрифт «Wingdings» не установлен")))
        << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("out.pdf"))));

    QFile::remove(dir.file(QStringLiteral("out.pdf")));
    r = Run(
        {QStringLiteral("--export-pdf"), QStringLiteral("out.pdf"), QStringLiteral("--strict")});
    EXPECT_EQ(r.code, 11);
    EXPECT_EQ(r.err.split(u'\n', Qt::SkipEmptyParts),
              QStringList({lines[0], QStringLiteral("quillbox: отчет не выведен: есть "
                                                    "предупреждения, а задан --strict")}));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("out.pdf"))));

    r = Run({QStringLiteral("--list"), QStringLiteral("--strict")});
    EXPECT_EQ(r.code, 2);
}

}  // namespace
