// Every post re-reads its table: how long does storing one value take as a document grows?
#include "Connection.h"
#include "Schema.h"
#include "Table.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

void PostValue(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quillbox.mdb"));
    Schema::CreateFile(file, false);
    TADOConnection con;
    con.DataSource = file;
    con.Open();
    {
        QSqlQuery q(con.Database());
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(QStringLiteral(
            "INSERT INTO HistoryValue (ListDoc_Id, Values_Id, Value) VALUES (1, ?, ?)"));
        for (int i = 0; i < state.range(0); ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("значение %1").arg(i));
            q.exec();
        }
        q.exec(QStringLiteral("COMMIT"));
    }
    TADOTableAvtoInc table(con, QStringLiteral("HistoryValue"));
    table.AddField(QStringLiteral("Id"), TFieldKind::Data, TFieldType::AutoInc);
    table.AddField(QStringLiteral("ListDoc_Id"), TFieldKind::Data, TFieldType::Integer);
    table.AddField(QStringLiteral("Values_Id"), TFieldKind::Data, TFieldType::Integer);
    TField& value =
        table.AddField(QStringLiteral("Value"), TFieldKind::Data, TFieldType::String, 255);
    table.IndexFieldNames = QStringLiteral("ListDoc_Id");
    table.Open();
    for (auto _ : state) {
        table.Edit();
        value.SetAsString(QStringLiteral("изменено"));
        table.Post();
    }
    state.SetLabel(QStringLiteral("%1 rows").arg(table.RecordCount()).toStdString());
}
BENCHMARK(PostValue)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
