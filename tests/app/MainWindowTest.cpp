#include "DBEditors.h"
#include "DBGrid.h"
#include "DataFixture.h"
#include "Docs.h"
#include "EditValue.h"
#include "Engine.h"
#include "Labels.h"
#include "Preview.h"
#include "PrintRep.h"
#include "SpeedForm.h"
#include "SpinEdit.h"
#include "TextEngine.h"
#include "Value.h"
#include "main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Key presses carrying each character, as a keyboard layout would send them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    }
}

QList<QDialog*> ShownDialogs() {
    QList<QDialog*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
            shown << d;
    }
    return shown;
}

// The main window over the test's database, shown and active.
class MainWindow : public DataFixture {
protected:
    void TearDown() override {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Open() {
        OpenModule();
        main = std::make_unique<TfMain>(frame, *data, windows);
        main->resize(1100, 760);
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }

    QWidget* Focus() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : main.get();
    }
    // Keys go where the focus is; shortcuts want the window active (a closed dialog may leave
    // no window active on the offscreen platform).
    void Press(const QKeySequence& keys) {
        if (QApplication::activeWindow() != main.get())
            QApplication::setActiveWindow(main.get());
        QTest::keySequence(Focus(), keys);
    }

    // A fresh database and window for the next case of a table.
    void Fresh() {
        main.reset();
        data.reset();
        for (const char* table : {"HistoryValue", "ListDoc", "Values_", "Document"})
            Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        services.boxes.clear();
        services.answers.clear();
        services.helps.clear();
    }

    // Runs `open`, which is to show fEditListDoc, and works the panel with `inside` once it is
    // up. A panel still open afterwards is a failure and is cancelled.
    void WithPanel(const std::function<void()>& open, const std::function<void(QDialog&)>& inside) {
        bool shown = false;
        QTimer::singleShot(0, main.get(), [&] {
            QPointer<QDialog> dialog = main->fEditListDoc->DialogWindow();
            if (!dialog || !dialog->isVisible()) {
                ADD_FAILURE() << "the panel is not shown";
                return;
            }
            shown = true;
            QApplication::setActiveWindow(dialog);
            inside(*dialog);
            if (dialog && dialog->isVisible()) {
                ADD_FAILURE() << "the panel is still open";
                main->fEditListDoc->SetModalResult(mrCancel);
            }
        });
        open();
        EXPECT_TRUE(shown);
    }

    qint64 Count(const QString& table, const QString& where = QStringLiteral("1")) {
        return Scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where))
            .toLongLong();
    }

    // Opens the value editor with Enter in the values grid.
    void OpenEditor() {
        main->Grid->setFocus();
        QTest::keyClick(main->Grid, Qt::Key_Return);
        ASSERT_TRUE(main->Edit->isVisible());
    }

public:
    TemplateWindows windows;
    std::unique_ptr<TfMain> main;
};

// ---- documents for printing ----------------------------------------------------------------

TEST_F(MainWindow, WithoutATemplateF3AndCtrlF3DoNothing) {
    Open();
    int dialogs = 0;
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_F3)}) {
        SCOPED_TRACE(keys.toString().toStdString());
        QTimer::singleShot(0, main.get(), [&] {
            for (QDialog* d : ShownDialogs()) {
                ++dialogs;
                d->done(mrCancel);
            }
        });
        Press(keys);
        QCoreApplication::processEvents();
        EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsBrowse);
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(data->ListDoc.RecordCount(), 0);
    EXPECT_EQ(Count(QStringLiteral("ListDoc")), 0);
}

TEST_F(MainWindow, AddingADocumentStoresItWithItsValuesOnOkOnly) {
    struct Case {
        const char* name;
        std::function<void(MainWindow&, QDialog&)> work;
        bool stored;
        QDate date{};  // invalid: today
        QString descript{};
    };
    const Case cases[] = {
        {"Cancel button",
         [](MainWindow& t, QDialog&) { QTest::mouseClick(t.main->btnCancel, Qt::LeftButton); },
         false},
        {"Escape",
         [](MainWindow& t, QDialog&) { QTest::keyClick(t.main->edDescript, Qt::Key_Escape); },
         false},
        {"close box", [](MainWindow&, QDialog& d) { d.close(); }, false},
        {"OK as proposed, dated before the other document",
         [](MainWindow& t, QDialog&) { QTest::mouseClick(t.main->btnOk, Qt::LeftButton); }, true,
         QDate(), QStringLiteral("Счёт")},
        {"typed date and description, Enter",
         [](MainWindow& t, QDialog&) {
             t.main->edDate->setFocus();
             t.main->edDate->selectAll();
             TypeText(t.main->edDate, QStringLiteral("01.02.2003"));
             t.main->edDescript->setFocus();
             t.main->edDescript->selectAll();
             TypeText(t.main->edDescript, QStringLiteral("Первый счёт"));
             QTest::keyClick(t.main->edDescript, Qt::Key_Return);
         },
         true, QDate(2003, 2, 1), QStringLiteral("Первый счёт")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
        const qint64 to = AddField(doc, QStringLiteral("Кому"), QStringLiteral("Иванову"));
        const qint64 sum = AddField(doc, QStringLiteral("Сумма"), QVariant());
        const qint64 later = AddListDoc(doc, QStringLiteral("2099-12-31"), QStringLiteral("Позже"));
        AddValue(later, to, QStringLiteral("Петрову"));
        Open();

        WithPanel([&] { Press(Qt::Key_F3); },
                  [&](QDialog& dialog) {
                      EXPECT_EQ(dialog.windowTitle(),
                                QStringLiteral("Редактирование документа для печати"));
                      EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsInsert);
                      EXPECT_EQ(main->edDate->Date(), QDate::currentDate());
                      EXPECT_EQ(main->edDescript->text(), QStringLiteral("Счёт"));
                      EXPECT_EQ(QApplication::focusWidget(), main->edDate);
                      c.work(*this, dialog);
                  });

        EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsBrowse);
        EXPECT_TRUE(services.boxes.isEmpty());
        EXPECT_EQ(Count(QStringLiteral("ListDoc")), c.stored ? 2 : 1);
        EXPECT_EQ(Count(QStringLiteral("HistoryValue")), c.stored ? 3 : 1);
        if (!c.stored) {
            EXPECT_EQ(data->ListDoc.RecordCount(), 1);
            continue;
        }
        const qint64 added = Scalar(QStringLiteral("SELECT MAX(Id) FROM ListDoc")).toLongLong();
        EXPECT_EQ(Scalar(QStringLiteral("SELECT Document_Id FROM ListDoc WHERE Id = %1").arg(added))
                      .toLongLong(),
                  doc);
        EXPECT_EQ(Scalar(QStringLiteral("SELECT Descript FROM ListDoc WHERE Id = %1").arg(added))
                      .toString(),
                  c.descript);
        const QDate date = c.date.isValid() ? c.date : QDate::currentDate();
        EXPECT_EQ(
            Scalar(QStringLiteral("SELECT Date FROM ListDoc WHERE Id = %1").arg(added)).toString(),
            date.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"));
        // One value per field: the default text, a blank for none.
        for (const auto& [field, value] :
             {std::pair{to, QStringLiteral("Иванову")}, std::pair{sum, QStringLiteral(" ")}}) {
            EXPECT_EQ(Scalar(QStringLiteral("SELECT Value FROM HistoryValue WHERE ListDoc_Id = %1 "
                                            "AND Values_Id = %2")
                                 .arg(added)
                                 .arg(field)),
                      value);
        }
        // The new document is the current one, showing its values.
        EXPECT_EQ(data->ListDocId.Value().toLongLong(), added);
        EXPECT_EQ(main->Grid->RowCount(), 2);
    }
}

TEST_F(MainWindow, ChangingADocumentStoresOnOkOnly) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    AddField(doc, QStringLiteral("Кому"), QStringLiteral("Иванову"));
    const qint64 list = AddListDoc(doc, QStringLiteral("2020-05-06"), QStringLiteral("Старый"));
    Open();
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        WithPanel([&] { Press(QKeySequence(Qt::CTRL | Qt::Key_F3)); },
                  [&](QDialog&) {
                      EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsEdit);
                      EXPECT_EQ(main->edDescript->text(), QStringLiteral("Старый"));
                      main->edDescript->setFocus();
                      main->edDescript->selectAll();
                      TypeText(main->edDescript, QStringLiteral("Новый"));
                      QTest::mouseClick(ok ? main->btnOk : main->btnCancel, Qt::LeftButton);
                  });
        EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(Scalar(QStringLiteral("SELECT Descript FROM ListDoc WHERE Id = %1").arg(list)),
                  ok ? QStringLiteral("Новый") : QStringLiteral("Старый"));
        EXPECT_EQ(main->edDescript->text(),
                  ok ? QStringLiteral("Новый") : QStringLiteral("Старый"));
    }
    // Storing a changed document gives it the values it lacked.
    EXPECT_EQ(Count(QStringLiteral("HistoryValue"), QStringLiteral("ListDoc_Id = %1").arg(list)),
              1);
    EXPECT_EQ(Count(QStringLiteral("ListDoc")), 1);
}

TEST_F(MainWindow, DeletingADocumentDeletesAllItsValues) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        Fresh();
        const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
        QList<qint64> fields;
        for (const char* name : {"А", "Б", "В"})
            fields << AddField(doc, QString::fromUtf8(name), QStringLiteral("x"));
        const qint64 first =
            AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Первый"));
        const qint64 second =
            AddListDoc(doc, QStringLiteral("2002-01-01"), QStringLiteral("Второй"));
        for (const qint64 field : fields) {
            AddValue(first, field, QStringLiteral("1"));
            AddValue(second, field, QStringLiteral("2"));
        }
        Open();
        // Down on the last value moves past it.
        main->Grid->setFocus();
        QTest::keyClick(main->Grid, Qt::Key_End);
        QTest::keyClick(main->Grid, Qt::Key_Down);
        ASSERT_TRUE(data->HistoryValue.Eof());
        ASSERT_EQ(data->ListDocId.Value().toLongLong(), first);

        services.answers = {yes};
        Press(QKeySequence(Qt::CTRL | Qt::Key_Delete));
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, QStringLiteral("Удаляем документ?\rПервый"));
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Удаление!"));
        EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Question);
        EXPECT_EQ(Count(QStringLiteral("ListDoc"), QStringLiteral("Id = %1").arg(first)),
                  yes ? 0 : 1);
        EXPECT_EQ(
            Count(QStringLiteral("HistoryValue"), QStringLiteral("ListDoc_Id = %1").arg(first)),
            yes ? 0 : 3);
        EXPECT_EQ(
            Count(QStringLiteral("HistoryValue"), QStringLiteral("ListDoc_Id = %1").arg(second)),
            3);
        EXPECT_EQ(data->ListDoc.RecordCount(), yes ? 1 : 2);
    }
}

TEST_F(MainWindow, DeletingFromAnEmptyListAsksThenShowsTheErrorBox) {
    AddTemplate(QStringLiteral("Счёт"));
    Open();
    services.answers = {true};
    main->actDelListDoc->trigger();
    ASSERT_EQ(services.boxes.size(), 2);
    EXPECT_EQ(services.boxes[0].text, QStringLiteral("Удаляем документ?\r"));
    EXPECT_EQ(services.boxes[1].text,
              QStringLiteral("Cannot perform this operation on an empty dataset."));
    EXPECT_EQ(services.boxes[1].caption, QStringLiteral("Formwright"));
    EXPECT_EQ(services.boxes[1].icon, UiServices::Icon::Error);
}

// ---- the value editor ----------------------------------------------------------------------

class ValueEditor : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        Fill();
    }

    void Fill() {
        fields.clear();
        values.clear();
        doc = AddTemplate(QStringLiteral("Счёт"));
        for (const char* name : {"А", "Б", "В"})
            fields << AddField(doc, QString::fromUtf8(name), QStringLiteral("x"));
        list = AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Первый"));
        for (int i = 0; i < fields.size(); ++i)
            values << AddValue(list, fields[i], QStringLiteral("Старое %1").arg(i));
        AddListDoc(doc, QStringLiteral("2002-01-01"), QStringLiteral("Второй"));
    }

    QString Stored(int i) {
        return Scalar(QStringLiteral("SELECT Value FROM HistoryValue WHERE Id = %1").arg(values[i]))
            .toString();
    }

    qint64 doc{0};
    qint64 list{0};
    QList<qint64> fields;
    QList<qint64> values;
};

TEST_F(ValueEditor, EnterStoresEscapeAndLeavingDiscard) {
    struct Case {
        const char* name;
        std::function<void(TfMain&)> open;
        std::function<void(TfMain&)> close;
        bool stored;
        const char* focus;  // who has the focus afterwards
    };
    const auto enter = [](TfMain& m) {
        m.Grid->setFocus();
        QTest::keyClick(m.Grid, Qt::Key_Return);
    };
    const Case cases[] = {
        {"Enter, Enter", enter, [](TfMain& m) { QTest::keyClick(m.Edit, Qt::Key_Return); }, true,
         "Grid"},
        {"double click, keypad Enter",
         [](TfMain& m) {
             const QRect cell = m.Grid->CellRect(1, m.Grid->CurrentRow());
             QTest::mouseDClick(m.Grid->viewport(), Qt::LeftButton, {}, cell.center());
         },
         [](TfMain& m) { QTest::keyClick(m.Edit, Qt::Key_Enter, Qt::KeypadModifier); }, true,
         "Grid"},
        {"Enter, Shift+Enter", enter,
         [](TfMain& m) { QTest::keyClick(m.Edit, Qt::Key_Return, Qt::ShiftModifier); }, true,
         "Grid"},
        {"Enter, Ctrl+Enter", enter,
         [](TfMain& m) { QTest::keyClick(m.Edit, Qt::Key_Return, Qt::ControlModifier); }, true,
         "Grid"},
        {"menu action, Escape", [](TfMain& m) { m.actEditValue->trigger(); },
         [](TfMain& m) { QTest::keyClick(m.Edit, Qt::Key_Escape); }, false, "Grid"},
        {"Enter, click into the documents grid", enter,
         [](TfMain& m) {
             const QRect row = m.DBGrid1->CellRect(2, 0);
             QTest::mouseClick(m.DBGrid1->viewport(), Qt::LeftButton, {}, row.center());
         },
         false, "DBGrid1"},
        {"Enter, F5 runs meanwhile", enter,
         [](TfMain&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5); }, false, "Grid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Fill();
        Open();
        main->Grid->setFocus();
        QTest::keyClick(main->Grid, Qt::Key_Down);
        ASSERT_EQ(main->Grid->CurrentRow(), 1);

        c.open(*main);
        ASSERT_TRUE(main->Edit->isVisible());
        EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsEdit);
        EXPECT_EQ(QApplication::focusWidget(), main->Edit);
        EXPECT_EQ(main->Edit->textCursor().selectedText(), QStringLiteral("Старое 1"));
        // Over the value cell, inside its lines.
        const QRect cell = main->Grid->CellRect(1, 1);
        EXPECT_EQ(main->Grid->viewport()->mapTo(main->pnlValues, QPoint(0, 0)), QPoint(3, 27));
        EXPECT_EQ(main->Edit->geometry(),
                  QRect(cell.left() + 6, cell.top() + 30, cell.width() - 6, cell.height() - 4));
        const QRect cellInPanel(main->Grid->viewport()->mapTo(main->pnlValues, cell.topLeft()),
                                cell.size());
        EXPECT_TRUE(cellInPanel.contains(main->Edit->geometry()));

        TypeText(main->Edit, QStringLiteral("Новое"));
        c.close(*main);
        EXPECT_FALSE(main->Edit->isVisible());
        EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(Stored(1), c.stored ? QStringLiteral("Новое") : QStringLiteral("Старое 1"));
        EXPECT_EQ(Stored(0), QStringLiteral("Старое 0"));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus));
        EXPECT_TRUE(services.boxes.isEmpty());
    }
}

TEST_F(ValueEditor, ARefusedValueKeepsTheEditorOpen) {
    Open();
    OpenEditor();
    TypeText(main->Edit, QString(256, QChar(u'я')));
    QTest::keyClick(main->Edit, Qt::Key_Return);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("В поле \"Значение для печати\" можно ввести не более 255 символов."));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Formwright"));
    EXPECT_TRUE(main->Edit->isVisible());
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsEdit);
    EXPECT_EQ(main->Edit->toPlainText().size(), 256);

    QTest::keyClick(main->Edit, Qt::Key_Escape);
    EXPECT_FALSE(main->Edit->isVisible());
    EXPECT_EQ(Stored(0), QStringLiteral("Старое 0"));
}

TEST_F(MainWindow, TheValueEditorOnADocumentWithoutValues) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    AddField(doc, QStringLiteral("Кому"), QStringLiteral("Иванову"));
    const qint64 list = AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Пустой"));
    Open();
    ASSERT_EQ(main->Grid->RowCount(), 0);
    OpenEditor();
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsInsert);
    const QRect cell = main->Grid->CellRect(1, 0);
    ASSERT_FALSE(cell.isEmpty());
    EXPECT_EQ(main->Edit->geometry(),
              QRect(cell.left() + 6, cell.top() + 30, cell.width() - 6, cell.height() - 4));
    TypeText(main->Edit, QStringLiteral("сам по себе"));
    QTest::keyClick(main->Edit, Qt::Key_Return);

    EXPECT_FALSE(main->Edit->isVisible());
    EXPECT_EQ(
        Count(QStringLiteral("HistoryValue"),
              QStringLiteral("ListDoc_Id = %1 AND Values_Id IS NULL AND Value = 'сам по себе'")
                  .arg(list)),
        1);
    ASSERT_EQ(main->Grid->RowCount(), 1);
    EXPECT_EQ(main->Grid->CellText(0, 0), QString());
    EXPECT_EQ(main->Grid->CellText(1, 0), QStringLiteral("сам по себе"));
}

TEST_F(MainWindow, ADoubleClickOnTheEmptyValuesGridOpensTheEditor) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    AddField(doc, QStringLiteral("Кому"), QStringLiteral("Иванову"));
    AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Пустой"));
    Open();
    ASSERT_EQ(main->Grid->RowCount(), 0);
    QTest::mouseDClick(main->Grid->viewport(), Qt::LeftButton, {},
                       main->Grid->CellRect(1, 0).center());
    EXPECT_TRUE(main->Edit->isVisible());
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsInsert);
}

TEST_F(MainWindow, TheValueEditorWithoutADocumentDoesNothing) {
    AddTemplate(QStringLiteral("Счёт"));
    Open();
    main->Grid->setFocus();
    QTest::keyClick(main->Grid, Qt::Key_Return);
    EXPECT_FALSE(main->Edit->isVisible());
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Count(QStringLiteral("HistoryValue")), 0);
}

// ---- row height, values ----------------------------------------------------------------------

TEST_F(MainWindow, TheRowHeightBoxStopsAt20And0AndAppliesAtOnce) {
    Open();
    EXPECT_EQ(main->SpinEdit->Value(), 3);
    EXPECT_EQ(main->Grid->RowLines(), 3);
    main->SpinEdit->setFocus();
    const int threeLines = main->Grid->RowHeight();
    QTest::keyClick(main->SpinEdit, Qt::Key_Up);
    EXPECT_EQ(main->Grid->RowLines(), 4);
    EXPECT_GT(main->Grid->RowHeight(), threeLines);
    for (int i = 0; i < 25; ++i)
        QTest::keyClick(main->SpinEdit, Qt::Key_Up);
    EXPECT_EQ(main->SpinEdit->Value(), 20);
    EXPECT_EQ(main->Grid->RowLines(), 20);
    QTest::keyClick(main->SpinEdit, Qt::Key_Down);
    EXPECT_EQ(main->Grid->RowLines(), 19);
    for (int i = 0; i < 25; ++i)
        QTest::keyClick(main->SpinEdit, Qt::Key_Down);
    EXPECT_EQ(main->SpinEdit->Value(), 0);
    EXPECT_EQ(main->Grid->RowLines(), 0);
    // Typing is off.
    QTest::keyClicks(main->SpinEdit, QStringLiteral("7"));
    EXPECT_EQ(main->SpinEdit->Value(), 0);
    EXPECT_EQ(main->Grid->RowLines(), 0);
}

TEST_F(ValueEditor, DeletingAValueAsksAndRefreshingBringsItBack) {
    Open();
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        services.boxes.clear();
        services.answers = {yes};
        main->actDelHistory->trigger();
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Удаление!"));
        EXPECT_EQ(
            Count(QStringLiteral("HistoryValue"), QStringLiteral("ListDoc_Id = %1").arg(list)),
            yes ? 2 : 3);
    }
    Press(Qt::Key_F5);
    EXPECT_EQ(Count(QStringLiteral("HistoryValue"),
                    QStringLiteral("ListDoc_Id = %1 AND Values_Id = %2 AND Value = 'x'")
                        .arg(list)
                        .arg(fields[0])),
              1);
    EXPECT_EQ(main->Grid->RowCount(), 3);
}

TEST_F(MainWindow, DeletingAValueOfAnEmptyListShowsTheErrorBox) {
    AddTemplate(QStringLiteral("Счёт"));
    Open();
    services.answers = {true};
    main->actDelHistory->trigger();
    ASSERT_EQ(services.boxes.size(), 2);
    EXPECT_EQ(services.boxes[1].text,
              QStringLiteral("Cannot perform this operation on an empty dataset."));
    EXPECT_EQ(services.boxes[1].icon, UiServices::Icon::Error);
}

TEST_F(ValueEditor, TheStatusBarShowsThePlaceOfTheCurrentValue) {
    Exec(QStringLiteral(
             "UPDATE Values_ SET \"Left\" = 11, Top = 22, Height = 33, Width = 44, PageNum = 2 "
             "WHERE Id = ?"),
         {fields[1]});
    Open();
    const auto shown = [this] {
        return QStringList{main->txtLeft->Caption(), main->txtTop->Caption(),
                           main->txtHeight->Caption(), main->txtWidth->Caption(),
                           main->txtPageNum->Caption()};
    };
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("5"),
                                    QStringLiteral("50"), QStringLiteral("1")}));
    main->Grid->setFocus();
    QTest::keyClick(main->Grid, Qt::Key_Down);
    EXPECT_EQ(shown(),
              (QStringList{QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33"),
                           QStringLiteral("44"), QStringLiteral("2")}));
    EXPECT_EQ(main->txtTemplateName->Caption(), QStringLiteral("Счёт"));
}

// ---- frame -------------------------------------------------------------------------------------

TEST_F(MainWindow, HelpAboutAndExit) {
    Open();
    Press(Qt::Key_F1);
    main->actAbout->trigger();
    ASSERT_EQ(services.helps.size(), 2);
    EXPECT_EQ(services.helps[0].file, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(services.helps[0].context, -1);
    EXPECT_EQ(services.helps[1].file, QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(services.helps[1].context, 2);

    // "Выход" in the menu asks the frame to end the application.
    main->mnuDocument->actions().last()->trigger();
    EXPECT_TRUE(frame.Terminated());
    // The queued end of the loop would end every later modal loop of this process.
    QCoreApplication::removePostedEvents(qApp, QEvent::MetaCall);
}

TEST_F(MainWindow, F9ShowsTheReportOfTheCurrentDocument) {
    const qint64 doc = AddTemplate(QStringLiteral("Счёт"));
    const qint64 field = AddField(doc, QStringLiteral("Сумма"), QStringLiteral("100"));
    AddListDoc(doc, QStringLiteral("2001-01-01"), QStringLiteral("Первый"));
    AddValue(AddListDoc(doc, QStringLiteral("2001-01-02"), QStringLiteral("Второй")), field,
             QStringLiteral("200"));
    // A machine without printers: the engine lays pages out for its virtual printer.
    TfrEngine engine(nullptr);
    engine.State().Services = &services;
    frStartTextLayer(engine);
    frStartPreview(engine);
    Open();
    TfPrintRep printRep(frame, *data, main.get());
    windows.fPrintRep = &printRep;
    EXPECT_TRUE(main->actCreateReport->isEnabled());
    QString caption;
    int pages = 0;
    // Looks until the preview is up, then closes it.
    std::function<void()> look = [&] {
        if (QApplication::activeModalWidget() != &printRep) {
            QTimer::singleShot(0, look);
            return;
        }
        caption = printRep.windowTitle();
        pages = printRep.Preview->PageCount();
        printRep.close();
    };
    QTimer::singleShot(0, look);
    Press(Qt::Key_F9);
    EXPECT_EQ(caption, data->ListDoc.FieldByName(QStringLiteral("Descript")).AsString());
    EXPECT_EQ(pages, 1);
    EXPECT_FALSE(printRep.isVisible());
    EXPECT_TRUE(services.boxes.isEmpty());
    windows.fPrintRep = nullptr;
}

TEST_F(MainWindow, F9WithoutADocumentForPrintingSaysWhy) {
    TfrEngine engine(nullptr);
    engine.State().Services = &services;
    frStartTextLayer(engine);
    frStartPreview(engine);
    struct Row {
        const char* name;
        bool withTemplate;
        QString text;
    };
    const Row rows[] = {
        {"NoTemplate", false,
         QStringLiteral("Нет шаблона документа, отчет строить не из чего.\r"
                        "Создайте шаблон (F2) и добавьте документ для печати (F3).")},
        {"NoDocument", true,
         QStringLiteral("У шаблона нет документа для печати.\r"
                        "Добавьте документ для печати (F3), затем создайте отчет.")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fresh();
        if (row.withTemplate)
            AddField(AddTemplate(QStringLiteral("Счёт")), QStringLiteral("Сумма"),
                     QStringLiteral("100"));
        Open();
        TfPrintRep printRep(frame, *data, main.get());
        windows.fPrintRep = &printRep;
        bool shown = false;
        QTimer::singleShot(0, &printRep, [&] {
            if (printRep.isVisible()) {
                shown = true;
                printRep.close();
            }
        });
        Press(Qt::Key_F9);
        QCoreApplication::processEvents();
        EXPECT_FALSE(shown);
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].text, row.text);
        EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Создать отчет"));
        windows.fPrintRep = nullptr;
    }
}

TEST_F(MainWindow, TheContextMenuOpensOverTheGrids) {
    Open();
    for (TDBGrid* grid : {main->DBGrid1, main->Grid}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 40),
                                grid->viewport()->mapToGlobal(QPoint(20, 40)));
        QCoreApplication::sendEvent(grid->viewport(), &event);
        EXPECT_TRUE(main->PopupMenu1->isVisible());
        main->PopupMenu1->hide();
    }
}

// ---- the template windows ----------------------------------------------------------------------

// The main window with the template windows it opens, created after it as the start-up does.
class WithTemplateWindows : public ValueEditor {
protected:
    void OpenAll() {
        Open();
        docs = std::make_unique<TfDocs>(frame, *data, windows);
        value = std::make_unique<TfValue>(frame, *data, windows);
        editValue = std::make_unique<TfEditValue>(frame, *data, windows);
        windows.fDocs = docs.get();
        windows.fValue = value.get();
        windows.fEditValue = editValue.get();
    }
    void TearDown() override {
        main.reset();
        editValue.reset();
        value.reset();
        docs.reset();
        MainWindow::TearDown();
    }

    // Presses `keys` and calls `inside` with the modal window that opens; a window still open
    // afterwards is closed with `close`. Returns the window that was shown.
    QWidget* WhileOpen(const QKeySequence& keys, const std::function<void(QDialog&)>& inside) {
        QWidget* seen = nullptr;
        QTimer::singleShot(0, main.get(), [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            seen = dialog;
            if (!dialog) {
                ADD_FAILURE() << "no modal window";
                return;
            }
            QApplication::setActiveWindow(dialog);
            inside(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "still open";
                dialog->done(0);
            }
        });
        Press(keys);
        return seen;
    }

    std::unique_ptr<TfDocs> docs;
    std::unique_ptr<TfValue> value;
    std::unique_ptr<TfEditValue> editValue;
};

TEST_F(WithTemplateWindows, F2AndCtrlF2OpenTheTemplateListAndTheFieldList) {
    OpenAll();
    EXPECT_EQ(WhileOpen(Qt::Key_F2, [](QDialog& d) { d.done(1); }), docs.get());
    EXPECT_FALSE(docs->isVisible());
    EXPECT_EQ(WhileOpen(QKeySequence(Qt::CTRL | Qt::Key_F2), [](QDialog& d) { d.done(0); }),
              value.get());
    EXPECT_FALSE(value->isVisible());
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(WithTemplateWindows, F4EditsTheFieldOfTheCurrentValue) {
    Exec(QStringLiteral("UPDATE Document SET PageCount = 3 WHERE Id = ?"), {doc});
    OpenAll();
    main->Grid->setFocus();
    QTest::keyClick(main->Grid, Qt::Key_Down);
    ASSERT_EQ(data->HistoryValueValues_Id.Value().toLongLong(), fields[1]);
    ASSERT_EQ(main->txtLeft->Caption(), QStringLiteral("10"));

    QWidget* shown = WhileOpen(Qt::Key_F4, [&](QDialog&) {
        EXPECT_EQ(data->Values_.State(), TDataSetState::dsEdit);
        EXPECT_EQ(data->Values_Id.Value().toLongLong(), fields[1]);
        EXPECT_EQ(editValue->MaxPage(), 3);
        data->Values_Left.SetValue(77);
        QTest::mouseClick(editValue->BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(shown, editValue.get());
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(
        Scalar(QStringLiteral("SELECT \"Left\" FROM Values_ WHERE Id = %1").arg(fields[1])).toInt(),
        77);
    // The lookups of the current value show the stored field.
    EXPECT_EQ(main->txtLeft->Caption(), QStringLiteral("77"));
    EXPECT_EQ(data->HistoryValueValues_Id.Value().toLongLong(), fields[1]);
}

TEST_F(WithTemplateWindows, F4OnAValueWithoutAFieldDoesNothing) {
    Exec(QStringLiteral("DELETE FROM Values_ WHERE Id = ?"), {fields[0]});
    OpenAll();
    ASSERT_TRUE(data->HistoryValueVarName.IsNull());
    Press(Qt::Key_F4);
    EXPECT_FALSE(editValue->isVisible());
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(services.boxes.isEmpty());
}

}  // namespace
