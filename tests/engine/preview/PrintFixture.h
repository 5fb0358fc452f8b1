#pragma once

#include "Canvas.h"
#include "Objects.h"
#include "Page.h"
#include "PreparedPages.h"
#include "Printing.h"
#include "QtPrinting.h"
#include "RecordingCanvas.h"
#include "Report.h"
#include "ReportFixture.h"
#include "ScriptedPrinter.h"

#include <QBuffer>
#include <QList>
#include <QStringList>
#include <initializer_list>
#include <memory>

// Texts written as plain literals.
inline QStringList Texts(std::initializer_list<const char*> items) {
    QStringList texts;
    for (const char* item : items)
        texts.append(QString::fromUtf8(item));
    return texts;
}

// A scripted printer that also records whether it was asked for its consent, and that may
// leave copies to the print run.
class ConsentPrinter : public ScriptedPrinter {
public:
    bool ready{true};
    int asked{0};
    bool makesCopies{true};
    bool MakesCopies() const override { return makesCopies; }
    bool ReadyToPrint() override {
        ++asked;
        return ready;
    }
};

// An engine on two scripted office printers ("Office", current, and "Hall") that prints, and a
// report whose prepared pages carry their page number: page i is a filled square of red i.
class PrintFixture : public ReportFixture {
protected:
    // Restarts the engine on the printers, before the report is made.
    ConsentPrinter* StartOnPrinters() {
        auto system = std::make_unique<ConsentPrinter>();
        system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office")),
                          ScriptedPrinter::Office(QStringLiteral("Hall"))};
        system->Current = 0;
        ConsentPrinter* started = system.get();
        Restart(std::move(system));
        frStartPrinting(*engine);
        return started;
    }

    // Appends a prepared page on that paper, marked with its number.
    TfrPreparedPage& AddPage(int paperKind = DMPAPER_A4, quint8 orientation = poPortrait) {
        design.SelectPaper(paperKind, 0, 0, -1, orientation);
        TfrEMFPages& store = *report.PreparedPages;
        TfrPreparedPage& record = store.Insert(store.Count(), design);
        TfrPictureView mark;
        mark.PlaceAt(10, 20, 30, 40);
        mark.FillColor = CanvasRgb(store.Count(), 0, 0);
        mark.Prepared = true;
        mark.Print(*record.Stream);
        return record;
    }
    void AddPages(int count) {
        for (int i = 0; i < count; ++i)
            AddPage();
    }

    // The marks of every sheet printed, in order; 0 for a sheet left blank, which counts too.
    QList<int> Printed() const {
        QList<int> marks;
        for (const auto& sheet : printer->PageRecords) {
            const QList<CanvasRecord> fills = sheet->RecordsOf(CanvasRecord::FillRect);
            marks.append(fills.isEmpty() ? 0 : int(fills.first().brush.color & 0xFF));
        }
        return marks;
    }
    // What the spooler was asked to do: "begin", "page", "end", "abort".
    QStringList JobLog() const {
        QStringList log = printer->Log;
        log.removeAll(QStringLiteral("mode"));
        return log;
    }

    ConsentPrinter* printer{StartOnPrinters()};
    TfrReport report;
    TfrPage& design{report.Pages.Add()};
};
