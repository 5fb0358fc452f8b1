#include "Expansion.h"
#include "ExpansionSupport.h"

#include "Brackets.h"
#include "DisplayFormat.h"
#include "Failure.h"
#include "MemoLayout.h"
#include "MemoView.h"
#include "Parser.h"
#include "ParserError.h"
#include "TextEngine.h"
#include "Variant.h"
#include "Variants.h"

#include <QScopeGuard>

using namespace frexpansion;

namespace {

// The position after a bracket opened at start (0-based) and its inner text; the position is
// start itself when no bracket opens there.
struct Bracket {
    qsizetype Finish{0};
    QString Inner;
};

Bracket FindBracketAt(const QString& s, qsizetype start) {
    Bracket b;
    b.Inner = frFindBracket(s, start, b.Finish);
    return b;
}

}  // namespace

void TfrExpansion::ExpandText(QString& s) {
    qsizetype i = 0;
    for (;;) {
        while (i < s.size() - 1 && s[i] != u'[')
            ++i;
        if (i >= s.size())
            return;
        const Bracket b = FindBracketAt(s, i);
        if (b.Finish == i)
            return;
        // A bracket that the text never closes would lose its last character and print
        // a part of its expression: it is refused instead.
        if (b.Finish == s.size() - 1 && FindBracketAt(s + u' ', i).Finish != b.Finish)
            throw EParserError(QStringLiteral("Нет закрывающей скобки: \"%1\"").arg(s.mid(i)));
        s.remove(i, b.Finish - i + 1);
        const QString v = BracketValue(b.Inner);
        s.insert(i, v);
        i += v.size();
    }
}

void TfrExpansion::ExpandMemo(TfrMemoView& memo) {
    // An object met again while its own text is being expanded (its CALCWIDTH, a CALCHEIGHT
    // call) takes its text unexpanded: expanding it again would never end.
    const bool reentered = expanding_.contains(&memo);
    expanding_.append(&memo);
    const auto done = qScopeGuard([&] { expanding_.removeOne(&memo); });
    // A copy: what the brackets do may change the object's own lines.
    const QStringList source = memo.Memo;
    QStringList lines;
    for (QString s : source) {
        if (!s.isEmpty() && !Has(memo.Flags, frFlagTextOnly) && !reentered)
            ExpandText(s);
        if (s.isEmpty())
            lines.append(QString());
        else
            lines.append(frSplitLines(s));
    }
    memo.WorkMemo = lines;
}

QString TfrExpansion::BracketValue(const QString& expression) {
    TfrTextEngine& te = engine_;
    te.ExpressionInProgress.clear();
    const TfrView* view = frEngineState().CurrentView;
    qint32 format = view ? view->DisplayFormat : 0;
    QString pattern = view ? view->DisplayFormatText : QString();
    QString e = expression;
    if (const qsizetype mark = e.indexOf(QStringLiteral(" #")); mark >= 0) {
        const TfrInlineFormat inlineFormat = frParseInlineFormat(e.mid(mark + 2), format);
        format = inlineFormat.Format;
        pattern = inlineFormat.Pattern;
        e.truncate(mark);
    }
    te.CurrentValue = 0;
    te.CurrentValue = frFiniteValue(LookUpValue(e));
    if (view && Has(view->Flags, frFlagHideZeros) &&
        te.CurrentValue.typeId() != QMetaType::QString) {
        try {
            if (frVarEquals(te.CurrentValue, QVariant(0), te.Locale))
                te.CurrentValue = QString();
        } catch (const Failure&) {
            // a value that cannot be compared with 0 is shown as it is
        }
    }
    if (te.CollectingAggregates)
        return QString();
    return frFormatValue(te.CurrentValue, format, pattern, te.Locale, te.Presets);
}
