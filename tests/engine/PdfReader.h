#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// Reads PDF files back through poppler's tools.
bool PdfToolsInstalled();
// The size of every page, in points.
QList<QSizeF> PdfPageSizes(const QString& path);
// The box of the first word with this text, in points from the page's top-left corner.
std::optional<QRectF> PdfWordBox(const QString& path, const QString& word);
