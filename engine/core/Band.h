#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

class TfrPage;
class TfrView;

// Band kinds: the index of a page's band slot.
enum TfrBandKind : int {
    btReportTitle = 0,
    btReportSummary = 1,
    btPageHeader = 2,
    btPageFooter = 3,
    btMasterHeader = 4,
    btMasterData = 5,
    btMasterFooter = 6,
    btDetailHeader = 7,
    btDetailData = 8,
    btDetailFooter = 9,
    btSubDetailHeader = 10,
    btSubDetailData = 11,
    btSubDetailFooter = 12,
    btOverlay = 13,
    btColumnHeader = 14,
    btColumnFooter = 15,
    btGroupHeader = 16,
    btGroupFooter = 17,
    btCrossHeader = 18,
    btCrossData = 19,
    btCrossFooter = 20,
    btChild = 21,
    btNone = 22,
};

// A band while pages are built: one per slot of a page and per band object on it. The objects
// are the page's; the band only lists those it prints.
class TfrBand {
public:
    TfrBand(int kind, TfrPage& page) : Kind(kind), Parent(page) {}
    TfrBand(const TfrBand&) = delete;
    TfrBand& operator=(const TfrBand&) = delete;

    const int Kind;
    TfrPage& Parent;
    std::vector<TfrView*> Objects;
    qint32 Top{0};
    qint32 Height{0};
    qint32 CalculatedHeight{0};
    bool Visible{true};
    bool Stretched{false};
    // The band object this band was made of; none for a slot without one.
    TfrView* View{nullptr};
    // The next band object of the same kind, in order of their tops.
    std::unique_ptr<TfrBand> Next;
};
