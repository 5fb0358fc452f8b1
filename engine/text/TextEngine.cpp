#include "TextEngine.h"

#include "Engine.h"
#include "EngineConstants.h"
#include "Failure.h"
#include "Formatting.h"
#include "MemoView.h"
#include "StdFunctionLibrary.h"
#include "Variant.h"

#include <QDate>
#include <QDateTime>
#include <QScopeGuard>
#include <QTime>

TfrTextEngine::TfrTextEngine(TfrEngine& engine) : Layout(*engine.MeasureCanvas()), engine_(engine) {
    Libraries.Install(std::make_unique<TfrStdFunctionLibrary>(Parser, engine.State()));
    UserVariables.SetSorted(true);
    EngineConstants.SetSorted(true);
    frFillEngineConstants(EngineConstants);
    Parser.ValueCallback = [this](const QString& name, QVariant& value) {
        value = Expansion.LookUpValue(name);
    };
    Parser.FunctionCallback = [this](const QString& name, const QString& p1, const QString& p2,
                                     const QString& p3, QVariant& value) {
        value = Expansion.CallFunction(name, p1, p2, p3);
    };
}

TfrTextEngine::~TfrTextEngine() = default;

QVariant TfrTextEngine::Evaluate(const QString& expression) {
    return Parser.Evaluate(expression);
}

QString TfrTextEngine::Expand(const QString& text) {
    QString s = text;
    Expansion.ExpandText(s);
    return s;
}

void TfrTextEngine::TranslateScript(QStringList& script) {
    if (script.isEmpty())
        return;
    QStringList errors;  // a script with an error keeps the code before it
    ScriptEngine.TranslateScript(script, script, errors);
}

void TfrTextEngine::RunScript(TfrView& view, const QStringList& code) {
    if (code.isEmpty())
        return;
    engine_.State().CurrentView = &view;
    ScriptEngine.RunScript(code);
}

void TfrTextEngine::RunPageScript(const QStringList& script) {
    if (script.isEmpty())
        return;
    QStringList code;
    QStringList errors;
    ScriptEngine.TranslateScript(script, code, errors);
    // No object is being printed: a failure names none, a bare property name is a variable.
    engine_.State().CurrentView = nullptr;
    ScriptEngine.RunScript(code);
}

void TfrTextEngine::PrintMemo(TfrMemoView& memo, QIODevice& stream) {
    Expansion.Print(memo, stream);
}

void TfrTextEngine::PaintMemo(TfrMemoView& memo, Canvas& canvas) {
    Layout.PaintObject(memo, canvas);
}

qint32 TfrTextEngine::CalcHeight(TfrMemoView& memo) {
    // Measured again while it is being measured (a CALCHEIGHT call in its own text, script or
    // highlight), an object is measured with its text unexpanded, so measuring ends.
    if (measuring_.contains(&memo))
        return Layout.CalcHeight(memo, [](TfrMemoView& m) { m.WorkMemo = m.Memo; });
    measuring_.append(&memo);
    const auto done = qScopeGuard([&] { measuring_.removeOne(&memo); });
    return Layout.CalcHeight(memo, [this](TfrMemoView& m) { Expansion.PrepareText(m); });
}

qint32 TfrTextEngine::MinHeight(TfrMemoView& memo) {
    return Layout.MinHeight(memo);
}

qint32 TfrTextEngine::RemainHeight(TfrMemoView& memo) {
    return Layout.RemainHeight(memo);
}

void TfrTextEngine::BeginPreparation() {
    Warnings.Clear();
    const QDateTime now = QDateTime::currentDateTime();
    ReportDate = frDateToDays(now.date());
    ReportTime = now.time().msecsSinceStartOfDay() / 86400000.0;
}

void TfrTextEngine::BindDataField(TfrView& view) {
    Expansion.BindDataField(view);
}

TfrTextEngine& frStartTextLayer(TfrEngine& engine) {
    auto layer = std::make_unique<TfrTextEngine>(engine);
    TfrTextEngine& result = *layer;
    engine.InstallTextLayer(std::move(layer));
    return result;
}

TfrTextEngine& frTextEngine() {
    auto* engine = dynamic_cast<TfrTextEngine*>(frEngine().TextLayer());
    if (!engine)
        throw Failure(QStringLiteral("Текстовая часть построителя отчётов не установлена"));
    return *engine;
}
