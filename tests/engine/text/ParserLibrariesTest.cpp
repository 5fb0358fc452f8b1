#include "ParserFixture.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A library of one function, NAME<N>, answering N; each N is a class of its own.
template <int N>
class NumberLibrary : public TfrFunctionLibrary {
public:
    explicit NumberLibrary(TfrParser& parser, QString name = u"NUMBER"_s)
        : TfrFunctionLibrary(parser) {
        list_ << name;
    }

protected:
    void DoFunction(int, const QString& p1, const QString&, const QString&,
                    QVariant& value) override {
        value = N * 1000 + frVarToInt64(Arg(p1), Locale());
    }
};

}  // namespace

using Libraries = ParserFixture;

TEST_F(Libraries, InputAsksThroughTheServices) {
    services.inputAnswers << u"Пётр"_s;
    EXPECT_TRUE(SameValue(parser.Evaluate(u"INPUT('Имя?', 'Ив' + 'ан') + '!'"_s), u"Пётр!"_s));
    // Cancelled, the box gives its default text back.
    EXPECT_TRUE(SameValue(parser.Evaluate(u"INPUT('Имя?', 'Иван')"_s), u"Иван"_s));
    ASSERT_EQ(services.inputs.size(), 2);
    EXPECT_EQ(services.inputs[0].caption, QString());
    EXPECT_EQ(services.inputs[0].prompt, u"Имя?"_s);
    EXPECT_EQ(services.inputs[0].defaultText, u"Иван"_s);

    state.Services = nullptr;
    try {
        parser.Evaluate(u"INPUT('Имя?', '')"_s);
        ADD_FAILURE() << "no error without services";
    } catch (const Failure& e) {
        EXPECT_EQ(e.Message(), u"Имя?"_s);
    }
}

TEST_F(Libraries, MessageBoxAnswersWithTheButtonCode) {
    services.flagAnswers << 6;
    EXPECT_TRUE(SameValue(parser.Evaluate(u"MESSAGEBOX('Сохранить?', 'Вопрос', 4 + 32)"_s), 6));
    // Closed without an answer: No for Yes/No, Cancel when there is one.
    EXPECT_TRUE(SameValue(parser.Evaluate(u"MESSAGEBOX('a', 'b', 4)"_s), 7));
    EXPECT_TRUE(SameValue(parser.Evaluate(u"MESSAGEBOX('a', 'b', 3)"_s), 2));
    ASSERT_EQ(services.flagBoxes.size(), 3);
    EXPECT_EQ(services.flagBoxes[0].text, u"Сохранить?"_s);
    EXPECT_EQ(services.flagBoxes[0].caption, u"Вопрос"_s);
    EXPECT_EQ(services.flagBoxes[0].flags, 36);
}

TEST_F(Libraries, FirstInstalledLibraryThatKnowsTheNameAnswers) {
    EXPECT_TRUE(libraries.Install(std::make_unique<NumberLibrary<1>>(parser)));
    EXPECT_TRUE(libraries.Install(std::make_unique<NumberLibrary<2>>(parser, u"UPPERCASE"_s)));
    EXPECT_FALSE(libraries.Install(std::make_unique<NumberLibrary<1>>(parser, u"OTHER"_s)));
    EXPECT_EQ(libraries.Count(), 3);

    EXPECT_TRUE(SameValue(parser.Evaluate(u"number(5)"_s), 1005));
    EXPECT_TRUE(SameValue(parser.Evaluate(u"UpperCase('a')"_s), u"A"_s));
    libraries.Uninstall<TfrStdFunctionLibrary>();
    EXPECT_EQ(libraries.Count(), 2);
    EXPECT_TRUE(SameValue(parser.Evaluate(u"UpperCase(7)"_s), 2007));
    // Nothing knows it: the caller's value stays and the call is passed on.
    EXPECT_TRUE(SameValue(parser.Evaluate(u"LENGTH('abc')"_s), u"0"_s));
    ASSERT_EQ(callsPassedOn.size(), 1);

    QStringList described;
    for (const auto& e : installed.Entries())
        described << e.Name;
    EXPECT_EQ(described, QStringList({u"NUMBER"_s, u"UPPERCASE"_s}));
}

TEST_F(Libraries, AtMostThirtyTwo) {
    [this]<int... N>(std::integer_sequence<int, N...>) {
        (libraries.Install(std::make_unique<NumberLibrary<N + 1>>(parser)), ...);
    }
    (std::make_integer_sequence<int, 31>());
    EXPECT_EQ(libraries.Count(), 32);
    EXPECT_THROW(libraries.Install(std::make_unique<NumberLibrary<99>>(parser)), Failure);
    EXPECT_EQ(libraries.Count(), 32);
    EXPECT_TRUE(SameValue(parser.Evaluate(u"NUMBER(1)"_s), 1001));
}

TEST_F(Libraries, StandardFunctionsAreListedInOrder) {
    const QStringList expected = {
        u"AVG"_s,        u"COUNT"_s,      u"DAYOF"_s,  u"FORMATDATETIME"_s, u"FORMATFLOAT"_s,
        u"FORMATTEXT"_s, u"INPUT"_s,      u"LENGTH"_s, u"LOWERCASE"_s,      u"MAX"_s,
        u"MAXNUM"_s,     u"MESSAGEBOX"_s, u"MIN"_s,    u"MINNUM"_s,         u"MONTHOF"_s,
        u"NAMECASE"_s,   u"POS"_s,        u"SUM"_s,    u"TRIM"_s,           u"UPPERCASE"_s,
        u"YEAROF"_s};
    EXPECT_EQ(libraries.At(0).List(), expected);
    EXPECT_TRUE(SameValue(parser.Evaluate(u"FORMATTEXT('000-000', '123456')"_s), u"123-456"_s));
}
