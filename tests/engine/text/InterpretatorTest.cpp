#include "ExpandFixture.h"
#include "Interpretator.h"
#include "Locale.h"
#include "ParserError.h"
#include "Variant.h"

#include <QBuffer>
#include <iterator>
#include <random>

namespace {

// Code lines as the translator writes them.
QString Target(int t) {
    const QChar bytes[] = {QChar(char16_t(t & 255)), QChar(char16_t(t >> 8))};
    return QString(bytes, 2);
}
QString If(int target, const QString& condition) {
    return QChar(1) + Target(target) + condition;
}
QString Goto(int target) {
    return QChar(2) + Target(target);
}
QString Call(const QString& expression) {
    return QChar(3) + expression;
}
const QString LessEq{QChar(2)};
const QString GreaterEq{QChar(1)};

QString Readable(const QStringList& lines) {
    QString s;
    for (const QString& line : lines) {
        for (const QChar c : line)
            s += c < u' ' ? QStringLiteral("<%1>").arg(c.unicode()) : QString(c);
        s += QStringLiteral(" | ");
    }
    return s;
}

// --- translation ----------------------------------------------------------------------------

struct TranslationCase {
    const char* name;
    QStringList source;
    QStringList code;
    QStringList errors;
};

TEST(ScriptTranslation, CodeLinesAndErrorLines) {
    const TranslationCase cases[] = {
        {"empty script", {}, {}, {}},
        {"empty line", {QString()}, {}, {}},
        {"assignment and call without arguments",
         {QStringLiteral("begin a := 1; newpage end")},
         {QStringLiteral("a 1 "), Call(QStringLiteral("newpage(0)"))},
         {}},
        {"if with else",
         {QStringLiteral("begin if x > 1 then y := 2 else y := 3 end")},
         {If(3, QStringLiteral("x 1 >")), QStringLiteral("y 2 "), Goto(4), QStringLiteral("y 3 ")},
         {}},
        {"for",
         {QStringLiteral("begin for i := 1 to 3 do s := s + i end")},
         {QStringLiteral("i 1 "), If(5, QStringLiteral("i 3 ") + LessEq), QStringLiteral("s s i +"),
          QStringLiteral("i i 1 +"), Goto(1)},
         {}},
        {"exit without and with its argument",
         {QStringLiteral("begin exit; exit(0); a := 1 end")},
         {Call(QStringLiteral("exit(0)")), Call(QStringLiteral("exit(0)")), QStringLiteral("a 1 ")},
         {}},
        {"keywords in any case, names as written",
         {QStringLiteral("BEGIN A := 1 END")},
         {QStringLiteral("A 1 ")},
         {}},
        {"no keyword glued to a name",
         {QStringLiteral("begina := 1 end")},
         {QStringLiteral("begina 1 ")},
         {}},
        {"missing semicolon",
         {QStringLiteral("begin a := 1 b := 2 end")},
         {QStringLiteral("a 1 ")},
         {QStringLiteral("Line 1/14: Need \";\" or \"end\" here")}},
        {"missing then",
         {QStringLiteral("begin if a b := 1 end")},
         {If(1, QStringLiteral("a "))},
         {QStringLiteral("Line 1/12: Need \"then\" here")}},
        {"label and goto",
         {QStringLiteral("begin 10: a := a + 1; if a < 5 then goto 10 end")},
         {QStringLiteral("a a 1 +"), If(3, QStringLiteral("a 5 <")), Goto(0)},
         {}},
        {"goto without its label keeps the digits",
         {QStringLiteral("begin goto 7 end")},
         {QChar(2) + QStringLiteral("7")},
         {}},
        {"repeat",
         {QStringLiteral("begin i := 0; repeat i := i + 1 until i >= 3 end")},
         {QStringLiteral("i 0 "), QStringLiteral("i i 1 +"),
          If(1, QStringLiteral("i 3 ") + GreaterEq)},
         {}},
        {"while",
         {QStringLiteral("while i < 3 do i := i + 1")},
         {If(3, QStringLiteral("i 3 <")), QStringLiteral("i i 1 +"), Goto(0)},
         {}},
        {"indexed name",
         {QStringLiteral("arr[2] := 5")},
         {Call(QStringLiteral("SETARRAY(arr, 2, 5)"))},
         {}},
        {"property",
         {QStringLiteral("Memo1.Visible := false")},
         {QStringLiteral("Memo1.Visible false ")},
         {}},
        {"call statement",
         {QStringLiteral("begin f(1, 'a') end")},
         {Call(QStringLiteral("f(1, 'a')"))},
         {}},
        {"tabs are blanks", {QStringLiteral("a\t:=\t1")}, {QStringLiteral("a 1 ")}, {}},
        {"comments count in the error position",
         {QStringLiteral("begin { note }"), QStringLiteral("  a := 1; // tail"),
          QStringLiteral("  b := 2 c := 3 end")},
         {QStringLiteral("a 1 "), QStringLiteral("b 2 ")},
         {QStringLiteral("Line 3/10: Need \";\" or \"end\" here")}},
        {"a comment right after a word ends it",
         {QStringLiteral("begin a := 1{c}+2 end")},
         {QStringLiteral("a 1 2 +")},
         {}},
        {"comment marks inside a text after a blank stay",
         {QStringLiteral("s := 'a {b} // c'")},
         {QStringLiteral("s 'a {b} // c' ")},
         {}},
        {"a brace inside a quoted text is no comment",
         {QStringLiteral("begin s := x+'{a}' end")},
         {QStringLiteral("s x '{a}' +")},
         {}},
        // Forms the grammar leaves open.
        {"empty statements",
         {QStringLiteral("begin ; a := 1;; b := 2; end")},
         {QStringLiteral("a 1 "), QStringLiteral("b 2 ")},
         {}},
        {"empty then branch",
         {QStringLiteral("if x then else y := 1")},
         {If(2, QStringLiteral("x ")), Goto(3), QStringLiteral("y 1 ")},
         {}},
        {"no expression",
         {QStringLiteral("a := ;")},
         {},
         {QString::fromUtf8("Line 1/6: Здесь нужно выражение")}},
        {"no end",
         {QStringLiteral("begin a := 1;")},
         {QStringLiteral("a 1 ")},
         {QStringLiteral("Line 2/0: Need \";\" or \"end\" here")}},
        // The other error lines.
        {"unclosed parenthesis",
         {QStringLiteral("a := (1 + 2")},
         {},
         {QStringLiteral("Line 2/0: Need \")\" here")}},
        {"arguments",
         {QStringLiteral("f(1 2)")},
         {},
         {QStringLiteral("Line 1/5: Need \",\" or \")\" here")}},
        {"unclosed bracket",
         {QStringLiteral("a := [x")},
         {},
         {QStringLiteral("Line 2/0: Need \"]\" here")}},
        {"goto label",
         {QStringLiteral("goto x")},
         {},
         {QStringLiteral("Line 1/6: \"goto\" label must be a number")}},
        {"for without to",
         {QStringLiteral("for i := 1 do a := 1")},
         {QStringLiteral("i 1 ")},
         {QStringLiteral("Line 1/12: Need \"to\" here")}},
        {"while without do",
         {QStringLiteral("while 1 a := 1")},
         {If(1, QStringLiteral("1 "))},
         {QStringLiteral("Line 1/9: Need \"do\" here")}},
        {"repeat without until",
         {QStringLiteral("repeat a := 1 b")},
         {QStringLiteral("a 1 ")},
         {QStringLiteral("Line 1/15: Need \";\" or \"until\" here")}},
        {"no assignment",
         {QStringLiteral("a = 1")},
         {},
         {QStringLiteral("Line 1/3: Need \":=\" here")}},
    };
    TfrInterpretator interpretator(TfrLocale::Russian());
    for (const TranslationCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList code{QStringLiteral("old")};
        QStringList errors{QStringLiteral("old")};
        interpretator.TranslateScript(c.source, code, errors);
        EXPECT_EQ(Readable(code), Readable(c.code));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(errors, c.errors);
    }
}

TEST(ScriptTranslation, TheSourceMayBeTheCodeList) {
    TfrInterpretator interpretator(TfrLocale::Russian());
    QStringList script{QStringLiteral("begin"), QStringLiteral("  a := 1"), QStringLiteral("end")};
    QStringList errors;
    interpretator.TranslateScript(script, script, errors);
    EXPECT_EQ(script, QStringList{QStringLiteral("a 1 ")});
    EXPECT_TRUE(errors.isEmpty());
}

TEST(ScriptTranslation, LimitsEndTranslationWithAnErrorLine) {
    TfrInterpretator interpretator(TfrLocale::Russian());
    QStringList code;
    QStringList errors;

    // 31,999 characters with the line break fit; one more does not.
    QString fits = QStringLiteral("begin a := 1 end");
    fits += QString(31998 - fits.size(), u' ');
    interpretator.TranslateScript({fits}, code, errors);
    EXPECT_EQ(code, QStringList{QStringLiteral("a 1 ")});
    EXPECT_TRUE(errors.isEmpty());
    interpretator.TranslateScript({fits + u' '}, code, errors);
    EXPECT_TRUE(code.isEmpty());
    EXPECT_EQ(errors,
              QStringList{QString::fromUtf8("Line 1/32000: Сценарий длиннее 31999 знаков")});

    const auto labelled = [](int count) {
        QString s = QStringLiteral("begin ");
        for (int i = 1; i <= count; ++i)
            s += QStringLiteral("%1: ").arg(i);
        return s + QStringLiteral("a := 1 end");
    };
    interpretator.TranslateScript({labelled(101)}, code, errors);
    EXPECT_EQ(code, QStringList{QStringLiteral("a 1 ")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(interpretator.ScriptLabels().size(), 101u);
    const QString many = labelled(102);
    interpretator.TranslateScript({many}, code, errors);
    EXPECT_TRUE(code.isEmpty());
    EXPECT_EQ(errors, QStringList{QString::fromUtf8("Line 1/%1: Больше 101 меток")
                                      .arg(many.indexOf(QStringLiteral(" 102:")) + 2)});
    // Nesting deeper than the translator follows is an error line too; long chains are not.
    interpretator.TranslateScript(
        {QStringLiteral("a := ") + QString(5000, u'(') + u'1' + QString(5000, u')')}, code, errors);
    EXPECT_TRUE(code.isEmpty());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(QString::fromUtf8("Слишком глубокая вложенность")));
    interpretator.TranslateScript({QStringLiteral("begin ").repeated(5000)}, code, errors);
    EXPECT_EQ(errors.size(), 1);
    QString chain = QStringLiteral("a := 1") + QStringLiteral("+1").repeated(15000);
    interpretator.TranslateScript({chain}, code, errors);
    EXPECT_EQ(code.size(), 1);
    EXPECT_TRUE(errors.isEmpty());

    // A label said twice keeps its first place.
    interpretator.TranslateScript({QStringLiteral("begin 5: a := 1; 5: b := 2; goto 5 end")}, code,
                                  errors);
    EXPECT_EQ(code.last(), Goto(0));
}

TEST(ScriptTranslation, CollectFunctionsFindsCallsInEveryKindOfLine) {
    TfrInterpretator interpretator(TfrLocale::Russian());
    QStringList code;
    QStringList errors;
    interpretator.TranslateScript(
        {QStringLiteral("begin if SUM(a) > 1 then x := MAX(b) + 1; COUNT(c); goto 1 end")}, code,
        errors);
    ASSERT_TRUE(errors.isEmpty());
    QStringList found;
    interpretator.CollectFunctions(
        code, {QStringLiteral("SUM"), QStringLiteral("MAX"), QStringLiteral("COUNT")}, nullptr,
        found);
    EXPECT_EQ(found, QStringList({QStringLiteral("SUM(a)"), QStringLiteral("MAX(b)"),
                                  QStringLiteral("COUNT(c)")}));
}

// --- running --------------------------------------------------------------------------------

class ScriptRun : public ExpandFixture {
protected:
    ScriptRun() { memo->Name = QStringLiteral("Memo1"); }

    TInterpretator& Engine() { return Text().ScriptEngine; }

    QStringList Translate(const QStringList& source) {
        QStringList code;
        QStringList errors;
        Engine().TranslateScript(source, code, errors);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        return code;
    }
    void Run(const QString& script) { Engine().RunScript(Translate({script})); }
    QString Var(const QString& name) {
        return frVarToString(Text().UserVariables.Variable(name), Text().Locale);
    }
};

TEST_F(ScriptRun, StatementsReachVariablesObjectsAndPages) {
    struct Case {
        const char* script;
        const char* variable;
        const char* value;
    };
    const Case cases[] = {
        {"begin total := 2 + 3 end", "total", "5"},
        {"begin a := 1; exit; a := 2 end", "a", "1"},
        {"begin a := 1; exit(0); a := 2 end", "a", "1"},
        // The limit is read again before every pass.
        {"begin n := 3; s := 0; for i := 1 to n do begin s := s + i; n := 2 end end", "s", "3"},
        {"begin i := 0; repeat i := i + 1 until i >= 3 end", "i", "3"},
        {"begin i := 0; s := ''; while i < 3 do begin i := i + 1; s := s + 'x' end end", "s",
         "xxx"},
        {"begin i := 5; while i < 3 do i := 0 end", "i", "5"},
        {"begin a := 0; 10: a := a + 1; if a < 5 then goto 10 end", "a", "5"},
        {"begin if 2 > 1 then r := 'да' else r := 'нет' end", "r", "да"},
        {"begin if 2 < 1 then r := 'да' else r := 'нет' end", "r", "нет"},
        {"begin arr[2] := 7; x := arr[2] + 1 end", "Arr_arr_2", "7"},
        {"begin arr[2] := 7; x := arr[2] + 1 end", "x", "8"},
        {"begin a := 1; inc(a); inc(a); dec(a) end", "a", "2"},
        {"begin w := Memo1.Width + Width end", "w", "300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Text().UserVariables.Clear();
        Run(QString::fromUtf8(c.script));
        EXPECT_EQ(Var(QString::fromUtf8(c.variable)), QString::fromUtf8(c.value));
    }

    // Names keep the letter case they were written in and are found in any.
    Run(QStringLiteral("BEGIN Abc := 1 END"));
    Run(QStringLiteral("begin abc := abc + 1 end"));
    const int at = Text().UserVariables.IndexOf(QStringLiteral("ABC"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(Text().UserVariables.Name(at), QStringLiteral("Abc"));
    EXPECT_EQ(Var(QStringLiteral("abc")), QStringLiteral("2"));

    Run(QStringLiteral(
        "begin Memo1.Visible := false; Memo1.Font.Size := 14; Page1.Columns := 3 end"));
    EXPECT_FALSE(memo->Visible);
    EXPECT_EQ(memo->GetProperty(QStringLiteral("Font.Size")).toInt(), 14);
    EXPECT_EQ(page->Columns, 3);
    // Without an object name: the current object's property.
    Run(QStringLiteral("begin Memo := 'из сценария'; Visible := true end"));
    EXPECT_EQ(memo->Memo, QStringList{QString::fromUtf8("из сценария")});
    EXPECT_TRUE(memo->Visible);
    // A dictionary variable takes the value; CURY moves the page's cursor.
    report.Dictionary.Variables.append({QStringLiteral("Итог"), QString()});
    Run(QString::fromUtf8("begin SetArray(Memo1.Memo, 0, 'строка'); CurY := 77 end"));
    EXPECT_EQ(memo->Memo, QStringList{QString::fromUtf8("строка")});
    EXPECT_EQ(page->CurY, 77);
    Text().ScriptEngine.StoreValue(QString::fromUtf8("итог"), 5);
    EXPECT_EQ(report.Dictionary.Variables.first().Value.toInt(), 5);
    EXPECT_EQ(Text().UserVariables.IndexOf(QString::fromUtf8("итог")), -1);
}

TEST_F(ScriptRun, ObjectMethodsEvaluateTheirArguments) {
    memo->Memo.clear();
    Text().UserVariables.SetVariable(QStringLiteral("n"), 2);
    Run(QStringLiteral("begin Memo1.Memo.Add('a' + 'b'); Memo1.Memo.Add(n * 3); Hide end"));
    EXPECT_EQ(memo->Memo, QStringList({QStringLiteral("ab"), QStringLiteral("6")}));
    EXPECT_FALSE(memo->Visible);
}

TEST_F(ScriptRun, BadJumpsAndFailuresEndTheRunWithAnError) {
    struct Case {
        const char* name;
        QStringList code;
        QString message;
    };
    const Case cases[] = {
        {"goto without its label", Translate({QStringLiteral("begin a := 1; goto 7 end")}),
         QString::fromUtf8("Метка не определена: 7")},
        {"two-digit label", Translate({QStringLiteral("begin goto 12; a := 1 end")}),
         QString::fromUtf8("Метка не определена: 12")},
        {"jump beyond the list",
         {QStringLiteral("a 1 "), Goto(5)},
         QString::fromUtf8("Переход за пределы сценария: строка 5 из 2")},
        {"condition beyond the list",
         {If(300, QStringLiteral("0 "))},
         QString::fromUtf8("Переход за пределы сценария: строка 300 из 1")},
        {"cut jump", {QString(QChar(1))}, QString::fromUtf8("Неверная строка сценария")},
        {"undefined name", Translate({QStringLiteral("a := zzz")}),
         QString::fromUtf8("Переменная не определена: \"ZZZ\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Engine().RunScript(c.code);
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    // A jump to the end of the list ends the run without an error.
    Engine().RunScript({QStringLiteral("a 1 "), Goto(3), QStringLiteral("a 2 ")});
    EXPECT_EQ(Var(QStringLiteral("a")), QStringLiteral("1"));
}

TEST_F(ScriptRun, ARunawayScriptStopsOnceTheReportIsCancelled) {
    // STOPREPORT asks the report to stop; the loop notices it between statements.
    Run(QStringLiteral("begin a := 0; while 1 do begin a := a + 1; stopreport end end"));
    EXPECT_TRUE(report.CancelRequested);
    EXPECT_GT(Var(QStringLiteral("a")).toInt(), 0);
    Run(QStringLiteral("repeat until 0"));
}

// Measuring its own object from its script re-enters no script: the object being printed is
// measured by its text as it stands, and the run ends.
TEST_F(ScriptRun, AScriptThatMeasuresItsOwnObjectEnds) {
    memo->ScriptText = {QStringLiteral("begin h := CalcHeight(0) end")};
    Text().TranslateScript(memo->ScriptText);
    memo->Prepared = true;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_NO_THROW(memo->Print(buffer));
}

// A few thousand scripts made of the language's words in any order, and valid scripts cut
// anywhere: each ends in code lines or an error line, and running it ends.
class Budgeted : public TInterpretator {
public:
    using TInterpretator::TInterpretator;
    int budget{0};

protected:
    bool StopRequested() override { return --budget < 0; }
};

TEST_F(ScriptRun, GeneratedAndTruncatedScriptsNeverCrash) {
    const char* const words[] = {"begin",
                                 "end",
                                 "end;",
                                 "if",
                                 "then",
                                 "else",
                                 "while",
                                 "do",
                                 "repeat",
                                 "until",
                                 "for",
                                 "to",
                                 "goto",
                                 "exit",
                                 "exit(0)",
                                 "a",
                                 "b",
                                 "Memo1.Visible",
                                 "Memo",
                                 "Page1.Width",
                                 "arr[1]",
                                 "arr[",
                                 "10:",
                                 "20:",
                                 "10",
                                 "20",
                                 "99999",
                                 ":=",
                                 ";",
                                 "+",
                                 "-",
                                 "*",
                                 "/",
                                 "(",
                                 ")",
                                 "[",
                                 "]",
                                 "[a]",
                                 "'s'",
                                 "'it''s'",
                                 "'open",
                                 "1",
                                 "2.5",
                                 ".",
                                 ",",
                                 "<",
                                 ">=",
                                 "<>",
                                 "=",
                                 "and",
                                 "or",
                                 "not",
                                 "mod",
                                 "{c}",
                                 "{",
                                 "}",
                                 "//",
                                 "// c\r",
                                 "inc(a)",
                                 "dec(b)",
                                 "f(1,2)",
                                 "f(1,2,3,4)",
                                 "f(",
                                 "copy('abc',1,2)",
                                 "stopreport",
                                 "newpage",
                                 "\t",
                                 "\r",
                                 "Ё",
                                 "\"q\"",
                                 "Memo1.Memo.Add('z')",
                                 "SetArray(x, 1, 2)",
                                 "progress",
                                 "modalresult",
                                 "cury",
                                 "#",
                                 "%",
                                 "@",
                                 "\x01",
                                 "\x02",
                                 "\x03"};
    const char* const valid[] = {
        "begin a := 1; newpage end",
        "begin if x > 1 then y := 2 else y := 3 end",
        "begin for i := 1 to 3 do s := s + i end",
        "begin i := 0; repeat i := i + 1 until i >= 3 end",
        "begin 10: a := a + 1; if a < 5 then goto 10 end",
        "begin { c } arr[2] := 5; // x\r Memo1.Visible := not Memo1.Visible end",
        "while (a < 3) and (b <> 'x') do begin a := a + 1; f(a, 'b', [c]) end",
    };
    std::mt19937 random(1234);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    QStringList scripts;
    for (int i = 0; i < 3000; ++i) {
        QString s;
        const int count = 1 + pick(30);
        for (int k = 0; k < count; ++k) {
            s += QString::fromUtf8(words[pick(int(std::size(words)))]);
            s += pick(3) == 0 ? QString() : QStringLiteral(" ");
        }
        scripts << s;
    }
    for (const char* text : valid) {
        const QString s = QString::fromUtf8(text);
        for (int cut = 0; cut <= s.size(); ++cut)
            scripts << s.left(cut);
    }

    Budgeted interpretator(Text());
    for (const QString& s : scripts) {
        SCOPED_TRACE(s.toStdString());
        QStringList code;
        QStringList errors;
        interpretator.TranslateScript(s.split(u'\r'), code, errors);
        for (const QString& line : code) {
            ASSERT_FALSE(line.isEmpty());
            if ((line[0] == u'\x01' || line[0] == u'\x02') && line.size() >= 3 &&
                !line[1].isDigit()) {
                EXPECT_LE(line[1].unicode() + 256 * line[2].unicode(), code.size());
            }
        }
        interpretator.budget = 500;
        try {
            interpretator.RunScript(code);
        } catch (const Failure&) {
            // an error of the run is as good an end as any
        }
        report.CancelRequested = false;
        memo->Memo = {QStringLiteral("x")};
    }
}

}  // namespace
