#include "FunctionSplitter.h"

#include "Brackets.h"
#include "Readers.h"
#include "Variables.h"

TfrFunctionSplitter::TfrFunctionSplitter(QStringList matchFunctions, QStringList& splitTo,
                                         const TfrVariables* variables)
    : match_(std::move(matchFunctions)), splitTo_(splitTo), variables_(variables) {
    for (QString& name : match_)
        name = name.toUpper();
}

void TfrFunctionSplitter::Split(const QString& s) {
    visited_.clear();
    Scan(s);
}

void TfrFunctionSplitter::Scan(const QString& s) {
    if (s.trimmed().startsWith(u'\''))
        return;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'') {
            frReadLiteral(s, i);
            continue;
        }
        if (c == u'[') {
            qsizetype start = i;
            qsizetype finish = i;
            const QString inner = frFindBracket(s, start, finish);
            i = finish + 1;
            Scan(inner);
            continue;
        }
        const qsizetype from = i;
        const QString name = frReadName(s, i);
        if (name.isEmpty()) {
            if (i == from)
                ++i;
            continue;
        }
        if (i < n && s[i] == u'(') {
            const QStringList args = frReadArguments(s, i);
            if (match_.contains(name.toUpper())) {
                const QString call = s.mid(from, i - from).trimmed();
                if (!splitTo_.contains(call))
                    splitTo_.append(call);
            } else {
                for (const QString& arg : args)
                    Scan(arg);
            }
            continue;
        }
        if (variables_) {
            const QString key = name.toUpper();
            const int index = variables_->IndexOf(name);
            if (index >= 0 && !visited_.contains(key)) {
                visited_.insert(key);
                const QVariant value = variables_->Value(index);
                if (value.typeId() == QMetaType::QString)
                    Scan(value.toString());
            }
        }
    }
}

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(QStringList& splitTo,
                                                         const TfrVariables* variables)
    : TfrFunctionSplitter({QStringLiteral("AVG"), QStringLiteral("COUNT"), QStringLiteral("MAX"),
                           QStringLiteral("MIN"), QStringLiteral("SUM")},
                          splitTo, variables) {}
