#include "InWords.h"

#include "DecimalDigits.h"
#include "Failure.h"

#include <QStringList>
#include <cmath>

namespace {

const char16_t* const kOnes[] = {u"",     u"один",  u"два",  u"три",    u"четыре",
                                 u"пять", u"шесть", u"семь", u"восемь", u"девять"};
const char16_t* const kTeens[] = {u"десять",       u"одиннадцать", u"двенадцать",  u"тринадцать",
                                  u"четырнадцать", u"пятнадцать",  u"шестнадцать", u"семнадцать",
                                  u"восемнадцать", u"девятнадцать"};
const char16_t* const kTens[] = {
    u"",          u"",           u"двадцать",  u"тридцать",    u"сорок",
    u"пятьдесят", u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
const char16_t* const kHundreds[] = {u"",          u"сто",      u"двести",   u"триста",
                                     u"четыреста", u"пятьсот",  u"шестьсот", u"семьсот",
                                     u"восемьсот", u"девятьсот"};

struct Scale {
    const char16_t* Forms[3];
    TfGender Gender;
};
// Thousands, millions, billions.
const Scale kScales[] = {
    {{u"тысяча", u"тысячи", u"тысяч"}, TfGender::Feminine},
    {{u"миллион", u"миллиона", u"миллионов"}, TfGender::Masculine},
    {{u"миллиард", u"миллиарда", u"миллиардов"}, TfGender::Masculine},
};

const TfCurrency kCurrencies[] = {
    {u"RUB",
     {u"рубль", u"рубля", u"рублей"},
     TfGender::Masculine,
     {u"копейка", u"копейки", u"копеек"},
     TfGender::Feminine},
    {u"USD",
     {u"доллар", u"доллара", u"долларов"},
     TfGender::Masculine,
     {u"цент", u"цента", u"центов"},
     TfGender::Masculine},
    {u"EUR",
     {u"евро", u"евро", u"евро"},
     TfGender::Masculine,
     {u"цент", u"цента", u"центов"},
     TfGender::Masculine},
};

const char16_t* const kGenitiveMonths[] = {u"января",   u"февраля", u"марта",  u"апреля",
                                           u"мая",      u"июня",    u"июля",   u"августа",
                                           u"сентября", u"октября", u"ноября", u"декабря"};

QString Word(const char16_t* text) {
    return QString::fromUtf16(text);
}

// 1 to 999 in words, the last word in the gender given.
void Triple(int n, TfGender gender, QStringList& words) {
    if (n >= 100)
        words << Word(kHundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 10 && rest < 20) {
        words << Word(kTeens[rest - 10]);
        return;
    }
    if (rest >= 20)
        words << Word(kTens[rest / 10]);
    const int one = rest % 10;
    if (one == 1 && gender != TfGender::Masculine)
        words << Word(gender == TfGender::Feminine ? u"одна" : u"одно");
    else if (one == 2 && gender == TfGender::Feminine)
        words << Word(u"две");
    else if (one > 0)
        words << Word(kOnes[one]);
}

QStringList Words(qint64 number, TfGender gender) {
    if (number == 0)
        return {Word(u"ноль")};
    QStringList words;
    if (number < 0) {
        words << Word(u"минус");
        number = -number;
    }
    const qint64 groups[] = {number / 1'000'000'000 % 1000, number / 1'000'000 % 1000,
                             number / 1000 % 1000, number % 1000};
    for (int i = 0; i < 3; ++i) {
        const int n = static_cast<int>(groups[i]);
        if (n == 0)
            continue;
        const Scale& scale = kScales[2 - i];
        Triple(n, scale.Gender, words);
        words << Word(scale.Forms[PluralForm(n)]);
    }
    if (groups[3] != 0)
        Triple(static_cast<int>(groups[3]), gender, words);
    return words;
}

QString Capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

Failure TooLarge() {
    return Failure(
        QStringLiteral("Число слишком велико, чтобы записать его прописью: "
                       "наибольшее 999 999 999 999,99"));
}

}  // namespace

int PluralForm(qint64 number) {
    const qint64 n = number < 0 ? -number : number;
    if (n % 100 >= 11 && n % 100 <= 14)
        return 2;
    if (n % 10 == 1)
        return 0;
    if (n % 10 >= 2 && n % 10 <= 4)
        return 1;
    return 2;
}

QString NumberInWords(qint64 number, TfGender gender) {
    if (number > MaxInWords || number < -MaxInWords)
        throw TooLarge();
    return Words(number, gender).join(u' ');
}

const TfCurrency* CurrencyByCode(const QString& code) {
    for (const TfCurrency& currency : kCurrencies) {
        if (code.trimmed().compare(QString::fromUtf16(currency.Code), Qt::CaseInsensitive) == 0)
            return &currency;
    }
    return nullptr;
}

QString AmountInWords(double amount, const TfCurrency& currency, bool centsInWords) {
    if (!std::isfinite(amount))
        throw TooLarge();
    TfrDecimal decimal = TfrDecimal::FromDouble(amount);
    decimal.RoundToDecimals(2);
    if (decimal.Exponent > 12)
        throw TooLarge();
    // The digit of a power of ten: 0 the units, -1 the tenths.
    const auto digit = [&](int power) {
        const int index = decimal.Exponent - 1 - power;
        return index < 0 ? 0 : decimal.DigitAt(index) - '0';
    };
    qint64 whole = 0;
    for (int power = decimal.Exponent - 1; power >= 0; --power)
        whole = whole * 10 + digit(power);
    const int cents = digit(-1) * 10 + digit(-2);

    QStringList words;
    if (decimal.Negative && !decimal.IsZero())
        words << Word(u"минус");
    words << Words(whole, currency.UnitGender) << Word(currency.Unit[PluralForm(whole)]);
    if (centsInWords)
        words << Words(cents, currency.CentGender);
    else
        words << QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
    words << Word(currency.Cent[PluralForm(cents)]);
    return Capitalised(words.join(u' '));
}

QString DateInWords(const QDate& date) {
    return QStringLiteral("«%1» %2 %3 г.")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(Word(kGenitiveMonths[date.month() - 1]))
        .arg(date.year());
}
