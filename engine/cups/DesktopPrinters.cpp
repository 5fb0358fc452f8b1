#include "DesktopPrinters.h"

#include "CupsPrinter.h"
#include "Failure.h"

#include <utility>

QString DesktopPrinters::PdfPrinterName() {
    return QStringLiteral("Файл PDF");
}

DesktopPrinters::DesktopPrinters() : DesktopPrinters(std::make_unique<CupsPrinter>()) {}

DesktopPrinters::DesktopPrinters(std::unique_ptr<SystemPrinter> queues)
    : queues_(std::move(queues)) {
    Printers();
}

DesktopPrinters::~DesktopPrinters() {
    if (Printing())
        Abort();
}

void DesktopPrinters::FinishFile() {
    pdf_.Finish();
}

SystemPrinter& DesktopPrinters::Current() {
    return pdfCurrent_ ? static_cast<SystemPrinter&>(pdf_) : *queues_;
}

const SystemPrinter& DesktopPrinters::Current() const {
    return pdfCurrent_ ? static_cast<const SystemPrinter&>(pdf_) : *queues_;
}

QStringList DesktopPrinters::Printers() {
    QStringList names;
    try {
        names = queues_->Printers();
    } catch (const Failure&) {
        // The spooler cannot be asked: the file printer still serves.
    }
    queueCount_ = static_cast<int>(names.size());
    if (queueCount_ == 0)
        pdfCurrent_ = true;
    names.append(PdfPrinterName());
    return names;
}

int DesktopPrinters::PrinterIndex() const {
    return pdfCurrent_ ? queueCount_ : queues_->PrinterIndex();
}

void DesktopPrinters::SetPrinterIndex(int index) {
    if (index < 0 || index > queueCount_)
        throw Failure(QStringLiteral("Выбранный принтер недоступен"));
    if (Printing())
        throw Failure(QStringLiteral("Идет печать: принтер сменить нельзя"));
    if (index == queueCount_) {
        pdfCurrent_ = true;
        return;
    }
    FinishFile();
    queues_->SetPrinterIndex(index);
    pdfCurrent_ = false;
}

PrinterIdentity DesktopPrinters::CurrentNames() const {
    if (pdfCurrent_)
        return {PdfPrinterName(), QStringLiteral("PDF"), pdf_.Path()};
    return queues_->CurrentNames();
}

void DesktopPrinters::SetTitle(const QString& title) {
    queues_->SetTitle(title);
    pdf_.SetTitle(title);
}

bool DesktopPrinters::ReadyToPrint() {
    if (!pdfCurrent_)
        return queues_->ReadyToPrint();
    FinishFile();
    QString path = AskFileName ? AskFileName() : QString();
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    pdf_.SetPath(path);
    return true;
}

Canvas* DesktopPrinters::PageCanvas() {
    return job_ ? job_->PageCanvas() : nullptr;
}

void DesktopPrinters::StartJob() {
    SystemPrinter& printer = Current();
    if (&printer == &pdf_) {
        if (pdf_.Path().isEmpty())
            throw Failure(QStringLiteral("Не задано имя файла PDF"));
    }
    printer.BeginDoc();
    job_ = &printer;
}

void DesktopPrinters::NextPage() {
    job_->NewPage();
}

void DesktopPrinters::FinishJob() {
    SystemPrinter* printer = std::exchange(job_, nullptr);
    printer->EndDoc();
}

void DesktopPrinters::RunEnded(bool printed) {
    if (!pdfCurrent_)
        queues_->RunEnded(printed);
    else if (printed)
        FinishFile();
    else
        pdf_.Discard();
}

void DesktopPrinters::CancelJob() {
    std::exchange(job_, nullptr)->Abort();
}
