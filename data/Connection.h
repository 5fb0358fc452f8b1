#pragma once

#include <QSqlDatabase>
#include <QString>

// One connection to the database file. Opening applies the durability settings: rollback
// journal and synchronous=FULL, so every committed row survives a crash.
class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    // The file, resolved against the working directory when relative.
    QString DataSource;

    // Raises DatabaseError with the store's message when the file is no database.
    void Open();
    void Close();
    bool Connected() const;

    QSqlDatabase Database() const;

private:
    QString name_;
};
