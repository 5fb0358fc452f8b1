#include "Variants.h"

#include "EngineErrors.h"
#include "EngineState.h"
#include "Locale.h"
#include "ValueErrors.h"
#include "Variant.h"

#include <algorithm>
#include <limits>

const TfrLocale& frPropertyConventions() {
    if (const TfrEngineState* state = frEngineStateIfRunning(); state && state->TextLayer)
        return state->TextLayer->Conventions();
    static const TfrLocale russian;
    return russian;
}

namespace {

// A property takes a value or raises EVariantError, whatever the conversion's own failure.
template <class Convert>
auto AsProperty(Convert convert) {
    try {
        return convert();
    } catch (const EVariantTypeCastError&) {
        throw EVariantError();
    } catch (const EConvertError&) {
        throw EVariantError();
    }
}

}  // namespace

qint32 frVarToInt(const QVariant& value) {
    const qint64 v = AsProperty([&] { return frVarToInt64(value, frPropertyConventions()); });
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw EVariantError();
    return static_cast<qint32>(v);
}

double frVarToReal(const QVariant& value) {
    return AsProperty([&] { return frVarToReal(value, frPropertyConventions()); });
}

bool frVarToBool(const QVariant& value) {
    return AsProperty([&] { return frVarToBool(value, frPropertyConventions()); });
}

QString frVarToText(const QVariant& value) {
    if (frIsEmpty(value))
        throw EVariantError();
    return AsProperty([&] { return frVarToString(value, frPropertyConventions()); });
}

QString frVarToStr(const QVariant& value) {
    return AsProperty([&] { return frVarToString(value, frPropertyConventions()); });
}

QString frUpper(const QString& text) {
    // Names are plain ASCII almost always: that needs no locale's rules except the Turkic
    // dotted capital I.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii || text.contains(u'i')) {
        const QLocale& locale = frPropertyConventions().CaseLocale();
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
