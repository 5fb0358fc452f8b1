#pragma once

#include <QHash>
#include <QString>
#include <memory>

class TfData;
class TfDataTables;
class TfrReport;

// Turns the current document for printing of the data module into the design pages of a
// report: one page per template page, one text object per field that has a value.
class TfReportBuilder {
public:
    // Field positions are converted at this resolution whatever the screen's, so a template
    // lands in the same place on every display.
    static constexpr int FormDotsPerInch = 96;
    // No sheet is larger: a field placed or sized beyond this many millimetres either way is
    // refused.
    static constexpr int MaxFieldMm = 10000;

    TfReportBuilder(TfData& data, TfrReport& report);
    ~TfReportBuilder();

    // Empties the report's pages and adds one per template page, each on its paper turned to
    // the template's orientation. A null orientation raises "Invalid variant type conversion".
    void SetupPages();
    // The report titled by the document's description, SetupPages, then the text object of
    // every field of the template that the document has a value for, in order. A page number
    // outside the pages raises the engine's list error. The current rows of the data module's
    // tables stay readable by the report ("fData.ListDoc.Descript") until the next build or the
    // builder's end, also when the data module goes first.
    void Build();

private:
    // Each field's value in the current document for printing, by the field's Id.
    QHash<qint64, QString> DocumentValues() const;
    // The text object of the current template field, carrying `text`.
    void AddObject(const QString& text);

    TfData& data_;
    TfrReport& report_;
    std::unique_ptr<TfDataTables> tables_;
};
