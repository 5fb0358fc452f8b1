#include "PaintBox.h"

#include "Page.h"
#include "PainterCanvas.h"
#include "PreparedPages.h"
#include "PreviewView.h"
#include "Rounding.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TfrPBox::TfrPBox(TfrPreviewView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TfrPBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PainterCanvas canvas(painter);
    canvas.IntersectClipRect(CanvasRect::FromQRect(event->rect()));
    view_.PaintPages(canvas);
}

int TfrPBox::PageAt(QPoint point, QPoint& inPage) const {
    const TfrEMFPages* pages = view_.ShownPages();
    const QPoint p(point.x() - view_.OriginX(), point.y() - view_.OriginY());
    int found = -1;
    // The last page holding the point wins, as overlapping rectangles are searched in order.
    for (int i = 0; pages && i < pages->Count(); ++i) {
        const CanvasRect& r = pages->RecordAt(i).ViewRect;
        if (p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom) {
            found = i;
            inPage = QPoint(frRound((p.x() - r.left) / view_.Scale()),
                            frRound((p.y() - r.top) / view_.Scale()));
        }
    }
    return found;
}

void TfrPBox::mousePressEvent(QMouseEvent* event) {
    if (view_.PageCount() == 0)
        return;
    if (skipNextPress_) {
        skipNextPress_ = false;
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        QPoint inPage;
        const int page = PageAt(pos, inPage);
        pageUnderPointer_ = page + 1;
        const TfrReport* report = view_.ShownPages()->Report();
        if (page >= 0 && report && report->OnObjectClick) {
            Qt::CursorShape cursor = Qt::ArrowCursor;
            if (view_.ShownPages()->ObjectAtPoint(page, inPage, true, cursor))
                return;
        }
        dragging_ = true;
        dragX_ = pos.x();
        dragY_ = pos.y();
        if (pageUnderPointer_ != 0)
            view_.SetCurrentPage(pageUnderPointer_);
        view_.UpdatePageLabel();
    } else if (event->button() == Qt::RightButton) {
        QMenu* menu = view_.OwnerPopup ? view_.OwnerPopup.data() : view_.ProcMenu();
        menu->popup(mapToGlobal(pos));
    }
}

void TfrPBox::mouseMoveEvent(QMouseEvent* event) {
    if (view_.PageCount() == 0)
        return;
    const QPoint pos = event->position().toPoint();
    if (dragging_) {
        view_.SetHPos(view_.HPos() + dragX_ - pos.x());
        view_.SetVPos(view_.VPos() + dragY_ - pos.y());
        dragX_ = pos.x();
        dragY_ = pos.y();
        return;
    }
    const TfrReport* report = view_.ShownPages()->Report();
    if (!report || !report->OnMouseOverObject)
        return;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QPoint inPage;
    const int page = PageAt(pos, inPage);
    if (page < 0 || !view_.ShownPages()->ObjectAtPoint(page, inPage, false, cursor))
        cursor = Qt::ArrowCursor;
    setCursor(cursor);
}

void TfrPBox::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void TfrPBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (view_.PageCount() == 0)
        return;
    dragging_ = false;
    skipNextPress_ = true;
    if (pageUnderPointer_ != 0)
        view_.SetCurrentPage(pageUnderPointer_);
    // The press that comes with the second click is skipped.
    mousePressEvent(event);
}
