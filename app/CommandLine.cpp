#include "CommandLine.h"

#include "AppFrame.h"
#include "AsideFile.h"
#include "Connection.h"
#include "Data.h"
#include "DesktopPrinters.h"
#include "Engine.h"
#include "Failure.h"
#include "Page.h"
#include "PdfFilePrinter.h"
#include "PreparedPages.h"
#include "Printing.h"
#include "Report.h"
#include "ReportBuilder.h"
#include "StderrServices.h"
#include "TextEngine.h"
#include "WordsLibrary.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using Stop = CommandLine::Stop;

struct Options {
    enum class Job { None, Help, List, Export, Print };
    Job job{Job::None};
    QString file;
    std::optional<QString> document;
    std::optional<QString> printer;
    int copies{1};
    QString pages;
    // A warning of the preparation ends the run.
    bool strict{false};
};

QString Quoted(const QString& text) {
    return QStringLiteral("«") + text + QStringLiteral("»");
}

Options Parse(const QStringList& arguments) {
    Options o;
    bool copiesGiven = false;
    bool pagesGiven = false;
    auto setJob = [&](Options::Job job, const QString& option) {
        if (o.job != Options::Job::None && o.job != job)
            throw Stop{CommandLine::BadArguments,
                       QStringLiteral("параметр %1 нельзя сочетать с другим заданием").arg(option)};
        o.job = job;
    };
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                throw Stop{CommandLine::BadArguments,
                           QStringLiteral("после %1 нужно значение").arg(a)};
            return arguments[++i];
        };
        if (a == u"--help" || a == u"-h") {
            setJob(Options::Job::Help, a);
        } else if (a == u"--list") {
            setJob(Options::Job::List, a);
        } else if (a == u"--export-pdf") {
            setJob(Options::Job::Export, a);
            o.file = value();
        } else if (a == u"--print") {
            setJob(Options::Job::Print, a);
        } else if (a == u"--document") {
            o.document = value();
        } else if (a == u"--printer") {
            o.printer = value();
        } else if (a == u"--copies") {
            const QString text = value();
            bool ok = false;
            o.copies = text.trimmed().toInt(&ok);
            if (!ok || o.copies < 1 || o.copies > 999)
                throw Stop{CommandLine::BadCopies,
                           QStringLiteral("неверное число копий %1: нужно целое число от 1 до 999")
                               .arg(Quoted(text))};
            copiesGiven = true;
        } else if (a == u"--pages") {
            o.pages = value();
            pagesGiven = true;
        } else if (a == u"--strict") {
            o.strict = true;
        } else {
            throw Stop{CommandLine::BadArguments,
                       QStringLiteral("неизвестный параметр %1 (см. --help)").arg(Quoted(a))};
        }
    }
    const bool print = o.job == Options::Job::Print;
    const bool output = print || o.job == Options::Job::Export;
    if (o.job == Options::Job::None)
        throw Stop{
            CommandLine::BadArguments,
            QStringLiteral("не указано задание: --list, --export-pdf или --print (см. --help)")};
    if ((o.printer && !print) || (copiesGiven && !print))
        throw Stop{CommandLine::BadArguments,
                   QStringLiteral("--printer и --copies относятся только к --print")};
    if ((o.document || pagesGiven || o.strict) && !output)
        throw Stop{CommandLine::BadArguments,
                   QStringLiteral(
                       "--document, --pages и --strict относятся только к --export-pdf и --print")};
    if (o.job == Options::Job::Export && o.file.trimmed().isEmpty())
        throw Stop{CommandLine::BadArguments, QStringLiteral("не указано имя файла PDF")};
    return o;
}

void WriteOut(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// Every template with its documents for printing.
void List(TfData& data) {
    QString out;
    data.Document.First();
    while (!data.Document.Eof()) {
        out += QStringLiteral("Шаблон %1: %2 (страниц: %3, %4)\n")
                   .arg(data.DocumentId.AsString(), data.DocumentName.AsString(),
                        data.DocumentPageCount.AsString(), data.DocumentOrientName.AsString());
        if (data.ListDoc.IsEmpty())
            out += QStringLiteral("  документов для печати нет\n");
        data.ListDoc.First();
        while (!data.ListDoc.Eof()) {
            out +=
                QStringLiteral("  %1  %2  %3\n")
                    .arg(
                        data.ListDocId.AsString(),
                        data.ListDocDate.AsDateTime().date().toString(QStringLiteral("dd.MM.yyyy")),
                        data.ListDocDescript.AsString());
            data.ListDoc.Next();
        }
        data.Document.Next();
    }
    if (data.Document.IsEmpty())
        out = QStringLiteral("Шаблонов нет\n");
    WriteOut(out);
}

// Makes the document for printing with this number current, with its template.
void LocateDocument(TfData& data, const QString& id) {
    bool ok = false;
    const int key = id.trimmed().toInt(&ok);
    if (ok && key > 0) {
        data.Document.First();
        while (!data.Document.Eof()) {
            if (data.ListDoc.LocateRow(QStringLiteral("Id"), {key}))
                return;
            data.Document.Next();
        }
    }
    throw Stop{
        CommandLine::NoDocument,
        QStringLiteral("нет документа для печати с номером %1 (см. --list)").arg(Quoted(id))};
}

// The printer of the run, among the desktop printers; the file printer needs a window.
void ChoosePrinter(TfrEngine& engine, const std::optional<QString>& name) {
    TfrPrinter& printer = engine.Printer();
    QStringList names = printer.PrinterNames();
    names.removeAt(printer.VirtualPrinterIndex());
    names.removeAll(DesktopPrinters::PdfPrinterName());
    if (!name) {
        if (names.isEmpty())
            throw Stop{CommandLine::NoPrinter, QStringLiteral("в системе нет ни одного принтера")};
        if (printer.IsVirtual() || printer.DeviceName() == DesktopPrinters::PdfPrinterName())
            printer.SelectPrinter(printer.PrinterNames().indexOf(names.first()));
        return;
    }
    if (*name == DesktopPrinters::PdfPrinterName())
        throw Stop{CommandLine::NoPrinter,
                   QStringLiteral("принтер %1 доступен только в окне программы; для файла PDF: "
                                  "--export-pdf ФАЙЛ")
                       .arg(Quoted(*name))};
    const int index = names.contains(*name) ? printer.PrinterNames().indexOf(*name) : -1;
    if (index < 0)
        throw Stop{CommandLine::NoPrinter,
                   names.isEmpty()
                       ? QStringLiteral("нет принтера %1: в системе нет ни одного принтера")
                             .arg(Quoted(*name))
                       : QStringLiteral("нет принтера %1; принтеры: %2")
                             .arg(Quoted(*name), names.join(QStringLiteral(", ")))};
    printer.SelectPrinter(index);
}

// One run of a job, step by step; a step that fails ends the run with a Stop.
class Steps {
public:
    Steps(const Options& options, StderrServices& services)
        : options_(options), exporting_(options.job == Options::Job::Export), frame_(services) {
        frame_.Title = QStringLiteral("Formwright");
    }

    void Go(const QString& executablePath) {
        const QString database = FindDatabase();
        if (exporting_)
            RefuseToWriteOver(database);
        OpenDatabase(executablePath);
        if (options_.job == Options::Job::List) {
            List(*data_);
            return;
        }
        ChooseDocument();
        StartEngine();
        BuildAndPrepare();
        CheckPageList();
        Output();
    }

private:
    // Quillbox.mdb in the working folder, which must exist.
    static QString FindDatabase() {
        const QString cwd = QDir::currentPath();
        const QString database = cwd + QStringLiteral("/Quillbox.mdb");
        if (!QFileInfo::exists(database))
            throw Stop{CommandLine::NoDatabase,
                       QStringLiteral("не найден файл базы данных Quillbox.mdb в папке %1")
                           .arg(QDir::toNativeSeparators(cwd))};
        return database;
    }

    // The report never goes over the database, by whatever name the file is given.
    void RefuseToWriteOver(const QString& database) const {
        if (frSameFile(options_.file, database))
            throw Stop{CommandLine::NotWritten,
                       QStringLiteral("файл %1 - это база данных программы; отчет в него не "
                                      "записывается")
                           .arg(Quoted(options_.file))};
    }

    // Read only: the command line never changes the database.
    void OpenDatabase(const QString& executablePath) {
        data_ = std::make_unique<TfData>(frame_);
        data_->Con.ReadOnly = true;
        data_->DataModuleCreate(executablePath);
        if (frame_.Terminated())
            throw Stop{CommandLine::NoDatabase, QString()};  // the data module has said why
    }

    void ChooseDocument() {
        if (options_.document)
            LocateDocument(*data_, *options_.document);
        else if (data_->ListDoc.IsEmpty())
            throw Stop{CommandLine::NoDocument,
                       QStringLiteral("нет ни одного документа для печати")};
    }

    // The engine on the file printer or on the desktop's printers.
    void StartEngine() {
        std::unique_ptr<SystemPrinter> system;
        if (exporting_) {
            auto pdf = std::make_unique<PdfFilePrinter>(options_.file);
            file_ = pdf.get();
            system = std::move(pdf);
        } else {
            system = std::make_unique<DesktopPrinters>();
        }
        engine_ = std::make_unique<TfrEngine>(std::move(system));
        engine_->State().Services = &frame_.Services();
        InstallWordsLibrary(frStartTextLayer(*engine_));
        frStartPrinting(*engine_);
        if (!exporting_)
            ChoosePrinter(*engine_, options_.printer);
    }

    // The database is done with once the report is built: its tables go before the
    // preparation, the design pages once they are prepared.
    void BuildAndPrepare() {
        report_ = std::make_unique<TfrReport>();
        report_->setObjectName(QStringLiteral("Report"));
        // The builder keeps the current rows the report may name ("fData.ListDoc.Descript")
        // after the data module has gone.
        builder_ = std::make_unique<TfReportBuilder>(*data_, *report_);
        try {
            builder_->Build();
        } catch (const Failure& e) {
            throw Stop{CommandLine::BuildFailed, e.Message()};
        }
        data_.reset();
        if (!report_->Prepare())
            throw Stop{CommandLine::BuildFailed, QString()};  // the engine's box has said why
        report_->Pages.ClearAll();
        ReportWarnings();
        pageCount_ = report_->PreparedPages->Count();
        if (pageCount_ == 0)
            throw Stop{CommandLine::BuildFailed, QStringLiteral("в отчете нет страниц")};
    }

    // What will not print as the template means it, one line each; with --strict the end.
    void ReportWarnings() const {
        const auto& warnings = frTextEngine().Warnings.List();
        for (const TfrPrintWarning& warning : warnings)
            WriteErrorLine(QStringLiteral("предупреждение: ") + warning.Text);
        if (options_.strict && !warnings.empty())
            throw Stop{CommandLine::Warned,
                       QStringLiteral("отчет не выведен: есть предупреждения, а задан --strict")};
    }

    void CheckPageList() const {
        if (options_.pages.trimmed().isEmpty())
            return;
        QList<int> selected;
        try {
            selected = frParsePageList(options_.pages, pageCount_);
        } catch (const Failure&) {
            throw Stop{CommandLine::BadPageList,
                       QStringLiteral("неверный список страниц %1: нужны номера и диапазоны "
                                      "страниц через запятую, например 1,3,5-12")
                           .arg(Quoted(options_.pages))};
        }
        if (selected.isEmpty())
            throw Stop{CommandLine::BadPageList,
                       QStringLiteral("в списке %1 нет страниц отчета (всего %2)")
                           .arg(Quoted(options_.pages))
                           .arg(pageCount_)};
    }

    // The pages to the printer or into the file, which takes its name only when complete.
    void Output() {
        const bool progress = isatty(STDERR_FILENO);
        const int pageCount = pageCount_;
        report_->OnProgress = [progress, pageCount](int page) {
            if (progress)
                std::fputs(QStringLiteral("\rстраница %1 из %2")
                               .arg(page)
                               .arg(pageCount)
                               .toLocal8Bit()
                               .constData(),
                           stderr);
        };
        const auto endLine = qScopeGuard([progress] {
            if (progress)
                std::fputs("\n", stderr);
        });
        try {
            frPrintPreparedPages(*report_, options_.pages, options_.copies, report_->DefaultCollate,
                                 frAllPages);
            if (file_)
                file_->Finish();
        } catch (const Failure& e) {
            throw Stop{exporting_ ? CommandLine::NotWritten : CommandLine::NotPrinted, e.Message()};
        }
        if (file_ && !QFileInfo(options_.file).isFile())
            throw Stop{CommandLine::NotWritten,
                       QStringLiteral("не удалось записать файл %1").arg(Quoted(options_.file))};
    }

    const Options& options_;
    const bool exporting_;
    AppFrame frame_;
    std::unique_ptr<TfData> data_;
    std::unique_ptr<TfrEngine> engine_;
    PdfFilePrinter* file_{nullptr};  // the engine's, when exporting
    std::unique_ptr<TfrReport> report_;
    std::unique_ptr<TfReportBuilder> builder_;  // goes before the report it built
    int pageCount_{0};
};

}  // namespace

bool CommandLine::Wanted(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QStringLiteral("--")) || arguments[i] == u"-h")
            return true;
    }
    return false;
}

void CommandLine::UseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void CommandLine::QuietQtMessages() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if ((type == QtCriticalMsg || type == QtFatalMsg) && previous)
                previous(type, context, message);
        });
}

QString CommandLine::Usage() {
    return QStringLiteral(
        "Использование:\n"
        "  quillbox                       окно программы\n"
        "  quillbox --help                эта справка\n"
        "  quillbox --list                шаблоны и их документы для печати: номер, дата, "
        "описание\n"
        "  quillbox --export-pdf ФАЙЛ [--document НОМЕР] [--pages СПИСОК] [--strict]\n"
        "                                 отчет документа в файл PDF\n"
        "  quillbox --print [--printer ИМЯ] [--copies N] [--pages СПИСОК] [--document НОМЕР]\n"
        "                  [--strict]\n"
        "                                 отчет документа на принтер (по умолчанию системный)\n"
        "\n"
        "Без --document берется документ, который окно программы открывает первым.\n"
        "СПИСОК: номера и диапазоны страниц через запятую, например 1,3,5-12.\n"
        "N: число копий от 1 до 999. База данных: Quillbox.mdb в текущей папке; она только\n"
        "читается. Файл PDF пишется рядом и занимает свое имя, только когда готов.\n"
        "Предупреждения (текст не помещается в поле, шрифт заменен, поле за краем листа)\n"
        "выводятся строками \"предупреждение: ...\"; с --strict отчет тогда не выводится.\n"
        "\n"
        "Коды завершения:\n"
        "  0   успешно\n"
        "  1   другая ошибка (например, нехватка памяти)\n"
        "  2   неверные параметры\n"
        "  3   нет базы данных или ее нельзя прочитать\n"
        "  4   нет такого документа для печати\n"
        "  5   нет такого принтера\n"
        "  6   неверный список страниц\n"
        "  7   неверное число копий\n"
        "  8   ошибка построения отчета\n"
        "  9   файл не удалось записать\n"
        "  10  принтер не принял задание\n"
        "  11  есть предупреждения, а задан --strict\n"
        "  12  база данных занята другой программой\n");
}

CommandLine::Stop CommandLine::StopForCurrentException() {
    try {
        throw;
    } catch (const Stop& stop) {
        return stop;
    } catch (const StoreError& e) {
        return {e.WhatFailed() == StoreError::Reason::Busy ? DatabaseBusy : NoDatabase,
                OneLine(e.Message())};
    } catch (const Failure& e) {
        return {OtherFailure, OneLine(e.Message())};
    } catch (const std::bad_alloc&) {
        return {OtherFailure, QStringLiteral("недостаточно памяти")};
    } catch (...) {
        return {OtherFailure, QStringLiteral("непредвиденная ошибка программы")};
    }
}

int CommandLine::Run(const QString& executablePath) {
    StderrServices services;
    try {
        const Options options = Parse(arguments_);
        if (options.job == Options::Job::Help) {
            WriteOut(Usage());
            return Success;
        }
        Steps(options, services).Go(executablePath);
        return Success;
    } catch (...) {
        const Stop stop = StopForCurrentException();
        if (!stop.message.isEmpty())
            WriteErrorLine(stop.message);
        return stop.code;
    }
}
