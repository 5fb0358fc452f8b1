#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder that is also the working directory while it lives.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A file's bytes, or "<none>" when it cannot be read.
QByteArray FileBytes(const QString& path);
// Writes a file whole; false when it cannot be.
bool PutFile(const QString& path, const QByteArray& bytes);
