#include "Objects.h"

#include "EngineErrors.h"
#include "EngineState.h"
#include "MemoView.h"
#include "Page.h"
#include "Report.h"
#include "Rounding.h"
#include "StreamIO.h"
#include "Variants.h"

#include <QLocale>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kMaxUniqueName = 10000;

// What a view takes for the argument of a script method: the value of the expression, or
// the expression's text as it stands while no evaluator is installed.
QVariant Evaluate(const QVariant& argument) {
    const QString text = frVarToStr(argument);
    if (TfrTextLayer* layer = frEngineState().TextLayer)
        return layer->Evaluate(text);
    return text;
}

// A line index of Memo, or EListError.
int LineIndex(const QStringList& lines, const QVariant& value) {
    const int index = frVarToInt(value);
    if (index < 0 || index >= lines.size())
        throw EListError(index);
    return index;
}

CanvasPen::Style PenStyle(quint16 frameStyle) {
    switch (frameStyle) {
        case psDash:
            return CanvasPen::Dash;
        case psDot:
            return CanvasPen::Dot;
        case psDashDot:
            return CanvasPen::DashDot;
        case psDashDotDot:
            return CanvasPen::DashDotDot;
        default:
            return CanvasPen::Solid;  // psDouble draws with solid lines
    }
}

bool Overlaps(const TfrView& a, const TfrView& b) {
    return a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

}  // namespace

// --- frame width in streams ------------------------------------------------------------------

qint32 frEncodeFrameWidth(float width) {
    // The reader takes a value up to 10 as whole units and anything above as thousandths.
    // Whole widths above 10 are therefore written in thousandths too, and a fraction that
    // would come out at 10 or below is kept at 11 (0.011), the thinnest the reader can tell
    // from a whole width.
    if (std::trunc(width) == width && std::fabs(width) <= 10)
        return frRound(width);
    const qint32 thousandths = frRound(double(width) * 1000);
    if (thousandths > 0 && thousandths <= 10)
        return 11;
    return thousandths;
}

float frDecodeFrameWidth(qint32 value) {
    double v = value;
    if (value <= 10)
        v *= 1000;
    return static_cast<float>(v / 1000);
}

// --- TfrObject -------------------------------------------------------------------------------

TfrObject::~TfrObject() = default;

void TfrObject::SetProperty(const QString&, const QVariant&) {}

QVariant TfrObject::GetProperty(const QString&) const {
    return {};
}

QVariant TfrObject::CallMethod(const QString&, const QVariant&, const QVariant&, const QVariant&) {
    return {};
}

void TfrObject::ListProperties() {}

void TfrObject::AddProperty(const QString& name, quint16 kind, std::function<void()> editor) {
    TfrPropRec rec;
    rec.PropName = name.left(32);
    rec.PropType = kind;
    rec.PropEditor = std::move(editor);
    props_.push_back(std::move(rec));
}

void TfrObject::AddEnumProperty(const QString& name, const QString& names,
                                const QVariantList& values) {
    AddEnumProperty(name, names.split(u';'), values);
}

void TfrObject::AddEnumProperty(const QString& name, const QStringList& names,
                                const QVariantList& values) {
    TfrPropRec rec;
    rec.PropName = name.left(32);
    rec.PropType = frpkEnum;
    rec.Enum = names;
    rec.EnumValues = values;
    props_.push_back(std::move(rec));
}

const TfrPropRec* TfrObject::FindProperty(const QString& name) const {
    const QString key = frUpper(name);
    for (const TfrPropRec& rec : props_) {
        if (frUpper(rec.PropName) == key)
            return &rec;
    }
    return nullptr;
}

const std::vector<TfrPropRec>& TfrObject::PropertyList() {
    if (props_.empty())
        ListProperties();
    return props_;
}

// --- TfrView: construction ---------------------------------------------------------------------

TfrView::TfrView() {
    // Two decimals with the locale's decimal separator, no format category.
    const QString separator = QLocale().decimalPoint();
    DisplayFormat = (separator.isEmpty() ? u'.' : separator.at(0).unicode()) + 512;
}

TfrView::~TfrView() {
    if (TfrEngineState* state = frEngineStateIfRunning(); state && state->CurrentView == this)
        state->CurrentView = nullptr;
}

void TfrView::PlaceAt(qint32 left, qint32 top, qint32 width, qint32 height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void TfrView::AssignUniqueName() {
    QSet<QString> taken;
    if (const TfrReport* report = frEngineState().CurrentReport) {
        for (int i = 0; i < report->Pages.Count(); ++i) {
            for (const auto& view : report->Pages.PageAt(i).Objects())
                taken.insert(frUpper(view->Name));
        }
    }
    Name.clear();
    for (int n = 1; n <= kMaxUniqueName; ++n) {
        const QString name = BaseName + QString::number(n);
        if (!taken.contains(frUpper(name))) {
            SetProperty(QStringLiteral("Name"), name);
            return;
        }
    }
}

// --- TfrView: by-name access --------------------------------------------------------------------

void TfrView::SetProperty(const QString& name, const QVariant& value) {
    const QString n = frUpper(name);
    if (n == u"NAME")
        Name = frVarToText(value);
    else if (n == u"LEFT")
        Left = frVarToInt(value);
    else if (n == u"TOP")
        Top = frVarToInt(value);
    else if (n == u"WIDTH")
        Width = frVarToInt(value);
    else if (n == u"HEIGHT")
        Height = frVarToInt(value);
    else if (n == u"FLAGS")
        Flags = static_cast<quint16>(frVarToInt(value));
    else if (n == u"FRAMETYP")
        FrameTyp = static_cast<quint16>(frVarToInt(value));
    else if (n == u"FRAMECOLOR")
        FrameColor = static_cast<quint32>(frVarToInt(value));
    else if (n == u"FRAMESTYLE")
        FrameStyle = static_cast<quint16>(frVarToInt(value));
    else if (n == u"FILLCOLOR")
        FillColor = static_cast<quint32>(frVarToInt(value));
    else if (n == u"FRAMEWIDTH") {
        // A stream cannot carry a negative width back: refused here rather than changed there.
        const double width = frVarToReal(value);
        if (width < 0)
            throw Failure(QStringLiteral("Недопустимое значение свойства"));
        FrameWidth = static_cast<float>(width);
    } else if (n == u"VISIBLE")
        Visible = frVarToBool(value);
    else if (n == u"MEMO" || n == u"DATAFIELD")
        Memo = frSplitLines(frVarToText(value));
    else if (n == u"GAPX")
        GapX = frVarToInt(value);
    else if (n == u"GAPY")
        GapY = frVarToInt(value);
    else if (n == u"STRETCHED")
        Flags = frVarToBool(value) ? (Flags | frFlagStretched) : (Flags & ~frFlagStretched);
    else if (n == u"BANDALIGN")
        BandAlign = static_cast<quint8>(frVarToInt(value));
    else if (n == u"TAG")
        Tag = frVarToText(value);
}

QVariant TfrView::GetProperty(const QString& name) const {
    const QString n = frUpper(name);
    if (n == u"NAME")
        return Name;
    if (n == u"LEFT")
        return Left;
    if (n == u"TOP")
        return Top;
    if (n == u"WIDTH")
        return Width;
    if (n == u"HEIGHT")
        return Height;
    if (n == u"FLAGS")
        return int(Flags);
    if (n == u"FRAMETYP")
        return int(FrameTyp);
    if (n == u"FRAMEWIDTH")
        return double(FrameWidth);
    if (n == u"FRAMECOLOR")
        return static_cast<qint32>(FrameColor);
    if (n == u"FRAMESTYLE")
        return int(FrameStyle);
    if (n == u"FILLCOLOR")
        return static_cast<qint32>(FillColor);
    if (n == u"VISIBLE")
        return Visible;
    if (n == u"MEMO")
        return frJoinLines(Memo);
    if (n == u"GAPX")
        return GapX;
    if (n == u"GAPY")
        return GapY;
    if (n == u"STRETCHED")
        return (Flags & frFlagStretched) != 0;
    if (n == u"DATAFIELD")
        return Memo.isEmpty() ? QString() : Memo.first();
    if (n == u"BANDALIGN")
        return int(BandAlign);
    if (n == u"MEMO.COUNT")
        return int(Memo.size());
    if (n == u"TAG")
        return Tag;
    return {};
}

std::optional<QVariant> TfrView::CallListMethod(const QString& list, const QString& name,
                                                const QVariant& p1, const QVariant& p2,
                                                const QVariant& p3) {
    if (name == list + QStringLiteral(".ADD")) {
        Memo.append(frVarToStr(Evaluate(p1)));
        return QVariant();
    }
    if (name == list + QStringLiteral(".CLEAR")) {
        Memo.clear();
        return QVariant();
    }
    if (name == list + QStringLiteral(".DELETE")) {
        Memo.removeAt(LineIndex(Memo, Evaluate(p1)));
        return QVariant();
    }
    if (name == list + QStringLiteral(".INDEXOF")) {
        const QString text = frVarToStr(Evaluate(p1));
        for (int i = 0; i < Memo.size(); ++i) {
            if (frSameText(Memo[i], text))
                return i;
        }
        return -1;
    }
    if (name == u"SETINDEXPROPERTY" && frUpper(frVarToStr(p1)) == list) {
        Memo[LineIndex(Memo, p2)] = frVarToStr(p3);
        return QVariant();
    }
    if (name == u"GETINDEXPROPERTY" && frUpper(frVarToStr(p1)) == list)
        return Memo[LineIndex(Memo, p2)];
    return std::nullopt;
}

QVariant TfrView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                             const QVariant& p3) {
    const QString n = frUpper(name);
    if (auto result = CallListMethod(QStringLiteral("MEMO"), n, p1, p2, p3))
        return *result;
    if (n == u"HIDE")
        SetProperty(QStringLiteral("Visible"), false);
    else if (n == u"SHOW")
        SetProperty(QStringLiteral("Visible"), true);
    return {};
}

void TfrView::ListProperties() {
    ClearProperties();
    AddProperty(QStringLiteral("Name"), frpkText);
    AddProperty(QStringLiteral("Left"), frpkInteger);
    AddProperty(QStringLiteral("Top"), frpkInteger);
    AddProperty(QStringLiteral("Width"), frpkInteger);
    AddProperty(QStringLiteral("Height"), frpkInteger);
    AddProperty(QStringLiteral("Flags"), frpkInteger);
    if (ObjectType != frTypeBand && ObjectType != frTypeSubReport) {
        AddProperty(QStringLiteral("FrameTyp"), frpkInteger);
        AddProperty(QStringLiteral("FrameWidth"), frpkReal);
        AddProperty(QStringLiteral("FrameColor"), frpkColor);
        AddEnumProperty(QStringLiteral("FrameStyle"),
                        QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble"),
                        {0, 1, 2, 3, 4, 5});
        AddProperty(QStringLiteral("FillColor"), frpkColor);
        AddProperty(QStringLiteral("Tag"), frpkText);
        AddEnumProperty(
            QStringLiteral("BandAlign"),
            QStringLiteral("baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest"),
            {0, 1, 2, 3, 4, 5, 6, 7});
    }
    AddProperty(QStringLiteral("Visible"), frpkBoolean);
    AddProperty(QStringLiteral("Memo"), frpkEditor);
    AddProperty(QStringLiteral("Memo.Count"), frpkInteger | frpkReadOnly);
    AddProperty(QStringLiteral("Restrictions"), frpkInteger);
}

// --- TfrView: drawing ----------------------------------------------------------------------------

qint32 TfrView::ScaledRight() const {
    return frRound((Saved.Left + Saved.Width) * FactorX + DrawOriginX);
}

qint32 TfrView::ScaledBottom() const {
    return frRound((Saved.Top + Saved.Height) * FactorY + DrawOriginY);
}

void TfrView::ScaleGeometry() {
    Saved = {Left, Top, Width, Height, GapX, GapY, FrameWidth};
    const double fw = FrameWidth;
    const qint32 bx = frRound((fw * FactorX - 1) / 2);
    const qint32 wx = frRound(fw * FactorX / 2);
    const qint32 by = frRound((fw * FactorY - 1) / 2);
    const qint32 wy = frRound(fw * FactorY / 2);
    Left = frRound(Saved.Left * FactorX) + DrawOriginX;
    Top = frRound(Saved.Top * FactorY) + DrawOriginY;
    Width = frRound(Saved.Width * FactorX);
    Height = frRound(Saved.Height * FactorY);
    FrameWidth = static_cast<float>(fw * FactorX);
    GapX = frRound(Saved.GapX * FactorX) + wx;
    GapY = frRound(Saved.GapY * FactorY) + wy / 2;
    const qint32 right = ScaledRight() - ((FrameTyp & frftRight) ? wx : 0);
    const qint32 bottom = ScaledBottom() - ((FrameTyp & frftBottom) ? wy : 0);
    const qint32 left = Left + ((FrameTyp & frftLeft) ? bx : 0);
    const qint32 top = Top + ((FrameTyp & frftTop) ? by : 0);
    FrameRect = {left, top, right + 1, bottom + 1};
}

void TfrView::RestoreGeometry() {
    Left = Saved.Left;
    Top = Saved.Top;
    Width = Saved.Width;
    Height = Saved.Height;
    GapX = Saved.GapX;
    GapY = Saved.GapY;
    FrameWidth = Saved.FrameWidth;
}

void TfrView::PaintBackground() {
    if (frEngineState().ScriptOnlyPass || !DrawCanvas)
        return;
    DrawCanvas->SetBackgroundMode(Canvas::Opaque);
    const bool transparent = FillColor == clTransparent;
    DrawCanvas->SetBrush({transparent ? 0xFFFFFFu : FillColor, CanvasBrush::Solid});
    if (!transparent)
        DrawCanvas->FillRect({Left, Top, ScaledRight(), ScaledBottom()});
}

void TfrView::PaintFrame() {
    constexpr quint16 sides = frftRight | frftBottom | frftLeft | frftTop;
    if (frEngineState().ScriptOnlyPass || !DrawCanvas || !(FrameTyp & sides))
        return;
    Canvas& c = *DrawCanvas;
    CanvasBrush brush = c.Brush();
    brush.style = CanvasBrush::Solid;
    c.SetBrush(brush);
    const int width = frRound(FrameWidth);
    c.SetPen({FrameColor, width, PenStyle(FrameStyle)});
    const qint32 right = ScaledRight();
    const qint32 bottom = ScaledBottom();

    // One side from (x1, y1) to (x2, y2); a vertical side moves across in x, a horizontal
    // one in y.
    auto side = [&](int x1, int y1, int x2, int y2) {
        const bool vertical = x1 == x2;
        auto line = [&](int shift) {
            if (vertical)
                c.Line(x1 + shift, y1, x2 + shift, y2);
            else
                c.Line(x1, y1 + shift, x2, y2 + shift);
        };
        if (FrameStyle >= psDash && FrameStyle <= psDashDotDot) {
            // Styled pens are one pixel wide: a wide one is drawn as parallel lines, and one
            // thinner than a pixel at this scale still as one line.
            CanvasBrush fill = c.Brush();
            fill.color = FillColor;
            c.SetBrush(fill);
            CanvasPen pen = c.Pen();
            pen.width = 1;
            c.SetPen(pen);
            const int count = std::max(1, width);
            for (int i = 0; i < count; ++i)
                line(i - count / 2);
            pen.width = width;
            c.SetPen(pen);
        } else if (FrameStyle == psDouble) {
            CanvasPen pen = c.Pen();
            line(-width);
            pen.color = FillColor;
            c.SetPen(pen);
            line(0);
            pen.color = FrameColor;
            c.SetPen(pen);
            line(width);
        } else {
            line(0);
        }
    };
    if (FrameTyp & frftRight)
        side(right, Top, right, bottom);
    if (FrameTyp & frftLeft)
        side(Left, Top, Left, bottom);
    if (FrameTyp & frftBottom)
        side(Left, bottom, right, bottom);
    if (FrameTyp & frftTop)
        side(Left, Top, right, Top);
}

QRegion TfrView::GetClipRegion(bool inflate) const {
    const double fw = FrameWidth;
    const qint32 b = FrameStyle == psDouble ? frRound(1.5 * fw) : frRound(fw / 2);
    const qint32 a = FrameStyle == psDouble ? frRound(fw + (fw - 1) / 2) : frRound((fw - 1) / 2);
    qint32 left = (FrameTyp & frftLeft) ? Left - b : Left;
    qint32 top = (FrameTyp & frftTop) ? Top - b : Top;
    qint32 right = Left + Width + 1 + ((FrameTyp & frftRight) ? a : 0);
    qint32 bottom = Top + Height + 1 + ((FrameTyp & frftBottom) ? a : 0);
    if (inflate) {
        left -= 10;
        top -= 10;
        right += 10;
        bottom += 10;
    }
    return QRegion(QRect(left, top, right - left, bottom - top));
}

void TfrView::LoadFromField(const QVariant&) {}

void TfrView::HookNotify(TfrView&) {}

void TfrView::AfterLoad() {}

qint32 TfrView::CalcHeight() {
    return 0;
}

qint32 TfrView::MinHeight() {
    return 0;
}

qint32 TfrView::RemainHeight() {
    return 0;
}

// --- TfrView: printing and streams
// ----------------------------------------------------------------

void TfrView::AlignToPage() {
    const TfrEngineState& state = frEngineState();
    const TfrPage* page = state.CurrentDesignPage;
    if (!page || BandAlign == baNone)
        return;
    const qint32 l = page->LeftEdge();
    const qint32 r = page->RightEdge();
    // The nearest objects beside this one, in its rows, bound baLeft, baRight and baRest.
    qint32 leftBound = l;
    qint32 rightBound = r;
    if (BandAlign == baLeft || BandAlign == baRight || BandAlign == baRest) {
        for (const auto& other : page->Objects()) {
            if (other.get() == this || other->ObjectType == frTypeBand || !Overlaps(*this, *other))
                continue;
            if (other->Left + other->Width <= Left)
                leftBound = std::max(leftBound, other->Left + other->Width);
            else if (other->Left >= Left + Width)
                rightBound = std::min(rightBound, other->Left);
        }
    }
    switch (BandAlign) {
        case baCenter:
            Left = l + (r - l - Width) / 2;
            break;
        case baWidth:
            if (!state.CurrentBand) {
                Left = l;
                Width = r - l - 1;
            }
            break;
        case baLeft:
            Left = leftBound;
            break;
        case baRight:
            Left = rightBound - Width;
            break;
        case baRest:
            Left = leftBound;
            Width = rightBound - leftBound;
            break;
        default:
            break;
    }
}

void TfrView::Print(QIODevice& stream) {
    TfrEngineState& state = frEngineState();
    AlignToPage();
    WorkMemo = Memo;
    if (state.CurrentReport && state.CurrentReport->OnBeforePrint)
        state.CurrentReport->OnBeforePrint(WorkMemo, *this);
    if (state.TextLayer)
        state.TextLayer->RunScript(*this, ScriptText);
    if (!Visible)
        return;
    const QString tag = Tag;
    const auto restoreTag = qScopeGuard([&] { Tag = tag; });
    if (Tag.contains(u'[') && state.TextLayer)
        Tag = state.TextLayer->Expand(Tag);
    WriteEntry(stream);
}

void TfrView::WriteEntry(QIODevice& stream) const {
    frWriteByte(stream, ObjectType);
    if (ObjectType == frTypeAddIn)
        frWriteString(stream, ClassName());
    WriteToStream(stream);
}

void TfrView::WriteToStream(QIODevice& stream) const {
    frWriteString(stream, Name);
    frWriteByte(stream, 2);
    frWriteByte(stream, ClassVersion);
    frWriteInt(stream, Left);
    frWriteInt(stream, Top);
    frWriteInt(stream, Width);
    frWriteInt(stream, Height);
    frWriteWord(stream, Flags);
    frWriteWord(stream, FrameTyp);
    frWriteInt(stream, frEncodeFrameWidth(FrameWidth));
    frWriteInt(stream, static_cast<qint32>(FrameColor));
    frWriteWord(stream, FrameStyle);
    frWriteInt(stream, static_cast<qint32>(FillColor));
    if (Prepared) {
        frWriteMemo(stream, WorkMemo);
    } else {
        frWriteInt(stream, DisplayFormat);
        frWriteString(stream, DisplayFormatText);
        frWriteMemo(stream, Memo);
        frWriteMemo(stream, ScriptText);
        frWriteBool16(stream, Visible);
    }
    frWriteWord(stream, Restrictions);
    frWriteString(stream, Tag);
    frWriteInt(stream, GapX);
    frWriteInt(stream, GapY);
    frWriteByte(stream, BandAlign);
}

void TfrView::ReadFromStream(QIODevice& stream) {
    Name = frReadString(stream);
    BaseVersion = frReadByte(stream);
    ClassVersion = frReadByte(stream);
    Left = frReadInt(stream);
    Top = frReadInt(stream);
    Width = frReadInt(stream);
    Height = frReadInt(stream);
    Flags = frReadWord(stream);
    FrameTyp = frReadWord(stream);
    FrameWidth = frDecodeFrameWidth(frReadInt(stream));
    FrameColor = static_cast<quint32>(frReadInt(stream));
    FrameStyle = frReadWord(stream);
    FillColor = static_cast<quint32>(frReadInt(stream));
    if (Prepared) {
        // A prepared object keeps its expanded text as its text.
        Memo = frReadMemo(stream);
    } else {
        DisplayFormat = frReadInt(stream);
        DisplayFormatText = frReadString(stream);
        Memo = frReadMemo(stream);
        ScriptText = frReadMemo(stream);
        Visible = frReadBool16(stream);
    }
    Restrictions = frReadWord(stream);
    Tag = frReadString(stream);
    GapX = frReadInt(stream);
    GapY = frReadInt(stream);
    if (BaseVersion > 1)
        BandAlign = frReadByte(stream);
}

// --- TfrStretcheable -----------------------------------------------------------------------------

QVariant TfrStretcheable::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                                     const QVariant& p3) {
    if (frUpper(name) == u"CALCHEIGHT")
        return CalcHeight();
    return TfrView::CallMethod(name, p1, p2, p3);
}

// --- the other kinds
// ------------------------------------------------------------------------------

TfrLineView::TfrLineView() {
    ObjectType = frTypeLine;
    BaseName = QStringLiteral("Line");
}

void TfrLineView::PaintObject(Canvas& canvas) {
    DrawCanvas = &canvas;
    AlignToPage();
    ScaleGeometry();
    if (!frEngineState().ScriptOnlyPass) {
        canvas.SetPen({FrameColor, std::max(1, frRound(FrameWidth)), PenStyle(FrameStyle)});
        canvas.Line(Left, Top, Left + Width, Top + Height);
    }
    RestoreGeometry();
}

TfrPictureView::TfrPictureView() {
    ObjectType = frTypePicture;
    BaseName = QStringLiteral("Picture");
}

void TfrPictureView::PaintObject(Canvas& canvas) {
    DrawCanvas = &canvas;
    AlignToPage();
    ScaleGeometry();
    PaintBackground();
    PaintFrame();
    RestoreGeometry();
}

TfrBandView::TfrBandView() {
    ObjectType = frTypeBand;
    BaseName = QStringLiteral("Band");
}

void TfrBandView::PaintObject(Canvas& canvas) {
    DrawCanvas = &canvas;
}

TfrSubReportView::TfrSubReportView() {
    ObjectType = frTypeSubReport;
    BaseName = QStringLiteral("SubReport");
}

void TfrSubReportView::PaintObject(Canvas& canvas) {
    DrawCanvas = &canvas;
    ScaleGeometry();
    PaintBackground();
    PaintFrame();
    RestoreGeometry();
}

void TfrSubReportView::WriteToStream(QIODevice& stream) const {
    TfrView::WriteToStream(stream);
    frWriteInt(stream, SubPage);
}

void TfrSubReportView::ReadFromStream(QIODevice& stream) {
    TfrView::ReadFromStream(stream);
    SubPage = frReadInt(stream);
}

// --- the factory ---------------------------------------------------------------------------------

void frRegisterObject(const QString& className, TfrObjectFactory factory) {
    frUnregisterObject(className);
    frEngineState().AddIns.emplace_back(className, std::move(factory));
}

void frUnregisterObject(const QString& className) {
    std::erase_if(frEngineState().AddIns, [&](const auto& a) { return a.first == className; });
}

std::unique_ptr<TfrView> frCreateObject(int type, const QString& className) {
    TfrEngineState& state = frEngineState();
    std::unique_ptr<TfrView> view;
    switch (type) {
        case frTypeText:
            view = std::make_unique<TfrMemoView>();
            break;
        case frTypePicture:
            view = std::make_unique<TfrPictureView>();
            break;
        case frTypeBand:
            view = std::make_unique<TfrBandView>();
            break;
        case frTypeSubReport:
            view = std::make_unique<TfrSubReportView>();
            break;
        case frTypeLine:
            view = std::make_unique<TfrLineView>();
            break;
        case frTypeAddIn: {
            const auto& addIns = state.AddIns;
            const auto it = std::find_if(addIns.begin(), addIns.end(),
                                         [&](const auto& a) { return a.first == className; });
            if (it == addIns.end()) {
                state.ErrorText += className + u'\r';
                state.ErrorFlag = true;
                throw EClassNotFound(state.ErrorText);
            }
            view = it->second();
            if (view)
                view->ObjectType = frTypeAddIn;
            break;
        }
        default:
            return nullptr;
    }
    if (view)
        view->Serial = ++state.LastSerial;
    return view;
}
