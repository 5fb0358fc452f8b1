#include "DataFixture.h"
#include "DataLink.h"

namespace {

class DataLink : public DataFixture {
protected:
    void SetUp() override {
        DataFixture::SetUp();
        AddTemplate(QStringLiteral("Первый"));
        AddTemplate(QStringLiteral("Второй"));
        OpenModule();
        link.OnDataChange = [this] {
            shown = link.Field() ? link.Field()->AsString() : QStringLiteral("<none>");
            ++changes;
        };
        link.OnEditingChange = [this] { ++editingChanges; };
        link.OnUpdateData = [this] { link.Field()->SetAsString(pending); };
        link.SetDataSource(&data->dsDocument);
        link.SetFieldName(QStringLiteral("Name"));
    }

    TFieldDataLink link;
    QString shown, pending;
    int changes{0}, editingChanges{0};
};

TEST_F(DataLink, FollowsTheCurrentRow) {
    EXPECT_EQ(shown, QStringLiteral("Первый"));
    data->Document.Next();
    EXPECT_EQ(shown, QStringLiteral("Второй"));
    EXPECT_EQ(link.Field(), &data->DocumentName);
    data->Document.Close();
    EXPECT_EQ(shown, QStringLiteral("<none>"));
    EXPECT_FALSE(link.Active());
}

TEST_F(DataLink, PendingInputIsWrittenWhenThePostStores) {
    ASSERT_TRUE(link.Edit());
    EXPECT_EQ(editingChanges, 1);
    pending = QStringLiteral("Исправлен");
    link.Modified();
    data->Document.Post();
    EXPECT_EQ(editingChanges, 2);
    EXPECT_FALSE(link.IsModified());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name FROM Document WHERE Id = 1")).toString(),
              QStringLiteral("Исправлен"));
    EXPECT_EQ(shown, QStringLiteral("Исправлен"));
}

TEST_F(DataLink, MovingAwayStoresPendingInputFirst) {
    ASSERT_TRUE(link.Edit());
    pending = QStringLiteral("Сохранён");
    link.Modified();
    data->Document.Next();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT Name FROM Document WHERE Id = 1")).toString(),
              QStringLiteral("Сохранён"));
}

TEST_F(DataLink, ResetForgetsInputAndReadOnlyFieldsCannotBeEdited) {
    ASSERT_TRUE(link.Edit());
    link.Modified();
    link.Reset();
    EXPECT_FALSE(link.IsModified());
    data->Document.Cancel();
    link.SetFieldName(QStringLiteral("OrientName"));
    EXPECT_FALSE(link.CanModify());
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(data->Document.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(shown, QStringLiteral("Портрет"));
}

}  // namespace
