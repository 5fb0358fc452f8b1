// Day counts as dates and times, and the date-time pattern language.
#include "Formatting.h"
#include "Locale.h"
#include "ValueErrors.h"

#include <cmath>

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;
// 01.01.0001 and 31.12.9999 as day counts.
constexpr qint64 kFirstDay = -693593;
constexpr qint64 kLastDay = 2958465;

struct Moment {
    QDate date;
    int hour{0};
    int minute{0};
    int second{0};
    int msec{0};
    bool hasTime{false};
};

bool Decode(double days, Moment& m) {
    if (!std::isfinite(days))
        return false;
    double whole = std::trunc(days);
    if (whole < kFirstDay - 1 || whole > kLastDay + 1)
        return false;
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    if (ms >= kMsPerDay) {
        // A time that rounds up to midnight is the next day's start.
        ms = 0;
        whole += 1;
    }
    const auto day = static_cast<qint64>(whole);
    if (day < kFirstDay || day > kLastDay)
        return false;
    m.date = kDayZero.addDays(day);
    m.hasTime = ms != 0;
    m.hour = static_cast<int>(ms / 3600000);
    m.minute = static_cast<int>(ms / 60000 % 60);
    m.second = static_cast<int>(ms / 1000 % 60);
    m.msec = static_cast<int>(ms % 1000);
    return true;
}

QString Two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Whether the pattern writes a day of the month as a number; month names then take the
// genitive.
bool HasDayNumber(const QString& p) {
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
            continue;
        }
        if (c.toUpper() == u'D') {
            qsizetype j = i;
            while (j < p.size() && p[j].toUpper() == u'D')
                ++j;
            if (j - i <= 2)
                return true;
            i = j - 1;
        }
    }
    return false;
}

bool StartsAt(const QString& p, qsizetype i, QLatin1StringView word) {
    return p.mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Whether an am/pm specifier follows position i, outside quoted text.
bool TwelveHour(const QString& p, qsizetype i) {
    for (; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (StartsAt(p, i, QLatin1StringView("am/pm")) ||
                   StartsAt(p, i, QLatin1StringView("a/p")) ||
                   StartsAt(p, i, QLatin1StringView("ampm"))) {
            return true;
        }
    }
    return false;
}

class Formatter {
public:
    Formatter(const Moment& m, const TfrLocale& locale) : m_(m), locale_(locale) {}

    void Append(const QString& p, int depth) {
        const bool genitive = HasDayNumber(p);
        QChar lastToken;
        qsizetype i = 0;
        while (i < p.size()) {
            const QChar c = p[i];
            QChar token = c.toUpper();
            qsizetype count = 1;
            if (token.isLetter() && token.unicode() < 128) {
                while (i + count < p.size() && p[i + count].toUpper() == token)
                    ++count;
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            switch (token.unicode()) {
                case 'Y':
                    out_ += count <= 2
                                ? Two(m_.date.year() % 100)
                                : QStringLiteral("%1").arg(m_.date.year(), 4, 10, QLatin1Char('0'));
                    break;
                case 'M': {
                    const int month = m_.date.month() - 1;
                    if (count == 1)
                        out_ += QString::number(month + 1);
                    else if (count == 2)
                        out_ += Two(month + 1);
                    else if (count == 3)
                        out_ += Name(
                            genitive ? locale_.ShortGenitiveMonthNames : locale_.ShortMonthNames,
                            month);
                    else
                        out_ +=
                            Name(genitive ? locale_.LongGenitiveMonthNames : locale_.LongMonthNames,
                                 month);
                    break;
                }
                case 'D':
                    if (count <= 2)
                        out_ += count == 1 ? QString::number(m_.date.day()) : Two(m_.date.day());
                    else if (count == 3)
                        out_ += Name(locale_.ShortDayNames, m_.date.dayOfWeek() - 1);
                    else if (count == 4)
                        out_ += Name(locale_.LongDayNames, m_.date.dayOfWeek() - 1);
                    else if (depth < 2)
                        Append(count == 5 ? locale_.ShortDateFormat : locale_.LongDateFormat,
                               depth + 1);
                    break;
                case 'H': {
                    int hour = m_.hour;
                    if (TwelveHour(p, i + count)) {
                        hour %= 12;
                        if (hour == 0)
                            hour = 12;
                    }
                    out_ += count == 1 ? QString::number(hour) : Two(hour);
                    break;
                }
                case 'N':
                    out_ += count == 1 ? QString::number(m_.minute) : Two(m_.minute);
                    break;
                case 'S':
                    out_ += count == 1 ? QString::number(m_.second) : Two(m_.second);
                    break;
                case 'Z':
                    out_ += count >= 3 ? QStringLiteral("%1").arg(m_.msec, 3, 10, QLatin1Char('0'))
                                       : QString::number(m_.msec);
                    break;
                case 'T':
                    if (depth < 2)
                        Append(count == 1 ? locale_.ShortTimeFormat : locale_.LongTimeFormat,
                               depth + 1);
                    break;
                case 'C':
                    count = 1;
                    if (depth < 2) {
                        Append(locale_.ShortDateFormat, depth + 1);
                        if (m_.hasTime) {
                            out_ += u' ';
                            Append(locale_.LongTimeFormat, depth + 1);
                        }
                    }
                    break;
                case 'A':
                    count = AmPm(p, i);
                    break;
                case '/':
                    out_ += locale_.DateSeparator;
                    break;
                case ':':
                    out_ += locale_.TimeSeparator;
                    break;
                case '\'':
                case '"': {
                    const qsizetype end = p.indexOf(c, i + 1);
                    out_ += p.mid(i + 1, end < 0 ? -1 : end - i - 1);
                    count = end < 0 ? p.size() - i : end - i + 1;
                    break;
                }
                default:
                    out_ += p.mid(i, count);
                    break;
            }
            i += count;
        }
    }

    QString Result() const { return out_; }

private:
    static QString Name(const QStringList& names, int index) {
        return index >= 0 && index < names.size() ? names[index] : QString();
    }

    // Writes the am/pm specifier at i, or a lone "a"; gives the characters it took.
    qsizetype AmPm(const QString& p, qsizetype i) {
        const bool pm = m_.hour >= 12;
        if (StartsAt(p, i, QLatin1StringView("am/pm"))) {
            out_ += pm ? p.mid(i + 3, 2) : p.mid(i, 2);
            return 5;
        }
        if (StartsAt(p, i, QLatin1StringView("a/p"))) {
            out_ += pm ? p.mid(i + 2, 1) : p.mid(i, 1);
            return 3;
        }
        if (StartsAt(p, i, QLatin1StringView("ampm"))) {
            out_ += pm ? locale_.TimePMString : locale_.TimeAMString;
            return 4;
        }
        out_ += p[i];
        return 1;
    }

    const Moment& m_;
    const TfrLocale& locale_;
    QString out_;
};

}  // namespace

QString frFormatDateTime(const QString& pattern, double days, const TfrLocale& locale) {
    Moment m;
    if (!Decode(days, m))
        throw EConvertError::NotDate(frFloatToStr(days, locale));
    Formatter f(m, locale);
    f.Append(pattern.isEmpty() ? QStringLiteral("c") : pattern, 0);
    return f.Result();
}

double frDateToDays(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

double frTimeToDays(const QTime& time) {
    return static_cast<double>(time.msecsSinceStartOfDay()) / kMsPerDay;
}

double frDateTimeToDays(const QDate& date, const QTime& time) {
    const double d = frDateToDays(date);
    const double t = frTimeToDays(time);
    return d < 0 ? d - t : d + t;
}

QDateTime frDaysToDateTime(double days) {
    Moment m;
    if (!Decode(days, m))
        return {};
    return QDateTime(m.date, QTime(m.hour, m.minute, m.second, m.msec), Qt::UTC);
}
