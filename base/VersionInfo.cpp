#include "VersionInfo.h"

#include "ElfSection.h"
#include "Failure.h"
#include "VersionBlock.h"

#include <QFileInfo>
#include <QtEndian>

void TgsFileVersionInfo::SetFilename(const QString& filename) {
    filename_ = filename;

    struct Entry {
        const char* name;
        QString* property;
    };
    const Entry entries[] = {
        {"CompanyName", &companyName_},
        {"FileDescription", &fileDescription_},
        {"FileVersion", &fileVersion_},
        {"InternalName", &internalName_},
        {"LegalCopyright", &legalCopyright_},
        {"OriginalFilename", &originalFilename_},
        {"ProductName", &productName_},
        {"ProductVersion", &productVersion_},
        {"Comments", &comments_},
    };
    resourceSize_ = 0;
    for (const Entry& e : entries)
        e.property->clear();

    if (!QFileInfo(filename).isFile())
        throw Failure(QStringLiteral("File not found: ") + filename);

    const QByteArray section = ReadElfSection(filename, kVersionSectionName).value_or(QByteArray());
    const int size = VersionBlockSize(section);
    if (size == 0)
        throw Failure(QStringLiteral("Invalid version info record in file ") + filename);
    resourceSize_ = size;
    const QByteArray block = section.left(size);

    const std::optional<VersionValue> translation =
        QueryVersionValue(block, QStringLiteral("\\VarFileInfo\\Translation"));
    if (!translation || translation->data.size() < 4)
        throw Failure(QStringLiteral("Invalid language info in file ") + filename);
    const uchar* words = reinterpret_cast<const uchar*>(translation->data.constData());
    languageInfo_ =
        TranslationKey({qFromLittleEndian<quint16>(words), qFromLittleEndian<quint16>(words + 2)});

    const QString table = QStringLiteral("\\StringFileInfo\\") + languageInfo_ + QLatin1Char('\\');
    for (const Entry& e : entries) {
        const std::optional<VersionValue> value =
            QueryVersionValue(block, table + QLatin1String(e.name));
        const QString text = value && value->length > 0 ? value->Text() : QString();
        *e.property = text.isEmpty() ? QStringLiteral("n/a") : text;
    }
}

QString TgsFileVersionInfo::GetBuildOnly() const {
    const qsizetype dot = fileVersion_.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileVersion_ : fileVersion_.mid(dot + 1);
}
