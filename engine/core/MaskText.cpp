// Text laid out by an edit mask.
#include "Formatting.h"
#include "Locale.h"

#include <vector>

namespace {

struct MaskItem {
    bool input{false};
    QChar literal;
    // 0 as typed, 1 upper, 2 lower.
    int letterCase{0};
};

struct Mask {
    std::vector<MaskItem> items;
    bool reverse{false};
    bool saveLiterals{true};
};

// Positions of the unescaped ";" of a mask.
std::vector<qsizetype> FieldSeparators(const QString& mask) {
    std::vector<qsizetype> at;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'\\')
            ++i;
        else if (mask[i] == u';')
            at.push_back(i);
    }
    return at;
}

Mask ReadMask(const QString& full, const TfrLocale& locale) {
    Mask m;
    const auto separators = FieldSeparators(full);
    // The fields are counted from the end: save-literals flag, then blank character.
    qsizetype end = full.size();
    if (separators.size() >= 2) {
        end = separators[separators.size() - 2];
        m.saveLiterals = full.mid(end + 1, 1) != QStringLiteral("0");
    } else if (separators.size() == 1) {
        end = separators[0];
        m.saveLiterals = full.mid(end + 1, 1) != QStringLiteral("0");
    }
    const QString mask = full.left(end);
    int letterCase = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        MaskItem item;
        switch (c.unicode()) {
            case '!':
                m.reverse = true;
                continue;
            case '>':
                letterCase = 1;
                continue;
            case '<':
                if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                    ++i;
                    letterCase = 0;
                } else {
                    letterCase = 2;
                }
                continue;
            case '\\':
                if (++i >= mask.size())
                    continue;
                item.literal = mask[i];
                break;
            case 'L':
            case 'l':
            case 'A':
            case 'a':
            case 'C':
            case 'c':
            case '0':
            case '9':
            case '#':
                item.input = true;
                item.letterCase = letterCase;
                break;
            case ':':
                item.literal = locale.TimeSeparator;
                break;
            case '/':
                item.literal = locale.DateSeparator;
                break;
            case '_':
                item.literal = u' ';
                break;
            default:
                item.literal = c;
                break;
        }
        m.items.push_back(item);
    }
    return m;
}

QString Cased(const QString& c, int letterCase, const TfrLocale& locale) {
    return letterCase == 1 ? locale.Upper(c) : letterCase == 2 ? locale.Lower(c) : c;
}

}  // namespace

QString frFormatMaskText(const QString& maskText, const QString& text, const TfrLocale& locale) {
    const Mask mask = ReadMask(maskText, locale);
    const QChar blank = u' ';
    QString out;
    if (mask.saveLiterals) {
        // The text holds the literals already; each one found in its place is taken as read.
        qsizetype k = 0;
        for (const MaskItem& item : mask.items) {
            if (!item.input) {
                if (k < text.size() && text[k] == item.literal)
                    ++k;
                out += item.literal;
            } else {
                out += k < text.size() ? Cased(text.mid(k++, 1), item.letterCase, locale)
                                       : QString(blank);
            }
        }
        return out + text.mid(k);
    }
    if (!mask.reverse) {
        qsizetype k = 0;
        for (const MaskItem& item : mask.items) {
            if (!item.input)
                out += item.literal;
            else
                out += k < text.size() ? Cased(text.mid(k++, 1), item.letterCase, locale)
                                       : QString(blank);
        }
        return out + text.mid(k);
    }
    // Filled from the right: a short text leaves blanks at the front.
    qsizetype k = text.size();
    for (auto it = mask.items.rbegin(); it != mask.items.rend(); ++it) {
        if (!it->input)
            out.prepend(it->literal);
        else
            out.prepend(k > 0 ? Cased(text.mid(--k, 1), it->letterCase, locale) : QString(blank));
    }
    return text.left(k) + out;
}
