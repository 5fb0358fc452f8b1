#include "Interpretator.h"

#include "Engine.h"
#include "FunctionSplitter.h"
#include "Locale.h"
#include "Page.h"
#include "ParserError.h"
#include "ProgressWindow.h"
#include "Report.h"
#include "TextEngine.h"
#include "Variant.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsNameChar(QChar c) {
    return IsLetter(c) || IsDigit(c) || c == u'_' || c == u'.';
}

QString TargetText(qsizetype target) {
    const QChar bytes[] = {QChar(char16_t(target & 0xFF)), QChar(char16_t((target >> 8) & 0xFF))};
    return QString(bytes, 2);
}

// The line of an assignment splits at the end of its first word: the name, then the rest.
qsizetype NameEnd(const QString& line) {
    qsizetype i = 0;
    while (i < line.size() && line[i] <= u' ')
        ++i;
    while (i < line.size() && line[i] > u' ')
        ++i;
    return i;
}

// How much of a word the translator reads, and what marks a word as longer than that.
constexpr qsizetype kWordLength = 16;
constexpr QChar kLonger{0xFFFF};

// Statements between two looks at the progress window's cancel button.
constexpr int kStepsBetweenEvents = 1024;

}  // namespace

// --- translation ---------------------------------------------------------------------------

// One translation: the text buffer with its reading position, the comments cut out of it, the
// code lines written so far and the first error.
class TfrInterpretator::Translation {
public:
    Translation(const QStringList& source, QStringList& code, QStringList& errors,
                std::vector<TfrScriptLabel>& labels)
        : code_(code), errors_(errors), labels_(labels) {
        lineLengths_.reserve(source.size());
        for (const QString& line : source) {
            lineLengths_.push_back(line.size());
            buf_ += line;
            buf_ += u'\r';
        }
        buf_.replace(u'\t', u' ');
    }

    void Run() {
        if (buf_.size() > MaxScriptLength) {
            // Nothing is translated: the buffer ends inside the script.
            Report(MaxScriptLength,
                   QStringLiteral("Сценарий длиннее %1 знаков").arg(MaxScriptLength), false);
            return;
        }
        if (!buf_.isEmpty())
            Statement();
        // A jump whose target the failed statement did not reach leaves the script.
        for (const qsizetype line : pending_)
            Patch(line, code_.size());
    }

private:
    QChar At(qsizetype i) const { return i < buf_.size() ? buf_[i] : QChar(); }

    void SkipBlanks() {
        while (pos_ < buf_.size() && buf_[pos_] <= u' ')
            ++pos_;
    }

    // The next word, upper-cased; one blank at the end of the text. Comments met on the way
    // are cut out of the text; one right after a word ends the word, as a blank would.
    // Callers compare a word with keywords or look at its first characters, so a long word is
    // read only that far and marked as longer: an expression without blanks costs no more
    // than one with them.
    QString Word() {
        for (;;) {
            SkipBlanks();
            wordStart_ = pos_;
            bool quoted = false;
            bool again = false;
            while (pos_ < buf_.size() && buf_[pos_] > u' ') {
                if (pos_ - wordStart_ == kWordLength)
                    return buf_.mid(wordStart_, kWordLength).toUpper() + kLonger;
                const QChar c = buf_[pos_];
                const bool brace = c == u'{';
                if (!quoted && (brace || (c == u'/' && At(pos_ + 1) == u'/'))) {
                    qsizetype end = buf_.indexOf(brace ? u'}' : u'\r', pos_ + (brace ? 1 : 2));
                    end = end < 0 ? buf_.size() : end + 1;
                    const qsizetype length = end - pos_;
                    if (pos_ == wordStart_) {
                        buf_.remove(pos_, length);
                        comments_.push_back({pos_, length});
                        again = true;
                    } else {
                        buf_.replace(pos_, length, QStringLiteral(" "));
                        comments_.push_back({pos_, length - 1});
                    }
                    break;
                }
                if (c == u'\'')
                    quoted = !quoted;
                ++pos_;
            }
            if (again)
                continue;
            if (pos_ == wordStart_)
                return QStringLiteral(" ");
            return buf_.mid(wordStart_, pos_ - wordStart_).toUpper();
        }
    }

    // --- errors

    // The first error writes its line: the place (or its first non-blank), counted in the
    // source (comments included, from 1), as line and column.
    void Report(qsizetype place, const QString& message, bool firstNonBlank = true) {
        error_ = true;
        if (reported_)
            return;
        reported_ = true;
        while (firstNonBlank && place < buf_.size() && buf_[place] <= u' ')
            ++place;
        qsizetype p = place + 1;
        for (const Comment& c : comments_) {
            if (c.Offset <= place)
                p += c.Length;
        }
        qsizetype before = 0;
        qsizetype line = 0;
        qsizetype column = 0;
        for (qsizetype k = 0; k < qsizetype(lineLengths_.size()); ++k) {
            if (before + lineLengths_[size_t(k)] + 1 >= p) {
                line = k + 1;
                column = p - before;
                break;
            }
            before += lineLengths_[size_t(k)] + 1;
        }
        if (line == 0)
            line = qsizetype(lineLengths_.size()) + 1;
        errors_.append(QStringLiteral("Line %1/%2: %3").arg(line).arg(column).arg(message));
    }

    // The state a trial parse restores when it does not fit.
    struct Mark {
        qsizetype Pos{0};
        bool Error{false};
        bool Reported{false};
        qsizetype Errors{0};
    };
    Mark Save() const { return {pos_, error_, reported_, errors_.size()}; }
    void Restore(const Mark& m) {
        pos_ = m.Pos;
        error_ = m.Error;
        reported_ = m.Reported;
        while (errors_.size() > m.Errors)
            errors_.removeLast();
    }

    // --- code

    qsizetype Add(const QString& line) {
        code_.append(line);
        return code_.size() - 1;
    }
    // A jump whose target comes later.
    qsizetype AddJump(QChar code, const QString& condition = QString()) {
        const qsizetype at = Add(code + TargetText(0) + condition);
        pending_.push_back(at);
        return at;
    }
    void Patch(qsizetype line, qsizetype target) {
        code_[line] = code_[line].left(1) + TargetText(target) + code_[line].mid(3);
        std::erase(pending_, line);
    }
    QString Source(qsizetype from) const { return buf_.mid(from, pos_ - from).trimmed(); }

    // --- expressions: checked here, kept as text, converted to postfix after the statement

    void Expression() {
        const Level level(*this);
        if (!level.Ok())
            return;
        SimpleExpression();
        if (error_)
            return;
        const qsizetype save = pos_;
        const QString w = Word();
        if (w.startsWith(QStringLiteral(">=")) || w.startsWith(QStringLiteral("<=")) ||
            w.startsWith(QStringLiteral("<>"))) {
            pos_ = wordStart_ + 2;
        } else if (w.startsWith(u'<') || w.startsWith(u'=') || w.startsWith(u'>')) {
            pos_ = wordStart_ + 1;
        } else {
            pos_ = save;
            return;
        }
        SimpleExpression();
    }

    // Term, then as long as "+", "-" or "OR" follows, another term.
    void SimpleExpression() {
        for (;;) {
            Term();
            if (error_)
                return;
            const qsizetype save = pos_;
            const QString w = Word();
            if (w.startsWith(u'+') || w.startsWith(u'-'))
                pos_ = wordStart_ + 1;
            else if (w.startsWith(QStringLiteral("OR")))
                pos_ = wordStart_ + 2;
            else {
                pos_ = save;
                return;
            }
        }
    }

    // Factor, then as long as "*", "/", "AND" or "MOD" follows, another factor.
    void Term() {
        for (;;) {
            Factor();
            if (error_)
                return;
            const qsizetype save = pos_;
            const QString w = Word();
            if (w.startsWith(u'*') || w.startsWith(u'/'))
                pos_ = wordStart_ + 1;
            else if (w.startsWith(QStringLiteral("AND")) || w.startsWith(QStringLiteral("MOD")))
                pos_ = wordStart_ + 3;
            else {
                pos_ = save;
                return;
            }
        }
    }

    void Factor() {
        const QString w = Word();
        const qsizetype start = wordStart_;
        if (w.startsWith(u'(')) {
            pos_ = start + 1;
            Expression();
            if (error_)
                return;
            SkipBlanks();
            if (At(pos_) == u')')
                ++pos_;
            else
                Report(pos_, QStringLiteral("Need \")\" here"));
            return;
        }
        if (w.startsWith(u'[')) {
            SkipBracket(start);
            return;
        }
        if (w.startsWith(u'+') || w.startsWith(u'-')) {
            pos_ = start + 1;
            Expression();
            return;
        }
        if (w == u"NOT") {
            Expression();
            return;
        }
        pos_ = start;
        if (Designator() || Number() || String() || Call())
            return;
        Report(start, QStringLiteral("Здесь нужно выражение"));
    }

    // From the "[" at `start` to its matching "]", brackets inside quotes not counted.
    void SkipBracket(qsizetype start) {
        int depth = 0;
        bool single = false;
        bool dbl = false;
        for (qsizetype i = start; i < buf_.size(); ++i) {
            const QChar c = buf_[i];
            if (c == u'\'' && !dbl)
                single = !single;
            else if (c == u'"' && !single)
                dbl = !dbl;
            else if (!single && !dbl && c == u'[')
                ++depth;
            else if (!single && !dbl && c == u']' && --depth == 0) {
                pos_ = i + 1;
                return;
            }
        }
        Report(buf_.size(), QStringLiteral("Need \"]\" here"));
    }

    // A letter, then letters, digits, "_" and "."; not followed by "(" (that is a call), and
    // optionally indexed: name[expression]. Fills the name and the index text when it fits.
    bool Designator(QString* name = nullptr, QString* index = nullptr) {
        qsizetype p = pos_;
        if (!IsLetter(At(p)))
            return false;
        while (IsNameChar(At(p)))
            ++p;
        if (At(p) == u'(')
            return false;
        const QString text = buf_.mid(pos_, p - pos_);
        if (At(p) == u'[') {
            const Mark mark = Save();
            pos_ = p + 1;
            const qsizetype from = pos_;
            Expression();
            if (!error_) {
                SkipBlanks();
                if (At(pos_) == u']') {
                    if (index)
                        *index = buf_.mid(from, pos_ - from).trimmed();
                    ++pos_;
                    if (name)
                        *name = text;
                    return true;
                }
            }
            Restore(mark);
            return false;
        }
        pos_ = p;
        if (name)
            *name = text;
        return true;
    }

    bool Number() {
        qsizetype p = pos_;
        if (!IsDigit(At(p)))
            return false;
        while (IsDigit(At(p)))
            ++p;
        if (At(p) == u'.' && IsDigit(At(p + 1))) {
            ++p;
            while (IsDigit(At(p)))
                ++p;
        }
        pos_ = p;
        return true;
    }

    bool String() {
        qsizetype p = pos_;
        if (At(p) != u'\'')
            return false;
        for (++p;; ++p) {
            if (p >= buf_.size())
                return false;
            if (buf_[p] != u'\'')
                continue;
            if (At(p + 1) != u'\'')
                break;
            ++p;
        }
        pos_ = p + 1;
        return true;
    }

    bool Call() {
        if (!IsLetter(At(pos_)))
            return false;
        while (IsNameChar(At(pos_)))
            ++pos_;
        if (At(pos_) != u'(')
            return true;
        ++pos_;
        SkipBlanks();
        if (At(pos_) == u')') {
            ++pos_;
            return true;
        }
        for (;;) {
            Expression();
            if (error_)
                return true;
            SkipBlanks();
            if (At(pos_) == u',') {
                ++pos_;
                continue;
            }
            if (At(pos_) == u')') {
                ++pos_;
                return true;
            }
            Report(pos_, QStringLiteral("Need \",\" or \")\" here"));
            return true;
        }
    }

    // --- statements

    // Statements and expressions nested deeper than this are refused, not followed down.
    static constexpr int kMaxDepth = 200;

    // Counts one level of nesting while it lives; false when that is one too many.
    class Level {
    public:
        explicit Level(Translation& t) : t_(t) {
            if (++t_.depth_ > kMaxDepth)
                t_.Report(t_.pos_, QStringLiteral("Слишком глубокая вложенность"));
        }
        ~Level() { --t_.depth_; }
        bool Ok() const { return t_.depth_ <= kMaxDepth; }

    private:
        Translation& t_;
    };

    void Statement() {
        const Level level(*this);
        if (!level.Ok())
            return;
        error_ = false;
        qsizetype saved = pos_;
        QString w = Word();
        // Labels before the statement, as many as are written.
        while (w != u" " && IsDigit(buf_[wordStart_])) {
            pos_ = wordStart_;
            if (!Label())
                break;
            if (error_)
                return;
            saved = pos_;
            w = Word();
        }
        if (w == u"BEGIN")
            return Compound();
        if (w == u"IF")
            return If();
        if (w == u"REPEAT")
            return Repeat();
        if (w == u"WHILE")
            return While();
        if (w == u"FOR")
            return For();
        if (w == u"GOTO")
            return Goto();
        // Empty statements: before "end" or "until", and also before ";" or "else" and at the
        // end of the text.
        if (w == u"END" || w == u"END;" || w == u"UNTIL" || w == u"ELSE" || w.startsWith(u';') ||
            w == u" ") {
            pos_ = saved;
            return;
        }
        pos_ = wordStart_;
        const qsizetype start = pos_;
        QString name;
        QString index;
        if (!Designator(&name, &index)) {
            pos_ = start;
            Expression();
            if (!error_)
                Add(CodeCall + Source(start));
            return;
        }
        Assignment(name, index);
    }

    // Digits followed directly by ":" label the statement after them; the reader then stands
    // after the colon.
    bool Label() {
        qsizetype p = pos_;
        while (IsDigit(At(p)))
            ++p;
        if (p == pos_ || At(p) != u':')
            return false;
        const QString text = buf_.mid(pos_, p + 1 - pos_).left(MaxLabelLength);
        const bool known = std::any_of(labels_.begin(), labels_.end(),
                                       [&](const TfrScriptLabel& l) { return l.Text == text; });
        if (!known) {
            if (labels_.size() >= size_t(MaxLabels)) {
                Report(pos_, QStringLiteral("Больше %1 меток").arg(MaxLabels));
                return true;
            }
            labels_.push_back({text, qint32(code_.size())});
        }
        pos_ = p + 1;
        return true;
    }

    // After the designator: ":=" and an expression, or nothing at all for a call.
    void Assignment(const QString& name, const QString& index) {
        const qsizetype after = pos_;
        const QString w = Word();
        if (w == u";" || w == u"END" || w == u"ELSE") {
            Add(CodeCall + name + QStringLiteral("(0)"));
            pos_ = after;
            return;
        }
        if (!w.startsWith(QStringLiteral(":="))) {
            Report(wordStart_, QStringLiteral("Need \":=\" here"));
            return;
        }
        pos_ = wordStart_ + 2;
        const qsizetype from = pos_;
        Expression();
        if (error_)
            return;
        if (!index.isEmpty())
            Add(CodeCall + QStringLiteral("SETARRAY(%1, %2, %3)").arg(name, index, Source(from)));
        else
            Add(name + u' ' + Source(from));
    }

    void Compound() {
        for (;;) {
            Statement();
            if (error_)
                return;
            const QString w = Word();
            if (w.startsWith(u';')) {
                pos_ = wordStart_ + 1;
                continue;
            }
            if (w == u"END" || w == u"END;") {
                pos_ = wordStart_ + 3;
                return;
            }
            Report(wordStart_, QStringLiteral("Need \";\" or \"end\" here"));
            return;
        }
    }

    void If() {
        const qsizetype from = pos_;
        Expression();
        if (error_)
            return;
        const qsizetype b = AddJump(CodeIf, Source(from));
        if (Word() != u"THEN") {
            Report(wordStart_, QStringLiteral("Need \"then\" here"));
            return;
        }
        Statement();
        if (error_)
            return;
        const qsizetype save = pos_;
        if (Word() != u"ELSE") {
            pos_ = save;
            Patch(b, code_.size());
            return;
        }
        const qsizetype c = AddJump(CodeGoto);
        Patch(b, code_.size());
        Statement();
        if (error_)
            return;
        Patch(c, code_.size());
    }

    void Repeat() {
        const qsizetype a = code_.size();
        for (;;) {
            Statement();
            if (error_)
                return;
            const QString w = Word();
            if (w == u"UNTIL") {
                const qsizetype from = pos_;
                Expression();
                if (!error_)
                    Add(CodeIf + TargetText(a) + Source(from));
                return;
            }
            if (w.startsWith(u';')) {
                pos_ = wordStart_ + 1;
                continue;
            }
            Report(wordStart_, QStringLiteral("Need \";\" or \"until\" here"));
            return;
        }
    }

    void While() {
        const qsizetype from = pos_;
        Expression();
        if (error_)
            return;
        const qsizetype a = AddJump(CodeIf, Source(from));
        if (Word() != u"DO") {
            Report(wordStart_, QStringLiteral("Need \"do\" here"));
            return;
        }
        Statement();
        if (error_)
            return;
        Add(CodeGoto + TargetText(a));
        Patch(a, code_.size());
    }

    void For() {
        SkipBlanks();
        const qsizetype start = pos_;
        QString name;
        QString index;
        if (!Designator(&name, &index)) {
            Report(start, QStringLiteral("Здесь нужна переменная"));
            return;
        }
        const QString variable = Source(start);
        Assignment(name, index);
        if (error_)
            return;
        if (Word() != u"TO") {
            Report(wordStart_, QStringLiteral("Need \"to\" here"));
            return;
        }
        const qsizetype from = pos_;
        Expression();
        if (error_)
            return;
        const qsizetype c = AddJump(CodeIf, variable + QStringLiteral("<=") + Source(from));
        if (Word() != u"DO") {
            Report(wordStart_, QStringLiteral("Need \"do\" here"));
            return;
        }
        Statement();
        if (error_)
            return;
        Add(variable + u' ' + variable + QStringLiteral("+1"));
        Add(CodeGoto + TargetText(c));
        Patch(c, code_.size());
    }

    void Goto() {
        SkipBlanks();
        const qsizetype from = pos_;
        while (IsDigit(At(pos_)))
            ++pos_;
        if (pos_ == from) {
            Report(from, QStringLiteral("\"goto\" label must be a number"));
            return;
        }
        Add(CodeGoto + buf_.mid(from, pos_ - from));
    }

    struct Comment {
        qsizetype Offset{0};
        qsizetype Length{0};
    };

    QString buf_;
    std::vector<qsizetype> lineLengths_;
    qsizetype pos_{0};
    qsizetype wordStart_{0};
    bool error_{false};
    bool reported_{false};
    int depth_{0};
    std::vector<Comment> comments_;
    std::vector<qsizetype> pending_;
    QStringList& code_;
    QStringList& errors_;
    std::vector<TfrScriptLabel>& labels_;
};

TfrInterpretator::TfrInterpretator(const TfrLocale& locale) : parser_(locale) {
    parser_.ValueCallback = [this](const QString& name, QVariant& value) {
        FetchValue(name, value);
    };
    parser_.FunctionCallback = [this](const QString& name, const QString& p1, const QString& p2,
                                      const QString& p3, QVariant& value) {
        CallScriptFunction(name, p1, p2, p3, value);
    };
}

TfrInterpretator::~TfrInterpretator() = default;

void TfrInterpretator::FetchValue(const QString&, QVariant&) {}

void TfrInterpretator::StoreValue(const QString&, const QVariant&) {}

void TfrInterpretator::CallScriptFunction(const QString&, const QString&, const QString&,
                                          const QString&, QVariant&) {}

void TfrInterpretator::TranslateScript(const QStringList& source, QStringList& code,
                                       QStringList& errors) {
    const QStringList lines = source;  // the source may be the code list
    labels_.clear();
    code.clear();
    errors.clear();
    Translation(lines, code, errors, labels_).Run();

    for (QString& line : code) {
        if (line.isEmpty())
            continue;
        try {
            switch (line[0].unicode()) {
                case CodeGoto.unicode(): {
                    const QString key = line.mid(1) + u':';
                    const auto label =
                        std::find_if(labels_.begin(), labels_.end(),
                                     [&](const TfrScriptLabel& l) { return l.Text == key; });
                    if (label != labels_.end())
                        line = CodeGoto + TargetText(label->Line);
                    break;
                }
                case CodeIf.unicode():
                    line = line.left(3) + parser_.ToPostfix(line.mid(3));
                    break;
                case CodeCall.unicode():
                    line = line.left(1) + parser_.ToPostfix(line.mid(1));
                    break;
                default: {
                    const qsizetype end = NameEnd(line);
                    line = line.left(end + 1) + parser_.ToPostfix(line.mid(end));
                    break;
                }
            }
        } catch (const Failure& e) {
            // The line stays as written: running it raises the same error.
            errors.append(e.Message());
        }
    }
}

void TfrInterpretator::RunScript(const QStringList& code) {
    if (code.isEmpty())
        return;
    if (runNesting_ >= MaxRunNesting)
        throw EParserError(QStringLiteral("Сценарий вызывает сам себя слишком глубоко"));
    ++runNesting_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{runNesting_};

    const QStringList lines = code;  // what the script changes cannot pull its lines away
    const qsizetype n = lines.size();
    const TfrLocale& locale = parser_.Locale();
    // The line a jump goes to; the end of the list ends the run.
    const auto target = [n](const QString& line) {
        const qsizetype t = line[1].unicode() + 256 * qsizetype(line[2].unicode());
        if (t > n) {
            if (IsDigit(line[1]) && IsDigit(line[2]))
                throw EParserError(QStringLiteral("Метка не определена: %1").arg(line.mid(1)));
            throw EParserError(
                QStringLiteral("Переход за пределы сценария: строка %1 из %2").arg(t).arg(n));
        }
        return t;
    };

    qsizetype i = 0;
    while (i < n) {
        if (StopRequested())
            return;
        const QString& line = lines[i];
        if (line.isEmpty()) {
            ++i;
            continue;
        }
        switch (line[0].unicode()) {
            case CodeIf.unicode(): {
                if (line.size() < 3)
                    throw EParserError(QStringLiteral("Неверная строка сценария"));
                const QVariant v = parser_.EvaluatePostfix(line.mid(3));
                i = frVarEquals(v, QVariant(0), locale) ? target(line) : i + 1;
                break;
            }
            case CodeGoto.unicode():
                if (line.size() != 3)
                    throw EParserError(QStringLiteral("Метка не определена: %1").arg(line.mid(1)));
                i = target(line);
                break;
            case CodeCall.unicode(): {
                const QString text = line.mid(1);
                if (text.toUpper() == u"EXIT(0)")
                    return;
                parser_.EvaluatePostfix(text);
                ++i;
                break;
            }
            default: {
                const qsizetype end = NameEnd(line);
                const QString name = line.left(end).trimmed();
                StoreValue(name, parser_.EvaluatePostfix(line.mid(end)));
                ++i;
                break;
            }
        }
    }
}

void TfrInterpretator::CollectFunctions(const QStringList& code, const QStringList& functions,
                                        const TfrVariables* variables, QStringList& to) const {
    TfrFunctionSplitter splitter(functions, to, variables);
    for (const QString& line : code) {
        if (line.isEmpty())
            continue;
        switch (line[0].unicode()) {
            case CodeIf.unicode():
                splitter.Split(line.mid(3));
                break;
            case CodeGoto.unicode():
                break;
            case CodeCall.unicode():
                splitter.Split(line.mid(1));
                break;
            default:
                splitter.Split(line.mid(NameEnd(line)));
                break;
        }
    }
}

// --- the engine's interpreter ----------------------------------------------------------------

TInterpretator::TInterpretator(TfrTextEngine& engine)
    : TfrInterpretator(engine.Locale), engine_(engine) {}

void TInterpretator::FetchValue(const QString& name, QVariant& value) {
    if (engine_.Parser.ValueCallback)
        engine_.Parser.ValueCallback(name, value);
}

void TInterpretator::CallScriptFunction(const QString& name, const QString& p1, const QString& p2,
                                        const QString& p3, QVariant& value) {
    if (engine_.Parser.FunctionCallback)
        engine_.Parser.FunctionCallback(name, p1, p2, p3, value);
}

void TInterpretator::StoreValue(const QString& name, const QVariant& value) {
    TfrTextEngine& te = engine_;
    const bool modalResult = name.compare(u"MODALRESULT", Qt::CaseInsensitive) == 0;
    const bool progress = name.compare(u"PROGRESS", Qt::CaseInsensitive) == 0;
    if (!modalResult && !progress) {
        te.Expansion.StoreValue(name, value);
        return;
    }
    // A user or dictionary variable of that name comes first.
    const TfrEngineState& state = te.Engine().State();
    const bool variable =
        te.UserVariables.IndexOf(name) >= 0 ||
        (state.CurrentReport &&
         std::any_of(state.CurrentReport->Dictionary.Variables.begin(),
                     state.CurrentReport->Dictionary.Variables.end(), [&](const TfrDictEntry& e) {
                         return e.Name.compare(name, Qt::CaseInsensitive) == 0;
                     }));
    if (variable) {
        te.Expansion.StoreValue(name, value);
        return;
    }
    if (modalResult) {
        // Dialog pages are not shown as windows here: the value is only checked.
        if (state.CurrentDesignPage && state.CurrentDesignPage->Type == ptDialog)
            static_cast<void>(frVarToInt64(value, te.Locale));
        return;
    }
    if (TfrProgressWindow* window = te.Engine().ProgressWindow()) {
        window->SetLabel2(frVarToString(value, te.Locale));
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

bool TInterpretator::StopRequested() {
    if (++steps_ < kStepsBetweenEvents)
        return false;
    steps_ = 0;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    const TfrEngineState& state = engine_.Engine().State();
    const TfrReport* report = state.MainReport ? state.MainReport : state.CurrentReport;
    return report && report->CancelRequested;
}
