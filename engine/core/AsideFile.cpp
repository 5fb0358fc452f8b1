#include "AsideFile.h"

#include <sys/stat.h>
#include <QFile>

namespace {
constexpr qsizetype kBuffer = 64 * 1024;
}  // namespace

AsideFile::AsideFile(const QString& name) : file_(name) {}

AsideFile::~AsideFile() {
    Discard();
}

bool AsideFile::open(OpenMode mode) {
    if ((mode & ReadOnly) || !(mode & WriteOnly))
        return false;
    // Unbuffered: each write of ours reaches the system, which says how much it took.
    if (!file_.open(WriteOnly | Unbuffered))
        return false;
    buffer_.clear();
    failed_ = false;
    return QIODevice::open(mode | Unbuffered);
}

qint64 AsideFile::readData(char*, qint64) {
    return -1;
}

qint64 AsideFile::writeData(const char* data, qint64 size) {
    if (failed_)
        return -1;
    buffer_.append(data, size);
    if (buffer_.size() >= kBuffer && !Flush())
        return -1;
    return size;
}

bool AsideFile::Flush() {
    while (!failed_ && !buffer_.isEmpty()) {
        const qint64 written = file_.write(buffer_);
        if (written <= 0)
            failed_ = true;
        else
            buffer_.remove(0, written);
    }
    return !failed_;
}

bool AsideFile::Commit() {
    if (!isOpen())
        return false;
    const bool complete = Flush() && file_.commit();
    if (!complete)
        file_.cancelWriting();
    QIODevice::close();
    return complete;
}

void AsideFile::Discard() {
    if (file_.isOpen())
        file_.cancelWriting();
    buffer_.clear();
    if (isOpen())
        QIODevice::close();
}

bool frSameFile(const QString& a, const QString& b) {
    struct stat x {};
    struct stat y {};
    return ::stat(QFile::encodeName(a).constData(), &x) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}
