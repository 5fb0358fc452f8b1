#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <utility>

class TADOConnection;

// The four tables of the store. The program itself never creates them: only quillbox-db and
// the tests call Create, AddSample and CreateFile; the program checks the file it opens. The
// program's own extension tables (names starting with "Fw") are another matter: the program
// adds those that are missing when it starts (CreateMissingExtensions).
namespace Schema {

// Tables with the columns read from them.
using Columns = QList<std::pair<QString, QStringList>>;

// Checks that the open database has every table and column listed, so that no name is ever
// taken for something else. Raises StoreError: NotOurs when it has none of the tables,
// Incomplete naming what is missing when it has some.
void Check(const TADOConnection& connection, const Columns& used);

// Creates the tables and the extension tables in an empty database, in one transaction; raises
// DatabaseError on failure.
void Create(QSqlDatabase& db);

// The extension tables the database lacks, by name.
QStringList MissingExtensions(QSqlDatabase& db);
// Creates the extension tables the database lacks, all in one transaction; nothing when it has
// them all. Raises DatabaseError with the store's message, and then creates none.
void CreateMissingExtensions(QSqlDatabase& db);

// Adds one template with three fields and one document for printing with its values.
void AddSample(QSqlDatabase& db);

// Creates FILE with the schema (and the sample data when asked). Refuses an existing file.
void CreateFile(const QString& file, bool withSample);

}  // namespace Schema
