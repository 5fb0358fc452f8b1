// Writes the benchmark form of N pages: a database with one template, its fields, one document
// for printing and its values; or the same pages as a flat drawing for an office suite.
#include "BenchDatabase.h"
#include "BenchForm.h"
#include "Failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QXmlStreamWriter>

namespace {

QString Mm(int mm) {
    return QStringLiteral("%1mm").arg(mm);
}

// A flat drawing: one page per form page, one fixed-size text frame per field.
void WriteDrawing(int pages, const QString& file) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(false);
    x.writeStartDocument();
    const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
    const QString style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
    const QString text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
    const QString draw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
    const QString fo =
        QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
    const QString svg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
    x.writeNamespace(office, QStringLiteral("office"));
    x.writeNamespace(style, QStringLiteral("style"));
    x.writeNamespace(text, QStringLiteral("text"));
    x.writeNamespace(draw, QStringLiteral("draw"));
    x.writeNamespace(fo, QStringLiteral("fo"));
    x.writeNamespace(svg, QStringLiteral("svg"));
    x.writeStartElement(office, QStringLiteral("document"));
    x.writeAttribute(office, QStringLiteral("version"), QStringLiteral("1.2"));
    x.writeAttribute(office, QStringLiteral("mimetype"),
                     QStringLiteral("application/vnd.oasis.opendocument.graphics"));

    x.writeStartElement(office, QStringLiteral("automatic-styles"));
    x.writeStartElement(style, QStringLiteral("page-layout"));
    x.writeAttribute(style, QStringLiteral("name"), QStringLiteral("A4"));
    x.writeEmptyElement(style, QStringLiteral("page-layout-properties"));
    x.writeAttribute(fo, QStringLiteral("page-width"), Mm(BenchForm::SheetWidthMm));
    x.writeAttribute(fo, QStringLiteral("page-height"), Mm(BenchForm::SheetHeightMm));
    x.writeAttribute(style, QStringLiteral("print-orientation"), QStringLiteral("portrait"));
    for (const char* side : {"margin-top", "margin-bottom", "margin-left", "margin-right"})
        x.writeAttribute(fo, QString::fromLatin1(side), Mm(0));
    x.writeEndElement();
    // The frame: no line, no fill, text from its top-left corner, no autogrow.
    x.writeStartElement(style, QStringLiteral("style"));
    x.writeAttribute(style, QStringLiteral("name"), QStringLiteral("box"));
    x.writeAttribute(style, QStringLiteral("family"), QStringLiteral("graphic"));
    x.writeEmptyElement(style, QStringLiteral("graphic-properties"));
    x.writeAttribute(draw, QStringLiteral("stroke"), QStringLiteral("none"));
    x.writeAttribute(draw, QStringLiteral("fill"), QStringLiteral("none"));
    x.writeAttribute(draw, QStringLiteral("textarea-vertical-align"), QStringLiteral("top"));
    x.writeAttribute(draw, QStringLiteral("auto-grow-height"), QStringLiteral("false"));
    for (const char* side : {"padding-top", "padding-bottom", "padding-left", "padding-right"})
        x.writeAttribute(fo, QString::fromLatin1(side), Mm(0));
    x.writeEndElement();
    for (int kind = 0; kind < 4; ++kind) {
        x.writeStartElement(style, QStringLiteral("style"));
        x.writeAttribute(style, QStringLiteral("name"), QStringLiteral("t%1").arg(kind));
        x.writeAttribute(style, QStringLiteral("family"), QStringLiteral("text"));
        x.writeEmptyElement(style, QStringLiteral("text-properties"));
        x.writeAttribute(fo, QStringLiteral("font-family"), BenchForm::FontName);
        x.writeAttribute(fo, QStringLiteral("font-size"),
                         QStringLiteral("%1pt").arg(BenchForm::FontSize));
        x.writeAttribute(fo, QStringLiteral("font-weight"),
                         kind & 1 ? QStringLiteral("bold") : QStringLiteral("normal"));
        x.writeAttribute(style, QStringLiteral("text-underline-style"),
                         kind & 2 ? QStringLiteral("solid") : QStringLiteral("none"));
        x.writeEndElement();
    }
    x.writeEndElement();  // automatic-styles

    x.writeStartElement(office, QStringLiteral("master-styles"));
    x.writeEmptyElement(style, QStringLiteral("master-page"));
    x.writeAttribute(style, QStringLiteral("name"), QStringLiteral("Sheet"));
    x.writeAttribute(style, QStringLiteral("page-layout-name"), QStringLiteral("A4"));
    x.writeEndElement();

    x.writeStartElement(office, QStringLiteral("body"));
    x.writeStartElement(office, QStringLiteral("drawing"));
    for (int p = 1; p <= pages; ++p) {
        x.writeStartElement(draw, QStringLiteral("page"));
        x.writeAttribute(draw, QStringLiteral("name"), QStringLiteral("page%1").arg(p));
        x.writeAttribute(draw, QStringLiteral("master-page-name"), QStringLiteral("Sheet"));
        for (const BenchForm::Field& f : BenchForm::PageFields(p)) {
            x.writeStartElement(draw, QStringLiteral("frame"));
            x.writeAttribute(draw, QStringLiteral("style-name"), QStringLiteral("box"));
            x.writeAttribute(svg, QStringLiteral("x"), Mm(f.left));
            x.writeAttribute(svg, QStringLiteral("y"), Mm(f.top));
            x.writeAttribute(svg, QStringLiteral("width"), Mm(f.width));
            x.writeAttribute(svg, QStringLiteral("height"), Mm(f.height));
            x.writeStartElement(draw, QStringLiteral("text-box"));
            x.writeStartElement(text, QStringLiteral("p"));
            x.writeStartElement(text, QStringLiteral("span"));
            x.writeAttribute(text, QStringLiteral("style-name"),
                             QStringLiteral("t%1").arg((f.bold ? 1 : 0) | (f.underline ? 2 : 0)));
            const QStringList lines = BenchForm::Paragraphs(BenchForm::Value(f));
            for (int i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    x.writeEmptyElement(text, QStringLiteral("line-break"));
                x.writeCharacters(lines[i]);
            }
            x.writeEndElement();  // span
            x.writeEndElement();  // p
            x.writeEndElement();  // text-box
            x.writeEndElement();  // frame
        }
        x.writeEndElement();  // page
    }
    x.writeEndDocument();
    if (x.hasError() || !out.flush())
        throw Failure(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    const QString mode = args.value(1);
    bool ok = false;
    const int pages = args.value(2).toInt(&ok);
    bool perPageOk = args.size() == 4;
    const int perPage = args.size() == 5 ? args[4].toInt(&perPageOk) : BenchForm::FieldsPerPage;
    if ((args.size() != 4 && (args.size() != 5 || mode != u"db")) || !ok || !perPageOk ||
        pages < 1 || pages > 32767 || perPage < 1 || perPage > 200 ||
        (mode != u"db" && mode != u"fodg")) {
        err << "usage: bench_generate db N FILE [K]   a new database: one template of N pages,\n"
               "                                      K fields a page (40), one document\n"
               "                                      for printing\n"
               "       bench_generate fodg N FILE     the 40-field pages as a flat drawing\n";
        return 2;
    }
    try {
        if (mode == u"db")
            BenchForm::WriteDatabase(pages, args[3], perPage);
        else
            WriteDrawing(pages, args[3]);
    } catch (const Failure& e) {
        err << "bench_generate: " << e.Message() << '\n';
        return 1;
    }
    return 0;
}
