// The preview's print and page-setup commands.
#include "PrintCommands.h"
#include "EngineState.h"
#include "EngineStrings.h"
#include "Failure.h"
#include "Page.h"
#include "PagesView.h"
#include "PreparedPages.h"
#include "PrintForm.h"
#include "Printer.h"
#include "Printing.h"
#include "Report.h"
#include "UiServices.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>

namespace {

constexpr int kError = 55206;

// Page units and hundredths of a millimetre: 18 units are 5 mm.
int ToHundredths(int units) {
    return units * 500 / 18;
}
int ToUnits(int hundredths) {
    return hundredths * 18 / 500;
}

}  // namespace

void frErrorBox(const QString& message) {
    UiServices* services = frEngineState().Services;
    if (!services)
        throw Failure(message);
    services->Message(message, frLoadStr(kError), UiServices::Icon::Error);
}

void frPrintBtnClick(TfrPagesView& view) {
    TfrReport* report = view.ShownReport();
    const TfrEMFPages* pages = view.ShownPages();
    TfrPrinter& printer = frPrinter();
    if (!report || !pages || pages->Count() == 0 || !printer.HasSystemPrinters())
        return;

    TfrPrintForm form(printer, view.DialogOwner());
    form.E1->setText(QString::number(report->DefaultCopies));
    form.CollateCB->setChecked(report->DefaultCollate);
    if (report->ShowPrintDialog && form.exec() != QDialog::Accepted)
        return;

    QString pageList;
    if (form.RB2->isChecked())
        pageList = QString::number(view.CurrentPage());
    else if (form.RB3->isChecked())
        pageList = form.E2->text();
    try {
        const int copies = form.Copies();
        view.ReturnPages();
        // The preview gets its pages back however the run ends.
        const auto takeBack = qScopeGuard([&] {
            view.TakePages();
            view.ResetView(false);
        });
        frPrintPreparedPages(*report, pageList, copies, form.CollateCB->isChecked(),
                             form.CB2->currentIndex());
    } catch (const Failure& e) {
        frErrorBox(e.Message());
    }
}

void frPageSetupBtnClick(TfrPagesView& view, const TfrPageSetupDialog& dialog) {
    TfrReport* report = view.ShownReport();
    const TfrEMFPages* pages = view.ShownPages();
    if (!report || !pages || pages->Count() == 0)
        return;
    TfrPrinter& printer = frPrinter();
    const TfrPreparedPage& first = pages->RecordAt(0);
    TfrPageSetup setup;
    setup.Printer = printer.ActivePrinter();
    setup.PaperKind = first.PaperKind;
    setup.Landscape = first.Orientation == poLandscape;
    setup.LeftMargin = ToHundredths(first.LeftMargin);
    setup.TopMargin = ToHundredths(first.TopMargin);
    setup.RightMargin = ToHundredths(first.RightMargin);
    setup.BottomMargin = ToHundredths(first.BottomMargin);
    // A custom sheet keeps its size; the dialog offers the standard ones.
    const int customX = first.PaperX;
    const int customY = first.PaperY;
    if (!dialog(printer, setup, view.DialogOwner()))
        return;

    try {
        printer.SelectPrinter(setup.Printer);
        // Preparation selects the report's printer first: it must be the one chosen here.
        report->PrinterName = printer.PrinterNames().value(printer.ActivePrinter());
        const bool custom = setup.PaperKind == DMPAPER_USER;
        printer.SetPaper(setup.PaperKind, custom ? customX : 0, custom ? customY : 0,
                         printer.PaperSource(), setup.Landscape, true);
        printer.Refresh();

        const bool keptCustom = printer.PaperKind() == DMPAPER_USER;
        const quint8 orientation = printer.Landscape() ? poLandscape : poPortrait;
        for (int i = 0; i < report->Pages.Count(); ++i) {
            TfrPage& page = report->Pages.PageAt(i);
            if (page.Type != ptReport)
                continue;
            page.LeftMargin = ToUnits(setup.LeftMargin);
            page.TopMargin = ToUnits(setup.TopMargin);
            page.RightMargin = ToUnits(setup.RightMargin);
            page.BottomMargin = ToUnits(setup.BottomMargin);
            page.SelectPaper(printer.PaperKind(), keptCustom ? printer.PaperX() : 0,
                             keptCustom ? printer.PaperY() : 0, printer.PaperSource(), orientation);
        }

        report->Prepare();
        // A preparation that gave no page leaves the preview with what it showed.
        if (report->PreparedPages->Count() == 0)
            return;
        view.TakePages();
        view.ResetView(true);
    } catch (const Failure& e) {
        frErrorBox(e.Message());
    }
}
