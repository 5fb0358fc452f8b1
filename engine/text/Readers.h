#pragma once

#include <QString>
#include <QStringList>

// The readers both stages of the evaluator share. Positions are 0-based; each reader leaves `i`
// on the first character it did not take.

// Characters at or below the space are skipped, then a name is read up to a carriage return,
// space, "(", ")", "*", "+", "-", "/", "<", "=", ">", "[" or ";". Inside double quotes these
// belong to the name: ‹"Order items".Total› is one name.
QString frReadName(const QString& s, qsizetype& i);

// A quoted text from the quote at `i` to its closing quote, both included; two quotes in a row
// stand for one and do not close it. An unclosed text runs to the end.
QString frReadLiteral(const QString& s, qsizetype& i);
// The text a literal stands for: outer quotes removed, doubled quotes made single.
QString frLiteralText(const QString& literal);

// The arguments of a call whose "(" is at `i`, split at commas outside nested parentheses and
// quotes, trimmed; `i` ends after the matching ")". An unclosed call raises EParserError with an
// empty message; a call with more than three arguments raises it with a message that says so.
QStringList frReadArguments(const QString& s, qsizetype& i);

inline constexpr int frMaxArguments = 3;
