#include "DBGrid.h"
#include "DataFixture.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

using TColumn = TDBGrid::TColumn;

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints{0};

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class DBGrid : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        first = AddTemplate(QStringLiteral("Первый"));
        second = AddTemplate(QStringLiteral("Второй"));
        AddField(first, QStringLiteral("Адрес"), QStringLiteral("ул. Ленина"));
        AddField(first, QStringLiteral("Имя"), QStringLiteral("Иван"));
        for (int i = 0; i < 3; ++i)
            AddField(second, QStringLiteral("Поле %1").arg(i), QString::number(i));
        for (int i = 3; i <= 30; ++i)
            AddTemplate(QStringLiteral("Шаблон %1").arg(i, 2, 10, QLatin1Char('0')));
        OpenModule();
    }

    // A grid on the templates, shown and active, about ten rows high.
    void ShowOnTemplates() {
        grid.AddColumn({.FieldName = QStringLiteral("Name"),
                        .Title = QStringLiteral("Наименование документа"),
                        .Width = 200});
        grid.SetDataSource(&data->dsDocument);
        grid.resize(300, 12 * (grid.RowHeight() + 1));
        Show(grid);
    }

    static void Show(QWidget& window) {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QImage Painted() { return grid.viewport()->grab().toImage(); }

    void Click(int row, int column = 0) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(column, row).center());
    }

    qint64 first{0}, second{0};
    TDBGrid grid;
    QStringList errors;
};

TEST_F(DBGrid, TheSharedUpperTitleSpansItsColumns) {
    grid.AddColumn({.FieldName = QStringLiteral("VarName"),
                    .Title = QStringLiteral("Поле|Наименование"),
                    .Width = 60});
    grid.AddColumn({.FieldName = QStringLiteral("VarValue"),
                    .Title = QStringLiteral("Поле|Значение для печати"),
                    .Width = 200});
    grid.AddColumn(
        {.FieldName = QStringLiteral("PageNum"), .Title = QStringLiteral("№ стр."), .Width = 41});
    grid.SetDataSource(&data->dsValues_);
    grid.resize(400, 200);
    Show(grid);

    const QRect upper = grid.TitleRect(0, 0);
    EXPECT_EQ(grid.TitleRect(1, 0), upper);
    EXPECT_EQ(upper.left(), grid.TitleRect(0, 1).left());
    EXPECT_EQ(upper.right(), grid.TitleRect(1, 1).right());
    EXPECT_EQ(grid.TitleRect(0, 1).top(), upper.bottom() + 2);
    EXPECT_EQ(grid.TitleText(0, 0), QStringLiteral("Поле"));
    EXPECT_EQ(grid.TitleText(1, 1), QStringLiteral("Значение для печати"));
    // A one-level title beside them fills both levels.
    EXPECT_EQ(grid.TitleRect(2, 0), grid.TitleRect(2, 1));
    EXPECT_EQ(grid.TitleRect(2, 0).bottom(), grid.TitleRect(1, 1).bottom());
    EXPECT_EQ(grid.TitleText(2, 1), QStringLiteral("№ стр."));
    EXPECT_LT(grid.TitleRect(1, 1).bottom(), grid.CellRect(0, 0).top());

    // The line between the two columns stops below the shared title.
    const QImage image = Painted();
    const int between = grid.TitleRect(0, 1).right() + 1;
    const QColor face = grid.palette().color(QPalette::Button);
    EXPECT_EQ(image.pixelColor(between, upper.center().y()), face);
    EXPECT_NE(image.pixelColor(between, grid.TitleRect(0, 1).center().y()), face);

    // Neighbours with another upper text do not share it; without any "|" there is one level.
    TDBGrid other;
    other.AddColumn({.FieldName = QStringLiteral("VarName"), .Title = QStringLiteral("А|x")});
    other.AddColumn({.FieldName = QStringLiteral("VarValue"), .Title = QStringLiteral("Б|y")});
    EXPECT_NE(other.TitleRect(0, 0), other.TitleRect(1, 0));
    TDBGrid plain;
    plain.AddColumn({.FieldName = QStringLiteral("VarName"), .Title = QStringLiteral("А")});
    EXPECT_LT(plain.TitleRect(0, 0).height(), other.TitleRect(0, 0).height() * 2);
    EXPECT_EQ(plain.TitleText(0, 0), QStringLiteral("А"));
}

TEST_F(DBGrid, LinesPerRowSetTheRowHeightAtRunTime) {
    ShowOnTemplates();
    const int line = grid.fontMetrics().height();
    struct Case {
        int lines;
        int textLines;
    };
    int rowsInView = 1000;
    for (const Case& c : {Case{1, 1}, Case{3, 3}, Case{0, 1}, Case{20, 20}}) {
        SCOPED_TRACE(c.lines);
        grid.SetRowLines(c.lines);
        EXPECT_EQ(grid.RowLines(), c.lines);
        EXPECT_EQ(grid.RowHeight(), c.textLines * line + 4);
        EXPECT_EQ(
            grid.CellRect(0, 0).height(),
            std::min(grid.RowHeight(), grid.viewport()->height() - grid.CellRect(0, 0).top()));
        if (grid.VisibleRowCount() > 1) {
            EXPECT_EQ(grid.CellRect(0, 1).top() - grid.CellRect(0, 0).top(), grid.RowHeight() + 1);
        }
        if (c.textLines > 1) {
            EXPECT_LT(grid.VisibleRowCount(), rowsInView);
        }
        rowsInView = grid.VisibleRowCount();
    }
}

TEST_F(DBGrid, TheFrozenColumnDoesNotScroll) {
    grid.AddColumn({.FieldName = QStringLiteral("Id"), .Width = 120, .Color = Qt::yellow});
    grid.AddColumn({.FieldName = QStringLiteral("Name"), .Width = 400, .Color = Qt::cyan});
    grid.AddColumn({.FieldName = QStringLiteral("PageCount"), .Width = 300, .Color = Qt::cyan});
    grid.SetFrozenCols(1);
    grid.SetDataSource(&data->dsDocument);
    grid.resize(600, 200);
    Show(grid);

    const QRect frozen = grid.CellRect(0, 1);
    const QRect frozenTitle = grid.TitleRect(0, 0);
    const QRect last = grid.CellRect(2, 1);
    ASSERT_GT(grid.horizontalScrollBar()->maximum(), 100);
    grid.horizontalScrollBar()->setValue(100);
    EXPECT_EQ(grid.CellRect(0, 1), frozen);
    EXPECT_EQ(grid.TitleRect(0, 0), frozenTitle);
    // The column scrolled under it is neither reported nor painted over it.
    EXPECT_EQ(grid.CellRect(1, 1).left(), frozen.right() + 2);
    EXPECT_EQ(grid.CellRect(1, 1).width(), 300);
    EXPECT_EQ(Painted().pixelColor(frozen.right() - 2, frozen.center().y()), QColor(Qt::yellow));

    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    EXPECT_EQ(grid.CellRect(0, 1), frozen);
    EXPECT_LT(grid.CellRect(2, 1).left(), last.left());
    EXPECT_EQ(grid.CellRect(2, 1).right(), grid.viewport()->width() - 2);

    grid.SetFrozenCols(0);
    EXPECT_TRUE(grid.CellRect(0, 1).isEmpty());
}

TEST_F(DBGrid, ClicksAndKeysMoveTheCursor) {
    ShowOnTemplates();
    Click(2);
    EXPECT_EQ(data->Document.RecNo(), 3);
    EXPECT_TRUE(grid.hasFocus());
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(data->Document.RecNo(), 4);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(data->Document.RecNo(), 2);
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(data->Document.RecNo(), 30);
    EXPECT_GT(grid.TopRow(), 0);
    EXPECT_FALSE(grid.CellRect(0, 29).isEmpty());
    EXPECT_TRUE(grid.CellRect(0, 0).isEmpty());
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(data->Document.RecNo(), 1);
    EXPECT_EQ(grid.TopRow(), 0);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(data->Document.RecNo(), 1 + grid.VisibleRowCount());

    // Dragging with the button down follows the pointer.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {},
                      grid.CellRect(0, grid.TopRow()).center());
    QTest::mouseMove(grid.viewport(), grid.CellRect(0, grid.TopRow() + 2).center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {},
                        grid.CellRect(0, grid.TopRow() + 2).center());
    EXPECT_EQ(data->Document.RecNo(), grid.TopRow() + 3);

    // Below the last row nothing moves.
    data->Document.First();
    grid.resize(300, 40 * (grid.RowHeight() + 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint(20, grid.CellRect(0, 29).bottom() + 10));
    EXPECT_EQ(data->Document.RecNo(), 1);
}

TEST_F(DBGrid, TheCursorMovesAndRepaintsTheGrid) {
    ShowOnTemplates();
    grid.SetOptions(grid.Options() | TGridOption::RowHighlight);
    grid.clearFocus();
    const QColor lit = grid.palette().color(QPalette::Inactive, QPalette::Highlight);
    auto litAt = [&](int row) {
        const QRect cell = grid.CellRect(0, row);
        return Painted().pixelColor(cell.right() - 2, cell.center().y()) == lit;
    };

    data->Document.SetRecNo(25);
    EXPECT_FALSE(grid.CellRect(0, 24).isEmpty());
    EXPECT_TRUE(litAt(24));
    data->Document.Next();
    EXPECT_FALSE(grid.CellRect(0, 25).isEmpty());
    EXPECT_TRUE(litAt(25));
    EXPECT_FALSE(litAt(24));
    EXPECT_EQ(grid.Indicator(25), TRowIndicator::Current);
    EXPECT_EQ(grid.Indicator(24), TRowIndicator::None);
    EXPECT_EQ(grid.CellText(0, 25), QStringLiteral("Шаблон 26"));

    // Without the option an unfocused grid shows no highlight.
    grid.SetOptions(grid.Options() & ~TGridOptions(TGridOption::RowHighlight));
    EXPECT_FALSE(litAt(25));
}

TEST_F(DBGrid, AMasterChangeShowsTheDetailRows) {
    grid.AddColumn({.FieldName = QStringLiteral("VarName"), .Width = 120});
    grid.AddColumn({.FieldName = QStringLiteral("VarValue"), .Width = 120});
    grid.SetDataSource(&data->dsValues_);
    grid.resize(300, 200);
    Show(grid);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("ул. Ленина"));
    Click(1);
    EXPECT_EQ(data->Values_.RecNo(), 2);

    data->Document.Next();
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.CurrentRow(), 0);
    EXPECT_EQ(grid.CellText(0, 2), QStringLiteral("Поле 2"));
    EXPECT_FALSE(grid.CellRect(1, 2).isEmpty());
    data->Document.SetRecNo(5);  // a template without fields
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_TRUE(grid.CellRect(0, 0).isEmpty());
    EXPECT_EQ(grid.Indicator(0), TRowIndicator::None);
    data->Document.Close();
    EXPECT_EQ(grid.RowCount(), 0);
}

TEST_F(DBGrid, ChangesOfTheTableAndOfALookedUpTableRepaint) {
    data->ListDoc.Append();
    data->ListDocDescript.SetAsString(QStringLiteral("Письмо"));
    data->ListDoc.Post();
    data->RefreshFields();
    grid.AddColumn({.FieldName = QStringLiteral("VarName"), .Width = 120});
    grid.AddColumn({.FieldName = QStringLiteral("Value"), .Width = 120});
    grid.SetDataSource(&data->dsHistoryValue);
    grid.resize(300, 200);
    Show(grid);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("Адрес"));
    PaintCounter counter(grid.viewport());
    QCoreApplication::processEvents();
    counter.paints = 0;
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);

    // The field behind a value is renamed: the lookup column shows it.
    data->Values_.Edit();
    data->Values_VarName.SetAsString(QStringLiteral("Город"));
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    data->Values_.Post();
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("Город"));

    counter.paints = 0;
    data->HistoryValue.Next();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    counter.paints = 0;
    data->Document.Next();  // the template has no document for printing
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(grid.RowCount(), 0);
}

TEST_F(DBGrid, TheIndicatorShowsEditAndInsert) {
    ShowOnTemplates();
    data->Document.SetRecNo(2);
    EXPECT_EQ(grid.Indicator(1), TRowIndicator::Current);
    data->Document.Edit();
    EXPECT_EQ(grid.Indicator(1), TRowIndicator::Edit);
    data->DocumentName.SetAsString(QStringLiteral("Правка"));
    EXPECT_EQ(grid.CellText(0, 1), QStringLiteral("Правка"));
    data->Document.Cancel();
    EXPECT_EQ(grid.CellText(0, 1), QStringLiteral("Второй"));
    data->Document.Append();
    EXPECT_EQ(grid.RowCount(), 31);
    EXPECT_EQ(grid.Indicator(30), TRowIndicator::Insert);
    EXPECT_FALSE(grid.CellRect(0, 30).isEmpty());
    data->Document.Cancel();
    EXPECT_EQ(grid.RowCount(), 30);
    EXPECT_EQ(grid.Indicator(1), TRowIndicator::Current);
}

// A title wider than its column is narrowed to fit, not cut: the last character stays.
TEST_F(DBGrid, ANarrowColumnShowsItsWholeTitle) {
    grid.AddColumn(
        {.FieldName = QStringLiteral("VarName"), .Title = QStringLiteral("Имя"), .Width = 100});
    grid.AddColumn(
        {.FieldName = QStringLiteral("PageNum"), .Title = QStringLiteral("№ стр."), .Width = 41});
    grid.SetTitleColor(Qt::red);
    // The desktop's default size under a window manager: wider than the column.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    grid.SetTitleFont(font);
    grid.SetDataSource(&data->dsValues_);
    grid.resize(300, 150);
    Show(grid);
    const QImage image = Painted();
    const QRect box = grid.TitleRect(1, 0);
    const auto inked = [&](int x) {
        for (int y = box.top() + 1; y < box.bottom(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > c.green() + 60)
                return true;
        }
        return false;
    };
    // The text is drawn and ends before the padding: a cut text runs into its last column.
    bool any = false;
    for (int x = box.left(); x <= box.right(); ++x)
        any = any || inked(x);
    EXPECT_TRUE(any);
    EXPECT_FALSE(inked(box.right() - 2));
}

TEST_F(DBGrid, EnterAndDoubleClickAreSignalled) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* inDialog = new TDBGrid(&dialog);
    inDialog->AddColumn({.FieldName = QStringLiteral("Name"), .Width = 200});
    inDialog->SetDataSource(&data->dsDocument);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    layout->addWidget(inDialog);
    layout->addWidget(ok);
    dialog.resize(300, 300);
    Show(dialog);
    inDialog->setFocus();
    QSignalSpy okClicks(ok, &QPushButton::clicked);

    // Nobody listens: Enter presses the window's default button.
    QTest::keyClick(inDialog, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 1);

    QSignalSpy enters(inDialog, &TDBGrid::EnterPressed);
    QSignalSpy doubles(inDialog, &TDBGrid::DoubleClicked);
    QTest::keyClick(inDialog, Qt::Key_Return);
    QTest::keyClick(inDialog, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(okClicks.count(), 1);

    QTest::mouseDClick(inDialog->viewport(), Qt::LeftButton, {}, inDialog->CellRect(0, 3).center());
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(data->Document.RecNo(), 4);
    QTest::mouseDClick(inDialog->viewport(), Qt::LeftButton, {},
                       inDialog->TitleRect(0, 0).center());
    EXPECT_EQ(doubles.count(), 1);
}

TEST_F(DBGrid, ARefusedPostWhileMovingIsReportedNotRaised) {
    ShowOnTemplates();
    grid.OnError = [&](const QString& message) { errors << message; };
    data->Document.Edit();
    data->DocumentName.SetAsString(QString(101, QLatin1Char('x')));  // longer than the column

    Click(4);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(errors[0].isEmpty());
    EXPECT_EQ(data->Document.State(), TDataSetState::dsEdit);
    EXPECT_EQ(data->Document.RecNo(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(grid.Indicator(0), TRowIndicator::Edit);

    // Without a handler the frame's standard error box shows it.
    grid.OnError = nullptr;
    grid.SetFrame(&frame);
    QTest::keyClick(&grid, Qt::Key_End);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].caption, frame.Title);
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(services.boxes[0].text, ErrorBoxText(errors[0]));
    EXPECT_EQ(data->Document.RecNo(), 1);
}

TEST_F(DBGrid, DraggingATitleEdgeResizesTheColumn) {
    ShowOnTemplates();
    const QRect title = grid.TitleRect(0, 0);
    const QPoint edge(title.right() + 1, title.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(grid.viewport(), edge + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(grid.ColumnWidth(0), 230);
    EXPECT_EQ(grid.CellRect(0, 0).width(), 230);
    EXPECT_EQ(data->Document.RecNo(), 1);

    grid.SetOptions(grid.Options() & ~TGridOptions(TGridOption::ColumnResize));
    const QPoint moved(grid.TitleRect(0, 0).right() + 1, title.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, moved);
    QTest::mouseMove(grid.viewport(), moved + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, moved + QPoint(30, 0));
    EXPECT_EQ(grid.ColumnWidth(0), 230);
}

}  // namespace
