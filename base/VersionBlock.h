#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The binary version-information block: nested nodes of
//   wLength, wValueLength, wType (16 bits each), key in UTF-16LE with a terminating zero,
//   padding to 32 bits, the value, padding to 32 bits, the children;
// the root "VS_VERSION_INFO" holds the fixed file information, then "StringFileInfo" with one
// string table per translation and "VarFileInfo" with "Translation".

// Name of the ELF section the build puts the executable's block in.
inline constexpr char kVersionSectionName[] = "qb_versioninfo";

// One node of the block. A text value is counted in UTF-16 units, a binary one in bytes.
struct VersionNode {
    QString key;
    bool text{false};
    QByteArray value;  // the value bytes as stored (UTF-16LE for a text value)
    QList<VersionNode> children;

    // A text node; an empty text gets no value at all, not a lone terminating zero.
    static VersionNode Text(const QString& key, const QString& value);
    static VersionNode Binary(const QString& key, const QByteArray& value);
};

// Writes one node with its children. Its wLength ends with its last part; the padding before a
// following sibling belongs to the parent.
QByteArray WriteVersionNode(const VersionNode& node);

struct VersionTranslation {
    quint16 language{0};
    quint16 codePage{0};
};

// The string table of one translation; entries keep their order, and one left out is absent.
struct VersionStringTable {
    VersionTranslation translation;
    QList<std::pair<QString, QString>> entries;
};

struct VersionBlockContents {
    std::array<quint16, 4> fileVersion{};
    std::array<quint16, 4> productVersion{};
    QList<VersionStringTable> tables;
    // The "Translation" value, in this order.
    QList<VersionTranslation> translations;
};

// The key of a string table: language and code page as eight upper-case hexadecimal digits.
QString TranslationKey(VersionTranslation translation);

// Parses "a.b.c.d" (one to four numbers up to 65535; missing ones are 0).
std::optional<std::array<quint16, 4>> ParseVersionNumbers(const QString& text);

// The whole block; raises Failure when it would outgrow the 16-bit lengths.
QByteArray BuildVersionBlock(const VersionBlockContents& contents);

// Size of the block at the start of the data, as its root header gives it; 0 when the data
// does not start with a well-formed "VS_VERSION_INFO" node.
int VersionBlockSize(const QByteArray& data);

// What a value query answers: the value bytes as stored, and the length the system reports,
// in characters for a text value (with its terminating zero, when it has one), else in bytes.
struct VersionValue {
    QByteArray data;
    bool text{false};
    int length{0};

    // A text value up to its first zero.
    QString Text() const;
};

// Looks a value up by a "\"-separated path, comparing keys without regard to case:
// "\" gives the fixed file information, "\VarFileInfo\Translation" the raw translations,
// "\StringFileInfo\041904E3\FileVersion" the text. Nothing when the path leads nowhere or the
// block is malformed on the way.
std::optional<VersionValue> QueryVersionValue(const QByteArray& block, const QString& path);
