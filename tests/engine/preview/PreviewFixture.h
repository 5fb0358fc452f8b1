#pragma once

#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"
#include "PreviewView.h"
#include "Report.h"
#include "ReportFixture.h"
#include "TextEngine.h"

#include <memory>

// A report prepared by the real engine on the virtual printer: pages with one filled text
// object each. Every test starts from the zoom a new process has.
class PreviewFixture : public ReportFixture {
protected:
    static constexpr quint32 kFill = 0x00FF00;

    PreviewFixture() {
        frStartTextLayer(*engine);
        report.setObjectName(QStringLiteral("Report"));
        TfrPreviewView::Remembered() = {};
    }
    ~PreviewFixture() override { TfrPreviewView::Remembered() = {}; }

    // count pages, each with a green text object at (20, 30), 40 by 10 page units.
    void Prepare(int count) {
        report.Pages.ClearAll();
        for (int i = 0; i < count; ++i) {
            TfrPage& page = report.Pages.Add();
            auto memo = std::make_unique<TfrMemoView>();
            memo->PlaceAt(20, 30, 40, 10);
            memo->Memo.append(QStringLiteral("Стр. %1").arg(i + 1));
            memo->FillColor = kFill;
            page.AddObject(std::move(memo));
        }
        ASSERT_TRUE(report.Prepare());
        ASSERT_EQ(report.PreparedPages->Count(), count);
    }

    // Gives every prepared page a sheet of that size in page units, drawn whole.
    void SetSheets(int width, int height) {
        for (int i = 0; i < report.PreparedPages->Count(); ++i) {
            TfrPreparedPage& page = report.PreparedPages->RecordAt(i);
            page.Metrics.SheetWidth = width;
            page.Metrics.SheetHeight = height;
            page.WholeSheet = true;
        }
    }

    TfrReport report;
};
