#include "CommandLine.h"
#include "QtUiServices.h"
#include "Quillbox.h"
#include "WaitTimings.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const bool commandLine = CommandLine::Wanted(given);
    if (commandLine) {
        CommandLine::UseOffscreenWithoutDisplay();
        CommandLine::QuietQtMessages();
    }

    if (commandLine) {
        // No window is shown from the command line: the widgets are not started.
        QGuiApplication app(argc, argv);
        InstallRussian();
        return CommandLine(QCoreApplication::arguments())
            .Run(QCoreApplication::applicationFilePath());
    }

    QApplication app(argc, argv);
    InstallRussian();
    QtUiServices services;
    Quillbox quillbox(services);
    if (!quillbox.Start(QCoreApplication::applicationFilePath()))
        return quillbox.ExitCode();
    const auto timings = WaitTimings::FromEnvironment(sinceMain, quillbox);
    return quillbox.Run();
}
