#include "PreviewLayout.h"

#include "Page.h"
#include "Rounding.h"

#include <algorithm>

namespace {

constexpr int kMargin = 10;

double FitScale(QSize sheet, QSize client, TfrPreviewZoom zoom, double scale) {
    // A sheet without a size cannot be fitted; the zoom stays.
    if (sheet.width() <= 0 || sheet.height() <= 0)
        return scale;
    double fit = scale;
    switch (zoom) {
        case pzDefault:
            return scale;
        case pzPageWidth:
            fit = double(client.width() - 20) / sheet.width();
            break;
        case pzOnePage:
            fit = double(client.height() - 20) / sheet.height();
            break;
        case pzTwoPages:
            fit = double(client.width() - 30) / (2.0 * sheet.width());
            break;
    }
    // A box smaller than its margins shrinks the pages to nothing rather than turning them over.
    return std::max(fit, 0.0);
}

int ColumnCount(const std::vector<QSize>& sheets, int width, double scale, TfrPreviewZoom zoom) {
    if (zoom == pzOnePage)
        return 1;
    if (zoom == pzTwoPages)
        return 2;
    int count = 0;
    int x = kMargin;
    int run = 0;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const int right = frRound(sheets[i].width() * scale) + x + kMargin;
        if (right > width) {
            count = std::max(count, run);
            x = kMargin;
            run = 0;  // this page starts no run
            continue;
        }
        x = right;
        ++run;
        if (i + 1 == sheets.size())
            count = std::max(count, run);
    }
    return std::max(count, 1);
}

int ScrollRange(int extent, int client) {
    const int range = extent - client;
    return range < 0 ? 0 : range + kMargin;
}

}  // namespace

TfrPreviewLayout frLayoutPreview(const std::vector<QSize>& sheets, QSize client,
                                 TfrPreviewZoom zoom, double scale, int currentPage) {
    TfrPreviewLayout layout;
    layout.Scale = scale;
    if (sheets.empty())
        return layout;

    const int n = static_cast<int>(sheets.size());
    const QSize current = sheets[static_cast<std::size_t>(std::clamp(currentPage, 1, n) - 1)];
    layout.Scale = FitScale(current, client, zoom, scale);
    layout.Columns = ColumnCount(sheets, client.width(), layout.Scale, zoom);

    const int w = client.width();
    int y = kMargin;
    int maxRight = 0;
    int maxBottom = 0;
    layout.ViewRects.reserve(sheets.size());
    for (int first = 0; first < n; first += layout.Columns) {
        int x = kMargin;
        int rowHeight = 0;
        for (int i = first; i < std::min(first + layout.Columns, n); ++i) {
            const QSize sheet = sheets[static_cast<std::size_t>(i)];
            const int pw = frRound(sheet.width() * layout.Scale);
            const int ph = frRound(sheet.height() * layout.Scale);
            CanvasRect r{x, y, x + pw, y + ph};
            if (layout.Columns == 1 && w > pw) {
                const int left = (w - pw) / 2;
                r = {left, y, left + pw, y + ph};
            }
            layout.ViewRects.push_back(r);
            maxRight = std::max(maxRight, r.right);
            maxBottom = std::max(maxBottom, r.bottom);
            rowHeight = std::max(rowHeight, ph);
            x += pw + kMargin;
        }
        y += rowHeight + kMargin;
    }
    layout.HMax = ScrollRange(maxRight, client.width());
    layout.VMax = ScrollRange(maxBottom, client.height());
    return layout;
}
