#include "Engine.h"

#include "Failure.h"
#include "PainterCanvas.h"

#include <exception>

namespace {

TfrEngine* current = nullptr;

constexpr int kMeasureSize = 8;
constexpr int kMeasureDpi = 96;

}  // namespace

TfrEngine::TfrEngine(std::unique_ptr<SystemPrinter> system) : system_(std::move(system)) {
    if (current)
        throw Failure(QStringLiteral("The report engine is already running"));
    try {
        printer_.AttachPrinter(system_.get());
        defaultPaperKind_ = printer_.PaperKind();
    } catch (const std::exception&) {
        // A printer system that fails while it is read leaves the engine on the virtual printer.
        printer_.AttachPrinter(nullptr);
        defaultPaperKind_ = printer_.PaperKind();
    }
    printerReady_ = true;
    measureCanvas_ = std::make_unique<ImageCanvas>(QSize(kMeasureSize, kMeasureSize), kMeasureDpi);
    state_.Reset();
    current = this;
}

TfrEngine::~TfrEngine() {
    state_.TextLayer = nullptr;
    textLayer_.reset();
    current = nullptr;
}

TfrEngine* TfrEngine::Current() {
    return current;
}

void TfrEngine::InstallProgressWindow(std::unique_ptr<TfrProgressWindow> window) {
    progressWindow_ = std::move(window);
}

Canvas* TfrEngine::MeasureCanvas() const {
    return measureCanvas_.get();
}

const QImage& TfrEngine::MeasureImage() const {
    return measureCanvas_->Image();
}

void TfrEngine::InstallTextLayer(std::unique_ptr<TfrTextLayer> layer) {
    state_.TextLayer = nullptr;
    textLayer_ = std::move(layer);
    state_.TextLayer = textLayer_.get();
}
