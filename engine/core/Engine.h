#pragma once

#include "EngineState.h"
#include "Printer.h"
#include "ProgressWindow.h"
#include "SystemPrinter.h"

#include <QImage>
#include <memory>

class Canvas;
class ImageCanvas;

// The report engine's process-wide state, created when the engine starts and destroyed at
// shutdown. One exists at a time; Current() reaches it.
class TfrEngine {
public:
    // Starts the engine on the platform's printers; a null printer is a system without any.
    explicit TfrEngine(std::unique_ptr<SystemPrinter> system);
    ~TfrEngine();
    TfrEngine(const TfrEngine&) = delete;
    TfrEngine& operator=(const TfrEngine&) = delete;

    // The running engine, or null.
    static TfrEngine* Current();

    TfrPrinter& Printer() { return printer_; }
    // What reports, pages and objects share while the engine runs.
    TfrEngineState& State() { return state_; }
    SystemPrinter* System() const { return system_.get(); }
    // The paper code new report pages get: the printer's paper when the engine started.
    int DefaultPaperKind() const { return defaultPaperKind_; }
    // Set once the printer abstraction has finished its start-up.
    bool PrinterReady() const { return printerReady_; }
    // The progress window, owned by the engine once installed; null while the engine runs
    // without windows. Installing another frees the previous one.
    void InstallProgressWindow(std::unique_ptr<TfrProgressWindow> window);
    TfrProgressWindow* ProgressWindow() const { return progressWindow_.get(); }

    // Line breaking measures here, on an 8 x 8 off-screen bitmap at 96 dots per inch, whatever
    // the target device.
    Canvas* MeasureCanvas() const;
    const QImage& MeasureImage() const;

    // The text layer lives as long as the engine; installing another frees the previous one.
    void InstallTextLayer(std::unique_ptr<TfrTextLayer> layer);
    TfrTextLayer* TextLayer() const { return textLayer_.get(); }

private:
    std::unique_ptr<SystemPrinter> system_;
    TfrPrinter printer_;
    int defaultPaperKind_{DMPAPER_A4};
    bool printerReady_{false};
    std::unique_ptr<TfrProgressWindow> progressWindow_;
    std::unique_ptr<ImageCanvas> measureCanvas_;
    TfrEngineState state_;
    // Last member: it goes first, while the state and the measuring canvas it uses still exist.
    std::unique_ptr<TfrTextLayer> textLayer_;
};
