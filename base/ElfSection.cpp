#include "ElfSection.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr quint32 kSectionNoBits = 8;       // SHT_NOBITS: occupies no bytes in the file
constexpr quint32 kExtendedIndex = 0xFFFF;  // SHN_XINDEX

// Reads only the parts it is asked for, and only inside the file.
class FileReader {
public:
    explicit FileReader(const QString& path) : file_(path) {
        if (file_.open(QIODevice::ReadOnly))
            size_ = file_.size();
    }

    std::optional<QByteArray> Read(quint64 offset, quint64 length) {
        if (offset > quint64(size_) || length > quint64(size_) - offset)
            return std::nullopt;
        if (!file_.seek(qint64(offset)))
            return std::nullopt;
        QByteArray bytes = file_.read(qint64(length));
        if (quint64(bytes.size()) != length)
            return std::nullopt;
        return bytes;
    }

    quint64 Size() const { return quint64(size_); }

private:
    QFile file_;
    qint64 size_{0};
};

// Callers stay inside the bytes; the check keeps it so should one of them slip.
template <typename T>
T Get(const QByteArray& bytes, qsizetype at) {
    if (at < 0 || bytes.size() - at < qsizetype(sizeof(T)))
        return T{0};
    return qFromLittleEndian<T>(bytes.constData() + at);
}

struct Layout {
    bool wide{false};  // 64-bit
    qsizetype headerSize{0};
    qsizetype sectionHeaderSize{0};
};

struct SectionHeader {
    quint32 name{0};
    quint32 type{0};
    quint64 offset{0};
    quint64 size{0};
    quint32 link{0};
};

SectionHeader ParseSectionHeader(const Layout& layout, const QByteArray& table, qsizetype at) {
    SectionHeader h;
    h.name = Get<quint32>(table, at);
    h.type = Get<quint32>(table, at + 4);
    if (layout.wide) {
        h.offset = Get<quint64>(table, at + 24);
        h.size = Get<quint64>(table, at + 32);
        h.link = Get<quint32>(table, at + 40);
    } else {
        h.offset = Get<quint32>(table, at + 16);
        h.size = Get<quint32>(table, at + 20);
        h.link = Get<quint32>(table, at + 24);
    }
    return h;
}

}  // namespace

std::optional<QByteArray> ReadElfSection(const QString& path, const QByteArray& name) {
    FileReader file(path);
    const std::optional<QByteArray> ident = file.Read(0, 16);
    if (!ident || !ident->startsWith("\x7F"
                                     "ELF"))
        return std::nullopt;
    const char fileClass = ident->at(4);
    const char encoding = ident->at(5);
    if ((fileClass != 1 && fileClass != 2) || encoding != 1 || ident->at(6) != 1)
        return std::nullopt;
    const Layout layout = fileClass == 2 ? Layout{true, 64, 64} : Layout{false, 52, 40};

    const std::optional<QByteArray> header = file.Read(0, quint64(layout.headerSize));
    if (!header)
        return std::nullopt;
    const quint64 tableOffset =
        layout.wide ? Get<quint64>(*header, 0x28) : quint64{Get<quint32>(*header, 0x20)};
    const qsizetype entrySize = Get<quint16>(*header, layout.wide ? 0x3A : 0x2E);
    quint64 count = Get<quint16>(*header, layout.wide ? 0x3C : 0x30);
    quint32 namesIndex = Get<quint16>(*header, layout.wide ? 0x3E : 0x32);
    if (tableOffset == 0 || entrySize < layout.sectionHeaderSize)
        return std::nullopt;

    // Many sections: the real count and the index of the names sit in section 0.
    if (count == 0 || namesIndex == kExtendedIndex) {
        const std::optional<QByteArray> first = file.Read(tableOffset, quint64(entrySize));
        if (!first)
            return std::nullopt;
        const SectionHeader zero = ParseSectionHeader(layout, *first, 0);
        if (count == 0)
            count = zero.size;
        if (namesIndex == kExtendedIndex)
            namesIndex = zero.link;
    }
    if (count == 0 || tableOffset > file.Size() ||
        count > (file.Size() - tableOffset) / quint64(entrySize) || namesIndex >= count)
        return std::nullopt;
    const std::optional<QByteArray> table = file.Read(tableOffset, count * quint64(entrySize));
    if (!table)
        return std::nullopt;

    const SectionHeader namesHeader =
        ParseSectionHeader(layout, *table, qsizetype(namesIndex) * entrySize);
    if (namesHeader.type == kSectionNoBits)
        return std::nullopt;
    const std::optional<QByteArray> names = file.Read(namesHeader.offset, namesHeader.size);
    if (!names)
        return std::nullopt;

    for (quint64 i = 0; i < count; ++i) {
        const SectionHeader h = ParseSectionHeader(layout, *table, qsizetype(i) * entrySize);
        if (h.type == kSectionNoBits || h.name >= quint64(names->size()))
            continue;
        const qsizetype end = names->indexOf('\0', h.name);
        if (end < 0 || names->mid(h.name, end - h.name) != name)
            continue;
        return file.Read(h.offset, h.size);
    }
    return std::nullopt;
}
