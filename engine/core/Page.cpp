#include "Page.h"

#include "Band.h"

#include "EngineErrors.h"
#include "EngineState.h"
#include "Failure.h"
#include "Report.h"
#include "Rounding.h"
#include "StreamIO.h"
#include "Variants.h"

namespace {

constexpr int kMaxUniqueName = 10000;

// Paper sizes by name: 18 units per 5 mm, coarser than the printer's factor.
qint32 TenthsFromUnits(const QVariant& value) {
    return frRound(frVarToReal(value) * 10 * 5 / 18);
}

qint32 UnitsFromTenths(qint32 tenths) {
    return frRound(double(tenths) / 10 * 18 / 5);
}

}  // namespace

TfrPage::TfrPage(int paperKind, int width, int height, int source, int orientation) {
    SelectPaper(paperKind, width, height, source, orientation);
}

TfrPage::~TfrPage() {
    ClearObjects();
    if (TfrEngineState* state = frEngineStateIfRunning(); state && state->CurrentDesignPage == this)
        state->CurrentDesignPage = nullptr;
}

void TfrPage::SelectPaper(int kind, int width, int height, int source, int orientation) {
    TfrPrinter& printer = frPrinter();
    const bool landscape = orientation == poLandscape;
    try {
        printer.SetPaper(kind, width, height, source, landscape, false);
        printer.GetPageMetrics(Metrics);
    } catch (const Failure&) {
        // A paper the printer refuses: a custom sheet of the requested size.
        printer.SetPaper(DMPAPER_USER, width, height, -1, landscape, false);
        printer.GetPageMetrics(Metrics);
    }
    PaperKind = printer.PaperKind();
    PaperX = printer.PaperX();
    PaperY = printer.PaperY();
    Orientation = printer.Landscape() ? poLandscape : poPortrait;
    PaperSource = frIsDefaultSource(source) ? frDefaultSource : printer.PaperSource();
}

// --- layout edges --------------------------------------------------------------------------

qint32 TfrPage::LeftEdge() const {
    if (!WholeSheet)
        return 0;
    return LeftMargin != 0 ? LeftMargin : Metrics.OffsetX;
}

qint32 TfrPage::TopEdge() const {
    if (!WholeSheet)
        return 0;
    return TopMargin != 0 ? TopMargin : Metrics.OffsetY;
}

qint32 TfrPage::RightEdge() const {
    if (!WholeSheet)
        return Metrics.SheetWidth;
    return RightMargin != 0 ? Metrics.SheetWidth - RightMargin
                            : Metrics.OffsetX + Metrics.PrintWidth;
}

qint32 TfrPage::BottomEdge() const {
    if (!WholeSheet)
        return Metrics.SheetHeight;
    return BottomMargin != 0 ? Metrics.SheetHeight - BottomMargin
                             : Metrics.OffsetY + Metrics.PrintHeight;
}

// --- objects ---------------------------------------------------------------------------------

TfrView& TfrPage::ObjectAt(int index) const {
    if (index < 0 || index >= ObjectCount())
        throw EListError(index);
    return *objects_[index];
}

TfrView& TfrPage::AddObject(std::unique_ptr<TfrView> view) {
    objects_.push_back(std::move(view));
    return *objects_.back();
}

TfrView* TfrPage::FindObject(const QString& name) const {
    const QString key = frUpper(name);
    for (const auto& view : objects_) {
        if (frUpper(view->Name) == key)
            return view.get();
    }
    return nullptr;
}

void TfrPage::DeleteObject(int index) {
    if (index < 0 || index >= ObjectCount())
        throw EListError(index);
    objects_.erase(objects_.begin() + index);
}

void TfrPage::ClearObjects() {
    while (!objects_.empty())
        DeleteObject(0);
}

void TfrPage::AssignUniqueName() {
    const TfrReport* report = frEngineState().CurrentReport;
    for (int n = 1; n <= kMaxUniqueName; ++n) {
        const QString name = QStringLiteral("Page") + QString::number(n);
        bool taken = false;
        for (int i = 0; report && i < report->Pages.Count() && !taken; ++i)
            taken = frSameText(report->Pages.PageAt(i).Name, name);
        if (!taken) {
            Name = name;
            return;
        }
    }
}

// --- by-name access --------------------------------------------------------------------------

void TfrPage::SetProperty(const QString& name, const QVariant& value) {
    const QString n = frUpper(name);
    const bool dialog = Type == ptDialog;
    if (n == u"LEFT")
        Left = frVarToInt(value);
    else if (n == u"TOP")
        Top = frVarToInt(value);
    else if (n == u"WIDTH") {
        if (dialog)
            Width = frVarToInt(value);
        else
            PaperX = TenthsFromUnits(value);
    } else if (n == u"HEIGHT") {
        if (dialog)
            Height = frVarToInt(value);
        else
            PaperY = TenthsFromUnits(value);
    } else if (n == u"TYPE")
        Type = static_cast<quint8>(frVarToInt(value));
    else if (n == u"BORDERSTYLE")
        BorderStyle = static_cast<quint8>(frVarToInt(value));
    else if (n == u"CAPTION")
        Caption = frVarToText(value);
    else if (n == u"NAME")
        Name = frVarToText(value);
    else if (n == u"COLOR")
        Color = static_cast<quint32>(frVarToInt(value));
    else if (n == u"POSITION")
        Position = static_cast<quint8>(frVarToInt(value));
    else if (n == u"SIZE")
        PaperKind = frVarToInt(value);
    else if (n == u"LEFTMARGIN")
        LeftMargin = frVarToInt(value);
    else if (n == u"TOPMARGIN")
        TopMargin = frVarToInt(value);
    else if (n == u"RIGHTMARGIN")
        RightMargin = frVarToInt(value);
    else if (n == u"BOTTOMMARGIN")
        BottomMargin = frVarToInt(value);
    else if (n == u"ORIENTATION")
        Orientation = static_cast<quint8>(frVarToInt(value));
    else if (n == u"PRINTTOPREVPAGE")
        PrintToPrevPage = frVarToBool(value);
    else if (n == u"STRETCHTOPRINTABLE")
        WholeSheet = !frVarToBool(value);
    else if (n == u"COLUMNS")
        Columns = frVarToInt(value);
    else if (n == u"COLUMNGAP")
        ColumnGap = frVarToInt(value);
    else if (n == u"COLUMNWIDTH")
        ColumnWidth = frVarToInt(value);
    else if (n == u"VISIBLE")
        Visible = frVarToBool(value);
}

QVariant TfrPage::GetProperty(const QString& name) const {
    const QString n = frUpper(name);
    const bool dialog = Type == ptDialog;
    const bool printing = frEngineState().PrintingState;
    if (n == u"LEFT")
        return Left;
    if (n == u"TOP")
        return Top;
    if (n == u"WIDTH")
        return dialog ? Width : UnitsFromTenths(PaperX);
    if (n == u"HEIGHT")
        return dialog ? Height : UnitsFromTenths(PaperY);
    if (n == u"TYPE")
        return int(Type);
    if (n == u"BORDERSTYLE")
        return int(BorderStyle);
    if (n == u"CAPTION")
        return Caption;
    if (n == u"NAME")
        return Name;
    if (n == u"COLOR")
        return static_cast<qint32>(Color);
    if (n == u"POSITION")
        return int(Position);
    if (n == u"SIZE")
        return PaperKind;
    if (n == u"LEFTMARGIN")
        return printing ? LeftEdge() : LeftMargin;
    if (n == u"TOPMARGIN")
        return printing ? TopEdge() : TopMargin;
    if (n == u"RIGHTMARGIN")
        return printing ? RightEdge() : RightMargin;
    if (n == u"BOTTOMMARGIN")
        return printing ? BottomEdge() : BottomMargin;
    if (n == u"ORIENTATION")
        return int(Orientation);
    if (n == u"PRINTTOPREVPAGE")
        return PrintToPrevPage;
    if (n == u"STRETCHTOPRINTABLE")
        return !WholeSheet;
    if (n == u"COLUMNS")
        return Columns;
    if (n == u"COLUMNGAP")
        return ColumnGap;
    if (n == u"VISIBLE")
        return Visible;
    return {};
}

void TfrPage::ListProperties() {
    ClearProperties();
    AddEnumProperty(QStringLiteral("Type"), QStringLiteral("ptReport;ptDialog"), {0, 1});
    AddProperty(QStringLiteral("Visible"), frpkBoolean);
    if (Type == ptDialog) {
        AddEnumProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsDialog;bsSizeable"),
                        {3, 2});
        AddProperty(QStringLiteral("Caption"), frpkText);
        AddProperty(QStringLiteral("Color"), frpkColor);
        AddProperty(QStringLiteral("Left"), frpkInteger);
        AddProperty(QStringLiteral("Top"), frpkInteger);
        AddProperty(QStringLiteral("Width"), frpkInteger);
        AddProperty(QStringLiteral("Height"), frpkInteger);
        AddEnumProperty(QStringLiteral("Position"), QStringLiteral("poDesigned;poScreenCenter"),
                        {0, 4});
        AddProperty(QStringLiteral("OnActivate"), frpkEditor);
        return;
    }
    // The papers of the current printer with their codes.
    const TfrPrinter& printer = frPrinter();
    QStringList names;
    QVariantList codes;
    for (int i = 0; i < printer.PaperKindCount(); ++i) {
        names.append(i < printer.PaperTitles().size() ? printer.PaperTitles()[i] : QString());
        codes.append(int(printer.PaperKinds()[i]));
    }
    AddEnumProperty(QStringLiteral("Size"), names, codes);
    AddProperty(QStringLiteral("Width"), frpkInteger);
    AddProperty(QStringLiteral("Height"), frpkInteger);
    AddProperty(QStringLiteral("LeftMargin"), frpkInteger);
    AddProperty(QStringLiteral("TopMargin"), frpkInteger);
    AddProperty(QStringLiteral("RightMargin"), frpkInteger);
    AddProperty(QStringLiteral("BottomMargin"), frpkInteger);
    AddEnumProperty(QStringLiteral("Orientation"), QStringLiteral("poPortrait;poLandscape"),
                    {0, 1});
    AddProperty(QStringLiteral("PrintToPrevPage"), frpkBoolean);
    AddProperty(QStringLiteral("StretchToPrintable"), frpkBoolean);
    AddProperty(QStringLiteral("Columns"), frpkInteger);
    AddProperty(QStringLiteral("ColumnWidth"), frpkInteger);
    AddProperty(QStringLiteral("ColumnGap"), frpkInteger);
    AddProperty(QStringLiteral("OnBeforePrint"), frpkEditor);
}

// --- the page record ---------------------------------------------------------------------------

void TfrPage::WriteToStream(QIODevice& stream) const {
    frWriteInt(stream, -1);
    frWriteInt(stream, PaperKind);
    frWriteInt(stream, PaperX);
    frWriteInt(stream, PaperY);
    frWriteInt(stream, LeftMargin);
    frWriteInt(stream, TopMargin);
    frWriteInt(stream, RightMargin);
    frWriteInt(stream, BottomMargin);
    frWriteByte(stream, Orientation);
    frWriteInt(stream, PaperSource);
    frWriteBool16(stream, PrintToPrevPage);
    frWriteBool16(stream, WholeSheet);
    frWriteInt(stream, Columns);
    frWriteInt(stream, ColumnGap);
    frWriteByte(stream, Type);
    frWriteString(stream, Name);
    frWriteByte(stream, BorderStyle);
    frWriteString(stream, Caption);
    frWriteInt(stream, static_cast<qint32>(Color));
    frWriteInt(stream, Left);
    frWriteInt(stream, Top);
    frWriteInt(stream, Width);
    frWriteInt(stream, Height);
    frWriteByte(stream, Position);
    frWriteMemo(stream, ScriptText);
}

void TfrPage::ReadFromStream(QIODevice& stream) {
    const qint32 marker = frReadInt(stream);
    PaperKind = frReadInt(stream);
    PaperX = frReadInt(stream);
    PaperY = frReadInt(stream);
    LeftMargin = frReadInt(stream);
    TopMargin = frReadInt(stream);
    RightMargin = frReadInt(stream);
    BottomMargin = frReadInt(stream);
    Orientation = frReadByte(stream);
    PaperSource = frReadInt(stream);
    PrintToPrevPage = frReadBool16(stream);
    WholeSheet = frReadBool16(stream);
    Columns = frReadInt(stream);
    ColumnGap = frReadInt(stream);
    Type = frReadByte(stream);
    Name = frReadString(stream);
    // Older streams carry the border style as 0 (dialog) and 1 (sizeable).
    BorderStyle = frReadByte(stream);
    if (BorderStyle == 0)
        BorderStyle = 3;
    else if (BorderStyle == 1)
        BorderStyle = 2;
    Caption = frReadString(stream);
    Color = static_cast<quint32>(frReadInt(stream));
    Left = frReadInt(stream);
    Top = frReadInt(stream);
    Width = frReadInt(stream);
    Height = frReadInt(stream);
    Position = frReadByte(stream) != 0 ? 4 : 0;
    if (marker == -1)
        ScriptText = frReadMemo(stream);
    SelectPaper(PaperKind, PaperX, PaperY, PaperSource, Orientation);
}
