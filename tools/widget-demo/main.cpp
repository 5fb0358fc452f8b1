// A window holding one of each data-aware component on sample data, to look at them together.
//   widget-demo [--screenshot FILE]
#include "AppFrame.h"
#include "DBEditors.h"
#include "DBGrid.h"
#include "DBSpinEdit.h"
#include "Data.h"
#include "Labels.h"
#include "QtUiServices.h"
#include "Quillbox.h"
#include "Schema.h"
#include "Separator.h"
#include "SpeedForm.h"
#include "StatusBar.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallRussian();
    QTemporaryDir dir;
    Schema::CreateFile(dir.filePath(QStringLiteral("Quillbox.mdb")), true);
    QDir::setCurrent(dir.path());

    QtUiServices services;
    AppFrame frame(services);
    frame.Title = QStringLiteral("Formwright");
    TfData data(frame);
    data.DataModuleCreate(QCoreApplication::applicationFilePath());

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Компоненты"));
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);

    auto* strip = new QHBoxLayout;
    auto* caption = new TrLabel(central);
    caption->SetCaption(QStringLiteral("TrLabel: объёмный текст"));
    auto* name = new TDBStaticText(central);
    name->SetDataSource(&data.dsDocument);
    name->SetDataField(QStringLiteral("Name"));
    strip->addWidget(caption);
    strip->addWidget(name, 1);
    layout->addLayout(strip);

    auto* grid = new TDBGrid(central);
    grid->SetFrame(&frame);
    grid->SetDataSource(&data.dsHistoryValue);
    grid->AddColumn({.FieldName = QStringLiteral("VarName"),
                     .Title = QStringLiteral("Поле|Наименование"),
                     .Width = 200,
                     .Alignment = Qt::AlignCenter});
    grid->AddColumn({.FieldName = QStringLiteral("Value"),
                     .Title = QStringLiteral("Поле|Значение для печати"),
                     .Width = 320});
    grid->SetFrozenCols(1);
    grid->SetRowLines(2);
    grid->SetColor(QColor(Qt::cyan));
    layout->addWidget(grid, 1);

    auto* separator = new TrSeparator(central);
    separator->setMinimumHeight(8);
    layout->addWidget(separator);

    auto* editors = new QGroupBox(QStringLiteral("Редакторы поля шаблона"), central);
    auto* form = new QFormLayout(editors);
    auto* varName = new TDBEdit(editors);
    varName->SetDataSource(&data.dsValues_);
    varName->SetDataField(QStringLiteral("VarName"));
    auto* varValue = new TDBMemo(editors);
    varValue->SetDataSource(&data.dsValues_);
    varValue->SetDataField(QStringLiteral("VarValue"));
    varValue->setMaximumHeight(60);
    auto* page = new TDBSpinEdit(editors);
    page->SetDataSource(&data.dsValues_);
    page->SetDataField(QStringLiteral("PageNum"));
    page->SetMinValue(1);
    page->SetMaxValue(1);
    auto* bold = new TDBCheckBox(QStringLiteral("Жирный"), editors);
    bold->SetDataSource(&data.dsValues_);
    bold->SetDataField(QStringLiteral("FontBold"));
    auto* date = new TDBDateEdit(editors);
    date->SetDataSource(&data.dsListDoc);
    date->SetDataField(QStringLiteral("Date"));
    form->addRow(QStringLiteral("TDBEdit"), varName);
    form->addRow(QStringLiteral("TDBMemo"), varValue);
    form->addRow(QStringLiteral("TDBSpinEdit"), page);
    form->addRow(QStringLiteral("TDBCheckBox"), bold);
    form->addRow(QStringLiteral("TDBDateEdit"), date);
    layout->addWidget(editors);

    auto* panel = new TSpeedForm(central);
    panel->SetStyle(dsWindow);
    panel->SetCaption(QStringLiteral("TSpeedForm"));
    panel->SetFrame(&frame);
    panel->setMinimumHeight(70);
    auto* ok = new TModalButton(QStringLiteral("OK"), panel);
    ok->SetModalResult(mrOk);
    layout->addWidget(panel);

    window.setCentralWidget(central);
    auto* status = new TAdvStatusBar(&window);
    status->AddPanel(QStringLiteral("Слева"), 50, TAlignment::Center);
    status->AddPanel(QString(), 70, TAlignment::Center);
    status->AddPanel(QStringLiteral("Сверху"), 50, TAlignment::Center);
    status->AddPanel(QString(), 70, TAlignment::Center);
    auto* left = new TDBStaticText(status);
    left->SetDataSource(&data.dsHistoryValue);
    left->SetDataField(QStringLiteral("Left"));
    status->PlaceInPanel(left, 1);
    auto* top = new TDBStaticText(status);
    top->SetDataSource(&data.dsHistoryValue);
    top->SetDataField(QStringLiteral("Top"));
    status->PlaceInPanel(top, 3);
    window.setStatusBar(status);
    window.resize(720, 640);
    window.show();

    const int at = app.arguments().indexOf(QStringLiteral("--screenshot"));
    if (at > 0) {
        const QString file = app.arguments().value(at + 1);
        QTimer::singleShot(500, [&] {
            window.grab().save(file);
            QCoreApplication::quit();
        });
    }
    return QApplication::exec();
}
