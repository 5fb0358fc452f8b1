#include "Field.h"

#include "Failure.h"
#include "Table.h"

namespace {
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

TField::TField(TADOTable& table, QString fieldName, TFieldKind kind, TFieldType type, int size)
    : table_(table), fieldName_(std::move(fieldName)), kind_(kind), type_(type), size_(size) {}

QVariant TField::Value() const {
    return table_.FieldValue(*this, table_.calcRow_ >= 0 ? table_.calcRow_ : table_.cur_);
}

QVariant TField::ValueAt(int row) const {
    return table_.FieldValue(*this, row);
}

QString TField::AsString() const {
    const QVariant v = Value();
    if (v.isNull())
        return QString();
    if (type_ == TFieldType::DateTime)
        return DisplayText(table_.cur_);
    return v.toString();
}

int TField::AsInteger() const {
    return Value().toInt();
}

bool TField::AsBoolean() const {
    return Value().toBool();
}

QDateTime TField::AsDateTime() const {
    return Value().toDateTime();
}

void TField::SetValue(const QVariant& value) {
    table_.SetFieldValue(*this, value);
}

QString TField::DisplayText(int row) const {
    const QVariant v = ValueAt(row);
    if (v.isNull())
        return QString();
    switch (type_) {
        case TFieldType::DateTime: {
            const QDateTime dt = v.toDateTime();
            QString text = dt.date().toString(QStringLiteral("dd.MM.yyyy"));
            if (dt.time() != QTime(0, 0))
                text += QLatin1Char(' ') + dt.time().toString(QStringLiteral("H:mm:ss"));
            return text;
        }
        case TFieldType::Boolean:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        default:
            return v.toString();
    }
}

QVariant TField::Normalize(const QVariant& value) const {
    if (value.isNull())
        return QVariant();
    switch (type_) {
        case TFieldType::AutoInc:
        case TFieldType::Integer:
        case TFieldType::SmallInt: {
            bool ok = false;
            const qlonglong n = value.typeId() == QMetaType::QString
                                    ? value.toString().trimmed().toLongLong(&ok)
                                    : value.toLongLong(&ok);
            if (!ok)
                throw DatabaseError(QStringLiteral("«%1» - неверное целое число для поля «%2»")
                                        .arg(value.toString(), fieldName_));
            return QVariant(n);
        }
        case TFieldType::Boolean:
            return QVariant(
                value.typeId() == QMetaType::QString
                    ? value.toString() == QLatin1String("1") ||
                          value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                    : value.toBool());
        case TFieldType::DateTime: {
            if (value.typeId() == QMetaType::QString) {
                const QString s = value.toString();
                QDateTime dt = QDateTime::fromString(s, kDateTimeFormat);
                if (!dt.isValid())
                    dt = QDateTime::fromString(s, Qt::ISODate);
                if (!dt.isValid())
                    throw DatabaseError(QStringLiteral("«%1» - неверные дата и время").arg(s));
                return QVariant(dt);
            }
            if (value.typeId() == QMetaType::QDate)
                return QVariant(QDateTime(value.toDate(), QTime(0, 0)));
            return QVariant(value.toDateTime());
        }
        case TFieldType::String: {
            QString s = value.toString();
            if (s.isNull())
                s = QStringLiteral("");  // empty, not null
            return QVariant(s);
        }
    }
    return value;
}
