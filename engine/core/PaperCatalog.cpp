#include "PaperCatalog.h"

#include "PainterCanvas.h"
#include "Rounding.h"

#include <QMarginsF>
#include <algorithm>

PaperCatalog::PaperCatalog(const QList<QPageSize>& sizes) {
    int nextDeviceCode = FirstDeviceCode;
    for (const QPageSize& size : sizes) {
        if (!size.isValid())
            continue;
        int code = size.windowsId();
        if (code <= 0 || code >= DMPAPER_USER) {
            code = nextDeviceCode++;
        } else if (Find(code)) {
            continue;
        }
        entries_.append(Entry{code, size.name(), size});
    }
}

PaperCatalog PaperCatalog::Standard() {
    QList<QPageSize> sizes;
    for (int id = 0; id < QPageSize::LastPageSize; ++id) {
        const auto pageId = static_cast<QPageSize::PageSizeId>(id);
        if (pageId != QPageSize::Custom)
            sizes.append(QPageSize(pageId));
    }
    return PaperCatalog(sizes);
}

QList<int> PaperCatalog::Codes() const {
    QList<int> codes;
    for (const Entry& e : entries_)
        codes.append(e.Code);
    return codes;
}

QStringList PaperCatalog::Names() const {
    QStringList names;
    for (const Entry& e : entries_)
        names.append(e.Name);
    return names;
}

const PaperCatalog::Entry* PaperCatalog::Find(int code) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [code](const Entry& e) { return e.Code == code; });
    return it == entries_.end() ? nullptr : &*it;
}

int PaperCatalog::CodeOf(const QPageSize& size) const {
    for (const Entry& e : entries_)
        if (e.Size.key() == size.key())
            return e.Code;
    for (const Entry& e : entries_)
        if (e.Size.isEquivalentTo(size))
            return e.Code;
    return 0;
}

int ToDevicePixels(double length, QPageSize::Unit unit, int dpi) {
    double inches = 0;
    switch (unit) {
        case QPageSize::Millimeter:
            inches = length / 25.4;
            break;
        case QPageSize::Point:
            inches = length / 72;
            break;
        case QPageSize::Inch:
            inches = length;
            break;
        // Qt's own factors to points for the typographic units.
        case QPageSize::Pica:
            inches = length * 12 / 72;
            break;
        case QPageSize::Didot:
            inches = length * 1.07 / 72;
            break;
        case QPageSize::Cicero:
            inches = length * 12.84 / 72;
            break;
    }
    return frRound(inches * dpi);
}

QPageSize CustomPageSize(int width, int height, bool landscape) {
    // The size is kept as the paper is fed; landscape turns it back to what is printed.
    const QSizeF printed(width / 10.0, height / 10.0);
    const QSizeF fed = landscape ? printed.transposed() : printed;
    return QPageSize(fed, QPageSize::Millimeter, QStringLiteral("Custom"), QPageSize::ExactMatch);
}

DeviceMode PaperSetting::Mode() const {
    DeviceMode mode;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    mode.dmOrientation = Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.dmPaperSize = Code;
    const QSizeF mm = Size.size(QPageSize::Millimeter);
    if (Code == DMPAPER_USER) {
        mode.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        const QSizeF printed = Landscape ? mm.transposed() : mm;
        mode.dmPaperWidth = frRound(printed.width() * 10);
        mode.dmPaperLength = frRound(printed.height() * 10);
    } else {
        mode.dmPaperWidth = frRound(mm.width() * 10);
        mode.dmPaperLength = frRound(mm.height() * 10);
    }
    mode.dmCopies = Copies;
    mode.dmDefaultSource = -1;
    return mode;
}

void PaperSetting::Apply(const DeviceMode& mode, const PaperCatalog& catalog) {
    const bool landscape =
        (mode.dmFields & DM_ORIENTATION) ? mode.dmOrientation == DMORIENT_LANDSCAPE : Landscape;
    const quint32 customBits = DM_PAPERLENGTH | DM_PAPERWIDTH;
    if ((mode.dmFields & customBits) == customBits && mode.dmPaperWidth > 0 &&
        mode.dmPaperLength > 0) {
        Code = DMPAPER_USER;
        Size = CustomPageSize(mode.dmPaperWidth, mode.dmPaperLength, landscape);
    } else if (mode.dmFields & DM_PAPERSIZE) {
        if (const PaperCatalog::Entry* e = catalog.Find(mode.dmPaperSize)) {
            Code = e->Code;
            Size = e->Size;
        }
    }
    Landscape = landscape;
    if (mode.dmFields & DM_COPIES)
        Copies = std::max(1, mode.dmCopies);
}

QPageLayout PaperSetting::Layout() const {
    QPageLayout layout(Size, Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

QSize PaperSetting::SheetPixels(int dpi) const {
    const QSizeF def = Size.definitionSize();
    const QSizeF fed(ToDevicePixels(def.width(), Size.definitionUnits(), dpi),
                     ToDevicePixels(def.height(), Size.definitionUnits(), dpi));
    return (Landscape ? fed.transposed() : fed).toSize();
}

std::unique_ptr<PainterCanvas> MakePageCanvas(QPainter& painter, const DeviceCaps& caps) {
    auto canvas = std::make_unique<PainterCanvas>(painter, caps.LogPixelsX, caps.LogPixelsY);
    canvas->SetPageGeometry(QSize(caps.PhysicalWidth, caps.PhysicalHeight),
                            QPoint(caps.PhysicalOffsetX, caps.PhysicalOffsetY),
                            QSize(caps.HorzRes, caps.VertRes));
    return canvas;
}
