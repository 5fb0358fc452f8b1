#pragma once

#include "Objects.h"
#include "Printer.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QIODevice;
class TfrBand;

inline constexpr quint8 poPortrait = 0;
inline constexpr quint8 poLandscape = 1;
inline constexpr quint8 ptReport = 0;
inline constexpr quint8 ptDialog = 1;
// Paper source: the printer's default.
inline constexpr qint32 frDefaultSource = 65535;
inline constexpr int frBandKinds = 23;

// A design page: its paper, the metrics the printer settled on for it, its layout edges and
// its objects in drawing order. Dialog pages (Type 1) carry a window's geometry as well.
class TfrPage : public TfrObject {
public:
    // width and height in tenths of a millimetre (0, 0 for a standard paper), source -1 for
    // the default source, orientation poPortrait or poLandscape. Selects the paper on the
    // engine's printer.
    TfrPage(int paperKind, int width, int height, int source, int orientation);
    ~TfrPage() override;

    // Asks the printer for this paper and copies back what it settled on with the metrics;
    // a paper it refuses falls back to a custom size of the requested width and height.
    void SelectPaper(int kind, int width, int height, int source, int orientation);

    qint32 LeftEdge() const;
    qint32 TopEdge() const;
    qint32 RightEdge() const;
    qint32 BottomEdge() const;

    int ObjectCount() const { return static_cast<int>(objects_.size()); }
    // Raises EListError for an index outside the list.
    TfrView& ObjectAt(int index) const;
    // Appends an object; the page owns it from now on.
    TfrView& AddObject(std::unique_ptr<TfrView> view);
    // The first object of that name in any letter case, or null.
    TfrView* FindObject(const QString& name) const;
    void DeleteObject(int index);
    void ClearObjects();
    const std::vector<std::unique_ptr<TfrView>>& Objects() const { return objects_; }

    void SetProperty(const QString& name, const QVariant& value) override;
    QVariant GetProperty(const QString& name) const override;
    void ListProperties() override;

    // "Page" followed by the smallest number up to 10000 that no page of the current report
    // has.
    void AssignUniqueName();

    // The page record of a report stream, after its 255 byte. Reading selects the paper read.
    void WriteToStream(QIODevice& stream) const;
    void ReadFromStream(QIODevice& stream);

    // Preparation of this page into prepared pages.
    void InitForBuild();
    void BuildBands();
    void PrepareDataFields();
    // Adds a prepared page (unless it continues the previous one) and prints the page's bands.
    void FormPage();
    void DoneAfterBuild();
    void ShowBand(TfrBand& band);

    // Preparation's working state: one band per kind while pages are built.
    std::array<std::unique_ptr<TfrBand>, frBandKinds> Bands;
    bool Skip{false};
    bool BandsBuilt{false};
    qint32 CurColumn{0};
    qint32 LastStaticColumnY{0};
    qint32 ColumnX{0};
    std::vector<TfrBand*> PendingBands;
    quint8 Mode{0};  // 0 normal, 1 replay into a parent page
    qint32 ReplayStart{0};
    TfrBand* LastBand{nullptr};
    qint32 ColPos{0};
    qint32 CurPos{0};
    TfrBand* PrevBand{nullptr};
    bool NoRepeatHeader{false};

    qint32 PaperKind{0};
    qint32 PaperX{0};
    qint32 PaperY{0};
    // 0 means "not set": the printer's offsets bound the layout.
    qint32 LeftMargin{0};
    qint32 TopMargin{0};
    qint32 RightMargin{0};
    qint32 BottomMargin{0};
    quint8 Orientation{poPortrait};
    qint32 PaperSource{frDefaultSource};
    bool PrintToPrevPage{false};
    // Page coordinates are sheet coordinates; false: the page is scaled into the printable
    // area inside the margins.
    bool WholeSheet{true};
    TfrPageMetrics Metrics;
    qint32 Columns{0};
    qint32 ColumnWidth{0};
    qint32 ColumnGap{0};
    quint8 Type{ptReport};
    qint32 CurY{0};
    qint32 CurBottomY{0};
    QString Name;
    // Dialog pages.
    quint8 BorderStyle{3};  // 3 dialog border, 2 sizeable
    QString Caption{QStringLiteral("Form")};
    quint32 Color{0x8000000F};
    qint32 Left{220};
    qint32 Top{120};
    qint32 Width{380};
    qint32 Height{300};
    quint8 Position{4};  // 4 centred on the screen, 0 as designed
    QStringList ScriptText;
    bool Visible{true};
    qint32 PageIndex{0};

private:
    // One object of a band onto the prepared page being formed, at its place on the sheet.
    void DrawBandObject(TfrBand& band, TfrView& view);

    std::vector<std::unique_ptr<TfrView>> objects_;
};
