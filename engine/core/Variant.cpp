#include "Variant.h"

#include "Formatting.h"
#include "Locale.h"
#include "ValueErrors.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <limits>

namespace {

enum class Kind { Empty, Null, Int, Real, Text, Bool, Date, Other };

Kind KindOf(const QVariant& v) {
    if (!v.isValid())
        return Kind::Empty;
    const int type = v.typeId();
    if (type == QMetaType::Nullptr)
        return Kind::Null;
    if (type == qMetaTypeId<TfrDateTime>())
        return Kind::Date;
    switch (type) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return Kind::Int;
        case QMetaType::Double:
        case QMetaType::Float:
            return Kind::Real;
        case QMetaType::QString:
        case QMetaType::QChar:
            return Kind::Text;
        case QMetaType::Bool:
            return Kind::Bool;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
        case QMetaType::QTime:
            return Kind::Date;
        default:
            return Kind::Other;
    }
}

double DaysOf(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::QDate:
            return frDateToDays(v.toDate());
        case QMetaType::QTime:
            return frTimeToDays(v.toTime());
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            return frDateTimeToDays(dt.date(), dt.time());
        }
        default:
            return v.value<TfrDateTime>().Days;
    }
}

// An operand of arithmetic: an integer, a real or a date.
struct Num {
    enum Type { Int, Real, Date } kind{Int};
    qint64 i{0};
    double d{0};
    double Value() const { return kind == Int ? static_cast<double>(i) : d; }
};

Num IntNum(qint64 i) {
    return Num{Num::Int, i, 0};
}
Num RealNum(double d) {
    return Num{Num::Real, 0, d};
}

double TextToReal(const QString& text, const TfrLocale& locale) {
    try {
        return frStrToFloat(text, locale);
    } catch (const EConvertError&) {
        throw EVariantTypeCastError(QStringLiteral("String"), QStringLiteral("Double"));
    }
}

double TextToDays(const QString& text, const TfrLocale& locale) {
    try {
        return frStrToDateTime(text, locale);
    } catch (const EConvertError&) {
        throw EVariantTypeCastError(QStringLiteral("String"), QStringLiteral("Date"));
    }
}

bool TextToBool(const QString& text, const TfrLocale& locale) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    try {
        return frStrToFloat(t, locale) != 0;
    } catch (const EConvertError&) {
        throw EVariantTypeCastError(QStringLiteral("String"), QStringLiteral("Boolean"));
    }
}

// `other` is the opposite operand: a text facing a date is read as a date.
Num ToNum(const QVariant& v, Kind other, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Empty:
            return IntNum(0);
        case Kind::Int:
            return IntNum(v.toLongLong());
        case Kind::Real:
            return RealNum(v.toDouble());
        case Kind::Bool:
            return IntNum(v.toBool() ? -1 : 0);
        case Kind::Date:
            return Num{Num::Date, 0, DaysOf(v)};
        case Kind::Text:
            if (other == Kind::Date)
                return Num{Num::Date, 0, TextToDays(v.toString(), locale)};
            return RealNum(TextToReal(v.toString(), locale));
        default:
            throw EVariantError();
    }
}

bool Fits(double d) {
    return d >= -9223372036854775808.0 && d < 9223372036854775808.0;
}

qint64 RoundToInt64(double d) {
    if (!std::isfinite(d) || !Fits(std::nearbyint(d)))
        throw EVariantError();
    // The default rounding mode takes halves to even.
    return static_cast<qint64>(std::nearbyint(d));
}

enum class Op { Add, Sub, Mul };

QVariant Arith(Op op, const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    const Kind ka = KindOf(a);
    const Kind kb = KindOf(b);
    if (ka == Kind::Null || kb == Kind::Null)
        return frNull();
    if (op == Op::Add && (ka == Kind::Text || ka == Kind::Empty) &&
        (kb == Kind::Text || kb == Kind::Empty) && (ka == Kind::Text || kb == Kind::Text))
        return a.toString() + b.toString();
    const Num x = ToNum(a, kb, locale);
    const Num y = ToNum(b, ka, locale);
    if (x.kind == Num::Int && y.kind == Num::Int) {
        qint64 r = 0;
        const bool overflow = op == Op::Add   ? __builtin_add_overflow(x.i, y.i, &r)
                              : op == Op::Sub ? __builtin_sub_overflow(x.i, y.i, &r)
                                              : __builtin_mul_overflow(x.i, y.i, &r);
        if (!overflow)
            return QVariant::fromValue<qint64>(r);
    }
    const double r = op == Op::Add   ? x.Value() + y.Value()
                     : op == Op::Sub ? x.Value() - y.Value()
                                     : x.Value() * y.Value();
    const bool xDate = x.kind == Num::Date;
    const bool yDate = y.kind == Num::Date;
    if (op == Op::Add && (xDate || yDate))
        return frDateTimeValue(r);
    if (op == Op::Sub && xDate != yDate)
        return frDateTimeValue(r);
    return r;
}

qint64 ToInt(const QVariant& v, const TfrLocale& locale) {
    return frVarToInt64(v, locale);
}

int CompareNum(const Num& x, const Num& y) {
    if (x.kind == Num::Int && y.kind == Num::Int)
        return x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
    // Long double holds every 64-bit integer exactly.
    const long double lx = x.kind == Num::Int ? static_cast<long double>(x.i) : x.d;
    const long double ly = y.kind == Num::Int ? static_cast<long double>(y.i) : y.d;
    return lx < ly ? -1 : lx > ly ? 1 : 0;
}

}  // namespace

QVariant frNull() {
    return QVariant::fromValue(nullptr);
}

bool frIsNull(const QVariant& v) {
    return KindOf(v) == Kind::Null;
}

bool frIsEmpty(const QVariant& v) {
    const Kind k = KindOf(v);
    return k == Kind::Empty || k == Kind::Null;
}

bool frIsNumeric(const QVariant& v) {
    const Kind k = KindOf(v);
    return k == Kind::Int || k == Kind::Real || k == Kind::Date;
}

bool frIsInteger(const QVariant& v) {
    return KindOf(v) == Kind::Int;
}

bool frIsText(const QVariant& v) {
    return KindOf(v) == Kind::Text;
}

bool frIsDateTime(const QVariant& v) {
    return KindOf(v) == Kind::Date;
}

QVariant frDateTimeValue(double days) {
    return QVariant::fromValue(TfrDateTime{days});
}

QString frVarTypeName(const QVariant& v) {
    switch (KindOf(v)) {
        case Kind::Empty:
            return QStringLiteral("Empty");
        case Kind::Null:
            return QStringLiteral("Null");
        case Kind::Int:
            return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::ULongLong
                       ? QStringLiteral("Int64")
                       : QStringLiteral("Integer");
        case Kind::Real:
            return QStringLiteral("Double");
        case Kind::Text:
            return QStringLiteral("String");
        case Kind::Bool:
            return QStringLiteral("Boolean");
        case Kind::Date:
            return QStringLiteral("Date");
        default:
            return QString::fromLatin1(v.typeName());
    }
}

QVariant frVarAdd(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    return Arith(Op::Add, a, b, locale);
}

QVariant frVarSub(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    return Arith(Op::Sub, a, b, locale);
}

QVariant frVarMul(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    return Arith(Op::Mul, a, b, locale);
}

QVariant frVarDiv(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    const Kind ka = KindOf(a);
    const Kind kb = KindOf(b);
    if (ka == Kind::Null || kb == Kind::Null)
        return frNull();
    const Num x = ToNum(a, kb, locale);
    const Num y = ToNum(b, ka, locale);
    if (y.Value() == 0)
        return QVariant::fromValue<qint64>(0);
    return x.Value() / y.Value();
}

QVariant frVarMod(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    if (frIsNull(a) || frIsNull(b))
        return frNull();
    const qint64 x = ToInt(a, locale);
    const qint64 y = ToInt(b, locale);
    if (y == 0)
        throw EDivByZero();
    if (y == -1)
        return QVariant::fromValue<qint64>(0);
    return QVariant::fromValue<qint64>(x % y);
}

QVariant frVarOr(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    if (frIsNull(a) || frIsNull(b))
        return frNull();
    if (KindOf(a) == Kind::Bool && KindOf(b) == Kind::Bool)
        return a.toBool() || b.toBool();
    return QVariant::fromValue<qint64>(ToInt(a, locale) | ToInt(b, locale));
}

QVariant frVarNeg(const QVariant& a, const TfrLocale& locale) {
    switch (KindOf(a)) {
        case Kind::Null:
            return frNull();
        case Kind::Empty:
            return QVariant::fromValue<qint64>(0);
        case Kind::Int: {
            const qint64 i = a.toLongLong();
            if (i == std::numeric_limits<qint64>::min())
                return -static_cast<double>(i);
            return QVariant::fromValue<qint64>(-i);
        }
        case Kind::Real:
            return -a.toDouble();
        case Kind::Bool:
            return QVariant::fromValue<qint64>(a.toBool() ? 1 : 0);
        case Kind::Date:
            return frDateTimeValue(-DaysOf(a));
        case Kind::Text:
            return -TextToReal(a.toString(), locale);
        default:
            throw EVariantError();
    }
}

int frVarCompare(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    Kind ka = KindOf(a);
    Kind kb = KindOf(b);
    if (ka == Kind::Null || kb == Kind::Null)
        return ka == kb ? 0 : ka == Kind::Null ? -1 : 1;
    if (ka == Kind::Other || kb == Kind::Other)
        throw EVariantError();
    // Empty is the empty text beside a text, false beside a logical, 0 otherwise.
    if (ka == Kind::Empty && kb == Kind::Empty)
        return 0;
    if ((ka == Kind::Text || ka == Kind::Empty) && (kb == Kind::Text || kb == Kind::Empty))
        return locale.CompareText(a.toString(), b.toString());
    auto asBool = [&](const QVariant& v, Kind k) {
        return k == Kind::Text ? TextToBool(v.toString(), locale) : k == Kind::Bool && v.toBool();
    };
    if ((ka == Kind::Bool && (kb == Kind::Bool || kb == Kind::Text || kb == Kind::Empty)) ||
        (kb == Kind::Bool && (ka == Kind::Text || ka == Kind::Empty))) {
        const bool x = asBool(a, ka);
        const bool y = asBool(b, kb);
        return x == y ? 0 : x ? 1 : -1;
    }
    return CompareNum(ToNum(a, kb, locale), ToNum(b, ka, locale));
}

bool frVarEquals(const QVariant& a, const QVariant& b, const TfrLocale& locale) {
    return frVarCompare(a, b, locale) == 0;
}

double frVarToReal(const QVariant& v, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Null:
            throw EVariantTypeCastError(QStringLiteral("Null"), QStringLiteral("Double"));
        case Kind::Other:
            throw EVariantError();
        default:
            return ToNum(v, Kind::Empty, locale).Value();
    }
}

qint64 frVarToInt64(const QVariant& v, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Empty:
            return 0;
        case Kind::Null:
            throw EVariantTypeCastError(QStringLiteral("Null"), QStringLiteral("Int64"));
        case Kind::Int:
            if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong) {
                if (v.toULongLong() > static_cast<quint64>(std::numeric_limits<qint64>::max()))
                    throw EVariantError();
            }
            return v.toLongLong();
        case Kind::Real:
            return RoundToInt64(v.toDouble());
        case Kind::Bool:
            return v.toBool() ? -1 : 0;
        case Kind::Date:
            return RoundToInt64(DaysOf(v));
        case Kind::Text: {
            const QString t = v.toString();
            try {
                return frStrToInt64(t);
            } catch (const EConvertError&) {
            }
            double d = 0;
            try {
                d = frStrToFloat(t, locale);
            } catch (const EConvertError&) {
                throw EVariantTypeCastError(QStringLiteral("String"), QStringLiteral("Int64"));
            }
            return RoundToInt64(d);
        }
        default:
            throw EVariantError();
    }
}

bool frVarToBool(const QVariant& v, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Empty:
            return false;
        case Kind::Null:
            throw EVariantTypeCastError(QStringLiteral("Null"), QStringLiteral("Boolean"));
        case Kind::Bool:
            return v.toBool();
        case Kind::Text:
            return TextToBool(v.toString(), locale);
        case Kind::Other:
            throw EVariantError();
        default:
            return ToNum(v, Kind::Empty, locale).Value() != 0;
    }
}

QString frVarToString(const QVariant& v, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Empty:
        case Kind::Null:
            return QString();
        case Kind::Int:
            return v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong
                       ? QString::number(v.toULongLong())
                       : QString::number(v.toLongLong());
        case Kind::Real:
            return frFloatToStr(v.toDouble(), locale);
        case Kind::Text:
            return v.toString();
        case Kind::Bool:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case Kind::Date: {
            const double days = DaysOf(v);
            try {
                if (days == std::trunc(days))
                    return frFormatDateTime(locale.ShortDateFormat, days, locale);
                if (std::trunc(days) == 0)
                    return frFormatDateTime(locale.ShortTimeFormat, days, locale);
                return frFormatDateTime(
                    locale.ShortDateFormat + QLatin1Char(' ') + locale.ShortTimeFormat, days,
                    locale);
            } catch (const EConvertError&) {
                // A day count beyond the calendar shows as the number it is.
                return frFloatToStr(days, locale);
            }
        }
        default:
            if (v.canConvert<QString>())
                return v.toString();
            throw EVariantError();
    }
}

double frVarToDateTime(const QVariant& v, const TfrLocale& locale) {
    switch (KindOf(v)) {
        case Kind::Null:
            throw EVariantTypeCastError(QStringLiteral("Null"), QStringLiteral("Date"));
        case Kind::Text:
            return TextToDays(v.toString(), locale);
        case Kind::Other:
            throw EVariantError();
        default:
            return ToNum(v, Kind::Date, locale).Value();
    }
}
