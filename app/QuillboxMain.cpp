#include "QtUiServices.h"
#include "Quillbox.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallRussian();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formwright.svg")));
    QtUiServices services;
    Quillbox quillbox(services);
    if (!quillbox.Start(QCoreApplication::applicationFilePath()))
        return quillbox.ExitCode();
    return quillbox.Run();
}
