#pragma once

#include "Parser.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>
#include <vector>

class TfrLocale;
class TfrTextEngine;
class TfrVariables;

// The labels of the script being translated: text ("10:") and the index of the code line the
// label stands before.
struct TfrScriptLabel {
    QString Text;
    qint32 Line{0};
};

// The script language: a script is translated once into code lines whose expressions are
// already in the evaluator's postfix form, and such a list runs as often as asked.
//
// Code lines, by their first character:
//   1  conditional jump: target low byte, target high byte, condition; jumps when it is 0
//   2  jump: target low byte, target high byte
//   3  an expression evaluated for its effect; "EXIT(0)" ends the run
//   a letter: assignment: the name, one blank, the expression
class TfrInterpretator {
public:
    static constexpr QChar CodeIf{1};
    static constexpr QChar CodeGoto{2};
    static constexpr QChar CodeCall{3};
    // The text buffer holds this many characters, line breaks included.
    static constexpr int MaxScriptLength = 31999;
    static constexpr int MaxLabels = 101;
    static constexpr int MaxLabelLength = 16;
    // Runs nested through an object's methods (CALCHEIGHT runs the object's script again).
    static constexpr int MaxRunNesting = 16;

    explicit TfrInterpretator(const TfrLocale& locale);
    virtual ~TfrInterpretator();
    TfrInterpretator(const TfrInterpretator&) = delete;
    TfrInterpretator& operator=(const TfrInterpretator&) = delete;

    virtual void FetchValue(const QString& name, QVariant& value);
    virtual void StoreValue(const QString& name, const QVariant& value);
    virtual void CallScriptFunction(const QString& name, const QString& p1, const QString& p2,
                                    const QString& p3, QVariant& value);
    // The code list and the error list are cleared first; the source may be the code list.
    virtual void TranslateScript(const QStringList& source, QStringList& code, QStringList& errors);
    // A failure of an expression or of a store leaves at once and reaches the caller.
    virtual void RunScript(const QStringList& code);

    // The calls of the named functions in the code lines' expressions, appended to `to`.
    void CollectFunctions(const QStringList& code, const QStringList& functions,
                          const TfrVariables* variables, QStringList& to) const;

    // The labels of the last translation.
    const std::vector<TfrScriptLabel>& ScriptLabels() const { return labels_; }

protected:
    // Asked between statements: true ends the run where it stands, as a cancel does.
    virtual bool StopRequested() { return false; }

private:
    class Translation;

    TfrParser parser_;
    std::vector<TfrScriptLabel> labels_;
    int runNesting_{0};
};

// The engine's interpreter: names read through the report's lookup, functions called through
// its dispatch, and assignments to user variables, the dictionary, the engine settings and the
// properties of objects and pages. One per engine, in its text engine.
class TInterpretator : public TfrInterpretator {
public:
    explicit TInterpretator(TfrTextEngine& engine);

    void FetchValue(const QString& name, QVariant& value) override;
    void StoreValue(const QString& name, const QVariant& value) override;
    void CallScriptFunction(const QString& name, const QString& p1, const QString& p2,
                            const QString& p3, QVariant& value) override;

protected:
    // Lets the progress window's cancel act now and then while a script runs.
    bool StopRequested() override;

private:
    TfrTextEngine& engine_;
    int steps_{0};
};
