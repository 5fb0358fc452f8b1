#pragma once

#include <QList>
#include <QString>

// The benchmark form: A4 portrait pages of 40 text fields each, two columns of 20 rows, placed
// in whole millimetres from the sheet's corner. Every program of the harness draws this form.
namespace BenchForm {

inline constexpr int FieldsPerPage = 40;
inline constexpr int Rows = 20;
inline constexpr int SheetWidthMm = 210;
inline constexpr int SheetHeightMm = 297;
inline constexpr int FontSize = 10;
inline const QString FontName = QStringLiteral("Arial");

struct Field {
    int page{1};                               // 1-based
    int index{0};                              // 0 .. fields on its page - 1
    int left{0}, top{0}, width{0}, height{0};  // millimetres
    bool bold{false};
    bool underline{false};
    QString name;
};

// The fields of page (1-based), in row order, left column first; a page of more fields than
// the usual 40 has its rows closer together.
QList<Field> PageFields(int page, int perPage = FieldsPerPage);

// The value of a field on its page: one line, two lines by an explicit break, or one paragraph
// that wraps to two lines in its width. It differs on every page.
QString Value(const Field& field);

// Value's paragraphs, the explicit break removed.
QStringList Paragraphs(const QString& value);

}  // namespace BenchForm
