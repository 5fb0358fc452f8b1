#pragma once

#include "Engine.h"
#include "EngineState.h"
#include "ServicesDouble.h"
#include "SystemPrinter.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <ostream>

inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toStdString() << '"';
}
inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << (v.isValid() ? v.typeName() : "null") << ' ' << v.toString().toStdString();
}

// A fresh engine on the virtual printer, its message boxes recorded.
class ReportFixture : public ::testing::Test {
protected:
    ReportFixture() { frEngineState().Services = &services; }

    // Restarts the engine on another printer system.
    void Restart(std::unique_ptr<SystemPrinter> system) {
        engine.reset();
        engine = std::make_unique<TfrEngine>(std::move(system));
        frEngineState().Services = &services;
    }

    ServicesDouble services;
    std::unique_ptr<TfrEngine> engine{std::make_unique<TfrEngine>(nullptr)};
};

// Stream bytes written out by hand, little-endian.
class Bytes {
public:
    Bytes& u8(int v) {
        data.append(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& u16(int v) { return u8(v).u8(v >> 8); }
    Bytes& i32(qint64 v) {
        return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>(v >> 16));
    }
    Bytes& str(const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        u16(static_cast<int>(utf8.size()));
        data.append(utf8);
        return u8(0);
    }
    Bytes& list(std::initializer_list<QString> lines) {
        u16(static_cast<int>(lines.size()));
        bool first = true;
        for (const QString& line : lines) {
            if (!first)
                u8(13);
            first = false;
            const QByteArray utf8 = line.toUtf8();
            u16(static_cast<int>(utf8.size()));
            data.append(utf8);
        }
        return u8(0);
    }
    Bytes& raw(const QByteArray& bytes) {
        data.append(bytes);
        return *this;
    }
    int size() const { return static_cast<int>(data.size()); }

    QByteArray data;
};

// What a write into a fresh buffer gives.
template <typename F>
QByteArray Written(F write) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    write(buffer);
    return buffer.data();
}

// A buffer to read from.
inline std::unique_ptr<QBuffer> Reading(const QByteArray& bytes) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}
