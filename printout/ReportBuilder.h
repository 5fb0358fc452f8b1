#pragma once

#include <QHash>
#include <QString>

class TfData;
class TfrReport;

// Turns the current document for printing of the data module into the design pages of a
// report: one page per template page, one text object per field that has a value.
class TfReportBuilder {
public:
    // Field positions are converted at this resolution whatever the screen's, so a template
    // lands in the same place on every display.
    static constexpr int FormDotsPerInch = 96;

    TfReportBuilder(TfData& data, TfrReport& report) : data_(data), report_(report) {}

    // Empties the report's pages and adds one per template page, each on its paper turned to
    // the template's orientation. A null orientation raises "Invalid variant type conversion".
    void SetupPages();
    // The text object of the current template field, when the current document for printing
    // has a value for it. A page number outside the pages raises the engine's list error.
    void AddFieldObject();
    // The report titled by the document's description, SetupPages, then AddFieldObject for
    // every field of the template in order.
    void Build();

private:
    // Each field's value in the current document for printing, by the field's Id.
    QHash<qint64, QString> DocumentValues() const;
    // The text object of the current template field, carrying `text`.
    void AddObject(const QString& text);

    TfData& data_;
    TfrReport& report_;
};
