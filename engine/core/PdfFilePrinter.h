#pragma once

#include "PaperCatalog.h"
#include "PdfPageWriter.h"
#include "SystemPrinter.h"

#include <QString>
#include <memory>
#include <vector>

class AsideFile;

// A printer that writes a PDF file: one printer, every standard paper, no bins, no unprintable
// border. The jobs it is given (a change of paper ends one and begins the next) all go into the
// one file. It is written aside, in the same folder, and takes the name only when Finish()
// completes it; until then a file of that name stays as it was. Abort, a failure or the
// printer's end without Finish() discards what was written. Copies are not repeated in the
// file.
class PdfFilePrinter : public SystemPrinter {
public:
    explicit PdfFilePrinter(QString path, int resolution = 1200);
    ~PdfFilePrinter() override;
    PdfFilePrinter(const PdfFilePrinter&) = delete;
    PdfFilePrinter& operator=(const PdfFilePrinter&) = delete;

    const QString& Path() const { return path_; }
    // Completes the file being written and writes the next jobs to another; refused while a
    // job is open.
    void SetPath(QString path);
    // A file no report is written over, by whatever name it is given: the program's database.
    void Protect(const QString& path) { protected_.push_back(path); }
    // Completes the file and puts it in place; a later job starts a new one. Raises Failure
    // when the file could not be written whole: then nothing has replaced the previous file.
    void Finish();
    // Drops what was written since the file was begun; a file of the name stays as it was.
    void Discard();
    // The painter under the page canvas, origin at the sheet's corner; null outside a job.
    QPainter* PagePainter();

    QStringList Printers() override;
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int index) override;
    PrinterIdentity CurrentNames() const override;
    std::optional<DeviceMode> GetDeviceMode() override { return setting_.Mode(); }
    void SetDeviceMode(const DeviceMode& mode) override;
    QList<int> PaperCodes() override { return catalog_.Codes(); }
    QStringList PaperNames() override { return catalog_.Names(); }
    QList<int> Bins() override { return {}; }
    QStringList BinNames() override { return {}; }
    DeviceCaps Caps() override;
    int Copies() const override { return setting_.Copies; }
    void SetCopies(int copies) override;
    bool MakesCopies() const override { return false; }
    QString Title() const override { return title_; }
    void SetTitle(const QString& title) override { title_ = title; }
    // A file has no settings dialog of its own.
    bool ShowPropertiesDialog() override { return false; }
    bool HasPropertiesDialog() const override { return false; }
    Canvas* PageCanvas() override;

protected:
    void StartJob() override;
    void NextPage() override;
    void FinishJob() override;
    void CancelJob() override;

private:
    // "Не удалось записать файл" with the path and the reason.
    QString NotWritten(const QString& reason) const;
    // Why the file cannot be begun, as far as the folder tells.
    QString WhyNotBegun() const;

    QString path_;
    std::vector<QString> protected_;
    int resolution_;
    PaperCatalog catalog_;
    PaperSetting setting_;
    QString title_;
    // The file being written aside; the writer draws into it, so it outlives the writer.
    std::unique_ptr<AsideFile> file_;
    PdfPageWriter pdf_;
};
