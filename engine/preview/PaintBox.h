#pragma once

#include <QWidget>

class TfrPreviewView;

// The view's paint box: paints the pages, pans them with the left button, clicks and hovers
// objects for the report, and opens the zoom popup on a right press. It never erases its
// background; the view paints every pixel.
class TfrPBox : public QWidget {
public:
    TfrPBox(TfrPreviewView& view, QWidget* parent);

    bool Dragging() const { return dragging_; }
    // 0 when the last left press hit no page.
    int PageUnderPointer() const { return pageUnderPointer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The zero-based page whose rectangle holds the point of the paint box, or -1, with the
    // point in that page's units.
    int PageAt(QPoint point, QPoint& inPage) const;

    TfrPreviewView& view_;
    bool dragging_{false};
    int dragX_{0};
    int dragY_{0};
    int pageUnderPointer_{0};
    bool skipNextPress_{false};
};
