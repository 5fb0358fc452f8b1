// The report stream: a report with its pages, objects and dictionary.

#include "Engine.h"
#include "EngineErrors.h"
#include "EngineState.h"
#include "EngineStrings.h"
#include "Page.h"
#include "Printer.h"
#include "Report.h"
#include "StreamIO.h"
#include "Variants.h"

#include <QCoreApplication>
#include <optional>

namespace {

constexpr quint8 kPageMark = 255;
constexpr quint8 kDictionaryMark = 254;
constexpr quint8 kExtensionMark = 253;
constexpr quint8 kLastObjectType = 10;
constexpr qint16 kDictionaryVersion = -2;
constexpr int kBadFormat = 55345;
constexpr int kVirtualPrinterName = 55007;

// The printer name a stream carries for the virtual printer.
const QString& VirtualPrinterMark() {
    static const QString mark(QChar(1));
    return mark;
}

EStreamError BadFormat() {
    return EStreamError(QStringLiteral("Stream read error"));
}

// Writes an object in the design form whatever its Prepared flag says.
class DesignForm {
public:
    explicit DesignForm(TfrView& view) : view_(view), prepared_(view.Prepared) {
        view_.Prepared = false;
    }
    ~DesignForm() { view_.Prepared = prepared_; }
    DesignForm(const DesignForm&) = delete;
    DesignForm& operator=(const DesignForm&) = delete;

private:
    TfrView& view_;
    bool prepared_;
};

void WriteList(QIODevice& stream, const QList<TfrDictEntry>& list) {
    frWriteInt(stream, static_cast<qint32>(list.size()));
    for (const TfrDictEntry& entry : list) {
        frWriteString(stream, entry.Name);
        frWriteString(stream, frVarToStr(entry.Value));
    }
}

QList<TfrDictEntry> ReadList(QIODevice& stream) {
    const qint32 count = frReadInt(stream);
    if (count < 0)
        throw BadFormat();
    QList<TfrDictEntry> list;
    for (qint32 i = 0; i < count; ++i) {
        TfrDictEntry entry;
        entry.Name = frReadString(stream);
        entry.Value = frReadString(stream);
        list.append(entry);
    }
    return list;
}

}  // namespace

// --- the dictionary block ------------------------------------------------------------------------

void TfrDataDictionary::Clear() {
    Variables.clear();
    FieldAliases.clear();
    BandDataSources.clear();
}

void TfrDataDictionary::WriteToStream(QIODevice& stream) const {
    frWriteWord(stream, static_cast<quint16>(kDictionaryVersion));
    WriteList(stream, Variables);
    WriteList(stream, FieldAliases);
    WriteList(stream, BandDataSources);
}

void TfrDataDictionary::ReadFromStream(QIODevice& stream) {
    if (static_cast<qint16>(frReadWord(stream)) != kDictionaryVersion)
        throw BadFormat();
    Variables = ReadList(stream);
    FieldAliases = ReadList(stream);
    BandDataSources = ReadList(stream);
}

// --- writing -------------------------------------------------------------------------------------

void TfrReport::WriteToStream(QIODevice& stream) {
    TfrEngineState& state = frEngineState();
    state.CurrentReport = this;
    state.StreamVersion = frCurrentVersion;
    frWriteByte(stream, frCurrentVersion);
    Pages.WriteToStream(stream);
}

void TfrPages::WriteToStream(QIODevice& stream) const {
    frWriteBool16(stream, report_.KeepPrinter);
    frWriteBool16(stream, report_.TwoPass);
    const TfrPrinter& printer = frPrinter();
    frWriteString(stream, printer.IsVirtual()
                              ? VirtualPrinterMark()
                              : printer.PrinterNames().value(printer.ActivePrinter()));
    for (const auto& page : pages_) {
        frWriteByte(stream, kPageMark);
        page->WriteToStream(stream);
    }
    for (int i = 0; i < Count(); ++i) {
        for (const auto& view : pages_[i]->Objects()) {
            frWriteByte(stream, view->ObjectType);
            if (view->ObjectType == frTypeAddIn)
                frWriteString(stream, view->ClassName());
            frWriteByte(stream, static_cast<quint8>(i & 0xFF));
            const qint64 endOffset = stream.pos();
            frWriteInt(stream, 0);
            {
                const DesignForm design(*view);
                view->WriteToStream(stream);
            }
            frPatchInt(stream, endOffset, static_cast<qint32>(stream.pos()));
        }
    }
    frWriteByte(stream, kDictionaryMark);
    report_.Dictionary.WriteToStream(stream);
}

// --- reading -------------------------------------------------------------------------------------

void TfrReport::ReadFromStream(QIODevice& stream) {
    TfrEngineState& state = frEngineState();
    state.PrintingState = false;
    while (TfrEngine::Current() && !TfrEngine::Current()->PrinterReady())
        QCoreApplication::processEvents();
    state.CurrentReport = this;
    Dictionary.Clear();
    if (stream.atEnd())
        return;

    state.StreamVersion = frReadByte(stream);
    state.ErrorFlag = false;
    state.ErrorText.clear();
    if (state.StreamVersion > frCurrentVersion) {
        ShowStreamError(frLoadStr(kBadFormat));
        return;
    }
    try {
        Pages.ReadFromStream(stream);
    } catch (const EClassNotFound& e) {
        ShowStreamError(QStringLiteral("Report contains the following non-plugged components:\r") +
                        e.Message() +
                        QStringLiteral("You must include these components into your project."));
    } catch (const std::exception&) {
        Pages.ClearAll();
        Pages.Add();
        ShowStreamError(frLoadStr(kBadFormat));
    }
}

// Object entries name their page by the low byte of its index. They are written in page
// order, so of the pages with that low byte the first one not before the previous entry's
// page is the one meant; a report of up to 256 pages has only one candidate.
int TfrPages::PageForEntry(int indexByte, int previous) const {
    for (int i = indexByte; i < Count(); i += 256) {
        if (i >= previous)
            return i;
    }
    return indexByte < Count() ? indexByte : -1;
}

void TfrPages::ReadFromStream(QIODevice& stream) {
    TfrEngineState& state = frEngineState();
    report_.ClearAll();
    report_.KeepPrinter = frReadBool16(stream);
    report_.TwoPass = frReadBool16(stream);
    QString printerName = frReadString(stream);
    if (printerName == VirtualPrinterMark())
        printerName = frLoadStr(kVirtualPrinterName);
    report_.SelectPrinterByName(printerName);

    int previousPage = 0;
    while (!stream.atEnd()) {
        const quint8 type = frReadByte(stream);
        if (type == kPageMark) {
            Add().ReadFromStream(stream);
            continue;
        }
        if (type == kDictionaryMark) {
            report_.Dictionary.ReadFromStream(stream);
            continue;
        }
        if (type == kExtensionMark)
            break;  // no extension is installed to read the rest
        if (type > kLastObjectType)
            throw BadFormat();

        // An object entry. A step that fails skips the entry through its end offset.
        const qint64 start = stream.pos() - 1;
        std::optional<qint32> end;
        try {
            const QString className = type == frTypeAddIn ? frReadString(stream) : QString();
            const int indexByte = frReadByte(stream);
            const int pageIndex = PageForEntry(indexByte, previousPage);
            if (pageIndex < 0)
                throw EListError(indexByte);
            previousPage = pageIndex;
            TfrPage* page = pages_[pageIndex].get();
            state.CurrentDesignPage = page;
            std::unique_ptr<TfrView> created = frCreateObject(type, className);
            if (!created)
                throw BadFormat();
            TfrView& view = page->AddObject(std::move(created));
            end = frReadInt(stream);
            view.ReadFromStream(stream);
            view.SetProperty(QStringLiteral("Name"), view.Name);
        } catch (const std::exception&) {
        }
        if (!end)
            end = frReadInt(stream);
        // An offset that does not lead forward within the stream cannot be followed.
        if (*end <= start || *end > stream.size())
            throw BadFormat();
        stream.seek(*end);
    }

    if (state.ErrorFlag)
        throw EClassNotFound(state.ErrorText);
    for (const auto& page : pages_) {
        for (const auto& view : page->Objects())
            view->AfterLoad();
    }
}
