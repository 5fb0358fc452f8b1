#pragma once

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

// The conventions the evaluator formats and reads values by: separators, date and time
// patterns, month and day names, letter case and text order. One belongs to the text engine;
// tests build others by setting the fields.
class TfrLocale {
public:
    // Russian conventions.
    TfrLocale();
    static TfrLocale Russian() { return TfrLocale(); }

    QChar DecimalSeparator{u','};
    // A non-breaking space, as the Russian locale groups digits.
    QChar ThousandSeparator{QChar(0x00A0)};
    QChar DateSeparator{u'.'};
    QChar TimeSeparator{u':'};
    // Patterns in the date-time pattern language of frFormatDateTime.
    QString ShortDateFormat{QStringLiteral("dd.mm.yyyy")};
    QString LongDateFormat{QStringLiteral("d mmmm yyyy 'г.'")};
    QString ShortTimeFormat{QStringLiteral("h:nn")};
    QString LongTimeFormat{QStringLiteral("h:nn:ss")};
    QString TimeAMString{QStringLiteral("AM")};
    QString TimePMString{QStringLiteral("PM")};

    // Twelve names each, January first. A month written next to a day number takes its
    // genitive form ("5 мая"); on its own, the nominative ("май").
    QStringList ShortMonthNames;
    QStringList LongMonthNames;
    QStringList ShortGenitiveMonthNames;
    QStringList LongGenitiveMonthNames;
    // Seven names each, Monday first.
    QStringList ShortDayNames;
    QStringList LongDayNames;

    // Case conversion and text order follow this locale.
    void SetCaseLocale(const QLocale& locale);
    const QLocale& CaseLocale() const { return caseLocale_; }

    QString Upper(const QString& text) const { return caseLocale_.toUpper(text); }
    QString Lower(const QString& text) const { return caseLocale_.toLower(text); }
    // -1, 0 or 1; letter case counts, and texts differing in any character never compare equal.
    int CompareText(const QString& a, const QString& b) const;

private:
    QLocale caseLocale_{QLocale::Russian, QLocale::Russia};
    QCollator collator_{caseLocale_};
};
