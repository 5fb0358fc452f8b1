#include "PdfPageWriter.h"

#include "PainterCanvas.h"
#include "PaperCatalog.h"

#include <QPdfWriter>

PdfPageWriter::PdfPageWriter() = default;

PdfPageWriter::~PdfPageWriter() {
    End();
}

bool PdfPageWriter::Begin(const QString& path, int resolution, const QString& title,
                          const QPageLayout& layout) {
    return Start(std::make_unique<QPdfWriter>(path), resolution, title, layout);
}

bool PdfPageWriter::Begin(QIODevice& device, int resolution, const QString& title,
                          const QPageLayout& layout) {
    return Start(std::make_unique<QPdfWriter>(&device), resolution, title, layout);
}

bool PdfPageWriter::Start(std::unique_ptr<QPdfWriter> writer, int resolution, const QString& title,
                          const QPageLayout& layout) {
    End();
    writer->setResolution(resolution);
    writer->setTitle(title);
    writer->setCreator(QStringLiteral("Formwright"));
    writer->setPageLayout(layout);
    if (!painter_.begin(writer.get()))
        return false;
    writer_ = std::move(writer);
    return true;
}

bool PdfPageWriter::NewPage(const QPageLayout* layout) {
    canvas_.reset();
    if (layout)
        writer_->setPageLayout(*layout);
    return writer_->newPage();
}

void PdfPageWriter::OpenPage(const DeviceCaps& caps) {
    painter_.resetTransform();
    painter_.translate(caps.PhysicalOffsetX, caps.PhysicalOffsetY);
    canvas_ = MakePageCanvas(painter_, caps);
}

void PdfPageWriter::End() {
    canvas_.reset();
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
}

Canvas* PdfPageWriter::PageCanvas() {
    return canvas_.get();
}
