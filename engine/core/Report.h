#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

class QBuffer;
class QIODevice;
class TfrBand;
class TfrEMFPages;
class TfrPage;
class TfrReport;
class TfrView;

enum TfrPreviewZoom { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
enum TfrReportType { rtSimple, rtMultiple };

// Buttons of the stand-alone preview window (TfrReport::PreviewButtons).
inline constexpr quint16 pbZoom = 1;
inline constexpr quint16 pbLoad = 2;
inline constexpr quint16 pbSave = 4;
inline constexpr quint16 pbPrint = 8;
inline constexpr quint16 pbFind = 16;
inline constexpr quint16 pbHelp = 32;
inline constexpr quint16 pbExit = 64;
inline constexpr quint16 pbPageSetup = 128;

// The version of the report streams this engine writes; newer ones are refused.
inline constexpr int frCurrentVersion = 24;

struct TfrDictEntry {
    QString Name;
    QVariant Value;
};

// A report's variables, field aliases and band data sources; empty in this system.
class TfrDataDictionary {
public:
    QList<TfrDictEntry> Variables;
    QList<TfrDictEntry> FieldAliases;
    QList<TfrDictEntry> BandDataSources;

    void Clear();
    // The dictionary block of a report stream, after its 254 byte. Values are written as
    // text and read back as text.
    void WriteToStream(QIODevice& stream) const;
    void ReadFromStream(QIODevice& stream);
};

// The design pages of a report, in page order. The collection owns its pages.
class TfrPages {
public:
    explicit TfrPages(TfrReport& report);
    TfrPages(const TfrPages&) = delete;
    TfrPages& operator=(const TfrPages&) = delete;
    ~TfrPages();

    TfrReport& Report() const { return report_; }
    int Count() const { return static_cast<int>(pages_.size()); }
    // Raises EListError for an index outside 0 .. Count() - 1.
    TfrPage& PageAt(int index) const;
    // A new page with the engine's default paper, portrait, at the end.
    TfrPage& Add();
    // Frees every page with its objects.
    void ClearAll();

    // Everything of a report stream after its version byte.
    void WriteToStream(QIODevice& stream) const;
    void ReadFromStream(QIODevice& stream);

private:
    // The index of the page an object entry names, or -1.
    int PageForEntry(int indexByte, int previous) const;

    TfrReport& report_;
    std::vector<std::unique_ptr<TfrPage>> pages_;
};

// The engine's document: design pages with their objects, the dictionary, and the settings
// preparation, preview and printing consult. The owner frees the report.
class TfrReport : public QObject {
public:
    explicit TfrReport(QObject* owner = nullptr);
    ~TfrReport() override;

    // --- published properties; a referenced component that goes away is cleared
    QPointer<QObject> Dataset;
    int DefaultCopies{1};
    bool DefaultCollate{true};
    bool GrayedButtons{false};
    TfrPreviewZoom InitialZoom{pzDefault};
    bool MDIPreview{false};
    bool ModalPreview{true};
    bool ModifyPrepared{true};
    QPointer<QObject> Preview;
    quint16 PreviewButtons{pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit};
    bool PrintIfEmpty{true};
    TfrReportType ReportType{rtSimple};
    bool ShowPrintDialog{true};
    bool ShowProgress{true};
    bool StoreInDFM{false};
    QString Title;

    // --- events; none is assigned by the application
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int pgNo)> OnBeginPage;
    std::function<void(int pgNo)> OnEndPage;
    std::function<void(TfrBand* Band)> OnBeginBand;
    std::function<void(TfrBand* Band)> OnEndBand;
    std::function<void(const QString& ParName, QVariant& ParValue)> OnGetValue;
    std::function<void(QStringList& Memo, TfrView& View)> OnBeforePrint;
    std::function<void(int n)> OnProgress;
    std::function<void(const QString& Name, const QVariant& p1, const QVariant& p2,
                       const QVariant& p3, QVariant& Val)>
        OnUserFunction;
    std::function<void(TfrBand* Band)> OnBeginColumn;
    std::function<void(int ColNo, int& Width)> OnPrintColumn;
    std::function<void(TfrPage& Page)> OnManualBuild;
    std::function<void(TfrView& View)> OnObjectClick;
    std::function<void(TfrView& View, Qt::CursorShape& Cursor)> OnMouseOverObject;
    std::function<void()> OnPrintReport;
    std::function<void(QObject* Sender)> OnCustomizeObject;

    // --- state
    TfrPages Pages{*this};
    // Never null; created after Pages and freed before them.
    std::unique_ptr<TfrEMFPages> PreparedPages;
    TfrDataDictionary Dictionary;
    // The page being built.
    TfrPage* CurrentPage{nullptr};
    bool TwoPassAtStart{false};
    // The printer the report was last read or prepared for.
    QString PrinterName;
    bool Building{false};
    bool CancelRequested{false};
    // The print request while the report prints: the page list as typed (empty for every
    // page), copies, collation, and 0 every page, 1 odd page numbers, 2 even ones.
    QString PrintPageList;
    qint32 PrintCopies{1};
    bool PrintCollate{false};
    quint8 PrintPagesMode{0};
    bool KeepPrinter{false};
    bool TwoPass{false};
    bool LastPass{false};
    QString UntitledName;

    // Hands the prepared pages over (to a preview); the report keeps a new, empty store.
    std::unique_ptr<TfrEMFPages> TakePreparedPages();
    // Takes a store back, freeing the one it has; null gives it an empty one.
    void ReturnPreparedPages(std::unique_ptr<TfrEMFPages> pages);

    // Frees every page, empties the dictionary, clears TwoPass.
    void ClearAll();
    // Selects that printer unless KeepPrinter is set or no printer has the name; PrinterName
    // takes the name in every case.
    void SelectPrinterByName(const QString& name);
    // The first object of that name on any page, searching the pages in order.
    TfrView* FindObject(const QString& name) const;

    // The report stream. Reading replaces every page and object; a stream it cannot read is
    // reported in a message box (Failure when the engine has no message boxes).
    void WriteToStream(QIODevice& stream);
    void ReadFromStream(QIODevice& stream);

    // The "ReportForm" property of a form resource: the value 24, then, with StoreInDFM, the
    // byte count and the report stream. Loaded() reads the report kept by ReadReportForm.
    void WriteReportForm(QIODevice& stream);
    void ReadReportForm(QIODevice& stream);
    void Loaded();

    // An error while an object was printed: the engine's error text names the expression's
    // object and this report, ends with the message, and building stops.
    void ReportError(const QString& message);

    // The design pages into prepared pages: true when pages were prepared and not cancelled.
    // An error is shown in a message box (raised as a failure without message boxes) and
    // leaves no prepared page; the design pages are those of the snapshot taken before.
    bool Prepare();
    // One preparation, in the progress window when the engine has one.
    bool RunPreparation();
    // The progress window's work: one pass, then what follows it.
    void BuildPass();
    void ReportProgress(int n);
    // Through the preview installed in TfrEngineState::Hooks; without one the prepared pages
    // stay in the store.
    void ShowPreparedPages();
    // Prepare, then ShowPreparedPages whatever Prepare returned.
    void PrepareAndShow();
    // One pass over the design pages.
    virtual void BuildPages();
    // Through the printing installed in TfrEngineState::Hooks; a failure without it.
    virtual void DoPrintPages();

private:
    // A failure to read a stream, in a message box.
    void ShowStreamError(const QString& text);

    std::unique_ptr<QBuffer> reportForm_;
};
