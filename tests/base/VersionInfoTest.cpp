#include "ElfSection.h"
#include "Failure.h"
#include "VersionBlock.h"
#include "VersionInfo.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// --- a minimal ELF writer: header, the sections, their name table, the section header table ---

struct Section {
    QByteArray name;
    QByteArray data;
};

void Put16(QByteArray& out, qsizetype at, quint16 v) {
    qToLittleEndian<quint16>(v, out.data() + at);
}
void Put32(QByteArray& out, qsizetype at, quint32 v) {
    qToLittleEndian<quint32>(v, out.data() + at);
}
void Put64(QByteArray& out, qsizetype at, quint64 v) {
    qToLittleEndian<quint64>(v, out.data() + at);
}
void Align(QByteArray& out, qsizetype to) {
    while (out.size() % to != 0)
        out.append('\0');
}

QByteArray MakeElf(bool wide, const QList<Section>& sections) {
    const qsizetype headerSize = wide ? 64 : 52;
    const qsizetype entrySize = wide ? 64 : 40;
    QByteArray out(headerSize, '\0');
    out.replace(0, 7,
                QByteArray("\x7F"
                           "ELF") +
                    QByteArray(1, wide ? 2 : 1) + QByteArray(1, 1) + QByteArray(1, 1));
    Put16(out, 16, 2);              // executable
    Put16(out, 18, wide ? 62 : 3);  // x86-64 / i386
    Put32(out, 20, 1);

    QByteArray names(1, '\0');
    struct Placed {
        quint32 name, type;
        qsizetype offset, size;
    };
    QList<Placed> placed{{0, 0, 0, 0}};
    for (const Section& s : sections) {
        Align(out, 4);
        placed.append({quint32(names.size()), 1, out.size(), s.data.size()});
        names += s.name + '\0';
        out += s.data;
    }
    const quint32 namesName = quint32(names.size());
    names += QByteArray(".shstrtab") + '\0';
    placed.append({namesName, 3, out.size(), names.size()});
    out += names;

    Align(out, 8);
    const qsizetype table = out.size();
    out.append(QByteArray(placed.size() * entrySize, '\0'));
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const qsizetype at = table + i * entrySize;
        Put32(out, at, placed[i].name);
        Put32(out, at + 4, placed[i].type);
        if (wide) {
            Put64(out, at + 24, quint64(placed[i].offset));
            Put64(out, at + 32, quint64(placed[i].size));
        } else {
            Put32(out, at + 16, quint32(placed[i].offset));
            Put32(out, at + 20, quint32(placed[i].size));
        }
    }
    if (wide) {
        Put64(out, 0x28, quint64(table));
        Put16(out, 0x34, quint16(headerSize));
        Put16(out, 0x3A, quint16(entrySize));
        Put16(out, 0x3C, quint16(placed.size()));
        Put16(out, 0x3E, quint16(placed.size() - 1));
    } else {
        Put32(out, 0x20, quint32(table));
        Put16(out, 0x28, quint16(headerSize));
        Put16(out, 0x2E, quint16(entrySize));
        Put16(out, 0x30, quint16(placed.size()));
        Put16(out, 0x32, quint16(placed.size() - 1));
    }
    return out;
}

QByteArray Code(const char* text) {
    return QByteArray(text);
}

QByteArray ElfWithBlock(const QByteArray& block, bool wide = true) {
    return MakeElf(wide, {{Code(".text"), QByteArray(24, '\x90')},
                          {Code(kVersionSectionName), block},
                          {Code(".data"), QByteArray(8, '\x01')}});
}

constexpr VersionTranslation kRussian{0x0419, 0x04E3};

QList<std::pair<QString, QString>> Entries(const QString& fileVersion) {
    return {
        {QStringLiteral("CompanyName"), QStringLiteral("Carvelle")},
        {QStringLiteral("FileDescription"), QStringLiteral("Печать бланков")},
        {QStringLiteral("FileVersion"), fileVersion},
        {QStringLiteral("InternalName"), QStringLiteral("quillbox")},
        {QStringLiteral("LegalCopyright"), QStringLiteral("© Carvelle")},
        {QStringLiteral("OriginalFilename"), QStringLiteral("quillbox.bin")},
        {QStringLiteral("ProductName"), QStringLiteral("Formwright")},
        {QStringLiteral("ProductVersion"), QStringLiteral("1.0")},
    };
}

// A Russian block without "Comments".
QByteArray RussianBlock(const QString& fileVersion = QStringLiteral("1.0.3.15")) {
    VersionBlockContents contents;
    contents.fileVersion = {1, 0, 3, 15};
    contents.productVersion = {1, 0, 0, 0};
    contents.tables = {{kRussian, Entries(fileVersion)}};
    contents.translations = {kRussian};
    return BuildVersionBlock(contents);
}

// A block put together node by node, for shapes the builder does not make.
QByteArray HandMadeBlock(const QByteArray& translation, const QList<VersionNode>& strings) {
    VersionNode table = VersionNode::Text(QStringLiteral("041904E3"), QString());
    table.children = strings;
    VersionNode stringInfo = VersionNode::Text(QStringLiteral("StringFileInfo"), QString());
    stringInfo.children = {table};
    VersionNode root = VersionNode::Binary(QStringLiteral("VS_VERSION_INFO"), QByteArray(52, 0));
    root.children = {stringInfo};
    if (!translation.isNull()) {
        VersionNode vars = VersionNode::Text(QStringLiteral("VarFileInfo"), QString());
        vars.children = {VersionNode::Binary(QStringLiteral("Translation"), translation)};
        root.children.append(vars);
    }
    return WriteVersionNode(root);
}

quint32 U32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// --- the block ---

TEST(VersionBlock, NodesAreLaidOutWithHeadersKeysAndPadding) {
    // "A" = "x": header, key with its zero, padding to 32 bits, the text with its zero.
    const QByteArray leaf =
        WriteVersionNode(VersionNode::Text(QStringLiteral("A"), QStringLiteral("x")));
    EXPECT_EQ(leaf, QByteArray::fromHex("1000 0200 0100 4100 0000 0000 7800 0000"));

    // A binary value of 2 bytes (length in bytes, type 0), then padding before the child.
    VersionNode parent = VersionNode::Binary(QStringLiteral("P"), QByteArray::fromHex("0102"));
    parent.children = {VersionNode::Text(QStringLiteral("A"), QStringLiteral("x"))};
    EXPECT_EQ(WriteVersionNode(parent),
              QByteArray::fromHex("2000 0200 0000 5000 0000 0000 0102 0000") + leaf);

    // An empty text has no value at all.
    EXPECT_EQ(WriteVersionNode(VersionNode::Text(QStringLiteral("B"), QString())),
              QByteArray::fromHex("0a00 0000 0100 4200 0000"));
}

TEST(VersionBlock, AnswersQueriesAsTheSystemDoes) {
    VersionBlockContents contents;
    contents.fileVersion = {1, 0, 3, 15};
    contents.productVersion = {2, 5, 0, 7};
    contents.tables = {{kRussian, Entries(QStringLiteral("1.0.3.15"))}};
    contents.translations = {kRussian, {0x0409, 0x04B0}};
    const QByteArray block = BuildVersionBlock(contents);
    EXPECT_EQ(VersionBlockSize(block + QByteArray(40, '\0')), block.size());

    const auto translation = QueryVersionValue(block, QStringLiteral("\\VarFileInfo\\Translation"));
    ASSERT_TRUE(translation);
    EXPECT_FALSE(translation->text);
    EXPECT_EQ(translation->length, 8);
    EXPECT_EQ(translation->data, QByteArray::fromHex("1904e304 0904b004"));

    for (const QString& path : {QStringLiteral("\\StringFileInfo\\041904E3\\FileVersion"),
                                QStringLiteral("\\stringfileinfo\\041904e3\\FILEVERSION")}) {
        SCOPED_TRACE(path.toStdString());
        const auto version = QueryVersionValue(block, path);
        ASSERT_TRUE(version);
        EXPECT_TRUE(version->text);
        EXPECT_EQ(version->Text(), QStringLiteral("1.0.3.15"));
        EXPECT_EQ(version->length, 9);  // with the terminating zero
    }
    const auto description =
        QueryVersionValue(block, QStringLiteral("\\StringFileInfo\\041904E3\\FileDescription"));
    ASSERT_TRUE(description);
    EXPECT_EQ(description->Text(), QStringLiteral("Печать бланков"));

    const auto fixed = QueryVersionValue(block, QStringLiteral("\\"));
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->data.size(), 52);
    EXPECT_EQ(U32(fixed->data, 0), 0xFEEF04BDu);
    EXPECT_EQ(U32(fixed->data, 8), 0x00010000u);
    EXPECT_EQ(U32(fixed->data, 12), 0x0003000Fu);
    EXPECT_EQ(U32(fixed->data, 16), 0x00020005u);
    EXPECT_EQ(U32(fixed->data, 20), 0x00000007u);

    EXPECT_FALSE(QueryVersionValue(block, QStringLiteral("\\StringFileInfo\\041904E3\\Comments")));
    EXPECT_FALSE(
        QueryVersionValue(block, QStringLiteral("\\StringFileInfo\\040904B0\\FileVersion")));
    EXPECT_FALSE(QueryVersionValue(block, QStringLiteral("\\VarFileInfo\\Translation\\More")));
}

TEST(VersionBlock, DamagedBlocksNeverLeadOutside) {
    const QByteArray block = RussianBlock();
    const QString path = QStringLiteral("\\StringFileInfo\\041904E3\\ProductVersion");
    for (qsizetype cut = 0; cut < block.size(); ++cut)
        EXPECT_EQ(VersionBlockSize(block.left(cut)), 0) << "cut at " << cut;
    // Every header word set to its extremes in turn; ASan watches the reads.
    for (qsizetype at = 0; at + 1 < block.size(); at += 2) {
        for (quint16 word : {quint16(0), quint16(0xFFFF), quint16(0x8001)}) {
            QByteArray damaged = block;
            Put16(damaged, at, word);
            const auto value = QueryVersionValue(damaged, path);
            if (value) {
                EXPECT_LE(value->data.size(), damaged.size());
            }
            EXPECT_LE(VersionBlockSize(damaged), damaged.size());
        }
    }
}

TEST(VersionBlock, VersionNumbers) {
    using Numbers = std::array<quint16, 4>;
    EXPECT_EQ(ParseVersionNumbers(QStringLiteral("1.0.3.15")), (Numbers{1, 0, 3, 15}));
    EXPECT_EQ(ParseVersionNumbers(QStringLiteral("65535.2")), (Numbers{65535, 2, 0, 0}));
    for (const char* bad : {"", "1..2", "1.2.3.4.5", "65536", "1.x", "-1", "1.2 "})
        EXPECT_FALSE(ParseVersionNumbers(QLatin1String(bad))) << bad;
}

// --- the reader ---

class VersionInfoReader : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    static void ExpectCleared(const TgsFileVersionInfo& info) {
        for (const QString* entry :
             {&info.CompanyName(), &info.FileDescription(), &info.FileVersion(),
              &info.InternalName(), &info.LegalCopyright(), &info.OriginalFilename(),
              &info.ProductName(), &info.ProductVersion(), &info.Comments()})
            EXPECT_EQ(*entry, QString());
    }

private:
    QTemporaryDir dir_;
};

TEST_F(VersionInfoReader, ReadsTheEntriesOfTheFirstTranslation) {
    const QByteArray block = RussianBlock();
    struct Case {
        const char* name;
        QByteArray file;
    };
    const Case cases[] = {
        {"64-bit", ElfWithBlock(block, true)},
        {"32-bit", ElfWithBlock(block, false)},
        {"section padded after the block", ElfWithBlock(block + QByteArray(32, '\0'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QLatin1String(c.name), c.file);
        TgsFileVersionInfo info;
        EXPECT_EQ(info.VersionResourceSize(), 0);
        info.SetFilename(path);
        EXPECT_EQ(info.Filename(), path);
        EXPECT_EQ(info.VersionResourceSize(), block.size());
        EXPECT_EQ(info.LanguageInfo(), QStringLiteral("041904E3"));
        EXPECT_EQ(info.CompanyName(), QStringLiteral("Carvelle"));
        EXPECT_EQ(info.FileDescription(), QStringLiteral("Печать бланков"));
        EXPECT_EQ(info.FileVersion(), QStringLiteral("1.0.3.15"));
        EXPECT_EQ(info.InternalName(), QStringLiteral("quillbox"));
        EXPECT_EQ(info.LegalCopyright(), QStringLiteral("© Carvelle"));
        EXPECT_EQ(info.OriginalFilename(), QStringLiteral("quillbox.bin"));
        EXPECT_EQ(info.ProductName(), QStringLiteral("Formwright"));
        EXPECT_EQ(info.ProductVersion(), QStringLiteral("1.0"));
        EXPECT_EQ(info.Comments(), QStringLiteral("n/a"));
        EXPECT_EQ(info.GetBuildOnly(), QStringLiteral("15"));
    }
}

TEST_F(VersionInfoReader, TakesTheTableOfTheFirstTranslation) {
    const VersionTranslation neutral{0x0400, 0x04B0};
    VersionBlockContents contents;
    contents.tables = {{kRussian, Entries(QStringLiteral("2.0.0.1"))},
                       {neutral, Entries(QStringLiteral("3.0.0.9"))}};
    contents.translations = {neutral, kRussian};
    TgsFileVersionInfo info;
    info.SetFilename(Write(QStringLiteral("neutral"), ElfWithBlock(BuildVersionBlock(contents))));
    EXPECT_EQ(info.LanguageInfo(), QStringLiteral("040004B0"));
    EXPECT_EQ(info.FileVersion(), QStringLiteral("3.0.0.9"));
    EXPECT_EQ(info.GetBuildOnly(), QStringLiteral("9"));
}

TEST_F(VersionInfoReader, EmptyEntriesReadNotAvailable) {
    VersionNode loneZero{QStringLiteral("ProductName"), true, QByteArray(2, '\0'), {}};
    const QByteArray block =
        HandMadeBlock(QByteArray::fromHex("1904e304"),
                      {VersionNode::Text(QStringLiteral("CompanyName"), QString()), loneZero,
                       VersionNode::Text(QStringLiteral("Comments"), QStringLiteral("есть"))});
    TgsFileVersionInfo info;
    info.SetFilename(Write(QStringLiteral("empty"), ElfWithBlock(block)));
    EXPECT_EQ(info.CompanyName(), QStringLiteral("n/a"));  // no value at all
    EXPECT_EQ(info.ProductName(), QStringLiteral("n/a"));  // only the terminating zero
    EXPECT_EQ(info.FileVersion(), QStringLiteral("n/a"));  // absent
    EXPECT_EQ(info.Comments(), QStringLiteral("есть"));
    EXPECT_EQ(info.GetBuildOnly(), QStringLiteral("n/a"));
}

TEST_F(VersionInfoReader, BuildNumber) {
    struct Case {
        const char* version;
        const char* build;
    };
    const Case cases[] = {{"1.0.3.15", "15"}, {"7", "7"}, {"2.1.", ""}, {"бета", "бета"}};
    TgsFileVersionInfo info;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        info.SetFilename(Write(QStringLiteral("build"),
                               ElfWithBlock(RussianBlock(QString::fromUtf8(c.version)))));
        EXPECT_EQ(info.GetBuildOnly(), QString::fromUtf8(c.build));
    }
}

TEST_F(VersionInfoReader, FailuresLeaveTheEntriesCleared) {
    const QByteArray good = ElfWithBlock(RussianBlock());
    QByteArray bigEndian = good;
    bigEndian[5] = 2;
    QByteArray wrongClass = good;
    wrongClass[4] = 3;
    QByteArray tableOutside = good;
    Put64(tableOutside, 0x28, quint64(good.size()) - 8);
    QByteArray overlong = RussianBlock();
    Put16(overlong, 0, quint16(overlong.size() + 4));

    const QString record = QStringLiteral("Invalid version info record in file ");
    const QString language = QStringLiteral("Invalid language info in file ");
    struct Case {
        const char* name;
        std::optional<QByteArray> file;  // nothing: the path does not exist
        QString message;
    };
    const Case cases[] = {
        {"missing", std::nullopt, QStringLiteral("File not found: ")},
        {"no version section", MakeElf(true, {{Code(".text"), QByteArray(16, '\x90')}}), record},
        {"empty file", QByteArray(), record},
        {"not an ELF file", QByteArray("#!/bin/sh\necho 1.0.0.1\n"), record},
        {"big-endian", bigEndian, record},
        {"unknown class", wrongClass, record},
        {"section table past the end", tableOutside, record},
        {"block longer than its section", ElfWithBlock(overlong), record},
        {"section holds no block", ElfWithBlock(QByteArray(64, 'x')), record},
        {"translation of 2 bytes", ElfWithBlock(HandMadeBlock(QByteArray::fromHex("1904"), {})),
         language},
        {"no translation", ElfWithBlock(HandMadeBlock(QByteArray(), {})), language},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TgsFileVersionInfo info;
        info.SetFilename(Write(QStringLiteral("good"), good));
        const QString path =
            c.file ? Write(QLatin1String(c.name), *c.file) : Path(QStringLiteral("nowhere"));
        try {
            info.SetFilename(path);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Message(), c.message + path);
        }
        EXPECT_EQ(info.Filename(), path);
        ExpectCleared(info);
        EXPECT_EQ(info.LanguageInfo(), QStringLiteral("041904E3"));  // until a new one is read
        if (c.message != language) {
            EXPECT_EQ(info.VersionResourceSize(), 0);
        }
    }
}

TEST_F(VersionInfoReader, AFolderIsNoFile) {
    TgsFileVersionInfo info;
    const QString folder = Path(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    try {
        info.SetFilename(folder);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Message(), QStringLiteral("File not found: ") + folder);
    }
}

TEST_F(VersionInfoReader, TruncatedFilesHaveNoRecord) {
    for (bool wide : {true, false}) {
        const QByteArray good = ElfWithBlock(RussianBlock(), wide);
        ASSERT_TRUE(ReadElfSection(Write(QStringLiteral("whole"), good), kVersionSectionName));
        // The section table comes last, so every cut loses it.
        for (qsizetype cut = 0; cut < good.size(); ++cut) {
            const QString path = Write(QStringLiteral("cut"), good.left(cut));
            EXPECT_FALSE(ReadElfSection(path, kVersionSectionName))
                << (wide ? "64" : "32") << "-bit, cut at " << cut;
        }
    }
}

TEST_F(VersionInfoReader, TheTestItselfCarriesTheProjectVersion) {
    const QString self = QCoreApplication::applicationFilePath();
    TgsFileVersionInfo info;
    info.SetFilename(self);
    const QString version = QStringLiteral(QB_PROJECT_VERSION);
    EXPECT_EQ(info.FileVersion(), version);
    EXPECT_EQ(info.ProductVersion(), version);
    EXPECT_EQ(info.LanguageInfo(), QStringLiteral("041904E3"));
    EXPECT_EQ(info.CompanyName(), QStringLiteral("Carvelle"));
    EXPECT_EQ(info.FileDescription(), QStringLiteral("Formwright"));
    EXPECT_EQ(info.InternalName(), QStringLiteral("quillbox"));
    EXPECT_EQ(info.OriginalFilename(), QStringLiteral("quillbox"));
    EXPECT_EQ(info.ProductName(), QStringLiteral("Formwright"));
    EXPECT_NE(info.LegalCopyright(), QStringLiteral("n/a"));
    EXPECT_EQ(info.Comments(), QStringLiteral("n/a"));

    // The fixed numbers follow the same version.
    const auto fixed =
        QueryVersionValue(*ReadElfSection(self, kVersionSectionName), QStringLiteral("\\"));
    ASSERT_TRUE(fixed);
    const auto numbers = ParseVersionNumbers(version);
    ASSERT_TRUE(numbers);
    EXPECT_EQ(U32(fixed->data, 8), (quint32((*numbers)[0]) << 16) | (*numbers)[1]);
    EXPECT_EQ(U32(fixed->data, 12), (quint32((*numbers)[2]) << 16) | (*numbers)[3]);
}

}  // namespace
