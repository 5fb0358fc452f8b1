#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

// A file written aside, in the folder of its name, and put in place only when complete: until
// Commit() a file of that name stays as it was, and a run that ends before leaves it so. Every
// write is checked to the byte: a short or failed one (a full disk, a size limit) makes Commit()
// fail, where a buffered file would drop the rest unnoticed.
class AsideFile : public QIODevice {
public:
    explicit AsideFile(const QString& name);
    ~AsideFile() override;
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;

    // For writing only.
    bool open(OpenMode mode) override;
    // Writes out what is buffered and puts the file in place of its name; false when any write
    // failed or the file could not take the name, and then the file of that name is untouched.
    bool Commit();
    // Drops what was written; removes nothing but the file aside.
    void Discard();

protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Flush();

    QSaveFile file_;
    QByteArray buffer_;
    bool failed_{false};
};

// Whether two paths name one file (the same device and inode), through links and other
// spellings; false when either does not exist.
bool frSameFile(const QString& a, const QString& b);
