#include "HelpWindow.h"
#include "QtUiServices.h"
#include "Quillbox.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFontDialog>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

namespace {

// Runs `look` on the next message box once it is open, then closes it with `button`.
void OnNextBox(std::function<void(QMessageBox&)> look, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [look, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(*box);
        box->button(button)->click();
    });
}

class UiServicesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallRussian(); }
    QtUiServices services;
};

TEST_F(UiServicesTest, QuestionOffersDaAndNet) {
    QStringList texts;
    bool modal = false;
    OnNextBox(
        [&](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                texts << b->text().remove(QLatin1Char('&'));
            modal = box.windowModality() == Qt::ApplicationModal;
        },
        QMessageBox::Yes);
    EXPECT_TRUE(services.Question(QStringLiteral("Удалить?"), QStringLiteral("Вопрос")));
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
    EXPECT_TRUE(modal);

    OnNextBox([](QMessageBox&) {}, QMessageBox::No);
    EXPECT_FALSE(services.Question(QStringLiteral("Удалить?"), QStringLiteral("Вопрос")));
}

TEST_F(UiServicesTest, RussianConventionsWhateverTheSystemSays) {
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat),
              QStringLiteral("07.03.2026"));
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 1).remove(QChar(0xA0)).remove(QLatin1Char(' ')),
              QStringLiteral("1234,5"));
}

TEST_F(UiServicesTest, MessageBreaksLinesAtCarriageReturnsAndKeepsAnEmptyCaption) {
    QString text, title;
    QMessageBox::Icon icon{};
    OnNextBox(
        [&](QMessageBox& box) {
            text = box.text();
            title = box.windowTitle();
            icon = box.icon();
        },
        QMessageBox::Ok);
    services.Message(QStringLiteral("первая\rвторая"), QString(), UiServices::Icon::Information);
    EXPECT_EQ(text, QStringLiteral("первая\nвторая"));
    EXPECT_EQ(title, QString());
    EXPECT_EQ(icon, QMessageBox::Information);
}

TEST_F(UiServicesTest, HelpShowsTheTopicOfTheFileInTheWorkingFolder) {
    TempDir dir;
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(QB_HELP_FILE), dir.file(QStringLiteral("Quillbox.hlp"))));
    services.HelpTopic(QStringLiteral("Quillbox.hlp"), 2);
    HelpWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w))
            window = h;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Browser().toPlainText().contains(QStringLiteral("О программе")));
    EXPECT_TRUE(window->Browser().source().toLocalFile().endsWith(QStringLiteral("Quillbox.hlp")));
    services.HelpContents(QStringLiteral("Quillbox.hlp"));
    EXPECT_TRUE(window->isVisible());
    window->hide();
}

TEST_F(UiServicesTest, FontDialogStartsFromTheGivenFontAndKeepsItOnCancel) {
    QFont font(QStringLiteral("Liberation Mono"), 8);
    QString family;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        family = dialog->currentFont().family();
        dialog->reject();
    });
    EXPECT_FALSE(services.ChooseFont(font));
    EXPECT_EQ(family, QStringLiteral("Liberation Mono"));
    EXPECT_EQ(font.pointSize(), 8);
}

TEST_F(UiServicesTest, AMissingHelpFileIsReported) {
    TempDir dir;
    QString text;
    OnNextBox([&](QMessageBox& box) { text = box.text(); }, QMessageBox::Ok);
    services.HelpContents(QStringLiteral("Quillbox.hlp"));
    EXPECT_EQ(text, QStringLiteral("Не найден файл справки Quillbox.hlp"));
}

TEST_F(UiServicesTest, MessageBoxByClassicFlags) {
    struct Row {
        int flags;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;  // NoButton: Escape
        int answer;
    };
    const Row rows[] = {
        {0, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, 1},
        {1 + 16, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Critical,
         QMessageBox::NoButton, 2},
        {4 + 32, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::Yes, 6},
        {4 + 48, QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning, QMessageBox::NoButton,
         7},
        {3 + 64, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Information,
         QMessageBox::No, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flags);
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon{};
        QString title;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            buttons = box->standardButtons();
            icon = box->icon();
            title = box->windowTitle();
            if (r.press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(r.press)->click();
        });
        EXPECT_EQ(
            services.MessageBox(QStringLiteral("Текст"), QStringLiteral("Заголовок"), r.flags),
            r.answer);
        EXPECT_EQ(buttons, r.buttons);
        EXPECT_EQ(icon, r.icon);
        EXPECT_EQ(title, QStringLiteral("Заголовок"));
    }
}

TEST_F(UiServicesTest, InputBoxGivesTheTextOrItsDefaultOnCancel) {
    QString prompt;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        prompt = dialog->labelText();
        EXPECT_EQ(dialog->textValue(), QStringLiteral("Иван"));
        dialog->setTextValue(QStringLiteral("Пётр"));
        dialog->accept();
    });
    EXPECT_EQ(services.InputBox(QString(), QStringLiteral("Имя?"), QStringLiteral("Иван")),
              QStringLiteral("Пётр"));
    EXPECT_EQ(prompt, QStringLiteral("Имя?"));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("Пётр"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(services.InputBox(QString(), QStringLiteral("Имя?"), QStringLiteral("Иван")),
              QStringLiteral("Иван"));
}

}  // namespace
