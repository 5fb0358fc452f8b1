#pragma once

#include "PdfFilePrinter.h"
#include "SystemPrinter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The printers the program offers: the spooler's queues, then one more, "Файл PDF", which
// prints into a PDF file named when a run begins. Each keeps its own paper, orientation and
// copies; whichever is current answers for the settings and takes the jobs.
//
// The jobs of one run (a change of paper ends one and begins the next) go into one file, which
// is completed when the run ends (or by FinishFile()).
class DesktopPrinters : public SystemPrinter {
public:
    static QString PdfPrinterName();

    // Over the CUPS queues.
    DesktopPrinters();
    // Over another system's queues.
    explicit DesktopPrinters(std::unique_ptr<SystemPrinter> queues);
    ~DesktopPrinters() override;
    DesktopPrinters(const DesktopPrinters&) = delete;
    DesktopPrinters& operator=(const DesktopPrinters&) = delete;

    // Asked for the file when a run on "Файл PDF" begins; an empty answer declines the run.
    // ".pdf" is added to a name without it.
    std::function<QString()> AskFileName;

    bool PdfCurrent() const { return pdfCurrent_; }
    SystemPrinter& Queues() const { return *queues_; }
    PdfFilePrinter& PdfFile() { return pdf_; }
    // Completes the PDF file of the last run now; raises Failure when it cannot be written.
    void FinishFile();

    QStringList Printers() override;
    int PrinterIndex() const override;
    void SetPrinterIndex(int index) override;
    PrinterIdentity CurrentNames() const override;
    std::optional<DeviceMode> GetDeviceMode() override { return Current().GetDeviceMode(); }
    void SetDeviceMode(const DeviceMode& mode) override { Current().SetDeviceMode(mode); }
    QList<int> PaperCodes() override { return Current().PaperCodes(); }
    QStringList PaperNames() override { return Current().PaperNames(); }
    QList<int> Bins() override { return Current().Bins(); }
    QStringList BinNames() override { return Current().BinNames(); }
    DeviceCaps Caps() override { return Current().Caps(); }
    int Copies() const override { return Current().Copies(); }
    void SetCopies(int copies) override { Current().SetCopies(copies); }
    bool MakesCopies() const override { return Current().MakesCopies(); }
    QString Title() const override { return Current().Title(); }
    void SetTitle(const QString& title) override;
    bool ShowPropertiesDialog() override { return Current().ShowPropertiesDialog(); }
    bool HasPropertiesDialog() const override { return Current().HasPropertiesDialog(); }
    bool ReadyToPrint() override;
    // Completes the PDF file of a run that printed; discards that of one that did not.
    void RunEnded(bool printed) override;
    Canvas* PageCanvas() override;

protected:
    void StartJob() override;
    void NextPage() override;
    void FinishJob() override;
    void CancelJob() override;

private:
    SystemPrinter& Current();
    const SystemPrinter& Current() const;

    std::unique_ptr<SystemPrinter> queues_;
    PdfFilePrinter pdf_{QString()};
    int queueCount_{0};
    bool pdfCurrent_{false};
    // The printer of the open job.
    SystemPrinter* job_{nullptr};
};
