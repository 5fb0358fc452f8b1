#include "ReportBuilder.h"

#include "Data.h"
#include "EngineErrors.h"
#include "MemoView.h"
#include "MmConversion.h"
#include "Page.h"
#include "Report.h"

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
    TfrPage& page = report_.Pages.PageAt(data_.Values_PageNum.AsInteger() - 1);

    auto memo = std::make_unique<TfrMemoView>();
    memo->PlaceAt(MmToPixels(FormDotsPerInch, data_.Values_Left.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Top.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Width.AsInteger()),
                  MmToPixels(FormDotsPerInch, data_.Values_Height.AsInteger()));
    memo->Memo.append(data_.HistoryValueValue.AsString());

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
    SetupPages();
    data_.Values_.First();
    while (!data_.Values_.Eof()) {
        AddFieldObject();
        data_.Values_.Next();
    }
}
