// Posts templates one after another and says so after each post, until it is killed.
#include "Connection.h"
#include "Table.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TADOConnection con;
    con.DataSource = app.arguments().value(1);
    TADOTableAvtoInc table(con, QStringLiteral("Document"));
    table.AddField(QStringLiteral("Id"), TFieldKind::Data, TFieldType::AutoInc);
    TField& name =
        table.AddField(QStringLiteral("Name"), TFieldKind::Data, TFieldType::String, 100);
    table.Open();
    for (int n = 1;; ++n) {
        table.Append();
        name.SetAsString(QStringLiteral("Шаблон %1").arg(n));
        table.Post();
        std::printf("posted %d\n", n);
        std::fflush(stdout);
    }
}
