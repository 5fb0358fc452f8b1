#include "PaintBox.h"
#include "PreviewFind.h"
#include "PreviewSearchForm.h"
#include "PreviewWindowFixture.h"
#include "RectPrinting.h"
#include "WhenShown.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class PreviewFindTest : public PreviewWindowFixture {
protected:
    TfrPreviewForm& Open() {
        report.ShowPreparedPages();
        TfrPreviewForm* form = Shown();
        EXPECT_NE(form, nullptr);
        form->View().SetZoomPercent(100);
        return *form;
    }

    // The search dialog, answered with this text and choices.
    void Find(TfrPreviewForm& form, const char* text, bool fromStart = true,
              bool matchCase = false) {
        const QString typed = QString::fromUtf8(text);
        WhenShown<TfrPreviewSearchForm>([=](TfrPreviewSearchForm& dialog) {
            dialog.Edit1->setText(typed);
            dialog.CB1->setChecked(matchCase);
            (fromStart ? dialog.RB1 : dialog.RB2)->setChecked(true);
            dialog.Button1->click();
        });
        form.FindBtnClick();
    }
    static void F3(TfrPreviewForm& form) { QTest::keyClick(form.View().PaintBox(), Qt::Key_F3); }

    // Where the text lies on its page: the bounds of its record.
    CanvasRect Where(TfrPreviewForm& form, int page, const char* text) {
        for (const CanvasRecord& r : TextsOf(*form.ShownPages(), page - 1))
            if (r.text == QString::fromUtf8(text))
                return r.bounds;
        ADD_FAILURE() << text;
        return {};
    }
};

TEST_F(PreviewFindTest, TheDialogOffersTheLastSearch) {
    PrepareTexts({{"alpha"}});
    TfrPreviewForm& form = Open();
    QStringList seen;
    WhenShown<TfrPreviewSearchForm>([&](TfrPreviewSearchForm& d) {
        seen << d.windowTitle() << d.Label1->text() << d.GroupBox1->title() << d.CB1->text()
             << d.GroupBox2->title() << d.RB1->text() << d.RB2->text() << d.Button1->text()
             << d.Button2->text();
        EXPECT_TRUE(d.RB1->isChecked());
        EXPECT_TRUE(d.Button1->isDefault());
        EXPECT_GE(d.width(), 262);
        EXPECT_GE(d.height(), 158);
        d.Edit1->setText(QStringLiteral("Alpha"));
        d.CB1->setChecked(true);
        d.accept();
    });
    form.FindBtnClick();
    EXPECT_EQ(seen, (QStringList{Text("Поиск"), Text("Искать &текст"), Text("Опции поиска"),
                                 Text("Различать &регистр"), Text("Искать"), Text("С &начала"),
                                 Text("&Продолжить"), Text("ОК"), Text("Отмена")}));
    EXPECT_EQ(form.View().Search().FindText, QStringLiteral("Alpha"));
    EXPECT_FALSE(form.View().Search().TextFound);  // case matters: "alpha" is no match

    // Next time the text is offered selected, in the focused edit; Cancel searches nothing.
    WhenShown<TfrPreviewSearchForm>([&](TfrPreviewSearchForm& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("Alpha"));
        EXPECT_EQ(d.Edit1->selectedText(), QStringLiteral("Alpha"));
        EXPECT_EQ(d.focusWidget(), d.Edit1);
        EXPECT_TRUE(d.CB1->isChecked());
        d.Edit1->setText(QStringLiteral("alpha"));
        d.Button2->click();
    });
    form.FindBtnClick();
    EXPECT_EQ(form.View().Search().FindText, QStringLiteral("Alpha"));
}

TEST_F(PreviewFindTest, MatchesFollowTheDrawingOrderAndRunOutUntilThePageChanges) {
    PrepareTexts({{"alpha beta alpha", "x\nAlpha"}, {"nothing here"}, {"ALPHA"}});
    TfrPreviewForm& form = Open();
    TfrPreviewView& view = form.View();
    const TfrSearchState& search = view.Search();

    struct Step {
        const char* name;
        bool found;
        int page;
        const char* text;  // the record found
    };
    const std::vector<Step> steps{
        {"two in one line are one match", true, 1, "alpha beta alpha"},
        {"another object, below", true, 1, "Alpha"},
        {"a later page", true, 3, "ALPHA"},
        {"after the last match nothing", false, 3, nullptr},
        {"and nothing again on the same page", false, 3, nullptr},
    };
    Find(form, "alpha");
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(s.name);
        if (i > 0)
            F3(form);
        EXPECT_EQ(search.TextFound, s.found);
        EXPECT_EQ(view.CurrentPage(), s.page);
        EXPECT_EQ(view.PageLabel()->text(), QStringLiteral("Стр. %1/3").arg(s.page));
        if (s.found) {
            EXPECT_EQ(search.FoundRect, Where(form, s.page, s.text));
            EXPECT_TRUE(view.Highlight().has_value());
        } else {
            EXPECT_FALSE(view.Highlight().has_value());
        }
    }
    // A search without a match says nothing and leaves the view; the page it searched last
    // has let go of its objects.
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_FALSE(view.ShownPages()->RecordAt(2).LoadedPage);

    // Once the page changes, F3 starts at the top of the new page.
    view.PgUpClick();
    ASSERT_EQ(view.CurrentPage(), 2);
    F3(form);
    EXPECT_TRUE(search.TextFound);
    EXPECT_EQ(view.CurrentPage(), 3);

    // Case that matters finds only the exact text.
    Find(form, "alpha", true, true);
    EXPECT_EQ(search.FoundRect, Where(form, 1, "alpha beta alpha"));
    F3(form);
    EXPECT_FALSE(search.TextFound);
}

TEST_F(PreviewFindTest, GoingOnStartsAtTheCurrentPageWhenItWasMoved) {
    PrepareTexts({{"alpha"}, {"alpha"}, {"alpha"}, {"alpha"}, {"alpha"}, {"alpha"}});
    TfrPreviewForm& form = Open();
    TfrPreviewView& view = form.View();

    struct Row {
        const char* name;
        int moveTo;  // 0: stay
        bool fromStart;
        int found;  // page of the match
    };
    const std::vector<Row> rows{
        {"from the start", 0, true, 1},        {"going on: the next page", 0, false, 2},
        {"going on again", 0, false, 3},       {"moved from page 3 to page 5", 5, false, 5},
        {"moved back to page 2", 2, false, 2}, {"from the start again", 4, true, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.moveTo != 0)
            view.GoToPage(r.moveTo);
        Find(form, "ALPHA", r.fromStart);
        EXPECT_TRUE(view.Search().TextFound);
        EXPECT_EQ(view.CurrentPage(), r.found);
        EXPECT_EQ(view.Search().SearchPage, r.found - 1);
    }
}

TEST_F(PreviewFindTest, TheMatchIsScrolledIntoViewAndInverted) {
    // The text far down a tall page: the view must scroll to it.
    report.Pages.ClearAll();
    for (int i = 0; i < 2; ++i) {
        TfrPage& page = report.Pages.Add();
        auto memo = std::make_unique<TfrMemoView>();
        memo->PlaceAt(300, 900, 300, 40);
        memo->Memo.append(QStringLiteral("Итого по форме"));
        page.AddObject(std::move(memo));
    }
    ASSERT_TRUE(report.Prepare());
    TfrPreviewForm& form = Open();
    TfrPreviewView& view = form.View();
    view.SetZoomPercent(150);
    Find(form, "итого");
    ASSERT_TRUE(view.Search().TextFound);
    ASSERT_TRUE(view.Highlight().has_value());

    const QSize box = view.PaintBox()->size();
    const CanvasRect onScreen = view.Highlight()->Translated(view.OriginX(), view.OriginY());
    const CanvasRect page = view.ShownPages()->RecordAt(0).ViewRect;
    const CanvasRect found = view.Search().FoundRect;
    // The text's place on the page at the view's scale, inside the box.
    EXPECT_EQ(onScreen.left - view.OriginX() - page.left, qRound(found.left * view.Scale()));
    EXPECT_EQ(onScreen.top - view.OriginY() - page.top, qRound(found.top * view.Scale()));
    EXPECT_GE(onScreen.top, 0);
    EXPECT_LE(onScreen.bottom, box.height());
    EXPECT_GE(onScreen.left, 0);
    EXPECT_LE(onScreen.right, box.width());

    // Painted last, over the page, as exclusive-or with white.
    RecordingCanvas canvas(box);
    view.PaintPages(canvas);
    ASSERT_FALSE(canvas.Records().empty());
    EXPECT_EQ(canvas.Records().back().kind, CanvasRecord::InvertRect);
    EXPECT_EQ(canvas.Records().back().rect, onScreen);

    // On the screen: the pixels of the page, inverted.
    const QImage marked = view.PaintBox()->grab().toImage();
    view.ClearHighlight();
    const QImage plain = view.PaintBox()->grab().toImage();
    int inverted = 0;
    for (int y = onScreen.top; y < onScreen.bottom; ++y)
        for (int x = onScreen.left; x < onScreen.right; ++x)
            inverted += ((marked.pixel(x, y) ^ plain.pixel(x, y)) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_EQ(inverted, onScreen.Width() * onScreen.Height());
    EXPECT_EQ(marked.pixel(onScreen.left - 1, onScreen.top),
              plain.pixel(onScreen.left - 1, onScreen.top));
    Find(form, "итого");

    // A change of zoom lays the pages out again, without the mark.
    view.SetZoomPercent(100);
    EXPECT_FALSE(view.Highlight().has_value());
}

}  // namespace
