#pragma once

#include "DataFixture.h"
#include "Engine.h"
#include "Page.h"
#include "PreparedPages.h"
#include "Report.h"
#include "ReportBuilder.h"
#include "ScriptedPrinter.h"
#include "TextEngine.h"

#include <memory>

// A database in a temporary folder with the data module on it, and an engine with the text
// layer on one scripted A4 office printer.
class BuilderFixture : public DataFixture {
protected:
    BuilderFixture() {
        auto system = std::make_unique<ScriptedPrinter>();
        system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
        system->Current = 0;
        printer = system.get();
        engine = std::make_unique<TfrEngine>(std::move(system));
        engine->State().Services = &services;
        frStartTextLayer(*engine);
    }

    // A field with explicit geometry and font.
    struct Field {
        QString name;
        int page{1};
        int left{0}, top{0}, width{0}, height{0};
        QVariant fontName{QStringLiteral("Times New Roman")};
        QVariant fontSize{12};
        bool bold{false};
        bool underline{false};
    };
    qint64 AddFieldAt(qint64 doc, const Field& f) {
        return Exec(QStringLiteral("INSERT INTO Values_ (Document_Id, VarName, VarValue, PageNum, "
                                   "\"Left\", Top, Height, Width, FontSize, FontName, FontBold, "
                                   "FontUnderline) VALUES (?, ?, '', ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {doc, f.name, f.page, f.left, f.top, f.height, f.width, f.fontSize, f.fontName,
                     f.bold ? 1 : 0, f.underline ? 1 : 0});
    }

    void BuildReport() {
        OpenModule();
        builder = std::make_unique<TfReportBuilder>(*data, report);
        builder->Build();
    }

    // The lines of every object of prepared page `index`, page by page as printed.
    QStringList PreparedTexts(int index) {
        TfrEMFPages& store = *report.PreparedPages;
        store.LoadPage(index);
        QStringList texts;
        const TfrPage& page = *store.RecordAt(index).LoadedPage;
        for (int i = 0; i < page.ObjectCount(); ++i)
            texts << page.ObjectAt(i).Memo.join(u'|');
        return texts;
    }

    ScriptedPrinter* printer{nullptr};
    std::unique_ptr<TfrEngine> engine;
    TfrReport report;
    // Gone before the report and the engine.
    std::unique_ptr<TfReportBuilder> builder;
};
