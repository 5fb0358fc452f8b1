#include "DisplayFormat.h"

#include "Failure.h"
#include "Formatting.h"
#include "Locale.h"
#include "Variant.h"

#include <algorithm>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Spaces and control characters only. A line break is content: a value holding only
// breaks ("[CRLF]") still ends the line it stands in.
bool IsBlank(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 32 || c == u'\r' || c == u'\n')
            return false;
    }
    return true;
}

// The number formats: kinds 0 and 2 are patterns, 1 and 3 fixed notation.
QString FormatNumber(double x, const TfrDisplayFormat& f, const QString& pattern,
                     const TfrLocale& locale) {
    const QString fraction(f.Decimals, u'#');
    switch (f.Kind) {
        case 0:
            return frFormatFloat(QStringLiteral("##0.") + fraction, x, locale);
        case 1:
            return frFloatToStrFixed(x, f.Decimals, locale);
        case 2:
            return frFormatFloat(QStringLiteral("#,##0.") + fraction, x, locale);
        case 3:
            return frFloatToStrNumber(x, f.Decimals, locale);
        default:
            return frFormatFloat(pattern, x, locale);
    }
}

// The text before the first ";" for a value whose integer form is 0, the text after it
// for any other.
QString FormatLogical(const QVariant& value, const QString& pair, const TfrLocale& locale) {
    const qsizetype semicolon = pair.indexOf(u';');
    if (frVarToInt64(value, locale) == 0)
        return semicolon < 0 ? QString() : pair.left(semicolon);
    return pair.mid(semicolon + 1);
}

}  // namespace

TfrDisplayFormat TfrDisplayFormat::Unpack(qint32 packed) {
    const auto bits = static_cast<quint32>(packed);
    TfrDisplayFormat f;
    f.Category = static_cast<int>((bits >> 24) & 15);
    f.Kind = static_cast<int>((bits >> 16) & 255);
    f.Decimals = static_cast<int>((bits >> 8) & 255);
    f.Separator = static_cast<char16_t>(bits & 255);
    return f;
}

qint32 TfrDisplayFormat::Pack() const {
    const quint32 bits = (quint32(Category & 15) << 24) | (quint32(Kind & 255) << 16) |
                         (quint32(Decimals & 255) << 8) | quint32(Separator & 255);
    return static_cast<qint32>(bits);
}

QString frFormatValue(const QVariant& value, qint32 format, const QString& pattern,
                      const TfrLocale& locale, const TfrFormatPresets& presets) {
    if (frIsEmpty(value))
        return QString();
    if (value.typeId() == QMetaType::QString && IsBlank(value.toString()))
        return QString();
    const TfrDisplayFormat f = TfrDisplayFormat::Unpack(format);
    try {
        switch (f.Category) {
            case frfcText:
                return frVarToString(value, locale);
            case frfcNumber: {
                if (f.Kind > frfkCustom)
                    return QString();
                // The format's own decimal separator; none keeps the locale's.
                TfrLocale numbers = locale;
                if (f.Separator != 0)
                    numbers.DecimalSeparator = QChar(f.Separator);
                return FormatNumber(frVarToReal(value, locale), f, pattern, numbers);
            }
            case frfcDate: {
                if (f.Kind > frfkCustom)
                    return QString();
                const QString p = f.Kind == frfkCustom ? pattern
                                  : f.Kind == 3        ? locale.LongDateFormat
                                                       : presets.Dates.value(f.Kind);
                return frFormatDateTime(p, frVarToDateTime(value, locale), locale);
            }
            case frfcTime: {
                if (f.Kind > frfkCustom)
                    return QString();
                const QString p = f.Kind == frfkCustom ? pattern : presets.Times.value(f.Kind);
                return frFormatDateTime(p, frVarToDateTime(value, locale), locale);
            }
            case frfcLogical:
                if (f.Kind > frfkCustom)
                    return QString();
                return FormatLogical(
                    value, f.Kind == frfkCustom ? pattern : presets.Logicals.value(f.Kind), locale);
            default:
                return QString();
        }
    } catch (const Failure&) {
        try {
            return frVarToString(value, locale);
        } catch (const Failure&) {
            return QString();
        }
    }
}

TfrInlineFormat frParseInlineFormat(const QString& text, qint32 format) {
    TfrInlineFormat result{format, text};
    if (text.isEmpty())
        return result;
    QString f = text;
    const QChar first = f.at(0);
    TfrDisplayFormat d;
    if (IsDigit(first) || first == u'N' || first == u'n') {
        if (IsDigit(first))
            f.prepend(u'N');
        d.Category = frfcNumber;
        const bool digitSecond = f.size() > 1 && IsDigit(f.at(1));
        d.Kind = digitSecond ? 1 : 0;
        for (qsizetype k = f.size() - 1; k >= 1; --k) {
            const QChar c = f.at(k);
            if (c != u',' && c != u'-' && c != u'.')
                continue;
            d.Separator = c.unicode();
            f[k] = u'.';
            if (digitSecond) {
                qsizetype end = k + 1;
                while (end < f.size() && IsDigit(f.at(end)))
                    ++end;
                // Digits that no int holds are clamped to the field's width.
                bool ok = false;
                const int decimals = f.mid(k + 1, end - k - 1).toInt(&ok);
                d.Decimals = ok ? std::min(decimals, 255) : (end > k + 1 ? 255 : 0);
            }
            break;
        }
        if (!digitSecond) {
            f.remove(0, 1);
            d.Kind = frfkCustom;
        }
    } else if (first == u'D' || first == u'd' || first == u'T' || first == u't') {
        d.Category = frfcDate;
        d.Kind = frfkCustom;
        f.remove(0, 1);
    } else if (first == u'B' || first == u'b') {
        d.Category = frfcLogical;
        d.Kind = frfkCustom;
        f.remove(0, 1);
    } else {
        return result;
    }
    result.Format = d.Pack();
    result.Pattern = f;
    return result;
}
