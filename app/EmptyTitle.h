#pragma once

class QWidget;

// Qt names a window without a title after the program on X11. This gives the window's X name
// the empty title it has, so the window manager shows no title text. Elsewhere it does nothing.
// Call it once the window exists and whenever its empty title is set again.
void ShowEmptyTitle(QWidget& window);
