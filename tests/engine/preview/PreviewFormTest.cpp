#include "PaintBox.h"
#include "PreparedReportFile.h"
#include "PreviewSearchForm.h"
#include "PreviewToolbar.h"
#include "PreviewWindowFixture.h"
#include "QtPrinting.h"
#include "ScriptedPrinter.h"
#include "WhenShown.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

class PreviewFormTest : public PreviewWindowFixture {
protected:
    // The report's pages in a window of their own.
    TfrPreviewForm& Open(int pages = 5) {
        Prepare(pages);
        report.ShowPreparedPages();
        TfrPreviewForm* form = Shown();
        EXPECT_NE(form, nullptr);
        return *form;
    }
    static QString Label(const TfrPreviewForm& form) { return form.View().PageLabel()->text(); }
};

// Records the keys a widget receives, but for the modifiers themselves.
class KeySpy : public QObject {
public:
    QList<int> keys;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Shift && key != Qt::Key_Control)
            keys << key;
        return false;
    }
};

TEST_F(PreviewFormTest, AReportWithoutAPreviewOpensAWindowThatTakesItsPages) {
    {
        TfrPreviewForm fresh;
        EXPECT_EQ(fresh.windowTitle(), QStringLiteral("Print preview"));
    }
    Prepare(3);
    TfrEMFPages* prepared = report.PreparedPages.get();
    report.Title = Text("Накладная");
    report.ShowPreparedPages();
    QPointer<TfrPreviewForm> form = Shown();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), Text("Предварительный просмотр - Накладная"));
    EXPECT_TRUE(form->isMaximized());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->ShownPages(), prepared);
    EXPECT_EQ(report.PreparedPages->Count(), 0);
    EXPECT_EQ(Label(*form), Text("Стр. 1/3"));
    EXPECT_EQ(form->View().VPos(), 0);

    // Closing frees the window and its pages; the report gets none back.
    form->Toolbar().ExitBtn->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form);
    EXPECT_EQ(report.PreparedPages->Count(), 0);

    // Without a title the caption has no dash; without pages no window opens.
    report.Title.clear();
    Prepare(1);
    report.ShowPreparedPages();
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->windowTitle(), Text("Предварительный просмотр"));
    delete Shown();
    report.Pages.ClearAll();
    report.PrepareAndShow();
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(PreviewFormTest, AModalWindowEndsWithOkOnEscape) {
    report.ModalPreview = true;
    Prepare(2);
    bool wasModal = false;
    WhenShown<TfrPreviewForm>([&](TfrPreviewForm& form) {
        wasModal = form.isModal();
        QTest::keyClick(form.View().PaintBox(), Qt::Key_Escape);
    });
    report.ShowPreparedPages();  // returns when the window closes
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(PreviewFormTest, TheWindowRemembersWhereItWas) {
    QSettings settings(QStringLiteral("Carvelle"));
    settings.beginGroup(TfrPreviewForm::SettingsGroup());
    EXPECT_EQ(TfrPreviewForm::SettingsGroup(), QStringLiteral("Form/TfrPreviewForm"));

    TfrPreviewForm& first = Open(2);
    EXPECT_TRUE(first.isMaximized());  // nothing remembered yet
    first.setWindowState(Qt::WindowNoState);
    first.setGeometry(30, 40, 500, 350);
    first.close();
    settings.sync();
    EXPECT_EQ(settings.value("XPosition").toInt(), 30);
    EXPECT_EQ(settings.value("YPosition").toInt(), 40);
    EXPECT_EQ(settings.value("Width").toInt(), 500);
    EXPECT_EQ(settings.value("Height").toInt(), 350);
    EXPECT_EQ(settings.value("Maximized").toBool(), false);

    TfrPreviewForm& second = Open(2);
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), QRect(30, 40, 500, 350));
    second.setWindowState(Qt::WindowMaximized);
    second.close();
    settings.sync();
    EXPECT_EQ(settings.value("Maximized").toBool(), true);
    EXPECT_EQ(settings.value("Width").toInt(), 500);  // the size it comes back to

    // An MDI child is shown normal and keeps nothing.
    settings.setValue("Width", 444);
    settings.sync();
    report.MDIPreview = true;
    TfrPreviewForm& child = Open(2);
    EXPECT_FALSE(child.isMaximized());
    EXPECT_NE(child.width(), 444);
    child.close();
    settings.sync();
    EXPECT_EQ(settings.value("Width").toInt(), 444);
}

TEST_F(PreviewFormTest, ButtonsFollowPreviewButtonsWithTheirHintsAndHelp) {
    TfrPreviewForm& form = Open(2);
    TfrPreviewToolbar& bar = form.Toolbar();
    EXPECT_EQ(bar.height(), 33);
    // The virtual printer alone prints nothing; the glyphs are in colour by default.
    EXPECT_FALSE(bar.PrintBtn->isEnabled());
    EXPECT_FALSE(bar.PageSetupBtn->isEnabled());
    EXPECT_FALSE(bar.FindBtn->ShowsGray());

    struct Button {
        QToolButton* button;
        const char* hint;
        int help;
    };
    for (const Button& b :
         {Button{bar.ZoomBtn, "Масштаб", 200}, Button{bar.LoadBtn, "Открыть отчет", 201},
          Button{bar.SaveBtn, "Сохранить отчет в файле", 202},
          Button{bar.PrintBtn, "Печать отчета", 203}, Button{bar.PageSetupBtn, "", 203},
          Button{bar.FindBtn, "Поиск", 204}, Button{bar.HelpBtn, "Показать справку", 0},
          Button{bar.ExitBtn, "Выход", 205}}) {
        SCOPED_TRACE(b.button->objectName().toStdString());
        EXPECT_EQ(b.button->toolTip(), Text(b.hint));
        EXPECT_EQ(b.button->property(frHelpContextProperty).toInt(), b.help);
    }
    EXPECT_EQ(bar.ZoomBtn->width(), 53);
    EXPECT_EQ(bar.ZoomBtn->text(), QStringLiteral("100%"));
    form.View().N3Click(200);
    EXPECT_EQ(bar.ZoomBtn->text(), QStringLiteral("200%"));

    // Default: the first seven buttons.
    const QList<QWidget*> controls{bar.ZoomBtn,        bar.frTBSeparator1, bar.LoadBtn, bar.SaveBtn,
                                   bar.PrintBtn,       bar.PageSetupBtn,   bar.FindBtn, bar.HelpBtn,
                                   bar.frTBSeparator3, bar.ExitBtn};
    const auto shown = [&] {
        QString s;
        for (const QWidget* w : controls)
            s += w->isHidden() ? u'-' : u'+';
        return s;
    };
    EXPECT_EQ(shown(), QStringLiteral("+++++-++++"));

    struct Row {
        quint16 buttons;
        bool ownWindow;
        const char* shown;  // zoom, sep1, load, save, print, setup, find, help, sep3, exit
    };
    for (const Row& r :
         {Row{0, true, "----------"}, Row{255, true, "++++++++++"}, Row{pbHelp, true, "-------++-"},
          Row{pbFind, true, "------+-+-"}, Row{pbExit | pbPageSetup, true, "-----+---+"},
          Row{pbZoom | pbPrint, true, "++--+-----"}, Row{255, false, "+++++++-+-"},
          Row{pbHelp | pbExit, false, "----------"}, Row{pbHelp, false, "----------"}}) {
        SCOPED_TRACE(r.buttons);
        SCOPED_TRACE(r.ownWindow);
        report.PreviewButtons = r.buttons;
        bar.Setup(report, r.ownWindow);
        EXPECT_EQ(shown(), QString::fromLatin1(r.shown));
    }
}

TEST_F(PreviewFormTest, PrintingNeedsAListedPrinterAndButtonsMayBeGrayed) {
    auto system = std::make_unique<ScriptedPrinter>();
    system->Queues = {ScriptedPrinter::Office(QStringLiteral("Office"))};
    system->Current = 0;
    Restart(std::move(system));
    frStartTextLayer(*engine);
    frStartPreview(*engine);
    report.GrayedButtons = true;
    TfrPreviewForm& form = Open(1);
    EXPECT_TRUE(form.Toolbar().PrintBtn->isEnabled());
    EXPECT_TRUE(form.Toolbar().PageSetupBtn->isEnabled());
    TfrSpeedButton* find = form.Toolbar().FindBtn;
    EXPECT_TRUE(find->ShowsGray());
    const QImage gray = find->icon().pixmap(16).toImage();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), find->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(find, &enter);
    EXPECT_FALSE(find->ShowsGray());
    EXPECT_NE(find->icon().pixmap(16).toImage(), gray);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(find, &leave);
    EXPECT_TRUE(find->ShowsGray());
}

TEST_F(PreviewFormTest, ATfrPreviewShowsTheToolbarWithoutHelpAndExit) {
    QWidget host;
    auto* preview = new TfrPreview(&host);
    preview->resize(600, 400);
    host.show();
    report.Preview = preview;
    EXPECT_TRUE(preview->Toolbar().isHidden());
    preview->SetShowToolbar(true);
    EXPECT_FALSE(preview->Toolbar().isHidden());
    EXPECT_EQ(preview->View().y(), preview->contentsRect().y() + 33);

    for (quint16 buttons : {quint16(0), quint16(pbHelp | pbExit), quint16(127), quint16(255)}) {
        SCOPED_TRACE(buttons);
        report.PreviewButtons = buttons;
        Prepare(2);
        report.ShowPreparedPages();
        EXPECT_TRUE(preview->Toolbar().HelpBtn->isHidden());
        EXPECT_TRUE(preview->Toolbar().ExitBtn->isHidden());
        EXPECT_EQ(preview->Toolbar().FindBtn->isHidden(), !(buttons & pbFind));
    }
    EXPECT_EQ(Shown(), nullptr);
    preview->SetShowToolbar(false);
    EXPECT_TRUE(preview->Toolbar().isHidden());
    EXPECT_EQ(preview->View().geometry(), preview->contentsRect());
}

TEST_F(PreviewFormTest, TheKeyboardTable) {
    TfrPreviewForm& form = Open(5);
    form.View().SetZoomPercent(100);
    TfrPreviewView& view = form.View();
    QWidget* focus = view.PaintBox();
    KeySpy spy;
    focus->installEventFilter(&spy);

    struct Row {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int vpos;  // after the key
        int page;  // after the key
        bool reachesFocus;
    };
    const std::vector<Row> rows{
        {"Down", Qt::Key_Down, Qt::NoModifier, 10, 1, false},
        {"Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, 20, 1, false},
        {"Up", Qt::Key_Up, Qt::NoModifier, 10, 1, false},
        {"PgDn", Qt::Key_PageDown, Qt::NoModifier, 210, 1, false},
        {"PgUp", Qt::Key_PageUp, Qt::NoModifier, 10, 1, false},
        {"Ctrl+PgDn", Qt::Key_PageDown, Qt::ControlModifier, -1, 2, false},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, -1, 5, false},
        {"End", Qt::Key_End, Qt::NoModifier, -1, 5, true},
        {"Home", Qt::Key_Home, Qt::NoModifier, -1, 5, true},
        {"Ctrl+PgUp", Qt::Key_PageUp, Qt::ControlModifier, -1, 4, false},
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0, 1, false},
        {"a letter", Qt::Key_X, Qt::NoModifier, 0, 1, true},
        {"Ctrl and a letter", Qt::Key_X, Qt::ControlModifier, 0, 1, false},
        {"Shift+Down", Qt::Key_Down, Qt::ShiftModifier, 10, 1, false},
        {"F3 without a search", Qt::Key_F3, Qt::NoModifier, 10, 1, false},
        {"Ctrl+P without a printer", Qt::Key_P, Qt::ControlModifier, 10, 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        spy.keys.clear();
        QTest::keyClick(focus, r.key, r.modifiers);
        if (r.vpos >= 0) {
            EXPECT_EQ(view.VPos(), r.vpos);
        }
        EXPECT_EQ(view.CurrentPage(), r.page);
        EXPECT_EQ(Label(form), QStringLiteral("Стр. %1/5").arg(r.page));
        EXPECT_EQ(!spy.keys.isEmpty(), r.reachesFocus);
    }

    // Space: the zoom popup; Ctrl+F: the search dialog; Ctrl+O: the open dialog.
    QTest::keyClick(focus, Qt::Key_Space);
    EXPECT_TRUE(view.ProcMenu()->isVisible());
    view.ProcMenu()->hide();
    bool searched = false;
    WhenShown<TfrPreviewSearchForm>([&](TfrPreviewSearchForm& dialog) {
        searched = true;
        dialog.reject();
    });
    QTest::keyClick(focus, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(searched);
    QString opened;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        opened = dialog.nameFilters().join(u';');
        dialog.reject();
    });
    QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opened, Text("Файл отчета (*.fwp)"));
    EXPECT_EQ(form.View().PageCount(), 5);

    // Escape closes the window.
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewFormTest, HelpShowsTheTopicOfTheControlPressedNext) {
    QString appHelp = QStringLiteral("QUILLBOX.HLP");
    frEngineState().ApplicationHelpFile = &appHelp;
    TfrPreviewForm& form = Open(2);

    // While the window is active the application's help is the engine's.
    QApplication::setActiveWindow(&form);
    EXPECT_EQ(appHelp, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(QApplication::focusWidget(), form.View().PaintBox());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_EQ(appHelp, QStringLiteral("QUILLBOX.HLP"));
    QApplication::setActiveWindow(&form);

    const auto pressOn = [&](QWidget* control) {
        form.Toolbar().HelpBtn->click();
        EXPECT_TRUE(form.HelpMode());
        EXPECT_TRUE(form.Toolbar().HelpBtn->isChecked());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
        QTest::mousePress(&form, Qt::LeftButton, {},
                          control->mapTo(&form, control->rect().center()));
        EXPECT_FALSE(form.HelpMode());
        EXPECT_FALSE(form.Toolbar().HelpBtn->isChecked());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    };
    pressOn(form.Toolbar().SaveBtn);
    pressOn(form.View().PaintBox());
    pressOn(form.View().PageLabel());
    pressOn(form.Toolbar().HelpBtn);  // the help button itself shows nothing
    ASSERT_EQ(services.helps.size(), 3);
    EXPECT_EQ(services.helps[0].file, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(services.helps[0].context, 202);
    EXPECT_EQ(services.helps[1].context, 207);
    EXPECT_EQ(services.helps[2].context, 206);

    // Escape leaves the pointer mode and keeps the window.
    form.Toolbar().HelpBtn->click();
    QTest::keyClick(form.View().PaintBox(), Qt::Key_Escape);
    EXPECT_FALSE(form.HelpMode());
    EXPECT_TRUE(form.isVisible());
    delete &form;
    EXPECT_EQ(appHelp, QStringLiteral("QUILLBOX.HLP"));
}

TEST_F(PreviewFormTest, ReportFilesAreSavedAndOpenedFromTheWindow) {
    TfrPreviewForm& form = Open(3);
    TfrEMFPages* shown = form.ShownPages();
    const QString bare = settingsDir.filePath(Text("отчет"));
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(bare + QStringLiteral(".txt"));
        static_cast<QDialog&>(dialog).accept();
    });
    QTest::keyClick(form.View().PaintBox(), Qt::Key_S, Qt::ControlModifier);
    const QString saved = bare + QStringLiteral(".fwp");
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(QFile::exists(bare + QStringLiteral(".txt")));
    EXPECT_EQ(form.ShownPages(), shown);

    // The dialog asked about the name typed; the name with the extension is asked about here.
    const QByteArray before = [&] {
        QFile file(saved);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    form.View().GoToPage(2);
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(bare + QStringLiteral(".txt"));
        static_cast<QDialog&>(dialog).accept();
    });
    form.SaveBtnClick();
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, Text("Файл «отчет.fwp» уже существует. Заменить его?"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Question);
    QFile kept(saved);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
    services.boxes.clear();

    // A damaged file: the message, and the window as it was.
    const QString broken = settingsDir.filePath(QStringLiteral("broken.fwp"));
    {
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        bytes[bytes.size() - 3] = char(bytes[bytes.size() - 3] ^ 1);
        QFile out(broken);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    form.View().GoToPage(3);
    const auto open = [&](const QString& name) {
        WhenShown<QFileDialog>([name](QFileDialog& dialog) {
            dialog.selectFile(name);
            static_cast<QDialog&>(dialog).accept();  // the file dialog's own checks
        });
        form.Toolbar().LoadBtn->click();
    };
    open(broken);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text, Text("Файл отчета «broken.fwp» поврежден"));
    EXPECT_EQ(services.boxes[0].caption, Text("Ошибка"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(form.ShownPages(), shown);
    EXPECT_EQ(form.CurrentPage(), 3);

    // A good one, of two pages: shown from page 1.
    Prepare(2);
    frSavePreparedReport(*report.PreparedPages, saved);
    open(saved);
    EXPECT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(form.View().PageCount(), 2);
    EXPECT_EQ(form.CurrentPage(), 1);
    EXPECT_EQ(Label(form), Text("Стр. 1/2"));
    EXPECT_EQ(form.View().VPos(), 0);
}

}  // namespace
