#pragma once

#include "SystemPrinter.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

// Page units per inch: one page unit is one screen pixel at 100 % in the preview.
inline constexpr double frUnitsPerInch = 93 / 1.015;

// A sheet on the current printer, in printer pixels and in page units.
struct TfrPageMetrics {
    qint32 DeviceSheetWidth{0};
    qint32 DeviceSheetHeight{0};
    qint32 SheetWidth{0};
    qint32 SheetHeight{0};
    qint32 DeviceOffsetX{0};
    qint32 DeviceOffsetY{0};
    qint32 OffsetX{0};
    qint32 OffsetY{0};
    qint32 DevicePrintWidth{0};
    qint32 DevicePrintHeight{0};
    qint32 PrintWidth{0};
    qint32 PrintHeight{0};

    bool operator==(const TfrPageMetrics&) const = default;
};

// The default paper source: -1 as the printer keeps it, 65535 as a page stores it.
inline bool frIsDefaultSource(int source) {
    return (source & 0xFFFF) == 0xFFFF;
}

// A row of the virtual printer's paper table: code, width and height in tenths of a millimetre.
struct TPaperInfo {
    int Typ;
    int X;
    int Y;
};

inline constexpr int frPaperCount = 67;
extern const std::array<TPaperInfo, frPaperCount> frPaperInfo;

// The engine's one view of the printer that reports are laid out for: the installed printers
// plus the virtual printer, the current paper, the driver's papers and bins, and the page
// metrics derived from them.
class TfrPrinter {
public:
    static constexpr int ArraySize = 256;

    TfrPrinter();
    TfrPrinter(const TfrPrinter&) = delete;
    TfrPrinter& operator=(const TfrPrinter&) = delete;

    // Rebuilds the printer list from the system and reads the current printer. A null printer
    // is a system without printers: only the virtual printer remains.
    void AttachPrinter(SystemPrinter* printer);
    // Makes entry `index` of PrinterNames() current; the current index, or one outside the
    // list, changes nothing.
    void SelectPrinter(int index);
    // Paper, size, orientation, source and the driver's lists of the current printer.
    void ReadPrinterSettings();
    // Pushes the paper fields to the printer, or to the table for the virtual printer.
    void ApplyPaper();
    bool PaperMatches(int kind, int width, int height, int source, bool landscape) const;
    // Selects that paper unless it already matches (always with force); nothing while the system
    // printer has a job open.
    void SetPaper(int kind, int width, int height, int source, bool landscape, bool force);
    void GetPageMetrics(TfrPageMetrics& m) const;
    // The driver's settings dialog for the system's current printer; true when accepted. The
    // fields are not re-read here: the next AttachPrinter or Refresh picks the changes up.
    bool ShowPrinterProperties();
    void Refresh() { ReadPrinterSettings(); }
    void LoadPaperTitles();

    const QString& DeviceName() const { return deviceName_; }
    const QString& DriverName() const { return driverName_; }
    const QString& PortName() const { return portName_; }
    // The settings block as last read from the current printer.
    const std::optional<DeviceMode>& DevMode() const { return devMode_; }
    SystemPrinter* System() const { return system_; }

    const QStringList& PaperTitles() const { return paperTitles_; }
    const QStringList& SourceTitles() const { return sourceTitles_; }
    const QStringList& PrinterNames() const { return printerNames_; }
    int ActivePrinter() const { return activePrinter_; }
    int VirtualPrinterIndex() const { return virtualPrinterIndex_; }
    bool IsVirtual() const { return activePrinter_ == virtualPrinterIndex_; }
    // At least one real printer is installed.
    bool HasSystemPrinters() const { return system_ && printerNames_.size() > 1; }

    bool Landscape() const { return landscape_; }
    int PaperKind() const { return paperKind_; }
    int PaperX() const { return paperX_; }
    int PaperY() const { return paperY_; }
    int PaperSource() const { return paperSource_; }
    const std::array<qint16, ArraySize>& PaperKinds() const { return paperKinds_; }
    int PaperKindCount() const { return paperKindCount_; }
    const std::array<qint16, ArraySize>& Sources() const { return sources_; }
    int SourceCount() const { return sourceCount_; }
    // The names of the paper table's rows.
    const QStringList& PaperTableNames() const { return paperTableNames_; }

private:
    void VirtualMetrics(TfrPageMetrics& m) const;

    QString deviceName_;
    QString driverName_;
    QString portName_;
    std::optional<DeviceMode> devMode_;
    SystemPrinter* system_{nullptr};
    QStringList paperTitles_;
    QStringList sourceTitles_;
    QStringList printerNames_;
    int activePrinter_{0};
    int virtualPrinterIndex_{0};
    bool landscape_{false};
    int paperKind_{DMPAPER_A4};
    int paperX_{0};
    int paperY_{0};
    int paperSource_{-1};
    std::array<qint16, ArraySize> paperKinds_{};
    int paperKindCount_{0};
    std::array<qint16, ArraySize> sources_{};
    int sourceCount_{0};
    QStringList paperTableNames_;
};
