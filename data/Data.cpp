#include "Data.h"

#include "AppFrame.h"
#include "Failure.h"
#include "Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace {
using K = TFieldKind;
using T = TFieldType;
}  // namespace

TfData::TfData(AppFrame& frame, QObject* parent)
    : QObject(parent),
      Document(Con, QStringLiteral("Document")),
      Values_(Con, QStringLiteral("Values_")),
      ListDoc(Con, QStringLiteral("ListDoc")),
      HistoryValue(Con, QStringLiteral("HistoryValue")),
      dsDocument(Document),
      dsValues_(Values_),
      dsListDoc(ListDoc),
      dsHistoryValue(HistoryValue),
      DocumentId(Document.AddField(QStringLiteral("Id"), K::Data, T::AutoInc)),
      DocumentName(Document.AddField(QStringLiteral("Name"), K::Data, T::String, 100)),
      DocumentPageCount(Document.AddField(QStringLiteral("PageCount"), K::Data, T::SmallInt)),
      DocumentOrientetion(Document.AddField(QStringLiteral("Orientetion"), K::Data, T::SmallInt)),
      DocumentOrientName(
          Document.AddField(QStringLiteral("OrientName"), K::Calculated, T::String, 15)),
      Values_Id(Values_.AddField(QStringLiteral("Id"), K::Data, T::AutoInc)),
      Values_Document_Id(Values_.AddField(QStringLiteral("Document_Id"), K::Data, T::Integer)),
      Values_VarName(Values_.AddField(QStringLiteral("VarName"), K::Data, T::String, 100)),
      Values_VarValue(Values_.AddField(QStringLiteral("VarValue"), K::Data, T::String, 255)),
      Values_PageNum(Values_.AddField(QStringLiteral("PageNum"), K::Data, T::SmallInt)),
      Values_Left(Values_.AddField(QStringLiteral("Left"), K::Data, T::Integer)),
      Values_Top(Values_.AddField(QStringLiteral("Top"), K::Data, T::Integer)),
      Values_Height(Values_.AddField(QStringLiteral("Height"), K::Data, T::Integer)),
      Values_Width(Values_.AddField(QStringLiteral("Width"), K::Data, T::Integer)),
      Values_FontSize(Values_.AddField(QStringLiteral("FontSize"), K::Data, T::SmallInt)),
      Values_FontName(Values_.AddField(QStringLiteral("FontName"), K::Data, T::String, 30)),
      Values_FontBold(Values_.AddField(QStringLiteral("FontBold"), K::Data, T::Boolean)),
      Values_FontUnderline(Values_.AddField(QStringLiteral("FontUnderline"), K::Data, T::Boolean)),
      ListDocId(ListDoc.AddField(QStringLiteral("Id"), K::Data, T::AutoInc)),
      ListDocDocument_Id(ListDoc.AddField(QStringLiteral("Document_Id"), K::Data, T::Integer)),
      ListDocDate(ListDoc.AddField(QStringLiteral("Date"), K::Data, T::DateTime)),
      ListDocDescript(ListDoc.AddField(QStringLiteral("Descript"), K::Data, T::String, 100)),
      HistoryValueId(HistoryValue.AddField(QStringLiteral("Id"), K::Data, T::AutoInc)),
      HistoryValueListDoc_Id(
          HistoryValue.AddField(QStringLiteral("ListDoc_Id"), K::Data, T::Integer)),
      HistoryValueValues_Id(
          HistoryValue.AddField(QStringLiteral("Values_Id"), K::Data, T::Integer)),
      HistoryValueValue(HistoryValue.AddField(QStringLiteral("Value"), K::Data, T::String, 255)),
      HistoryValueVarName(Lookup("VarName", T::String, 100)),
      HistoryValueLeft(Lookup("Left", T::Integer)),
      HistoryValueTop(Lookup("Top", T::Integer)),
      HistoryValueHeight(Lookup("Height", T::Integer)),
      HistoryValueWidth(Lookup("Width", T::Integer)),
      HistoryValuePageNum(Lookup("PageNum", T::Integer)),
      frame_(frame) {
    Con.DataSource = QStringLiteral("Quillbox.mdb");

    Values_.IndexFieldNames = QStringLiteral("Document_Id;PageNum;VarName");
    Values_.MasterFields = QStringLiteral("Id");
    Values_.SetMasterSource(&dsDocument);
    ListDoc.IndexFieldNames = QStringLiteral("Document_Id;Date");
    ListDoc.MasterFields = QStringLiteral("Id");
    ListDoc.SetMasterSource(&dsDocument);
    HistoryValue.IndexFieldNames = QStringLiteral("ListDoc_Id");
    HistoryValue.MasterFields = QStringLiteral("Id");
    HistoryValue.SetMasterSource(&dsListDoc);

    Document.OnCalcFields = [this](TADOTable& table) { DocumentCalcFields(table); };

    // The names the windows show, for the store's refusals.
    const std::pair<TField*, const char*> labels[] = {
        {&DocumentName, "Наименование"},
        {&DocumentPageCount, "Колличество страниц"},
        {&DocumentOrientetion, "Ориентация страниц"},
        {&Values_VarName, "Наименование"},
        {&Values_VarValue, "Текст для печати по умолчанию"},
        {&Values_PageNum, "Номер страницы"},
        {&Values_Left, "Слева"},
        {&Values_Top, "Сверху"},
        {&Values_Height, "Высота"},
        {&Values_Width, "Ширина"},
        {&Values_FontSize, "Размер"},
        {&Values_FontName, "Шрифт"},
        {&Values_FontBold, "Выделенный"},
        {&Values_FontUnderline, "Подчеркнутый"},
        {&ListDocDate, "Дата"},
        {&ListDocDescript, "Описание"},
        {&HistoryValueValue, "Значение для печати"},
    };
    for (const auto& [field, label] : labels)
        field->SetDisplayLabel(QString::fromUtf8(label));
}

TfData::~TfData() = default;

TField& TfData::Lookup(const char* name, TFieldType type, int size) {
    TField& f = HistoryValue.AddField(QLatin1String(name), K::Lookup, type, size);
    f.LookupDataSet = &Values_;
    f.LookupKeyFields = QStringLiteral("Id");
    f.LookupResultField = QLatin1String(name);
    f.KeyFields = QStringLiteral("Values_Id");
    return f;
}

void TfData::DataModuleCreate(const QString& executablePath) {
    VerInf.SetFilename(executablePath);
    frame_.AppCaption =
        frame_.Title + QStringLiteral(" {") + VerInf.FileVersion() + QLatin1Char('}');

    // The working directory as the system gives it: on a case-sensitive file system an
    // upper-cased path would name another folder.
    const QString cwd = QDir::currentPath();
    if (!QFileInfo::exists(cwd + QStringLiteral("/Quillbox.mdb"))) {
        frame_.ShowInfo(
            QStringLiteral("Не найден файл базы данных Quillbox.mdb по указанному пути\r") +
                QDir::toNativeSeparators(cwd) + QStringLiteral("\rПродолжение невозможно."),
            QStringLiteral("Ошибка !"));
        frame_.Terminate();
        return;
    }

    Con.Close();
    Con.Open();
    CheckSchema();
    PageImages.Prepare();
    Document.Open();
    Values_.Open();
    ListDoc.Open();
    HistoryValue.Open();
}

void TfData::CheckSchema() {
    Schema::Columns used;
    for (const TADOTable* table : {&Document, &Values_, &ListDoc, &HistoryValue}) {
        QStringList columns;
        for (const auto& field : table->Fields()) {
            if (field->FieldKind() == TFieldKind::Data)
                columns << field->FieldName();
        }
        used.append({table->TableName(), columns});
    }
    Schema::Check(Con, used);
}

void TfData::DocumentCalcFields(TADOTable& dataSet) {
    if (dataSet.State() == TDataSetState::dsEdit || dataSet.State() == TDataSetState::dsInsert)
        return;
    switch (DocumentOrientetion.AsInteger()) {  // null reads as 0
        case 0:
            DocumentOrientName.SetValue(QStringLiteral("Портрет"));
            break;
        case 1:
            DocumentOrientName.SetValue(QStringLiteral("Ландшафт"));
            break;
        default:
            break;
    }
}

void TfData::RefreshFields() {
    // Without a document for printing the values would belong to no one.
    if (ListDoc.IsEmpty() || ListDoc.State() == TDataSetState::dsInsert)
        return;
    // All the document's new values in one transaction: one write to the disk instead of one
    // for each, and never half of them after a failure.
    QSqlDatabase db = Con.Database();
    const bool own = db.transaction();
    try {
        Values_.First();
        while (!Values_.Eof()) {
            if (!HistoryValue.LocateRow(QStringLiteral("ListDoc_Id;Values_Id"),
                                        {ListDocId.Value(), Values_Id.Value()})) {
                HistoryValue.Append();
                HistoryValueListDoc_Id.SetAsInteger(ListDocId.AsInteger());
                HistoryValueValue.SetValue(Values_VarValue.IsNull() ? QVariant(QStringLiteral(" "))
                                                                    : Values_VarValue.Value());
                HistoryValueValues_Id.SetAsInteger(Values_Id.AsInteger());
                HistoryValue.Post();
            }
            Values_.Next();
        }
        if (own && !db.commit())
            throw DatabaseError(db.lastError().text());
    } catch (...) {
        if (own) {
            db.rollback();
            if (HistoryValue.State() != TDataSetState::dsBrowse)
                HistoryValue.Cancel();
            HistoryValue.Requery();  // the rows the rollback took back
        }
        throw;
    }
    Values_.First();
    HistoryValue.First();
}
