#pragma once

#include "EngineErrors.h"
#include "Failure.h"

#include <QString>
#include <QStringView>
#include <utility>

// A text that does not read as the number, date or time it has to be. The integer text is
// the one the print dialog's copies field is known by; the others are in Russian.
class EConvertError : public Failure {
public:
    using Failure::Failure;
    static EConvertError NotInteger(const QString& text) {
        return EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static EConvertError NotFloat(const QString& text) {
        return EConvertError(QStringLiteral("'%1' не является допустимым числом").arg(text));
    }
    static EConvertError NotDate(const QString& text) {
        return EConvertError(QStringLiteral("'%1' не является допустимой датой").arg(text));
    }
    static EConvertError NotTime(const QString& text) {
        return EConvertError(QStringLiteral("'%1' не является допустимым временем").arg(text));
    }
    static EConvertError NotDateTime(const QString& text) {
        return EConvertError(
            QStringLiteral("'%1' не является допустимыми датой и временем").arg(text));
    }
};

// A value of one variant type that cannot become another, named by their type names.
class EVariantTypeCastError : public Failure {
public:
    EVariantTypeCastError(const QString& from, const QString& to)
        : Failure(QStringLiteral("Значение типа «%1» нельзя преобразовать в тип «%2»")
                      .arg(UserTypeName(from), UserTypeName(to))) {}

private:
    // The Russian name of a variant type name ("String", "Double", ...).
    static QString UserTypeName(const QString& type) {
        static const std::pair<const char16_t*, const char16_t*> names[] = {
            {u"Empty", u"пусто"},        {u"Null", u"Null"},    {u"Integer", u"целое"},
            {u"Int64", u"целое"},        {u"Double", u"число"}, {u"String", u"строка"},
            {u"Boolean", u"логическое"}, {u"Date", u"дата"},
        };
        for (const auto& [name, russian] : names)
            if (type == QStringView(name))
                return QString::fromUtf16(russian);
        return type;
    }
};

// An integer remainder by zero.
class EDivByZero : public Failure {
public:
    EDivByZero() : Failure(QStringLiteral("Деление на ноль")) {}
};
