#pragma once

#include "PagesView.h"
#include "PreparedPages.h"
#include "Report.h"

#include <QObject>
#include <QStringList>
#include <memory>

// A preview that holds a report's prepared pages and records what printing asks of it.
class ViewDouble : public QObject, public TfrPagesView {
public:
    std::unique_ptr<TfrEMFPages> pages;
    TfrReport* report{nullptr};
    int current{1};
    QWidget* owner{nullptr};
    // "connect", "return", "take", "reset true", "reset false", in order.
    QStringList calls;

    TfrReport* ShownReport() const override { return report; }
    TfrEMFPages* ShownPages() const override { return pages.get(); }
    int CurrentPage() const override { return current; }
    void ConnectReport(TfrReport& r) override {
        calls.append(QStringLiteral("connect"));
        report = &r;
        pages = r.TakePreparedPages();
    }
    void ReturnPages() override {
        calls.append(QStringLiteral("return"));
        report->ReturnPreparedPages(std::move(pages));
    }
    void TakePages() override {
        calls.append(QStringLiteral("take"));
        pages = report->TakePreparedPages();
    }
    void ResetView(bool resetPosition) override {
        calls.append(resetPosition ? QStringLiteral("reset true") : QStringLiteral("reset false"));
    }
    QWidget* DialogOwner() const override { return owner; }
};
