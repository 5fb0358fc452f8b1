#include "StreamIO.h"

#include "EngineErrors.h"

#include <QtEndian>
#include <limits>

namespace {

void WriteRaw(QIODevice& stream, const char* data, qint64 size) {
    if (stream.write(data, size) != size)
        throw EStreamError(QStringLiteral("Stream write error"));
}

void ReadRaw(QIODevice& stream, char* data, qint64 size) {
    if (size > 0 && stream.read(data, size) != size)
        throw EStreamError(QStringLiteral("Stream read error"));
}

// A text as the bytes a string of the stream carries.
QByteArray Bytes(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > std::numeric_limits<quint16>::max())
        throw EStreamError(
            QStringLiteral("Строка длиннее 65535 байт не может быть записана в поток отчета"));
    return bytes;
}

void WriteBytes(QIODevice& stream, const QByteArray& bytes) {
    frWriteWord(stream, static_cast<quint16>(bytes.size()));
    WriteRaw(stream, bytes.constData(), bytes.size());
}

QString ReadBytes(QIODevice& stream) {
    const quint16 size = frReadWord(stream);
    QByteArray bytes(size, Qt::Uninitialized);
    ReadRaw(stream, bytes.data(), size);
    return QString::fromUtf8(bytes);
}

}  // namespace

void frWriteByte(QIODevice& stream, quint8 value) {
    const char c = static_cast<char>(value);
    WriteRaw(stream, &c, 1);
}

void frWriteWord(QIODevice& stream, quint16 value) {
    char buffer[2];
    qToLittleEndian(value, buffer);
    WriteRaw(stream, buffer, 2);
}

void frWriteInt(QIODevice& stream, qint32 value) {
    char buffer[4];
    qToLittleEndian(value, buffer);
    WriteRaw(stream, buffer, 4);
}

void frWriteBool16(QIODevice& stream, bool value) {
    frWriteWord(stream, value ? 0xFFFF : 0);
}

void frWriteString(QIODevice& stream, const QString& text) {
    WriteBytes(stream, Bytes(text));
    frWriteByte(stream, 0);
}

void frWriteMemo(QIODevice& stream, const QStringList& lines) {
    // The reader only asks whether lines follow, so a count beyond 16 bits is kept at the
    // largest one instead of wrapping to a count that says none do.
    const qsizetype max = std::numeric_limits<quint16>::max();
    frWriteWord(stream, static_cast<quint16>(std::min(lines.size(), max)));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            frWriteByte(stream, 13);
        WriteBytes(stream, Bytes(lines[i]));
    }
    frWriteByte(stream, 0);
}

quint8 frReadByte(QIODevice& stream) {
    char c = 0;
    ReadRaw(stream, &c, 1);
    return static_cast<quint8>(c);
}

quint16 frReadWord(QIODevice& stream) {
    char buffer[2];
    ReadRaw(stream, buffer, 2);
    return qFromLittleEndian<quint16>(buffer);
}

qint32 frReadInt(QIODevice& stream) {
    char buffer[4];
    ReadRaw(stream, buffer, 4);
    return qFromLittleEndian<qint32>(buffer);
}

bool frReadBool16(QIODevice& stream) {
    return frReadWord(stream) != 0;
}

QString frReadString(QIODevice& stream) {
    const QString text = ReadBytes(stream);
    frReadByte(stream);
    return text;
}

QStringList frReadMemo(QIODevice& stream) {
    QStringList lines;
    if (frReadWord(stream) == 0) {
        frReadByte(stream);
        return lines;
    }
    do
        lines.append(ReadBytes(stream));
    while (frReadByte(stream) != 0);
    return lines;
}

void frPatchInt(QIODevice& stream, qint64 position, qint32 value) {
    const qint64 end = stream.pos();
    if (!stream.seek(position))
        throw EStreamError(QStringLiteral("Stream write error"));
    frWriteInt(stream, value);
    stream.seek(end);
}
