#pragma once

#include "Canvas.h"
#include "EngineState.h"

#include <QRect>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QIODevice;
class TfrBand;
class TfrDataset;
class TfrPage;

// The type byte of a stream entry. 5 to 9 name no class; 10 is a registered add-in class,
// identified by its class name.
inline constexpr quint8 frTypeText = 0;
inline constexpr quint8 frTypePicture = 1;
inline constexpr quint8 frTypeBand = 2;
inline constexpr quint8 frTypeSubReport = 3;
inline constexpr quint8 frTypeLine = 4;
inline constexpr quint8 frTypeAddIn = 10;

// Bits of TfrView::Flags.
inline constexpr quint16 frFlagStretched = 1;
inline constexpr quint16 frFlagWordWrap = 2;
inline constexpr quint16 frFlagWordBreak = 4;
inline constexpr quint16 frFlagAutoWidth = 8;
inline constexpr quint16 frFlagTextOnly = 16;
inline constexpr quint16 frFlagSuppress = 32;
inline constexpr quint16 frFlagHideZeros = 64;
inline constexpr quint16 frFlagUnderlines = 128;
inline constexpr quint16 frFlagRTLReading = 256;
// The object is put on the hook list when pages are built.
inline constexpr quint16 frFlagHook = 32768;

// Frame lines (TfrView::FrameTyp).
inline constexpr quint16 frftNone = 0;
inline constexpr quint16 frftRight = 1;
inline constexpr quint16 frftBottom = 2;
inline constexpr quint16 frftLeft = 4;
inline constexpr quint16 frftTop = 8;

// Frame styles (TfrView::FrameStyle).
inline constexpr quint16 psSolid = 0;
inline constexpr quint16 psDash = 1;
inline constexpr quint16 psDot = 2;
inline constexpr quint16 psDashDot = 3;
inline constexpr quint16 psDashDotDot = 4;
inline constexpr quint16 psDouble = 5;

// Band alignment (TfrView::BandAlign).
inline constexpr quint8 baNone = 0;
inline constexpr quint8 baLeft = 1;
inline constexpr quint8 baRight = 2;
inline constexpr quint8 baCenter = 3;
inline constexpr quint8 baWidth = 4;
inline constexpr quint8 baBottom = 5;
inline constexpr quint8 baTop = 6;
inline constexpr quint8 baRest = 7;

inline constexpr quint32 clBlack = 0;
inline constexpr quint32 clTransparent = 0x1FFFFFFF;

// Kind codes of property-list entries, for an inspector; the engine reads none of them.
inline constexpr quint16 frpkText = 0;
inline constexpr quint16 frpkInteger = 1;
inline constexpr quint16 frpkReal = 2;
inline constexpr quint16 frpkBoolean = 8;
inline constexpr quint16 frpkColor = 16;
inline constexpr quint16 frpkEnum = 32;
inline constexpr quint16 frpkEditor = 64;
inline constexpr quint16 frpkReadOnly = 128;

// One entry of an object's property list.
struct TfrPropRec {
    QString PropName;  // at most 32 characters
    quint16 PropType{frpkText};
    // Enumerations: the value names and their values.
    QStringList Enum;
    QVariantList EnumValues;
    // The property's editor, bound to its object; none for most.
    std::function<void()> PropEditor;
};

// The root of page objects and pages: the property list and by-name access. Names are
// compared in upper case; unknown names are ignored on set and read as null.
class TfrObject {
public:
    TfrObject() = default;
    TfrObject(const TfrObject&) = delete;
    TfrObject& operator=(const TfrObject&) = delete;
    virtual ~TfrObject();

    virtual void SetProperty(const QString& name, const QVariant& value);
    virtual QVariant GetProperty(const QString& name) const;
    // A script method; the name arrives in upper case.
    virtual QVariant CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                                const QVariant& p3);
    virtual void ListProperties();

    void AddProperty(const QString& name, quint16 kind, std::function<void()> editor = {});
    // names: the value names separated by ";".
    void AddEnumProperty(const QString& name, const QString& names, const QVariantList& values);
    void AddEnumProperty(const QString& name, const QStringList& names, const QVariantList& values);
    void ClearProperties() { props_.clear(); }
    const TfrPropRec* FindProperty(const QString& name) const;
    const std::vector<TfrPropRec>& Properties() const { return props_; }
    // The property list, filled on first need.
    const std::vector<TfrPropRec>& PropertyList();

private:
    std::vector<TfrPropRec> props_;
};

// The common data of everything placed on a page. Positions and sizes are page units, Left
// and Top measured from the sheet's top-left corner.
class TfrView : public TfrObject {
public:
    TfrView();
    ~TfrView() override;

    void SetProperty(const QString& name, const QVariant& value) override;
    QVariant GetProperty(const QString& name) const override;
    QVariant CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                        const QVariant& p3) override;
    void ListProperties() override;

    // Drawing at FactorX, FactorY and DrawOrigin on DrawCanvas. ScaleGeometry turns the
    // geometry into device pixels and computes FrameRect; RestoreGeometry puts it back.
    virtual void ScaleGeometry();
    virtual void RestoreGeometry();
    virtual void PaintBackground();
    virtual void PaintFrame();
    virtual void PaintObject(Canvas& canvas) = 0;
    // The area the object covers with its frame lines, in the present geometry; widened by
    // 10 on every side when asked.
    virtual QRegion GetClipRegion(bool inflate) const;

    // Takes the object's content from a data field; nothing for a plain view.
    virtual void LoadFromField(const QVariant& field);
    // For objects on the hook list, after each text object is printed.
    virtual void HookNotify(TfrView& view);
    // After a report holding the object has been read.
    virtual void AfterLoad();

    // Writes the object onto a prepared page.
    virtual void Print(QIODevice& stream);
    // The object data: the prepared form while Prepared is set, else the design form.
    virtual void ReadFromStream(QIODevice& stream);
    virtual void WriteToStream(QIODevice& stream) const;

    virtual qint32 CalcHeight();
    virtual qint32 MinHeight();
    virtual qint32 RemainHeight();

    // The class name a stream carries for add-in objects.
    virtual QString ClassName() const = 0;

    void PlaceAt(qint32 left, qint32 top, qint32 width, qint32 height);
    // BaseName followed by the smallest number up to 10000 that no object of the current
    // report has; unchanged when all are taken.
    void AssignUniqueName();
    // BandAlign against the current design page's edges.
    void AlignToPage();
    // The write step of Print: the type byte, the class name of an add-in, the object data.
    void WriteEntry(QIODevice& stream) const;

    // Band splitting while pages are built.
    bool Deferred{false};
    qint32 SavedHeight{0};
    // Kept while the geometry is scaled for drawing.
    struct Geometry {
        qint32 Left{0};
        qint32 Top{0};
        qint32 Width{0};
        qint32 Height{0};
        qint32 GapX{0};
        qint32 GapY{0};
        float FrameWidth{0};
    };
    Geometry Saved;
    QString BaseName{QStringLiteral("View")};
    Canvas* DrawCanvas{nullptr};
    CanvasRect FrameRect;
    QStringList WorkMemo;
    TfrDataset* BoundDataSet{nullptr};
    QString BoundField;
    bool Prepared{false};
    QString Name;
    quint8 ObjectType{frTypeText};
    quint8 BaseVersion{2};
    quint8 ClassVersion{0};
    qint32 Serial{0};
    // Band assignment while pages are built.
    bool Unplaced{false};
    QRect SavedRect;
    double FactorX{1.0};
    double FactorY{1.0};
    qint32 DrawOriginX{0};
    qint32 DrawOriginY{0};
    bool ToPrinter{false};
    qint32 Left{0};
    qint32 Top{0};
    qint32 Width{0};
    qint32 Height{0};
    quint16 Flags{0};
    quint16 FrameTyp{frftNone};
    float FrameWidth{1.0f};
    quint32 FrameColor{clBlack};
    quint16 FrameStyle{psSolid};
    quint32 FillColor{clTransparent};
    qint32 DisplayFormat{0};
    QString DisplayFormatText;
    bool Visible{true};
    qint32 GapX{2};
    qint32 GapY{1};
    quint16 Restrictions{0};
    QString Tag;
    QStringList Memo;
    QStringList ScriptText;
    quint8 BandAlign{baNone};
    TfrBand* OwnerBand{nullptr};
    // The dialog page of a dialog control.
    TfrPage* OwnerPage{nullptr};

protected:
    // The scaled right and bottom edges of the geometry saved by ScaleGeometry.
    qint32 ScaledRight() const;
    qint32 ScaledBottom() const;
    // The list methods of Memo under the given list name ("MEMO", "LINES"); null when the
    // name is not one of them.
    std::optional<QVariant> CallListMethod(const QString& list, const QString& name,
                                           const QVariant& p1, const QVariant& p2,
                                           const QVariant& p3);
};

// Objects whose height can follow their content.
class TfrStretcheable : public TfrView {
public:
    QVariant CallMethod(const QString& name, const QVariant& p1, const QVariant& p2,
                        const QVariant& p3) override;

    // 0 whole object, 1 measured, 2 part.
    quint8 PrintPhase{0};
};

// A line from the top-left corner of the object to its bottom-right one, in the frame's
// colour, width and style.
class TfrLineView : public TfrStretcheable {
public:
    TfrLineView();
    void PaintObject(Canvas& canvas) override;
    QString ClassName() const override { return QStringLiteral("TfrLineView"); }
};

// A picture; this system stores none, so it paints its background and frame.
class TfrPictureView : public TfrView {
public:
    TfrPictureView();
    void PaintObject(Canvas& canvas) override;
    QString ClassName() const override { return QStringLiteral("TfrPictureView"); }
};

// A band placed on a design page. It lays out the objects on it and paints nothing itself.
class TfrBandView : public TfrView {
public:
    TfrBandView();
    void PaintObject(Canvas& canvas) override;
    QString ClassName() const override { return QStringLiteral("TfrBandView"); }
};

// A sub-report: the zero-based index of the page it prints there.
class TfrSubReportView : public TfrView {
public:
    TfrSubReportView();
    void PaintObject(Canvas& canvas) override;
    void ReadFromStream(QIODevice& stream) override;
    void WriteToStream(QIODevice& stream) const override;
    QString ClassName() const override { return QStringLiteral("TfrSubReportView"); }

    qint32 SubPage{0};
};

// The object factory: the object of a type with its defaults and the next serial number;
// for type 10 the registered class of that exact name. Types 5 to 9 give no object. An
// unregistered class name is added to the engine's error text, sets its error flag and
// raises EClassNotFound.
std::unique_ptr<TfrView> frCreateObject(int type, const QString& className);

// Add-in classes, created for stream entries of type 10.
void frRegisterObject(const QString& className, TfrObjectFactory factory);
void frUnregisterObject(const QString& className);

// The frame width as a stream carries it: a whole number up to 10 as it is, anything else
// in thousandths.
qint32 frEncodeFrameWidth(float width);
float frDecodeFrameWidth(qint32 value);
