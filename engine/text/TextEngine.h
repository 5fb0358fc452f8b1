#pragma once

#include "DatasetRegistry.h"
#include "DisplayFormat.h"
#include "EngineState.h"
#include "Expansion.h"
#include "FunctionLibrary.h"
#include "Interpretator.h"
#include "Locale.h"
#include "MemoLayout.h"
#include "Parser.h"
#include "PrintWarnings.h"
#include "Variables.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>

class TfrEngine;

// The text layer of the engine: the evaluator with its function libraries, user variables and
// engine constants, the locale, expansion of bracketed expressions and the layout of text
// objects. One is installed per engine (frStartTextLayer) and lives as long as it.
class TfrTextEngine : public TfrTextLayer {
public:
    explicit TfrTextEngine(TfrEngine& engine);
    ~TfrTextEngine() override;

    const TfrLocale& Conventions() const override { return Locale; }
    QVariant Evaluate(const QString& expression) override;
    QString Expand(const QString& text) override;
    void TranslateScript(QStringList& script) override;
    void RunScript(TfrView& view, const QStringList& code) override;
    void RunPageScript(const QStringList& script) override;
    void PrintMemo(TfrMemoView& memo, QIODevice& stream) override;
    void PaintMemo(TfrMemoView& memo, Canvas& canvas) override;
    qint32 CalcHeight(TfrMemoView& memo) override;
    qint32 MinHeight(TfrMemoView& memo) override;
    qint32 RemainHeight(TfrMemoView& memo) override;
    void BeginPreparation() override;
    void BindDataField(TfrView& view) override;

    TfrEngine& Engine() const { return engine_; }

    // Declared in the order they are built: the evaluator and the libraries use the locale.
    TfrLocale Locale{TfrLocale::Russian()};
    TfrFormatPresets Presets;
    TfrParser Parser{Locale};
    TfrInstalledFunctions InstalledFunctions;
    TfrFunctionLibraries Libraries{&InstalledFunctions};
    TfrVariables UserVariables;
    TfrVariables EngineConstants;
    // The value of the bracket being formatted ("VALUE").
    QVariant CurrentValue;
    // The name the lookup chain last handed to the evaluator; tells undefined names.
    QString ExpressionInProgress;
    // While aggregates are collected, undefined names are no error and nothing is formatted.
    bool CollectingAggregates{false};
    // Days since 30.12.1899, taken when preparation starts.
    double ReportDate{0};
    double ReportTime{0};
    TfrDatasetRegistry Datasets;
    TfrMemoLayout Layout;
    // What the last preparation found that will not print as the template means it.
    TfrPrintWarnings Warnings;
    TfrExpansion Expansion{*this};
    // Every script of every report runs here.
    TInterpretator ScriptEngine{*this};

private:
    TfrEngine& engine_;
    // The objects CalcHeight is measuring, innermost last.
    QList<const TfrMemoView*> measuring_;
};

// Installs a text engine into the engine, which owns it from then on.
TfrTextEngine& frStartTextLayer(TfrEngine& engine);
// The running engine's text engine; a failure when none is installed.
TfrTextEngine& frTextEngine();
