#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

class TfrLocale;

// Categories of the packed display format.
inline constexpr int frfcText = 0;
inline constexpr int frfcNumber = 1;
inline constexpr int frfcDate = 2;
inline constexpr int frfcTime = 3;
inline constexpr int frfcLogical = 4;
// The kind that formats with the pattern text.
inline constexpr int frfkCustom = 4;

// A display format packed in an int32: category in bits 24-27, kind in 16-23, decimals in
// 8-15, the decimal separator's character in 0-7.
struct TfrDisplayFormat {
    int Category{frfcText};
    int Kind{0};
    int Decimals{0};
    char16_t Separator{0};

    static TfrDisplayFormat Unpack(qint32 packed);
    qint32 Pack() const;
};

// The preset patterns of kinds 0 to 3, from the engine's strings. Date kind 3 is the
// locale's long date and has no preset.
struct TfrFormatPresets {
    QStringList Dates{QStringLiteral("dd.mm.yy"), QStringLiteral("dd.mm.yyyy"),
                      QStringLiteral("d mmm yyyy")};
    QStringList Times{QStringLiteral("hh:nn:ss"), QStringLiteral("h:nn:ss"),
                      QStringLiteral("hh:nn"), QStringLiteral("h:nn")};
    // False text, ";", true text.
    QStringList Logicals{QStringLiteral("0;1"), QStringLiteral("Нет;Да"), QStringLiteral("_;x"),
                         QStringLiteral("False;True")};
};

// A bracket's value as text under a packed format and a pattern (kind 4). Empty and null
// values and blank texts give empty text, so does an unknown category or kind; a value the
// format cannot convert gives its plain text form.
QString frFormatValue(const QVariant& value, qint32 format, const QString& pattern,
                      const TfrLocale& locale, const TfrFormatPresets& presets);

// A bracket's inline format (the text after " #"): the format and pattern it selects. An
// unknown first character keeps the given format and takes the text as the pattern.
struct TfrInlineFormat {
    qint32 Format{0};
    QString Pattern;
};
TfrInlineFormat frParseInlineFormat(const QString& text, qint32 format);
