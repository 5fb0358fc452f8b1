#include "Printer.h"

#include "EngineStrings.h"
#include "Failure.h"
#include "Rounding.h"

#include <algorithm>
#include <exception>

namespace {

constexpr int kVirtualPrinterName = 55007;
constexpr int kFirstPaperName = 55008;
constexpr int kDefaultSourceName = 55435;
// Margins of the virtual printer: 5 mm on every side.
constexpr int kVirtualMargin = 50;

}  // namespace

const std::array<TPaperInfo, frPaperCount> frPaperInfo = {{
    {1, 2159, 2794},   {2, 2159, 2794},      {3, 2794, 4318},  {4, 4318, 2794},  {5, 2159, 3556},
    {6, 1397, 2159},   {7, 1842, 2667},      {8, 2970, 4200},  {9, 2100, 2970},  {10, 2100, 2970},
    {11, 1480, 2100},  {12, 2500, 3540},     {13, 1820, 2570}, {14, 2159, 3302}, {15, 2150, 2750},
    {16, 2540, 3556},  {17, 2794, 4318},     {18, 2159, 2794}, {19, 984, 2254},  {20, 1048, 2413},
    {21, 1143, 2635},  {22, 1207, 2794},     {23, 1270, 2921}, {24, 4318, 5588}, {25, 5588, 8636},
    {26, 8636, 11176}, {27, 1100, 2200},     {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
    {31, 1140, 1620},  {32, 1140, 2290},     {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250},
    {36, 1100, 2300},  {37, 984, 1905},      {38, 920, 1651},  {39, 3778, 2794}, {40, 2159, 3048},
    {41, 2159, 3302},  {42, 2500, 3530},     {43, 1000, 1480}, {44, 2286, 2794}, {45, 2540, 2794},
    {46, 3810, 2794},  {47, 2200, 2200},     {50, 2355, 3048}, {51, 2355, 3810}, {52, 2969, 4572},
    {53, 2354, 3223},  {54, 2101, 2794},     {55, 2100, 2970}, {56, 2355, 3048}, {57, 2270, 3560},
    {58, 3050, 4870},  {59, 2159, 3223},     {60, 2100, 3300}, {61, 1480, 2100}, {62, 1820, 2570},
    {63, 3220, 4450},  {64, 1740, 2350},     {65, 2010, 2760}, {66, 4200, 5940}, {67, 2970, 4200},
    {68, 3220, 4450},  {DMPAPER_USER, 0, 0},
}};

TfrPrinter::TfrPrinter() {
    LoadPaperTitles();
}

void TfrPrinter::LoadPaperTitles() {
    paperTableNames_.clear();
    for (int i = 0; i < frPaperCount; ++i)
        paperTableNames_.append(frLoadStr(kFirstPaperName + i));
    if (!printerNames_.isEmpty())
        printerNames_.last() = frLoadStr(kVirtualPrinterName);
}

// --- the printer list -----------------------------------------------------------------------

void TfrPrinter::AttachPrinter(SystemPrinter* printer) {
    printerNames_.clear();
    activePrinter_ = 0;
    system_ = printer;
    const QStringList names = printer ? printer->Printers() : QStringList();
    if (!names.isEmpty()) {
        printerNames_ = names;
        int current = printer->PrinterIndex();
        if (current < 0 || current >= names.size()) {
            // A system without a default printer: the first one stands in.
            current = 0;
            printer->SetPrinterIndex(current);
        }
        activePrinter_ = current;
    }
    printerNames_.append(frLoadStr(kVirtualPrinterName));
    virtualPrinterIndex_ = printerNames_.size() - 1;
    if (names.isEmpty())
        ApplyPaper();
    else
        ReadPrinterSettings();
}

void TfrPrinter::SelectPrinter(int index) {
    if (index == activePrinter_ || index < 0 || index >= printerNames_.size())
        return;
    activePrinter_ = index;
    if (index == virtualPrinterIndex_) {
        ApplyPaper();
        return;
    }
    if (HasSystemPrinters()) {
        system_->SetPrinterIndex(index);
        ReadPrinterSettings();
    }
}

// --- reading and applying the paper ---------------------------------------------------------

void TfrPrinter::ReadPrinterSettings() {
    // The virtual printer's settings are the table.
    if (IsVirtual() || !HasSystemPrinters()) {
        ApplyPaper();
        return;
    }
    const PrinterIdentity names = system_->CurrentNames();
    deviceName_ = names.Device;
    driverName_ = names.Driver;
    portName_ = names.Port;
    try {
        std::optional<DeviceMode> mode = system_->GetDeviceMode();
        if (!mode)
            mode = system_->GetDeviceMode();
        devMode_ = mode;
        if (!mode) {
            SelectPrinter(virtualPrinterIndex_);
            return;
        }
        paperKind_ = mode->dmPaperSize;

        const DeviceCaps caps = system_->Caps();
        if (caps.LogPixelsX <= 0 || caps.LogPixelsY <= 0)
            throw Failure(QStringLiteral("Выбранный принтер недоступен"));
        paperX_ = frRound(double(caps.PhysicalWidth) / caps.LogPixelsX * 254);
        paperY_ = frRound(double(caps.PhysicalHeight) / caps.LogPixelsY * 254);

        const QList<int> codes = system_->PaperCodes();
        const int paperCount = std::min<int>(codes.size(), ArraySize);
        paperKinds_.fill(0);
        for (int i = 0; i < paperCount; ++i)
            paperKinds_[i] = static_cast<qint16>(codes[i]);
        paperKindCount_ = paperCount;
        const QStringList paperNames = system_->PaperNames();
        paperTitles_.clear();
        for (int i = 0; i < paperCount; ++i)
            paperTitles_.append(i < paperNames.size() ? paperNames[i] : QString());

        paperSource_ = mode->dmDefaultSource;
        // Entry 0 is the default source, so the driver's bins fill the rest.
        const QList<int> bins = system_->Bins();
        const int binCount = std::min<int>(bins.size(), ArraySize - 1);
        for (int i = 0; i < binCount; ++i)
            sources_[i + 1] = static_cast<qint16>(bins[i]);
        const QStringList binNames = system_->BinNames();
        sourceTitles_.clear();
        sourceTitles_.append(frLoadStr(kDefaultSourceName));
        for (int i = 0; i < binCount; ++i)
            sourceTitles_.append(i < binNames.size() ? binNames[i] : QString());
        sources_[0] = -1;
        sourceCount_ = binCount + 1;

        landscape_ = mode->dmOrientation != DMORIENT_PORTRAIT;
    } catch (const std::exception&) {
        SelectPrinter(virtualPrinterIndex_);
    }
}

void TfrPrinter::ApplyPaper() {
    if (IsVirtual() || !HasSystemPrinters()) {
        paperTitles_ = paperTableNames_;
        paperKinds_.fill(0);
        for (int i = 0; i < frPaperCount; ++i)
            paperKinds_[i] = static_cast<qint16>(frPaperInfo[i].Typ);
        if (paperKind_ != DMPAPER_USER) {
            for (const TPaperInfo& row : frPaperInfo) {
                if (row.Typ == paperKind_) {
                    paperX_ = landscape_ ? row.Y : row.X;
                    paperY_ = landscape_ ? row.X : row.Y;
                    break;
                }
            }
        }
        paperKindCount_ = frPaperCount;
        return;
    }

    const PrinterIdentity names = system_->CurrentNames();
    deviceName_ = names.Device;
    driverName_ = names.Driver;
    portName_ = names.Port;
    if (std::optional<DeviceMode> mode = system_->GetDeviceMode()) {
        if (paperKind_ == DMPAPER_USER) {
            mode->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
            mode->dmPaperLength = paperY_;
            mode->dmPaperWidth = paperX_;
        } else {
            mode->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
        }
        if (mode->dmFields & DM_PAPERSIZE)
            mode->dmPaperSize = paperKind_;
        if (mode->dmFields & DM_ORIENTATION)
            mode->dmOrientation = landscape_ ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        if (mode->dmFields & DM_COPIES)
            mode->dmCopies = 1;
        if ((mode->dmFields & DM_DEFAULTSOURCE) && !frIsDefaultSource(paperSource_))
            mode->dmDefaultSource = paperSource_;
        system_->SetDeviceMode(*mode);
    }
    ReadPrinterSettings();
}

bool TfrPrinter::PaperMatches(int kind, int width, int height, int source, bool landscape) const {
    if (kind == DMPAPER_USER && paperKind_ == DMPAPER_USER)
        return std::abs(paperX_ - width) <= 1 && std::abs(paperY_ - height) <= 1 &&
               landscape == landscape_;
    return kind == paperKind_ && landscape == landscape_ &&
           (source == paperSource_ || frIsDefaultSource(source));
}

void TfrPrinter::SetPaper(int kind, int width, int height, int source, bool landscape, bool force) {
    if (system_ && system_->Printing())
        return;
    if (!force && PaperMatches(kind, width, height, source, landscape))
        return;
    paperKind_ = kind;
    paperX_ = width;
    paperY_ = height;
    landscape_ = landscape;
    paperSource_ = source;
    ApplyPaper();
}

// --- metrics ----------------------------------------------------------------------------------

void TfrPrinter::VirtualMetrics(TfrPageMetrics& m) const {
    m.SheetWidth = frRound(paperX_ * frUnitsPerInch / 254);
    m.SheetHeight = frRound(paperY_ * frUnitsPerInch / 254);
    m.OffsetX = frRound(kVirtualMargin * frUnitsPerInch / 254);
    m.OffsetY = m.OffsetX;
    m.PrintWidth = m.SheetWidth - 2 * m.OffsetX;
    m.PrintHeight = m.SheetHeight - 2 * m.OffsetY;
}

void TfrPrinter::GetPageMetrics(TfrPageMetrics& m) const {
    if (IsVirtual() || !HasSystemPrinters()) {
        VirtualMetrics(m);
        return;
    }
    const DeviceCaps caps = system_->Caps();
    if (caps.LogPixelsX <= 0 || caps.LogPixelsY <= 0) {
        // A driver that lost its resolution since it was read: lay out as on the table.
        VirtualMetrics(m);
        return;
    }
    const double kx = frUnitsPerInch / caps.LogPixelsX;
    const double ky = frUnitsPerInch / caps.LogPixelsY;
    m.DeviceSheetWidth = caps.PhysicalWidth;
    m.SheetWidth = frRound(m.DeviceSheetWidth * kx);
    m.DeviceSheetHeight = caps.PhysicalHeight;
    m.SheetHeight = frRound(m.DeviceSheetHeight * ky);
    m.DeviceOffsetX = caps.PhysicalOffsetX;
    m.OffsetX = frRound(m.DeviceOffsetX * kx);
    m.DeviceOffsetY = caps.PhysicalOffsetY;
    m.OffsetY = frRound(m.DeviceOffsetY * ky);
    m.DevicePrintWidth = caps.HorzRes;
    m.PrintWidth = frRound(m.DevicePrintWidth * kx);
    m.DevicePrintHeight = caps.VertRes;
    m.PrintHeight = frRound(m.DevicePrintHeight * ky);
}

bool TfrPrinter::ShowPrinterProperties() {
    if (!HasSystemPrinters())
        return false;
    return system_->ShowPropertiesDialog();
}
