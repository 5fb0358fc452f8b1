#include "Engine.h"
#include "Failure.h"
#include "FailureText.h"
#include "InWords.h"
#include "Interpretator.h"
#include "ServicesDouble.h"
#include "TextEngine.h"
#include "Variant.h"
#include "WordsLibrary.h"

#include <gtest/gtest.h>

#include <QDate>
#include <limits>
#include <memory>

namespace {

TEST(InWords, AmountsInRoublesDollarsAndEuros) {
    const TfCurrency& rub = *CurrencyByCode(QStringLiteral("RUB"));
    const TfCurrency& usd = *CurrencyByCode(QStringLiteral("usd"));
    const TfCurrency& eur = *CurrencyByCode(QStringLiteral(" EUR "));
    struct Case {
        double amount;
        const TfCurrency& currency;
        const char* words;
    };
    const Case cases[] = {
        {0, rub, "Ноль рублей 00 копеек"},
        {0.01, rub, "Ноль рублей 01 копейка"},
        {1, rub, "Один рубль 00 копеек"},
        {2, rub, "Два рубля 00 копеек"},
        {5, rub, "Пять рублей 00 копеек"},
        {11, rub, "Одиннадцать рублей 00 копеек"},
        {12, rub, "Двенадцать рублей 00 копеек"},
        {21, rub, "Двадцать один рубль 00 копеек"},
        {22, rub, "Двадцать два рубля 00 копеек"},
        {100, rub, "Сто рублей 00 копеек"},
        {101, rub, "Сто один рубль 00 копеек"},
        {111, rub, "Сто одиннадцать рублей 00 копеек"},
        {1000, rub, "Одна тысяча рублей 00 копеек"},
        {1001, rub, "Одна тысяча один рубль 00 копеек"},
        {2000, rub, "Две тысячи рублей 00 копеек"},
        {5000, rub, "Пять тысяч рублей 00 копеек"},
        {21000, rub, "Двадцать одна тысяча рублей 00 копеек"},
        {1000000, rub, "Один миллион рублей 00 копеек"},
        {2000000, rub, "Два миллиона рублей 00 копеек"},
        {1234, rub, "Одна тысяча двести тридцать четыре рубля 00 копеек"},
        {1234567.89, rub,
         "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь рублей 89 копеек"},
        {999999999999.99, rub,
         "Девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов девятьсот "
         "девяносто девять тысяч девятьсот девяносто девять рублей 99 копеек"},
        {-15.5, rub, "Минус пятнадцать рублей 50 копеек"},
        {12000011, rub, "Двенадцать миллионов одиннадцать рублей 00 копеек"},
        // Hundredths round half away from zero on the decimal the amount reads as.
        {2.345, rub, "Два рубля 35 копеек"},
        {0.005, rub, "Ноль рублей 01 копейка"},
        {-0.004, rub, "Ноль рублей 00 копеек"},
        {1.995, rub, "Два рубля 00 копеек"},
        {1, usd, "Один доллар 00 центов"},
        {22.01, usd, "Двадцать два доллара 01 цент"},
        {1234567.89, usd,
         "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь долларов 89 "
         "центов"},
        {-15.5, usd, "Минус пятнадцать долларов 50 центов"},
        {1, eur, "Один евро 00 центов"},
        {21000, eur, "Двадцать одна тысяча евро 00 центов"},
        {5.02, eur, "Пять евро 02 цента"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(AmountInWords(c.amount, c.currency), QString::fromUtf8(c.words));
    }
    EXPECT_EQ(AmountInWords(1234.56, rub, true),
              QStringLiteral("Одна тысяча двести тридцать четыре рубля пятьдесят шесть копеек"));
    EXPECT_EQ(AmountInWords(0.21, usd, true), QStringLiteral("Ноль долларов двадцать один цент"));
    EXPECT_EQ(AmountInWords(3.02, rub, true), QStringLiteral("Три рубля две копейки"));
    EXPECT_EQ(CurrencyByCode(QStringLiteral("GBP")), nullptr);

    const QString tooLarge = QStringLiteral(
        "Число слишком велико, чтобы записать его прописью: наибольшее 999 999 999 999,99");
    for (double amount :
         {1e15, 1e12, -1e12, 999999999999.995, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(FailureText([&] { AmountInWords(amount, rub); }), tooLarge) << amount;
}

TEST(InWords, NumbersInThreeGendersAndDates) {
    struct Case {
        qint64 number;
        const char* masculine;
        const char* feminine;
        const char* neuter;
    };
    const Case cases[] = {
        {0, "ноль", "ноль", "ноль"},
        {1, "один", "одна", "одно"},
        {2, "два", "две", "два"},
        {12, "двенадцать", "двенадцать", "двенадцать"},
        {21, "двадцать один", "двадцать одна", "двадцать одно"},
        {42, "сорок два", "сорок две", "сорок два"},
        {1001, "одна тысяча один", "одна тысяча одна", "одна тысяча одно"},
        {2002, "две тысячи два", "две тысячи две", "две тысячи два"},
        {-301, "минус триста один", "минус триста одна", "минус триста одно"},
        {1002000000, "один миллиард два миллиона", "один миллиард два миллиона",
         "один миллиард два миллиона"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(NumberInWords(c.number), QString::fromUtf8(c.masculine));
        EXPECT_EQ(NumberInWords(c.number, TfGender::Feminine), QString::fromUtf8(c.feminine));
        EXPECT_EQ(NumberInWords(c.number, TfGender::Neuter), QString::fromUtf8(c.neuter));
    }
    EXPECT_EQ(FailureText([] { NumberInWords(-MaxInWords - 1); }),
              QStringLiteral("Число слишком велико, чтобы записать его прописью: наибольшее "
                             "999 999 999 999,99"));

    EXPECT_EQ(DateInWords(QDate(2026, 12, 10)), QStringLiteral("«10» декабря 2026 г."));
    EXPECT_EQ(DateInWords(QDate(2027, 5, 1)), QStringLiteral("«01» мая 2027 г."));
}

// The functions in expressions and, by their Latin names, in scripts.
class WordsInExpressions : public ::testing::Test {
protected:
    WordsInExpressions() {
        engine.State().Services = &services;
        InstallWordsLibrary(text);
    }

    QString Eval(const QString& expression) {
        return frVarToString(text.Evaluate(expression), text.Locale);
    }

    ServicesDouble services;
    TfrEngine engine{nullptr};
    TfrTextEngine& text{frStartTextLayer(engine)};
};

TEST_F(WordsInExpressions, EveryFormAndItsErrors) {
    struct Case {
        const char* expression;
        const char* value;
    };
    const Case cases[] = {
        {"СУММАПРОПИСЬЮ(1234.56)", "Одна тысяча двести тридцать четыре рубля 56 копеек"},
        {"суммапрописью(1234.56, 'RUB', 1)",
         "Одна тысяча двести тридцать четыре рубля пятьдесят шесть копеек"},
        {"СУММАПРОПИСЬЮ(10 * 2 + 1, 'USD')", "Двадцать один доллар 00 центов"},
        {"СУММАПРОПИСЬЮ('5,5', 'EUR', 0)", "Пять евро 50 центов"},
        {"AMOUNTINWORDS(-15.5)", "Минус пятнадцать рублей 50 копеек"},
        {"ЧИСЛОПРОПИСЬЮ(21000)", "двадцать одна тысяча"},
        {"ЧИСЛОПРОПИСЬЮ(2, 'ж')", "две"},
        {"NUMBERINWORDS(1, 'n')", "одно"},
        {"ДАТАПРОПИСЬЮ(STRTODATE('10.12.2026'))", "«10» декабря 2026 г."},
        {"DATEINWORDS('05.03.2026')", "«05» марта 2026 г."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(Eval(QString::fromUtf8(c.expression)), QString::fromUtf8(c.value));
    }

    const struct {
        const char* expression;
        const char* failure;
    } errors[] = {
        {"СУММАПРОПИСЬЮ(1000000000000)",
         "Число слишком велико, чтобы записать его прописью: наибольшее 999 999 999 999,99"},
        {"СУММАПРОПИСЬЮ(1, 'GBP')", "Валюта суммы прописью: RUB, USD или EUR, а не 'GBP'"},
        {"СУММАПРОПИСЬЮ(1, 'RUB', 2)",
         "Вид суммы прописью: 0 (копейки цифрами) или 1 (копейки прописью), а не 2"},
        {"ЧИСЛОПРОПИСЬЮ(2.5)", "Число прописью: нужно целое число, а не 2,5"},
        {"ЧИСЛОПРОПИСЬЮ(1e15)",
         "Число слишком велико, чтобы записать его прописью: наибольшее 999 999 999 999,99"},
        {"ЧИСЛОПРОПИСЬЮ(2, 'x')", "Род числа прописью: 'м', 'ж' или 'с', а не 'x'"},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.expression);
        EXPECT_EQ(FailureText([&] { Eval(QString::fromUtf8(e.expression)); }),
                  QString::fromUtf8(e.failure));
    }

    QStringList code;
    QStringList problems;
    text.ScriptEngine.TranslateScript(
        {QStringLiteral("begin s := AMOUNTINWORDS(2, 'EUR'); n := NUMBERINWORDS(22, 'ж') end")},
        code, problems);
    ASSERT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    text.ScriptEngine.RunScript(code);
    EXPECT_EQ(frVarToString(text.UserVariables.Variable(QStringLiteral("s")), text.Locale),
              QStringLiteral("Два евро 00 центов"));
    EXPECT_EQ(frVarToString(text.UserVariables.Variable(QStringLiteral("n")), text.Locale),
              QStringLiteral("двадцать две"));
}

}  // namespace
