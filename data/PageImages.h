#pragma once

#include "PagePicture.h"

#include <QHash>
#include <QString>
#include <optional>

class QSqlError;
class TADOConnection;

// The pictures behind template pages, one per (template, page), in the program's own table
// FwPageImage. The table is made at start-up when it is missing; a file that cannot take it
// (read-only, or a store that refuses) still opens, and only the pictures are unavailable.
class TfPageImages {
public:
    explicit TfPageImages(TADOConnection& connection) : connection_(connection) {}

    // Called once the connection is open: creates the missing table in one transaction, or
    // remembers why the pictures cannot be kept.
    void Prepare();

    // The table is there: pictures can be read (and stored, unless the file is read-only).
    bool Available() const { return available_; }
    // Pictures can be stored.
    bool Writable() const { return available_ && writable_; }
    // Why pictures cannot be read or stored, for the user; empty when they can.
    const QString& Unavailable() const { return reason_; }

    // The picture of that page, if it has one.
    std::optional<PagePicture> Read(qint64 document, int page) const;
    // Every picture of a template, by page number.
    QHash<int, PagePicture> ReadAll(qint64 document) const;
    // Stores (or replaces) the picture of a page; one committed write. Raises DatabaseError
    // with a message for the user on failure, and changes nothing then.
    void Write(qint64 document, int page, const PagePicture& picture);
    // Removes the picture of a page; nothing when it has none.
    void Remove(qint64 document, int page);

private:
    void CheckWritable() const;
    [[noreturn]] void Refused(const QSqlError& error) const;

    TADOConnection& connection_;
    bool available_{false};
    bool writable_{false};
    QString reason_;
};
