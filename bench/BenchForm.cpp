#include "BenchForm.h"

#include <algorithm>

namespace BenchForm {
namespace {

const QStringList kWords = {
    QStringLiteral("Иванов"),  QStringLiteral("улица"),    QStringLiteral("Садовая"),
    QStringLiteral("дом"),     QStringLiteral("квартира"), QStringLiteral("получатель"),
    QStringLiteral("сумма"),   QStringLiteral("рублей"),   QStringLiteral("отделение"),
    QStringLiteral("связи"),   QStringLiteral("Петрович"), QStringLiteral("область"),
    QStringLiteral("поселок"), QStringLiteral("переулок"), QStringLiteral("назначение"),
    QStringLiteral("платежа"), QStringLiteral("договор"),  QStringLiteral("от"),
    QStringLiteral("января"),  QStringLiteral("года"),     QStringLiteral("счет"),
};

// Words from a seed until the text holds at least length characters.
QString Words(int seed, int length) {
    QString text;
    for (int i = 0; text.size() < length; ++i) {
        if (!text.isEmpty())
            text += u' ';
        text += kWords[(seed * 7 + i * 3) % kWords.size()];
    }
    return text;
}

}  // namespace

QList<Field> PageFields(int page, int perPage) {
    const int rows = std::max(Rows, (perPage + 1) / 2);
    const int pitch = std::min(13, (SheetHeightMm - 30) / rows);
    QList<Field> fields;
    fields.reserve(perPage);
    for (int i = 0; i < perPage; ++i) {
        Field f;
        f.page = page;
        f.index = i;
        const int column = i / rows;
        const int row = i % rows;
        f.left = column == 0 ? 15 : 110;
        f.top = 20 + row * pitch;
        f.width = 45 + (i * 17) % 41;  // 45 .. 85
        f.height = 10;
        f.bold = i % 5 == 4;
        f.underline = i % 7 == 6;
        f.name = QStringLiteral("Поле %1.%2").arg(page).arg(i + 1, 2, 10, QLatin1Char('0'));
        fields.append(f);
    }
    return fields;
}

QString Value(const Field& field) {
    const int seed = field.page * FieldsPerPage + field.index;
    switch (field.index % 4) {
        case 1:  // an explicit break
            return QStringLiteral("%1 № %2\r\n%3")
                .arg(Words(seed, 12))
                .arg(seed)
                .arg(Words(seed + 1, 10));
        case 3:  // about 1.4 lines of a 10 pt face in this width: wraps once
            return QStringLiteral("%1 %2").arg(seed).arg(Words(seed, field.width * 3 / 4));
        default:
            return QStringLiteral("%1 № %2").arg(Words(seed, field.width / 4)).arg(seed);
    }
}

QStringList Paragraphs(const QString& value) {
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(u'\n');
}

}  // namespace BenchForm
