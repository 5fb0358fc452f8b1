#pragma once

#include "SystemPrinter.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

class PainterCanvas;
class QPainter;

// The papers a Qt print device offers, under the engine's paper codes: the Windows paper code
// where the size has one, otherwise a code of the device's own from 257 up, given in the
// device's order. A size whose Windows code is already listed is left out.
class PaperCatalog {
public:
    struct Entry {
        int Code{0};
        QString Name;
        QPageSize Size;
    };

    static constexpr int FirstDeviceCode = DMPAPER_USER + 1;

    PaperCatalog() = default;
    explicit PaperCatalog(const QList<QPageSize>& sizes);
    // Every standard size Qt knows.
    static PaperCatalog Standard();

    const QList<Entry>& Entries() const { return entries_; }
    QList<int> Codes() const;
    QStringList Names() const;
    const Entry* Find(int code) const;
    // The code under which a size is listed (matched by key, then by size); 0 when it is not.
    int CodeOf(const QPageSize& size) const;

private:
    QList<Entry> entries_;
};

// Device pixels of a length given in a page size's own units, so that A4 is 210 mm exactly
// rather than its rounded size in points.
int ToDevicePixels(double length, QPageSize::Unit unit, int dpi);

// A custom paper of the given width and height (tenths of a millimetre) as printed in the given
// orientation.
QPageSize CustomPageSize(int width, int height, bool landscape);

// The settings block of a Qt print device: paper, orientation and copies.
struct PaperSetting {
    int Code{DMPAPER_A4};
    QPageSize Size{QPageSize::A4};
    bool Landscape{false};
    int Copies{1};

    DeviceMode Mode() const;
    // Takes what the catalog offers; a paper code it does not list keeps the current paper.
    void Apply(const DeviceMode& mode, const PaperCatalog& catalog);
    // Full page, zero margins: the page is printed as laid out, never fitted.
    QPageLayout Layout() const;
    // The sheet as printed, in device pixels.
    QSize SheetPixels(int dpi) const;
};

// The canvas of a printer page over a painter as it stands (its origin at the printable
// area's corner), reporting the page's geometry.
std::unique_ptr<PainterCanvas> MakePageCanvas(QPainter& painter, const DeviceCaps& caps);
