#include "DBEditors.h"
#include "DBGrid.h"
#include "DataFixture.h"
#include "EditValue.h"
#include "Labels.h"
#include "SpinEdit.h"
#include "Value.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Key presses carrying each character, as a keyboard layout sends them.
void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Runs `inside` once `dialog` is shown modally by what the caller does next. A dialog still open
// afterwards is a failure, and is closed so that the test goes on.
void WhenShown(QDialog& dialog, std::function<void()> inside) {
    QTimer::singleShot(0, &dialog, [&dialog, inside] {
        if (!dialog.isVisible()) {
            ADD_FAILURE() << dialog.objectName().toStdString() << " is not shown";
            return;
        }
        QApplication::setActiveWindow(&dialog);
        inside();
        if (dialog.isVisible()) {
            ADD_FAILURE() << dialog.objectName().toStdString() << " is still open";
            dialog.done(0);
        }
    });
}

QStringList GroupLabels(const QGroupBox* group) {
    QStringList texts;
    for (const QLabel* label : group->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

class FieldList : public DataFixture {
protected:
    // The windows as the start-up creates them, on the data added so far.
    void Open() {
        editor.reset();
        value.reset();
        OpenModule();
        value = std::make_unique<TfValue>(frame, *data, windows);
        windows.fValue = value.get();
        editor = std::make_unique<TfEditValue>(frame, *data, windows);
        windows.fEditValue = editor.get();
    }

    // Shows the field list; `inside` works it, and the list is closed with "OK" afterwards.
    int ShowList(const std::function<void()>& inside) {
        WhenShown(*value, [&] {
            inside();
            value->btnOk->click();
        });
        return value->ShowModal();
    }

    // Fails (and closes the editor) if the field editor opens.
    void EditorMustStayHidden() {
        QTimer::singleShot(0, editor.get(), [this] {
            if (editor->isVisible()) {
                ADD_FAILURE() << "the field editor opened";
                editor->done(0);
            }
        });
    }

    QVariant Stored(const QString& column, qint64 id) {
        return Scalar(
            QStringLiteral("SELECT \"%1\" FROM Values_ WHERE Id = %2").arg(column).arg(id));
    }
    int FieldCount() { return Scalar(QStringLiteral("SELECT COUNT(*) FROM Values_")).toInt(); }

    TemplateWindows windows;
    std::unique_ptr<TfValue> value;
    std::unique_ptr<TfEditValue> editor;
};

TEST_F(FieldList, TheButtonAndCtrlLOpenThePageLayout) {
    const qint64 doc = AddTemplate(QStringLiteral("Бланк"), 1);
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Open();
    int opened = 0;
    windows.ShowPageLayout = [&] { ++opened; };
    ShowList([&] {
        EXPECT_EQ(value->btnLayout->text(), QStringLiteral("Разметка страницы…"));
        value->btnLayout->click();
        QApplication::setActiveWindow(value.get());
        QTest::keyClick(value.get(), Qt::Key_L, Qt::ControlModifier);
    });
    EXPECT_EQ(opened, 2);
}

TEST_F(FieldList, TextsSizesAndMessagesAreTheSystemsOwn) {
    const qint64 doc = AddTemplate(QStringLiteral("Счет-фактура"), QVariant());
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Open();
    // The messages: a template without a page count, and the question before a deletion.
    value->btnAdd->click();
    services.answers = {false};
    value->btnDelete->click();
    ASSERT_EQ(services.boxes.size(), 2);
    // And with no template at all.
    Exec(QStringLiteral("DELETE FROM Values_"));
    Exec(QStringLiteral("DELETE FROM Document"));
    data->Document.Requery();
    value->btnAdd->click();
    ASSERT_EQ(services.boxes.size(), 3);

    struct Row {
        const char* what;
        QString actual;
        QString expected;
    };
    const TDBGrid& grid = *value->Grid;
    const Row rows[] = {
        {"caption", value->windowTitle(), QStringLiteral("Список шаблонных полей")},
        {"client size", QStringLiteral("%1x%2").arg(value->width()).arg(value->height()),
         QStringLiteral("591x396")},
        {"column 1 upper title", grid.TitleText(0, 0), QStringLiteral("Текстовое поле")},
        {"column 1 title", grid.TitleText(0, 1), QStringLiteral("Наименование")},
        {"column 2 upper title", grid.TitleText(1, 0), QStringLiteral("Текстовое поле")},
        {"column 2 title", grid.TitleText(1, 1), QStringLiteral("Текст для печати по умолчанию")},
        {"column 3 title", grid.TitleText(2, 0), QStringLiteral("№ стр.")},
        {"column fields",
         grid.Column(0).FieldName + QLatin1Char(' ') + grid.Column(1).FieldName + QLatin1Char(' ') +
             grid.Column(2).FieldName,
         QStringLiteral("VarName VarValue PageNum")},
        {"column widths",
         QStringLiteral("%1 %2 %3")
             .arg(grid.ColumnWidth(0))
             .arg(grid.ColumnWidth(1))
             .arg(grid.ColumnWidth(2)),
         QStringLiteral("185 331 41")},
        {"title colour", grid.TitleColor().name(), QStringLiteral("#000080")},
        {"font group", value->gbFont->title(), QStringLiteral("Шрифт")},
        {"font labels", GroupLabels(value->gbFont).join(QLatin1Char('/')),
         QStringLiteral("Наименование/Размер")},
        {"bold box", value->cbBold->text(), QStringLiteral("Выделенный")},
        {"underline box", value->cbUnderline->text(), QStringLiteral("Подчеркнутый")},
        {"place group", value->gbPlace->title(),
         QStringLiteral("Координаты расположения поля (мм.)")},
        {"place labels", GroupLabels(value->gbPlace).join(QLatin1Char('/')),
         QStringLiteral("Свеху/Слева/Высота/Ширина")},
        {"row height group", value->gbRows->title(), QStringLiteral("Выс строки")},
        {"add", value->btnAdd->text() + QLatin1Char('/') + value->actAdd->text(),
         QStringLiteral("Добавить/Добавить")},
        {"change", value->btnEdit->text() + QLatin1Char('/') + value->actEdit->text(),
         QStringLiteral("Изменить/Изменить")},
        {"delete", value->btnDelete->text() + QLatin1Char('/') + value->actDelete->text(),
         QStringLiteral("Удалить/Удалить")},
        {"ok", value->btnOk->text(), QStringLiteral("OK")},
        {"no page count text", services.boxes[0].text,
         QStringLiteral("Не определено колличество страниц для документа\rСчет-фактура")},
        {"no page count caption", services.boxes[0].caption, QString()},
        {"deletion question", services.boxes[1].text, QStringLiteral("Удалить выбранную запись")},
        {"deletion caption", services.boxes[1].caption, QStringLiteral("Удаление!")},
        {"no template text", services.boxes[2].text,
         QStringLiteral("Нет ни одного созданного документа")},
        {"no template caption", services.boxes[2].caption, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.actual, row.expected);
    }
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Information);
    EXPECT_EQ(services.boxes[1].icon, UiServices::Icon::Question);
    EXPECT_TRUE(value->btnOk->isDefault());
}

// Add and change refuse a template that cannot take fields, and change refuses an empty list.
TEST_F(FieldList, RefusalsAddNothingAndOpenNoEditor) {
    struct Case {
        const char* name;
        bool haveTemplate;
        QVariant pages;
        bool haveField;
        bool add;
        QString box;  // empty: nothing is shown
    };
    const QString noPages = QStringLiteral("Не определено колличество страниц для документа\rАкт");
    const Case cases[] = {
        {"add without a template", false, 1, false, true,
         QStringLiteral("Нет ни одного созданного документа")},
        {"add with a null page count", true, QVariant(), false, true, noPages},
        {"add with no pages", true, 0, true, true, noPages},
        {"change without fields", true, 2, false, false, QString()},
        {"change without fields or pages", true, QVariant(), false, false, QString()},
        {"change with a null page count", true, QVariant(), true, false, noPages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exec(QStringLiteral("DELETE FROM Values_"));
        Exec(QStringLiteral("DELETE FROM Document"));
        if (c.haveTemplate) {
            const qint64 doc = AddTemplate(QStringLiteral("Акт"), c.pages);
            if (c.haveField)
                AddField(doc, QStringLiteral("Номер"), QStringLiteral("1"));
        }
        services.boxes.clear();
        Open();
        const int before = FieldCount();
        ShowList([&] {
            EditorMustStayHidden();
            (c.add ? value->btnAdd : value->btnEdit)->click();
            QCoreApplication::processEvents();
        });
        EXPECT_EQ(FieldCount(), before);
        EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
        if (c.box.isEmpty()) {
            EXPECT_TRUE(services.boxes.isEmpty());
        } else {
            ASSERT_EQ(services.boxes.size(), 1);
            EXPECT_EQ(services.boxes[0].text, c.box);
            EXPECT_EQ(services.boxes[0].caption, QString());
        }
    }
}

TEST_F(FieldList, AddingOpensTheEditorOnANewCourierFieldOfPageOne) {
    const qint64 doc = AddTemplate(QStringLiteral("Накладная"), 2);
    AddTemplate(QStringLiteral("Другой"), 1);
    Open();
    ShowList([&] {
        WhenShown(*editor, [&] {
            EXPECT_EQ(data->Values_.State(), TDataSetState::dsInsert);
            EXPECT_EQ(data->Values_FontName.AsString(), QStringLiteral("Courier New"));
            EXPECT_EQ(data->Values_FontSize.Value(), QVariant(10));
            EXPECT_EQ(data->Values_FontBold.Value(), QVariant(false));
            EXPECT_EQ(data->Values_FontUnderline.Value(), QVariant(false));
            EXPECT_EQ(data->Values_PageNum.Value(), QVariant(1));
            EXPECT_TRUE(data->Values_VarName.IsNull());
            EXPECT_TRUE(data->Values_Left.IsNull());
            EXPECT_EQ(editor->MaxPage(), 2);
            // The list behind shows the new row's font.
            EXPECT_EQ(value->lbFontName->Caption(), QStringLiteral("Courier New"));
            EXPECT_EQ(value->lbFontSize->Caption(), QStringLiteral("10"));
            Type(editor->edName, QStringLiteral("Получатель"));
            editor->BitBtn1->click();
        });
        value->btnAdd->click();
        EXPECT_EQ(value->Grid->RowCount(), 1);
        EXPECT_EQ(value->Grid->CellText(0, 0), QStringLiteral("Получатель"));
    });
    ASSERT_EQ(FieldCount(), 1);
    const qint64 id = Scalar(QStringLiteral("SELECT Id FROM Values_")).toLongLong();
    EXPECT_EQ(Stored(QStringLiteral("Document_Id"), id).toLongLong(), doc);
    EXPECT_EQ(Stored(QStringLiteral("VarName"), id).toString(), QStringLiteral("Получатель"));
    EXPECT_EQ(Stored(QStringLiteral("FontName"), id).toString(), QStringLiteral("Courier New"));
    EXPECT_EQ(Stored(QStringLiteral("FontSize"), id).toInt(), 10);
    EXPECT_EQ(Stored(QStringLiteral("FontBold"), id).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("FontUnderline"), id).toInt(), 0);
    EXPECT_EQ(Stored(QStringLiteral("PageNum"), id).toInt(), 1);
    EXPECT_TRUE(Stored(QStringLiteral("VarValue"), id).isNull());
    EXPECT_TRUE(Stored(QStringLiteral("Left"), id).isNull());
}

TEST_F(FieldList, CancellingANewFieldAddsNothing) {
    AddTemplate(QStringLiteral("Накладная"), 1);
    Open();
    ShowList([&] {
        WhenShown(*editor, [&] {
            Type(editor->edName, QStringLiteral("Лишнее"));
            QTest::keyClick(editor->edName, Qt::Key_Escape);
        });
        value->btnAdd->click();
        EXPECT_EQ(value->Grid->RowCount(), 0);
    });
    EXPECT_EQ(FieldCount(), 0);
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
}

TEST_F(FieldList, ChangingEditsTheFieldChosenInTheGrid) {
    const qint64 doc = AddTemplate(QStringLiteral("Акт"), 3);
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"), 1);
    const qint64 second = AddField(doc, QStringLiteral("Дата"), QStringLiteral("сегодня"), 2);
    Open();
    ShowList([&] {
        QTest::keyClick(value->Grid, Qt::Key_Down);
        EXPECT_EQ(value->lbLeft->Caption(), QStringLiteral("10"));
        EXPECT_EQ(value->lbTop->Caption(), QStringLiteral("20"));
        EXPECT_EQ(value->lbHeight->Caption(), QStringLiteral("5"));
        EXPECT_EQ(value->lbWidth->Caption(), QStringLiteral("50"));
        WhenShown(*editor, [&] {
            EXPECT_EQ(data->Values_.State(), TDataSetState::dsEdit);
            EXPECT_EQ(editor->edName->toPlainText(), QStringLiteral("Дата"));
            EXPECT_EQ(editor->MaxPage(), 3);
            editor->edValue->selectAll();
            Type(editor->edValue, QStringLiteral("завтра"));
            editor->BitBtn1->click();
        });
        value->btnEdit->click();
        EXPECT_EQ(value->Grid->CellText(1, 1), QStringLiteral("завтра"));
    });
    EXPECT_EQ(Stored(QStringLiteral("VarValue"), second).toString(), QStringLiteral("завтра"));
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
}

TEST_F(FieldList, DeletingAsksFirstAndTheLastDeletionEmptiesGridAndLabels) {
    const qint64 doc = AddTemplate(QStringLiteral("Акт"), 1);
    const qint64 field = AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Exec(QStringLiteral("UPDATE Values_ SET FontBold = 1, FontUnderline = 1"));
    const qint64 listDoc = AddListDoc(doc, QStringLiteral("2024-05-01"), QStringLiteral("Первый"));
    AddValue(listDoc, field, QStringLiteral("Тверь"));
    Open();
    ShowList([&] {
        EXPECT_TRUE(value->cbBold->isChecked());
        EXPECT_TRUE(value->cbUnderline->isChecked());
        services.answers = {false};
        value->btnDelete->click();
        EXPECT_EQ(value->Grid->RowCount(), 1);

        services.answers = {true};
        value->btnDelete->click();
        EXPECT_EQ(value->Grid->RowCount(), 0);
        EXPECT_EQ(value->lbFontName->Caption(), QString());
        EXPECT_EQ(value->lbFontSize->Caption(), QString());
        EXPECT_EQ(value->lbLeft->Caption(), QString());
        EXPECT_FALSE(value->cbBold->isChecked());
        EXPECT_FALSE(value->cbUnderline->isChecked());

        // Nothing left: no question.
        value->btnDelete->click();
    });
    EXPECT_EQ(services.boxes.size(), 2);
    EXPECT_EQ(FieldCount(), 0);
    // The value of a document for printing stays.
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM HistoryValue")).toInt(), 1);
}

TEST_F(FieldList, TheCheckBoxesCannotBeChanged) {
    const qint64 doc = AddTemplate(QStringLiteral("Акт"), 1);
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Open();
    ShowList([&] {
        QTest::mouseClick(value->cbBold, Qt::LeftButton);
        EXPECT_FALSE(value->cbBold->isChecked());
        EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    });
    EXPECT_EQ(Scalar(QStringLiteral("SELECT FontBold FROM Values_")).toInt(), 0);
}

TEST_F(FieldList, TheRowHeightBoxStepsFromOneToTenAndSetsTheLinesPerRow) {
    const qint64 doc = AddTemplate(QStringLiteral("Акт"), 1);
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Open();
    ShowList([&] {
        EXPECT_EQ(value->SpinEdit->Value(), 4);
        EXPECT_EQ(value->Grid->RowLines(), 4);
        value->SpinEdit->setFocus();
        Type(value->SpinEdit, QStringLiteral("7"));  // typing is off
        EXPECT_EQ(value->SpinEdit->Value(), 4);
        QTest::keyClick(value->SpinEdit, Qt::Key_Up);
        EXPECT_EQ(value->Grid->RowLines(), 5);
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(value->SpinEdit, Qt::Key_Up);
        EXPECT_EQ(value->SpinEdit->Value(), 10);
        EXPECT_EQ(value->Grid->RowLines(), 10);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(value->SpinEdit, Qt::Key_Down);
        EXPECT_EQ(value->SpinEdit->Value(), 1);
        EXPECT_EQ(value->Grid->RowLines(), 1);
    });
}

TEST_F(FieldList, KeyboardTabOrderAndEnterForOk) {
    const qint64 doc = AddTemplate(QStringLiteral("Акт"), 1);
    AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"));
    Open();
    std::vector<QWidget*> order;
    WhenShown(*value, [&] {
        order.push_back(QApplication::focusWidget());
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(QApplication::focusWidget());
        }
        value->Grid->setFocus();
        QTest::keyClick(value->Grid, Qt::Key_Return);  // the grid passes Enter to "OK"
    });
    EXPECT_EQ(value->ShowModal(), 1);
    const std::vector<QWidget*> expected = {value->Grid,    value->SpinEdit,  value->btnAdd,
                                            value->btnEdit, value->btnDelete, value->btnLayout,
                                            value->btnOk};
    EXPECT_EQ(order, expected);

    // The close box (the window manager's close, or Escape) closes it too.
    WhenShown(*value, [&] { value->close(); });
    value->ShowModal();
    EXPECT_FALSE(value->isVisible());
}

TEST_F(FieldList, Screenshot) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("/tmp/values")));
    const qint64 doc = AddTemplate(QStringLiteral("Счет-фактура"), 2);
    const qint64 first = AddField(doc, QStringLiteral("Покупатель"),
                                  QStringLiteral("ООО \"Ромашка\"\nг. Москва, ул. Ленина, 1"), 1);
    AddField(doc, QStringLiteral("Дата"), QStringLiteral("01.06.2024"), 1);
    AddField(doc, QStringLiteral("Итого"), QStringLiteral("1 000,00"), 2);
    Exec(QStringLiteral("UPDATE Values_ SET FontBold = 1 WHERE Id = ?"), {first});
    Open();
    ShowList([&] {
        const QImage shot = value->grab().toImage();
        EXPECT_EQ(shot.size(), QSize(591, 396));
        EXPECT_TRUE(shot.save(QStringLiteral("/tmp/values/fValue.png")));
        // As the window system shows it: painted into the window's backing store.
        QTest::qWait(50);
        EXPECT_TRUE(value->screen()
                        ->grabWindow(value->winId())
                        .save(QStringLiteral("/tmp/values/fValue-screen.png")));
    });
}

}  // namespace
