#include "SystemPrinter.h"

#include "Failure.h"

void SystemPrinter::BeginDoc() {
    if (printing_)
        throw Failure(QStringLiteral("Идет печать"));
    StartJob();
    printing_ = true;
    pageNumber_ = 1;
}

void SystemPrinter::NewPage() {
    if (!printing_)
        throw Failure(QStringLiteral("Принтер не печатает"));
    NextPage();
    ++pageNumber_;
}

void SystemPrinter::EndDoc() {
    if (!printing_)
        throw Failure(QStringLiteral("Принтер не печатает"));
    // The job is over even when the spooler refuses it.
    printing_ = false;
    pageNumber_ = 0;
    FinishJob();
}

void SystemPrinter::Abort() {
    if (!printing_)
        return;
    printing_ = false;
    pageNumber_ = 0;
    CancelJob();
}
