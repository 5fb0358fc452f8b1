#pragma once

#include "Engine.h"
#include "MemoView.h"
#include "Page.h"
#include "Report.h"
#include "ServicesDouble.h"
#include "TextEngine.h"

#include <gtest/gtest.h>
#include <QString>
#include <QVariant>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A running engine with the real text layer and a report named as the application names it,
// one page with one text object being printed.
class ExpandFixture : public ::testing::Test {
protected:
    ExpandFixture() {
        frEngineState().Services = &services;
        frStartTextLayer(*engine);
        report.setObjectName(QStringLiteral("Report"));
        page = &report.Pages.Add();
        memo = static_cast<TfrMemoView*>(&page->AddObject(std::make_unique<TfrMemoView>()));
        memo->PlaceAt(40, 60, 150, 20);
        TfrEngineState& state = frEngineState();
        state.CurrentReport = &report;
        state.MainReport = &report;
        state.CurrentDesignPage = page;
        state.CurrentView = memo;
    }

    TfrTextEngine& Text() { return frTextEngine(); }
    QString Expand(const QString& line) { return Text().Expand(line); }

    ServicesDouble services;
    std::unique_ptr<TfrEngine> engine{std::make_unique<TfrEngine>(nullptr)};
    TfrReport report;
    TfrPage* page{nullptr};
    TfrMemoView* memo{nullptr};
};
