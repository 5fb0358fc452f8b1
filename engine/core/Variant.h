#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <cstddef>

class TfrLocale;

// The evaluator's values are QVariants: empty (invalid), Null (a std::nullptr_t), integer
// (qint64 or int), real (double), text (QString), logical (bool) and date-time.

// A date and time as days since 30.12.1899; the fraction is the time of day. Before that day
// the integer part counts back and the fraction still runs forward: -1.25 is 29.12.1899 6:00.
struct TfrDateTime {
    double Days{0};
    friend bool operator==(const TfrDateTime& a, const TfrDateTime& b) { return a.Days == b.Days; }
};
Q_DECLARE_METATYPE(TfrDateTime)

QVariant frNull();
bool frIsNull(const QVariant& v);
// Empty or Null.
bool frIsEmpty(const QVariant& v);
// Integer, real or date-time.
bool frIsNumeric(const QVariant& v);
bool frIsInteger(const QVariant& v);
bool frIsText(const QVariant& v);
bool frIsDateTime(const QVariant& v);
QVariant frDateTimeValue(double days);
// The type's name as the conversion errors give it: "Empty", "Null", "Integer", "Int64",
// "Double", "String", "Boolean", "Date".
QString frVarTypeName(const QVariant& v);

// Arithmetic. Null in either operand gives Null; empty counts as 0 (or empty text). Integers
// stay integers (a result beyond 64 bits becomes real); a text meeting a number is read as a
// number, and one that cannot be raises EVariantTypeCastError; text + text joins the texts;
// logical values count as -1 and 0; date + number and date - number stay dates, date - date
// is a real.
QVariant frVarAdd(const QVariant& a, const QVariant& b, const TfrLocale& locale);
QVariant frVarSub(const QVariant& a, const QVariant& b, const TfrLocale& locale);
QVariant frVarMul(const QVariant& a, const QVariant& b, const TfrLocale& locale);
// Real division; a divisor equal to 0 gives the integer 0.
QVariant frVarDiv(const QVariant& a, const QVariant& b, const TfrLocale& locale);
// Integer remainder (operands rounded to integers, the sign of the dividend); EDivByZero for
// a divisor of 0.
QVariant frVarMod(const QVariant& a, const QVariant& b, const TfrLocale& locale);
// Logical or of two logicals, otherwise the bitwise or of the integers.
QVariant frVarOr(const QVariant& a, const QVariant& b, const TfrLocale& locale);
QVariant frVarNeg(const QVariant& a, const TfrLocale& locale);

// -1, 0 or 1. Numbers and dates numerically; texts by the locale's order; a text with a number
// (or date, or logical) is read as one first, raising EVariantTypeCastError when it cannot be.
// Null equals Null and is less than every other value.
int frVarCompare(const QVariant& a, const QVariant& b, const TfrLocale& locale);
bool frVarEquals(const QVariant& a, const QVariant& b, const TfrLocale& locale);

// Conversions. Null raises EVariantTypeCastError; empty gives 0, false or an empty text.
double frVarToReal(const QVariant& v, const TfrLocale& locale);
// Reals round half to even; beyond 64 bits EVariantError.
qint64 frVarToInt64(const QVariant& v, const TfrLocale& locale);
// Texts "True" and "False" in any case, or numbers (0 is false).
bool frVarToBool(const QVariant& v, const TfrLocale& locale);
// The plain text form: numbers with the locale's decimal separator and 15 significant digits,
// dates and times in the short formats (a whole day without its time, a time of day without
// its date), "True"/"False", and "" for Null and empty.
QString frVarToString(const QVariant& v, const TfrLocale& locale);
// Days; texts are read as a date, a time or both.
double frVarToDateTime(const QVariant& v, const TfrLocale& locale);
