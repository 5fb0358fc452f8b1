#include "Engine.h"
#include "Failure.h"
#include "MemoView.h"
#include "Page.h"
#include "PreparedPages.h"
#include "ProgressForm.h"
#include "RecordingCanvas.h"
#include "Report.h"
#include "ReportFixture.h"
#include "TextEngine.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// An engine with the real text layer; reports named as the application names its report.
class Preparation : public ReportFixture {
protected:
    Preparation() {
        frStartTextLayer(*engine);
        report.setObjectName(QStringLiteral("Report"));
    }

    TfrMemoView& AddText(TfrPage& page, const QString& text, int left, int top) {
        auto memo = std::make_unique<TfrMemoView>();
        memo->PlaceAt(left, top, 200, 20);
        memo->Memo.append(text);
        return static_cast<TfrMemoView&>(page.AddObject(std::move(memo)));
    }

    // Each prepared page's objects: "left,top text" in stream order.
    QList<QStringList> Prepared() {
        QList<QStringList> pages;
        TfrEMFPages& store = *report.PreparedPages;
        for (int i = 0; i < store.Count(); ++i) {
            store.LoadPage(i);
            QStringList objects;
            for (const auto& v : store.RecordAt(i).LoadedPage->Objects())
                objects
                    << QStringLiteral("%1,%2 %3").arg(v->Left).arg(v->Top).arg(v->Memo.join(u'|'));
            pages << objects;
            store.RecordAt(i).LoadedPage.reset();
        }
        return pages;
    }

    static QString Text(const char* s) { return QString::fromUtf8(s); }

    TfrReport report;
};

TEST_F(Preparation, EveryPageFormsOnePreparedPageWithItsObjectsInOrder) {
    TfrPage& first = report.Pages.Add();
    AddText(first, Text("Стр. [PAGE#] из [TOTALPAGES]"), 40, 60);
    AddText(first, Text("Итого: [2+3*4] руб."), 100, 30);
    TfrPage& second = report.Pages.Add();
    AddText(second, Text("Стр. [PAGE#]"), 10, 20);
    AddText(second, Text("Второй"), 300, 400);

    ASSERT_TRUE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(Prepared(), (QList<QStringList>{
                              {Text("40,60 Стр. 1 из 0"), Text("100,30 Итого: 14 руб.")},
                              {Text("10,20 Стр. 2"), Text("300,400 Второй")},
                          }));
}

TEST_F(Preparation, EmptyInvisibleAndContinuingPages) {
    report.Pages.Add();  // no objects: an empty prepared page
    TfrPage& hidden = report.Pages.Add();
    AddText(hidden, Text("скрыта"), 10, 10);
    hidden.Visible = false;
    TfrPage& third = report.Pages.Add();
    AddText(third, Text("третья"), 10, 10);
    TfrPage& continuing = report.Pages.Add();
    AddText(continuing, Text("не печатается"), 20, 20);
    continuing.PrintToPrevPage = true;

    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(Prepared(), (QList<QStringList>{{}, {Text("10,10 третья")}}));
}

TEST_F(Preparation, WithoutPrintIfEmptyAPageWithoutDataFormsNothing) {
    AddText(report.Pages.Add(), Text("первая"), 10, 10);
    report.PrintIfEmpty = false;
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(report.PreparedPages->Count(), 0);
}

TEST_F(Preparation, TheDateIsTakenOnceForEveryPage) {
    for (int i = 0; i < 3; ++i)
        AddText(report.Pages.Add(), QStringLiteral("[DATE]"), 10, 10);
    ASSERT_TRUE(report.Prepare());
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    const QList<QStringList> pages = Prepared();
    ASSERT_EQ(pages.size(), 3);
    for (const QStringList& page : pages)
        EXPECT_EQ(page, QStringList{QStringLiteral("10,10 ") + today});
}

TEST_F(Preparation, AnUndefinedNameLeavesNoPageAndOneErrorBox) {
    AddText(report.Pages.Add(), Text("первая"), 10, 10);
    TfrPage& second = report.Pages.Add();
    AddText(second, Text("Цена [руб.]"), 10, 10);
    AddText(second, Text("после"), 10, 40);
    AddText(report.Pages.Add(), Text("третья"), 10, 10);

    EXPECT_FALSE(report.Prepare());
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].caption, Text("Ошибка"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(services.boxes[0].text.split(u'\r'),
              QStringList({Text("Возникла ошибка при обработке выражения"), Text("Цена [руб.]"),
                           QString(), Text("Документ: Report"), Text("Объект: "), QString(),
                           Text("Переменная не определена: \"РУБ.\"")}));
    // The design is the snapshot's: the pages and objects as they were.
    ASSERT_EQ(report.Pages.Count(), 3);
    EXPECT_EQ(report.Pages.PageAt(1).ObjectAt(0).Memo, QStringList{Text("Цена [руб.]")});
    EXPECT_FALSE(report.Pages.PageAt(1).ObjectAt(0).Prepared);
}

TEST_F(Preparation, WithoutMessageBoxesTheErrorIsRaised) {
    frEngineState().Services = nullptr;
    AddText(report.Pages.Add(), QStringLiteral("[abc]"), 10, 10);
    try {
        report.Prepare();
        ADD_FAILURE() << "prepared";
    } catch (const Failure& e) {
        EXPECT_TRUE(e.Message().endsWith(Text("Переменная не определена: \"ABC\"")))
            << e.Message().toStdString();
    }
    EXPECT_EQ(report.PreparedPages->Count(), 0);
}

TEST_F(Preparation, ThePagesAndObjectsAreReplacedByEqualOnes) {
    TfrPage& page = report.Pages.Add();
    AddText(page, QStringLiteral("[1+1]"), 10, 10).Name = QStringLiteral("Memo1");
    const QByteArray before = Written([&](QIODevice& s) { report.WriteToStream(s); });
    const qint32 formerSerial = page.ObjectAt(0).Serial;
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(Written([&](QIODevice& s) { report.WriteToStream(s); }), before);
    // A new object read from the snapshot: the factory gave it a serial number of its own.
    EXPECT_GT(report.Pages.PageAt(0).ObjectAt(0).Serial, formerSerial);
}

TEST_F(Preparation, TwoThousandPagesLeaveNoPageLoadedAndADrawLoadsOne) {
    for (int i = 0; i < 2000; ++i)
        AddText(report.Pages.Add(), QStringLiteral("[PAGE#]"), 10, 10);
    ASSERT_TRUE(report.Prepare());
    TfrEMFPages& store = *report.PreparedPages;
    ASSERT_EQ(store.Count(), 2000);
    const auto loaded = [&] {
        int n = 0;
        for (int i = 0; i < store.Count(); ++i)
            n += store.RecordAt(i).LoadedPage ? 1 : 0;
        return n;
    };
    EXPECT_EQ(loaded(), 0);
    RecordingCanvas canvas(QSize(758, 1071));
    store.RecordAt(1234).Showing = true;
    store.DrawPage(1234, canvas, CanvasRect{0, 0, 758, 1071});
    EXPECT_EQ(loaded(), 1);
    ASSERT_TRUE(store.RecordAt(1234).LoadedPage);
    EXPECT_EQ(store.RecordAt(1234).LoadedPage->ObjectAt(0).Memo,
              QStringList{QStringLiteral("1235")});
}

TEST_F(Preparation, AnObjectsTagIsExpandedForThePageAndKeptInTheDesign) {
    TfrPage& page = report.Pages.Add();
    auto picture = std::make_unique<TfrPictureView>();
    picture->PlaceAt(10, 20, 30, 40);
    picture->Tag = QStringLiteral("[2+3] шт.");
    TfrView& view = page.AddObject(std::move(picture));
    frEngineState().CurrentReport = &report;
    view.Prepared = true;
    const QByteArray printed = Written([&](QIODevice& s) { view.Print(s); });
    EXPECT_TRUE(printed.contains(QStringLiteral("5 шт.").toUtf8()));
    EXPECT_FALSE(printed.contains(QByteArray("[2+3]")));
    EXPECT_EQ(view.Tag, QStringLiteral("[2+3] шт."));
}

// --- scripts ------------------------------------------------------------------------------------

// A report whose pages and objects carry scripts, as a stored report brings them: written to a
// stream and read back into the report that is prepared.
class PreparationWithScripts : public Preparation {
protected:
    void Load(TfrReport& stored) {
        const QByteArray bytes = Written([&](QIODevice& s) { stored.WriteToStream(s); });
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        report.ReadFromStream(buffer);
    }

    // The text lines a prepared page draws, each with its font's height in pixels.
    QStringList Drawn(int index) {
        TfrEMFPages& store = *report.PreparedPages;
        RecordingCanvas canvas(QSize(794, 1123));
        store.RecordAt(index).Showing = true;
        store.DrawPage(index, canvas, CanvasRect{0, 0, 794, 1123});
        QStringList lines;
        for (const CanvasRecord& r : canvas.RecordsOf(CanvasRecord::TextOut))
            lines << QStringLiteral("%1 (%2)").arg(r.text).arg(r.font.size);
        return lines;
    }
};

TEST_F(PreparationWithScripts, ObjectAndPageScriptsShowInThePreparedPage) {
    TfrReport stored;
    // Visibility is not stored: the page is hidden once loaded.
    TfrPage& hidden = stored.Pages.Add();
    hidden.ScriptText = {Text("begin hidden := 'да' end")};
    TfrPage& page = stored.Pages.Add();
    page.ScriptText = {QStringLiteral("begin"), QStringLiteral("  total := 40 + 2;"),
                       QStringLiteral("  Memo3.Visible := false"), QStringLiteral("end")};
    TfrMemoView& sum = AddText(page, Text("Итого [total], [hidden]"), 10, 10);
    sum.ScriptText = {QStringLiteral("Font.Size := 20")};
    TfrMemoView& replaced = AddText(page, Text("старый текст"), 10, 60);
    replaced.ScriptText = {
        Text("begin Memo := 'новый ' + STR([Memo2.Memo.Count]); exit; Memo := 'x' end")};
    replaced.Name = QStringLiteral("Memo2");
    AddText(page, Text("не видно"), 10, 110).Name = QStringLiteral("Memo3");
    Load(stored);
    report.Pages.PageAt(0).Visible = false;

    ASSERT_TRUE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty());
    ASSERT_EQ(report.PreparedPages->Count(), 1);
    const QStringList drawn = Drawn(0);
    // 20 points and 10 points, at 96 dots per inch; the third object was hidden.
    EXPECT_EQ(drawn, QStringList({Text("Итого 42, да (27)"), Text("новый 1 (13)")}));
    // The design keeps its scripts as they were written.
    EXPECT_EQ(report.Pages.PageAt(1).ObjectAt(1).ScriptText, replaced.ScriptText);
    EXPECT_EQ(report.Pages.PageAt(1).ScriptText, page.ScriptText);
}

TEST_F(PreparationWithScripts, AFailingScriptIsReportedAsAnObjectsError) {
    TfrPage& page = report.Pages.Add();
    AddText(page, Text("первый"), 10, 10);
    TfrMemoView& failing = AddText(page, Text("второй"), 10, 40);
    failing.ScriptText = {QStringLiteral("begin a := zzz end")};
    AddText(report.Pages.Add(), Text("третий"), 10, 10);
    report.Pages.PageAt(1).ScriptText = {QStringLiteral("goto 5")};

    EXPECT_FALSE(report.Prepare());
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_TRUE(services.boxes[0].text.endsWith(Text("Переменная не определена: \"ZZZ\"")))
        << services.boxes[0].text.toStdString();

    // A page's script that fails: the same box, with its message.
    services.boxes.clear();
    report.Pages.PageAt(0).ObjectAt(1).ScriptText.clear();
    EXPECT_FALSE(report.Prepare());
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_TRUE(services.boxes[0].text.endsWith(Text("Метка не определена: 5")))
        << services.boxes[0].text.toStdString();
    // No object was being printed: the text names none.
    EXPECT_FALSE(services.boxes[0].text.contains(Text("Объект:")));
}

// --- in the progress window ---------------------------------------------------------------------

class PreparationInAWindow : public Preparation {
protected:
    PreparationInAWindow() { frStartProgressWindow(*engine); }
    TfrProgressForm& Window() { return *static_cast<TfrProgressForm*>(engine->ProgressWindow()); }
};

TEST_F(PreparationInAWindow, TheLabelCountsThePagesUnderTheCaption) {
    for (int i = 0; i < 2; ++i)
        AddText(report.Pages.Add(), QStringLiteral("[PAGE#]"), 10, 10);
    QStringList labels;
    QString caption;
    report.OnEndPage = [&](int) {
        labels << Window().Label1();
        caption = Window().windowTitle();
    };
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(caption, Text("Подготовка отчета"));
    EXPECT_EQ(labels,
              QStringList({Text("Формируется страница:  1"), Text("Формируется страница:  1")}));
    EXPECT_EQ(Window().Label1(), Text("Формируется страница:  2"));
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(report.PreparedPages->Count(), 2);

    report.Title = Text("Счёт");
    report.OnEndPage = [&](int) { caption = Window().windowTitle(); };
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(caption, Text("Подготовка отчета - Счёт"));
}

TEST_F(PreparationInAWindow, CancelBetweenPagesKeepsThePagesFormed) {
    for (int i = 0; i < 5; ++i)
        AddText(report.Pages.Add(), QStringLiteral("[PAGE#]"), 10, 10);
    report.OnEndPage = [&](int index) {
        if (index == 1)
            QTest::mouseClick(Window().Button1(), Qt::LeftButton);
    };
    EXPECT_FALSE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(report.PreparedPages->Count(), 2);
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(PreparationInAWindow, AnErrorClosesTheWindowAndLeavesNoPage) {
    AddText(report.Pages.Add(), Text("первая"), 10, 10);
    AddText(report.Pages.Add(), QStringLiteral("[]"), 10, 10);
    EXPECT_FALSE(report.Prepare());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_TRUE(services.boxes[0].text.endsWith(Text("Переменная не определена: \"\"")));
}

TEST_F(PreparationInAWindow, ScriptsWriteTheSecondLineAndARunawayScriptCanBeCancelled) {
    TfrPage& first = report.Pages.Add();
    first.ScriptText = {Text("progress := 'страница ' + STR([PAGE#])")};
    AddText(first, Text("первая"), 10, 10);
    ASSERT_TRUE(report.Prepare());
    EXPECT_EQ(Window().Label2Widget()->text(), Text("страница 1"));

    TfrPage& second = report.Pages.Add();
    second.ScriptText = {QStringLiteral("begin a := 0; while 1 do a := a + 1 end")};
    AddText(second, Text("вторая"), 10, 10);
    QTimer::singleShot(100, &Window(),
                       [&] { QTest::mouseClick(Window().Button1(), Qt::LeftButton); });
    EXPECT_FALSE(report.Prepare());
    EXPECT_TRUE(services.boxes.isEmpty()) << services.boxes.first().text.toStdString();
    EXPECT_FALSE(Window().isVisible());
    // The first page stays, as after any cancel.
    ASSERT_GE(report.PreparedPages->Count(), 1);
    EXPECT_EQ(Prepared().first(), QStringList{Text("10,10 первая")});
}

}  // namespace
