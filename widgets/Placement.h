#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The application's main window: the first one up the chain of owners, else the shown one.
// Null when there is none.
QWidget* MainWindowOf(const QWidget& window);

// Moves a window about to be shown so that its frame is centred on the main window's frame
// (on the screen when there is no main window), inside the screen's free area. A window that
// has not been shown yet has no frame: the main window's stands in, so that it opens where it
// opens later.
void CentreOnMainWindow(QWidget& window);
// Where a frame of that size goes to be centred on area and kept inside desk (when desk is
// not empty).
QPoint CentredTopLeft(QSize size, const QRect& area, const QRect& desk);
