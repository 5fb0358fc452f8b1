#pragma once

#include "Canvas.h"
#include "Report.h"

#include <QSize>
#include <vector>

// Where the preview puts its pages: the zoom, the number of columns, each page's rectangle in
// document space, and how far the scroll bars reach.
struct TfrPreviewLayout {
    double Scale{1.0};
    int Columns{1};
    std::vector<CanvasRect> ViewRects;
    // 0 when everything fits; a bar with maximum 0 is disabled.
    int HMax{0};
    int VMax{0};
};

// Lays out pages of the given sheet sizes (page units) in a paint box of the given client size.
// The fit modes take their scale from the current page (1-based); the fixed zoom keeps scale.
// The document has a 10-pixel margin and 10-pixel gaps between pages and rows; a lone column
// narrower than the box is centred.
TfrPreviewLayout frLayoutPreview(const std::vector<QSize>& sheets, QSize client,
                                 TfrPreviewZoom zoom, double scale, int currentPage);
