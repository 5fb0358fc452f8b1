#include "PdfFilePrinter.h"

#include "Failure.h"
#include "PainterCanvas.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>

PdfFilePrinter::PdfFilePrinter(QString path, int resolution)
    : path_(std::move(path)),
      resolution_(resolution > 0 ? resolution : 1200),
      catalog_(PaperCatalog::Standard()) {}

PdfFilePrinter::~PdfFilePrinter() {
    if (Printing())
        Abort();
    else
        Finish();
}

void PdfFilePrinter::Finish() {
    if (!writer_ || Printing())
        return;
    ClosePage();
    painter_.end();
    writer_.reset();
}

QPainter* PdfFilePrinter::PagePainter() {
    return Printing() ? &painter_ : nullptr;
}

QStringList PdfFilePrinter::Printers() {
    return {QFileInfo(path_).fileName()};
}

void PdfFilePrinter::SetPrinterIndex(int index) {
    if (index != 0)
        throw Failure(QStringLiteral("Printer selected is not valid"));
}

PrinterIdentity PdfFilePrinter::CurrentNames() const {
    return {QFileInfo(path_).fileName(), QStringLiteral("PDF"), path_};
}

void PdfFilePrinter::SetDeviceMode(const DeviceMode& mode) {
    setting_.Apply(mode, catalog_);
}

DeviceCaps PdfFilePrinter::Caps() {
    const QSize sheet = setting_.SheetPixels(resolution_);
    DeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = resolution_;
    caps.PhysicalWidth = caps.HorzRes = sheet.width();
    caps.PhysicalHeight = caps.VertRes = sheet.height();
    return caps;
}

void PdfFilePrinter::SetCopies(int copies) {
    setting_.Copies = std::max(1, copies);
}

Canvas* PdfFilePrinter::PageCanvas() {
    return Printing() ? canvas_.get() : nullptr;
}

void PdfFilePrinter::OpenPage() {
    canvas_ = MakePageCanvas(painter_, Caps());
}

void PdfFilePrinter::ClosePage() {
    canvas_.reset();
}

void PdfFilePrinter::StartJob() {
    if (writer_) {
        // A later job of the same file: its first page, on its own paper.
        ClosePage();
        writer_->setPageLayout(setting_.Layout());
        if (!writer_->newPage())
            throw Failure(QStringLiteral("Не удалось записать файл \"%1\"").arg(path_));
        OpenPage();
        return;
    }
    auto writer = std::make_unique<QPdfWriter>(path_);
    writer->setResolution(resolution_);
    writer->setTitle(title_);
    writer->setCreator(QStringLiteral("Formwright"));
    writer->setPageLayout(setting_.Layout());
    if (!painter_.begin(writer.get()))
        throw Failure(QStringLiteral("Не удалось записать файл \"%1\"").arg(path_));
    writer_ = std::move(writer);
    OpenPage();
}

void PdfFilePrinter::NextPage() {
    ClosePage();
    if (!writer_->newPage())
        throw Failure(QStringLiteral("Не удалось записать файл \"%1\"").arg(path_));
    OpenPage();
}

void PdfFilePrinter::FinishJob() {}

void PdfFilePrinter::CancelJob() {
    ClosePage();
    painter_.end();
    writer_.reset();
    QFile::remove(path_);
}
