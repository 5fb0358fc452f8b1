#include "DBGrid.h"

#include "DataSource.h"
#include "Field.h"
#include "Table.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <algorithm>

// ---- link to the table ---------------------------------------------------------------------

TGridDataLink::TGridDataLink(QObject* parent) : QObject(parent) {}

void TGridDataLink::SetDataSource(TDataSource* source) {
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &TDataSource::DataSetChanged, this, [this] { Notify(OnDataSetChanged); });
        connect(source_, &TDataSource::DataSetScrolled, this, [this] { Notify(OnScrolled); });
        connect(source_, &TDataSource::RecordChanged, this, [this](TField* field) {
            if (OnRecordChanged)
                OnRecordChanged(field);
        });
        connect(source_, &TDataSource::StateChanged, this, [this] { Notify(OnStateChanged); });
        // The grid must not paint a table that is no longer named by anything.
        connect(source_, &QObject::destroyed, this, [this] {
            source_ = nullptr;
            Notify(OnDataSetChanged);
        });
    }
    Notify(OnDataSetChanged);
}

TADOTable* TGridDataLink::DataSet() const {
    if (!source_)
        return nullptr;
    TADOTable& table = source_->DataSet();
    return table.Active() ? &table : nullptr;
}

void TGridDataLink::Notify(const std::function<void()>& handler) const {
    if (handler)
        handler();
}

// ---- the grid ------------------------------------------------------------------------------

namespace {

constexpr int kIndicatorWidth = 11;
constexpr int kPadding = 2;  // between a cell's edge and its text, on every side
constexpr int kMinColumnWidth = 8;
constexpr int kResizeGrip = 3;

struct TitleParts {
    bool twoLevel{false};
    QString upper;
    QString lower;
};

TitleParts SplitTitle(const TDBGrid::TColumn& column) {
    const QString title = column.Title.isEmpty() ? column.FieldName : column.Title;
    const qsizetype bar = title.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {false, QString(), title};
    return {true, title.left(bar), title.mid(bar + 1)};
}

}  // namespace

TDBGrid::TDBGrid(QWidget* parent) : QAbstractScrollArea(parent), titleFont_(font()) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    link_.OnDataSetChanged = [this] { DataSetChanged(); };
    link_.OnScrolled = [this] { CurrentChanged(); };
    link_.OnRecordChanged = [this](TField*) { viewport()->update(); };
    link_.OnStateChanged = [this] { viewport()->update(); };
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetDataSource(TDataSource* source) {
    link_.SetDataSource(source);
    WatchLookups();
    DataSetChanged();
}

// A lookup column shows rows of another table: their changes repaint the grid as well.
void TDBGrid::WatchLookups() {
    for (const QMetaObject::Connection& connection : lookupConnections_)
        disconnect(connection);
    lookupConnections_.clear();
    const TDataSource* source = link_.DataSource();
    if (!source)
        return;
    std::vector<const TADOTable*> watched;
    for (const TColumn& column : columns_) {
        const TField* field = source->DataSet().FindField(column.FieldName);
        if (!field || field->FieldKind() != TFieldKind::Lookup || !field->LookupDataSet ||
            std::find(watched.begin(), watched.end(), field->LookupDataSet) != watched.end())
            continue;
        watched.push_back(field->LookupDataSet);
        QWidget* view = viewport();
        for (auto signal : {&TADOTable::DataSetChanged, &TADOTable::StateChanged})
            lookupConnections_.push_back(
                connect(field->LookupDataSet, signal, view, [view] { view->update(); }));
        lookupConnections_.push_back(connect(field->LookupDataSet, &TADOTable::RecordChanged, view,
                                             [view] { view->update(); }));
    }
}

int TDBGrid::AddColumn(const TColumn& column) {
    columns_.push_back(column);
    columns_.back().Width = std::max(columns_.back().Width, 0);
    WatchLookups();
    UpdateScrollBars();
    viewport()->update();
    return ColumnCount() - 1;
}

void TDBGrid::SetColumnWidth(int column, int width) {
    columns_.at(column).Width = std::max(width, 0);
    UpdateScrollBars();
    viewport()->update();
}

void TDBGrid::SetColumnAlignment(int column, Qt::Alignment alignment) {
    columns_.at(column).Alignment = alignment;
    viewport()->update();
}

void TDBGrid::SetColumnTitleAlignment(int column, Qt::Alignment alignment) {
    columns_.at(column).TitleAlignment = alignment;
    viewport()->update();
}

void TDBGrid::SetColumnColor(int column, const QColor& color) {
    columns_.at(column).Color = color;
    viewport()->update();
}

void TDBGrid::SetOptions(TGridOptions options) {
    options_ = options;
    UpdateScrollBars();
    ScrollToCurrent();
    viewport()->update();
}

void TDBGrid::SetRowLines(int lines) {
    rowLines_ = std::max(lines, 0);
    UpdateScrollBars();
    ScrollToCurrent();
    viewport()->update();
}

int TDBGrid::RowHeight() const {
    return std::max(rowLines_, 1) * fontMetrics().height() + 2 * kPadding;
}

void TDBGrid::SetFrozenCols(int count) {
    frozenCols_ = std::max(count, 0);
    UpdateScrollBars();
    viewport()->update();
}

void TDBGrid::SetTitleFont(const QFont& font) {
    titleFont_ = font;
    UpdateScrollBars();
    viewport()->update();
}

void TDBGrid::SetTitleColor(const QColor& color) {
    titleColor_ = color;
    viewport()->update();
}

QColor TDBGrid::TitleColor() const {
    return titleColor_.isValid() ? titleColor_ : palette().color(QPalette::ButtonText);
}

void TDBGrid::SetColor(const QColor& color) {
    color_ = color;
    viewport()->update();
}

QColor TDBGrid::Color() const {
    return color_.isValid() ? color_ : palette().color(QPalette::Base);
}

int TDBGrid::RowCount() const {
    const TADOTable* table = Table();
    return table ? table->RowCount() : 0;
}

int TDBGrid::CurrentRow() const {
    const TADOTable* table = Table();
    return table ? table->CurrentRow() : -1;
}

int TDBGrid::TopRow() const {
    return verticalScrollBar()->value();
}

int TDBGrid::VisibleRowCount() const {
    return std::max(1, (viewport()->height() - TitleHeight()) / (RowHeight() + 1));
}

QString TDBGrid::CellText(int column, int row) const {
    const TADOTable* table = Table();
    if (!table || column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount())
        return QString();
    const TField* field = table->FindField(columns_[column].FieldName);
    if (!field)
        return QString();
    QString text = field->DisplayText(row);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

TRowIndicator TDBGrid::Indicator(int row) const {
    const TADOTable* table = Table();
    if (!table || row < 0 || row != table->CurrentRow())
        return TRowIndicator::None;
    switch (table->State()) {
        case TDataSetState::dsEdit:
            return TRowIndicator::Edit;
        case TDataSetState::dsInsert:
            return TRowIndicator::Insert;
        default:
            return TRowIndicator::Current;
    }
}

// ---- geometry ------------------------------------------------------------------------------
// Every column is followed by a one-pixel line and every row by one, drawn or not, so that the
// titles and the cells stay in line whatever the options.

int TDBGrid::Frozen() const {
    return std::clamp(frozenCols_, 0, ColumnCount());
}

int TDBGrid::TitleLevels() const {
    if (!(options_ & TGridOption::Titles))
        return 0;
    for (const TColumn& column : columns_)
        if (SplitTitle(column).twoLevel)
            return 2;
    return 1;
}

int TDBGrid::LevelHeight() const {
    return QFontMetrics(titleFont_).height() + 2 * kPadding;
}

int TDBGrid::TitleHeight() const {
    return TitleLevels() * (LevelHeight() + 1);
}

int TDBGrid::IndicatorRight() const {
    return options_ & TGridOption::Indicator ? kIndicatorWidth + 1 : 0;
}

int TDBGrid::FrozenRight() const {
    int x = IndicatorRight();
    for (int c = 0; c < Frozen(); ++c)
        x += columns_[c].Width + 1;
    return x;
}

int TDBGrid::ColumnLeft(int column) const {
    int x = IndicatorRight();
    int first = 0;
    if (column >= Frozen()) {
        x = FrozenRight() - horizontalScrollBar()->value();
        first = Frozen();
    }
    for (int c = first; c < column; ++c)
        x += columns_[c].Width + 1;
    return x;
}

int TDBGrid::RowTop(int row) const {
    return TitleHeight() + (row - TopRow()) * (RowHeight() + 1);
}

QRect TDBGrid::FrozenArea() const {
    const int top = TitleHeight();
    return QRect(IndicatorRight(), top, FrozenRight() - IndicatorRight(),
                 std::max(0, viewport()->height() - top));
}

QRect TDBGrid::ScrollArea() const {
    const int top = TitleHeight();
    const int left = FrozenRight();
    return QRect(left, top, std::max(0, viewport()->width() - left),
                 std::max(0, viewport()->height() - top));
}

QRect TDBGrid::CellRect(int column, int row) const {
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount() || row < TopRow())
        return QRect();
    const QRect cell(ColumnLeft(column), RowTop(row), columns_[column].Width, RowHeight());
    return cell & (column < Frozen() ? FrozenArea() : ScrollArea());
}

// The last column of the group of two-level titles that shares the upper title with `column`.
int TDBGrid::GroupEnd(int column) const {
    const TitleParts parts = SplitTitle(columns_[column]);
    int last = column;
    while (last + 1 < ColumnCount()) {
        const TitleParts next = SplitTitle(columns_[last + 1]);
        if (!next.twoLevel || next.upper != parts.upper)
            break;
        ++last;
    }
    return last;
}

QRect TDBGrid::TitleRect(int column, int level) const {
    const int levels = TitleLevels();
    if (column < 0 || column >= ColumnCount() || level < 0 || level > 1 || levels == 0)
        return QRect();
    const TitleParts parts = SplitTitle(columns_[column]);
    const int height = LevelHeight();
    const int left = ColumnLeft(column);
    const int width = columns_[column].Width;
    if (levels == 1 || !parts.twoLevel)
        return QRect(left, 0, width, TitleHeight() - 1);
    if (level == 1)
        return QRect(left, height + 1, width, height);
    int first = column;
    while (first > 0) {
        const TitleParts before = SplitTitle(columns_[first - 1]);
        if (!before.twoLevel || before.upper != parts.upper)
            break;
        --first;
    }
    const int last = GroupEnd(first);
    const int groupLeft = ColumnLeft(first);
    return QRect(groupLeft, 0, ColumnLeft(last) + columns_[last].Width - groupLeft, height);
}

QString TDBGrid::TitleText(int column, int level) const {
    if (column < 0 || column >= ColumnCount() || level < 0 || level > 1)
        return QString();
    const TitleParts parts = SplitTitle(columns_[column]);
    if (TitleLevels() == 2 && parts.twoLevel)
        return level == 0 ? parts.upper : parts.lower;
    return parts.twoLevel ? parts.upper + QLatin1Char('|') + parts.lower : parts.lower;
}

int TDBGrid::RowAt(const QPoint& point) const {
    if (!viewport()->rect().contains(point) || point.y() < TitleHeight())
        return -1;
    const int row = TopRow() + (point.y() - TitleHeight()) / (RowHeight() + 1);
    return row < RowCount() ? row : -1;
}

int TDBGrid::ColumnAt(const QPoint& point) const {
    for (int c = 0; c < ColumnCount(); ++c) {
        const QRect area = c < Frozen() ? FrozenArea() : ScrollArea();
        const int left = ColumnLeft(c);
        if (point.x() >= left && point.x() <= left + columns_[c].Width &&
            point.x() >= area.left() && point.x() <= area.right())
            return c;
    }
    return -1;
}

// The column whose title's right edge is under the point, for resizing.
int TDBGrid::ResizeEdgeAt(const QPoint& point) const {
    if (!(options_ & TGridOption::ColumnResize) || point.y() < 0 || point.y() >= TitleHeight())
        return -1;
    int found = -1;
    int best = kResizeGrip + 1;
    for (int c = 0; c < ColumnCount(); ++c) {
        const int edge = ColumnLeft(c) + columns_[c].Width;
        if (c >= Frozen() && edge < FrozenRight())
            continue;  // under the frozen columns
        const int distance = std::abs(point.x() - edge);
        if (distance < best) {
            best = distance;
            found = c;
        }
    }
    return found;
}

QSize TDBGrid::sizeHint() const {
    return QSize(320, 160);
}

// ---- following the table -------------------------------------------------------------------

void TDBGrid::DataSetChanged() {
    UpdateScrollBars();
    ScrollToCurrent();
    viewport()->update();
}

void TDBGrid::CurrentChanged() {
    ScrollToCurrent();
    viewport()->update();
}

void TDBGrid::UpdateScrollBars() {
    const int rows = VisibleRowCount();
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setRange(0, std::max(0, RowCount() - rows));
    int scrolled = 0;
    for (int c = Frozen(); c < ColumnCount(); ++c)
        scrolled += columns_[c].Width + 1;
    const int room = std::max(0, viewport()->width() - FrozenRight());
    horizontalScrollBar()->setPageStep(std::max(1, room));
    horizontalScrollBar()->setRange(0, std::max(0, scrolled - room));
}

void TDBGrid::ScrollToCurrent() {
    const int current = CurrentRow();
    if (current < 0)
        return;
    const int rows = VisibleRowCount();
    if (current < TopRow())
        verticalScrollBar()->setValue(current);
    else if (current >= TopRow() + rows)
        verticalScrollBar()->setValue(current - rows + 1);
}

void TDBGrid::scrollContentsBy(int, int) {
    viewport()->update();
}

void TDBGrid::MoveTo(int row) {
    TADOTable* table = Table();
    if (!table || row < 0 || row == table->CurrentRow())
        return;
    Guard([&] { table->SetRecNo(row + 1); });
    viewport()->update();
}

void TDBGrid::Move(void (TADOTable::*step)()) {
    TADOTable* table = Table();
    if (!table)
        return;
    Guard([&] { (table->*step)(); });
    viewport()->update();
}

// ---- input ---------------------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    const int current = CurrentRow();
    switch (event->key()) {
        case Qt::Key_Up:
            Move(&TADOTable::Prior);
            break;
        case Qt::Key_Down:
            Move(&TADOTable::Next);
            break;
        case Qt::Key_PageUp:
            MoveTo(std::max(0, current - VisibleRowCount()));
            break;
        case Qt::Key_PageDown:
            MoveTo(std::min(RowCount() - 1, current + VisibleRowCount()));
            break;
        case Qt::Key_Home:
            Move(&TADOTable::First);
            break;
        case Qt::Key_End:
            Move(&TADOTable::Last);
            break;
        case Qt::Key_Left:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit EnterPressed();
            if (!isSignalConnected(QMetaMethod::fromSignal(&TDBGrid::EnterPressed)))
                event->ignore();
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            break;
    }
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const int edge = ResizeEdgeAt(point);
    if (edge >= 0) {
        resizing_ = edge;
        resizeStartX_ = point.x();
        resizeStartWidth_ = columns_[edge].Width;
        return;
    }
    const int row = RowAt(point);
    if (row >= 0) {
        selecting_ = true;
        MoveTo(row);
    }
}

void TDBGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (resizing_ >= 0) {
        SetColumnWidth(resizing_,
                       std::max(kMinColumnWidth, resizeStartWidth_ + point.x() - resizeStartX_));
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        MoveTo(RowAt(point));
        return;
    }
    viewport()->setCursor(ResizeEdgeAt(point) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent*) {
    resizing_ = -1;
    selecting_ = false;
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (ResizeEdgeAt(point) >= 0)
        return;
    if (!viewport()->rect().contains(point) || point.y() < TitleHeight())
        return;
    // Below the last row, or in a grid without rows, the click has no row to move to.
    const int row = RowAt(point);
    if (row >= 0)
        MoveTo(row);
    if (row < 0 || CurrentRow() == row)
        emit DoubleClicked();
}

void TDBGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TDBGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    resizing_ = -1;
    selecting_ = false;
    viewport()->update();
}

void TDBGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        UpdateScrollBars();
        viewport()->update();
    }
}

void TDBGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    ScrollToCurrent();
}

// ---- painting ------------------------------------------------------------------------------

void TDBGrid::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Color());
    const int rows = RowCount();
    for (int row = TopRow(); row < rows && RowTop(row) < viewport()->height(); ++row)
        PaintRow(p, row);
    PaintTitles(p);
}

void TDBGrid::PaintRow(QPainter& p, int row) const {
    const int top = RowTop(row);
    const int height = RowHeight();
    const bool lit = row == CurrentRow() && (hasFocus() || options_ & TGridOption::RowHighlight);
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor line = palette().color(QPalette::Mid);
    const int flags = rowLines_ > 1 ? int(Qt::AlignTop | Qt::TextWordWrap)
                                    : int(Qt::AlignVCenter | Qt::TextSingleLine);
    for (int c = 0; c < ColumnCount(); ++c) {
        const TColumn& column = columns_[c];
        const QRect cell(ColumnLeft(c), top, column.Width, height);
        const QRect area = c < Frozen() ? FrozenArea() : ScrollArea();
        if (!cell.adjusted(0, 0, 1, 1).intersects(area))
            continue;
        p.save();
        p.setClipRect(area);
        const QColor background = lit ? palette().color(group, QPalette::Highlight)
                                  : column.Color.isValid() ? column.Color
                                                           : Color();
        p.fillRect(cell.adjusted(0, 0, 1, 1), background);
        p.setPen(palette().color(group, lit ? QPalette::HighlightedText : QPalette::Text));
        p.setClipRect(cell & area);
        p.drawText(cell.adjusted(kPadding, kPadding, -kPadding, -kPadding),
                   flags | int(column.Alignment & Qt::AlignHorizontal_Mask), CellText(c, row));
        p.setClipRect(area);
        p.setPen(line);
        if (options_ & TGridOption::ColLines)
            p.drawLine(cell.right() + 1, top, cell.right() + 1, top + height);
        if (options_ & TGridOption::RowLines)
            p.drawLine(cell.left(), top + height, cell.right() + 1, top + height);
        p.restore();
    }
    if (options_ & TGridOption::Indicator)
        PaintIndicator(p, QRect(0, top, kIndicatorWidth, height), Indicator(row));
}

void TDBGrid::PaintIndicator(QPainter& p, const QRect& cell, TRowIndicator indicator) const {
    p.save();
    p.fillRect(cell.adjusted(0, 0, 1, 1), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
    p.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
    const QColor ink = palette().color(QPalette::ButtonText);
    const int cx = cell.center().x();
    const int cy = cell.top() + std::min(cell.height(), fontMetrics().height() + 2 * kPadding) / 2;
    p.setPen(ink);
    switch (indicator) {
        case TRowIndicator::Current: {
            p.setBrush(ink);
            const QPolygon arrow(
                {QPoint(cx - 2, cy - 4), QPoint(cx + 2, cy), QPoint(cx - 2, cy + 4)});
            p.drawPolygon(arrow);
            break;
        }
        case TRowIndicator::Edit:  // a text cursor
            p.drawLine(cx, cy - 4, cx, cy + 4);
            p.drawLine(cx - 2, cy - 4, cx + 2, cy - 4);
            p.drawLine(cx - 2, cy + 4, cx + 2, cy + 4);
            break;
        case TRowIndicator::Insert:  // an asterisk
            p.drawLine(cx, cy - 4, cx, cy + 4);
            p.drawLine(cx - 3, cy - 2, cx + 3, cy + 2);
            p.drawLine(cx - 3, cy + 2, cx + 3, cy - 2);
            break;
        case TRowIndicator::None:
            break;
    }
    p.restore();
}

void TDBGrid::PaintTitles(QPainter& p) const {
    const int levels = TitleLevels();
    if (levels == 0)
        return;
    const int height = TitleHeight();
    const int width = viewport()->width();
    const QRect frozen(IndicatorRight(), 0, FrozenRight() - IndicatorRight(), height);
    const QRect scrolled(FrozenRight(), 0, std::max(0, width - FrozenRight()), height);
    const QRect both(IndicatorRight(), 0, std::max(0, width - IndicatorRight()), height);
    for (int c = 0; c < ColumnCount(); ++c) {
        const TitleParts parts = SplitTitle(columns_[c]);
        const bool own = levels == 2 && parts.twoLevel;
        PaintTitleBox(p, TitleRect(c, own ? 1 : 0), own ? parts.lower : TitleText(c, 0),
                      columns_[c].TitleAlignment, c < Frozen() ? frozen : scrolled);
    }
    if (levels == 2) {
        for (int c = 0; c < ColumnCount(); ++c) {
            const TitleParts parts = SplitTitle(columns_[c]);
            if (!parts.twoLevel)
                continue;
            const int last = GroupEnd(c);
            QRect box = TitleRect(c, 0);
            QRect clip = last < Frozen() ? frozen : scrolled;
            if (c < Frozen() && last >= Frozen()) {
                // Across the frozen edge: never narrower than its frozen part.
                clip = both;
                box.setRight(std::max(box.right(), FrozenRight() - 2));
            }
            PaintTitleBox(p, box, parts.upper, columns_[c].TitleAlignment, clip);
            c = last;
        }
    }
    if (options_ & TGridOption::Indicator)
        PaintTitleBox(p, QRect(0, 0, kIndicatorWidth, height - 1), QString(), Qt::AlignLeft,
                      QRect(0, 0, IndicatorRight(), height));
}

// The font narrowed, when it must be, so that the whole text fits the width.
QFont TDBGrid::FittingFont(const QFont& font, const QString& text, int width) {
    const int needed = QFontMetrics(font).horizontalAdvance(text);
    if (needed <= width || needed <= 0)
        return font;
    QFont narrow = font;
    for (int stretch = std::max(50, 100 * width / needed); stretch >= 50; stretch -= 2) {
        narrow.setStretch(stretch);
        if (QFontMetrics(narrow).horizontalAdvance(text) <= width)
            break;
    }
    return narrow;
}

void TDBGrid::PaintTitleBox(QPainter& p, const QRect& box, const QString& text,
                            Qt::Alignment alignment, const QRect& clip) const {
    if (!box.adjusted(0, 0, 1, 1).intersects(clip))
        return;
    p.save();
    p.setClipRect(clip);
    p.fillRect(box.adjusted(0, 0, 1, 1), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(box.right() + 1, box.top(), box.right() + 1, box.bottom() + 1);
    p.drawLine(box.left(), box.bottom() + 1, box.right() + 1, box.bottom() + 1);
    if (!text.isEmpty()) {
        p.setClipRect(box & clip);
        const QRect inner = box.adjusted(kPadding, 0, -kPadding, 0);
        p.setFont(FittingFont(titleFont_, text, inner.width()));
        p.setPen(TitleColor());
        p.drawText(
            inner,
            int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine,
            text);
    }
    p.restore();
}
