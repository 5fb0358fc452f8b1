#pragma once

#include <QObject>
#include <QString>

// Reads the version information of an executable: setting the file name reads the file's
// version block and fills the entries of its first translation. The entries read "n/a" when
// the block does not have them or has them empty.
class TgsFileVersionInfo : public QObject {
    Q_OBJECT

public:
    explicit TgsFileVersionInfo(QObject* parent = nullptr) : QObject(parent) {}

    // Stores the path and reads the file. Raises Failure when the file does not exist, has no
    // version block, or its block names no translation; the entries then stay cleared.
    void SetFilename(const QString& filename);
    const QString& Filename() const { return filename_; }

    // Language and code page as eight upper-case hexadecimal digits, for example 041904E3.
    const QString& LanguageInfo() const { return languageInfo_; }
    const QString& CompanyName() const { return companyName_; }
    const QString& FileDescription() const { return fileDescription_; }
    const QString& FileVersion() const { return fileVersion_; }
    const QString& InternalName() const { return internalName_; }
    const QString& LegalCopyright() const { return legalCopyright_; }
    const QString& OriginalFilename() const { return originalFilename_; }
    const QString& ProductName() const { return productName_; }
    const QString& ProductVersion() const { return productVersion_; }
    const QString& Comments() const { return comments_; }

    // Size in bytes of the version block of the last read; 0 before reading.
    int VersionResourceSize() const { return resourceSize_; }

    // The part of FileVersion after its last ".", or the whole of it when it has none.
    QString GetBuildOnly() const;

private:
    QString filename_;
    QString languageInfo_;
    QString companyName_;
    QString fileDescription_;
    QString fileVersion_;
    QString internalName_;
    QString legalCopyright_;
    QString originalFilename_;
    QString productName_;
    QString productVersion_;
    QString comments_;
    int resourceSize_{0};
};
