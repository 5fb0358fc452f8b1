#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the modal window of type W once it is up, from the event loop that shows it.
template <typename W>
void WhenShown(std::function<void(W&)> act) {
    QTimer::singleShot(0, [act] {
        auto* window = dynamic_cast<W*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible()) {
            WhenShown<W>(act);
            return;
        }
        act(*window);
    });
}
