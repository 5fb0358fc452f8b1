#include "PdfFilePrinter.h"

#include "Failure.h"

#include <QFile>
#include <QFileInfo>

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
    if (!Printing())
        pdf_.End();
}

void PdfFilePrinter::SetPath(QString path) {
    if (Printing())
        throw Failure(QStringLiteral("Printing in progress"));
    Finish();
    path_ = std::move(path);
}

QPainter* PdfFilePrinter::PagePainter() {
    return Printing() ? pdf_.Painter() : nullptr;
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
    return Printing() ? pdf_.PageCanvas() : nullptr;
}

QString PdfFilePrinter::NotWritten() const {
    return QStringLiteral("Не удалось записать файл \"%1\"").arg(path_);
}

void PdfFilePrinter::StartJob() {
    const QPageLayout layout = setting_.Layout();
    // A later job of the same file goes on with its first page, on its own paper.
    const bool written =
        pdf_.Active() ? pdf_.NewPage(&layout) : pdf_.Begin(path_, resolution_, title_, layout);
    if (!written)
        throw Failure(NotWritten());
    pdf_.OpenPage(Caps());
}

void PdfFilePrinter::NextPage() {
    if (!pdf_.NewPage())
        throw Failure(NotWritten());
    pdf_.OpenPage(Caps());
}

void PdfFilePrinter::FinishJob() {}

void PdfFilePrinter::CancelJob() {
    pdf_.End();
    QFile::remove(path_);
}
