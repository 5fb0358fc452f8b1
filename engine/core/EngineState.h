#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

class Canvas;
class QIODevice;
class TfrBand;
class TfrEngine;
class TfrLocale;
class TfrPrinter;
class TfrMemoView;
class TfrPage;
class TfrReport;
class TfrView;
class UiServices;
using TfrObjectFactory = std::function<std::unique_ptr<TfrView>()>;

// What the page objects need of the text layer: evaluation, expansion, scripts, and the
// printing, drawing and measuring of text objects. The text layer installs one when the
// engine starts.
class TfrTextLayer {
public:
    virtual ~TfrTextLayer() = default;

    // The conventions the evaluator reads and writes values by; property values convert by the
    // same ones.
    virtual const TfrLocale& Conventions() const = 0;

    // The value of an expression, for script methods that take one.
    virtual QVariant Evaluate(const QString& expression) = 0;
    // A text with its bracketed expressions replaced by their values.
    virtual QString Expand(const QString& text) = 0;
    // An object's script, translated in place into code lines when its page's bands are built.
    virtual void TranslateScript(QStringList& script) = 0;
    // An object's translated script, run while the object is printed; it is the current object.
    virtual void RunScript(TfrView& view, const QStringList& code) = 0;
    // A page's script: translated into a list of its own and run, every time.
    virtual void RunPageScript(const QStringList& script) = 0;

    // A text object's Print: expansion into WorkMemo, visibility, highlight, suppression,
    // and the write of the prepared form.
    virtual void PrintMemo(TfrMemoView& memo, QIODevice& stream) = 0;
    virtual void PaintMemo(TfrMemoView& memo, Canvas& canvas) = 0;
    virtual qint32 CalcHeight(TfrMemoView& memo) = 0;
    virtual qint32 MinHeight(TfrMemoView& memo) = 0;
    virtual qint32 RemainHeight(TfrMemoView& memo) = 0;

    // At the start of a preparation: the report's date and time are taken now, and the
    // evaluator resolves names through the current report.
    virtual void BeginPreparation() = 0;
    // At the start of a page's preparation: an object whose whole text is one bracketed field
    // of a table is bound to it (BoundDataSet, BoundField); any other object is unbound.
    virtual void BindDataField(TfrView& view) = 0;
};

// Preparation, showing and printing of a report's pages, installed by the layers that do
// them.
struct TfrReportHooks {
    std::function<void(TfrReport&)> ShowPreparedPages;
    std::function<void(TfrReport&)> PrintPages;
};

// The engine-wide state of the document model: what the reports, pages and objects share.
// One exists per process; Reset() brings it back to its state at engine start-up.
struct TfrEngineState {
    // True while pages are prepared or prepared pages are drawn; false while a report is read.
    bool PrintingState{false};
    // The first pass of a two-pass preparation: objects only run their scripts.
    bool ScriptOnlyPass{false};
    TfrReport* CurrentReport{nullptr};
    TfrReport* MainReport{nullptr};
    TfrPage* CurrentDesignPage{nullptr};
    TfrBand* CurrentBand{nullptr};
    TfrView* CurrentView{nullptr};
    // The zero-based index of the prepared page being formed.
    qint32 PreparedPageIndex{0};
    // The pages the first pass of a two-pass preparation formed; 0 in a single pass.
    qint32 TotalPages{0};
    // The page being formed continues the previous prepared page.
    bool AppendToPrevious{false};
    bool DialogCancelled{false};
    // Objects that asked to hear of every text object printed.
    std::vector<TfrView*> HookList;
    // The version of the stream being read; 24 for everything written.
    int StreamVersion{24};
    bool ErrorFlag{false};
    QString ErrorText;
    // The last serial number the object factory gave.
    qint32 LastSerial{0};
    // The character set of new text objects, from engine string 55337.
    int DefaultCharset{204};

    // Message boxes of the engine; without one, their texts are raised as failures.
    UiServices* Services{nullptr};
    // The help of the engine's windows: the preview window's topics by context number.
    QString UserHelpFile{QStringLiteral("Quillbox.hlp")};
    // The help file the application's help commands open, when the application lends it: the
    // stand-alone preview window puts UserHelpFile there while it is active.
    QString* ApplicationHelpFile{nullptr};
    // Without a text layer, expressions are taken as the text they are, texts are not
    // expanded, scripts do not run, and text objects cannot be printed. The engine owns the
    // installed layer (TfrEngine::InstallTextLayer); Reset() keeps it.
    TfrTextLayer* TextLayer{nullptr};
    TfrReportHooks Hooks;
    // Classes of add-in objects, by class name.
    std::vector<std::pair<QString, TfrObjectFactory>> AddIns;

    void Reset();
};

// The state of the running engine; a failure when the engine has not been started.
TfrEngineState& frEngineState();
// The same, or null: for destructors, which may run after the engine has stopped.
TfrEngineState* frEngineStateIfRunning();

// The running engine and its printer; a failure when the engine has not been started.
TfrEngine& frEngine();
TfrPrinter& frPrinter();
