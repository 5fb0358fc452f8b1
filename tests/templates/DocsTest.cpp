#include "DBEditors.h"
#include "DBGrid.h"
#include "DBSpinEdit.h"
#include "DataFixture.h"
#include "Docs.h"
#include "Labels.h"
#include "PageBackground.h"
#include "PageImages.h"
#include "SpeedForm.h"
#include "WhenShown.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

const QString kNewName = QStringLiteral("Без Имени - ");

// Key presses carrying each character, as a keyboard layout would send them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    }
}

// A shown window becomes the active one once the window system has said so. (A transient window
// counts as active for QWindow as soon as its parent is, so that test is not enough.)
bool WaitActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 2000);
}

// The template list on a real database, owned by a visible main window as at start-up.
class DocsWindow : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        main = std::make_unique<QMainWindow>();
        main->setGeometry(100, 80, 900, 640);
        main->show();
    }

    void TearDown() override {
        docs.reset();
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Open() {
        OpenModule();
        docs = std::make_unique<TfDocs>(frame, *data, windows, main.get());
        windows.fDocs = docs.get();
    }

    // Shows the window modally (as F2 does) and runs `inside` while it is shown. The window must
    // be closed by `inside`; one still open is a failure and is closed.
    int Show(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, docs.get(), [&] {
            ran = true;
            EXPECT_TRUE(docs->isVisible());
            EXPECT_TRUE(WaitActive(docs.get()));
            inside();
            if (docs->isVisible()) {
                ADD_FAILURE() << "the template list is still open";
                docs->done(0);
            }
        });
        const int result = docs->ShowModal();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(docs->isVisible());
        return result;
    }

    // Presses `button` of the window, which opens the panel, and runs `inside` with the panel's
    // dialog. The dialog must be closed by `inside`.
    void WithPanel(QPushButton* button, const std::function<void(QDialog&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, docs.get(), [&] {
            ran = true;
            QPointer<QDialog> dialog = docs->fEdit->DialogWindow();
            if (!dialog || !dialog->isVisible()) {
                ADD_FAILURE() << "the panel is not shown";
                return;
            }
            EXPECT_TRUE(WaitActive(dialog));
            inside(*dialog);
            if (dialog && dialog->isVisible()) {
                ADD_FAILURE() << "the panel is still open";
                docs->fEdit->SetModalResult(mrCancel);
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(ran);
    }

    // The whole session of the user: open the list, work in it, close it with the choose button.
    void Session(const std::function<void()>& work) {
        const int result = Show([&] {
            work();
            QTest::mouseClick(docs->Button3, Qt::LeftButton);
        });
        EXPECT_EQ(result, 1);
    }

    QStringList StoredNames() {
        QStringList names;
        QSqlQuery q(sql.Database());
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT Name FROM Document ORDER BY Id")));
        while (q.next())
            names << q.value(0).toString();
        return names;
    }

    std::unique_ptr<QMainWindow> main;
    TemplateWindows windows;
    std::unique_ptr<TfDocs> docs;
};

// --- creating a template

TEST_F(DocsWindow, NewTemplateWithoutTypingIsStoredNamedWithOnePage) {
    AddTemplate(QStringLiteral("Счет"), 2, 1);
    Open();
    Session([&] {
        WithPanel(docs->Button1, [&](QDialog&) {
            EXPECT_EQ(data->Document.State(), TDataSetState::dsInsert);
            EXPECT_EQ(docs->DBEdit1->text(), kNewName);
            EXPECT_EQ(docs->DBEdit1->maxLength(), 100);
            EXPECT_EQ(docs->DBSpinEdit1->text(), QStringLiteral("1"));
            EXPECT_EQ(docs->cmbOrient->currentIndex(), 0);
            EXPECT_EQ(docs->cmbOrient->currentText(), QStringLiteral("Портрет"));
            // The list shows the row being made; its orientation name is empty meanwhile.
            EXPECT_EQ(docs->DBGrid1->RowCount(), 2);
            EXPECT_EQ(docs->DBGrid1->Indicator(1), TRowIndicator::Insert);
            EXPECT_EQ(docs->DBText2->Caption(), QString());
            EXPECT_TRUE(docs->DBEdit1->hasFocus());
            QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
        });
        EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);
        // The stored row got its Id and stays current; the list shows its data.
        EXPECT_EQ(data->DocumentName.AsString(), kNewName);
        EXPECT_FALSE(data->DocumentId.IsNull());
        EXPECT_EQ(docs->DBText1->Caption(), QStringLiteral("1"));
        EXPECT_EQ(docs->DBText2->Caption(), QStringLiteral("Портрет"));
    });
    EXPECT_EQ(StoredNames(), QStringList({QStringLiteral("Счет"), kNewName}));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT PageCount FROM Document WHERE Id = 2")).toInt(), 1);
    // Not chosen: the column default.
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Orientetion FROM Document WHERE Id = 2")).toInt(), 0);
    EXPECT_TRUE(services.boxes.isEmpty());
}

TEST_F(DocsWindow, NewTemplateTypedByTheUserIsStoredAsTyped) {
    Open();
    Session([&] {
        WithPanel(docs->Button1, [&](QDialog&) {
            docs->DBEdit1->selectAll();
            TypeText(docs->DBEdit1, QStringLiteral("Накладная & акт"));
            QTest::keyClick(docs->DBEdit1, Qt::Key_Tab);
            EXPECT_TRUE(docs->DBSpinEdit1->hasFocus());
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Up);
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Up);
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Tab);
            EXPECT_TRUE(docs->cmbOrient->hasFocus());
            QTest::keyClick(docs->cmbOrient, Qt::Key_Down);
            EXPECT_EQ(docs->cmbOrient->currentText(), QStringLiteral("Ландшафт"));
            // Enter presses OK.
            QTest::keyClick(docs->cmbOrient, Qt::Key_Return);
        });
        // "&" is shown as it stands.
        EXPECT_EQ(docs->DBGrid1->CellText(0, 0), QStringLiteral("Накладная & акт"));
        EXPECT_EQ(docs->DBText1->Caption(), QStringLiteral("3"));
        EXPECT_EQ(docs->DBText2->Caption(), QStringLiteral("Ландшафт"));
    });
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name || '/' || PageCount || '/' || Orientetion "
                                    "FROM Document"))
                  .toString(),
              QStringLiteral("Накладная & акт/3/1"));
}

// --- the page-count box

TEST_F(DocsWindow, PageCountStopsAtOneAndHasNoUpperLimit) {
    AddTemplate(QStringLiteral("Большой"), 32000, 0);
    Open();
    Session([&] {
        WithPanel(docs->Button1, [&](QDialog&) {
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Down);
            EXPECT_EQ(docs->DBSpinEdit1->text(), QStringLiteral("1"));
            // Typing is off: only the buttons and arrow keys change it.
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_7);
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Backspace);
            EXPECT_EQ(docs->DBSpinEdit1->text(), QStringLiteral("1"));
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
        WithPanel(docs->Button2, [&](QDialog&) {
            for (int i = 0; i < 1000; ++i)
                QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Up);
            EXPECT_EQ(docs->DBSpinEdit1->text(), QStringLiteral("33000"));
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
    });
    EXPECT_EQ(Scalar(QStringLiteral("SELECT PageCount FROM Document")).toInt(), 32000);
}

// --- fewer pages than fields

TEST_F(DocsWindow, LoweringThePageCountUnderFieldsAsksFirst) {
    const qint64 doc = AddTemplate(QStringLiteral("Форма"), 3, 0);
    AddField(doc, QStringLiteral("А"), QString(), 1);
    AddField(doc, QStringLiteral("Б"), QString(), 2);
    AddField(doc, QStringLiteral("В"), QString(), 3);
    AddField(doc, QStringLiteral("Г"), QString(), 3);
    Open();
    auto lower = [&](int steps) {
        Session([&] {
            WithPanel(docs->Button2, [&](QDialog&) {
                for (int i = 0; i < steps; ++i)
                    QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Down);
                docs->DBEdit1->selectAll();
                TypeText(docs->DBEdit1, QStringLiteral("Другая %1").arg(steps));
                QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
            });
        });
    };
    auto stored = [&] {
        return Scalar(QStringLiteral("SELECT Name || '/' || PageCount FROM Document")).toString();
    };

    // "No" keeps the page count; the rest of the change is stored.
    services.answers = {false};
    lower(2);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("На страницах 2–3, которые будут убраны, есть поля шаблона: 3.\r"
                             "Пока они там, отчет по этому шаблону не построится.\r"
                             "Уменьшить количество страниц с 3 до 1?"));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Количество страниц"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Question);
    EXPECT_EQ(stored(), QStringLiteral("Другая 2/3"));

    // "Yes" lowers it.
    services.boxes.clear();
    services.answers = {true};
    lower(1);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_TRUE(services.boxes[0].text.startsWith(
        QStringLiteral("На странице 3, которая будет убрана, есть поля шаблона: 2.\r")));
    EXPECT_EQ(stored(), QStringLiteral("Другая 1/2"));

    // Raising it asks nothing.
    services.boxes.clear();
    Session([&] {
        WithPanel(docs->Button2, [&](QDialog&) {
            QTest::keyClick(docs->DBSpinEdit1, Qt::Key_Up);
            QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
        });
    });
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(stored(), QStringLiteral("Другая 1/3"));
}

// --- a template the store refuses

template <class Case>
void PrintCase(const Case& c, std::ostream* os) {
    *os << c.name;
}

struct RefusedCase {
    const char* name;
    TModalButton* TfDocs::*button;
    std::function<void(TfDocs&)> change;
    QString storeMessage;  // part of what the store says
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    PrintCase(c, os);
}

const RefusedCase kRefused[] = {
    {"NewWithoutName", &TfDocs::Button1,
     [](TfDocs& d) {
         d.DBEdit1->selectAll();
         QTest::keyClick(d.DBEdit1, Qt::Key_Delete);
     },
     QStringLiteral("A template needs a name")},
    {"PageCountBeyondTheColumn", &TfDocs::Button2,
     [](TfDocs& d) {
         for (int i = 0; i < 3; ++i)
             QTest::keyClick(d.DBSpinEdit1, Qt::Key_Up);
     },
     QStringLiteral("В поле \"Колличество страниц\" можно ввести целое число от -32768 до 32767")},
};

class RefusedTemplate : public DocsWindow, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedTemplate, IsReportedAndDiscarded) {
    const RefusedCase& c = GetParam();
    // The file declares the name required.
    Exec(
        QStringLiteral("CREATE TRIGGER NameRequired BEFORE INSERT ON Document "
                       "WHEN coalesce(NEW.Name, '') = '' "
                       "BEGIN SELECT RAISE(ABORT, 'A template needs a name'); END"));
    AddTemplate(QStringLiteral("Форма"), 32766, 1);
    Open();
    TDataSetState stateAtBox = TDataSetState::dsInactive;
    services.onBox = [&](const ServicesDouble::Box&) { stateAtBox = data->Document.State(); };
    Session([&] {
        WithPanel(docs.get()->*c.button, [&](QDialog&) {
            c.change(*docs);
            QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
        });
        EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(data->Document.RecordCount(), 1);
        EXPECT_EQ(docs->DBGrid1->RowCount(), 1);
        EXPECT_EQ(docs->DBText1->Caption(), QStringLiteral("32766"));
        EXPECT_EQ(docs->DBText2->Caption(), QStringLiteral("Ландшафт"));
    });
    services.onBox = nullptr;
    ASSERT_EQ(services.boxes.size(), 1);
    const ServicesDouble::Box& box = services.boxes.front();
    const QString prefix = QStringLiteral("Ошибка редактирования\rТекст ошибки:\r");
    EXPECT_TRUE(box.text.startsWith(prefix)) << box.text.toStdString();
    EXPECT_TRUE(box.text.mid(prefix.size()).contains(c.storeMessage)) << box.text.toStdString();
    EXPECT_EQ(box.caption, QStringLiteral("Ошибка!"));
    EXPECT_EQ(box.icon, UiServices::Icon::Information);
    // The message comes first, then the row is discarded.
    EXPECT_NE(stateAtBox, TDataSetState::dsBrowse);
    EXPECT_EQ(StoredNames(), QStringList({QStringLiteral("Форма")}));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT PageCount FROM Document")).toInt(), 32766);
}

INSTANTIATE_TEST_SUITE_P(Docs, RefusedTemplate, ::testing::ValuesIn(kRefused),
                         [](const auto& row) { return std::string(row.param.name); });

// --- discarding

void ChangeAll(TfDocs& d) {
    d.DBEdit1->selectAll();
    TypeText(d.DBEdit1, QStringLiteral("Другое"));
    QTest::keyClick(d.DBSpinEdit1, Qt::Key_Up);
    QTest::keyClick(d.cmbOrient, Qt::Key_Down);
    EXPECT_EQ(d.cmbOrient->currentText(), QStringLiteral("Ландшафт"));
}

struct DiscardCase {
    const char* name;
    TModalButton* TfDocs::*button;
    std::function<void(TfDocs&, QDialog&)> leave;
};

void PrintTo(const DiscardCase& c, std::ostream* os) {
    PrintCase(c, os);
}

const DiscardCase kDiscard[] = {
    {"NewByCancelButton", &TfDocs::Button1,
     [](TfDocs& d, QDialog&) { QTest::mouseClick(d.BitBtn3, Qt::LeftButton); }},
    {"NewByEscapeInTheName", &TfDocs::Button1,
     [](TfDocs& d, QDialog&) { QTest::keyClick(d.DBEdit1, Qt::Key_Escape); }},
    {"NewClosedByTheWindowManager", &TfDocs::Button1,
     [](TfDocs&, QDialog& dialog) { dialog.close(); }},
    {"ChangedByCancelButton", &TfDocs::Button2,
     [](TfDocs& d, QDialog&) {
         ChangeAll(d);
         QTest::mouseClick(d.BitBtn3, Qt::LeftButton);
     }},
    {"ChangedByEscapeInTheOrientationList", &TfDocs::Button2,
     [](TfDocs& d, QDialog&) {
         ChangeAll(d);
         QTest::keyClick(d.cmbOrient, Qt::Key_Escape);
     }},
    {"ChangedByEscapeInThePageCount", &TfDocs::Button2,
     [](TfDocs& d, QDialog&) {
         ChangeAll(d);
         d.DBSpinEdit1->setFocus();
         QTest::keyClick(d.DBSpinEdit1, Qt::Key_Escape);
     }},
    {"ChangedClosedByTheWindowManager", &TfDocs::Button2,
     [](TfDocs& d, QDialog& dialog) {
         ChangeAll(d);
         dialog.close();
     }},
};

class DiscardedEdit : public DocsWindow, public ::testing::WithParamInterface<DiscardCase> {};

TEST_P(DiscardedEdit, LeavesTheListAsItWas) {
    const DiscardCase& c = GetParam();
    AddTemplate(QStringLiteral("Акт"), 2, 0);
    Open();
    Session([&] {
        WithPanel(docs.get()->*c.button, [&](QDialog& dialog) { c.leave(*docs, dialog); });
        EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(docs->DBGrid1->RowCount(), 1);
        EXPECT_EQ(docs->DBText2->Caption(), QStringLiteral("Портрет"));
    });
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) || Name || PageCount || Orientetion "
                                    "FROM Document"))
                  .toString(),
              QStringLiteral("1Акт20"));
    EXPECT_TRUE(services.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Docs, DiscardedEdit, ::testing::ValuesIn(kDiscard),
                         [](const auto& row) { return std::string(row.param.name); });

// --- changing a template

struct OrientCase {
    const char* name;
    QVariant stored;
    int shown;
};

void PrintTo(const OrientCase& c, std::ostream* os) {
    PrintCase(c, os);
}

const OrientCase kOrient[] = {
    {"NullReadsAsPortrait", QVariant(), 0},
    {"Portrait", 0, 0},
    {"Landscape", 1, 1},
};

class ChangedOrientation : public DocsWindow, public ::testing::WithParamInterface<OrientCase> {};

TEST_P(ChangedOrientation, ShowsTheStoredOneAndKeepsItWithoutAChoice) {
    const OrientCase& c = GetParam();
    AddTemplate(QStringLiteral("Шаблон"), 1, c.stored);
    Open();
    Session([&] {
        // The box keeps the last choice; each opening sets it from the row.
        docs->cmbOrient->setCurrentIndex(1 - c.shown);
        WithPanel(docs->Button2, [&](QDialog&) {
            EXPECT_EQ(docs->cmbOrient->currentIndex(), c.shown);
            EXPECT_EQ(docs->DBEdit1->text(), QStringLiteral("Шаблон"));
            QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
        });
    });
    const QVariant stored = Scalar(QStringLiteral("SELECT Orientetion FROM Document"));
    EXPECT_EQ(stored.isNull(), c.stored.isNull());
    EXPECT_EQ(stored.toInt(), c.stored.toInt());
}

INSTANTIATE_TEST_SUITE_P(Docs, ChangedOrientation, ::testing::ValuesIn(kOrient),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(DocsWindow, ChangeWithNoTemplateStartsANewEmptyOne) {
    Open();
    Session([&] {
        WithPanel(docs->Button2, [&](QDialog&) {
            EXPECT_EQ(data->Document.State(), TDataSetState::dsInsert);
            EXPECT_EQ(docs->DBEdit1->text(), QString());
            EXPECT_EQ(docs->DBSpinEdit1->text(), QString());
            EXPECT_EQ(docs->cmbOrient->currentIndex(), 0);
            TypeText(docs->DBEdit1, QStringLiteral("Первый"));
            QTest::mouseClick(docs->BitBtn2, Qt::LeftButton);
        });
        EXPECT_EQ(docs->DBGrid1->CellText(0, 0), QStringLiteral("Первый"));
    });
    EXPECT_EQ(StoredNames(), QStringList({QStringLiteral("Первый")}));
}

// --- the pictures behind the pages

class DocsBackground : public DocsWindow {
protected:
    // The machine's own scanners stay out of the tests: SANE reads its list of backends from a
    // folder of the tests', empty unless a test names some. SANE takes the folder once a
    // process, so all the tests share one.
    DocsBackground() : saneBefore_(qgetenv("SANE_CONFIG_DIR")) {
        qputenv("SANE_CONFIG_DIR", SaneFolder().path().toLocal8Bit());
        SaneBackends("");
    }
    ~DocsBackground() override {
        if (saneBefore_.isNull())
            qunsetenv("SANE_CONFIG_DIR");
        else
            qputenv("SANE_CONFIG_DIR", saneBefore_);
    }
    static QTemporaryDir& SaneFolder() {
        static QTemporaryDir folder;
        return folder;
    }
    static void SaneBackends(const QByteArray& list) {
        QFile conf(SaneFolder().filePath(QStringLiteral("dll.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(list);
    }

    QString Scan(const QString& name) {
        QImage image(400, 600, QImage::Format_RGB32);
        image.fill(QColor(220, 220, 220));
        image.setDotsPerMeterX(qRound(200 / 0.0254));
        image.setDotsPerMeterY(qRound(200 / 0.0254));
        EXPECT_TRUE(image.save(dir.file(name), "png"));
        return dir.file(name);
    }
    QString Rows() {
        QSqlQuery q(sql.Database());
        EXPECT_TRUE(q.exec(QStringLiteral(
            "SELECT PageNum, Kind, Dpi, ShiftX, ShiftY FROM FwPageImage ORDER BY PageNum")));
        QStringList rows;
        while (q.next())
            rows << QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(q.value(0).toInt())
                        .arg(q.value(1).toString())
                        .arg(q.value(2).toDouble())
                        .arg(q.value(3).toInt())
                        .arg(q.value(4).toInt());
        return rows.join(QStringLiteral("; "));
    }
    // "Фон страницы…" in the editor of the current template, with `inside` in its window.
    void InBackground(const std::function<void(TfPageBackground&)>& inside) {
        Session([&] {
            WithPanel(docs->Button2, [&](QDialog&) {
                bool shown = false;
                WhenShown<TfPageBackground>([&](TfPageBackground& b) {
                    shown = true;
                    inside(b);
                    if (b.isVisible())
                        b.reject();
                });
                QTest::mouseClick(docs->BackgroundButton, Qt::LeftButton);
                EXPECT_TRUE(shown);
                QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
            });
        });
    }

private:
    QByteArray saneBefore_;
};

TEST_F(DocsBackground, ChosenShiftedAndRemovedInTheTemplateEditor) {
    AddTemplate(QStringLiteral("Перевод"), 2);
    const QString scan = Scan(QStringLiteral("scan.png"));
    QFile::copy(scan, dir.file(QStringLiteral("broken.png")));
    QFile::resize(dir.file(QStringLiteral("broken.png")), 70);
    Open();
    QString chosen = scan;
    docs->fBackground->AskFile = [&] { return chosen; };
    InBackground([&](TfPageBackground& b) {
        EXPECT_EQ(b.windowTitle(), QStringLiteral("Фон страницы"));
        EXPECT_EQ(b.PageBox->maximum(), 2);
        EXPECT_EQ(b.FileLabel->text(), QStringLiteral("нет"));
        EXPECT_FALSE(b.RemoveButton->isEnabled());
        b.ChooseButton->click();
        EXPECT_EQ(b.FileLabel->text(), QStringLiteral("рисунок PNG"));
        EXPECT_EQ(b.DpiBox->value(), 200);
        EXPECT_EQ(b.SizeLabel->text(), QStringLiteral("50,8 × 76,2 мм"));
        b.ShiftXBox->setValue(1.5);
        b.ShiftYBox->setValue(-0.3);
        b.DpiBox->setValue(100);
        EXPECT_EQ(b.SizeLabel->text(), QStringLiteral("101,6 × 152,4 мм"));
        // A damaged file on page 2: a message, and the page keeps having none.
        b.PageBox->setValue(2);
        chosen = dir.file(QStringLiteral("broken.png"));
        b.ChooseButton->click();
        EXPECT_EQ(b.FileLabel->text(), QStringLiteral("нет"));
        ASSERT_EQ(services.boxes.size(), 1);
        EXPECT_TRUE(services.boxes[0].text.startsWith(
            QStringLiteral("Файл broken.png поврежден: рисунок не читается")));
        b.OkButton->click();
        EXPECT_FALSE(b.isVisible());
    });
    EXPECT_EQ(Rows(), QStringLiteral("1 png 100 15 -3"));

    // Cancel changes nothing; "Убрать фон" and OK remove it.
    InBackground([&](TfPageBackground& b) {
        EXPECT_EQ(b.ShiftXBox->value(), 1.5);
        b.RemoveButton->click();
        b.CancelButton->click();
    });
    EXPECT_EQ(Rows(), QStringLiteral("1 png 100 15 -3"));
    InBackground([&](TfPageBackground& b) {
        b.RemoveButton->click();
        EXPECT_EQ(b.FileLabel->text(), QStringLiteral("нет"));
        b.OkButton->click();
    });
    EXPECT_EQ(Rows(), QString());
}

TEST_F(DocsBackground, ScansFromTheSaneTestDeviceWhenThereIsOne) {
    AddTemplate(QStringLiteral("Перевод"), 1);
    Open();
    SaneBackends("");
    InBackground([&](TfPageBackground& b) { EXPECT_FALSE(b.ScanButton->isVisible()); });
    SaneBackends("test\n");
    InBackground([&](TfPageBackground& b) {
        ASSERT_TRUE(b.ScanButton->isVisible());
        EXPECT_EQ(b.ScanDpiBox->minimum(), 150);
        EXPECT_EQ(b.ScanDpiBox->maximum(), 300);
        b.ScanDpiBox->setValue(150);
        b.ScanButton->click();
        EXPECT_EQ(b.FileLabel->text(), QStringLiteral("рисунок PNG"));
        EXPECT_EQ(b.DpiBox->value(), 150);
        b.OkButton->click();
    });
    SaneBackends("");
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(Rows(), QStringLiteral("1 png 150 0 0"));
    const std::optional<PagePicture> scanned = data->PageImages.Read(1, 1);
    ASSERT_TRUE(scanned.has_value());
    const QImage image = scanned->Render();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.isGrayscale());
    // The test device's whole glass, at 150 dpi.
    EXPECT_GT(image.width(), 300);
    EXPECT_NEAR(scanned->SizeMm().width(), image.width() / 150.0 * 25.4, 1e-6);
}

TEST_F(DocsWindow, CtrlLAndTheListsMenuOpenThePageLayout) {
    AddTemplate(QStringLiteral("Перевод"), 1);
    Open();
    int opened = 0;
    windows.ShowPageLayout = [&] { ++opened; };
    Session([&] {
        EXPECT_EQ(docs->actLayout->text(), QStringLiteral("Разметка страницы…"));
        EXPECT_TRUE(docs->DBGrid1->actions().contains(docs->actLayout));
        EXPECT_EQ(docs->DBGrid1->contextMenuPolicy(), Qt::ActionsContextMenu);
        QTest::keyClick(docs->DBGrid1, Qt::Key_L, Qt::ControlModifier);
    });
    EXPECT_EQ(opened, 1);
}

TEST_F(DocsBackground, ReadOnlyOrUnstoredTemplatesSayWhy) {
    AddTemplate(QStringLiteral("Перевод"), 1);
    data = std::make_unique<TfData>(frame);
    data->Con.ReadOnly = true;
    data->DataModuleCreate(QCoreApplication::applicationFilePath());
    docs = std::make_unique<TfDocs>(frame, *data, windows, main.get());
    Session([&] {
        WithPanel(docs->Button2, [&](QDialog&) {
            QTest::mouseClick(docs->BackgroundButton, Qt::LeftButton);
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
    });
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("База данных Quillbox.mdb открыта только для чтения: фоны страниц "
                             "нельзя сохранить."));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Фон страницы"));

    docs.reset();
    data.reset();
    Open();
    Session([&] {
        WithPanel(docs->Button1, [&](QDialog&) {
            QTest::mouseClick(docs->BackgroundButton, Qt::LeftButton);
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
    });
    ASSERT_EQ(services.boxes.size(), 2);
    EXPECT_EQ(services.boxes[1].text, QStringLiteral("Фон выбирается для сохраненного шаблона.\r"
                                                     "Нажмите OK, затем откройте шаблон снова."));
}

// --- choosing

TEST_F(DocsWindow, TheRowCurrentAtClosingIsTheCurrentTemplate) {
    const qint64 first = AddTemplate(QStringLiteral("Первый"), 1, 0);
    const qint64 second = AddTemplate(QStringLiteral("Второй"), 4, 1);
    AddListDoc(first, QStringLiteral("2024-01-10"), QStringLiteral("Январь"));
    AddListDoc(second, QStringLiteral("2024-02-10"), QStringLiteral("Февраль"));
    AddListDoc(second, QStringLiteral("2024-03-10"), QStringLiteral("Март"));
    Open();
    const int result = Show([&] {
        EXPECT_TRUE(docs->DBGrid1->hasFocus());
        EXPECT_EQ(docs->DBText1->Caption(), QStringLiteral("1"));
        QTest::keyClick(docs->DBGrid1, Qt::Key_Down);
        EXPECT_EQ(docs->DBText1->Caption(), QStringLiteral("4"));
        EXPECT_EQ(docs->DBText2->Caption(), QStringLiteral("Ландшафт"));
        // Escape does not close the window; Enter in the list chooses.
        QTest::keyClick(docs->DBGrid1, Qt::Key_Escape);
        EXPECT_TRUE(docs->isVisible());
        QTest::keyClick(docs->DBGrid1, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data->DocumentName.AsString(), QStringLiteral("Второй"));
    EXPECT_EQ(data->ListDoc.RecordCount(), 2);
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Февраль"));

    // Shown again, it opens on the same template, and goes on working; a window manager that
    // closes it chooses as "Выбрать (закрыть)" does.
    EXPECT_EQ(Show([&] {
                  EXPECT_EQ(docs->DBGrid1->CurrentRow(), 1);
                  QTest::keyClick(docs->DBGrid1, Qt::Key_Up);
                  docs->close();
              }),
              1);
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Январь"));
}

// --- look and keyboard

TEST_F(DocsWindow, TextsAreTheSystemsOwn) {
    Open();
    QString panelTitle;
    Session([&] {
        WithPanel(docs->Button1, [&](QDialog& dialog) {
            panelTitle = dialog.windowTitle();
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
    });
    struct Row {
        const char* name;
        QString actual;
        QString expected;
    };
    const Row rows[] = {
        {"window caption", docs->windowTitle(), QStringLiteral("Список шаблонов документов")},
        {"grid title", docs->DBGrid1->TitleText(0, 1), QStringLiteral("Наименование документа")},
        {"group box", docs->GroupBox1->title(),
         QStringLiteral("Дополнительный параметры для выбранного документа")},
        {"page count label", docs->Label1->text(), QStringLiteral("Колличество страниц")},
        {"orientation label", docs->Label2->text(), QStringLiteral("Ориентация страниц")},
        {"create button", docs->Button1->text(), QStringLiteral("Создать новый")},
        {"change button", docs->Button2->text(), QStringLiteral("Изменить выбранный")},
        {"choose button", docs->Button3->text(), QStringLiteral("Выбрать (закрыть)")},
        {"panel caption", docs->fEdit->Caption(), QStringLiteral("Редактирование документа")},
        {"panel window title", panelTitle, QStringLiteral("Редактирование документа")},
        {"name label", docs->Label3->text(), QStringLiteral("Наименование")},
        {"panel page count label", docs->Label4->text(), QStringLiteral("Колличество страниц")},
        {"panel orientation label", docs->Label5->text(), QStringLiteral("Ориентация страниц")},
        {"portrait item", docs->cmbOrient->itemText(0), QStringLiteral("Портрет")},
        {"landscape item", docs->cmbOrient->itemText(1), QStringLiteral("Ландшафт")},
        {"OK button", docs->BitBtn2->text(), QStringLiteral("OK")},
        {"cancel button", docs->BitBtn3->text(), QStringLiteral("Отмена")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.actual, row.expected) << row.name;
    EXPECT_EQ(docs->cmbOrient->count(), 2);
}

TEST_F(DocsWindow, WindowAndPanelLookAsGiven) {
    AddTemplate(QStringLiteral("Счет-фактура"), 2, 1);
    Open();
    Session([&] {
        // Client 454 x 224, fixed, no close box, centred on the main window.
        EXPECT_EQ(docs->size(), QSize(454, 224));
        EXPECT_EQ(docs->minimumSize(), docs->maximumSize());
        EXPECT_FALSE(docs->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(docs->windowFlags() & Qt::WindowSystemMenuHint);
        EXPECT_LE(
            (docs->frameGeometry().center() - main->frameGeometry().center()).manhattanLength(), 2);
        EXPECT_EQ(docs->DBGrid1->ColumnWidth(0), 416);
        EXPECT_EQ(docs->DBGrid1->Column(0).TitleAlignment, Qt::AlignCenter);
        EXPECT_TRUE(docs->DBGrid1->Options() & TGridOption::Indicator);
        // The grid's column fits without a horizontal scroll bar.
        EXPECT_FALSE(docs->DBGrid1->horizontalScrollBar()->isVisible());

        // Navy labels; bold maroon values on silver, centred.
        EXPECT_EQ(docs->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        EXPECT_EQ(docs->Label2->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        for (TDBStaticText* value : {docs->DBText1, docs->DBText2}) {
            EXPECT_EQ(CanvasColorToQColor(value->Color()), QColor(192, 192, 192));
            EXPECT_EQ(CanvasColorToQColor(value->FontColor()), QColor(128, 0, 0));
            EXPECT_TRUE(value->font().bold());
            EXPECT_EQ(value->Alignment(), TAlignment::Center);
            EXPECT_FALSE(value->ShowAccelChar());
        }
        // The group's contents sit inside its frame, clear of its lines.
        const QRect inside = docs->GroupBox1->contentsRect().adjusted(4, 4, -4, -4);
        for (QWidget* w : std::initializer_list<QWidget*>{docs->Label1, docs->DBText1, docs->Label2,
                                                          docs->DBText2})
            EXPECT_TRUE(inside.contains(w->geometry())) << w->metaObject()->className();
        // No label is cut short, in whatever font the machine gives.
        for (QLabel* label : docs->findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
        EXPECT_GE(docs->DBText2->width(), docs->DBText2->AutoSizeExtent().width());

        // Tab order of the window.
        EXPECT_TRUE(docs->DBGrid1->hasFocus());
        const QList<QWidget*> windowOrder{docs->Button1, docs->Button2, docs->Button3,
                                          docs->DBGrid1};
        for (QWidget* next : windowOrder) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
        }

        WithPanel(docs->Button2, [&](QDialog& dialog) {
            // Client 431 x 108, sizeable, no border icons, centred on the main window.
            EXPECT_EQ(dialog.size(), QSize(431, 108));
            EXPECT_NE(dialog.minimumSize(), dialog.maximumSize());
            EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
            EXPECT_LE((dialog.frameGeometry().center() - main->frameGeometry().center())
                          .manhattanLength(),
                      2);
            EXPECT_TRUE(docs->DBEdit1->hasFocus());
            const QList<QWidget*> panelOrder{docs->DBSpinEdit1,      docs->cmbOrient,
                                             docs->BitBtn2,          docs->BitBtn3,
                                             docs->BackgroundButton, docs->DBEdit1};
            for (QWidget* next : panelOrder) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
            }
            for (QLabel* label : {docs->Label3, docs->Label4, docs->Label5}) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            }
            // Every control lies inside the client area.
            for (QWidget* w : dialog.findChildren<QWidget*>()) {
                if (w->isVisible() && w->parentWidget() == docs->fEdit->Client()) {
                    EXPECT_TRUE(docs->fEdit->Client()->rect().contains(w->geometry()))
                        << w->metaObject()->className();
                }
            }
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
    });
}

// The values as the window's own painting puts them on the screen: silver background, maroon
// text.
TEST_F(DocsWindow, ValueLabelsArePaintedOnSilver) {
    AddTemplate(QStringLiteral("Счет-фактура"), 2, 1);
    Open();
    Session([&] {
        const QImage shot = docs->grab().toImage();
        for (TDBStaticText* value : {docs->DBText1, docs->DBText2}) {
            const QRect box(value->mapTo(docs.get(), QPoint(0, 0)), value->size());
            EXPECT_EQ(QColor(shot.pixel(box.topLeft() + QPoint(3, 3))), QColor(192, 192, 192))
                << value->Caption().toStdString();
            bool maroon = false;
            for (int y = box.top(); y <= box.bottom() && !maroon; ++y) {
                for (int x = box.left(); x <= box.right() && !maroon; ++x)
                    maroon = QColor(shot.pixel(x, y)) == QColor(128, 0, 0);
            }
            EXPECT_TRUE(maroon) << value->Caption().toStdString();
        }
    });
}

// Renders the window with data and its panel into PNGs for a look.
TEST_F(DocsWindow, Screenshots) {
    AddTemplate(QStringLiteral("Счет-фактура"), 2, 1);
    AddTemplate(QStringLiteral("Доверенность на получение ТМЦ"), 1, 0);
    AddTemplate(QStringLiteral("Приходный кассовый ордер"), 1, 0);
    AddTemplate(QStringLiteral("Накладная ТОРГ-12"), 3, 1);
    Open();
    Session([&] {
        QTest::keyClick(docs->DBGrid1, Qt::Key_Down);
        const QImage window = docs->grab().toImage();
        EXPECT_EQ(window.size(), QSize(454, 224));
        EXPECT_TRUE(window.save(QStringLiteral("/tmp/docs-window.png")));
        WithPanel(docs->Button2, [&](QDialog& dialog) {
            QTest::keyClick(docs->cmbOrient, Qt::Key_Down);
            const QImage panel = dialog.grab().toImage();
            EXPECT_EQ(panel.size(), QSize(431, 108));
            EXPECT_TRUE(panel.save(QStringLiteral("/tmp/docs-panel.png")));
            docs->cmbOrient->showPopup();
            QWidget* list = docs->cmbOrient->view()->window();
            EXPECT_TRUE(list->grab().toImage().save(QStringLiteral("/tmp/docs-orient-list.png")));
            docs->cmbOrient->hidePopup();
            QTest::mouseClick(docs->BitBtn3, Qt::LeftButton);
        });
        const QImage editing = docs->grab().toImage();
        EXPECT_EQ(editing.size(), QSize(454, 224));
    });
}

}  // namespace
