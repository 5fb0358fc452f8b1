#pragma once

#include <QString>
#include <exception>

// A failure that ends the operation raising it; its message is shown to the user as it stands.
class Failure : public std::exception {
public:
    explicit Failure(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Raised by the store and the record cursors.
class DatabaseError : public Failure {
public:
    using Failure::Failure;
};
