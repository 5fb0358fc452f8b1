#include "TempDir.h"

#include <QDir>
#include <QFile>

TempDir::TempDir() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

TempDir::~TempDir() {
    QDir::setCurrent(previous_);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

bool PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
