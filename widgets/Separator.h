#pragma once

#include "Labels.h"

#include <QWidget>

class Canvas;

// Where a control sits in its parent: against one edge, filling it, or placed freely.
enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TSeparatorStyle { Spacer, Divider };
enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };

// A gap between tool-bar buttons, or a divider line through its middle: vertical when the
// separator stands against the left or right edge, horizontal otherwise. A spacer draws
// nothing. With UseShape the bevel shape is drawn as well.
class TrSeparator : public QWidget {
    Q_OBJECT
public:
    explicit TrSeparator(QWidget* parent = nullptr);
    ~TrSeparator() override;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TSeparatorStyle SeparatorStyle() const { return style_; }
    // A divider needs an edge: raises Failure for a separator aligned to none or the client.
    void SetSeparatorStyle(TSeparatorStyle style);
    bool UseShape() const { return useShape_; }
    void SetUseShape(bool use);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    // Lowered or raised; None counts as lowered.
    TBevelCut Style() const { return bevelStyle_; }
    void SetStyle(TBevelCut style);

    void Paint(Canvas& canvas) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Vertical() const { return align_ == TAlign::Left || align_ == TAlign::Right; }
    void UpdatePolicy();

    TAlign align_{TAlign::Left};
    TSeparatorStyle style_{TSeparatorStyle::Spacer};
    bool useShape_{false};
    TBevelShape shape_{TBevelShape::Box};
    TBevelCut bevelStyle_{TBevelCut::Lowered};
};
