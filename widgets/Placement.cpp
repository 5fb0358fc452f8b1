#include "Placement.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

QWidget* MainWindowOf(const QWidget& window) {
    for (QWidget* w = window.window(); w;) {
        if (qobject_cast<QMainWindow*>(w))
            return w;
        QWidget* up = w->parentWidget();
        w = up ? up->window() : nullptr;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    }
    return nullptr;
}

void CentreOnMainWindow(QWidget& window) {
    QWidget* main = MainWindowOf(window);
    if (main && !main->isVisible())
        main = nullptr;
    QScreen* screen = main ? main->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->availableGeometry() : QRect();
    const QRect area = main ? main->frameGeometry() : desk;
    if (area.isEmpty())
        return;
    QSize frame = window.frameGeometry().size() - window.size();
    if (frame.isNull() && main)
        frame = main->frameGeometry().size() - main->size();
    window.move(CentredTopLeft(window.size() + frame, area, desk));
}

QPoint CentredTopLeft(QSize size, const QRect& area, const QRect& desk) {
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(area.center());
    if (!desk.isEmpty()) {
        if (placed.right() > desk.right())
            placed.moveRight(desk.right());
        if (placed.bottom() > desk.bottom())
            placed.moveBottom(desk.bottom());
        if (placed.left() < desk.left())
            placed.moveLeft(desk.left());
        if (placed.top() < desk.top())
            placed.moveTop(desk.top());
    }
    return placed.topLeft();
}
