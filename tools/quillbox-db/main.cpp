#include "Failure.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    const QString command = args.value(1);
    if (args.size() != 3 ||
        (command != QLatin1String("create") && command != QLatin1String("sample"))) {
        err << "usage: quillbox-db create FILE   a new database with the schema\n"
               "       quillbox-db sample FILE   the same with a sample template and document\n";
        return 2;
    }
    try {
        Schema::CreateFile(args[2], command == QLatin1String("sample"));
    } catch (const Failure& e) {
        err << "quillbox-db: " << e.Message() << '\n';
        return 1;
    }
    return 0;
}
