#pragma once

#include <QString>
#include <QStringList>

// The main job without a window: list the documents for printing, export one as a PDF file or
// print it, through the same builder and engine as the preview window. Messages go to standard
// error, one line each.
class CommandLine {
public:
    enum Exit {
        Success = 0,
        OtherFailure = 1,
        BadArguments = 2,
        NoDatabase = 3,
        NoDocument = 4,
        NoPrinter = 5,
        BadPageList = 6,
        BadCopies = 7,
        BuildFailed = 8,
        NotWritten = 9,
        NotPrinted = 10,
        Warned = 11,
        DatabaseBusy = 12,
    };

    // How a run ends: its exit code and its line for standard error, empty when the line has
    // been written already (or on success).
    struct Stop {
        int code{Success};
        QString message;
    };
    // The end of a run for the exception being handled (call only inside a catch block): a Stop
    // as it is, a database that cannot serve, any other failure, and anything else (no memory,
    // a fault of the program) as OtherFailure, each with its one line.
    static Stop StopForCurrentException();

    // The arguments ask for a run without windows: one of them starts with "--", or is "-h".
    static bool Wanted(const QStringList& arguments);
    // Without a display the offscreen platform serves; call before the application object.
    static void UseOffscreenWithoutDisplay();
    // Qt's own notes and warnings stay off standard error, which carries the run's messages.
    static void QuietQtMessages();
    static QString Usage();

    // arguments: as given, the program first.
    explicit CommandLine(QStringList arguments) : arguments_(std::move(arguments)) {}
    // The exit code.
    int Run(const QString& executablePath);

private:
    QStringList arguments_;
};
