#include "Locale.h"

namespace {

QStringList Months(const QLocale& locale, bool standalone, QLocale::FormatType format) {
    QStringList names;
    for (int m = 1; m <= 12; ++m)
        names << (standalone ? locale.standaloneMonthName(m, format) : locale.monthName(m, format));
    return names;
}

QStringList Days(const QLocale& locale, QLocale::FormatType format) {
    QStringList names;
    for (int d = 1; d <= 7; ++d)
        names << locale.dayName(d, format);
    return names;
}

}  // namespace

TfrLocale::TfrLocale() {
    SetCaseLocale(caseLocale_);
    ShortMonthNames = Months(caseLocale_, true, QLocale::ShortFormat);
    LongMonthNames = Months(caseLocale_, true, QLocale::LongFormat);
    ShortGenitiveMonthNames = Months(caseLocale_, false, QLocale::ShortFormat);
    LongGenitiveMonthNames = Months(caseLocale_, false, QLocale::LongFormat);
    ShortDayNames = Days(caseLocale_, QLocale::ShortFormat);
    LongDayNames = Days(caseLocale_, QLocale::LongFormat);
}

void TfrLocale::SetCaseLocale(const QLocale& locale) {
    caseLocale_ = locale;
    collator_ = QCollator(locale);
    collator_.setCaseSensitivity(Qt::CaseSensitive);
}

int TfrLocale::CompareText(const QString& a, const QString& b) const {
    const int byLocale = collator_.compare(a, b);
    const int r = byLocale != 0 ? byLocale : a.compare(b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}
