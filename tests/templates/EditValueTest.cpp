#include "DBEditors.h"
#include "DBSpinEdit.h"
#include "DataFixture.h"
#include "EditValue.h"
#include "Labels.h"
#include "Value.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QStringList GroupLabels(const QGroupBox* group) {
    QStringList texts;
    for (const QLabel* label : group->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QFont Font(const QString& family, int points, bool bold, bool italic, bool underline) {
    QFont font(family, points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

// A template of two pages with two fields; the field editor opened on one of them as the
// main window's "Параметры поля" and the field list open it.
class FieldEditor : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        doc = AddTemplate(QStringLiteral("Накладная"), 2);
        field = AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"), 1);
        AddField(doc, QStringLiteral("Итог"), QStringLiteral("0"), 2);
        Exec(QStringLiteral("UPDATE Values_ SET FontName = NULL WHERE Id <> ?"), {field});
        OpenModule();
        editor = std::make_unique<TfEditValue>(frame, *data, windows);
        windows.fEditValue = editor.get();
    }

    // Opens the editor on the field with this Id, in edit state; `inside` runs while it is open
    // and must close it.
    int EditField(qint64 id, const std::function<void()>& inside) {
        EXPECT_TRUE(data->Values_.LocateRow(QStringLiteral("Id"), {id}));
        editor->SetMaxPage(data->DocumentPageCount.AsInteger());
        data->Values_.Edit();
        return Run(inside);
    }

    int Run(const std::function<void()>& inside) {
        QTimer::singleShot(0, editor.get(), [&] {
            if (!editor->isVisible()) {
                ADD_FAILURE() << "the field editor is not shown";
                return;
            }
            QApplication::setActiveWindow(editor.get());
            inside();
            if (editor->isVisible()) {
                ADD_FAILURE() << "the field editor is still open";
                editor->done(0);
            }
        });
        return editor->ShowModal();
    }

    QVariant Stored(const QString& column, qint64 id) {
        return Scalar(
            QStringLiteral("SELECT \"%1\" FROM Values_ WHERE Id = %2").arg(column).arg(id));
    }
    qint64 Other() {
        return Scalar(QStringLiteral("SELECT Id FROM Values_ WHERE Id <> %1").arg(field))
            .toLongLong();
    }

    qint64 doc{0};
    qint64 field{0};
    TemplateWindows windows;
    std::unique_ptr<TfEditValue> editor;
};

TEST_F(FieldEditor, TextsAndSizesAreTheSystemsOwn) {
    // The standard error box of a refused row.
    EditField(field, [&] {
        editor->edName->selectAll();
        Type(editor->edName, QString(101, QLatin1Char('x')));
        editor->BitBtn1->click();
        editor->BitBtn2->click();
    });
    ASSERT_EQ(services.boxes.size(), 1);

    struct Row {
        const char* what;
        QString actual;
        QString expected;
    };
    const Row rows[] = {
        {"caption", editor->windowTitle(), QStringLiteral("Редактирование текстового поля")},
        {"client size", QStringLiteral("%1x%2").arg(editor->width()).arg(editor->height()),
         QStringLiteral("563x319")},
        {"field group", editor->gbText->title(), QStringLiteral("Текстовое поле")},
        {"field labels", GroupLabels(editor->gbText).join(QLatin1Char('/')),
         QStringLiteral("Наименование/Текст для печати по умолчанию/Номер страницы на которой "
                        "будет печататься текст/Всего страниц")},
        {"font group", editor->gbFont->title(), QStringLiteral("Шрифт")},
        {"font labels", GroupLabels(editor->gbFont).join(QLatin1Char('/')),
         QStringLiteral("Наименование/Размер")},
        {"bold box", editor->cbBold->text(), QStringLiteral("Выделенный")},
        {"underline box", editor->cbUnderline->text(), QStringLiteral("Подчеркнутый")},
        {"font button hint", editor->TBItem1->toolTip(), QStringLiteral("Выбор шрифта")},
        {"place group", editor->gbPlace->title(),
         QStringLiteral("Координаты расположения поля (мм.)")},
        {"place labels", GroupLabels(editor->gbPlace).join(QLatin1Char('/')),
         QStringLiteral("Свеху/Слева/Высота/Ширина")},
        {"ok", editor->BitBtn1->text(), QStringLiteral("OK")},
        {"cancel", editor->BitBtn2->text(), QStringLiteral("Отмена")},
        {"error box caption", services.boxes[0].caption, QStringLiteral("Formwright")},
        {"page count is bold",
         editor->lbPageCount->font().bold() ? QStringLiteral("bold") : QStringLiteral("regular"),
         QStringLiteral("bold")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.actual, row.expected);
    }
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_TRUE(services.boxes[0].text.endsWith(QLatin1Char('.')));
    EXPECT_FALSE(editor->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(FieldEditor, EditorsShowTheFieldAndStoreWhatWasTyped) {
    const int result = EditField(field, [&] {
        EXPECT_EQ(editor->edName->toPlainText(), QStringLiteral("Адрес"));
        EXPECT_EQ(editor->edValue->toPlainText(), QStringLiteral("Москва"));
        EXPECT_EQ(editor->SpinEdit->text(), QStringLiteral("1"));
        EXPECT_EQ(editor->lbPageCount->Caption(), QStringLiteral("2"));
        EXPECT_EQ(editor->lbFontName->Caption(), QStringLiteral("Courier New"));
        EXPECT_EQ(editor->lbFontSize->Caption(), QStringLiteral("10"));
        EXPECT_EQ(editor->edLeft->text(), QStringLiteral("10"));
        EXPECT_EQ(editor->edTop->text(), QStringLiteral("20"));

        // Enter starts a new line in both texts.
        QTest::keyClick(editor->edName, Qt::Key_End);
        QTest::keyClick(editor->edName, Qt::Key_Return);
        Type(editor->edName, QStringLiteral("доставки"));
        editor->edValue->setFocus();
        QTest::keyClick(editor->edValue, Qt::Key_End);
        QTest::keyClick(editor->edValue, Qt::Key_Return);
        Type(editor->edValue, QStringLiteral("Тверская, 7"));
        EXPECT_TRUE(editor->isVisible());

        // Any integer, a negative one too, is taken as typed.
        editor->edLeft->setFocus();
        editor->edLeft->selectAll();
        Type(editor->edLeft, QStringLiteral("-15"));
        editor->edHeight->setFocus();
        editor->edHeight->selectAll();
        Type(editor->edHeight, QStringLiteral("120"));
        QTest::keyClick(editor->edHeight, Qt::Key_Up);
        editor->BitBtn1->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Stored(QStringLiteral("VarName"), field).toString(),
              QStringLiteral("Адрес\nдоставки"));
    EXPECT_EQ(Stored(QStringLiteral("VarValue"), field).toString(),
              QStringLiteral("Москва\nТверская, 7"));
    EXPECT_EQ(Stored(QStringLiteral("Left"), field).toInt(), -15);
    EXPECT_EQ(Stored(QStringLiteral("Height"), field).toInt(), 121);
    EXPECT_EQ(Stored(QStringLiteral("Top"), field).toInt(), 20);
}

TEST_F(FieldEditor, ThePageBoxOffersOnlyTheTemplatesPages) {
    EditField(field, [&] {
        editor->SpinEdit->setFocus();
        EXPECT_EQ(editor->SpinEdit->selectedText(), QString());  // not selected on entry
        Type(editor->SpinEdit, QStringLiteral("5"));             // typing is off
        EXPECT_EQ(editor->SpinEdit->text(), QStringLiteral("1"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(editor->SpinEdit, Qt::Key_Up);
        EXPECT_EQ(editor->SpinEdit->text(), QStringLiteral("2"));
        editor->BitBtn1->click();
    });
    EXPECT_EQ(Stored(QStringLiteral("PageNum"), field).toInt(), 2);

    EditField(field, [&] {
        editor->SpinEdit->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(editor->SpinEdit, Qt::Key_Down);
        EXPECT_EQ(editor->SpinEdit->text(), QStringLiteral("1"));
        editor->BitBtn1->click();
    });
    EXPECT_EQ(Stored(QStringLiteral("PageNum"), field).toInt(), 1);

    // The maximum follows the caller; a template without pages still offers page 1.
    editor->SetMaxPage(5);
    EXPECT_EQ(editor->MaxPage(), 5);
    editor->SetMaxPage(0);
    EXPECT_EQ(editor->MaxPage(), 1);
}

TEST_F(FieldEditor, TheFontDialogStartsFromTheFieldsFontAndStoresBoldUnderlineFaceAndSize) {
    struct Case {
        const char* name;
        QFont answer;
        bool bold;
        bool underline;
    };
    const Case cases[] = {
        {"bold italic stores bold only",
         Font(QStringLiteral("Liberation Serif"), 14, true, true, false), true, false},
        {"underline", Font(QStringLiteral("Liberation Sans"), 9, false, false, true), false, true},
        {"regular", Font(QStringLiteral("DejaVu Sans"), 12, false, true, false), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exec(QStringLiteral("UPDATE Values_ SET FontName = 'Courier New', FontSize = 10, "
                            "FontBold = 1, FontUnderline = 1 WHERE Id = ?"),
             {field});
        data->Values_.Requery();
        services.fontsAsked.clear();
        services.fontAnswers = {c.answer};
        EditField(field, [&] {
            editor->TBItem1->click();
            EXPECT_EQ(editor->lbFontName->Caption(), c.answer.family());
            EXPECT_EQ(editor->cbBold->isChecked(), c.bold);
            editor->BitBtn1->click();
        });
        ASSERT_EQ(services.fontsAsked.size(), 1);
        const QFont& asked = services.fontsAsked[0];
        EXPECT_EQ(asked.family(), QStringLiteral("Courier New"));
        EXPECT_EQ(asked.pointSize(), 10);
        EXPECT_TRUE(asked.bold());
        EXPECT_TRUE(asked.underline());
        EXPECT_FALSE(asked.italic());
        EXPECT_EQ(Stored(QStringLiteral("FontName"), field).toString(), c.answer.family());
        EXPECT_EQ(Stored(QStringLiteral("FontSize"), field).toInt(), c.answer.pointSize());
        EXPECT_EQ(Stored(QStringLiteral("FontBold"), field).toBool(), c.bold);
        EXPECT_EQ(Stored(QStringLiteral("FontUnderline"), field).toBool(), c.underline);
    }
}

TEST_F(FieldEditor, AFieldWithoutAFontStartsFromMsSansSerifThenFromTheLastChoice) {
    const qint64 other = Other();
    const QFont chosen = Font(QStringLiteral("Liberation Mono"), 11, false, false, false);
    services.fontAnswers = {chosen};
    EditField(other, [&] {
        editor->TBItem1->click();  // chosen
        editor->TBItem1->click();  // cancelled in the dialog: nothing changes
        EXPECT_EQ(editor->lbFontName->Caption(), QStringLiteral("Liberation Mono"));
        editor->BitBtn2->click();
    });
    ASSERT_EQ(services.fontsAsked.size(), 2);
    EXPECT_EQ(services.fontsAsked[0].family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(services.fontsAsked[0].pointSize(), 8);
    EXPECT_FALSE(services.fontsAsked[0].bold());
    EXPECT_FALSE(services.fontsAsked[0].italic());
    EXPECT_FALSE(services.fontsAsked[0].underline());
    // The field's own font (now Liberation Mono) is what the second opening starts from.
    EXPECT_EQ(services.fontsAsked[1].family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(Stored(QStringLiteral("FontName"), other).isNull());  // "Отмена" discarded it

    // Opened again on the field without a font: the dialog keeps the last choice.
    EditField(other, [&] {
        editor->TBItem1->click();
        editor->BitBtn2->click();
    });
    ASSERT_EQ(services.fontsAsked.size(), 3);
    EXPECT_EQ(services.fontsAsked[2].family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(services.fontsAsked[2].pointSize(), 11);
}

// Every way out but "OK" discards every change, the font choice included.
TEST_F(FieldEditor, CancelDiscardsEverything) {
    struct Case {
        const char* name;
        std::function<void(TfEditValue&)> leave;
    };
    const Case cases[] = {
        {"Escape in the name",
         [](TfEditValue& e) {
             e.edName->setFocus();
             QTest::keyClick(e.edName, Qt::Key_Escape);
         }},
        {"the Отмена button", [](TfEditValue& e) { e.BitBtn2->click(); }},
        {"Escape in the page box",
         [](TfEditValue& e) {
             e.SpinEdit->setFocus();
             QTest::keyClick(e.SpinEdit, Qt::Key_Escape);
         }},
        {"Escape in the left position box",
         [](TfEditValue& e) {
             e.edLeft->setFocus();
             QTest::keyClick(e.edLeft, Qt::Key_Escape);
         }},
        {"Escape on the font button",
         [](TfEditValue& e) {
             e.TBItem1->setFocus();
             QTest::keyClick(e.TBItem1, Qt::Key_Escape);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.fontAnswers = {Font(QStringLiteral("Liberation Serif"), 20, true, false, true)};
        const int result = EditField(field, [&] {
            editor->edName->selectAll();
            Type(editor->edName, QStringLiteral("Другое"));
            editor->edValue->setFocus();
            editor->edValue->selectAll();
            Type(editor->edValue, QStringLiteral("Текст"));
            editor->SpinEdit->setFocus();
            QTest::keyClick(editor->SpinEdit, Qt::Key_Up);
            editor->edWidth->setFocus();
            editor->edWidth->selectAll();
            Type(editor->edWidth, QStringLiteral("99"));
            editor->TBItem1->click();
            c.leave(*editor);
        });
        EXPECT_EQ(result, 2);
        EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(data->Values_VarName.AsString(), QStringLiteral("Адрес"));
        EXPECT_EQ(editor->edName->toPlainText(), QStringLiteral("Адрес"));
        EXPECT_EQ(Stored(QStringLiteral("VarName"), field).toString(), QStringLiteral("Адрес"));
        EXPECT_EQ(Stored(QStringLiteral("VarValue"), field).toString(), QStringLiteral("Москва"));
        EXPECT_EQ(Stored(QStringLiteral("PageNum"), field).toInt(), 1);
        EXPECT_EQ(Stored(QStringLiteral("Width"), field).toInt(), 50);
        EXPECT_EQ(Stored(QStringLiteral("FontName"), field).toString(),
                  QStringLiteral("Courier New"));
        EXPECT_EQ(Stored(QStringLiteral("FontSize"), field).toInt(), 10);
        EXPECT_EQ(Stored(QStringLiteral("FontBold"), field).toInt(), 0);
        EXPECT_EQ(Stored(QStringLiteral("FontUnderline"), field).toInt(), 0);
    }
}

TEST_F(FieldEditor, ARefusedRowKeepsTheEditorOpenWithTheInputToCorrectOrCancel) {
    const QString tooLong(101, QChar(0x0416));
    EditField(field, [&] {
        editor->edName->selectAll();
        Type(editor->edName, tooLong);
        editor->BitBtn1->click();
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
        EXPECT_FALSE(services.boxes[0].text.isEmpty());
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(data->Values_.State(), TDataSetState::dsEdit);
        EXPECT_EQ(editor->edName->toPlainText(), tooLong);

        // Corrected, it is stored.
        editor->edName->setFocus();
        editor->edName->selectAll();
        Type(editor->edName, QStringLiteral("Короткое"));
        editor->BitBtn1->click();
    });
    EXPECT_EQ(Stored(QStringLiteral("VarName"), field).toString(), QStringLiteral("Короткое"));

    // Or cancelled: nothing is stored.
    services.boxes.clear();
    const int result = EditField(field, [&] {
        editor->edName->selectAll();
        Type(editor->edName, tooLong);
        editor->BitBtn1->click();
        EXPECT_TRUE(editor->isVisible());
        QTest::keyClick(editor->edName, Qt::Key_Escape);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Stored(QStringLiteral("VarName"), field).toString(), QStringLiteral("Короткое"));
}

TEST_F(FieldEditor, TabOrderRunsThroughTheEditorsToTheButtons) {
    std::vector<QWidget*> order;
    EditField(field, [&] {
        order.push_back(QApplication::focusWidget());
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(QApplication::focusWidget());
        }
        editor->BitBtn2->click();
    });
    const std::vector<QWidget*> expected = {
        editor->edName, editor->edValue,  editor->SpinEdit, editor->TBItem1, editor->edTop,
        editor->edLeft, editor->edHeight, editor->edWidth,  editor->BitBtn1, editor->BitBtn2};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(Stored(QStringLiteral("VarName"), field).toString(), QStringLiteral("Адрес"));
}

TEST_F(FieldEditor, ANewFieldFromTheFieldListIsStoredWithTheChosenFont) {
    TfValue list(frame, *data, windows);
    windows.fValue = &list;
    services.fontAnswers = {Font(QStringLiteral("Liberation Sans"), 12, true, false, false)};
    QTimer::singleShot(0, &list, [&] {
        QTimer::singleShot(0, editor.get(), [&] {
            ASSERT_TRUE(editor->isVisible());
            Type(editor->edName, QStringLiteral("Подпись"));
            editor->TBItem1->click();
            editor->BitBtn1->click();
        });
        list.btnAdd->click();
        EXPECT_FALSE(editor->isVisible());
        list.btnOk->click();
    });
    list.ShowModal();
    ASSERT_EQ(services.fontsAsked.size(), 1);
    EXPECT_EQ(services.fontsAsked[0].family(), QStringLiteral("Courier New"));
    EXPECT_EQ(services.fontsAsked[0].pointSize(), 10);
    const QVariant id = Scalar(QStringLiteral("SELECT Id FROM Values_ WHERE VarName = 'Подпись'"));
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(Stored(QStringLiteral("FontName"), id.toLongLong()).toString(),
              QStringLiteral("Liberation Sans"));
    EXPECT_EQ(Stored(QStringLiteral("FontSize"), id.toLongLong()).toInt(), 12);
    EXPECT_EQ(Stored(QStringLiteral("FontBold"), id.toLongLong()).toInt(), 1);
    EXPECT_EQ(Stored(QStringLiteral("PageNum"), id.toLongLong()).toInt(), 1);
}

TEST_F(FieldEditor, Screenshot) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("/tmp/values")));
    Exec(QStringLiteral("UPDATE Values_ SET FontBold = 1, VarValue = ? WHERE Id = ?"),
         {QStringLiteral("г. Москва,\nул. Тверская, д. 7"), field});
    data->Values_.Requery();
    EditField(field, [&] {
        const QImage shot = editor->grab().toImage();
        EXPECT_EQ(shot.size(), QSize(563, 319));
        EXPECT_TRUE(shot.save(QStringLiteral("/tmp/values/fEditValue.png")));
        // As the window system shows it: painted into the window's backing store.
        QTest::qWait(50);
        EXPECT_TRUE(editor->screen()
                        ->grabWindow(editor->winId())
                        .save(QStringLiteral("/tmp/values/fEditValue-screen.png")));
        editor->BitBtn2->click();
    });
}

}  // namespace
