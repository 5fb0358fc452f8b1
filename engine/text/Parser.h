#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <functional>

class TfrLocale;

// The value itself, unless it is a real that is not a finite number (an overflow, or infinity
// minus infinity): that is an error of the expression, since compared or printed it would
// give a wrong answer quietly.
const QVariant& frFiniteValue(const QVariant& value);

// The engine's evaluator of infix formulas. ToPostfix turns a formula into a postfix text whose
// operators are single characters; EvaluatePostfix computes that text on a stack of values.
// Names go to ValueCallback and calls of functions it does not know to FunctionCallback.
class TfrParser {
public:
    // Name as written (upper-cased when it came as a plain identifier), value to fill.
    using TValueCallback = std::function<void(const QString& name, QVariant& value)>;
    // Name in upper case, the three argument texts unevaluated, value to fill.
    using TFunctionCallback =
        std::function<void(const QString& name, const QString& p1, const QString& p2,
                           const QString& p3, QVariant& value)>;

    // Operators of the postfix text that are not written as themselves.
    enum Op : char16_t {
        opGreaterEq = 1,
        opLessEq = 2,
        opNotEq = 3,
        opOr = 4,
        opAnd = 5,
        opInt = 6,
        opFrac = 7,
        opNeg = 9,
        opPlus = 10,
        opStr = 11,
        opNot = 12,
        opMod = 13,
        opRound = 14,
    };

    static constexpr int StackSize = 32;

    explicit TfrParser(const TfrLocale& locale);

    QString ToPostfix(const QString& s) const;
    QVariant EvaluatePostfix(const QString& p);
    QVariant Evaluate(const QString& s) { return EvaluatePostfix(ToPostfix(s)); }

    const TfrLocale& Locale() const { return locale_; }

    TValueCallback ValueCallback;
    TFunctionCallback FunctionCallback;

private:
    class Stack;
    // The value of the operand that starts at `i`; `i` ends after it.
    QVariant Operand(const QString& p, qsizetype& i);
    QVariant Call(const QString& name, const QStringList& args);

    const TfrLocale& locale_;
    int nesting_{0};
};
