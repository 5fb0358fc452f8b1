#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The engine's stream primitives, little-endian. A string is a 16-bit count of its UTF-8
// bytes, the bytes and one zero byte; a string list is a 16-bit line count, then per line a
// 16-bit byte count and the bytes with byte 13 between lines, and one zero byte at the end.
// Reading past the end raises EStreamError, and so does a string too long for its count.

void frWriteByte(QIODevice& stream, quint8 value);
void frWriteWord(QIODevice& stream, quint16 value);
void frWriteInt(QIODevice& stream, qint32 value);
// A 16-bit boolean: all bits set for true.
void frWriteBool16(QIODevice& stream, bool value);
void frWriteString(QIODevice& stream, const QString& text);
void frWriteMemo(QIODevice& stream, const QStringList& lines);

quint8 frReadByte(QIODevice& stream);
quint16 frReadWord(QIODevice& stream);
qint32 frReadInt(QIODevice& stream);
bool frReadBool16(QIODevice& stream);
QString frReadString(QIODevice& stream);
QStringList frReadMemo(QIODevice& stream);

// Writes a 32-bit value at an earlier position and comes back to the end.
void frPatchInt(QIODevice& stream, qint64 position, qint32 value);
