#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class TfrVariables;

// Finds the calls of the listed functions in an expression and appends the complete text of
// each to a list, once. It looks into the arguments of other calls, into bracketed names and
// into the values of the variables (when a list is given) that the expression names. An
// expression starting with a single quote is not searched.
class TfrFunctionSplitter {
public:
    TfrFunctionSplitter(QStringList matchFunctions, QStringList& splitTo,
                        const TfrVariables* variables);
    virtual ~TfrFunctionSplitter() = default;

    void Split(const QString& s);

private:
    void Scan(const QString& s);

    QStringList match_;
    QStringList& splitTo_;
    const TfrVariables* variables_{nullptr};
    // Variables already looked into, so a variable naming itself cannot loop.
    QSet<QString> visited_;
};

// The aggregate functions AVG, COUNT, MAX, MIN and SUM, looked for through the report
// dictionary's variables.
class TAggregateFunctionsSplitter : public TfrFunctionSplitter {
public:
    TAggregateFunctionsSplitter(QStringList& splitTo, const TfrVariables* variables);
};
