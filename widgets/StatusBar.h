#pragma once

#include "Labels.h"

#include <QList>
#include <QPointer>
#include <QStatusBar>

class Canvas;

struct TStatusPanel {
    QString Text;
    int Width{50};
    TAlignment Alignment{TAlignment::LeftJustify};
    TBevelCut Bevel{TBevelCut::Lowered};
};

// A status bar of panels side by side, each with its text, width and alignment; the last
// panel reaches the right edge. Other controls can be placed over the panels. A message shown
// with showMessage covers all panels while it lasts.
class TAdvStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TAdvStatusBar(QWidget* parent = nullptr);
    ~TAdvStatusBar() override;

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const TStatusPanel& Panel(int index) const { return panels_.at(index); }
    // Adds a panel at the right end; returns its index.
    int AddPanel(const QString& text, int width, TAlignment alignment = TAlignment::LeftJustify);
    void SetPanel(int index, const TStatusPanel& panel);
    void SetPanelText(int index, const QString& text);
    void ClearPanels();

    // The panel's rectangle in client coordinates, bevel included.
    QRect PanelRect(int index) const;
    // Keeps control over the inside of the panel's bevel as the bar or its panels change.
    void PlaceInPanel(QWidget* control, int index);

    void Paint(Canvas& canvas) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PanelsChanged();
    QRect InsideRect(int index) const;

    QList<TStatusPanel> panels_;
    QList<std::pair<QPointer<QWidget>, int>> placed_;
};
