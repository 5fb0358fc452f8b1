#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

// Numbers, amounts and dates written out in Russian words, as payment forms want them.

enum class TfGender { Masculine, Feminine, Neuter };

// The largest whole number and amount that can be written out.
constexpr qint64 MaxInWords = 999'999'999'999;

// "двадцать одна" for 21 feminine; "минус ..." below zero. Beyond MaxInWords a failure.
QString NumberInWords(qint64 number, TfGender gender = TfGender::Masculine);

// A currency of amounts: its unit and hundredth, each in its three forms (one, two to four,
// five and more) with its gender.
struct TfCurrency {
    const char16_t* Code;
    const char16_t* Unit[3];
    TfGender UnitGender;
    const char16_t* Cent[3];
    TfGender CentGender;
};
// RUB, USD or EUR, letter case ignored; null for any other code.
const TfCurrency* CurrencyByCode(const QString& code);

// "Одна тысяча двести тридцать четыре рубля 56 копеек": the amount rounded to hundredths, half
// away from zero, on its 15-digit decimal form; the hundredths as two digits or, with
// `centsInWords`, in words. Beyond MaxInWords,99 a failure.
QString AmountInWords(double amount, const TfCurrency& currency, bool centsInWords = false);

// «10» декабря 2026 г.
QString DateInWords(const QDate& date);

// The form a counted noun takes after the number: 0 for 1 (21, 101, ...), 1 for 2-4 (22, ...),
// 2 for 0, 5-20 (11-14 too) and so on.
int PluralForm(qint64 number);
