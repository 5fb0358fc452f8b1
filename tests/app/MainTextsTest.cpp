#include "DBEditors.h"
#include "DBGrid.h"
#include "DataFixture.h"
#include "Labels.h"
#include "SpeedForm.h"
#include "SpinEdit.h"
#include "StatusBar.h"
#include "main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <memory>

namespace {

// What a list of actions shows: object names, "-" for a separator, "spacer" for a gap.
QStringList Entries(const QList<QAction*>& actions) {
    QStringList entries;
    for (QAction* action : actions) {
        if (action->isSeparator())
            entries << QStringLiteral("-");
        else if (action->objectName().isEmpty())
            entries << QStringLiteral("spacer");
        else
            entries << action->objectName();
    }
    return entries;
}

QStringList Split(const char* list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

class MainTexts : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        OpenModule();
        main = std::make_unique<TfMain>(frame, *data, windows);
        main->resize(1100, 760);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    void TearDown() override { main.reset(); }

    TemplateWindows windows;
    std::unique_ptr<TfMain> main;
};

TEST_F(MainTexts, Actions) {
    struct Row {
        const char* name;
        QString caption;
        QString hint;
        QKeySequence shortcut;
    };
    const Row rows[] = {
        {"actSelectDoc", QStringLiteral("Выбор (ред-ие) шаблона документов"),
         QStringLiteral("Выбор (ред-ие) шаблона документов"), QKeySequence(Qt::Key_F2)},
        {"actValues", QStringLiteral("Список шаблонных полей"),
         QStringLiteral("Список шаблонных полей"), QKeySequence(Qt::CTRL | Qt::Key_F2)},
        {"actAddListDoc", QStringLiteral("Добавить документ для печати"),
         QStringLiteral("Добавить документ для печати"), QKeySequence(Qt::Key_F3)},
        {"actEditListDoc", QStringLiteral("Изменить документ для печати"),
         QStringLiteral("Изменить документ для печати"), QKeySequence(Qt::CTRL | Qt::Key_F3)},
        {"actDelListDoc", QStringLiteral("Удалить документ для печати"),
         QStringLiteral("Удалить документ для печати"), QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"actCreateReport", QStringLiteral("Создать отчет"), QStringLiteral("Создать отчет"),
         QKeySequence(Qt::Key_F9)},
        {"actEditValue", QStringLiteral("Изменить значение поля"), QString(), QKeySequence()},
        {"actParamValue", QStringLiteral("Параметры поля"), QStringLiteral("Параметры поля"),
         QKeySequence(Qt::Key_F4)},
        {"actRefreshValue", QStringLiteral("Обновить поля"), QStringLiteral("Обновить поля"),
         QKeySequence(Qt::Key_F5)},
        {"actDelHistory", QStringLiteral("Удалить поле (для печати)"),
         QStringLiteral("Удалить поле (для печати)"), QKeySequence()},
        {"actHelp", QStringLiteral("Помошь"), QStringLiteral("Помошь"), QKeySequence(Qt::Key_F1)},
        {"actAbout", QStringLiteral("О программе"), QStringLiteral("О программе"), QKeySequence()},
        {"actExit", QStringLiteral("Выход"), QStringLiteral("Выход"), QKeySequence()},
    };
    int found = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* action = main->findChild<QAction*>(QLatin1String(row.name));
        ASSERT_NE(action, nullptr);
        ++found;
        EXPECT_EQ(action->text(), row.caption);
        EXPECT_EQ(action->statusTip(), row.hint);
        if (!row.hint.isEmpty()) {
            EXPECT_EQ(action->toolTip(), row.hint);
        }
        EXPECT_EQ(action->shortcut(), row.shortcut);
        EXPECT_FALSE(action->icon().isNull());
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(found, 13);
}

TEST_F(MainTexts, MenusToolBarsAndTheContextMenu) {
    EXPECT_EQ(main->tbMenu->windowTitle(), QStringLiteral("Меню"));
    EXPECT_EQ(main->tbMenu->widgetForAction(main->tbMenu->actions().value(0)), main->MainMenu);
    struct Menu {
        QString title;
        const char* entries;
    };
    const Menu menus[] = {
        {QStringLiteral("Документ"), "actSelectDoc actValues - actExit"},
        {QStringLiteral("История"), "actCreateReport - actAddListDoc actEditListDoc actDelListDoc"},
        {QStringLiteral("Поле"), "actEditValue actParamValue actRefreshValue actDelHistory"},
        {QStringLiteral("Справка"), "actHelp actAbout"},
    };
    const QList<QAction*> bar = main->MainMenu->actions();
    ASSERT_EQ(bar.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(menus[i].title.toStdString());
        EXPECT_EQ(bar[i]->text(), menus[i].title);
        ASSERT_NE(bar[i]->menu(), nullptr);
        EXPECT_EQ(Entries(bar[i]->menu()->actions()), Split(menus[i].entries));
    }

    struct Bar {
        QToolBar* bar;
        const char* entries;
    };
    const Bar bars[] = {
        {main->tbDocument, "actSelectDoc - actValues spacer"},
        {main->tbHistory,
         "actCreateReport - actAddListDoc - actEditListDoc - actDelListDoc spacer"},
        {main->tbField, "actEditValue - actParamValue - actRefreshValue - actDelHistory spacer"},
        {main->tbExit, "actExit"},
    };
    int left = main->tbMenu->geometry().right();
    for (const Bar& b : bars) {
        SCOPED_TRACE(b.bar->objectName().toStdString());
        EXPECT_EQ(Entries(b.bar->actions()), Split(b.entries));
        // One row, left to right.
        EXPECT_LT(b.bar->geometry().top(), main->tbMenu->geometry().bottom());
        EXPECT_GT(b.bar->geometry().bottom(), main->tbMenu->geometry().top());
        EXPECT_GT(b.bar->geometry().left(), left);
        left = b.bar->geometry().right();
    }
    // The exit bar stands against the right edge.
    EXPECT_GE(main->tbExit->mapTo(main.get(), QPoint(main->tbExit->width(), 0)).x(),
              main->width() - 4);
    EXPECT_GT(main->tbExit->geometry().left() - main->tbField->geometry().right(), 100);

    EXPECT_EQ(Entries(main->PopupMenu1->actions()),
              Split("actHelp - actSelectDoc actValues - actCreateReport - actAddListDoc "
                    "actEditListDoc actDelListDoc - actEditValue actParamValue actRefreshValue "
                    "actDelHistory"));
}

TEST_F(MainTexts, ToolTipsAreTheHints) {
    const auto tipOf = [](QToolBar* bar, QAction* action) {
        QToolTip::hideText();
        QWidget* button = bar->widgetForAction(action);
        QHelpEvent event(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(button, &event);
        const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return text;
    };
    // First: a tip still fading out would be read instead.
    EXPECT_EQ(tipOf(main->tbField, main->actEditValue), QString());
    EXPECT_EQ(tipOf(main->tbHistory, main->actAddListDoc),
              QStringLiteral("Добавить документ для печати"));
    EXPECT_EQ(tipOf(main->tbExit, main->actExit), QStringLiteral("Выход"));
}

TEST_F(MainTexts, TitlesLabelsAndPanels) {
    struct Text {
        const char* name;
        QString shown;
        QString expected;
    };
    const Text texts[] = {
        {"lbTemplate", main->lbTemplate->Caption(), QStringLiteral(" Текущий шаблон документа   ")},
        {"lbListDoc", main->lbListDoc->text(), QStringLiteral("Список докумнтов для печати ")},
        {"lbRowHeight", main->lbRowHeight->text(), QStringLiteral("Высота строки")},
        {"lbValues", main->lbValues->text(), QStringLiteral("Список полей докумнта для печати ")},
        {"fEditListDoc", main->fEditListDoc->Caption(),
         QStringLiteral("Редактирование документа для печати")},
        {"lbDate", main->lbDate->text(), QStringLiteral("Дата")},
        {"lbDescript", main->lbDescript->text(), QStringLiteral("Описание")},
        {"btnOk", main->btnOk->text(), QStringLiteral("OK")},
        {"btnCancel", main->btnCancel->text(), QStringLiteral("Cancel")},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(t.shown, t.expected);
    }
    EXPECT_EQ(main->lbListDoc->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(main->lbValues->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(main->btnOk->ModalResult(), mrOk);
    EXPECT_EQ(main->btnCancel->ModalResult(), mrCancel);
    EXPECT_TRUE(main->btnCancel->Cancel());
    EXPECT_EQ(main->fEditListDoc->Style(), dsIcon);
    EXPECT_EQ(main->fEditListDoc->BorderStyle(), bsSingle);
    EXPECT_EQ(main->fEditListDoc->BorderIcons(), 0u);
    EXPECT_EQ(main->fEditListDoc->Position(), poMainFormCenter);

    struct Panel {
        QString text;
        int width;
        TAlignment alignment;
        TDBStaticText* label{nullptr};
        const char* field{nullptr};
    };
    const Panel panels[] = {
        {QStringLiteral("Слева"), 50, TAlignment::Center},
        {QString(), 70, TAlignment::LeftJustify, main->txtLeft, "Left"},
        {QStringLiteral("Сверху"), 50, TAlignment::Center},
        {QString(), 70, TAlignment::LeftJustify, main->txtTop, "Top"},
        {QStringLiteral("Высота"), 50, TAlignment::Center},
        {QString(), 70, TAlignment::LeftJustify, main->txtHeight, "Height"},
        {QStringLiteral("Ширина"), 50, TAlignment::LeftJustify},
        {QString(), 70, TAlignment::LeftJustify, main->txtWidth, "Width"},
        {QStringLiteral("стр."), 50, TAlignment::Center},
        {QString(), 70, TAlignment::LeftJustify, main->txtPageNum, "PageNum"},
    };
    ASSERT_EQ(main->StatusBar1->PanelCount(), 10);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const TStatusPanel& panel = main->StatusBar1->Panel(i);
        EXPECT_EQ(panel.Text, panels[i].text);
        if (i < 9) {
            EXPECT_EQ(panel.Width, panels[i].width);
        }
        EXPECT_EQ(panel.Alignment, panels[i].alignment);
        if (TDBStaticText* label = panels[i].label) {
            EXPECT_EQ(label->DataSource(), &data->dsHistoryValue);
            EXPECT_EQ(label->DataField(), QLatin1String(panels[i].field));
            EXPECT_EQ(label->parentWidget(), main->StatusBar1);
            EXPECT_TRUE(main->StatusBar1->PanelRect(i).contains(label->geometry()));
            EXPECT_EQ(label->Alignment(), TAlignment::Center);
            EXPECT_TRUE(label->font().bold());
            EXPECT_EQ(label->FontColor(), i == 9 ? CanvasRgb(255, 0, 0) : CanvasRgb(0, 0, 255));
        }
    }
}

TEST_F(MainTexts, GridColumns) {
    struct Column {
        TDBGrid* grid;
        int index;
        const char* field;
        QString title;
        int width;  // 0: not fixed
        Qt::Alignment alignment;
    };
    const Column columns[] = {
        {main->DBGrid1, 0, "Id", QStringLiteral("Код"), 0, Qt::AlignLeft},
        {main->DBGrid1, 1, "Date", QStringLiteral("Дата"), 0, Qt::AlignCenter},
        {main->DBGrid1, 2, "Descript", QStringLiteral("Описание"), 587, Qt::AlignLeft},
        {main->Grid, 0, "VarName", QStringLiteral("Поле|Наименование"), 279, Qt::AlignCenter},
        {main->Grid, 1, "Value", QStringLiteral("Поле|Значение для печати"), 484, Qt::AlignLeft},
    };
    EXPECT_EQ(main->DBGrid1->ColumnCount(), 3);
    EXPECT_EQ(main->Grid->ColumnCount(), 2);
    for (const Column& c : columns) {
        SCOPED_TRACE(c.field);
        const TDBGrid::TColumn& column = c.grid->Column(c.index);
        EXPECT_EQ(column.FieldName, QLatin1String(c.field));
        EXPECT_EQ(column.Title, c.title);
        if (c.width) {
            EXPECT_EQ(column.Width, c.width);
        }
        EXPECT_EQ(column.Alignment, c.alignment);
        EXPECT_EQ(column.TitleAlignment, Qt::AlignCenter);
    }
    EXPECT_EQ(main->Grid->TitleText(0, 0), QStringLiteral("Поле"));
    EXPECT_EQ(main->Grid->TitleText(1, 1), QStringLiteral("Значение для печати"));
}

TEST_F(MainTexts, ColoursFontsAndOptions) {
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(main->txtTemplateName->Color(), 16776176u);
    EXPECT_TRUE(main->txtTemplateName->font().bold());
    EXPECT_EQ(main->txtTemplateName->Alignment(), TAlignment::Center);
    EXPECT_FALSE(main->txtTemplateName->ShowAccelChar());
    EXPECT_EQ(main->txtTemplateName->DataSource(), &data->dsDocument);
    EXPECT_EQ(main->txtTemplateName->DataField(), QStringLiteral("Name"));
    EXPECT_EQ(main->lbTemplate->FontColor(), CanvasRgb(255, 0, 0));
    EXPECT_EQ(main->lbValues->palette().color(QPalette::WindowText), QColor(Qt::red));

    EXPECT_EQ(main->DBGrid1->DataSource(), &data->dsListDoc);
    EXPECT_EQ(main->DBGrid1->Color(), palette.color(QPalette::ToolTipBase));
    EXPECT_EQ(main->DBGrid1->Options(), TGridOption::Titles | TGridOption::Indicator |
                                            TGridOption::ColumnResize | TGridOption::RowLines);
    EXPECT_EQ(main->pnlListDoc->minimumHeight(), main->pnlListDoc->maximumHeight());

    EXPECT_EQ(main->Grid->DataSource(), &data->dsHistoryValue);
    EXPECT_EQ(main->Grid->Color(), QColor(0, 255, 255));
    EXPECT_EQ(main->Grid->TitleColor(), QColor(0, 0, 128));
    EXPECT_TRUE(main->Grid->TitleFont().bold());
    EXPECT_EQ(main->Grid->Column(0).Color, palette.color(QPalette::Button));
    EXPECT_EQ(main->Grid->FrozenCols(), 1);
    EXPECT_EQ(main->Grid->RowLines(), 3);
    EXPECT_TRUE(main->Grid->Options() & TGridOption::ColLines);
    EXPECT_TRUE(main->Grid->Options() & TGridOption::RowLines);
    EXPECT_TRUE(main->Grid->Options() & TGridOption::RowHighlight);

    EXPECT_EQ(main->Edit->DataSource(), &data->dsHistoryValue);
    EXPECT_EQ(main->Edit->DataField(), QStringLiteral("Value"));
    EXPECT_FALSE(main->Edit->WantReturns());
    EXPECT_FALSE(main->Edit->isVisible());
    EXPECT_EQ(main->edDate->DataField(), QStringLiteral("Date"));
    EXPECT_EQ(main->edDescript->DataField(), QStringLiteral("Descript"));
    EXPECT_EQ(main->edDate->DataSource(), &data->dsListDoc);
    EXPECT_EQ(main->edDescript->DataSource(), &data->dsListDoc);

    EXPECT_EQ(main->SpinEdit->MinValue(), 0);
    EXPECT_EQ(main->SpinEdit->MaxValue(), 20);
    EXPECT_FALSE(main->SpinEdit->EditorEnabled());
}

TEST_F(MainTexts, TheDeleteQuestions) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    const qint64 field = AddField(doc, QStringLiteral("Кому"), QStringLiteral("x"));
    const qint64 list = AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Мой счёт"));
    AddValue(list, field, QStringLiteral("x"));
    data->Document.Requery();
    struct Question {
        QAction* action;
        QString text;
    };
    const Question questions[] = {
        {main->actDelListDoc, QStringLiteral("Удаляем документ?\rМой счёт")},
        {main->actDelHistory,
         QStringLiteral("Удаляем поле?\rВыбранное поле будет удалено из выбранного\r<документа для "
                        "печати>, созданного на основе\rшаблона выбранного <текущего "
                        "документа>\r\rЧтобы восстановить поле сделайте обновление полей.")},
    };
    for (const Question& q : questions) {
        SCOPED_TRACE(q.action->objectName().toStdString());
        services.boxes.clear();
        services.answers = {false};
        q.action->trigger();
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, q.text);
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Удаление!"));
        EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Question);
    }
}

// ---- screenshots ---------------------------------------------------------------------------

TEST(MainLook, ScreenshotsWithTheSampleData) {
    QDir().mkpath(QStringLiteral("/tmp/main"));
    TempDir dir;
    Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), true);
    ServicesDouble services;
    AppFrame frame{services};
    frame.Title = QStringLiteral("Formwright");
    frame.AppCaption = QStringLiteral("Formwright {1.0.0.1}");
    TfData data(frame);
    data.DataModuleCreate(QCoreApplication::applicationFilePath());
    TemplateWindows windows;
    TfMain window(frame, data, windows);
    window.resize(1100, 700);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Grid->setFocus();
    QTest::keyClick(window.Grid, Qt::Key_Down);

    // What the window system shows (the backing store of the window).
    const auto screenshot = [&window] {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    };
    const QImage shot = screenshot();
    EXPECT_TRUE(shot.save(QStringLiteral("/tmp/main/fMain.png")));
    // The template strip carries the template's name on its own background.
    const QPoint strip = window.txtTemplateName->mapTo(&window, QPoint(4, 4));
    EXPECT_EQ(shot.pixelColor(strip), QColor(0xF0, 0xFB, 0xFF));
    EXPECT_EQ(window.txtTemplateName->Caption(), QStringLiteral("Почтовый перевод"));
    EXPECT_EQ(window.txtLeft->Caption(), QStringLiteral("30"));

    // The editor over the second value.
    QTest::keyClick(window.Grid, Qt::Key_Return);
    EXPECT_TRUE(screenshot().save(QStringLiteral("/tmp/main/fMain-editing.png")));
    QTest::keyClick(window.Edit, Qt::Key_Escape);

    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        QDialog* dialog = window.fEditListDoc->DialogWindow();
        ASSERT_NE(dialog, nullptr);
        shown = true;
        QApplication::setActiveWindow(dialog);
        EXPECT_TRUE(dialog->grab().toImage().save(QStringLiteral("/tmp/main/fEditListDoc.png")));
        // The tab order of the panel.
        EXPECT_EQ(QApplication::focusWidget(), window.edDate);
        for (QWidget* next :
             {static_cast<QWidget*>(window.edDescript), static_cast<QWidget*>(window.btnOk),
              static_cast<QWidget*>(window.btnCancel)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "Escape did not close the panel";
            window.fEditListDoc->SetModalResult(mrCancel);
        }
    });
    window.actAddListDoc->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(data.ListDoc.RecordCount(), 1);
}

}  // namespace
