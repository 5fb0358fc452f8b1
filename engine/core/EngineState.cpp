#include "EngineState.h"

#include "Engine.h"
#include "EngineStrings.h"
#include "Failure.h"

namespace {

constexpr int kDefaultCharset = 55337;

int DefaultCharset() {
    bool ok = false;
    const int charset = frLoadStr(kDefaultCharset).toInt(&ok);
    return ok ? charset : 1;
}

}  // namespace

void TfrEngineState::Reset() {
    TfrTextLayer* layer = TextLayer;
    *this = TfrEngineState();
    TextLayer = layer;
    DefaultCharset = ::DefaultCharset();
}

TfrEngineState& frEngineState() {
    return frEngine().State();
}

TfrEngineState* frEngineStateIfRunning() {
    TfrEngine* engine = TfrEngine::Current();
    return engine ? &engine->State() : nullptr;
}

TfrEngine& frEngine() {
    TfrEngine* engine = TfrEngine::Current();
    if (!engine)
        throw Failure(QStringLiteral("Построитель отчётов не запущен"));
    return *engine;
}

TfrPrinter& frPrinter() {
    return frEngine().Printer();
}
