#include "ReportBuilder.h"

#include "Data.h"
#include "EngineErrors.h"
#include "MemoView.h"
#include "MmConversion.h"
#include "Page.h"
#include "Report.h"

#include <QHash>
#include <QScopeGuard>
#include <memory>

void TfReportBuilder::SetupPages() {
    report_.Pages.ClearAll();
    const int count = data_.DocumentPageCount.AsInteger();  // null: no page
    for (int i = 1; i <= count; ++i) {
        report_.Pages.Add();
        if (data_.DocumentOrientetion.IsNull())
            throw EVariantError();
        TfrPage& page = report_.Pages.PageAt(i - 1);
        page.SelectPaper(page.PaperKind, page.PaperX, page.PaperY, page.PaperSource,
                         data_.DocumentOrientetion.AsInteger());
    }
}

void TfReportBuilder::AddFieldObject() {
    if (!data_.HistoryValue.LocateRow(QStringLiteral("ListDoc_Id;Values_Id"),
                                      {data_.ListDocId.Value(), data_.Values_Id.Value()}))
        return;
    AddObject(data_.HistoryValueValue.AsString());
}

QHash<qint64, QString> TfReportBuilder::DocumentValues() const {
    TADOTable& values = data_.HistoryValue;
    values.CheckBrowseMode();
    const QVariant document = data_.ListDocId.Value();
    QHash<qint64, QString> found;
    if (document.isNull())
        return found;
    for (int row = 0; row < values.RecordCount(); ++row) {
        const QVariant field = data_.HistoryValueValues_Id.ValueAt(row);
        const QVariant owner = data_.HistoryValueListDoc_Id.ValueAt(row);
        // The first row of a field counts, as a search from the top finds it.
        if (!field.isNull() && !owner.isNull() && owner.toLongLong() == document.toLongLong() &&
            !found.contains(field.toLongLong()))
            found.insert(field.toLongLong(), data_.HistoryValueValue.ValueAt(row).toString());
    }
    return found;
}

void TfReportBuilder::AddObject(const QString& text) {
    TfrPage& page = report_.Pages.PageAt(data_.Values_PageNum.AsInteger() - 1);

    auto memo = std::make_unique<TfrMemoView>();
    memo->PlaceAt(MmToPixels(FormDotsPerInch, data_.Values_Left.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Top.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Width.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Height.AsInteger()));
    memo->Memo.append(text);

    int style = 0;
    if (data_.Values_FontBold.AsBoolean())
        style += fsBold;
    if (data_.Values_FontUnderline.AsBoolean())
        style += fsUnderline;
    memo->SetProperty(QStringLiteral("Font.Style"), style);
    memo->SetProperty(QStringLiteral("Font.Name"), data_.Values_FontName.AsString());
    memo->SetProperty(QStringLiteral("Font.Size"), data_.Values_FontSize.AsInteger());

    page.AddObject(std::move(memo));
}

void TfReportBuilder::Build() {
    // The spooler lists the job under the document's name.
    report_.Title = data_.ListDocDescript.AsString();
    SetupPages();
    // One pass over the document's values instead of a search for every field, which made a
    // large form's build quadratic. The values cursor stays where the user left it.
    const QHash<qint64, QString> values = DocumentValues();
    // The controls showing the current field follow the cursor once, to the last field.
    data_.Values_.DisableControls();
    const auto enable = qScopeGuard([this] { data_.Values_.EnableControls(); });
    data_.Values_.First();
    while (!data_.Values_.Eof()) {
        const QVariant field = data_.Values_Id.Value();
        const auto value = field.isNull() ? values.end() : values.find(field.toLongLong());
        if (value != values.end())
            AddObject(*value);
        data_.Values_.Next();
    }
}
