#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QtGlobal>

class TfrLocale;

// Numbers. Values are taken at 15 significant digits (the decimal form that reads back as the
// same double), then rounded half away from zero to the digits shown: 2.345 to two decimals is
// "2,35", 0.5 to none is "1".

// The float pattern language: "0" a digit, "#" a digit when there is one, "." the decimal
// separator, "," anywhere in the integer part groups thousands, "E+00" "E-00" exponents (up to
// four places after the sign, "0" always written, "#" when needed),
// text in single or double quotes and other characters as they stand, and up to three
// sections separated by ";" for positive, negative and zero values. An empty pattern gives
// the general form.
QString frFormatFloat(const QString& pattern, double value, const TfrLocale& locale);
// The general form: 15 significant digits, fixed notation unless the exponent calls for
// "1,5E-10" or "1E20".
QString frFloatToStr(double value, const TfrLocale& locale);
// Fixed notation with the given decimals (at most 18).
QString frFloatToStrFixed(double value, int digits, const TfrLocale& locale);
// The same with thousands separators.
QString frFloatToStrNumber(double value, int digits, const TfrLocale& locale);

// Dates and times, as days since 30.12.1899 (see TfrDateTime). The pattern language:
// d dd (day), ddd dddd (day name), ddddd dddddd (short, long date), m mm (month, or minutes
// right after an hour), mmm mmmm (month name), yy yyyy, h hh (hours, 12-hour with an am/pm
// later on), n nn, s ss, z zzz, am/pm a/p (as written), ampm (the locale's strings), c (short
// date and long time), t tt (short, long time), / and : (the locale's separators), text in
// quotes. Dates outside the years 1 to 9999 raise EConvertError.
QString frFormatDateTime(const QString& pattern, double days, const TfrLocale& locale);

// Readers; each raises EConvertError with the system's text.
qint32 frStrToInt(const QString& text);
qint64 frStrToInt64(const QString& text);
double frStrToFloat(const QString& text, const TfrLocale& locale);
// A date in the order of the short date format: day and month (this year), or day, month and
// year; two-digit years fall within 50 years either side of today.
double frStrToDate(const QString& text, const TfrLocale& locale);
// Hours and minutes, optional seconds and milliseconds, optional AM/PM.
double frStrToTime(const QString& text, const TfrLocale& locale);
// A date, a time, or a date followed by a time.
double frStrToDateTime(const QString& text, const TfrLocale& locale);

// The edit-mask formatter: the mask ("0" "9" "#" "L" "l" "A" "a" "C" "c" take a character of
// the text, "\" makes the next character literal, "!" fills from the right, ">" "<" "<>" set
// the case, ":" "/" the locale's separators, other characters literal), then optional fields
// ";" save-literals flag and ";" blank character.
QString frFormatMaskText(const QString& mask, const QString& text, const TfrLocale& locale);

double frDateToDays(const QDate& date);
double frTimeToDays(const QTime& time);
double frDateTimeToDays(const QDate& date, const QTime& time);
// The date and time of a day count, as UTC wall time; invalid outside the years 1 to 9999.
QDateTime frDaysToDateTime(double days);
