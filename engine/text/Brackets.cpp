#include "Brackets.h"

QString frFindBracket(const QString& s, qsizetype& start, qsizetype& finish) {
    finish = start;
    if (s.isEmpty() || start < 0 || start >= s.size())
        return {};
    const qsizetype p = start;
    int depth = 0;
    bool outSingle = true;
    bool outDouble = true;
    for (finish = p;; ++finish) {
        const QChar c = s[finish];
        if (outSingle && outDouble) {
            if (c == u'[') {
                if (depth == 0)
                    start = finish;
                ++depth;
            } else if (c == u']' && depth > 0) {
                --depth;
            }
        }
        if (outSingle && c == u'"')
            outDouble = !outDouble;
        else if (outDouble && c == u'\'')
            outSingle = !outSingle;
        if (depth == 0 || finish == s.size() - 1)
            break;
    }
    if (finish - start < 2)
        return {};
    return s.mid(start + 1, finish - start - 1);
}
