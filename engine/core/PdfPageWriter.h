#pragma once

#include "SystemPrinter.h"

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

class Canvas;
class PainterCanvas;
class QIODevice;
class QPdfWriter;

// A PDF document drawn page by page, as the printers that write one keep it: the writer, its
// painter and the canvas of the page being drawn, with the origin at the printable area's
// corner.
class PdfPageWriter {
public:
    PdfPageWriter();
    ~PdfPageWriter();
    PdfPageWriter(const PdfPageWriter&) = delete;
    PdfPageWriter& operator=(const PdfPageWriter&) = delete;

    // Starts the document with its first page; false when it cannot be written.
    bool Begin(const QString& path, int resolution, const QString& title,
               const QPageLayout& layout);
    bool Begin(QIODevice& device, int resolution, const QString& title, const QPageLayout& layout);
    // The next page, on a paper of its own when one is given; false when it cannot be written.
    bool NewPage(const QPageLayout* layout = nullptr);
    // The page canvas for the device's geometry.
    void OpenPage(const DeviceCaps& caps);
    // Completes the document (or what there is of it) and lets the device go.
    void End();

    bool Active() const { return writer_ != nullptr; }
    QPainter* Painter() { return Active() ? &painter_ : nullptr; }
    Canvas* PageCanvas();

private:
    bool Start(std::unique_ptr<QPdfWriter> writer, int resolution, const QString& title,
               const QPageLayout& layout);

    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
};
