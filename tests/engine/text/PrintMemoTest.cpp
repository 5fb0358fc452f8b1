#include "ExpandFixture.h"
#include "Failure.h"
#include "RecordingCanvas.h"
#include "StreamIO.h"

#include <QBuffer>
#include <random>

using namespace Qt::StringLiterals;

namespace {

class PrintMemoTest : public ExpandFixture {
protected:
    PrintMemoTest() { memo->Prepared = true; }

    // What one Print of the object wrote.
    QByteArray Printed() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        memo->Print(buffer);
        return buffer.data();
    }

    // The prepared object a page's stream gives back.
    static std::unique_ptr<TfrMemoView> ReadBack(const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(frReadByte(buffer), frTypeText);
        auto back = std::make_unique<TfrMemoView>();
        back->Prepared = true;
        back->ReadFromStream(buffer);
        EXPECT_TRUE(buffer.atEnd());
        return back;
    }
};

TEST_F(PrintMemoTest, APageReceivesTheExpandedText) {
    memo->Memo = {QStringLiteral("Итого: [2+3*4] руб."), QStringLiteral("[TOTALPAGES]")};
    const auto back = ReadBack(Printed());
    EXPECT_EQ(back->Memo, QStringList({QStringLiteral("Итого: 14 руб."), QStringLiteral("0")}));
    EXPECT_EQ(back->Left, 40);
    EXPECT_EQ(back->Top, 60);
    // The design stays as it was.
    EXPECT_EQ(memo->Memo.first(), QStringLiteral("Итого: [2+3*4] руб."));
    EXPECT_EQ(memo->WorkMemo.first(), QStringLiteral("Итого: 14 руб."));
}

TEST_F(PrintMemoTest, HiddenAndSuppressedObjectsWriteNothing) {
    memo->Memo = {QStringLiteral("[1+1]")};
    memo->Visible = false;
    EXPECT_TRUE(Printed().isEmpty());

    memo->Visible = true;
    memo->Flags |= frFlagSuppress;
    EXPECT_FALSE(Printed().isEmpty());
    EXPECT_TRUE(Printed().isEmpty());
    memo->Memo = {QStringLiteral("[1+2]")};
    EXPECT_FALSE(Printed().isEmpty());
}

TEST_F(PrintMemoTest, TagHighlightAndBeforePrint) {
    memo->Memo = {QStringLiteral("[2+2]")};
    memo->Tag = QStringLiteral("код [2*3]");
    memo->DisplayFormat = TfrDisplayFormat{frfcNumber, 1, 2, u','}.Pack();
    memo->HighlightCondition = QStringLiteral("VALUE > 3");
    memo->Font.style = 0;
    memo->Font.color = 0x123456;

    auto back = ReadBack(Printed());
    EXPECT_EQ(back->Memo, QStringList(QStringLiteral("4,00")));
    // The tag is expanded in its plain form, whatever the object's format.
    EXPECT_EQ(back->Tag, QStringLiteral("код 6"));
    EXPECT_EQ(back->Font.style, fsBold);
    EXPECT_EQ(back->Font.color, clBlack);
    EXPECT_EQ(back->FillColor, 0xFFFFFFu);
    // Everything the print changed comes back.
    EXPECT_EQ(memo->Tag, QStringLiteral("код [2*3]"));
    EXPECT_EQ(memo->Font.style, 0);
    EXPECT_EQ(memo->Font.color, 0x123456u);
    EXPECT_EQ(memo->FillColor, clTransparent);

    // A condition that fails leaves the object plain; a before-print handler that changes
    // the lines keeps them unexpanded.
    memo->HighlightCondition = QStringLiteral("'x' > 1");
    report.OnBeforePrint = [](QStringList& lines, TfrView&) {
        lines = {QStringLiteral("[как есть]")};
    };
    back = ReadBack(Printed());
    EXPECT_EQ(back->Memo, QStringList(QStringLiteral("[как есть]")));
    EXPECT_EQ(back->Font.style, 0);
}

TEST_F(PrintMemoTest, AFailedExpressionNamesItsObjectAndReport) {
    memo->Memo = {QStringLiteral("Цена [руб.]")};
    QString message;
    try {
        Printed();
    } catch (const Failure& e) {
        message = e.Message();
    }
    ASSERT_FALSE(message.isEmpty());
    report.ReportError(message);

    const TfrEngineState& state = frEngineState();
    EXPECT_TRUE(state.ErrorFlag);
    EXPECT_TRUE(report.CancelRequested);
    EXPECT_EQ(state.ErrorText.split(u'\r'),
              QStringList({QStringLiteral("Возникла ошибка при обработке выражения"),
                           QStringLiteral("Цена [руб.]"), QString(),
                           QStringLiteral("Документ: Report"), QStringLiteral("Объект: "),
                           QString(), QStringLiteral("Переменная не определена: \"РУБ.\"")}));
}

TEST_F(PrintMemoTest, APartTakesTheLinesThatFitAndLeavesTheRest) {
    const QString mark(QChar(1));
    struct Row {
        const char* name;
        QStringList broken;
        QStringList printed;
    };
    // Lines broken from one paragraph carry the mark only on its last line: a part cut before
    // it gets a line holding only the mark, so it prints as a finished paragraph.
    const Row rows[] = {
        {"every line a paragraph",
         {u"один"_s + mark, u"два"_s + mark, u"три"_s + mark},
         {u"один"_s + mark}},
        {"one paragraph", {u"один"_s, u"два"_s, u"три"_s + mark}, {u"один"_s, mark}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        memo->Height = 20;  // room for exactly one line of a 10-point font
        memo->WorkMemo = row.broken;
        memo->PrintPhase = 2;

        const auto back = ReadBack(Printed());
        ASSERT_EQ(memo->LinesDone, 1);
        EXPECT_EQ(back->Memo, row.printed);
        EXPECT_EQ(memo->WorkMemo, row.broken.mid(1));
        EXPECT_EQ(memo->PrintPhase, 0);
        EXPECT_EQ(memo->Height, 20);
    }
}

TEST_F(PrintMemoTest, MeasuringAndPaintingGoThroughTheLayer) {
    memo->Memo = {QStringLiteral("[2+3] руб.")};
    EXPECT_GT(memo->CalcHeight(), 0);
    ASSERT_EQ(memo->WorkMemo.size(), 1);
    EXPECT_EQ(memo->WorkMemo.first(), QStringLiteral("5 руб.") + QChar(1));
    EXPECT_GT(memo->MinHeight(), 0);

    RecordingCanvas canvas(QSize(800, 1100));
    memo->Memo = {QStringLiteral("Итого")};
    memo->PaintObject(canvas);
    const auto texts = canvas.RecordsOf(CanvasRecord::TextOut);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts.first().text, QStringLiteral("Итого"));
}

TEST_F(PrintMemoTest, CalcWidthNamesTheWidestLine) {
    memo->Memo = {QStringLiteral("ширина [CALCWIDTH]")};
    memo->Flags |= frFlagTextOnly;  // CALCWIDTH expands the object itself
    const QVariant width = Text().Expansion.LookUpValue(QStringLiteral("CALCWIDTH"));
    EXPECT_GT(width.toInt(), 0);
    EXPECT_LT(width.toInt(), memo->Width);
}

// An object's own text asking for its own size: measuring it again would expand the same
// bracket again without end. It is measured with its text unexpanded, and printing ends.
TEST_F(PrintMemoTest, AnObjectMeasuringItselfTakesItsTextUnexpanded) {
    memo->Memo = {QStringLiteral("Ширина [CALCWIDTH]")};
    memo->DrawCanvas = engine->MeasureCanvas();
    const int unexpanded = Text().Layout.CalcWidth(*memo, memo->Memo);
    ASSERT_GT(unexpanded, 0);
    const auto back = ReadBack(Printed());
    EXPECT_EQ(back->Memo, QStringList({QStringLiteral("Ширина %1").arg(unexpanded)}));

    for (const char* line : {"[CALCWIDTH]", "[CALCHEIGHT()]", "[CALCWIDTH + CALCHEIGHT()]",
                             "[IF(CALCHEIGHT() > 0, CALCWIDTH, 0)]", "[[CALCWIDTH]]"}) {
        SCOPED_TRACE(line);
        memo->Memo = {QString::fromUtf8(line)};
        try {
            const auto printed = ReadBack(Printed());
            ASSERT_EQ(printed->Memo.size(), 1);
            EXPECT_GT(printed->Memo.first().toInt(), 0);
        } catch (const Failure& e) {
            ADD_FAILURE() << e.what();
        }
        memo->Memo = {QString::fromUtf8(line)};
        EXPECT_GT(memo->CalcHeight(), 0);
        memo->PrintPhase = 0;
    }
}

// Random, truncated and nested brackets with quotes: every line ends in a text or a failure,
// and a line without "[" comes back as it was.
TEST_F(PrintMemoTest, GeneratedLinesEndInATextOrAFailure) {
    std::mt19937 random(20240601);
    const QString alphabet = QStringLiteral("[]'\" a1+#,.()ND[]");
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int texts = 0;
    int failures = 0;
    for (int n = 0; n < 3000; ++n) {
        QString line;
        switch (n % 3) {
            case 0:  // random characters
                for (int k = pick(24); k > 0; --k)
                    line += alphabet.at(pick(int(alphabet.size())));
                break;
            case 1: {  // nested brackets, cut anywhere
                const int depth = 1 + pick(12);
                line = QString(depth, u'[') + QStringLiteral("1+2") + QString(depth, u']');
                line.truncate(pick(int(line.size()) + 1));
                break;
            }
            default: {  // quoted brackets around and inside expressions
                const QString parts[] = {QStringLiteral("'['"),     QStringLiteral("\"]\""),
                                         QStringLiteral("[' ] ']"), QStringLiteral("[2+3]"),
                                         QStringLiteral("x"),       QStringLiteral("['a''b']")};
                for (int k = 1 + pick(4); k > 0; --k)
                    line += parts[pick(6)];
                line.truncate(pick(int(line.size()) + 1));
                break;
            }
        }
        SCOPED_TRACE(line.toStdString());
        try {
            const QString result = Expand(line);
            if (!line.contains(u'[')) {
                EXPECT_EQ(result, line);
            }
            ++texts;
        } catch (const Failure&) {
            ++failures;
        }
    }
    EXPECT_GT(texts, 0);
    EXPECT_GT(failures, 0);
}

}  // namespace
