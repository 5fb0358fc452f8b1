#include "Page.h"
#include "PreviewLayout.h"
#include "RectPrinting.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct LayoutCase {
    const char* name;
    std::vector<QSize> sheets;
    QSize client;
    TfrPreviewZoom zoom;
    double scale;
    int currentPage;
    // Expected.
    double layoutScale;
    int columns;
    std::vector<CanvasRect> rects;
    int hMax;
    int vMax;
};

TEST(PreviewLayout, PagesTakeTheirPlaces) {
    const QSize w100(100, 150);
    const std::vector<LayoutCase> cases = {
        {"one narrower page is centred",
         {{200, 300}},
         {500, 400},
         pzDefault,
         1.0,
         1,
         1.0,
         1,
         {{150, 10, 350, 310}},
         0,
         0},
        {"one page wider than the box starts at the margin",
         {{200, 300}},
         {150, 400},
         pzDefault,
         1.0,
         1,
         1.0,
         1,
         {{10, 10, 210, 310}},
         70,
         0},
        {"W = 3w + 45 gives rows of three and two",
         {w100, w100, w100, w100, w100},
         {345, 200},
         pzDefault,
         1.0,
         1,
         1.0,
         3,
         {{10, 10, 110, 160},
          {120, 10, 220, 160},
          {230, 10, 330, 160},
          {10, 170, 110, 320},
          {120, 170, 220, 320}},
         0,
         130},
        {"W = 3w + 40 still fits three",
         {w100, w100, w100},
         {340, 170},
         pzDefault,
         1.0,
         1,
         1.0,
         3,
         {{10, 10, 110, 160}, {120, 10, 220, 160}, {230, 10, 330, 160}},
         0,
         0},
        {"one pixel less fits two",
         {w100, w100, w100},
         {339, 170},
         pzDefault,
         1.0,
         1,
         1.0,
         2,
         {{10, 10, 110, 160}, {120, 10, 220, 160}, {10, 170, 110, 320}},
         0,
         160},
        {"a bottom edge exactly at the box still gets the margin",
         {w100},
         {120, 160},
         pzDefault,
         1.0,
         1,
         1.0,
         1,
         {{10, 10, 110, 160}},
         0,
         10},
        {"zoom scales and rounds halves to even",
         {{101, 201}},
         {500, 400},
         pzDefault,
         0.5,
         1,
         0.5,
         1,
         {{225, 10, 275, 110}},
         0,
         0},
        {"two pages fit the width, heights round to even",
         {{200, 300}, {200, 300}},
         {300, 400},
         pzTwoPages,
         1.0,
         1,
         0.675,
         2,
         {{10, 10, 145, 212}, {155, 10, 290, 212}},
         0,
         0},
        {"two pages stay two columns when they do not fit",
         {{100, 100}, {400, 100}},
         {260, 400},
         pzTwoPages,
         1.0,
         1,
         1.15,
         2,
         {{10, 10, 125, 125}, {135, 10, 595, 125}},
         345,
         0},
        {"whole page is always one column",
         {{200, 300}, {200, 300}, {200, 300}},
         {1000, 330},
         pzOnePage,
         1.0,
         1,
         310.0 / 300,
         1,
         {{396, 10, 603, 320}, {396, 330, 603, 640}, {396, 650, 603, 960}},
         0,
         640},
        {"page width from the first page",
         {{200, 300}, {400, 300}},
         {420, 500},
         pzPageWidth,
         1.0,
         1,
         2.0,
         1,
         {{10, 10, 410, 610}, {10, 620, 810, 1220}},
         400,
         730},
        {"page width from the second page",
         {{200, 300}, {400, 300}},
         {420, 500},
         pzPageWidth,
         2.0,
         2,
         1.0,
         1,
         {{110, 10, 310, 310}, {10, 320, 410, 620}},
         0,
         130},
        {"a current page out of range fits the nearest",
         {{200, 300}, {400, 300}},
         {420, 500},
         pzPageWidth,
         1.0,
         9,
         1.0,
         1,
         {{110, 10, 310, 310}, {10, 320, 410, 620}},
         0,
         130},
        {"a box smaller than its margins shrinks pages to nothing",
         {{200, 300}},
         {15, 15},
         pzPageWidth,
         1.0,
         1,
         0.0,
         1,
         {{7, 10, 7, 10}},
         0,
         0},
        {"no pages", {}, {500, 400}, pzOnePage, 0.8, 1, 0.8, 1, {}, 0, 0},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TfrPreviewLayout layout =
            frLayoutPreview(c.sheets, c.client, c.zoom, c.scale, c.currentPage);
        EXPECT_DOUBLE_EQ(layout.Scale, c.layoutScale);
        EXPECT_EQ(layout.Columns, c.columns);
        EXPECT_EQ(layout.ViewRects, c.rects);
        EXPECT_EQ(layout.HMax, c.hMax);
        EXPECT_EQ(layout.VMax, c.vMax);
    }
}

}  // namespace
