#include "StdFunctionLibrary.h"

#include "EngineState.h"
#include "Failure.h"
#include "Formatting.h"
#include "Locale.h"
#include "Parser.h"
#include "UiServices.h"
#include "Variant.h"

namespace {

enum Function {
    fnAvg,
    fnCount,
    fnDayOf,
    fnFormatDateTime,
    fnFormatFloat,
    fnFormatText,
    fnInput,
    fnLength,
    fnLowerCase,
    fnMax,
    fnMaxNum,
    fnMessageBox,
    fnMin,
    fnMinNum,
    fnMonthOf,
    fnNameCase,
    fnPos,
    fnSum,
    fnTrim,
    fnUpperCase,
    fnYearOf,
};

// Leading and trailing characters at or below the space go.
QString TrimText(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from].unicode() <= 32)
        ++from;
    while (to > from && s[to - 1].unicode() <= 32)
        --to;
    return s.mid(from, to - from);
}

}  // namespace

TfrStdFunctionLibrary::TfrStdFunctionLibrary(TfrParser& parser, TfrEngineState& state)
    : TfrFunctionLibrary(parser), state_(state) {
    list_ = {QStringLiteral("AVG"),         QStringLiteral("COUNT"),
             QStringLiteral("DAYOF"),       QStringLiteral("FORMATDATETIME"),
             QStringLiteral("FORMATFLOAT"), QStringLiteral("FORMATTEXT"),
             QStringLiteral("INPUT"),       QStringLiteral("LENGTH"),
             QStringLiteral("LOWERCASE"),   QStringLiteral("MAX"),
             QStringLiteral("MAXNUM"),      QStringLiteral("MESSAGEBOX"),
             QStringLiteral("MIN"),         QStringLiteral("MINNUM"),
             QStringLiteral("MONTHOF"),     QStringLiteral("NAMECASE"),
             QStringLiteral("POS"),         QStringLiteral("SUM"),
             QStringLiteral("TRIM"),        QStringLiteral("UPPERCASE"),
             QStringLiteral("YEAROF")};
}

void TfrStdFunctionLibrary::DoFunction(int index, const QString& p1, const QString& p2,
                                       const QString& p3, QVariant& value) {
    const TfrLocale& loc = Locale();
    const auto text = [&](const QString& arg) { return frVarToString(Arg(arg), loc); };
    const auto datePart = [&](const QString& arg, const QString& pattern) {
        const double days = frVarToDateTime(Arg(arg), loc);
        return QVariant(frStrToInt(frFormatDateTime(pattern, days, loc)));
    };
    switch (index) {
        case fnAvg:
        case fnCount:
        case fnMax:
        case fnMin:
        case fnSum:
            break;
        case fnDayOf:
            value = datePart(p1, QStringLiteral("d"));
            break;
        case fnMonthOf:
            value = datePart(p1, QStringLiteral("m"));
            break;
        case fnYearOf:
            value = datePart(p1, QStringLiteral("yyyy"));
            break;
        case fnFormatDateTime:
            value = frFormatDateTime(text(p1), frVarToDateTime(Arg(p2), loc), loc);
            break;
        case fnFormatFloat:
            value = frFormatFloat(text(p1), frVarToReal(Arg(p2), loc), loc);
            break;
        case fnFormatText:
            value = frFormatMaskText(text(p1) + QStringLiteral(";0; "), text(p2), loc);
            break;
        case fnInput: {
            const QString prompt = text(p1);
            const QString defaultText = text(p2);
            if (!state_.Services)
                throw Failure(prompt);
            value = state_.Services->InputBox(QString(), prompt, defaultText);
            break;
        }
        case fnMessageBox: {
            const QString message = text(p1);
            const QString caption = text(p2);
            const auto flags = static_cast<int>(frVarToInt64(Arg(p3), loc));
            if (!state_.Services)
                throw Failure(message);
            value = state_.Services->MessageBox(message, caption, flags);
            break;
        }
        case fnLength:
            value = static_cast<int>(text(p1).size());
            break;
        case fnLowerCase:
            value = loc.Lower(text(p1));
            break;
        case fnUpperCase:
            value = loc.Upper(text(p1));
            break;
        case fnNameCase: {
            const QString s = loc.Lower(text(p1));
            value = s.isEmpty() ? s : loc.Upper(s.left(1)) + s.mid(1);
            break;
        }
        case fnMaxNum:
        case fnMinNum: {
            const QVariant a = Arg(p1);
            const QVariant b = Arg(p2);
            const int order = frVarCompare(a, b, loc);
            value = (index == fnMaxNum ? order > 0 : order < 0) ? a : b;
            break;
        }
        case fnPos: {
            const QString part = text(p1);
            value = part.isEmpty() ? 0 : static_cast<int>(text(p2).indexOf(part) + 1);
            break;
        }
        case fnTrim:
            value = TrimText(text(p1));
            break;
        default:
            break;
    }
}
