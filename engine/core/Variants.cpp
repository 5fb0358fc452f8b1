#include "Variants.h"

#include "EngineErrors.h"
#include "Rounding.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

bool IsNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

bool IsReal(const QVariant& value) {
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

bool IsText(const QVariant& value) {
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray ||
           value.typeId() == QMetaType::QChar;
}

// A number typed as text: in the locale's form or with a point.
std::optional<double> ParseReal(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double d = QLocale().toDouble(t, &ok);
    if (!ok)
        d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

qint32 RealToInt(double d) {
    if (!std::isfinite(d) || d >= 2147483647.5 || d < -2147483648.5)
        throw EVariantError();
    return frRound(d);
}

}  // namespace

qint32 frVarToInt(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (IsNumber(value)) {
        const qlonglong v = value.toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            throw EVariantError();
        return static_cast<qint32>(v);
    }
    if (IsReal(value))
        return RealToInt(value.toDouble());
    if (IsText(value)) {
        bool ok = false;
        const qint32 v = value.toString().trimmed().toInt(&ok);
        if (ok)
            return v;
        if (const auto d = ParseReal(value.toString()))
            return RealToInt(*d);
    }
    throw EVariantError();
}

double frVarToReal(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (IsNumber(value) || IsReal(value))
        return value.toDouble();
    if (IsText(value)) {
        if (const auto d = ParseReal(value.toString()))
            return *d;
    }
    throw EVariantError();
}

bool frVarToBool(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (IsNumber(value) || IsReal(value))
        return value.toDouble() != 0;
    if (IsText(value)) {
        const QString t = value.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto d = ParseReal(t))
            return *d != 0;
    }
    throw EVariantError();
}

QString frVarToText(const QVariant& value) {
    if (value.isNull())
        throw EVariantError();
    if (IsText(value))
        return value.toString();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (IsNumber(value))
        return QString::number(value.toLongLong());
    if (IsReal(value)) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(value.toDouble(), 'g', 15);
    }
    if (value.typeId() == QMetaType::QDateTime)
        return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
    if (value.typeId() == QMetaType::QDate)
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    if (value.typeId() == QMetaType::QTime)
        return QLocale().toString(value.toTime(), QLocale::LongFormat);
    if (value.canConvert<QString>())
        return value.toString();
    throw EVariantError();
}

QString frVarToStr(const QVariant& value) {
    if (value.isNull())
        return QString();
    return frVarToText(value);
}

QString frUpper(const QString& text) {
    // Names are plain ASCII almost always: that needs no locale's rules except the Turkic
    // dotted capital I.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii || text.contains(u'i')) {
        const QLocale locale;
        if (!ascii || locale.language() == QLocale::Turkish ||
            locale.language() == QLocale::Azerbaijani)
            return locale.toUpper(text);
    }
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return upper;
}

bool frSameText(const QString& a, const QString& b) {
    return frUpper(a) == frUpper(b);
}

QStringList frSplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString frJoinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}
