#include "Readers.h"

#include "ParserError.h"

namespace {

bool EndsName(QChar c) {
    switch (c.unicode()) {
        case u'\r':
        case u' ':
        case u'(':
        case u')':
        case u'*':
        case u'+':
        case u'-':
        case u'/':
        case u'<':
        case u'=':
        case u'>':
        case u'[':
        case u';':
            return true;
        default:
            return false;
    }
}

}  // namespace

QString frReadName(const QString& s, qsizetype& i) {
    while (i < s.size() && s[i].unicode() <= 32)
        ++i;
    const qsizetype from = i;
    bool inQuotes = false;
    while (i < s.size() && (inQuotes || !EndsName(s[i]))) {
        if (s[i] == u'"')
            inQuotes = !inQuotes;
        ++i;
    }
    return s.mid(from, i - from);
}

QString frReadLiteral(const QString& s, qsizetype& i) {
    const qsizetype from = i;
    ++i;
    while (i < s.size()) {
        if (s[i] == u'\'') {
            if (i + 1 < s.size() && s[i + 1] == u'\'') {
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        ++i;
    }
    return s.mid(from, i - from);
}

QString frLiteralText(const QString& literal) {
    QString inner = literal.mid(1);
    if (literal.size() >= 2 && inner.endsWith(u'\''))
        inner.chop(1);
    return inner.replace(QStringLiteral("''"), QStringLiteral("'"));
}

QStringList frReadArguments(const QString& s, qsizetype& i) {
    QStringList args;
    int depth = 0;
    qsizetype from = i + 1;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\'') {
            frReadLiteral(s, i);
            continue;
        }
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0) {
                const QString last = s.mid(from, i - from).trimmed();
                if (!last.isEmpty() || !args.isEmpty())
                    args.append(last);
                ++i;
                if (args.size() > frMaxArguments)
                    throw EParserError(QStringLiteral("Функции передано больше трёх аргументов: %1")
                                           .arg(args.size()));
                return args;
            }
        } else if (c == u',' && depth == 1) {
            args.append(s.mid(from, i - from).trimmed());
            from = i + 1;
        }
        ++i;
    }
    throw EParserError(QString());
}
