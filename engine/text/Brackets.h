#pragma once

#include <QString>

// A bracketed expression starting at `start` (0-based). Brackets nest; brackets inside single or
// double quotes do not count. On return `start` is the opening "[" and `finish` the closing "]",
// and the result is the text between them. When s[start] is not "[", both are left at `start`
// and the result is empty. An unclosed "[" runs to the end of the text: `finish` is the last
// character, which the inner text leaves out.
QString frFindBracket(const QString& s, qsizetype& start, qsizetype& finish);
