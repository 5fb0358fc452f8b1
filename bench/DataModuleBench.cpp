// The step that gives a document for printing its values, on a template of 200 fields (the
// form's five pages): every value missing, and every value there already.
#include "AppFrame.h"
#include "BenchDatabase.h"
#include "Data.h"
#include "StderrServices.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

constexpr int kPages = 5;

void RefreshFields(benchmark::State& state) {
    const bool missing = state.range(0) != 0;
    QTemporaryDir dir;
    BenchForm::WriteDatabase(kPages, dir.filePath(QStringLiteral("Quillbox.mdb")));
    QDir::setCurrent(dir.path());
    StderrServices services;
    AppFrame frame(services);
    TfData data(frame);
    data.DataModuleCreate(QCoreApplication::applicationFilePath());
    for (auto _ : state) {
        if (missing) {
            state.PauseTiming();
            QSqlQuery q(data.Con.Database());
            if (!q.exec(QStringLiteral("DELETE FROM HistoryValue")))
                state.SkipWithError("cannot empty the values");
            data.HistoryValue.Requery();
            state.ResumeTiming();
        }
        data.RefreshFields();
    }
    state.SetLabel(std::to_string(data.HistoryValue.RecordCount()) + " values");
    QDir::setCurrent(QDir::tempPath());
}
BENCHMARK(RefreshFields)
    ->ArgName("missing")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
