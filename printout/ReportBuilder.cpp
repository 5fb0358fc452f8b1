#include "ReportBuilder.h"

#include "Data.h"
#include "DataTables.h"
#include "EngineErrors.h"
#include "MemoView.h"
#include "MmConversion.h"
#include "Page.h"
#include "Report.h"

#include <QHash>
#include <QScopeGuard>
#include <memory>

namespace {

// A position or size of the current field in millimetres; refused beyond any sheet, named with
// the field so that the user finds it.
int FieldMm(const TfData& data, const TField& column, const QString& what) {
    const QVariant value = column.Value();
    bool ok = true;
    const qlonglong mm = value.isNull() ? 0 : value.toLongLong(&ok);
    if (ok && mm >= -TfReportBuilder::MaxFieldMm && mm <= TfReportBuilder::MaxFieldMm)
        return static_cast<int>(mm);
    throw Failure(
        QStringLiteral("Поле «%1»: %2 %3 мм за пределами листа (допустимо от %4 до %5 мм)")
            .arg(data.Values_VarName.AsString(), what, value.toString())
            .arg(-TfReportBuilder::MaxFieldMm)
            .arg(TfReportBuilder::MaxFieldMm));
}

// The evaluator gives the page count only to a two-pass preparation.
bool MentionsTotalPages(const QString& text) {
    return text.contains(QLatin1String("TOTALPAGES"), Qt::CaseInsensitive);
}

}  // namespace

TfReportBuilder::TfReportBuilder(TfData& data, TfrReport& report) : data_(data), report_(report) {}

TfReportBuilder::~TfReportBuilder() = default;

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

QHash<qint64, QString> TfReportBuilder::DocumentValues() const {
    const TADOTable& values = data_.HistoryValue;
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
    const int left = FieldMm(data_, data_.Values_Left, QStringLiteral("отступ слева"));
    const int top = FieldMm(data_, data_.Values_Top, QStringLiteral("отступ сверху"));
    const int width = FieldMm(data_, data_.Values_Width, QStringLiteral("ширина"));
    const int height = FieldMm(data_, data_.Values_Height, QStringLiteral("высота"));

    auto memo = std::make_unique<TfrMemoView>();
    // The engine's error box names the object: the field's name leads the user to its value.
    memo->Name = data_.Values_VarName.AsString();
    memo->PlaceAt(MmToPixels(FormDotsPerInch, left), MmToPixels(FormDotsPerInch, top),
                  MmToPixels(FormDotsPerInch, width), MmToPixels(FormDotsPerInch, height));
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
    // The spooler lists the job under the document's name, and the engine's error box names
    // the document by it.
    report_.Title = data_.ListDocDescript.AsString();
    data_.HistoryValue.CheckBrowseMode();
    // The rows the user sees as current, before the fields are walked.
    tables_.reset();
    tables_ = std::make_unique<TfDataTables>(data_);
    SetupPages();
    // One pass over the document's values instead of a search for every field, which made a
    // large form's build quadratic. The values cursor stays where the user left it.
    const QHash<qint64, QString> values = DocumentValues();
    bool totalPages = false;
    // The controls showing the current field follow the cursor once, to the last field.
    data_.Values_.DisableControls();
    const auto enable = qScopeGuard([this] { data_.Values_.EnableControls(); });
    data_.Values_.First();
    while (!data_.Values_.Eof()) {
        const QVariant field = data_.Values_Id.Value();
        const auto value = field.isNull() ? values.end() : values.find(field.toLongLong());
        if (value != values.end()) {
            AddObject(*value);
            totalPages = totalPages || MentionsTotalPages(*value);
        }
        data_.Values_.Next();
    }
    report_.TwoPass = totalPages;
}
