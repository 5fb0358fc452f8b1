#pragma once

#include "DBErrors.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QPainter;
class TADOTable;
class TDataSource;
class TField;

// Binds a grid to a whole table: it calls back when the rows, the current row, a value of the
// current row or the state change.
class TGridDataLink : public QObject {
    Q_OBJECT
public:
    explicit TGridDataLink(QObject* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return source_; }
    // The table while the source is there and the table is open; nullptr otherwise.
    TADOTable* DataSet() const;

    std::function<void()> OnDataSetChanged;        // rows read again, added or removed
    std::function<void()> OnScrolled;              // another row became current
    std::function<void(TField*)> OnRecordChanged;  // a value of the current row was set
    std::function<void()> OnStateChanged;          // browse, edit or insert

private:
    void Notify(const std::function<void()>& handler) const;

    QPointer<TDataSource> source_;
};

enum class TGridOption {
    Titles = 0x01,        // the title rows
    Indicator = 0x02,     // the narrow first column marking the current row and its state
    ColumnResize = 0x04,  // column widths follow a drag of a title's right edge
    ColLines = 0x08,      // lines between columns
    RowLines = 0x10,      // lines between rows
    RowHighlight = 0x20,  // the current row stays highlighted while the grid has no focus
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// What the indicator column shows beside a row.
enum class TRowIndicator { None, Current, Edit, Insert };

// A read-only grid over the rows of a table. The rows are read from the cursor when painted
// (nothing is copied); the selection is always the table's current row, a whole row. The client
// area is the viewport: titles, the indicator column and the cells are all painted there.
class TDBGrid : public QAbstractScrollArea, public TFailureSink {
    Q_OBJECT
public:
    struct TColumn {
        QString FieldName{};
        // "Upper|Lower": a two-level title; neighbours with the same upper text share one
        // upper title. Empty: the field name.
        QString Title{};
        int Width{64};
        Qt::Alignment Alignment{Qt::AlignLeft};
        Qt::Alignment TitleAlignment{Qt::AlignLeft};
        QColor Color{};  // background of the cells; invalid: the grid's
    };

    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return link_.DataSource(); }

    // Returns the new column's index.
    int AddColumn(const TColumn& column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const TColumn& Column(int column) const { return columns_.at(column); }
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const { return columns_.at(column).Width; }
    void SetColumnAlignment(int column, Qt::Alignment alignment);
    void SetColumnTitleAlignment(int column, Qt::Alignment alignment);
    void SetColumnColor(int column, const QColor& color);

    void SetOptions(TGridOptions options);
    TGridOptions Options() const { return options_; }
    // Text lines per row; a row is lines × text height + padding high (0 counts as 1 line).
    void SetRowLines(int lines);
    int RowLines() const { return rowLines_; }
    int RowHeight() const;
    // The first `count` columns do not scroll horizontally.
    void SetFrozenCols(int count);
    int FrozenCols() const { return frozenCols_; }
    void SetTitleFont(const QFont& font);
    const QFont& TitleFont() const { return titleFont_; }
    void SetTitleColor(const QColor& color);  // text colour of the titles
    QColor TitleColor() const;
    void SetColor(const QColor& color);  // background of the cells
    QColor Color() const;

    // Rows of the view, an inserted row included, and the current one (-1: none).
    int RowCount() const;
    int CurrentRow() const;
    // The first row in view and the number of rows wholly in view.
    int TopRow() const;
    int VisibleRowCount() const;

    QString CellText(int column, int row) const;
    TRowIndicator Indicator(int row) const;

    // The part of a cell in view, in client coordinates; empty when none of it is.
    QRect CellRect(int column, int row) const;
    // Level 0 is the upper title, which a two-level column shares with its group; level 1 the
    // column's own. A one-level title answers both with its whole rectangle.
    QRect TitleRect(int column, int level) const;
    QString TitleText(int column, int level) const;
    // The data row and column at a client point; -1 outside the cells.
    int RowAt(const QPoint& point) const;
    int ColumnAt(const QPoint& point) const;

    QSize sizeHint() const override;

signals:
    // Enter in the grid. When nothing is connected the key goes on to the window (so a dialog's
    // default button takes it).
    void EnterPressed();
    // A double click on a row, after the row became current.
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    TADOTable* Table() const { return link_.DataSet(); }
    int Frozen() const;
    int TitleLevels() const;
    int LevelHeight() const;
    int TitleHeight() const;
    int IndicatorRight() const;
    int FrozenRight() const;
    int ColumnLeft(int column) const;
    int RowTop(int row) const;
    QRect FrozenArea() const;
    QRect ScrollArea() const;
    int GroupEnd(int column) const;
    int ResizeEdgeAt(const QPoint& point) const;
    void WatchLookups();

    void DataSetChanged();
    void CurrentChanged();
    void UpdateScrollBars();
    void ScrollToCurrent();
    void MoveTo(int row);
    void Move(void (TADOTable::*step)());

    void PaintRow(QPainter& p, int row) const;
    void PaintIndicator(QPainter& p, const QRect& cell, TRowIndicator indicator) const;
    void PaintTitles(QPainter& p) const;
    static QFont FittingFont(const QFont& font, const QString& text, int width);
    void PaintTitleBox(QPainter& p, const QRect& box, const QString& text, Qt::Alignment alignment,
                       const QRect& clip) const;

    TGridDataLink link_;
    std::vector<TColumn> columns_;
    TGridOptions options_{TGridOption::Titles | TGridOption::Indicator | TGridOption::ColumnResize |
                          TGridOption::ColLines | TGridOption::RowLines};
    int rowLines_{1};
    int frozenCols_{0};
    QFont titleFont_;
    QColor titleColor_;
    QColor color_;
    int resizing_{-1};  // the column whose width a drag changes
    int resizeStartX_{0};
    int resizeStartWidth_{0};
    bool selecting_{false};  // the left button went down on a row
    std::vector<QMetaObject::Connection> lookupConnections_;
};
