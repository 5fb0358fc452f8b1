// F9 never gives a report a script: with the script engine in place, the report builder's
// reports prepare byte for byte the pages they prepared while scripts did nothing.
#include "../../bench/BenchDatabase.h"
#include "AppFrame.h"
#include "Data.h"
#include "Engine.h"
#include "PreparedPages.h"
#include "Report.h"
#include "ReportBuilder.h"
#include "Schema.h"
#include "ScriptedPrinter.h"
#include "ServicesDouble.h"
#include "TempDir.h"
#include "TextEngine.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QCoreApplication>
#include <functional>
#include <memory>

namespace {

// The text engine as it was before scripts ran: no script is translated or run.
class WithoutScripts : public TfrTextEngine {
public:
    using TfrTextEngine::TfrTextEngine;
    void TranslateScript(QStringList&) override {}
    void RunScript(TfrView&, const QStringList&) override {}
    void RunPageScript(const QStringList&) override {}
};

// Every prepared page's stream after F9 on the database in the working folder.
QList<QByteArray> PreparedStreams(bool scripts) {
    ServicesDouble services;
    AppFrame frame{services};
    TfData data{frame};
    data.DataModuleCreate(QCoreApplication::applicationFilePath());
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->Current = 0;
    TfrEngine engine(std::move(system));
    engine.State().Services = &services;
    if (scripts)
        frStartTextLayer(engine);
    else
        engine.InstallTextLayer(std::make_unique<WithoutScripts>(engine));

    TfrReport report;
    TfReportBuilder(data, report).Build();
    EXPECT_TRUE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty());
    QList<QByteArray> streams;
    for (int i = 0; i < report.PreparedPages->Count(); ++i)
        streams << report.PreparedPages->RecordAt(i).Stream->data();
    return streams;
}

TEST(ScriptlessPages, F9PreparesTheSamePagesWithTheScriptEngine) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> create;
        qsizetype pages;
    };
    const Case cases[] = {
        {"sample database", [](const QString& file) { Schema::CreateFile(file, true); }, 0},
        {"benchmark form", [](const QString& file) { BenchForm::WriteDatabase(3, file); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.create(dir.file(QStringLiteral("Quillbox.mdb")));
        const QList<QByteArray> before = PreparedStreams(false);
        ASSERT_FALSE(before.isEmpty());
        if (c.pages) {
            EXPECT_EQ(before.size(), c.pages);
        }
        EXPECT_FALSE(before.first().size() <= 1);
        EXPECT_EQ(PreparedStreams(true), before);
    }
}

}  // namespace
