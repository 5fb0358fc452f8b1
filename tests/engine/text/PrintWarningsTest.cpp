#include "ExpandFixture.h"
#include "PrintWarnings.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <functional>

namespace {

// Each text object is checked as it is written onto its prepared page.
class PrintWarningsTest : public ExpandFixture {
protected:
    PrintWarningsTest() {
        memo->Prepared = true;
        memo->Name = QStringLiteral("Сумма");
        Text().BeginPreparation();
    }

    QStringList Warnings() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        memo->Print(buffer);
        QStringList texts;
        for (const TfrPrintWarning& w : Text().Warnings.List())
            texts << w.Text;
        return texts;
    }
};

TEST_F(PrintWarningsTest, EachCaseWithItsText) {
    const QString substitute = QFontInfo(QFont(QStringLiteral("Wingdings"))).family();
    ASSERT_NE(substitute, QStringLiteral("Wingdings")) << "a face no test machine has";
    const TfrPageMetrics sheet = page->Metrics;
    struct Case {
        const char* name;
        std::function<void(TfrMemoView&, TfrPageMetrics&)> set;
        QStringList warnings;
    };
    const Case cases[] = {
        {"a text that fits", [](TfrMemoView&, TfrPageMetrics&) {}, {}},
        {"lines cut off at the bottom",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Memo = {QStringLiteral("первая"), QStringLiteral("вторая"),
                       QStringLiteral("третья")};
         },
         {QStringLiteral("Поле «Сумма», страница 1: текст не помещается по высоте, видно строк: "
                         "1 из 3")}},
        {"a last line whose descenders the field's bottom cuts",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Height = 29;
             m.Memo = {QStringLiteral("первая"), QStringLiteral("вторая")};
         },
         {QStringLiteral("Поле «Сумма», страница 1: текст не помещается по высоте, видно строк: "
                         "1 из 2")}},
        {"a long value broken into more lines than fit",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Height = 29;
             m.Memo = {
                 QStringLiteral("Один миллион двести тридцать четыре тысячи пятьсот "
                                "шестьдесят семь рублей 89 копеек")};
         },
         {QStringLiteral("Поле «Сумма», страница 1: текст не помещается по высоте, видно строк: "
                         "1 из 5")}},
        {"two lines in a field tall enough",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Height = 40;
             m.Memo = {QStringLiteral("первая"), QStringLiteral("вторая")};
         },
         {}},
        {"a word cut at the right without word wrap",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Flags &= ~frFlagWordWrap;
             m.Memo = {QStringLiteral("Одна тысяча двести тридцать четыре рубля 56 копеек")};
         },
         {QStringLiteral("Поле «Сумма», страница 1: строка не помещается по ширине, не хватает "
                         "51,8 мм")}},
        {"the same with word wrap breaks the line instead",
         [](TfrMemoView& m, TfrPageMetrics&) {
             m.Height = 200;
             m.Memo = {QStringLiteral("Одна тысяча двести тридцать четыре рубля 56 копеек")};
         },
         {}},
        {"a face that is not installed",
         [](TfrMemoView& m, TfrPageMetrics&) { m.Font.face = QStringLiteral("Wingdings"); },
         {QStringLiteral("Поле «Сумма», страница 1: шрифт «Wingdings» не установлен, текст "
                         "печатается шрифтом «%1» другой ширины")
              .arg(substitute)}},
        {"Arial, printed with its metric twin",
         [](TfrMemoView& m, TfrPageMetrics&) { m.Font.face = QStringLiteral("Arial"); },
         {}},
        {"a field beyond the sheet",
         [](TfrMemoView& m, TfrPageMetrics& p) { m.Left = p.SheetWidth - 50; },
         {QStringLiteral("Поле «Сумма», страница 1: поле выходит за край листа на 27,7 мм")}},
        {"a field beyond the printable area of a queue with margins",
         [](TfrMemoView&, TfrPageMetrics& p) {
             p.OffsetX = p.OffsetY = 60;
             p.PrintWidth = p.SheetWidth - 120;
             p.PrintHeight = p.SheetHeight - 120;
         },
         {QStringLiteral(
             "Поле «Сумма», страница 1: поле выходит из области печати принтера на 5,5 мм")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page->Metrics = sheet;
        memo->Font.face = QStringLiteral("Arial");
        memo->Flags |= frFlagWordWrap;
        memo->PlaceAt(40, 60, 150, 20);
        memo->Memo = {QStringLiteral("12,50")};
        c.set(*memo, page->Metrics);
        Text().BeginPreparation();
        EXPECT_EQ(Warnings().join(u'\n').toStdString(), c.warnings.join(u'\n').toStdString());
    }
}

// A face is looked at once a preparation; the list starts empty with each.
TEST_F(PrintWarningsTest, OneWarningAFaceAndANewListEachPreparation) {
    memo->Font.face = QStringLiteral("Wingdings");
    memo->Memo = {QStringLiteral("1")};
    EXPECT_EQ(Warnings().size(), 1);
    EXPECT_EQ(Warnings().size(), 1);
    const TfrPrintWarning& w = Text().Warnings.List().front();
    EXPECT_EQ(w.Page, 0);
    EXPECT_EQ(w.Object, QStringLiteral("Сумма"));
    EXPECT_EQ(w.Box, (CanvasRect{40, 60, 190, 80}));
    Text().BeginPreparation();
    EXPECT_TRUE(Text().Warnings.List().empty());
}

}  // namespace
