#include "PageLayout.h"

#include "AppFrame.h"
#include "Data.h"
#include "EditValue.h"
#include "Failure.h"
#include "FailureMessage.h"
#include "Page.h"
#include "PainterCanvas.h"
#include "PreparedPages.h"
#include "ReportBuilder.h"
#include "TemplateWindows.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using LayoutGeometry::FieldMm;
using LayoutGeometry::Grip;

namespace {

// Grey about the sheet, in pixels.
constexpr int kMargin = 12;
constexpr quint32 kDesk = CanvasRgb(128, 128, 128);
constexpr quint32 kFieldInk = CanvasRgb(0, 90, 200);
constexpr quint32 kSelectedInk = CanvasRgb(0, 0, 160);
constexpr quint32 kNameInk = CanvasRgb(110, 110, 110);

Qt::CursorShape CursorFor(Grip grip) {
    switch (grip) {
        case Grip::Left:
        case Grip::Right:
            return Qt::SizeHorCursor;
        case Grip::Top:
        case Grip::Bottom:
            return Qt::SizeVerCursor;
        case Grip::TopLeft:
        case Grip::BottomRight:
            return Qt::SizeFDiagCursor;
        case Grip::TopRight:
        case Grip::BottomLeft:
            return Qt::SizeBDiagCursor;
        case Grip::Move:
            return Qt::SizeAllCursor;
        case Grip::None:
            break;
    }
    return Qt::ArrowCursor;
}

int Mm(const TField& column, int row) {
    const QVariant v = column.ValueAt(row);
    return v.isNull() ? 0 : v.toInt();
}

}  // namespace

// The sheet the window draws on: paints through the window and hands it the mouse and keys.
class TfLayoutSheet : public QWidget {
public:
    explicit TfLayoutSheet(TfPageLayout& owner) : owner_(owner) {
        setObjectName(QStringLiteral("Sheet"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        PainterCanvas canvas(painter);
        owner_.PaintSheet(canvas, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            owner_.Press(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (event->buttons() & Qt::LeftButton) {
            owner_.Drag(p);
            return;
        }
        // The cursor tells what a press would grab.
        Grip grip = Grip::None;
        for (qint64 id : owner_.PageFields()) {
            const Grip g =
                LayoutGeometry::GripAt(owner_.FieldRect(id), id == owner_.SelectedField(), p);
            if (g != Grip::None && (grip == Grip::None || g != Grip::Move))
                grip = g;
        }
        setCursor(CursorFor(grip));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            owner_.Release(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            owner_.DoubleClick(event->position().toPoint());
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!owner_.Key(event->key(), event->modifiers()))
            QWidget::keyPressEvent(event);
    }
    bool focusNextPrevChild(bool) override { return false; }  // Tab walks the fields

private:
    TfPageLayout& owner_;
};

TfPageLayout::TfPageLayout(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
                           QWidget* parent)
    : QDialog(parent),
      frame_(frame),
      data_(dataModule),
      windows_(windows),
      builder_(std::make_unique<TfReportBuilder>(dataModule, report_)) {
    setObjectName(QStringLiteral("fPageLayout"));
    setWindowTitle(QStringLiteral("Разметка страницы"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    report_.ShowProgress = false;

    PageTabs = new QTabBar(this);
    PageTabs->setObjectName(QStringLiteral("PageTabs"));
    PageTabs->setFocusPolicy(Qt::NoFocus);
    PageTabs->setExpanding(false);
    ZoomBox = new QComboBox(this);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    ZoomBox->addItems({QStringLiteral("100%"), QStringLiteral("По ширине страницы"),
                       QStringLiteral("Страница целиком")});
    ZoomBox->setFocusPolicy(Qt::NoFocus);
    auto* zoomLabel = new QLabel(QStringLiteral("Масштаб:"), this);

    actUndo = new QAction(QStringLiteral("Отменить"), this);
    actUndo->setObjectName(QStringLiteral("actUndo"));
    actUndo->setShortcut(QKeySequence::Undo);
    actUndo->setShortcutContext(Qt::WindowShortcut);
    addAction(actUndo);
    auto* undoButton = new QPushButton(QStringLiteral("Отменить (Ctrl+Z)"), this);
    undoButton->setAutoDefault(false);
    undoButton->setFocusPolicy(Qt::NoFocus);
    auto* closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    closeButton->setAutoDefault(false);
    closeButton->setFocusPolicy(Qt::NoFocus);

    Sheet = new TfLayoutSheet(*this);
    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setWidget(Sheet);
    Scroll->setWidgetResizable(false);
    Scroll->setFocusPolicy(Qt::NoFocus);
    Scroll->setAlignment(Qt::AlignCenter);
    // The desk about a small sheet is the one the sheet widget paints.
    QPalette desk = Scroll->palette();
    desk.setColor(QPalette::Dark, CanvasColorToQColor(kDesk));
    Scroll->setPalette(desk);
    Scroll->setBackgroundRole(QPalette::Dark);

    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    Notice = new QLabel(this);
    Notice->setObjectName(QStringLiteral("Notice"));
    Notice->setWordWrap(true);
    QPalette warn = Notice->palette();
    warn.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Notice->setPalette(warn);

    auto* top = new QHBoxLayout;
    top->addWidget(PageTabs, 1);
    top->addWidget(zoomLabel);
    top->addWidget(ZoomBox);
    top->addWidget(undoButton);
    top->addWidget(closeButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Status, 1);
    bottom->addWidget(Notice, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(Scroll, 1);
    layout->addLayout(bottom);

    connect(PageTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            SetPage(index + 1);
    });
    connect(ZoomBox, &QComboBox::activated, this,
            [this](int index) { SetZoomMode(static_cast<ZoomMode>(index)); });
    connect(actUndo, &QAction::triggered, this, [this] { Undo(); });
    connect(undoButton, &QPushButton::clicked, actUndo, &QAction::trigger);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(1000, 760);
}

TfPageLayout::~TfPageLayout() = default;

void TfPageLayout::Execute() {
    if (data_.Document.RecordCount() == 0) {
        frame_.ShowInfo(QStringLiteral("Нет ни одного созданного документа"), QString());
        return;
    }
    if (data_.DocumentPageCount.AsInteger() < 1) {
        frame_.ShowInfo(QStringLiteral("Не определено колличество страниц для документа\r") +
                            data_.DocumentName.AsString(),
                        QString());
        return;
    }
    // The field list's current field is where the user left it when the window closes.
    const QVariant current = data_.Values_.IsEmpty() ? QVariant() : data_.Values_Id.Value();
    undo_.clear();
    selected_ = 0;
    page_ = 1;
    Load();
    if (!current.isNull() && Find(current.toLongLong())) {
        SetPage(Find(current.toLongLong())->page);
        SelectField(current.toLongLong());
    }
    setWindowTitle(QStringLiteral("Разметка страницы — ") + data_.DocumentName.AsString());
    Sheet->setFocus();
    exec();
    if (!current.isNull())
        data_.Values_.LocateRow(QStringLiteral("Id"), {current});
}

void TfPageLayout::Load() {
    document_ = data_.DocumentId.Value().toLongLong();
    pageCount_ = std::max(data_.DocumentPageCount.AsInteger(), 0);
    fields_.clear();
    for (int row = 0; row < data_.Values_.RecordCount(); ++row) {
        const QVariant id = data_.Values_Id.ValueAt(row);
        if (id.isNull())
            continue;
        Field f;
        f.id = id.toLongLong();
        f.name = data_.Values_VarName.ValueAt(row).toString();
        f.page = data_.Values_PageNum.ValueAt(row).toInt();
        f.place = {Mm(data_.Values_Left, row), Mm(data_.Values_Top, row),
                   Mm(data_.Values_Width, row), Mm(data_.Values_Height, row)};
        fields_.push_back(f);
    }

    QHash<int, PagePicture> pictures;
    notice_.clear();
    if (!data_.PageImages.Available()) {
        notice_ = data_.PageImages.Unavailable();
    } else {
        try {
            pictures = data_.PageImages.ReadAll(document_);
        } catch (const Failure& e) {
            notice_ = e.Message();
        }
    }
    pictures_.Reset(pictures);

    PageTabs->blockSignals(true);
    while (PageTabs->count() > 0)
        PageTabs->removeTab(0);
    for (int p = 1; p <= pageCount_; ++p)
        PageTabs->addTab(QStringLiteral("Страница %1").arg(p));
    page_ = std::clamp(page_, 1, std::max(pageCount_, 1));
    PageTabs->setCurrentIndex(page_ - 1);
    PageTabs->blockSignals(false);

    Rebuild();
    Relayout();
    UpdateNotice();
    UpdateStatus();
}

void TfPageLayout::Rebuild() {
    prepared_ = false;
    buildFailure_ = QStringLiteral("Значения полей не показаны: отчет не построен");
    for (Field& f : fields_)
        f.object = -1;
    try {
        builder_->Build();
        report_.ShowProgress = false;
        prepared_ = report_.Prepare();
    } catch (const Failure& e) {
        buildFailure_ = e.Message();
    } catch (const std::exception& e) {
        buildFailure_ = FailureMessage(e);
    }
    if (!prepared_)
        return;
    buildFailure_.clear();

    // The builder adds one object per field that has a value, in the fields' order, and
    // preparation keeps that order on each page; the names make sure of it.
    TfrEMFPages& pages = *report_.PreparedPages;
    QHash<qint64, bool> hasValue;
    const QVariant document = data_.ListDocId.Value();
    for (int row = 0; !document.isNull() && row < data_.HistoryValue.RecordCount(); ++row) {
        const QVariant owner = data_.HistoryValueListDoc_Id.ValueAt(row);
        const QVariant field = data_.HistoryValueValues_Id.ValueAt(row);
        if (!owner.isNull() && !field.isNull() && owner.toLongLong() == document.toLongLong())
            hasValue.insert(field.toLongLong(), true);
    }
    for (int p = 0; p < pages.Count(); ++p) {
        TfrPreparedPage& record = pages.RecordAt(p);
        record.Showing = true;
        pages.LoadPage(p);
        if (!record.LoadedPage)
            continue;
        std::vector<Field*> onPage;
        for (Field& f : fields_) {
            if (f.page == p + 1 && hasValue.contains(f.id))
                onPage.push_back(&f);
        }
        const TfrPage& loaded = *record.LoadedPage;
        if (static_cast<int>(onPage.size()) != loaded.ObjectCount())
            continue;
        bool same = true;
        for (int i = 0; i < loaded.ObjectCount() && same; ++i)
            same = loaded.ObjectAt(i).Name == onPage[static_cast<std::size_t>(i)]->name;
        for (int i = 0; same && i < loaded.ObjectCount(); ++i)
            onPage[static_cast<std::size_t>(i)]->object = i;
    }
}

TfPageLayout::Field* TfPageLayout::Find(qint64 id) {
    for (Field& f : fields_) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

const TfPageLayout::Field* TfPageLayout::Find(qint64 id) const {
    return const_cast<TfPageLayout*>(this)->Find(id);
}

QList<qint64> TfPageLayout::PageFields() const {
    QList<qint64> ids;
    for (const Field& f : fields_) {
        if (f.page == page_)
            ids << f.id;
    }
    return ids;
}

FieldMm TfPageLayout::FieldPlace(qint64 id) const {
    const Field* f = Find(id);
    return f ? f->place : FieldMm{};
}

QSizeF TfPageLayout::SheetUnits() const {
    if (page_ < 1 || page_ > report_.Pages.Count())
        return {};
    const TfrPageMetrics& m = report_.Pages.PageAt(page_ - 1).Metrics;
    return QSizeF(m.SheetWidth, m.SheetHeight);
}

QPoint TfPageLayout::Origin() const {
    return {kMargin, kMargin};
}

QRect TfPageLayout::FieldRect(qint64 id) const {
    const Field* f = Find(id);
    return f ? LayoutGeometry::FieldOnScreen(f->place, Origin(), zoom_) : QRect();
}

void TfPageLayout::SetPage(int page) {
    if (page < 1 || page > pageCount_)
        return;
    page_ = page;
    if (PageTabs->currentIndex() != page - 1)
        PageTabs->setCurrentIndex(page - 1);
    const Field* f = Find(selected_);
    if (!f || f->page != page_)
        selected_ = 0;
    Relayout();
    UpdateStatus();
    UpdateNotice();
}

void TfPageLayout::SetZoomMode(ZoomMode mode) {
    zoomMode_ = mode;
    if (ZoomBox->currentIndex() != mode)
        ZoomBox->setCurrentIndex(mode);
    Relayout();
}

void TfPageLayout::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (zoomMode_ != Zoom100)
        Relayout();
}

void TfPageLayout::Relayout() {
    const QSizeF sheet = SheetUnits();
    const QSize view = Scroll->viewport()->size();
    switch (zoomMode_) {
        case Zoom100:
            zoom_ = 1.0;
            break;
        case ZoomPageWidth:
            zoom_ = LayoutGeometry::PageWidthZoom(
                sheet, view - QSize(Scroll->verticalScrollBar()->sizeHint().width(), 0), kMargin);
            break;
        case ZoomWholePage:
            zoom_ = LayoutGeometry::WholePageZoom(sheet, view, kMargin);
            break;
    }
    Sheet->resize(static_cast<int>(sheet.width() * zoom_) + 2 * kMargin + 2,
                  static_cast<int>(sheet.height() * zoom_) + 2 * kMargin + 2);
    Sheet->update();
}

void TfPageLayout::DecodeLater() {
    if (decodePending_)
        return;
    decodePending_ = true;
    QTimer::singleShot(0, this, [this] {
        decodePending_ = false;
        if (pictures_.Decoded(page_))
            return;
        pictures_.PlacedMm(page_);
        UpdateNotice();
        Sheet->update();
    });
}

QRect TfPageLayout::PictureRect() {
    const QRectF mm = pictures_.PlacedMm(page_);
    if (mm.isEmpty())
        return {};
    const QRectF r = LayoutGeometry::MmOnScreen(mm, Origin(), zoom_);
    return {qRound(r.left()), qRound(r.top()), qRound(r.width()), qRound(r.height())};
}

void TfPageLayout::PaintSheet(Canvas& canvas, const QRect& area) {
    canvas.SaveClip();
    canvas.IntersectClipRect(CanvasRect::FromQRect(area));
    const QSizeF units = SheetUnits();
    const QPoint o = Origin();
    const CanvasRect sheet{o.x(), o.y(), o.x() + static_cast<int>(units.width() * zoom_),
                           o.y() + static_cast<int>(units.height() * zoom_)};

    canvas.SaveClip();
    canvas.ExcludeClipRect(sheet);
    canvas.SetBrush({kDesk, CanvasBrush::Solid});
    canvas.FillRect(CanvasRect::FromQRect(area));
    canvas.RestoreClip();
    canvas.SetBrush({0xFFFFFF, CanvasBrush::Solid});
    canvas.FillRect(sheet);

    canvas.SaveClip();
    canvas.IntersectClipRect(sheet);
    // A picture not decoded yet comes with the next turn of the event loop, so that the window
    // shows its fields at once; a recording wants everything now.
    if (pictures_.Has(page_) && !pictures_.Decoded(page_) && !canvas.IsRecording()) {
        DecodeLater();
    } else if (const QRect r = PictureRect(); !r.isEmpty()) {
        canvas.DrawImage(CanvasRect::FromQRect(r), pictures_.Scaled(page_, r.size()));
    }

    // The values, drawn by the engine from the prepared page at the places held here.
    TfrEMFPages& pages = *report_.PreparedPages;
    if (prepared_ && page_ - 1 < pages.Count()) {
        TfrPreparedPage& record = pages.RecordAt(page_ - 1);
        if (!record.LoadedPage)
            pages.LoadPage(page_ - 1);
        record.Showing = true;
        if (record.LoadedPage) {
            for (const Field& f : fields_) {
                if (f.page != page_ || f.object < 0 || f.object >= record.LoadedPage->ObjectCount())
                    continue;
                TfrView& view = record.LoadedPage->ObjectAt(f.object);
                const QRect u = LayoutGeometry::FieldUnits(f.place);
                view.Left = u.left();
                view.Top = u.top();
                view.Width = u.width();
                view.Height = u.height();
            }
            pages.DrawPage(page_ - 1, canvas, sheet);
        }
    }

    // The rectangles; a field that prints nothing shows its name.
    for (const Field& f : fields_) {
        if (f.page != page_)
            continue;
        const QRect r = FieldRect(f.id);
        const CanvasRect cr = CanvasRect::FromQRect(r);
        if (f.object < 0) {
            CanvasFont font;
            font.face = QStringLiteral("DejaVu Sans");
            font.size = std::max(7, qRound(8 * zoom_));
            font.unit = CanvasFont::Pixels;
            font.color = kNameInk;
            font.style = CanvasFont::Italic;
            canvas.SelectFont(font);
            canvas.DrawText(
                {cr.left + 2, cr.top + 1, cr.right - 2, cr.bottom - 1}, f.name,
                Canvas::TextLeft | Canvas::TextTop | Canvas::TextNoPrefix | Canvas::TextSingleLine);
        }
        canvas.SetBrush({0, CanvasBrush::Clear});
        if (f.id == selected_) {
            canvas.SetPen({kSelectedInk, 1, CanvasPen::Solid});
            canvas.Rectangle(cr);
        } else {
            canvas.SetPen({kFieldInk, 1, CanvasPen::Dot});
            canvas.Rectangle(cr);
        }
    }
    canvas.RestoreClip();

    // Handles of the selected field, also where they stand past the sheet's edge.
    if (const Field* f = Find(selected_); f && f->page == page_) {
        const QRect r = FieldRect(f->id);
        canvas.SetPen({kSelectedInk, 1, CanvasPen::Solid});
        canvas.SetBrush({0xFFFFFF, CanvasBrush::Solid});
        for (Grip g : {Grip::Left, Grip::TopLeft, Grip::Top, Grip::TopRight, Grip::Right,
                       Grip::BottomRight, Grip::Bottom, Grip::BottomLeft})
            canvas.Rectangle(CanvasRect::FromQRect(LayoutGeometry::HandleRect(r, g)));
    }
    canvas.RestoreClip();
}

void TfPageLayout::SelectField(qint64 id) {
    const Field* f = Find(id);
    if (!f)
        id = 0;
    else if (f->page != page_)
        SetPage(f->page);
    const QRect before = Find(selected_) ? FieldRect(selected_) : QRect();
    selected_ = id;
    RepaintField(before, id ? FieldRect(id) : QRect());
    if (id)
        Scroll->ensureVisible(FieldRect(id).center().x(), FieldRect(id).center().y(),
                              FieldRect(id).width() / 2 + 20, FieldRect(id).height() / 2 + 20);
    UpdateStatus();
}

void TfPageLayout::RepaintField(const QRect& before, const QRect& after) {
    // The handles and what the engine draws about a text reach a little past its rectangle.
    const int slack = LayoutGeometry::kHandleSize + 12;
    QRect area = before.adjusted(-slack, -slack, slack, slack);
    if (!after.isNull())
        area = area.united(after.adjusted(-slack, -slack, slack, slack));
    Sheet->update(area);
}

void TfPageLayout::UpdateNotice() {
    QStringList lines;
    if (!notice_.isEmpty())
        lines << notice_;
    if (pictures_.Broken(page_))
        lines << QStringLiteral("Фон страницы %1 не читается и не показан").arg(page_);
    if (!prepared_)
        lines << buildFailure_;
    Notice->setText(lines.join(QLatin1Char('\n')));
}

void TfPageLayout::UpdateStatus() {
    const Field* f = Find(selected_);
    if (!f) {
        Status->setText(QStringLiteral("Полей на странице: %1. Щелкните поле, чтобы выбрать его.")
                            .arg(PageFields().size()));
        return;
    }
    Status->setText(QStringLiteral("«%1»   Слева: %2 мм   Сверху: %3 мм   Ширина: %4 мм   "
                                   "Высота: %5 мм")
                        .arg(f->name)
                        .arg(f->place.left)
                        .arg(f->place.top)
                        .arg(f->place.width)
                        .arg(f->place.height));
}

bool TfPageLayout::Store(Field& field, const FieldMm& place) {
    TADOTable& values = data_.Values_;
    try {
        if (!values.LocateRow(QStringLiteral("Id"), {field.id}))
            throw Failure(QStringLiteral("Поле «%1» не найдено: его удалили?").arg(field.name));
        values.Edit();
        data_.Values_Left.SetAsInteger(place.left);
        data_.Values_Top.SetAsInteger(place.top);
        data_.Values_Width.SetAsInteger(place.width);
        data_.Values_Height.SetAsInteger(place.height);
        values.Post();
        return true;
    } catch (const std::exception& e) {
        if (values.State() == TDataSetState::dsEdit || values.State() == TDataSetState::dsInsert)
            values.Cancel();
        frame_.ShowError(FailureMessage(e));
    }
    return false;
}

void TfPageLayout::Commit(Field& field, const FieldMm& place, bool undoable) {
    const FieldMm before = pressPlace_;
    const QRect shown = FieldRect(field.id);
    if (!Store(field, place)) {
        field.place = before;
        RepaintField(shown, FieldRect(field.id));
        UpdateStatus();
        return;
    }
    const bool resized = place.width != before.width || place.height != before.height;
    field.place = place;
    if (undoable)
        undo_.push_back({field.id, before, place});
    // A new size breaks the lines anew; a move only shifts them.
    if (resized) {
        const qint64 keep = selected_;
        Rebuild();
        selected_ = keep;
        UpdateNotice();
        Sheet->update();
    } else {
        RepaintField(shown, FieldRect(field.id));
    }
    UpdateStatus();
}

void TfPageLayout::MoveSelected(int dx, int dy) {
    Field* f = Find(selected_);
    if (!f)
        return;
    pressPlace_ = f->place;
    FieldMm place = f->place;
    place.left += dx;
    place.top += dy;
    Commit(*f, place);
}

void TfPageLayout::ResizeSelected(int dw, int dh) {
    Field* f = Find(selected_);
    if (!f)
        return;
    pressPlace_ = f->place;
    FieldMm place = f->place;
    place.width = std::max(place.width + dw, 1);
    place.height = std::max(place.height + dh, 1);
    if (place == f->place)
        return;
    Commit(*f, place);
}

void TfPageLayout::Undo() {
    if (undo_.empty())
        return;
    const Change change = undo_.back();
    Field* f = Find(change.id);
    if (!f) {
        undo_.pop_back();
        return;
    }
    if (f->page != page_)
        SetPage(f->page);
    selected_ = f->id;
    pressPlace_ = f->place;
    const std::size_t depth = undo_.size();
    Commit(*f, change.before, false);
    if (f->place == change.before && undo_.size() == depth)
        undo_.pop_back();
}

void TfPageLayout::EditSelected() {
    Field* f = Find(selected_);
    if (!f || !windows_.fEditValue)
        return;
    const qint64 id = f->id;
    if (!data_.Values_.LocateRow(QStringLiteral("Id"), {id}))
        return;
    data_.Values_.Edit();
    windows_.fEditValue->SetMaxPage(data_.DocumentPageCount.AsInteger());
    windows_.fEditValue->ShowModal();
    // The editor may have changed anything, the page and the font among them.
    Load();
    if (Find(id)) {
        SetPage(Find(id)->page);
        SelectField(id);
    }
}

void TfPageLayout::Press(QPoint point) {
    grip_ = Grip::None;
    // The selected field's handles first, then the topmost field under the point.
    qint64 hit = 0;
    if (const Field* f = Find(selected_); f && f->page == page_) {
        const Grip g = LayoutGeometry::GripAt(FieldRect(f->id), true, point);
        if (g != Grip::None) {
            hit = f->id;
            grip_ = g;
        }
    }
    if (!hit) {
        const QList<qint64> ids = PageFields();
        for (auto it = ids.crbegin(); it != ids.crend(); ++it) {
            if (FieldRect(*it).contains(point)) {
                hit = *it;
                grip_ = Grip::Move;
                break;
            }
        }
    }
    SelectField(hit);
    if (hit) {
        pressPoint_ = point;
        pressPlace_ = Find(hit)->place;
    }
    Sheet->setFocus();
}

void TfPageLayout::Drag(QPoint point) {
    Field* f = Find(selected_);
    if (!f || grip_ == Grip::None)
        return;
    const FieldMm place = LayoutGeometry::Dragged(pressPlace_, grip_, point - pressPoint_, zoom_);
    if (place == f->place)
        return;
    const QRect before = FieldRect(f->id);
    f->place = place;
    RepaintField(before, FieldRect(f->id));
    UpdateStatus();
}

void TfPageLayout::Release(QPoint point) {
    Field* f = Find(selected_);
    if (f && grip_ != Grip::None) {
        Drag(point);
        if (!(f->place == pressPlace_))
            Commit(*f, f->place);
    }
    grip_ = Grip::None;
}

void TfPageLayout::DoubleClick(QPoint point) {
    Press(point);
    grip_ = Grip::None;
    if (selected_)
        EditSelected();
}

bool TfPageLayout::Key(int key, Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
        case Qt::Key_Left:
            shift ? ResizeSelected(-1, 0) : MoveSelected(-1, 0);
            return true;
        case Qt::Key_Right:
            shift ? ResizeSelected(1, 0) : MoveSelected(1, 0);
            return true;
        case Qt::Key_Up:
            shift ? ResizeSelected(0, -1) : MoveSelected(0, -1);
            return true;
        case Qt::Key_Down:
            shift ? ResizeSelected(0, 1) : MoveSelected(0, 1);
            return true;
        case Qt::Key_PageUp:
            SetPage(page_ - 1);
            return true;
        case Qt::Key_PageDown:
            SetPage(page_ + 1);
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const QList<qint64> ids = PageFields();
            if (ids.isEmpty())
                return true;
            const int at = ids.indexOf(selected_);
            const int step = key == Qt::Key_Backtab || shift ? -1 : 1;
            const int next = at < 0 ? 0 : (at + step + ids.size()) % ids.size();
            SelectField(ids[next]);
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EditSelected();
            return true;
        default:
            break;
    }
    return false;
}
