#include "DBEditors.h"
#include "DataFixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Types text as key presses carrying their characters (QTest takes only ASCII).
void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

class DBEditors : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        const qint64 doc = AddTemplate(QStringLiteral("Первый"));
        AddTemplate(QStringLiteral("Второй"));
        const qint64 bold = AddField(doc, QStringLiteral("Адрес"), QStringLiteral("ул. Ленина"));
        AddField(doc, QStringLiteral("Имя"), QStringLiteral("Иван"));
        Exec(QStringLiteral("UPDATE Values_ SET FontBold = 1 WHERE Id = ?"), {bold});
        AddListDoc(doc, QStringLiteral("2024-03-05"), QStringLiteral("Без значений"));
        OpenModule();
        layout = new QVBoxLayout(&window);
        layout->addWidget(other);
        window.resize(400, 300);
    }

    // Puts the control in the window, shows the window and focuses the control.
    template <class Control>
    Control* Place(Control* control) {
        layout->addWidget(control);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        control->setFocus();
        EXPECT_TRUE(control->hasFocus());
        return control;
    }

    void Leave() {
        other->setFocus();
        QCoreApplication::processEvents();
    }

    QString StoredName(int id) {
        return Scalar(QStringLiteral("SELECT Name FROM Document WHERE Id = %1").arg(id)).toString();
    }

    QWidget window;
    QVBoxLayout* layout{nullptr};
    QLineEdit* other{new QLineEdit};
    QStringList errors;
};

TEST_F(DBEditors, TypingEditsThePostWritesACancelShowsTheStoredValue) {
    auto* edit = new TDBEdit;
    edit->SetDataSource(&data->dsDocument);
    edit->SetDataField(QStringLiteral("Name"));
    Place(edit);
    EXPECT_EQ(edit->text(), QStringLiteral("Первый"));
    EXPECT_FALSE(edit->ReadOnly());

    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);
    Type(edit, QStringLiteral(" лист"));
    EXPECT_EQ(data->Document.State(), TDataSetState::dsEdit);
    EXPECT_EQ(data->DocumentName.AsString(), QStringLiteral("Первый"));  // still pending
    data->Document.Post();
    EXPECT_EQ(StoredName(1), QStringLiteral("Первый лист"));
    EXPECT_EQ(edit->text(), QStringLiteral("Первый лист"));

    Type(edit, QStringLiteral("!!"));
    data->Document.Cancel();
    EXPECT_EQ(edit->text(), QStringLiteral("Первый лист"));
    data->Document.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("Второй"));
    EXPECT_EQ(StoredName(1), QStringLiteral("Первый лист"));
}

TEST_F(DBEditors, LeavingWritesIntoTheRowAndMovingAwayStoresIt) {
    auto* edit = Place(new TDBEdit);
    edit->SetDataSource(&data->dsDocument);
    edit->SetDataField(QStringLiteral("Name"));
    edit->selectAll();
    Type(edit, QStringLiteral("Новое"));
    Leave();
    EXPECT_EQ(data->DocumentName.AsString(), QStringLiteral("Новое"));
    EXPECT_TRUE(data->Document.Modified());
    EXPECT_EQ(StoredName(1), QStringLiteral("Первый"));
    data->Document.Next();
    EXPECT_EQ(StoredName(1), QStringLiteral("Новое"));
}

TEST_F(DBEditors, TheFieldSizeLimitsTheLength) {
    auto* edit = Place(new TDBEdit);
    edit->SetDataSource(&data->dsDocument);
    edit->SetDataField(QStringLiteral("Name"));
    EXPECT_EQ(edit->maxLength(), 100);
    edit->selectAll();
    Type(edit, QString(120, QChar(0x0416)));  // "Ж"
    EXPECT_EQ(edit->text(), QString(100, QChar(0x0416)));
    data->Document.Post();
    EXPECT_EQ(StoredName(1), QString(100, QChar(0x0416)));

    // A column without a size has no limit of its own.
    edit->SetDataField(QStringLiteral("PageCount"));
    EXPECT_EQ(edit->maxLength(), 32767);
}

TEST_F(DBEditors, TheMemoTakesEnterAsALineBreakOrSignalsIt) {
    auto* memo = Place(new TDBMemo);
    memo->SetDataSource(&data->dsValues_);
    memo->SetDataField(QStringLiteral("VarValue"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("ул. Ленина"));
    QSignalSpy enters(memo, &TDBMemo::EnterPressed);

    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    Type(memo, QStringLiteral("д. 5"));
    EXPECT_EQ(enters.count(), 0);
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsEdit);
    data->Values_.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT VarValue FROM Values_ WHERE Id = 1")).toString(),
              QStringLiteral("ул. Ленина\nд. 5"));

    memo->SetWantReturns(false);
    data->Values_.First();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("ул. Ленина\nд. 5"));
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);

    QSignalSpy escapes(memo, &TDBMemo::EscapePressed);
    QSignalSpy exits(memo, &TDBMemo::Exited);
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_EQ(escapes.count(), 1);
    Leave();
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(DBEditors, TypingIntoAnEmptyViewStartsANewRowAndKeepsTheText) {
    auto* memo = Place(new TDBMemo);
    memo->SetDataSource(&data->dsHistoryValue);
    memo->SetDataField(QStringLiteral("Value"));
    ASSERT_TRUE(data->HistoryValue.IsEmpty());
    Type(memo, QStringLiteral("абв"));
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsInsert);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("абв"));
    data->HistoryValue.Post();
    EXPECT_EQ(
        Scalar(QStringLiteral("SELECT Value || '/' || ListDoc_Id FROM HistoryValue")).toString(),
        QStringLiteral("абв/1"));
}

TEST_F(DBEditors, AFieldThatCannotChangeRefusesInput) {
    auto* memo = Place(new TDBMemo);
    memo->SetDataSource(&data->dsDocument);
    memo->SetDataField(QStringLiteral("OrientName"));
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_TRUE(memo->isReadOnly());
    Type(memo, QStringLiteral("x"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Портрет"));
    EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);

    memo->SetDataField(QStringLiteral("Name"));
    EXPECT_FALSE(memo->isReadOnly());
    memo->SetReadOnly(true);
    EXPECT_TRUE(memo->isReadOnly());
    data->Document.Close();
    memo->SetReadOnly(false);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(memo->toPlainText().isEmpty());
}

TEST_F(DBEditors, TheCalendarSetsTheDate) {
    auto* date = Place(new TDBDateEdit);
    date->SetDataSource(&data->dsListDoc);
    date->SetDataField(QStringLiteral("Date"));
    EXPECT_EQ(date->text(), QStringLiteral("05.03.2024"));

    QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(date->DroppedDown());
    EXPECT_EQ(date->Calendar()->selectedDate(), QDate(2024, 3, 5));
    EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsBrowse);
    date->Calendar()->setSelectedDate(QDate(2024, 3, 20));
    QTest::keyClick(date->Calendar()->findChild<QTableView*>(), Qt::Key_Return);
    EXPECT_FALSE(date->DroppedDown());
    EXPECT_EQ(date->text(), QStringLiteral("20.03.2024"));
    EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsEdit);
    data->ListDoc.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Date FROM ListDoc")).toString(),
              QStringLiteral("2024-03-20 00:00:00"));
}

TEST_F(DBEditors, TheDateEditorRefusesADateThatDoesNotExistAndStoresNullWhenEmpty) {
    auto* date = Place(new TDBDateEdit);
    date->OnError = [&](const QString& message) { errors << message; };
    date->SetDataSource(&data->dsListDoc);
    date->SetDataField(QStringLiteral("Date"));
    date->setCursorPosition(0);
    Type(date, QStringLiteral("31022024"));
    EXPECT_EQ(date->text(), QStringLiteral("31.02.2024"));
    Leave();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("'31.02.2024' не является допустимой датой"));
    EXPECT_TRUE(date->hasFocus());  // sent back to fix it
    EXPECT_EQ(data->ListDocDate.AsDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    // A post takes the pending text too, and is refused the same way.
    EXPECT_THROW(data->ListDoc.Post(), DatabaseError);
    EXPECT_EQ(data->ListDoc.State(), TDataSetState::dsEdit);

    date->selectAll();
    QTest::keyClick(date, Qt::Key_Delete);
    Leave();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(data->ListDocDate.IsNull());
    data->ListDoc.Post();
    EXPECT_TRUE(Scalar(QStringLiteral("SELECT Date FROM ListDoc")).isNull());
    EXPECT_TRUE(date->text().remove(QLatin1Char('.')).isEmpty());
}

TEST_F(DBEditors, CheckBoxesShowTheFieldAndCannotBeChanged) {
    auto* box = Place(new TDBCheckBox(QStringLiteral("Выделенный")));
    box->SetDataSource(&data->dsValues_);
    box->SetDataField(QStringLiteral("FontBold"));
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(data->Values_.State(), TDataSetState::dsBrowse);
    data->Values_.Next();
    EXPECT_FALSE(box->isChecked());
    data->Values_.Edit();
    data->Values_FontBold.Clear();
    EXPECT_FALSE(box->isChecked());
    data->Values_FontBold.SetValue(true);
    EXPECT_TRUE(box->isChecked());
}

}  // namespace
