#include "WordsLibrary.h"

#include "Failure.h"
#include "Formatting.h"
#include "InWords.h"
#include "TextEngine.h"
#include "Variant.h"

#include <cmath>

namespace {

enum Function { fnAmount, fnNumber, fnDate, fnCount };

TfGender GenderByName(const QString& text) {
    const QString name = text.trimmed().toLower();
    if (name.isEmpty() || name == u"м" || name == u"m")
        return TfGender::Masculine;
    if (name == u"ж" || name == u"f")
        return TfGender::Feminine;
    if (name == u"с" || name == u"n")
        return TfGender::Neuter;
    throw Failure(QStringLiteral("Род числа прописью: 'м', 'ж' или 'с', а не '%1'").arg(text));
}

}  // namespace

TfWordsLibrary::TfWordsLibrary(TfrParser& parser) : TfrFunctionLibrary(parser) {
    // Each function under its Russian name, then under its Latin one.
    list_ = {QStringLiteral("СУММАПРОПИСЬЮ"), QStringLiteral("ЧИСЛОПРОПИСЬЮ"),
             QStringLiteral("ДАТАПРОПИСЬЮ"),  QStringLiteral("AMOUNTINWORDS"),
             QStringLiteral("NUMBERINWORDS"), QStringLiteral("DATEINWORDS")};
}

void TfWordsLibrary::DoFunction(int index, const QString& p1, const QString& p2, const QString& p3,
                                QVariant& value) {
    const TfrLocale& loc = Locale();
    const auto present = [](const QString& arg) { return !arg.trimmed().isEmpty(); };
    switch (index % fnCount) {
        case fnAmount: {
            const QString code = present(p2) ? frVarToString(Arg(p2), loc) : QStringLiteral("RUB");
            const TfCurrency* currency = CurrencyByCode(code);
            if (!currency)
                throw Failure(
                    QStringLiteral("Валюта суммы прописью: RUB, USD или EUR, а не '%1'").arg(code));
            const qint64 kind = present(p3) ? frVarToInt64(Arg(p3), loc) : 0;
            if (kind != 0 && kind != 1)
                throw Failure(QStringLiteral("Вид суммы прописью: 0 (копейки цифрами) или 1 "
                                             "(копейки прописью), а не %1")
                                  .arg(kind));
            value = AmountInWords(frVarToReal(Arg(p1), loc), *currency, kind == 1);
            break;
        }
        case fnNumber: {
            const double number = frVarToReal(Arg(p1), loc);
            if (number != std::trunc(number))
                throw Failure(QStringLiteral("Число прописью: нужно целое число, а не %1")
                                  .arg(frFloatToStr(number, loc)));
            const TfGender gender =
                present(p2) ? GenderByName(frVarToString(Arg(p2), loc)) : TfGender::Masculine;
            // Beyond the largest, NumberInWords gives its failure.
            value = NumberInWords(
                std::fabs(number) > double(MaxInWords) ? MaxInWords + 1 : qint64(number), gender);
            break;
        }
        case fnDate:
            value = DateInWords(frDaysToDateTime(frVarToDateTime(Arg(p1), loc)).date());
            break;
        default:
            break;
    }
}

void InstallWordsLibrary(TfrTextEngine& text) {
    text.Libraries.Install(std::make_unique<TfWordsLibrary>(text.Parser));
}
