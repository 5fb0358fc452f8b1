#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

class Canvas;

// Bits of DeviceMode::dmFields: which fields the driver takes.
inline constexpr quint32 DM_ORIENTATION = 0x1;
inline constexpr quint32 DM_PAPERSIZE = 0x2;
inline constexpr quint32 DM_PAPERLENGTH = 0x4;
inline constexpr quint32 DM_PAPERWIDTH = 0x8;
inline constexpr quint32 DM_COPIES = 0x100;
inline constexpr quint32 DM_DEFAULTSOURCE = 0x200;

inline constexpr int DMORIENT_PORTRAIT = 1;
inline constexpr int DMORIENT_LANDSCAPE = 2;
inline constexpr int DMPAPER_A4 = 9;
inline constexpr int DMPAPER_USER = 256;  // a custom size given by width and length

// The settings block of the current printer, as far as the engine reads and writes it.
// Paper codes are Windows paper codes (QPageSize::windowsId() values); sizes are in tenths of a
// millimetre. For a custom paper, width and length are the sheet as printed in the block's
// orientation.
struct DeviceMode {
    quint32 dmFields{0};
    int dmOrientation{DMORIENT_PORTRAIT};
    int dmPaperSize{DMPAPER_A4};
    int dmPaperLength{0};
    int dmPaperWidth{0};
    int dmCopies{1};
    int dmDefaultSource{-1};  // -1: the driver's default source

    bool operator==(const DeviceMode&) const = default;
};

// What the device context of the current printer and paper reports, in device pixels.
struct DeviceCaps {
    int LogPixelsX{0};
    int LogPixelsY{0};
    int PhysicalWidth{0};
    int PhysicalHeight{0};
    int PhysicalOffsetX{0};
    int PhysicalOffsetY{0};
    int HorzRes{0};  // printable width
    int VertRes{0};  // printable height

    bool operator==(const DeviceCaps&) const = default;
};

struct PrinterIdentity {
    QString Device;
    QString Driver;
    QString Port;
};

// The platform's printers and spooler. Implementations: CUPS through Qt, a PDF file, and a
// scripted one in the tests. Errors are raised as Failure.
//
// The job calls (BeginDoc, NewPage, EndDoc, Abort) keep the printing state here and reach the
// device through the protected Start/Next/Finish/Cancel operations.
class SystemPrinter {
public:
    virtual ~SystemPrinter() = default;

    // The installed printers in the system's order, read afresh.
    virtual QStringList Printers() = 0;
    // The current printer: an index into Printers(), -1 when there is none.
    virtual int PrinterIndex() const = 0;
    virtual void SetPrinterIndex(int index) = 0;
    virtual PrinterIdentity CurrentNames() const = 0;

    // The current printer's settings block; nothing when it cannot be read.
    virtual std::optional<DeviceMode> GetDeviceMode() = 0;
    // Re-selects the current printer with a changed block. The driver keeps what it cannot
    // take (a paper it does not offer, a bin it lacks).
    virtual void SetDeviceMode(const DeviceMode& mode) = 0;

    // The driver's papers (codes with their names) and paper sources (bins), in its order.
    virtual QList<int> PaperCodes() = 0;
    virtual QStringList PaperNames() = 0;
    virtual QList<int> Bins() = 0;
    virtual QStringList BinNames() = 0;

    // Resolution, sheet and printable area for the current paper and orientation.
    virtual DeviceCaps Caps() = 0;

    virtual int Copies() const = 0;
    virtual void SetCopies(int copies) = 0;
    // Whether the device repeats each page Copies() times itself; where it cannot (a file),
    // the print run draws every copy.
    virtual bool MakesCopies() const { return true; }
    virtual QString Title() const = 0;
    virtual void SetTitle(const QString& title) = 0;

    // The driver's own settings dialog for the current printer, on a copy of its settings block
    // that replaces the block when the user accepts. True when accepted.
    virtual bool ShowPropertiesDialog() = 0;
    // Whether the current printer has such a dialog.
    virtual bool HasPropertiesDialog() const { return true; }
    // Asked before a print run begins, once the printer is chosen: false when the user declined
    // (a file printer whose file name was not given), and then nothing is printed.
    virtual bool ReadyToPrint() { return true; }
    // Told when a run that ReadyToPrint let begin has ended: printed is true when every page
    // was handed over, false when the run was cancelled or failed. May raise Failure when
    // printed, if the output cannot be completed (a file that cannot be written).
    virtual void RunEnded(bool /*printed*/) {}

    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return printing_; }
    int PageNumber() const { return pageNumber_; }
    // The canvas of the page being printed, its origin at the printable area's corner; null
    // outside a job.
    virtual Canvas* PageCanvas() = 0;

protected:
    virtual void StartJob() = 0;
    virtual void NextPage() = 0;
    virtual void FinishJob() = 0;
    virtual void CancelJob() = 0;

private:
    bool printing_{false};
    int pageNumber_{0};
};
