#include "TempDir.h"

#include <QDir>

TempDir::TempDir() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

TempDir::~TempDir() {
    QDir::setCurrent(previous_);
}
