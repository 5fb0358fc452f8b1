#include "DataFixture.h"
#include "EditValue.h"
#include "QtUiServices.h"
#include "Quillbox.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// The field editor on a field of the test's database, with the real font dialog.
class RealFontDialog : public DataFixture {
protected:
    // Qt's texts in Russian, as in the program: the dialog's style names are translated.
    static void SetUpTestSuite() { InstallRussian(); }

    void SetUp() override {
        DataFixture::SetUp();
        doc = AddTemplate(QStringLiteral("Бланк"), 1);
        field = AddField(doc, QStringLiteral("Адрес"), QStringLiteral("Москва"), 1);
        OpenModule();
        editor = std::make_unique<TfEditValue>(realFrame, *data, windows);
    }

    void SetFont(const QString& name, int size, bool bold, bool underline) {
        Exec(QStringLiteral("UPDATE Values_ SET FontName = ?, FontSize = ?, FontBold = ?, "
                            "FontUnderline = ? WHERE Id = ?"),
             {name, size, bold, underline, field});
    }

    QVariant Stored(const char* column) {
        return Scalar(QStringLiteral("SELECT \"%1\" FROM Values_ WHERE Id = %2")
                          .arg(QLatin1String(column))
                          .arg(field));
    }
    std::string StoredName() { return Stored("FontName").toString().toStdString(); }

    // Opens the dialog from the editor's font button on the field, in edit state; `inside` sees
    // the dialog as it opened and may change it; then OK (or Cancel) closes it and "OK" stores
    // the row.
    void ChooseInDialog(const std::function<void(QFontDialog&)>& inside, bool ok = true) {
        data->Values_.Requery();
        ASSERT_TRUE(data->Values_.LocateRow(QStringLiteral("Id"), {field}));
        data->Values_.Edit();
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the font dialog is not open";
            opened = true;
            inside(*dialog);
            if (ok)
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            else
                dialog->reject();
        });
        editor->TBItem1Click();
        EXPECT_TRUE(opened);
        data->Values_.Post();
    }

    QtUiServices real;
    AppFrame realFrame{real};
    qint64 doc{0};
    qint64 field{0};
    TemplateWindows windows;
    std::unique_ptr<TfEditValue> editor;
};

TEST_F(RealFontDialog, OpensOnTheStoredFontAndOkWithoutChangesKeepsIt) {
    struct Case {
        const char* name;
        QString face;
        int size;
        bool bold;
        bool underline;
        QString shown;  // the face the dialog shows: the installed one or its substitute
    };
    const Case cases[] = {
        {"missing face, bold", QStringLiteral("Times New Roman"), 12, true, false,
         QStringLiteral("Liberation Serif")},
        {"installed face, bold", QStringLiteral("Liberation Serif"), 12, true, false,
         QStringLiteral("Liberation Serif")},
        {"missing face, underlined", QStringLiteral("Courier New"), 10, false, true,
         QStringLiteral("Liberation Mono")},
        {"installed face, regular", QStringLiteral("DejaVu Sans"), 9, false, false,
         QStringLiteral("DejaVu Sans")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFont(c.face, c.size, c.bold, c.underline);
        QFont shown;
        ChooseInDialog([&](QFontDialog& dialog) { shown = dialog.currentFont(); });
        EXPECT_EQ(shown.family().toStdString(), c.shown.toStdString());
        EXPECT_EQ(shown.pointSize(), c.size);
        EXPECT_EQ(shown.bold(), c.bold);
        EXPECT_EQ(shown.underline(), c.underline);
        EXPECT_FALSE(shown.italic());
        EXPECT_EQ(StoredName(), c.face.toStdString());
        EXPECT_EQ(Stored("FontSize").toInt(), c.size);
        EXPECT_EQ(Stored("FontBold").toBool(), c.bold);
        EXPECT_EQ(Stored("FontUnderline").toBool(), c.underline);
    }
}

TEST_F(RealFontDialog, WhatTheUserChangesIsStored) {
    SetFont(QStringLiteral("Times New Roman"), 12, true, false);
    // Another size of the substitute: the face the user saw stays the stored one.
    ChooseInDialog([](QFontDialog& dialog) {
        QFont font = dialog.currentFont();
        font.setPointSize(14);
        dialog.setCurrentFont(font);
    });
    EXPECT_EQ(StoredName(), "Times New Roman");
    EXPECT_EQ(Stored("FontSize").toInt(), 14);
    EXPECT_TRUE(Stored("FontBold").toBool());

    // Another face, not bold, underlined.
    ChooseInDialog([](QFontDialog& dialog) {
        QFont font(QStringLiteral("DejaVu Sans"), 11);
        font.setUnderline(true);
        dialog.setCurrentFont(font);
    });
    EXPECT_EQ(StoredName(), "DejaVu Sans");
    EXPECT_EQ(Stored("FontSize").toInt(), 11);
    EXPECT_FALSE(Stored("FontBold").toBool());
    EXPECT_TRUE(Stored("FontUnderline").toBool());

    // Cancel stores nothing.
    ChooseInDialog(
        [](QFontDialog& dialog) {
            dialog.setCurrentFont(QFont(QStringLiteral("Liberation Mono"), 20));
        },
        false);
    EXPECT_EQ(StoredName(), "DejaVu Sans");
    EXPECT_EQ(Stored("FontSize").toInt(), 11);
}

}  // namespace
