#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The picture of a blank form behind one template page: the file as the user chose it, the
// resolution that gives its size on the sheet, and how far it is shifted from the sheet's
// top-left corner. It is for the screen only.
struct PagePicture {
    enum class Kind { Png, Jpeg, Tiff, Pdf };

    QByteArray Bytes;
    Kind Type{Kind::Png};
    // The page of a PDF file, 0-based; 0 for the other kinds.
    int SourcePage{0};
    // Dots per inch of an image; a PDF page has its own size and ignores it.
    double Dpi{0};
    // Tenths of a millimetre, right and down.
    int ShiftX{0};
    int ShiftY{0};

    // The kind's name as stored ("png", "jpeg", "tiff", "pdf") and back; false for another.
    static QString KindName(Kind kind);
    static bool KindFromName(const QString& name, Kind& kind);

    // Reads a PNG, JPEG or TIFF file, or page `pdfPage` (0-based) of a PDF file, and checks that
    // it can be drawn. The resolution is the file's own, 200 when the file names none. Raises
    // Failure with a message for the user when the file cannot be read or is no such picture.
    static PagePicture FromFile(const QString& path, int pdfPage = 0);
    // The number of pages of a PDF file; Failure when it cannot be read.
    static int PdfPageCount(const QString& path);

    // The pages of a PDF picture's file; 1 for an image, 0 when it does not decode.
    int SourcePages() const;
    // The picture's size on the sheet in millimetres; an empty size when it does not decode.
    QSizeF SizeMm() const;
    // Where the picture lies on the sheet, in millimetres from its top-left corner.
    QRectF RectMm() const;
    // The picture decoded; a PDF page is rendered at `pdfDpi`. A null image when the bytes do
    // not decode.
    QImage Render(double pdfDpi = 150) const;

    bool operator==(const PagePicture&) const = default;
};

// The pictures of a template's pages decoded once and kept scaled to the last size asked for, so
// that repainting a page costs no decoding or scaling.
class PagePictureCache {
public:
    // The pictures to show; a page whose picture is the same keeps what was decoded of it.
    void Reset(QHash<int, PagePicture> pictures = {});
    bool Has(int page) const { return pictures_.contains(page); }
    const QHash<int, PagePicture>& Pictures() const { return pictures_; }
    // Where the page's picture lies on the sheet, in millimetres; empty when it has none or it
    // does not decode.
    QRectF PlacedMm(int page);
    // The page's picture scaled to `size`; a null image when it has none or it does not decode.
    const QImage& Scaled(int page, QSize size);
    // The page's picture has been decoded (PlacedMm and Scaled decode it).
    bool Decoded(int page) const { return entries_.contains(page); }
    // The page has a picture that was decoded and did not decode.
    bool Broken(int page) const;

private:
    struct Entry {
        QImage decoded;
        QRectF placed;
        QImage scaled;
    };
    Entry* Decode(int page);

    QHash<int, PagePicture> pictures_;
    QHash<int, Entry> entries_;
};
