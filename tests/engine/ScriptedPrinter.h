#pragma once

#include "SystemPrinter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ImageCanvas;
class RecordingCanvas;

// A printer system for tests: printers and their drivers as scripted; every job, page, paper
// change and copy count is recorded, and each page is drawn on a recording canvas of its own
// (the sheet's size in device pixels, measuring at the queue's horizontal resolution). Its
// driver behaves like a real one: it takes a paper it lists (or a custom size when it allows
// them) and keeps its paper otherwise.
class ScriptedPrinter : public SystemPrinter {
public:
    struct Paper {
        int Code{0};
        QString Name;
        int Width{0};  // tenths of a millimetre, as the paper is fed
        int Height{0};
    };
    struct Queue {
        QString Name;
        QString Driver{QStringLiteral("Scripted driver")};
        QString Port{QStringLiteral("scripted:")};
        QList<Paper> Papers;
        bool CustomSizes{true};
        QList<int> Bins;
        QStringList BinNames;
        int DpiX{600};
        int DpiY{600};
        // Unprintable border in device pixels.
        int MarginLeft{0};
        int MarginTop{0};
        int MarginRight{0};
        int MarginBottom{0};
        DeviceMode Mode;
        // The settings block cannot be read.
        bool ModeFails{false};
        // Reading the driver's capabilities raises.
        bool CapsFail{false};
        // The driver has a properties dialog.
        bool Properties{true};
    };
    struct Job {
        QString Printer;
        QString Title;
        int Copies{1};
        DeviceMode Mode;  // the paper the job was printed on
        int Pages{0};
        int FirstPage{0};  // index of its first page in PageRecords
        bool Ended{false};
        bool Aborted{false};
    };

    // A queue with A4 (9), Letter (1) and A5 (11), A4 current, 600 dpi, no border.
    static Queue Office(const QString& name);

    QList<Queue> Queues;
    int Current{-1};
    // Printers() raises.
    bool ListFails{false};

    QList<Job> Jobs;
    QList<DeviceMode> ModeWrites;  // every block the engine wrote, in order
    QStringList Log;               // "begin", "page", "end", "abort", "mode", "properties"

    // The properties dialog: accepted or not, and the block it leaves when accepted.
    bool PropertiesAnswer{false};
    std::function<void(DeviceMode&)> PropertiesEdit;

    // What was drawn on every page printed, in order.
    std::vector<std::unique_ptr<RecordingCanvas>> PageRecords;

    ScriptedPrinter();
    ~ScriptedPrinter() override;
    Queue& CurrentQueue();

    QStringList Printers() override;
    int PrinterIndex() const override { return Current; }
    void SetPrinterIndex(int index) override;
    PrinterIdentity CurrentNames() const override;
    std::optional<DeviceMode> GetDeviceMode() override;
    void SetDeviceMode(const DeviceMode& mode) override;
    QList<int> PaperCodes() override;
    QStringList PaperNames() override;
    QList<int> Bins() override;
    QStringList BinNames() override;
    DeviceCaps Caps() override;
    int Copies() const override { return copies_; }
    void SetCopies(int copies) override { copies_ = copies; }
    QString Title() const override { return title_; }
    void SetTitle(const QString& title) override { title_ = title; }
    bool ShowPropertiesDialog() override;
    bool HasPropertiesDialog() const override {
        return Current >= 0 && Current < Queues.size() && Queues[Current].Properties;
    }
    Canvas* PageCanvas() override;

protected:
    void StartJob() override;
    void NextPage() override;
    void FinishJob() override;
    void CancelJob() override;

private:
    void CheckCaps();
    void AddPage();
    std::vector<std::unique_ptr<ImageCanvas>> measures_;  // one per resolution used
    int copies_{1};
    QString title_;
};
