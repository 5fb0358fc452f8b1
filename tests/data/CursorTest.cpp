#include "DataFixture.h"

#include "Failure.h"

#include <QSignalSpy>

namespace {

using S = TDataSetState;

class Cursor : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        docA = AddTemplate(QStringLiteral("Бланк А"));
        docB = AddTemplate(QStringLiteral("Бланк Б"));
        fieldA1 = AddField(docA, QStringLiteral("Имя"), QStringLiteral("Иван"));
        fieldA2 = AddField(docA, QStringLiteral("Адрес"), QStringLiteral("Москва"));
        fieldA3 = AddField(docA, QStringLiteral("Дата"), QVariant(), 2);
        listA1 = AddListDoc(docA, QStringLiteral("2026-03-01"), QStringLiteral("Первый"));
        listA2 = AddListDoc(docA, QStringLiteral("2026-01-15"), QStringLiteral("Второй"));
        AddValue(listA1, fieldA1, QStringLiteral("Пётр"));
        AddValue(listA1, fieldA2, QStringLiteral("Тверь"));
        AddValue(listA2, fieldA1, QStringLiteral("Анна"));
        OpenModule();
    }

    QStringList Column(TADOTable& table, const QString& field) {
        QStringList out;
        for (int i = 0; i < table.RowCount(); ++i)
            out << table.FieldByName(field).DisplayText(i);
        return out;
    }

    qint64 docA{}, docB{}, fieldA1{}, fieldA2{}, fieldA3{}, listA1{}, listA2{};
};

TEST_F(Cursor, OpensEveryTableThroughItsLinkAndSort) {
    EXPECT_EQ(data->Document.State(), S::dsBrowse);
    EXPECT_EQ(data->Document.RecordCount(), 2);
    EXPECT_EQ(data->DocumentName.AsString(), QStringLiteral("Бланк А"));
    // Values_ by PageNum, then VarName; ListDoc by Date; HistoryValue of the first document.
    EXPECT_EQ(
        Column(data->Values_, QStringLiteral("VarName")),
        (QStringList{QStringLiteral("Адрес"), QStringLiteral("Имя"), QStringLiteral("Дата")}));
    EXPECT_EQ(Column(data->ListDoc, QStringLiteral("Descript")),
              (QStringList{QStringLiteral("Второй"), QStringLiteral("Первый")}));
    EXPECT_EQ(Column(data->HistoryValue, QStringLiteral("Value")),
              QStringList{QStringLiteral("Анна")});
    EXPECT_EQ(data->ListDocDate.AsDateTime(), QDateTime(QDate(2026, 1, 15), QTime(0, 0)));
}

TEST_F(Cursor, TextIsOrderedAsARussianReaderExpects) {
    for (const char* name : {"Яблоко", "ель", "Ёлка", "ёж", "Еда", "Ель", "ясли"})
        AddField(docB, QString::fromUtf8(name), QVariant(), 3);
    data->Document.Requery();
    data->Document.Next();
    ASSERT_EQ(data->DocumentName.AsString(), QStringLiteral("Бланк Б"));
    // "Ё" sorts with "Е"; case decides only between otherwise equal names, small letters first.
    EXPECT_EQ(Column(data->Values_, QStringLiteral("VarName")),
              (QStringList{QStringLiteral("Еда"), QStringLiteral("ёж"), QStringLiteral("Ёлка"),
                           QStringLiteral("ель"), QStringLiteral("Ель"), QStringLiteral("Яблоко"),
                           QStringLiteral("ясли")}));
}

TEST_F(Cursor, States) {
    struct Step {
        const char* name;
        std::function<void(TfData&)> action;
        S state;
        int recNo;
        int count;
    };
    const Step steps[] = {
        {"open", [](TfData&) {}, S::dsBrowse, 1, 2},
        {"edit", [](TfData& d) { d.Document.Edit(); }, S::dsEdit, 1, 2},
        {"cancel an edit", [](TfData& d) { d.Document.Cancel(); }, S::dsBrowse, 1, 2},
        {"cancel in browse does nothing", [](TfData& d) { d.Document.Cancel(); }, S::dsBrowse, 1,
         2},
        {"append", [](TfData& d) { d.Document.Append(); }, S::dsInsert, -1, 2},
        {"set a field", [](TfData& d) { d.DocumentName.SetAsString(QStringLiteral("Новый")); },
         S::dsInsert, -1, 2},
        {"post", [](TfData& d) { d.Document.Post(); }, S::dsBrowse, 3, 3},
        {"append again", [](TfData& d) { d.Document.Append(); }, S::dsInsert, -1, 3},
        {"moving away from an unchanged new row drops it", [](TfData& d) { d.Document.First(); },
         S::dsBrowse, 1, 3},
        {"edit and change",
         [](TfData& d) {
             d.Document.Edit();
             d.DocumentName.SetAsString(QStringLiteral("Изменён"));
         },
         S::dsEdit, 1, 3},
        {"moving away from a changed row stores it", [](TfData& d) { d.Document.Next(); },
         S::dsBrowse, 2, 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.action(*data);
        EXPECT_EQ(data->Document.State(), step.state);
        EXPECT_EQ(data->Document.RecNo(), step.recNo);
        EXPECT_EQ(data->Document.RecordCount(), step.count);
    }
    EXPECT_EQ(
        Scalar(QStringLiteral("SELECT Name FROM Document WHERE Id = %1").arg(docA)).toString(),
        QStringLiteral("Изменён"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM Document")).toInt(), 3);
}

TEST_F(Cursor, SettingAFieldInBrowseStateFails) {
    EXPECT_THROW(data->DocumentName.SetAsString(QStringLiteral("x")), DatabaseError);
    EXPECT_THROW(data->Document.Post(), DatabaseError);
    EXPECT_THROW(data->DocumentId.SetAsInteger(5), DatabaseError);  // auto-numbers are the store's
}

TEST_F(Cursor, CancelAndDelete) {
    TADOTable& list = data->ListDoc;
    list.Append();
    list.Cancel();
    EXPECT_EQ(list.RecordCount(), 2);
    EXPECT_EQ(list.RecNo(), 1);

    list.Append();
    list.Delete();  // in insert state the same as Cancel
    EXPECT_EQ(list.RecordCount(), 2);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM ListDoc")).toInt(), 2);

    // The deleted row was the last: the previous one becomes current.
    list.SetRecNo(2);
    list.Delete();
    EXPECT_EQ(list.RecNo(), 1);
    EXPECT_FALSE(list.Eof());
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Второй"));
    list.Delete();
    EXPECT_TRUE(list.Eof());
    EXPECT_EQ(list.RecNo(), -1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM ListDoc")).toInt(), 0);

    try {
        list.Delete();
        FAIL() << "Delete on an empty view must fail";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot perform this operation on an empty dataset"));
    }
}

TEST_F(Cursor, DeleteMakesTheNextRowCurrent) {
    data->Values_.First();  // Адрес, Имя, Дата
    data->Values_.Delete();
    EXPECT_EQ(data->Values_VarName.AsString(), QStringLiteral("Имя"));
    EXPECT_EQ(data->Values_.RecNo(), 1);
    EXPECT_EQ(data->Values_.RecordCount(), 2);
}

TEST_F(Cursor, EditOnAnEmptyViewAppends) {
    data->Document.SetRecNo(2);  // Бланк Б has no fields
    ASSERT_EQ(data->Values_.RecordCount(), 0);
    data->Values_.Edit();
    EXPECT_EQ(data->Values_.State(), S::dsInsert);
    EXPECT_EQ(data->Values_Document_Id.AsInteger(), docB);  // the link column of the new row
    data->Values_VarName.SetAsString(QStringLiteral("Поле"));
    data->Values_.Post();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Document_Id FROM Values_ WHERE VarName = 'Поле'"))
                  .toLongLong(),
              docB);
}

TEST_F(Cursor, RecNoRules) {
    TADOTable& values = data->Values_;
    EXPECT_EQ(values.RecNo(), 1);
    values.SetRecNo(3);
    EXPECT_EQ(values.RecNo(), 3);
    EXPECT_EQ(data->Values_VarName.AsString(), QStringLiteral("Дата"));
    values.Next();
    EXPECT_TRUE(values.Eof());
    EXPECT_EQ(values.RecNo(), 3);
    values.SetRecNo(99);  // past the end: the last row
    EXPECT_EQ(values.RecNo(), 3);
    values.SetRecNo(0);
    EXPECT_EQ(values.RecNo(), 1);
    values.Append();
    EXPECT_EQ(values.RecNo(), -1);
    values.Cancel();
    EXPECT_EQ(values.RecNo(), 1);  // back where it was before the append
    data->Document.SetRecNo(2);
    EXPECT_EQ(values.RecNo(), -1);  // empty view
    EXPECT_TRUE(values.Eof());
}

TEST_F(Cursor, LocateRowMatchesExactly) {
    struct Case {
        const char* name;
        QString columns;
        QVariantList values;
        bool found;
        QString current;  // VarName afterwards
    };
    const Case cases[] = {
        {"whole value",
         QStringLiteral("VarName"),
         {QStringLiteral("Имя")},
         true,
         QStringLiteral("Имя")},
        {"case differs",
         QStringLiteral("VarName"),
         {QStringLiteral("имя")},
         false,
         QStringLiteral("Имя")},
        {"partial value",
         QStringLiteral("VarName"),
         {QStringLiteral("Да")},
         false,
         QStringLiteral("Имя")},
        {"two columns",
         QStringLiteral("Document_Id;VarName"),
         {docA, QStringLiteral("Дата")},
         true,
         QStringLiteral("Дата")},
        {"two columns, one differs",
         QStringLiteral("Document_Id;VarName"),
         {docB, QStringLiteral("Имя")},
         false,
         QStringLiteral("Дата")},
        {"null matches nothing",
         QStringLiteral("VarValue"),
         {QVariant()},
         false,
         QStringLiteral("Дата")},
        {"integer given as text",
         QStringLiteral("Id"),
         {QString::number(fieldA2)},
         true,
         QStringLiteral("Адрес")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(data->Values_.LocateRow(c.columns, c.values), c.found);
        EXPECT_EQ(data->Values_VarName.AsString(), c.current);
    }
}

TEST_F(Cursor, PlainTableKeepsAStoredRowAtTheEndUntilReadAgain) {
    TADOTable list(data->Con, QStringLiteral("ListDoc"));
    list.AddField(QStringLiteral("Id"), TFieldKind::Data, TFieldType::AutoInc);
    list.AddField(QStringLiteral("Document_Id"), TFieldKind::Data, TFieldType::Integer);
    TField& date = list.AddField(QStringLiteral("Date"), TFieldKind::Data, TFieldType::DateTime);
    TField& descript =
        list.AddField(QStringLiteral("Descript"), TFieldKind::Data, TFieldType::String, 100);
    list.IndexFieldNames = QStringLiteral("Date");
    list.Open();
    QStringList seenAfterPost;
    list.AfterPost = [&](TADOTable& t) { seenAfterPost = Column(t, QStringLiteral("Descript")); };

    list.Append();
    date.SetValue(QDate(2025, 5, 5));
    descript.SetAsString(QStringLiteral("Ранний"));
    list.Post();
    const QStringList stored{QStringLiteral("Второй"), QStringLiteral("Первый"),
                             QStringLiteral("Ранний")};
    EXPECT_EQ(Column(list, QStringLiteral("Descript")), stored);
    EXPECT_EQ(seenAfterPost, stored);
    EXPECT_EQ(list.RecNo(), 3);
    EXPECT_FALSE(list.FieldByName(QStringLiteral("Id")).IsNull());
    list.Requery();
    EXPECT_EQ(Column(list, QStringLiteral("Descript")),
              (QStringList{QStringLiteral("Ранний"), QStringLiteral("Второй"),
                           QStringLiteral("Первый")}));
    EXPECT_EQ(list.RecNo(), 1);
}

TEST_F(Cursor, PostReReadsAndStaysOnTheStoredRow) {
    // A new document for printing dated before the others sorts first after the re-read.
    data->ListDoc.Append();
    data->ListDocDate.SetValue(QDate(2025, 12, 31));
    data->ListDocDescript.SetAsString(QStringLiteral("Новый"));
    data->ListDoc.Post();
    EXPECT_EQ(
        Column(data->ListDoc, QStringLiteral("Descript")),
        (QStringList{QStringLiteral("Новый"), QStringLiteral("Второй"), QStringLiteral("Первый")}));
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Новый"));
    EXPECT_EQ(data->ListDoc.RecNo(), 1);
    EXPECT_EQ(
        data->ListDocId.Value().toLongLong(),
        Scalar(QStringLiteral("SELECT Id FROM ListDoc WHERE Descript = 'Новый'")).toLongLong());
    EXPECT_EQ(data->HistoryValue.RecordCount(), 0);  // the detail follows the new row

    // An edited row that moves keeps being current too.
    data->ListDoc.Edit();
    data->ListDocDate.SetValue(QDate(2027, 1, 1));
    data->ListDoc.Post();
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Новый"));
    EXPECT_EQ(data->ListDoc.RecNo(), 3);
}

TEST_F(Cursor, PostFallsBackToThePositionWhenTheRowLeftTheView) {
    data->ListDoc.SetRecNo(2);
    data->ListDoc.Edit();
    data->ListDocDocument_Id.SetValue(docB);  // moves it to the other template
    data->ListDoc.Post();
    EXPECT_EQ(data->ListDoc.RecordCount(), 1);
    EXPECT_EQ(data->ListDoc.RecNo(), 1);
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Второй"));
}

TEST_F(Cursor, MasterDetailChain) {
    // Another template: other fields, no documents, so no values either.
    data->Document.Next();
    EXPECT_EQ(data->Values_.RecordCount(), 0);
    EXPECT_EQ(data->ListDoc.RecordCount(), 0);
    EXPECT_EQ(data->HistoryValue.RecordCount(), 0);
    EXPECT_TRUE(data->HistoryValue.Eof());

    // Back: the first document for printing of the template decides the values.
    data->Document.First();
    EXPECT_EQ(data->ListDocDescript.AsString(), QStringLiteral("Второй"));
    EXPECT_EQ(data->HistoryValue.RecordCount(), 1);
    data->ListDoc.Next();
    EXPECT_EQ(data->HistoryValue.RecordCount(), 2);

    // A new master row has no key: its details are empty until it is stored.
    data->Document.Append();
    EXPECT_EQ(data->Values_.RecordCount(), 0);
    EXPECT_EQ(data->ListDoc.RecordCount(), 0);
    data->Document.Cancel();
    EXPECT_EQ(data->Values_.RecordCount(), 3);

    // The master becoming empty empties its detail.
    data->ListDoc.First();
    data->ListDoc.Delete();
    data->ListDoc.Delete();
    EXPECT_TRUE(data->ListDoc.IsEmpty());
    EXPECT_EQ(data->HistoryValue.RecordCount(), 0);
}

// With controls disabled the cursor moves silently for controls, but details still follow;
// enabling tells the controls once, and only when the cursor moved.
TEST_F(Cursor, DisabledControlsHearOfTheMovesOnceAtTheEnd) {
    QSignalSpy scrolled(&data->Document, &TADOTable::DataSetScrolled);
    data->Document.DisableControls();
    data->Document.DisableControls();
    data->Document.Next();
    EXPECT_EQ(data->Values_.RecordCount(), 0) << "the detail follows its master";
    data->Document.First();
    data->Document.EnableControls();
    EXPECT_EQ(scrolled.count(), 0) << "still disabled once";
    data->Document.EnableControls();
    EXPECT_EQ(scrolled.count(), 1);
    EXPECT_EQ(data->Values_.RecordCount(), 3);

    data->Document.DisableControls();
    data->Document.EnableControls();
    data->Document.EnableControls();  // one too many changes nothing
    EXPECT_EQ(scrolled.count(), 1) << "no move, no word";
    data->Document.Next();
    EXPECT_EQ(scrolled.count(), 2);
}

TEST_F(Cursor, MovingTheMasterStoresOrDiscardsTheDetailEdit) {
    data->ListDoc.SetRecNo(2);
    data->HistoryValue.Edit();
    data->HistoryValueValue.SetAsString(QStringLiteral("Сохранить"));
    data->ListDoc.First();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM HistoryValue WHERE Value = 'Сохранить'"))
                  .toInt(),
              1);

    data->HistoryValue.Append();  // nothing set: discarded
    data->Document.Next();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT count(*) FROM HistoryValue")).toInt(), 3);
}

TEST_F(Cursor, LookupFieldsFollowTheFieldOrAreNull) {
    data->ListDoc.SetRecNo(2);  // Первый: values of Имя and Адрес
    data->HistoryValue.First();
    EXPECT_EQ(data->HistoryValueVarName.AsString(), QStringLiteral("Имя"));
    EXPECT_EQ(data->HistoryValueLeft.AsInteger(), 10);
    EXPECT_EQ(data->HistoryValuePageNum.AsInteger(), 1);

    Exec(QStringLiteral("DELETE FROM Values_ WHERE Id = ?"), {fieldA1});
    data->Values_.Requery();
    for (TField* f :
         {&data->HistoryValueVarName, &data->HistoryValueLeft, &data->HistoryValueTop,
          &data->HistoryValueHeight, &data->HistoryValueWidth, &data->HistoryValuePageNum}) {
        SCOPED_TRACE(f->FieldName().toStdString());
        EXPECT_TRUE(f->IsNull());
    }
    EXPECT_EQ(data->HistoryValueValue.AsString(), QStringLiteral("Пётр"));
}

// A column the file lacks fails the read: it is never read as a text of its name.
TEST_F(Cursor, AMissingColumnIsNeverReadAsItsName) {
    TADOTable table(data->Con, QStringLiteral("Document"));
    table.AddField(QStringLiteral("Name"), TFieldKind::Data, TFieldType::String, 100);
    table.AddField(QStringLiteral("Descript"), TFieldKind::Data, TFieldType::String, 100);
    table.IndexFieldNames = QStringLiteral("Descript");
    EXPECT_THROW(table.Open(), DatabaseError);
    EXPECT_FALSE(table.Active());
}

TEST_F(Cursor, ClosedTableAfterAFailedReRead) {
    Exec(QStringLiteral("ALTER TABLE Document RENAME TO Gone"));
    EXPECT_THROW(data->Document.Requery(), DatabaseError);
    EXPECT_FALSE(data->Document.Active());
    EXPECT_THROW(data->Document.First(), DatabaseError);
}

}  // namespace
