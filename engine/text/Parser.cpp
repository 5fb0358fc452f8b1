#include "Parser.h"

#include "Brackets.h"
#include "Formatting.h"
#include "Locale.h"
#include "ParserError.h"
#include "Readers.h"
#include "ValueErrors.h"
#include "Variant.h"

#include <cmath>
#include <limits>

namespace {

using Op = TfrParser::Op;

// Evaluations nested through IF, GETARRAY and the callbacks; deeper is an error, not a crash.
constexpr int MaxNesting = 128;

int Priority(QChar op) {
    switch (op.unicode()) {
        case Op::opInt:
        case Op::opFrac:
        case Op::opRound:
        case Op::opStr:
            return 0;
        case u'*':
        case u'/':
        case Op::opAnd:
        case Op::opOr:
        case Op::opMod:
        case Op::opNot:
            return 1;
        case u'+':
        case u'-':
        case Op::opNeg:
        case Op::opPlus:
            return 2;
        case u'=':
        case u'<':
        case u'>':
        case Op::opGreaterEq:
        case Op::opLessEq:
        case Op::opNotEq:
            return 3;
        case u')':
            return 4;
        default:
            return 5;
    }
}

bool IsPrefix(QChar op) {
    switch (op.unicode()) {
        case Op::opNeg:
        case Op::opPlus:
        case Op::opNot:
        case Op::opInt:
        case Op::opFrac:
        case Op::opRound:
        case Op::opStr:
            return true;
        default:
            return false;
    }
}

bool StartsNumber(const QString& s) {
    if (s.isEmpty())
        return false;
    const QChar c = s[0];
    return (c >= u'0' && c <= u'9') || c == u',' || c == u'.';
}

QChar Keyword(const QString& upper) {
    static const std::pair<const char16_t*, char16_t> keywords[] = {
        {u"INT", Op::opInt}, {u"FRAC", Op::opFrac}, {u"ROUND", Op::opRound}, {u"OR", Op::opOr},
        {u"AND", Op::opAnd}, {u"NOT", Op::opNot},   {u"STR", Op::opStr},     {u"MOD", Op::opMod},
    };
    for (const auto& [word, op] : keywords)
        if (upper == QStringView(word))
            return QChar(op);
    return QChar();
}

// Halves to even, as an integer; a value beyond the 64-bit range is an error.
qint64 RoundToInteger(double x) {
    const double r = std::nearbyint(x);
    if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18)
        throw EParserError(QStringLiteral("Число слишком велико для округления до целого"));
    return static_cast<qint64>(r);
}

// INT and FRAC take a value within 1e-10 of a whole number as that number.
double SnapToInteger(double x) {
    const double r = std::nearbyint(x);
    return std::fabs(r - x) < 1e-10 ? r : x;
}

QVariant Truth(bool holds) {
    return QVariant(holds ? 1 : 0);
}

}  // namespace

const QVariant& frFiniteValue(const QVariant& value) {
    if (value.typeId() == QMetaType::Double && !std::isfinite(value.toDouble()))
        throw EParserError(
            QStringLiteral("Результат вычисления не является конечным числом (переполнение или "
                           "неопределённость)"));
    return value;
}

TfrParser::TfrParser(const TfrLocale& locale) : locale_(locale) {}

QString TfrParser::ToPostfix(const QString& s) const {
    QString stack;  // operators; the top is the last character
    QString out;
    bool operandSeen = false;

    const auto handleOperator = [&](QChar op) {
        // A prefix operator where an operand is due waits for that operand; what is on the stack
        // waits for it too.
        const bool prefixDue = IsPrefix(op) && !operandSeen;
        operandSeen = false;
        if (!prefixDue && !stack.isEmpty() && Priority(op) >= Priority(stack.back())) {
            while (!stack.isEmpty() && Priority(op) >= Priority(stack.back())) {
                out += stack.back();
                stack.chop(1);
            }
        }
        stack += op;
    };

    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        switch (c.unicode()) {
            case u'\r':
            case u' ':
                ++i;
                continue;
            case u'(':
                stack += c;
                operandSeen = false;
                ++i;
                continue;
            case u')': {
                const qsizetype open = stack.lastIndexOf(u'(');
                for (qsizetype k = stack.size() - 1; k > open; --k)
                    out += stack[k];
                stack.truncate(open < 0 ? 0 : open);
                ++i;
                continue;
            }
            case u';':
                i = n;
                continue;
            case u'*':
            case u'+':
            case u'-':
            case u'/':
            case u'<':
            case u'=':
            case u'>': {
                QChar op = c;
                const QChar next = i + 1 < n ? s[i + 1] : QChar();
                if (c == u'<' && next == u'>')
                    op = QChar(Op::opNotEq);
                else if (c == u'>' && next == u'=')
                    op = QChar(Op::opGreaterEq);
                else if (c == u'<' && next == u'=')
                    op = QChar(Op::opLessEq);
                i += op == c ? 1 : 2;
                if (!operandSeen && op == u'-')
                    op = QChar(Op::opNeg);
                else if (!operandSeen && op == u'+')
                    op = QChar(Op::opPlus);
                handleOperator(op);
                continue;
            }
            default:
                break;
        }

        // An operand.
        QString text;
        if (c == u'%') {
            text = s.mid(i, 2);
            i += text.size();
        }
        const qsizetype from = i;
        bool call = false;
        if (i < n && s[i] == u'\'') {
            frReadLiteral(s, i);
        } else if (i < n && s[i] == u'[') {
            qsizetype start = i;
            qsizetype finish = i;
            frFindBracket(s, start, finish);
            i = finish + 1;
        } else {
            const QString name = frReadName(s, i);
            if (i < n && s[i] == u'[') {
                qsizetype start = i;
                qsizetype finish = i;
                frFindBracket(s, start, finish);
                i = finish + 1;
            } else if (!StartsNumber(name)) {
                const QChar op = Keyword(name.toUpper());
                if (!op.isNull()) {
                    handleOperator(op);
                    continue;
                }
                if (!name.isEmpty() && i < n && s[i] == u'(') {
                    frReadArguments(s, i);
                    call = true;
                }
            }
        }
        text += QStringView(s).mid(from, i - from).trimmed();
        if (text.isEmpty()) {
            if (i == from)
                ++i;
            continue;
        }
        operandSeen = true;
        out += text;
        if (!call)
            out += u' ';
    }
    for (qsizetype k = stack.size() - 1; k >= 0; --k)
        if (stack[k] != u'(')
            out += stack[k];
    return out;
}

// The values of one evaluation: 32 slots, the bottom one starting as 0 and holding the result.
class TfrParser::Stack {
public:
    Stack() { slots_[0] = 0; }

    void Push(QVariant value) {
        if (top_ >= StackSize)
            throw EParserError(
                QStringLiteral("Выражение слишком сложное: больше %1 значений").arg(StackSize));
        slots_[static_cast<size_t>(top_++)] = std::move(value);
    }
    // The value `depth` places below the top (0 = the top), which must exist.
    QVariant& Top(int depth = 0) { return slots_[static_cast<size_t>(top_ - 1 - depth)]; }
    void Need(int count) const {
        if (top_ < count)
            throw EParserError(QStringLiteral("В выражении не хватает операнда"));
    }
    void Drop() { slots_[static_cast<size_t>(--top_)] = QVariant(); }
    const QVariant& Result() const { return slots_[0]; }

private:
    std::array<QVariant, StackSize> slots_;
    int top_{0};
};

QVariant TfrParser::EvaluatePostfix(const QString& p) {
    struct Nesting {
        explicit Nesting(int& d) : depth(d) {
            if (++depth > MaxNesting) {
                --depth;
                throw EParserError(QStringLiteral("Слишком глубокая вложенность выражений"));
            }
        }
        ~Nesting() { --depth; }
        int& depth;
    } nesting(nesting_);

    Stack st;
    const qsizetype n = p.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = p[i].unicode();
        switch (c) {
            case u'+':
            case u'-':
            case u'*':
            case u'/':
            case u'<':
            case u'=':
            case u'>':
            case Op::opGreaterEq:
            case Op::opLessEq:
            case Op::opNotEq:
            case Op::opOr:
            case Op::opAnd:
            case Op::opMod: {
                st.Need(2);
                const QVariant& a = frFiniteValue(st.Top(1));
                const QVariant& b = frFiniteValue(st.Top(0));
                QVariant r;
                switch (c) {
                    case u'+':
                        r = frVarAdd(a, b, locale_);
                        break;
                    case u'-':
                        r = frVarSub(a, b, locale_);
                        break;
                    case u'*':
                    case Op::opAnd:
                        r = frVarMul(a, b, locale_);
                        break;
                    case u'/':
                        r = frVarEquals(b, QVariant(0), locale_) ? QVariant(0)
                                                                 : frVarDiv(a, b, locale_);
                        break;
                    case Op::opOr:
                        r = frVarOr(a, b, locale_);
                        break;
                    case Op::opMod:
                        // A remainder by zero (a divisor that rounds to 0) is 0, as a
                        // quotient by zero is.
                        try {
                            r = frVarMod(a, b, locale_);
                        } catch (const EDivByZero&) {
                            r = 0;
                        }
                        break;
                    case u'=':
                        r = Truth(frVarEquals(a, b, locale_));
                        break;
                    case Op::opNotEq:
                        r = Truth(!frVarEquals(a, b, locale_));
                        break;
                    case u'<':
                        r = Truth(frVarCompare(a, b, locale_) < 0);
                        break;
                    case u'>':
                        r = Truth(frVarCompare(a, b, locale_) > 0);
                        break;
                    case Op::opGreaterEq:
                        r = Truth(frVarCompare(a, b, locale_) >= 0);
                        break;
                    case Op::opLessEq:
                        r = Truth(frVarCompare(a, b, locale_) <= 0);
                        break;
                    default:
                        break;
                }
                frFiniteValue(r);
                st.Drop();
                st.Top() = std::move(r);
                ++i;
                continue;
            }
            case Op::opInt:
            case Op::opFrac:
            case Op::opRound:
            case Op::opNeg:
            case Op::opPlus:
            case Op::opStr:
            case Op::opNot: {
                st.Need(1);
                QVariant& v = st.Top();
                frFiniteValue(v);
                switch (c) {
                    case Op::opInt:
                        v = std::trunc(SnapToInteger(frVarToReal(v, locale_)));
                        break;
                    case Op::opFrac: {
                        const double x = SnapToInteger(frVarToReal(v, locale_));
                        v = x - std::trunc(x);
                        break;
                    }
                    case Op::opRound:
                        v = RoundToInteger(frVarToReal(v, locale_));
                        break;
                    case Op::opNeg:
                        v = frVarNeg(v, locale_);
                        break;
                    case Op::opStr:
                        v = frVarToString(v, locale_);
                        break;
                    case Op::opNot:
                        v = Truth(frVarEquals(v, QVariant(0), locale_));
                        break;
                    default:
                        break;
                }
                ++i;
                continue;
            }
            case u'[': {
                qsizetype start = i;
                qsizetype finish = i;
                const QString name = frFindBracket(p, start, finish);
                i = finish + 1;
                QVariant v;
                if (ValueCallback)
                    ValueCallback(name, v);
                st.Push(std::move(v));
                continue;
            }
            case u'\'':
                st.Push(frLiteralText(frReadLiteral(p, i)));
                continue;
            default:
                if (c <= u' ' || c == u'(' || c == u')' || c == u';') {
                    ++i;
                    continue;
                }
                st.Push(Operand(p, i));
                continue;
        }
    }
    return frFiniteValue(st.Result());
}

QVariant TfrParser::Operand(const QString& p, qsizetype& i) {
    const qsizetype from = i;
    const QString name = frReadName(p, i);
    if (i == from)
        ++i;  // a character no name is made of: skipped
    if (StartsNumber(name)) {
        QString text = name;
        const QChar sep = locale_.DecimalSeparator;
        for (QChar& ch : text)
            if (ch == u',' || ch == u'.')
                ch = sep;
        return frStrToFloat(text, locale_);
    }
    const QString upper = name.toUpper();
    if (upper == u"TRUE" || upper == u"FALSE")
        return upper == u"TRUE";
    if (i < p.size() && p[i] == u'[') {
        qsizetype start = i;
        qsizetype finish = i;
        const QString index = frFindBracket(p, start, finish);
        i = finish + 1;
        return Evaluate(QStringLiteral("GETARRAY(%1, %2)").arg(name, index));
    }
    if (i < p.size() && p[i] == u'(')
        return Call(upper, frReadArguments(p, i));
    QVariant v;
    if (ValueCallback)
        ValueCallback(upper, v);
    return v;
}

QVariant TfrParser::Call(const QString& name, const QStringList& args) {
    const QString p1 = args.value(0);
    const QString p2 = args.value(1);
    const QString p3 = args.value(2);
    if (name == u"COPY") {
        const QString text = frVarToString(Evaluate(p1), locale_);
        qint64 start = frStrToInt(frVarToString(Evaluate(p2), locale_));
        qint64 count = frStrToInt(frVarToString(Evaluate(p3), locale_));
        if (start < 1)
            start = 1;
        if (start > text.size() || count <= 0)
            return QString();
        return text.mid(start - 1, std::min<qint64>(count, text.size()));
    }
    if (name == u"IF") {
        const QVariant condition = Evaluate(p1);
        // A logical condition counts as itself; anything else as the number its text gives.
        const bool holds =
            condition.typeId() == QMetaType::Bool
                ? condition.toBool()
                : std::trunc(frStrToFloat(frVarToString(condition, locale_), locale_)) != 0;
        return Evaluate(holds ? p2 : p3);
    }
    if (name == u"STRTODATE")
        return frDateTimeValue(frStrToDate(frVarToString(Evaluate(p1), locale_), locale_));
    if (name == u"STRTOTIME")
        return frDateTimeValue(frStrToTime(frVarToString(Evaluate(p1), locale_), locale_));
    QVariant v;
    if (FunctionCallback)
        FunctionCallback(name, p1, p2, p3, v);
    return v;
}
