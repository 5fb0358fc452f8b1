#pragma once

#include "BenchForm.h"

#include <QString>

namespace BenchForm {

// A new database FILE with the schema, one template of the form's pages with its fields, and
// one document for printing with a value for every field. Raises DatabaseError.
void WriteDatabase(int pages, const QString& file, int perPage = FieldsPerPage);

}  // namespace BenchForm
