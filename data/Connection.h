#pragma once

#include "Failure.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;

// A database file the program cannot use, in one sentence for the user: the window's error box
// and the command line show the same text.
class StoreError : public DatabaseError {
public:
    enum class Reason {
        NotOurs,     // not a database, or none of the program's tables
        OldFormat,   // the old Jet 4 file format
        Damaged,     // a database whose pages do not read
        Busy,        // locked by another program for longer than the wait
        Incomplete,  // tables or columns the program uses are missing
    };
    StoreError(Reason reason, QString message)
        : DatabaseError(std::move(message)), reason_(reason) {}
    Reason WhatFailed() const { return reason_; }

    // The sentence for a reason other than Incomplete; file as the user named it.
    static QString Text(Reason reason, const QString& file);

private:
    Reason reason_;
};

// The store's error as a failure: a StoreError where the store says that the file is no
// database, is damaged or is locked; otherwise a DatabaseError with the store's own text.
[[noreturn]] void ThrowStoreError(const QSqlError& error, const QString& file);

// One connection to the database file. Opening applies the durability settings: rollback
// journal and synchronous=FULL, so every committed row survives a crash. Another program's lock
// is waited for a few seconds before the store gives up.
class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    // The file, resolved against the working directory when relative.
    QString DataSource;
    // Opens the file for reading only: nothing can be written to it.
    bool ReadOnly{false};

    // Raises StoreError when the file cannot serve as a database (not one, old format, busy),
    // DatabaseError with the store's message on other failures.
    void Open();
    void Close();
    bool Connected() const;

    QSqlDatabase Database() const;

private:
    QString name_;
};
