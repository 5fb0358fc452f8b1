#pragma once

#include "AppFrame.h"
#include "Data.h"
#include "Schema.h"
#include "ServicesDouble.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>
#include <memory>

// A fresh database in a temporary working folder, filled by the test with plain SQL, and the
// data module opened on it as the program opens it.
class DataFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), false);
        sql.DataSource = dir.file(QStringLiteral("Quillbox.mdb"));
        sql.Open();
        frame.Title = QStringLiteral("Formwright");
    }

    void OpenModule() {
        data = std::make_unique<TfData>(frame);
        data->DataModuleCreate(QCoreApplication::applicationFilePath());
    }

    // Runs one statement with bound values on a second connection; returns the new row's Id.
    qint64 Exec(const QString& statement, const QVariantList& values = {}) {
        QSqlQuery q(sql.Database());
        EXPECT_TRUE(q.prepare(statement)) << statement.toStdString();
        for (const QVariant& v : values)
            q.addBindValue(v);
        EXPECT_TRUE(q.exec()) << statement.toStdString();
        return q.lastInsertId().toLongLong();
    }

    QVariant Scalar(const QString& statement) {
        QSqlQuery q(sql.Database());
        EXPECT_TRUE(q.exec(statement)) << statement.toStdString();
        return q.next() ? q.value(0) : QVariant();
    }

    qint64 AddTemplate(const QString& name, QVariant pages = 1, QVariant orientation = 0) {
        return Exec(
            QStringLiteral("INSERT INTO Document (Name, PageCount, Orientetion) VALUES (?, ?, ?)"),
            {name, pages, orientation});
    }
    qint64 AddField(qint64 doc, const QString& name, const QVariant& value, int page = 1) {
        return Exec(QStringLiteral("INSERT INTO Values_ (Document_Id, VarName, VarValue, PageNum, "
                                   "\"Left\", Top, Height, Width, FontSize, FontName, FontBold, "
                                   "FontUnderline) VALUES (?, ?, ?, ?, 10, 20, 5, 50, 10, "
                                   "'Courier New', 0, 0)"),
                    {doc, name, value, page});
    }
    qint64 AddListDoc(qint64 doc, const QString& date, const QString& descript) {
        return Exec(
            QStringLiteral("INSERT INTO ListDoc (Document_Id, Date, Descript) VALUES (?, ?, ?)"),
            {doc, date + QStringLiteral(" 00:00:00"), descript});
    }
    qint64 AddValue(qint64 listDoc, qint64 field, const QString& value) {
        return Exec(QStringLiteral(
                        "INSERT INTO HistoryValue (ListDoc_Id, Values_Id, Value) VALUES (?, ?, ?)"),
                    {listDoc, field, value});
    }

    TempDir dir;
    TADOConnection sql;
    ServicesDouble services;
    AppFrame frame{services};
    std::unique_ptr<TfData> data;
};
