// Reading integers, reals, dates and times from text.
#include "Formatting.h"
#include "Locale.h"
#include "ValueErrors.h"

#include <QDate>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

std::optional<qint64> ReadInt64(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    int base = 10;
    if (i < t.size() && t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return std::nullopt;
    // Accumulated as a negative number, which reaches the lowest value.
    qint64 value = 0;
    const qint64 limit = std::numeric_limits<qint64>::min();
    for (; i < t.size(); ++i) {
        const int digit = t[i].isDigit() && t[i].unicode() < 128 ? t[i].unicode() - '0'
                          : base == 16 && t[i].toLower() >= u'a' && t[i].toLower() <= u'f'
                              ? t[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        if (value < (limit + digit) / base)
            return std::nullopt;
        value = value * base - digit;
    }
    if (!negative) {
        if (value == limit)
            return std::nullopt;
        value = -value;
    }
    return value;
}

bool IsPoint(QChar c, const TfrLocale& locale) {
    return c == locale.DecimalSeparator || (c == u'.' && locale.ThousandSeparator != u'.');
}

std::optional<double> ReadFloat(const QString& text, const TfrLocale& locale) {
    const QString t = text.trimmed();
    std::string ascii;
    qsizetype i = 0;
    auto digits = [&]() {
        qsizetype n = 0;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ascii += static_cast<char>(t[i].unicode());
            ++i;
            ++n;
        }
        return n;
    };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ascii += static_cast<char>(t[i++].unicode());
    qsizetype mantissa = digits();
    if (i < t.size() && IsPoint(t[i], locale)) {
        ascii += '.';
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ascii += static_cast<char>(t[i++].unicode());
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    const char* begin = ascii.data() + (ascii[0] == '+' ? 1 : 0);
    double value = 0;
    const auto r = std::from_chars(begin, ascii.data() + ascii.size(), value);
    if (r.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Numbers of a date or time and where they end.
struct Scanner {
    const QString& t;
    qsizetype i{0};

    void SkipBlanks() {
        while (i < t.size() && t[i] == u' ')
            ++i;
    }
    bool AtEnd() {
        SkipBlanks();
        return i >= t.size();
    }
    // A number of up to 4 digits; its digit count in `digits`.
    std::optional<int> Number(int* digits = nullptr) {
        SkipBlanks();
        int n = 0;
        int value = 0;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9' && n < 4) {
            value = value * 10 + (t[i].unicode() - '0');
            ++i;
            ++n;
        }
        if (n == 0)
            return std::nullopt;
        if (digits)
            *digits = n;
        return value;
    }
    bool Char(QChar c) {
        SkipBlanks();
        if (i < t.size() && t[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool Word(const QString& w) {
        SkipBlanks();
        if (!w.isEmpty() && t.mid(i, w.size()).compare(w, Qt::CaseInsensitive) == 0) {
            i += w.size();
            return true;
        }
        return false;
    }
};

// The order of day, month and year in the short date format: "DMY", "MDY" or "YMD".
QString DateOrder(const TfrLocale& locale) {
    QString order;
    for (const QChar c : locale.ShortDateFormat) {
        const QChar u = c.toUpper();
        if ((u == u'D' || u == u'M' || u == u'Y') && !order.contains(u))
            order += u;
    }
    return order.size() == 3 ? order : QStringLiteral("DMY");
}

int WindowedYear(int year) {
    const int current = QDate::currentDate().year();
    const int pivot = current - 50;
    year += pivot / 100 * 100;
    if (year < pivot)
        year += 100;
    return year;
}

std::optional<double> ScanDate(Scanner& s, const TfrLocale& locale) {
    std::vector<int> parts;
    std::vector<int> widths;
    for (int k = 0; k < 3; ++k) {
        if (k > 0 && !s.Char(locale.DateSeparator))
            break;
        int width = 0;
        const auto n = s.Number(&width);
        if (!n)
            return std::nullopt;
        parts.push_back(*n);
        widths.push_back(width);
    }
    if (parts.size() < 2)
        return std::nullopt;
    const QString order = DateOrder(locale);
    int day = 0;
    int month = 0;
    int year = QDate::currentDate().year();
    if (parts.size() == 2) {
        const bool monthFirst = order.indexOf(u'M') < order.indexOf(u'D');
        month = parts[monthFirst ? 0 : 1];
        day = parts[monthFirst ? 1 : 0];
    } else {
        for (int k = 0; k < 3; ++k) {
            const QChar which = order[k];
            if (which == u'D')
                day = parts[static_cast<std::size_t>(k)];
            else if (which == u'M')
                month = parts[static_cast<std::size_t>(k)];
            else
                year = widths[static_cast<std::size_t>(k)] <= 2
                           ? WindowedYear(parts[static_cast<std::size_t>(k)])
                           : parts[static_cast<std::size_t>(k)];
        }
    }
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return std::nullopt;
    return frDateToDays(QDate(year, month, day));
}

std::optional<double> ScanTime(Scanner& s, const TfrLocale& locale) {
    const auto hour = s.Number();
    if (!hour)
        return std::nullopt;
    int minute = 0;
    int second = 0;
    int msec = 0;
    bool hasMinutes = false;
    if (s.Char(locale.TimeSeparator)) {
        const auto n = s.Number();
        if (!n)
            return std::nullopt;
        minute = *n;
        hasMinutes = true;
        if (s.Char(locale.TimeSeparator)) {
            const auto sec = s.Number();
            if (!sec)
                return std::nullopt;
            second = *sec;
            if (s.Char(u'.') || s.Char(locale.DecimalSeparator)) {
                int width = 0;
                const auto ms = s.Number(&width);
                if (!ms || width > 3)
                    return std::nullopt;
                msec = *ms * (width == 1 ? 100 : width == 2 ? 10 : 1);
            }
        }
    }
    int h = *hour;
    const bool am =
        s.Word(locale.TimeAMString) || s.Word(QStringLiteral("AM")) || s.Word(QStringLiteral("A"));
    const bool pm = !am && (s.Word(locale.TimePMString) || s.Word(QStringLiteral("PM")) ||
                            s.Word(QStringLiteral("P")));
    if (am || pm) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (pm ? 12 : 0);
    } else if (!hasMinutes) {
        return std::nullopt;
    }
    if (h > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return frTimeToDays(QTime(h, minute, second, msec));
}

}  // namespace

qint64 frStrToInt64(const QString& text) {
    if (const auto v = ReadInt64(text))
        return *v;
    throw EConvertError::NotInteger(text);
}

qint32 frStrToInt(const QString& text) {
    const auto v = ReadInt64(text);
    if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
        throw EConvertError::NotInteger(text);
    return static_cast<qint32>(*v);
}

double frStrToFloat(const QString& text, const TfrLocale& locale) {
    if (const auto v = ReadFloat(text, locale))
        return *v;
    throw EConvertError::NotFloat(text);
}

double frStrToDate(const QString& text, const TfrLocale& locale) {
    Scanner s{text};
    const auto d = ScanDate(s, locale);
    if (!d || !s.AtEnd())
        throw EConvertError::NotDate(text);
    return *d;
}

double frStrToTime(const QString& text, const TfrLocale& locale) {
    Scanner s{text};
    const auto t = ScanTime(s, locale);
    if (!t || !s.AtEnd())
        throw EConvertError::NotTime(text);
    return *t;
}

double frStrToDateTime(const QString& text, const TfrLocale& locale) {
    Scanner s{text};
    if (const auto d = ScanDate(s, locale)) {
        if (s.AtEnd())
            return *d;
        if (const auto t = ScanTime(s, locale); t && s.AtEnd())
            return *d < 0 ? *d - *t : *d + *t;
    }
    Scanner timeOnly{text};
    if (const auto t = ScanTime(timeOnly, locale); t && timeOnly.AtEnd())
        return *t;
    throw EConvertError::NotDateTime(text);
}
