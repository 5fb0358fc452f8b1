#include "StatusBar.h"

#include "PainterCanvas.h"

#include <algorithm>

namespace {

constexpr int kMinimumHeight = 19;
// Between two panels, and above all of them.
constexpr int kGap = 2;
// Between a panel's bevel and its text.
constexpr int kTextMargin = 2;

unsigned AlignmentFormat(TAlignment alignment) {
    switch (alignment) {
        case TAlignment::RightJustify:
            return Canvas::TextRight;
        case TAlignment::Center:
            return Canvas::TextCenter;
        case TAlignment::LeftJustify:
            break;
    }
    return Canvas::TextLeft;
}

}  // namespace

TAdvStatusBar::TAdvStatusBar(QWidget* parent) : QStatusBar(parent) {
    connect(this, &QStatusBar::messageChanged, this, [this] { update(); });
}

TAdvStatusBar::~TAdvStatusBar() = default;

int TAdvStatusBar::AddPanel(const QString& text, int width, TAlignment alignment) {
    TStatusPanel panel;
    panel.Text = text;
    panel.Width = width;
    panel.Alignment = alignment;
    panels_.append(panel);
    PanelsChanged();
    return PanelCount() - 1;
}

void TAdvStatusBar::SetPanel(int index, const TStatusPanel& panel) {
    panels_[index] = panel;
    PanelsChanged();
}

void TAdvStatusBar::SetPanelText(int index, const QString& text) {
    panels_[index].Text = text;
    update();
}

void TAdvStatusBar::ClearPanels() {
    panels_.clear();
    PanelsChanged();
}

QRect TAdvStatusBar::PanelRect(int index) const {
    if (index < 0 || index >= PanelCount())
        return {};
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += panels_[i].Width;
    const int right = index == PanelCount() - 1 ? width() : left + panels_[index].Width - kGap;
    return QRect(QPoint(left, kGap), QPoint(right - 1, height() - 1));
}

QRect TAdvStatusBar::InsideRect(int index) const {
    QRect rect = PanelRect(index);
    // A control keeps the panel's own width, also in the last panel, which reaches the edge.
    rect.setWidth(std::min(rect.width(), panels_[index].Width - kGap));
    return panels_[index].Bevel == TBevelCut::None ? rect : rect.adjusted(1, 1, -1, -1);
}

void TAdvStatusBar::PlaceInPanel(QWidget* control, int index) {
    if (!control)
        return;
    if (control->parentWidget() != this)
        control->setParent(this);
    for (auto& entry : placed_) {
        if (entry.first == control) {
            entry.second = index;
            PanelsChanged();
            return;
        }
    }
    placed_.append({control, index});
    control->show();
    PanelsChanged();
}

void TAdvStatusBar::PanelsChanged() {
    placed_.removeIf([](const auto& entry) { return entry.first.isNull(); });
    for (const auto& [control, index] : placed_) {
        if (index >= 0 && index < PanelCount())
            control->setGeometry(InsideRect(index));
    }
    update();
}

void TAdvStatusBar::Paint(Canvas& canvas) const {
    canvas.SetBrush({SysColor::BtnFace, CanvasBrush::Solid});
    canvas.FillRect({0, 0, width(), height()});
    canvas.SelectFont(CanvasFontOf(font(), SysColor::BtnText));
    const unsigned line = Canvas::TextVCenter | Canvas::TextSingleLine | Canvas::TextNoPrefix;
    const QString message = currentMessage();
    if (!message.isEmpty()) {
        canvas.DrawText({kTextMargin, kGap, width() - kTextMargin, height()}, message, line);
        return;
    }
    for (int i = 0; i < PanelCount(); ++i) {
        const TStatusPanel& panel = panels_[i];
        CanvasRect rect = CanvasRect::FromQRect(PanelRect(i));
        if (rect.IsEmpty())
            continue;
        if (panel.Bevel != TBevelCut::None)
            rect = canvas.DrawBevel(
                rect, panel.Bevel == TBevelCut::Raised ? Canvas::Raised : Canvas::Lowered);
        rect = {rect.left + kTextMargin, rect.top, rect.right - kTextMargin, rect.bottom};
        canvas.DrawText(rect, panel.Text, line | AlignmentFormat(panel.Alignment));
    }
}

void TAdvStatusBar::paintEvent(QPaintEvent*) {
    PainterCanvas canvas(*this);
    Paint(canvas);
}

void TAdvStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    PanelsChanged();
}

QSize TAdvStatusBar::sizeHint() const {
    const QSize hint = QStatusBar::sizeHint();
    return {hint.width(), std::max(hint.height(), kMinimumHeight)};
}

QSize TAdvStatusBar::minimumSizeHint() const {
    const QSize hint = QStatusBar::minimumSizeHint();
    return {hint.width(), std::max(hint.height(), kMinimumHeight)};
}
