#pragma once

#include <QSqlDatabase>
#include <QString>

// The four tables of the store. The program itself never creates tables: only quillbox-db and
// the tests call these.
namespace Schema {

// Creates the tables in an empty database; raises DatabaseError on failure.
void Create(QSqlDatabase& db);

// Adds one template with three fields and one document for printing with its values.
void AddSample(QSqlDatabase& db);

// Creates FILE with the schema (and the sample data when asked). Refuses an existing file.
void CreateFile(const QString& file, bool withSample);

}  // namespace Schema
