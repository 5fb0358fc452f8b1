#include "QtUiServices.h"
#include "Quillbox.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallRussian();
    QtUiServices services;
    Quillbox quillbox(services);
    if (!quillbox.Start(QCoreApplication::applicationFilePath()))
        return quillbox.ExitCode();
    return quillbox.Run();
}
