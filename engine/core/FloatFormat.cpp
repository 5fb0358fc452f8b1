// Numbers as text: the general form, fixed notation and the float pattern language.
#include "DecimalDigits.h"
#include "Formatting.h"
#include "Locale.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kPrecision = 15;

// Integer digits of a decimal, "" for a value below 1.
QString IntegerDigits(const TfrDecimal& d) {
    QString digits;
    for (int i = 0; i < d.Exponent; ++i)
        digits += QLatin1Char(d.DigitAt(i));
    return digits;
}

// `count` digits after the decimal point.
QString FractionDigits(const TfrDecimal& d, int count) {
    QString digits;
    for (int k = 0; k < count; ++k)
        digits += QLatin1Char(d.DigitAt(d.Exponent + k));
    return digits;
}

QString Grouped(const QString& digits, QChar separator) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        out += digits[i];
        const qsizetype left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += separator;
    }
    return out;
}

QString NonFinite(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString Fixed(double value, int digits, bool thousands, const TfrLocale& locale) {
    if (!std::isfinite(value))
        return NonFinite(value);
    digits = std::clamp(digits, 0, 18);
    TfrDecimal d = TfrDecimal::FromDouble(value, kPrecision);
    if (d.Exponent > kPrecision)
        return frFloatToStr(value, locale);
    d.RoundToDecimals(digits);
    QString integer = IntegerDigits(d);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    QString out = d.Negative && !d.IsZero() ? QStringLiteral("-") : QString();
    out += thousands ? Grouped(integer, locale.ThousandSeparator) : integer;
    if (digits > 0)
        out += locale.DecimalSeparator + FractionDigits(d, digits);
    return out;
}

// One section of a float pattern, read into tokens.
struct Token {
    enum Kind { Digit, Point, Exponent, Text } kind{Text};
    QChar ch;
    QString text;
    int expDigits{0};
};

struct Section {
    std::vector<Token> tokens;
    int intPlaces{0};
    int decPlaces{0};
    int minIntDigits{0};
    int lastZeroDec{0};
    bool thousands{false};
    bool scientific{false};
};

Section ReadSection(const QString& s) {
    Section sec;
    bool afterPoint = false;
    bool afterExp = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        Token t;
        t.ch = c;
        if ((c == u'0' || c == u'#') && !afterExp) {
            t.kind = Token::Digit;
            if (afterPoint) {
                ++sec.decPlaces;
                if (c == u'0')
                    sec.lastZeroDec = sec.decPlaces;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = sec.intPlaces;
                ++sec.intPlaces;
            }
        } else if (c == u'.' && !afterPoint && !afterExp) {
            t.kind = Token::Point;
            afterPoint = true;
        } else if (c == u',') {
            if (!afterPoint)
                sec.thousands = true;
            continue;
        } else if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            t.text = s.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? s.size() : end;
        } else if ((c == u'E' || c == u'e') && !afterExp && i + 1 < s.size() &&
                   (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            t.kind = Token::Exponent;
            t.text = s.mid(i, 2);
            i += 1;
            // Up to four places: "0" a digit always written, "#" one written when needed.
            for (int places = 0; i + 1 < s.size() && places < 4; ++places) {
                if (s[i + 1] == u'0')
                    ++t.expDigits;
                else if (s[i + 1] != u'#')
                    break;
                ++i;
            }
            afterExp = true;
            sec.scientific = true;
        } else {
            t.text = c;
        }
        sec.tokens.push_back(t);
    }
    sec.minIntDigits = firstZero < 0 ? 0 : sec.intPlaces - firstZero;
    return sec;
}

// The decimal of |value| as the section shows it.
TfrDecimal Rounded(const Section& sec, double value) {
    TfrDecimal d = TfrDecimal::FromDouble(value, kPrecision);
    if (sec.scientific)
        d.RoundToSignificant(std::max(1, std::min(sec.intPlaces + sec.decPlaces, kPrecision)));
    else
        d.RoundToDecimals(sec.decPlaces);
    return d;
}

QString Apply(const Section& sec, const TfrDecimal& d, bool minus, const TfrLocale& locale) {
    QString integer;
    QString fraction;
    int exponent = 0;
    if (sec.scientific) {
        if (!d.IsZero())
            exponent = d.Exponent - sec.intPlaces;
        for (int i = 0; i < sec.intPlaces && !d.IsZero(); ++i)
            integer += QLatin1Char(d.DigitAt(i));
        while (integer.startsWith(u'0'))
            integer.remove(0, 1);
        // Zero shows one integer digit, as its exponent does.
        if (d.IsZero() && sec.intPlaces > 0)
            integer = QStringLiteral("0");
        for (int k = 0; k < sec.decPlaces; ++k)
            fraction += QLatin1Char(d.IsZero() ? '0' : d.DigitAt(sec.intPlaces + k));
    } else {
        integer = IntegerDigits(d);
        fraction = FractionDigits(d, sec.decPlaces);
    }
    while (integer.size() < sec.minIntDigits)
        integer.prepend(u'0');
    int shownFraction = sec.lastZeroDec;
    for (int k = sec.decPlaces; k > shownFraction; --k) {
        if (fraction[k - 1] != u'0') {
            shownFraction = k;
            break;
        }
    }

    const int intLen = static_cast<int>(integer.size());
    QString out = minus ? QStringLiteral("-") : QString();
    bool digitOut = false;
    int placeIndex = 0;
    int decIndex = 0;
    bool afterPoint = false;
    bool integerDone = false;
    auto putDigit = [&](int place) {
        out += integer[intLen - place];
        digitOut = true;
        if (sec.thousands && place > 1 && (place - 1) % 3 == 0)
            out += locale.ThousandSeparator;
    };
    // A pattern without integer places still shows the integer digits, before the point.
    auto putBareInteger = [&]() {
        if (sec.intPlaces == 0 && !integerDone)
            for (int p = intLen; p >= 1; --p)
                putDigit(p);
        integerDone = true;
    };
    for (const Token& t : sec.tokens) {
        switch (t.kind) {
            case Token::Digit:
                if (!afterPoint) {
                    const int place = sec.intPlaces - placeIndex;
                    ++placeIndex;
                    if (placeIndex == 1)
                        for (int p = intLen; p > sec.intPlaces; --p)
                            putDigit(p);
                    if (place <= intLen)
                        putDigit(place);
                } else {
                    ++decIndex;
                    if (decIndex <= shownFraction)
                        out += fraction[decIndex - 1];
                }
                break;
            case Token::Point:
                putBareInteger();
                afterPoint = true;
                if (shownFraction > 0)
                    out += locale.DecimalSeparator;
                break;
            case Token::Exponent: {
                putBareInteger();
                out += t.text[0];
                if (exponent < 0)
                    out += u'-';
                else if (t.text[1] == u'+')
                    out += u'+';
                QString digits = QString::number(std::abs(exponent));
                while (digits.size() < t.expDigits)
                    digits.prepend(u'0');
                out += digits;
                break;
            }
            case Token::Text:
                // Text between integer places only stands once a digit has been written, so a
                // space grouping "# ##0" leaves no blank in front of a short number.
                if (afterPoint || placeIndex == 0 || placeIndex == sec.intPlaces || digitOut)
                    out += t.text;
                break;
        }
    }
    putBareInteger();
    return out;
}

QStringList SplitSections(const QString& pattern) {
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

}  // namespace

QString frFloatToStr(double value, const TfrLocale& locale) {
    if (!std::isfinite(value))
        return NonFinite(value);
    const TfrDecimal d = TfrDecimal::FromDouble(value, kPrecision);
    if (d.IsZero())
        return QStringLiteral("0");
    QString out = d.Negative ? QStringLiteral("-") : QString();
    if (d.Exponent > kPrecision || d.Exponent < -3) {
        out += QLatin1Char(d.Digits[0]);
        if (d.Digits.size() > 1)
            out += locale.DecimalSeparator + QString::fromLatin1(d.Digits.substr(1));
        out += QStringLiteral("E") + QString::number(d.Exponent - 1);
        return out;
    }
    const QString integer = IntegerDigits(d);
    out += integer.isEmpty() ? QStringLiteral("0") : integer;
    const int decimals = static_cast<int>(d.Digits.size()) - d.Exponent;
    if (decimals > 0)
        out += locale.DecimalSeparator + FractionDigits(d, decimals);
    return out;
}

QString frFloatToStrFixed(double value, int digits, const TfrLocale& locale) {
    return Fixed(value, digits, false, locale);
}

QString frFloatToStrNumber(double value, int digits, const TfrLocale& locale) {
    return Fixed(value, digits, true, locale);
}

QString frFormatFloat(const QString& pattern, double value, const TfrLocale& locale) {
    if (pattern.isEmpty() || !std::isfinite(value))
        return frFloatToStr(value, locale);
    const QStringList sections = SplitSections(pattern);
    auto has = [&](int i) { return sections.size() > i && !sections[i].isEmpty(); };

    int index = 0;
    if (value < 0 && has(1))
        index = 1;
    else if (value == 0 && has(2))
        index = 2;
    if (sections[index].isEmpty())
        return frFloatToStr(value, locale);
    Section sec = ReadSection(sections[index]);
    if (!sec.scientific && std::fabs(value) >= 1e18)
        return frFloatToStr(value, locale);
    TfrDecimal d = Rounded(sec, value);
    // A value shown as zero takes the zero section, or else the first, without a sign.
    if (d.IsZero() && index != 2 && (has(2) || index == 1)) {
        index = has(2) ? 2 : 0;
        sec = ReadSection(sections[index]);
        d = Rounded(sec, 0);
    }
    const bool minus = index == 0 && value < 0 && !d.IsZero();
    return Apply(sec, d, minus, locale);
}
