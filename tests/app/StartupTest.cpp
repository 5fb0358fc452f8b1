#include "Data.h"
#include "Docs.h"
#include "EditValue.h"
#include "Quillbox.h"
#include "Schema.h"
#include "ServicesDouble.h"
#include "TempDir.h"
#include "Value.h"
#include "VersionInfo.h"
#include "main.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace {

TEST(Startup, WithoutADatabaseOneBoxThenTheEnd) {
    TempDir dir;
    ServicesDouble services;
    int windowsDuringBox = -1;
    services.onBox = [&](const ServicesDouble::Box&) {
        windowsDuringBox = static_cast<int>(QApplication::topLevelWidgets().size());
    };
    Quillbox app(services);
    EXPECT_FALSE(app.Start(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(app.ExitCode(), 0);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Не найден файл базы данных Quillbox.mdb по указанному пути\r") +
                  QDir::currentPath() + QStringLiteral("\rПродолжение невозможно."));
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Ошибка !"));
    EXPECT_EQ(windowsDuringBox, 0);
    EXPECT_EQ(app.fMain, nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_FALSE(app.fData->Document.Active());
}

TEST(Startup, CaptionCarriesTheFileVersionAndTheLoopEnds) {
    TempDir dir;
    Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), true);
    ServicesDouble services;
    Quillbox app(services);
    ASSERT_TRUE(app.Start(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(services.boxes.isEmpty());
    EXPECT_EQ(app.frame.Title, QStringLiteral("Formwright"));
    EXPECT_EQ(app.frame.HelpFile, QStringLiteral("QUILLBOX.HLP"));
    EXPECT_EQ(app.fMain->windowTitle(), QStringLiteral("Formwright {" QB_FILE_VERSION "}"));
    EXPECT_TRUE(app.fData->Document.Active());
    EXPECT_TRUE(app.fData->HistoryValue.Active());
    // Every window exists once, hidden, and the ones that open others can find them.
    ASSERT_NE(app.fDocs, nullptr);
    ASSERT_NE(app.fValue, nullptr);
    ASSERT_NE(app.fEditValue, nullptr);
    EXPECT_EQ(app.windows.fDocs, app.fDocs.get());
    EXPECT_EQ(app.windows.fValue, app.fValue.get());
    EXPECT_EQ(app.windows.fEditValue, app.fEditValue.get());
    for (QWidget* w :
         {static_cast<QWidget*>(app.fMain.get()), static_cast<QWidget*>(app.fDocs.get()),
          static_cast<QWidget*>(app.fValue.get()), static_cast<QWidget*>(app.fEditValue.get())})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();

    bool shownMaximised = false;
    QTimer::singleShot(0, [&] {
        shownMaximised = app.fMain->isVisible() && app.fMain->isMaximized();
        app.frame.Terminate();
    });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(shownMaximised);
}

TEST(Startup, ClosingTheMainWindowEndsTheApplication) {
    TempDir dir;
    Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), false);
    ServicesDouble services;
    Quillbox app(services);
    ASSERT_TRUE(app.Start(QCoreApplication::applicationFilePath()));
    QTimer::singleShot(0, [&] { app.fMain->close(); });
    EXPECT_EQ(app.Run(), 0);
}

TEST(Startup, ABrokenDatabaseShowsTheErrorBoxAndEnds) {
    TempDir dir;
    QFile file(dir.file(QStringLiteral("Quillbox.mdb")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2048, '\x7f'));
    file.close();
    ServicesDouble services;
    Quillbox app(services);
    EXPECT_FALSE(app.Start(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(app.ExitCode(), 1);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].caption, QStringLiteral("Formwright"));
    EXPECT_EQ(services.boxes[0].icon, UiServices::Icon::Error);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("Файл Quillbox.mdb не является базой данных этой программы."));
    EXPECT_EQ(app.fMain, nullptr);
}

TEST(Startup, ADatabaseWithoutATableShowsTheErrorBox) {
    TempDir dir;
    Schema::CreateFile(dir.file(QStringLiteral("Quillbox.mdb")), false);
    {
        TADOConnection con;
        con.DataSource = dir.file(QStringLiteral("Quillbox.mdb"));
        con.Open();
        QSqlQuery drop(con.Database());
        ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE HistoryValue")))
            << drop.lastError().text().toStdString();
    }
    ServicesDouble services;
    Quillbox app(services);
    EXPECT_FALSE(app.Start(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(app.ExitCode(), 1);
    ASSERT_EQ(services.boxes.size(), 1);
    EXPECT_EQ(services.boxes[0].text,
              QStringLiteral("В базе данных Quillbox.mdb нет таблицы «HistoryValue»."));
}

TEST(Startup, TheProgramCarriesTheProjectVersion) {
    TgsFileVersionInfo info;
    info.SetFilename(QStringLiteral(QB_QUILLBOX_EXE));
    EXPECT_EQ(info.FileVersion(), QStringLiteral(QB_FILE_VERSION));
    EXPECT_EQ(info.LanguageInfo(), QStringLiteral("041904E3"));
    EXPECT_EQ(info.ProductName(), QStringLiteral("Formwright"));
    EXPECT_EQ(info.GetBuildOnly(), QStringLiteral(QB_FILE_VERSION).section(QLatin1Char('.'), -1));
}

}  // namespace
