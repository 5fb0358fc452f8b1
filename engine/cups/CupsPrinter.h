#pragma once

#include "PaperCatalog.h"
#include "PdfPageWriter.h"
#include "SystemPrinter.h"

#include <QMap>
#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;
class QTemporaryFile;

// The CUPS printers, through Qt PrintSupport. Papers are the queue's page sizes under their
// Windows paper codes; the resolution is the finest the queue offers up to 1200 dpi.
//
// Pages are printed as laid out: full page, zero margins, never fitted or scaled, and the page
// canvas has its origin at the printable area's corner, so the engine's own arithmetic puts
// everything where it belongs on the sheet. A job is drawn into a PDF file and handed to the
// spooler by `lp` when it ends, so an aborted job sends nothing at all. The event loop runs
// while the spooler takes the job.
class CupsPrinter : public SystemPrinter {
public:
    CupsPrinter();
    ~CupsPrinter() override;
    CupsPrinter(const CupsPrinter&) = delete;
    CupsPrinter& operator=(const CupsPrinter&) = delete;

    // The painter under the page canvas (the same origin); null outside a job.
    QPainter* PagePainter();
    // The spooler's id of the last job sent ("Queue-12").
    const QString& LastJob() const { return lastJob_; }
    // How long the spooler may take to accept a job before the job is reported as perhaps
    // queued.
    void SetSpoolerTimeout(int ms) { spoolerTimeoutMs_ = ms; }

    QStringList Printers() override;
    int PrinterIndex() const override { return current_; }
    void SetPrinterIndex(int index) override;
    PrinterIdentity CurrentNames() const override;
    std::optional<DeviceMode> GetDeviceMode() override;
    void SetDeviceMode(const DeviceMode& mode) override;
    QList<int> PaperCodes() override { return catalog_.Codes(); }
    QStringList PaperNames() override { return catalog_.Names(); }
    // Qt does not expose a CUPS queue's input trays: the printer chooses.
    QList<int> Bins() override { return {}; }
    QStringList BinNames() override { return {}; }
    DeviceCaps Caps() override;
    int Copies() const override { return setting_.Copies; }
    void SetCopies(int copies) override;
    QString Title() const override { return title_; }
    void SetTitle(const QString& title) override { title_ = title; }
    // The queue's settings that leave the marks in place (PrinterOptionsDialog); they go with
    // every later job to this queue.
    bool ShowPropertiesDialog() override;
    bool HasPropertiesDialog() const override { return device_ != nullptr; }
    Canvas* PageCanvas() override;

protected:
    void StartJob() override;
    void NextPage() override;
    void FinishJob() override;
    void CancelJob() override;

private:
    void Load(int index);
    // Puts the setting on the device; what the device refuses is put back as it was.
    void Configure(const PaperSetting& wanted);
    void DropJob();

    QStringList names_;
    int current_{-1};
    QPrinterInfo info_;
    PaperCatalog catalog_;
    PaperSetting setting_;
    int resolution_{1200};
    QString title_;
    std::unique_ptr<QPrinter> device_;  // the queue's layout and printable area; never drawn on

    std::unique_ptr<QTemporaryFile> jobFile_;
    PdfPageWriter pdf_;
    QString jobQueue_;
    QString jobMedia_;
    int jobCopies_{1};
    QString lastJob_;
    int spoolerTimeoutMs_{60000};
    // The driver settings chosen in the properties dialog, passed with every job.
    QMap<QString, QString> jobOptions_;
};
