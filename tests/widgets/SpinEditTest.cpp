#include "DBSpinEdit.h"
#include "DataFixture.h"
#include "SpinEdit.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>

namespace {

// A window holding the box and a second control to move the focus to.
struct Window {
    explicit Window(TCustomSpinEdit* edit) : box(edit) {
        auto* layout = new QVBoxLayout(&widget);
        box->setParent(&widget);
        layout->addWidget(box);
        layout->addWidget(other);
        widget.show();
        widget.activateWindow();
        active = QTest::qWaitForWindowActive(&widget);
        other->setFocus(Qt::OtherFocusReason);
    }

    void ClickUp() { Click(box->SpinButton()->TopRect().center()); }
    void ClickDown() { Click(box->SpinButton()->BottomRect().center()); }
    void Click(QPoint at) { QTest::mouseClick(box->SpinButton(), Qt::LeftButton, {}, at); }
    void Focus() { box->setFocus(Qt::TabFocusReason); }
    void Leave() { other->setFocus(Qt::TabFocusReason); }
    void Type(const QString& keys) { QTest::keyClicks(box, keys); }
    void Key(Qt::Key key) { QTest::keyClick(box, key); }

    QWidget widget;
    TCustomSpinEdit* box;
    QLineEdit* other{new QLineEdit(&widget)};
    bool active{false};
};

// --- the generic box

TEST(SpinEdit, BoundsAndChecks) {
    struct Case {
        const char* name;
        std::function<void(TSpinEdit&)> setup;
        double value;
        QString shown;
    };
    const Case cases[] = {
        {"no bounds take any integer", [](TSpinEdit&) {}, -1234, QStringLiteral("-1234")},
        {"0 to 20: above", [](TSpinEdit& b) { b.SetMaxValue(20); }, 25, QStringLiteral("20")},
        {"0 to 20: below", [](TSpinEdit& b) { b.SetMaxValue(20); }, -3, QStringLiteral("0")},
        {"minimum 1 with the maximum check off: no upper limit",
         [](TSpinEdit& b) {
             b.SetMinValue(1);
             b.SetCheckMaxValue(false);
         },
         100000, QStringLiteral("100000")},
        {"minimum 1 with the maximum check off: raised to 1",
         [](TSpinEdit& b) {
             b.SetCheckMaxValue(false);
             b.SetMinValue(1);
         },
         -5, QStringLiteral("1")},
        {"a minimum alone turns the maximum check on as well",
         [](TSpinEdit& b) { b.SetMinValue(1); }, 5, QStringLiteral("0")},
        {"a bound that is not 0 keeps its check on",
         [](TSpinEdit& b) {
             b.SetMaxValue(20);
             b.SetCheckMaxValue(false);
         },
         25, QStringLiteral("20")},
        {"a bound back at 0 takes the checks it turned on away",
         [](TSpinEdit& b) {
             b.SetMaxValue(20);
             b.SetMaxValue(0);
         },
         25, QStringLiteral("25")},
        {"halves round to even (down)", [](TSpinEdit&) {}, 2.5, QStringLiteral("2")},
        {"halves round to even (up)", [](TSpinEdit&) {}, 3.5, QStringLiteral("4")},
        {"float with the system's separator",
         [](TSpinEdit& b) { b.SetValueType(TValueType::Float); }, 1.25, QStringLiteral("1,25")},
        {"hex", [](TSpinEdit& b) { b.SetValueType(TValueType::Hex); }, 255, QStringLiteral("FF")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSpinEdit box;
        c.setup(box);
        box.SetValue(c.value);
        EXPECT_EQ(box.text(), c.shown);
    }
}

TEST(SpinEdit, BoundsSetLaterBringTheValueIntoRange) {
    TSpinEdit box;
    box.SetValue(30);
    box.SetMaxValue(20);
    EXPECT_EQ(box.text(), QStringLiteral("20"));
    EXPECT_TRUE(box.CheckMinValue());
}

TEST(SpinEdit, CharacterTest) {
    struct Case {
        const char* name;
        TValueType type;
        bool editorEnabled;
        QString start;
        QString typed;
        QString shown;
        double value;
    };
    const Case cases[] = {
        {"integer takes digits and signs", TValueType::Integer, true, QString(),
         QStringLiteral("1a2 -x"), QStringLiteral("12-"), 0},
        {"text that does not parse reads as the minimum", TValueType::Integer, true, QString(),
         QStringLiteral("-"), QStringLiteral("-"), 0},
        {"float takes one separator and one exponent, \".\" typed as the separator",
         TValueType::Float, true, QString(), QStringLiteral("1.5,2e3E"), QStringLiteral("1,52e3"),
         1520},
        {"hex takes hex digits", TValueType::Hex, true, QString(), QStringLiteral("1fz"),
         QStringLiteral("1f"), 31},
        {"editor disabled refuses every character", TValueType::Integer, false, QStringLiteral("7"),
         QStringLiteral("12"), QStringLiteral("7"), 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w(new TSpinEdit);
        ASSERT_TRUE(w.active);
        w.box->SetValueType(c.type);
        w.box->SetEditorEnabled(c.editorEnabled);
        w.box->setText(c.start);
        w.Focus();
        w.box->end(false);
        w.Type(c.typed);
        EXPECT_EQ(w.box->text(), c.shown);
        EXPECT_DOUBLE_EQ(w.box->Value(), c.value);
    }
}

TEST(SpinEdit, EditorDisabledRefusesDeletingButSpins) {
    Window w(new TSpinEdit);
    ASSERT_TRUE(w.active);
    w.box->SetEditorEnabled(false);
    w.box->SetValue(5);
    w.Focus();
    w.Key(Qt::Key_Backspace);
    w.box->home(false);
    w.Key(Qt::Key_Delete);
    QTest::keyClick(w.box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.box->text(), QStringLiteral("5"));
    w.Key(Qt::Key_Up);
    w.ClickUp();
    EXPECT_EQ(w.box->text(), QStringLiteral("7"));
}

TEST(SpinEdit, RowHeightBoxStopsAtItsBoundsAndReportsEachChange) {
    Window w(new TSpinEdit);
    ASSERT_TRUE(w.active);
    TCustomSpinEdit& box = *w.box;
    box.SetMaxValue(20);
    box.SetEditorEnabled(false);
    box.SetValue(19);
    QStringList changes;
    int topClicks = 0;
    box.OnChange = [&] { changes << box.text(); };
    box.OnTopClick = [&] { ++topClicks; };

    w.ClickUp();
    w.ClickUp();
    w.Focus();
    w.Key(Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("20"));
    EXPECT_EQ(changes, QStringList{QStringLiteral("20")});
    EXPECT_EQ(topClicks, 3);
    EXPECT_TRUE(box.hasFocus()) << "the buttons give the box the focus";

    box.SetValue(1);
    changes.clear();
    w.Key(Qt::Key_Down);
    w.ClickDown();
    EXPECT_EQ(box.text(), QStringLiteral("0"));
    EXPECT_EQ(changes, QStringList{QStringLiteral("0")});

    box.SetArrowKeys(false);
    w.Key(Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("0"));
}

TEST(SpinEdit, ReadOnlyBoxDoesNotSpin) {
    Window w(new TSpinEdit);
    ASSERT_TRUE(w.active);
    w.box->SetReadOnly(true);
    w.ClickUp();
    w.Focus();
    w.Key(Qt::Key_Up);
    w.Type(QStringLiteral("4"));
    EXPECT_EQ(w.box->text(), QStringLiteral("0"));
}

TEST(SpinEdit, AutoSelectDecidesWhetherEnteringSelectsTheText) {
    for (const bool select : {true, false}) {
        SCOPED_TRACE(select ? "selects" : "does not select");
        Window w(new TSpinEdit);
        ASSERT_TRUE(w.active);
        w.box->SetValue(12);
        w.box->SetAutoSelect(select);
        w.Focus();
        EXPECT_EQ(w.box->selectedText(), select ? QStringLiteral("12") : QString());
    }
}

TEST(SpinEdit, TypedTextOutOfRangeStaysUnlessCheckedOnExit) {
    for (const bool check : {false, true}) {
        SCOPED_TRACE(check ? "checked on exit" : "left as typed");
        Window w(new TSpinEdit);
        ASSERT_TRUE(w.active);
        w.box->SetMaxValue(20);
        w.box->SetCheckOnExit(check);
        w.Focus();
        w.box->selectAll();
        w.Type(QStringLiteral("99"));
        w.Leave();
        EXPECT_EQ(w.box->text(), check ? QStringLiteral("20") : QStringLiteral("99"));
    }
}

// --- the data-aware box against the data module

enum class Column { PageCount, PageNum, Left };

// The case table's steps reach the fixture's parts.
class DBSpinEditTest : public DataFixture {
public:
    using DataFixture::data;

    // One template with one field; the column under test holds `stored`.
    void Open(Column column, const QVariant& stored) {
        column_ = column;
        doc_ = AddTemplate(QStringLiteral("Бланк"), column == Column::PageCount ? stored : 3);
        field_ = Exec(
            QStringLiteral("INSERT INTO Values_ (Document_Id, VarName, PageNum, \"Left\") "
                           "VALUES (?, 'Поле', ?, ?)"),
            {doc_, column == Column::PageNum ? stored : 1, column == Column::Left ? stored : 10});
        OpenModule();
        box = new TDBSpinEdit;
        box->SetFrame(&frame);
        window = std::make_unique<Window>(box);
        ASSERT_TRUE(window->active);
        if (column == Column::PageCount) {
            box->SetDataSource(&data->dsDocument);
            box->SetDataField(QStringLiteral("PageCount"));
        } else {
            box->SetDataSource(&data->dsValues_);
            box->SetDataField(column == Column::PageNum ? QStringLiteral("PageNum")
                                                        : QStringLiteral("Left"));
        }
    }

    TADOTable& Table() { return column_ == Column::PageCount ? data->Document : data->Values_; }
    bool Editing() { return Table().State() != TDataSetState::dsBrowse; }
    // What the window's OK button does.
    void Store() {
        if (Editing())
            Table().Post();
    }
    QVariant Stored() {
        switch (column_) {
            case Column::PageCount:
                return Scalar(
                    QStringLiteral("SELECT PageCount FROM Document WHERE Id = %1").arg(doc_));
            case Column::PageNum:
                return Scalar(
                    QStringLiteral("SELECT PageNum FROM Values_ WHERE Id = %1").arg(field_));
            case Column::Left:
                return Scalar(
                    QStringLiteral("SELECT \"Left\" FROM Values_ WHERE Id = %1").arg(field_));
        }
        return {};
    }

    TDBSpinEdit* box{nullptr};
    std::unique_ptr<Window> window;
    Column column_{Column::PageCount};
    qint64 doc_{0};
    qint64 field_{0};
};

struct SpinCase {
    const char* name;
    Column column;
    QVariant stored;
    std::function<void(TDBSpinEdit&)> configure;
    QString unfocused;  // shown before the box has the focus
    QString focused;    // shown once it has it
    // What the user and the window do while the box has the focus.
    std::function<void(DBSpinEditTest&, Window&)> act;
    QVariant expected;  // the column in the file after leaving the box and storing the row
};

void PrintTo(const SpinCase& c, std::ostream* os) {
    *os << c.name;
}

void PageCountBox(TDBSpinEdit& box) {
    box.SetMinValue(1);
    box.SetCheckMaxValue(false);
}

void PageNumBox(TDBSpinEdit& box) {
    box.SetMinValue(1);
    box.SetMaxValue(2);
}

void Nothing(TDBSpinEdit&) {}

const SpinCase kSpinCases[] = {
    {"NullShowsEmptyAndStaysNull", Column::PageCount, QVariant(), PageCountBox, QString(),
     QString(),
     [](DBSpinEditTest& t, Window&) {
         t.data->Document.Edit();
         QTest::keyClick(t.box, Qt::Key_End);
     },
     QVariant()},
    {"ClearedTextStoresNull", Column::PageCount, 3, PageCountBox, QStringLiteral("3"),
     QStringLiteral("3"),
     [](DBSpinEditTest& t, Window& w) {
         t.data->Document.Edit();
         t.box->selectAll();
         w.Key(Qt::Key_Backspace);
     },
     QVariant()},
    {"LoneMinusStoresTheMinimum", Column::PageCount, 3, PageCountBox, QStringLiteral("3"),
     QStringLiteral("3"),
     [](DBSpinEditTest& t, Window& w) {
         t.box->selectAll();
         w.Type(QStringLiteral("-"));
         EXPECT_TRUE(t.Editing()) << "typing starts editing the row";
     },
     1},
    {"MinimumOneStopsGoingDownButNotUp", Column::PageCount, 2, PageCountBox, QStringLiteral("2"),
     QStringLiteral("2"),
     [](DBSpinEditTest& t, Window& w) {
         for (int i = 0; i < 3; ++i)
             w.ClickDown();
         EXPECT_EQ(t.box->text(), QStringLiteral("1"));
         for (int i = 0; i < 5; ++i)
             w.ClickUp();
         EXPECT_EQ(t.box->text(), QStringLiteral("6"));
     },
     6},
    {"EditorDisabledRefusesTypingButSpins", Column::PageCount, 2,
     [](TDBSpinEdit& box) {
         PageCountBox(box);
         box.SetEditorEnabled(false);
     },
     QStringLiteral("2"), QStringLiteral("2"),
     [](DBSpinEditTest& t, Window& w) {
         w.Type(QStringLiteral("7"));
         w.Key(Qt::Key_Backspace);
         EXPECT_EQ(t.box->text(), QStringLiteral("2"));
         EXPECT_FALSE(t.Editing());
         w.Key(Qt::Key_Up);
         EXPECT_EQ(t.box->text(), QStringLiteral("3"));
     },
     3},
    {"AboveMaximumShownUnchangedUntilFocused", Column::PageNum, 5, PageNumBox, QStringLiteral("5"),
     QStringLiteral("2"), [](DBSpinEditTest& t, Window&) { t.data->Values_.Edit(); }, 5},
    {"AboveMaximumChangesWhenTheUserChangesIt", Column::PageNum, 5, PageNumBox, QStringLiteral("5"),
     QStringLiteral("2"),
     [](DBSpinEditTest& t, Window& w) {
         t.data->Values_.Edit();
         w.Key(Qt::Key_Down);
     },
     1},
    {"NegativeLeftIsStoredAsTyped", Column::Left, 10, Nothing, QStringLiteral("10"),
     QStringLiteral("10"),
     [](DBSpinEditTest& t, Window& w) {
         t.data->Values_.Edit();
         t.box->selectAll();
         w.Type(QStringLiteral("-15"));
     },
     -15},
    {"EscapeReadsTheColumnAgain", Column::PageCount, 4, PageCountBox, QStringLiteral("4"),
     QStringLiteral("4"),
     [](DBSpinEditTest& t, Window& w) {
         t.box->selectAll();
         w.Type(QStringLiteral("9"));
         w.Key(Qt::Key_Escape);
         EXPECT_EQ(t.box->text(), QStringLiteral("4"));
         EXPECT_EQ(t.box->selectedText(), QStringLiteral("4"));
     },
     4},
};

class DBSpinEditCases : public DBSpinEditTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(DBSpinEditCases, EdgeCase) {
    const SpinCase& c = GetParam();
    Open(c.column, c.stored);
    c.configure(*box);
    EXPECT_EQ(box->text(), c.unfocused);
    window->Focus();
    ASSERT_TRUE(box->hasFocus());
    EXPECT_EQ(box->text(), c.focused);
    c.act(*this, *window);
    window->Leave();
    Store();
    const QVariant stored = Stored();
    if (c.expected.isNull())
        EXPECT_TRUE(stored.isNull()) << stored.toString().toStdString();
    else
        EXPECT_EQ(stored.toLongLong(), c.expected.toLongLong());
    EXPECT_TRUE(services.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DBSpinEditCases, ::testing::ValuesIn(kSpinCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(DBSpinEditTest, StoringTheRowWritesWhatIsTyped) {
    Open(Column::PageCount, 2);
    data->Document.Edit();
    window->Focus();
    box->selectAll();
    window->Type(QStringLiteral("7"));
    data->Document.Post();
    EXPECT_EQ(Stored().toInt(), 7);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    EXPECT_TRUE(box->isReadOnly()) << "read-only again once the row is stored";
}

TEST_F(DBSpinEditTest, EnterAndEscapeReachTheDialogEscapeUndoesTheTyping) {
    Open(Column::PageCount, 2);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(box);
    layout->addWidget(ok);
    const auto typeFiveAndPress = [&](Qt::Key key) {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        window->Type(QStringLiteral("5"));
        window->Key(key);
    };

    typeFiveAndPress(Qt::Key_Escape);
    EXPECT_EQ(box->text(), QStringLiteral("2"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    typeFiveAndPress(Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DBSpinEditTest, AFailedWriteKeepsTheFocusAndIsReported) {
    Open(Column::PageCount, 2);
    window->Focus();
    // Set by code while the row is not being edited: the write on leaving is refused.
    box->SetValue(7);
    window->Leave();
    QCoreApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), QStringLiteral("7"));
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Document: таблица не в режиме правки или добавления."));
    EXPECT_EQ(Stored().toInt(), 2);
}

TEST_F(DBSpinEditTest, ReadOnlyExactlyWhileTheRowIsNotEdited) {
    Open(Column::PageCount, 2);
    EXPECT_TRUE(box->isReadOnly());
    data->Document.Edit();
    EXPECT_FALSE(box->isReadOnly());
    data->Document.Cancel();
    EXPECT_TRUE(box->isReadOnly());

    box->SetReadOnly(true);
    window->ClickUp();
    EXPECT_FALSE(Editing()) << "a read-only box does not start editing";
    EXPECT_EQ(box->text(), QStringLiteral("2"));

    // A looked-up column cannot be changed at all.
    box->SetReadOnly(false);
    box->SetDataSource(&data->dsHistoryValue);
    box->SetDataField(QStringLiteral("Left"));
    window->ClickUp();
    EXPECT_EQ(data->HistoryValue.State(), TDataSetState::dsBrowse);
}

TEST_F(DBSpinEditTest, FollowsTheRowAndForgetsADestroyedSource) {
    AddTemplate(QStringLiteral("Первый"), 9);
    Open(Column::PageCount, 2);
    EXPECT_EQ(box->text(), QStringLiteral("9"));
    EXPECT_EQ(box->FieldAlignment(), Qt::AlignRight);
    data->Document.Next();
    EXPECT_EQ(box->text(), QStringLiteral("2"));

    auto source = std::make_unique<TDataSource>(data->Document);
    box->SetDataSource(source.get());
    EXPECT_EQ(box->text(), QStringLiteral("2"));
    source.reset();
    EXPECT_EQ(box->DataSource(), nullptr);
    EXPECT_EQ(box->text(), QString());
}

TEST_F(DBSpinEditTest, ValueTypeFollowsTheColumnUntilSetByHand) {
    Open(Column::PageCount, 2);
    EXPECT_EQ(box->ValueType(), TValueType::Integer);
    box->SetValueType(TValueType::Float);
    EXPECT_FALSE(box->ValueTypeAuto());
    EXPECT_EQ(box->text(), QStringLiteral("2")) << "the column's display text while unfocused";
    box->SetValueTypeAuto(true);
    EXPECT_EQ(box->ValueType(), TValueType::Integer);
}

}  // namespace
