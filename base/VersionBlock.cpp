#include "VersionBlock.h"

#include "Failure.h"

#include <QStringList>
#include <algorithm>

namespace {

constexpr qsizetype kHeaderSize = 6;
constexpr quint16 kTypeText = 1;

void AppendU16(QByteArray& out, quint16 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void AppendU32(QByteArray& out, quint32 value) {
    AppendU16(out, static_cast<quint16>(value & 0xFFFF));
    AppendU16(out, static_cast<quint16>(value >> 16));
}

void PutU16(QByteArray& out, qsizetype at, quint16 value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

quint16 GetU16(const QByteArray& data, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(data[at]) |
                                (static_cast<quint8>(data[at + 1]) << 8));
}

QByteArray Utf16Le(const QString& text, bool terminated) {
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (QChar c : text)
        AppendU16(out, c.unicode());
    if (terminated)
        AppendU16(out, 0);
    return out;
}

void PadTo32(QByteArray& out) {
    while (out.size() % 4 != 0)
        out.append('\0');
}

constexpr qsizetype Align32(qsizetype at) {
    return (at + 3) & ~qsizetype{3};
}

quint16 CheckedU16(qsizetype value) {
    if (value > 0xFFFF)
        throw Failure(QStringLiteral("Version information block too large"));
    return static_cast<quint16>(value);
}

// One node as found in a block: [begin, end) is what its wLength covers.
struct ParsedNode {
    qsizetype end{0};
    QString key;
    bool text{false};
    qsizetype valueBegin{0};
    qsizetype valueSize{0};  // bytes
    qsizetype childrenBegin{0};
};

std::optional<ParsedNode> ParseNode(const QByteArray& data, qsizetype at, qsizetype limit) {
    if (at < 0 || limit - at < kHeaderSize)
        return std::nullopt;
    const qsizetype length = GetU16(data, at);
    const quint16 valueLength = GetU16(data, at + 2);
    const quint16 type = GetU16(data, at + 4);
    if (length < kHeaderSize || length > limit - at)
        return std::nullopt;

    ParsedNode node;
    node.end = at + length;
    node.text = type == kTypeText;
    qsizetype p = at + kHeaderSize;
    bool terminated = false;
    while (node.end - p >= 2) {
        const quint16 unit = GetU16(data, p);
        p += 2;
        if (unit == 0) {
            terminated = true;
            break;
        }
        node.key.append(QChar(unit));
    }
    if (!terminated)
        return std::nullopt;

    // A value that claims more than its node holds is cut at the node's end.
    node.valueBegin = std::min(Align32(p), node.end);
    const qsizetype claimed = node.text ? qsizetype{valueLength} * 2 : qsizetype{valueLength};
    node.valueSize = std::min(claimed, node.end - node.valueBegin);
    node.childrenBegin = Align32(node.valueBegin + node.valueSize);
    return node;
}

std::optional<ParsedNode> FindChild(const QByteArray& data, const ParsedNode& parent,
                                    const QString& key) {
    qsizetype at = parent.childrenBegin;
    while (at < parent.end) {
        std::optional<ParsedNode> child = ParseNode(data, at, parent.end);
        if (!child)
            return std::nullopt;
        if (child->key.compare(key, Qt::CaseInsensitive) == 0)
            return child;
        at = Align32(child->end);
    }
    return std::nullopt;
}

}  // namespace

VersionNode VersionNode::Text(const QString& key, const QString& value) {
    return VersionNode{key, true, value.isEmpty() ? QByteArray() : Utf16Le(value, true), {}};
}

VersionNode VersionNode::Binary(const QString& key, const QByteArray& value) {
    return VersionNode{key, false, value, {}};
}

QByteArray WriteVersionNode(const VersionNode& node) {
    QByteArray out(kHeaderSize, '\0');
    out.append(Utf16Le(node.key, true));
    if (!node.value.isEmpty()) {
        PadTo32(out);
        out.append(node.value);
    }
    for (const VersionNode& child : node.children) {
        PadTo32(out);
        out.append(WriteVersionNode(child));
    }
    PutU16(out, 0, CheckedU16(out.size()));
    PutU16(out, 2, CheckedU16(node.text ? node.value.size() / 2 : node.value.size()));
    PutU16(out, 4, node.text ? kTypeText : 0);
    return out;
}

QString TranslationKey(VersionTranslation translation) {
    return QStringLiteral("%1%2")
        .arg(translation.language, 4, 16, QLatin1Char('0'))
        .arg(translation.codePage, 4, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<std::array<quint16, 4>> ParseVersionNumbers(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > 4)
        return std::nullopt;
    std::array<quint16, 4> numbers{};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > 5 ||
            !std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); }))
            return std::nullopt;
        const uint n = part.toUInt();
        if (n > 0xFFFF)
            return std::nullopt;
        numbers[static_cast<size_t>(i)] = static_cast<quint16>(n);
    }
    return numbers;
}

QByteArray BuildVersionBlock(const VersionBlockContents& contents) {
    auto high = [](const std::array<quint16, 4>& v, size_t i) {
        return (quint32{v[i]} << 16) | quint32{v[i + 1]};
    };
    QByteArray fixed;
    AppendU32(fixed, 0xFEEF04BD);  // signature
    AppendU32(fixed, 0x00010000);  // structure version 1.0
    AppendU32(fixed, high(contents.fileVersion, 0));
    AppendU32(fixed, high(contents.fileVersion, 2));
    AppendU32(fixed, high(contents.productVersion, 0));
    AppendU32(fixed, high(contents.productVersion, 2));
    AppendU32(fixed, 0x3F);  // flags mask
    AppendU32(fixed, 0);     // flags
    AppendU32(fixed, 0);     // operating system: unknown
    AppendU32(fixed, 1);     // file type: application
    AppendU32(fixed, 0);     // subtype
    AppendU32(fixed, 0);     // date, high
    AppendU32(fixed, 0);     // date, low

    VersionNode root = VersionNode::Binary(QStringLiteral("VS_VERSION_INFO"), fixed);
    if (!contents.tables.isEmpty()) {
        VersionNode strings = VersionNode::Text(QStringLiteral("StringFileInfo"), QString());
        for (const VersionStringTable& table : contents.tables) {
            VersionNode node = VersionNode::Text(TranslationKey(table.translation), QString());
            for (const auto& [name, value] : table.entries)
                node.children.append(VersionNode::Text(name, value));
            strings.children.append(node);
        }
        root.children.append(strings);
    }
    QByteArray translations;
    for (const VersionTranslation& t : contents.translations) {
        AppendU16(translations, t.language);
        AppendU16(translations, t.codePage);
    }
    VersionNode vars = VersionNode::Text(QStringLiteral("VarFileInfo"), QString());
    vars.children.append(VersionNode::Binary(QStringLiteral("Translation"), translations));
    root.children.append(vars);
    return WriteVersionNode(root);
}

int VersionBlockSize(const QByteArray& data) {
    const std::optional<ParsedNode> root = ParseNode(data, 0, data.size());
    if (!root || root->key != QLatin1String("VS_VERSION_INFO"))
        return 0;
    return static_cast<int>(root->end);
}

QString VersionValue::Text() const {
    QString out;
    for (qsizetype at = 0; at + 1 < data.size(); at += 2) {
        const quint16 unit = GetU16(data, at);
        if (unit == 0)
            break;
        out.append(QChar(unit));
    }
    return out;
}

std::optional<VersionValue> QueryVersionValue(const QByteArray& block, const QString& path) {
    std::optional<ParsedNode> node = ParseNode(block, 0, block.size());
    const QStringList keys = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& key : keys) {
        if (!node)
            break;
        node = FindChild(block, *node, key);
    }
    if (!node)
        return std::nullopt;
    VersionValue value;
    value.data = block.mid(node->valueBegin, node->valueSize);
    value.text = node->text;
    value.length = static_cast<int>(node->text ? node->valueSize / 2 : node->valueSize);
    return value;
}
