#include "ScriptedPrinter.h"

#include "Failure.h"
#include "PainterCanvas.h"
#include "RecordingCanvas.h"

#include <QtMath>
#include <algorithm>
#include <utility>

namespace {

int ToPixels(int tenths, int dpi) {
    return qRound(tenths / 254.0 * dpi);
}

}  // namespace

ScriptedPrinter::ScriptedPrinter() = default;
ScriptedPrinter::~ScriptedPrinter() {
    PageRecords.clear();
}

ScriptedPrinter::Queue ScriptedPrinter::Office(const QString& name) {
    Queue q;
    q.Name = name;
    q.Papers = {{DMPAPER_A4, QStringLiteral("A4"), 2100, 2970},
                {1, QStringLiteral("Letter"), 2159, 2794},
                {11, QStringLiteral("A5"), 1480, 2100}};
    q.Mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    q.Mode.dmPaperSize = DMPAPER_A4;
    return q;
}

ScriptedPrinter::Queue& ScriptedPrinter::CurrentQueue() {
    if (Current < 0 || Current >= Queues.size())
        throw Failure(QStringLiteral("Printer selected is not valid"));
    return Queues[Current];
}

QStringList ScriptedPrinter::Printers() {
    if (ListFails)
        throw Failure(QStringLiteral("The spooler is not running"));
    QStringList names;
    for (const Queue& q : Queues)
        names.append(q.Name);
    return names;
}

void ScriptedPrinter::SetPrinterIndex(int index) {
    if (index < 0 || index >= Queues.size())
        throw Failure(QStringLiteral("Printer selected is not valid"));
    Current = index;
}

PrinterIdentity ScriptedPrinter::CurrentNames() const {
    const Queue& q = Queues.at(Current);
    return {q.Name, q.Driver, q.Port};
}

std::optional<DeviceMode> ScriptedPrinter::GetDeviceMode() {
    const Queue& q = CurrentQueue();
    if (q.ModeFails)
        return std::nullopt;
    return q.Mode;
}

void ScriptedPrinter::SetDeviceMode(const DeviceMode& mode) {
    Log.append(QStringLiteral("mode"));
    ModeWrites.append(mode);
    Queue& q = CurrentQueue();
    DeviceMode& m = q.Mode;
    const quint32 custom = DM_PAPERLENGTH | DM_PAPERWIDTH;
    if ((mode.dmFields & custom) == custom && q.CustomSizes) {
        m.dmFields |= custom;
        m.dmPaperSize = DMPAPER_USER;
        m.dmPaperWidth = mode.dmPaperWidth;
        m.dmPaperLength = mode.dmPaperLength;
    } else if (mode.dmFields & DM_PAPERSIZE) {
        const bool listed = std::any_of(q.Papers.begin(), q.Papers.end(),
                                        [&](const Paper& p) { return p.Code == mode.dmPaperSize; });
        if (listed) {
            m.dmFields &= ~custom;
            m.dmPaperSize = mode.dmPaperSize;
        }
    }
    if (mode.dmFields & DM_ORIENTATION)
        m.dmOrientation = mode.dmOrientation;
    if (mode.dmFields & DM_COPIES)
        m.dmCopies = mode.dmCopies;
    if ((mode.dmFields & DM_DEFAULTSOURCE) && q.Bins.contains(mode.dmDefaultSource))
        m.dmDefaultSource = mode.dmDefaultSource;
}

void ScriptedPrinter::CheckCaps() {
    if (CurrentQueue().CapsFail)
        throw Failure(QStringLiteral("The driver does not answer"));
}

QList<int> ScriptedPrinter::PaperCodes() {
    CheckCaps();
    QList<int> codes;
    for (const Paper& p : CurrentQueue().Papers)
        codes.append(p.Code);
    return codes;
}

QStringList ScriptedPrinter::PaperNames() {
    CheckCaps();
    QStringList names;
    for (const Paper& p : CurrentQueue().Papers)
        names.append(p.Name);
    return names;
}

QList<int> ScriptedPrinter::Bins() {
    CheckCaps();
    return CurrentQueue().Bins;
}

QStringList ScriptedPrinter::BinNames() {
    CheckCaps();
    return CurrentQueue().BinNames;
}

DeviceCaps ScriptedPrinter::Caps() {
    CheckCaps();
    const Queue& q = CurrentQueue();
    const DeviceMode& m = q.Mode;
    int width = 0;
    int height = 0;
    const bool landscape = m.dmOrientation == DMORIENT_LANDSCAPE;
    if (m.dmPaperSize == DMPAPER_USER) {
        // Custom sizes are given as printed.
        width = m.dmPaperWidth;
        height = m.dmPaperLength;
    } else {
        for (const Paper& p : q.Papers) {
            if (p.Code == m.dmPaperSize) {
                width = landscape ? p.Height : p.Width;
                height = landscape ? p.Width : p.Height;
            }
        }
    }
    DeviceCaps caps;
    caps.LogPixelsX = q.DpiX;
    caps.LogPixelsY = q.DpiY;
    caps.PhysicalWidth = ToPixels(width, q.DpiX);
    caps.PhysicalHeight = ToPixels(height, q.DpiY);
    caps.PhysicalOffsetX = q.MarginLeft;
    caps.PhysicalOffsetY = q.MarginTop;
    caps.HorzRes = caps.PhysicalWidth - q.MarginLeft - q.MarginRight;
    caps.VertRes = caps.PhysicalHeight - q.MarginTop - q.MarginBottom;
    return caps;
}

bool ScriptedPrinter::ShowPropertiesDialog() {
    Log.append(QStringLiteral("properties"));
    if (!PropertiesAnswer)
        return false;
    DeviceMode copy = CurrentQueue().Mode;
    if (PropertiesEdit)
        PropertiesEdit(copy);
    CurrentQueue().Mode = copy;
    return true;
}

Canvas* ScriptedPrinter::PageCanvas() {
    return Printing() && !PageRecords.empty() ? PageRecords.back().get() : nullptr;
}

void ScriptedPrinter::AddPage() {
    const DeviceCaps caps = Caps();
    auto measure = std::find_if(measures_.begin(), measures_.end(),
                                [&](const auto& m) { return m->DpiX() == caps.LogPixelsX; });
    if (measure == measures_.end()) {
        measures_.push_back(std::make_unique<ImageCanvas>(QSize(8, 8), caps.LogPixelsX));
        measure = measures_.end() - 1;
    }
    PageRecords.push_back(std::make_unique<RecordingCanvas>(
        QSize(caps.PhysicalWidth, caps.PhysicalHeight), measure->get()));
}

void ScriptedPrinter::StartJob() {
    Log.append(QStringLiteral("begin"));
    Job job;
    job.Printer = CurrentQueue().Name;
    job.Title = title_;
    job.Copies = copies_;
    job.Mode = CurrentQueue().Mode;
    job.Pages = 1;
    job.FirstPage = static_cast<int>(PageRecords.size());
    Jobs.append(job);
    AddPage();
}

void ScriptedPrinter::NextPage() {
    Log.append(QStringLiteral("page"));
    ++Jobs.last().Pages;
    AddPage();
}

void ScriptedPrinter::FinishJob() {
    Log.append(QStringLiteral("end"));
    Jobs.last().Ended = true;
}

void ScriptedPrinter::CancelJob() {
    Log.append(QStringLiteral("abort"));
    Jobs.last().Aborted = true;
}
