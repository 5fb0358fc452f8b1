#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The bytes of the section with the given name in a little-endian ELF file, 32- or 64-bit.
// Nothing when the file cannot be read, is not such an ELF file, is damaged, or has no section
// of that name holding data.
std::optional<QByteArray> ReadElfSection(const QString& path, const QByteArray& name);
