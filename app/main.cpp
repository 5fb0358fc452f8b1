#include "main.h"

#include "AppFrame.h"
#include "Canvas.h"
#include "DBEditors.h"
#include "DBGrid.h"
#include "Data.h"
#include "Labels.h"
#include "Separator.h"
#include "SpeedForm.h"
#include "SpinEdit.h"
#include "StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

// The icons live in a static library: their resource has to be registered by hand.
static void InitMainIcons() {
    Q_INIT_RESOURCE(mainicons);
}

namespace {

constexpr quint32 kRed = CanvasRgb(255, 0, 0);
constexpr quint32 kBlue = CanvasRgb(0, 0, 255);
constexpr quint32 kTemplateBackground = 16776176;
constexpr int kListDocHeight = 200;
constexpr int kValuesHeaderHeight = 25;

QIcon Icon(const char* name) {
    return QIcon(QStringLiteral(":/main/%1.svg").arg(QLatin1String(name)));
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

QLabel* CentredTitle(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TfMain::TfMain(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows, QWidget* parent)
    : QMainWindow(parent), frame_(frame), data_(dataModule), windows_(windows) {
    InitMainIcons();
    setObjectName(QStringLiteral("fMain"));
    resize(1024, 700);
    CreateActions();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    CreateToolArea();
    CreateListDocPanel();
    CreateValuesPanel();
    CreateStatusBar();
    CreateEditListDoc();
    CreatePopupMenu();
    FormCreate();
}

TfMain::~TfMain() {
    // The child widgets go after this part of the window: a focus change while they are torn
    // down (the value editor losing the focus) must not reach it any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void TfMain::FormCreate() {
    setWindowTitle(frame_.AppCaption);
    // Let the caption be painted before the other windows are created.
    QCoreApplication::processEvents();
}

// ---- actions -------------------------------------------------------------------------------

void TfMain::CreateActions() {
    struct Def {
        QAction*& action;
        const char* name;
        QString caption;
        bool hint;
        QKeySequence shortcut;
        const char* icon;
        void (TfMain::*execute)();
    };
    const Def defs[] = {
        {actSelectDoc, "actSelectDoc", QStringLiteral("Выбор (ред-ие) шаблона документов"), true,
         QKeySequence(Qt::Key_F2), "selectdoc", &TfMain::actSelectDocExecute},
        {actValues, "actValues", QStringLiteral("Список шаблонных полей"), true,
         QKeySequence(Qt::CTRL | Qt::Key_F2), "values", &TfMain::actValuesExecute},
        {actAddListDoc, "actAddListDoc", QStringLiteral("Добавить документ для печати"), true,
         QKeySequence(Qt::Key_F3), "addlistdoc", &TfMain::actAddListDocExecute},
        {actEditListDoc, "actEditListDoc", QStringLiteral("Изменить документ для печати"), true,
         QKeySequence(Qt::CTRL | Qt::Key_F3), "editlistdoc", &TfMain::actEditListDocExecute},
        {actDelListDoc, "actDelListDoc", QStringLiteral("Удалить документ для печати"), true,
         QKeySequence(Qt::CTRL | Qt::Key_Delete), "dellistdoc", &TfMain::actDelListDocExecute},
        {actCreateReport, "actCreateReport", QStringLiteral("Создать отчет"), true,
         QKeySequence(Qt::Key_F9), "createreport", &TfMain::actCreateReportExecute},
        {actEditValue, "actEditValue", QStringLiteral("Изменить значение поля"), false,
         QKeySequence(), "editvalue", &TfMain::actEditValueExecute},
        {actParamValue, "actParamValue", QStringLiteral("Параметры поля"), true,
         QKeySequence(Qt::Key_F4), "paramvalue", &TfMain::actParamValueExecute},
        {actRefreshValue, "actRefreshValue", QStringLiteral("Обновить поля"), true,
         QKeySequence(Qt::Key_F5), "refreshvalue", &TfMain::actRefreshValueExecute},
        {actDelHistory, "actDelHistory", QStringLiteral("Удалить поле (для печати)"), true,
         QKeySequence(), "delhistory", &TfMain::actDelHistoryExecute},
        {actHelp, "actHelp", QStringLiteral("Помошь"), true, QKeySequence(Qt::Key_F1), "help",
         &TfMain::actHelpExecute},
        {actAbout, "actAbout", QStringLiteral("О программе"), true, QKeySequence(), "about",
         &TfMain::actAboutExecute},
        {actExit, "actExit", QStringLiteral("Выход"), true, QKeySequence(), "exit",
         &TfMain::actExitExecute},
    };
    for (const Def& def : defs) {
        auto* action = new QAction(Icon(def.icon), def.caption, this);
        action->setObjectName(QLatin1String(def.name));
        // The hint is the status tip; the tool-bar buttons show it as their tooltip.
        if (def.hint) {
            action->setStatusTip(def.caption);
            action->setToolTip(def.caption);
        }
        action->setShortcut(def.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setIconVisibleInMenu(true);
        connect(action, &QAction::triggered, this,
                [this, execute = def.execute] { RunAction(execute); });
        addAction(action);
        def.action = action;
    }
}

void TfMain::RunAction(void (TfMain::*action)()) {
    if (Edit->isVisible()) {
        Guard([this] { EditExit(); });
        Grid->setFocus(Qt::OtherFocusReason);
    }
    Guard([this, action] { (this->*action)(); });
}

void TfMain::ReportError(const QString& message) {
    const bool was = reporting_;
    reporting_ = true;
    frame_.ShowError(message);
    reporting_ = was;
}

// ---- tool area -----------------------------------------------------------------------------

void TfMain::CreateToolArea() {
    auto* area = new QWidget(centralWidget());
    area->setObjectName(QStringLiteral("pnlTools"));
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bars = new QHBoxLayout;
    bars->setContentsMargins(0, 0, 0, 0);
    bars->setSpacing(2);
    auto newBar = [&](const char* name, const QString& caption) {
        auto* bar = new QToolBar(caption, area);
        bar->setObjectName(QLatin1String(name));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(16, 16));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bars->addWidget(bar);
        return bar;
    };

    tbMenu = newBar("tbMenu", QStringLiteral("Меню"));
    MainMenu = new QMenuBar(tbMenu);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    MainMenu->setNativeMenuBar(false);
    tbMenu->addWidget(MainMenu);
    auto newMenu = [&](const char* name, const QString& title) {
        QMenu* menu = MainMenu->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    mnuDocument = newMenu("mnuDocument", QStringLiteral("Документ"));
    mnuDocument->addActions({actSelectDoc, actValues});
    mnuDocument->addSeparator();
    mnuDocument->addAction(actExit);
    mnuHistory = newMenu("mnuHistory", QStringLiteral("История"));
    mnuHistory->addAction(actCreateReport);
    mnuHistory->addSeparator();
    mnuHistory->addActions({actAddListDoc, actEditListDoc, actDelListDoc});
    mnuField = newMenu("mnuField", QStringLiteral("Поле"));
    mnuField->addActions({actEditValue, actParamValue, actRefreshValue, actDelHistory});
    mnuHelp = newMenu("mnuHelp", QStringLiteral("Справка"));
    mnuHelp->addActions({actHelp, actAbout});

    // A small spacer ends each of the three action bars.
    auto endBar = [](QToolBar* bar) {
        auto* spacer = new TrSeparator(bar);
        spacer->setFixedWidth(8);
        bar->addWidget(spacer);
    };
    tbDocument = newBar("tbDocument", QStringLiteral("Шаблоны"));
    tbDocument->addAction(actSelectDoc);
    tbDocument->addSeparator();
    tbDocument->addAction(actValues);
    endBar(tbDocument);
    tbHistory = newBar("tbHistory", QStringLiteral("Документы"));
    tbHistory->addAction(actCreateReport);
    tbHistory->addSeparator();
    tbHistory->addAction(actAddListDoc);
    tbHistory->addSeparator();
    tbHistory->addAction(actEditListDoc);
    tbHistory->addSeparator();
    tbHistory->addAction(actDelListDoc);
    endBar(tbHistory);
    tbField = newBar("tbField", QStringLiteral("Поля"));
    tbField->addAction(actEditValue);
    tbField->addSeparator();
    tbField->addAction(actParamValue);
    tbField->addSeparator();
    tbField->addAction(actRefreshValue);
    tbField->addSeparator();
    tbField->addAction(actDelHistory);
    endBar(tbField);
    bars->addStretch(1);
    tbExit = newBar("tbExit", QStringLiteral("Выход"));
    tbExit->addAction(actExit);
    // An action without a hint shows no tooltip on its button.
    for (QToolBar* bar : {tbDocument, tbHistory, tbField, tbExit}) {
        for (QAction* action : bar->actions()) {
            if (QWidget* button = bar->widgetForAction(action);
                button && !action->isSeparator() && action->statusTip().isEmpty())
                button->installEventFilter(this);
        }
    }
    column->addLayout(bars);

    pnlTemplate = new QWidget(area);
    pnlTemplate->setObjectName(QStringLiteral("pnlTemplate"));
    auto* strip = new QHBoxLayout(pnlTemplate);
    strip->setContentsMargins(2, 1, 2, 1);
    strip->setSpacing(0);
    lbTemplate = new TrLabel(pnlTemplate);
    lbTemplate->setObjectName(QStringLiteral("lbTemplate"));
    lbTemplate->SetCaption(QStringLiteral(" Текущий шаблон документа   "));
    lbTemplate->SetFontColor(kRed);
    lbTemplate->SetLayout(TTextLayout::Center);
    txtTemplateName = new TDBStaticText(pnlTemplate);
    txtTemplateName->setObjectName(QStringLiteral("txtTemplateName"));
    txtTemplateName->SetAutoSize(false);
    txtTemplateName->SetShowAccelChar(false);
    txtTemplateName->SetAlignment(TAlignment::Center);
    txtTemplateName->SetLayout(TTextLayout::Center);
    txtTemplateName->SetColor(kTemplateBackground);
    txtTemplateName->setFont(Bold(txtTemplateName->font()));
    txtTemplateName->setMinimumHeight(QFontMetrics(txtTemplateName->font()).height() + 6);
    txtTemplateName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    txtTemplateName->SetDataSource(&data_.dsDocument);
    txtTemplateName->SetDataField(QStringLiteral("Name"));
    lbTemplate->setFixedHeight(txtTemplateName->minimumHeight());
    strip->addWidget(lbTemplate);
    strip->addWidget(txtTemplateName, 1);
    column->addWidget(pnlTemplate);

    centralWidget()->layout()->addWidget(area);
}

// ---- documents panel -----------------------------------------------------------------------

void TfMain::CreateListDocPanel() {
    pnlListDoc = new QWidget(centralWidget());
    pnlListDoc->setObjectName(QStringLiteral("pnlListDoc"));
    pnlListDoc->setFixedHeight(kListDocHeight);
    auto* column = new QVBoxLayout(pnlListDoc);
    column->setContentsMargins(1, 2, 1, 1);
    column->setSpacing(2);
    lbListDoc = CentredTitle(QStringLiteral("Список докумнтов для печати "), pnlListDoc);
    lbListDoc->setObjectName(QStringLiteral("lbListDoc"));
    column->addWidget(lbListDoc);

    DBGrid1 = new TDBGrid(pnlListDoc);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetFrame(&frame_);
    DBGrid1->SetOptions(TGridOption::Titles | TGridOption::Indicator | TGridOption::ColumnResize |
                        TGridOption::RowLines);
    DBGrid1->SetColor(QApplication::palette().color(QPalette::ToolTipBase));
    DBGrid1->AddColumn({.FieldName = QStringLiteral("Id"),
                        .Title = QStringLiteral("Код"),
                        .Width = 50,
                        .TitleAlignment = Qt::AlignCenter});
    DBGrid1->AddColumn({.FieldName = QStringLiteral("Date"),
                        .Title = QStringLiteral("Дата"),
                        .Width = 90,
                        .Alignment = Qt::AlignCenter,
                        .TitleAlignment = Qt::AlignCenter});
    DBGrid1->AddColumn({.FieldName = QStringLiteral("Descript"),
                        .Title = QStringLiteral("Описание"),
                        .Width = 587,
                        .TitleAlignment = Qt::AlignCenter});
    DBGrid1->SetDataSource(&data_.dsListDoc);
    column->addWidget(DBGrid1, 1);

    centralWidget()->layout()->addWidget(pnlListDoc);
}

// ---- values panel --------------------------------------------------------------------------

void TfMain::CreateValuesPanel() {
    pnlValues = new QWidget(centralWidget());
    pnlValues->setObjectName(QStringLiteral("pnlValues"));
    auto* column = new QVBoxLayout(pnlValues);
    // The grid sits at x = 1 below the header: the value editor's offsets count on it.
    column->setContentsMargins(1, 0, 1, 1);
    column->setSpacing(0);

    auto* header = new QWidget(pnlValues);
    header->setFixedHeight(kValuesHeaderHeight);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);
    lbRowHeight = new QLabel(QStringLiteral("Высота строки"), header);
    lbRowHeight->setObjectName(QStringLiteral("lbRowHeight"));
    row->addWidget(lbRowHeight);
    SpinEdit = new TSpinEdit(header);
    SpinEdit->setObjectName(QStringLiteral("SpinEdit"));
    SpinEdit->SetFrame(&frame_);
    SpinEdit->SetMaxValue(20);
    SpinEdit->SetMinValue(0);
    SpinEdit->SetCheckMinValue(true);
    SpinEdit->SetCheckMaxValue(true);
    SpinEdit->SetEditorEnabled(false);
    SpinEdit->SetValue(3);
    SpinEdit->setFixedWidth(50);
    lbRowHeight->setBuddy(SpinEdit);
    row->addWidget(SpinEdit);
    lbValues = CentredTitle(QStringLiteral("Список полей докумнта для печати "), header);
    lbValues->setObjectName(QStringLiteral("lbValues"));
    QPalette red = lbValues->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lbValues->setPalette(red);
    row->addWidget(lbValues, 1);
    column->addWidget(header);

    Grid = new TDBGrid(pnlValues);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->SetFrame(&frame_);
    Grid->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Grid->setLineWidth(2);
    Grid->SetOptions(TGridOption::Titles | TGridOption::Indicator | TGridOption::ColumnResize |
                     TGridOption::ColLines | TGridOption::RowLines | TGridOption::RowHighlight);
    Grid->SetTitleFont(Bold(Grid->font()));
    Grid->SetTitleColor(QColor(0, 0, 128));
    Grid->SetColor(QColor(0, 255, 255));
    Grid->AddColumn({.FieldName = QStringLiteral("VarName"),
                     .Title = QStringLiteral("Поле|Наименование"),
                     .Width = 279,
                     .Alignment = Qt::AlignCenter,
                     .TitleAlignment = Qt::AlignCenter,
                     .Color = QApplication::palette().color(QPalette::Button)});
    Grid->AddColumn({.FieldName = QStringLiteral("Value"),
                     .Title = QStringLiteral("Поле|Значение для печати"),
                     .Width = 484,
                     .TitleAlignment = Qt::AlignCenter});
    Grid->SetFrozenCols(1);
    Grid->SetRowLines(3);
    Grid->SetDataSource(&data_.dsHistoryValue);
    connect(Grid, &TDBGrid::EnterPressed, this,
            [this] { RunAction(&TfMain::actEditValueExecute); });
    connect(Grid, &TDBGrid::DoubleClicked, this,
            [this] { RunAction(&TfMain::actEditValueExecute); });
    column->addWidget(Grid, 1);

    SpinEdit->OnChange = [this] {
        Grid->SetRowLines(static_cast<int>(std::nearbyint(SpinEdit->Value())));
    };

    // Not in the layout: placed over the cell being edited.
    Edit = new TDBMemo(pnlValues);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->SetFrame(&frame_);
    Edit->OnError = [this](const QString& message) { ReportError(message); };
    Edit->SetWantReturns(false);
    Edit->SetDataSource(&data_.dsHistoryValue);
    Edit->SetDataField(QStringLiteral("Value"));
    Edit->hide();
    connect(Edit, &TDBMemo::EnterPressed, this, [this] { EditKeyPress(Qt::Key_Return); });
    connect(Edit, &TDBMemo::EscapePressed, this, [this] { EditKeyPress(Qt::Key_Escape); });
    connect(Edit, &TDBMemo::Exited, this, [this] { EditExit(); });

    setTabOrder(DBGrid1, SpinEdit);
    setTabOrder(SpinEdit, Grid);
    centralWidget()->layout()->addWidget(pnlValues);
}

// ---- status bar ----------------------------------------------------------------------------

void TfMain::CreateStatusBar() {
    StatusBar1 = new TAdvStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    // Small enough for the captions to fit their 50 pixels.
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSize(8);
    StatusBar1->setFont(small);
    setStatusBar(StatusBar1);
    struct Def {
        TDBStaticText*& label;
        const char* name;
        QString caption;
        TAlignment captionAlignment;
        const char* field;
        quint32 color;
    };
    const Def defs[] = {
        {txtLeft, "txtLeft", QStringLiteral("Слева"), TAlignment::Center, "Left", kBlue},
        {txtTop, "txtTop", QStringLiteral("Сверху"), TAlignment::Center, "Top", kBlue},
        {txtHeight, "txtHeight", QStringLiteral("Высота"), TAlignment::Center, "Height", kBlue},
        {txtWidth, "txtWidth", QStringLiteral("Ширина"), TAlignment::LeftJustify, "Width", kBlue},
        {txtPageNum, "txtPageNum", QStringLiteral("стр."), TAlignment::Center, "PageNum", kRed},
    };
    for (const Def& def : defs) {
        StatusBar1->AddPanel(def.caption, 50, def.captionAlignment);
        const int panel = StatusBar1->AddPanel(QString(), 70);
        auto* label = new TDBStaticText(StatusBar1);
        label->setObjectName(QLatin1String(def.name));
        label->SetAutoSize(false);
        label->SetBevelOuter(TBevelCut::None);
        label->SetAlignment(TAlignment::Center);
        label->SetLayout(TTextLayout::Center);
        label->setFont(Bold(label->font()));
        label->SetFontColor(def.color);
        label->SetDataSource(&data_.dsHistoryValue);
        label->SetDataField(QLatin1String(def.field));
        StatusBar1->PlaceInPanel(label, panel);
        def.label = label;
    }
    // A changed field shows at once in the lookups of the current value.
    connect(&data_.dsValues_, &TDataSource::DataSetChanged, this, &TfMain::RefreshValueLabels);
    connect(&data_.dsValues_, &TDataSource::RecordChanged, this, &TfMain::RefreshValueLabels);
}

void TfMain::RefreshValueLabels() {
    for (TDBStaticText* label : {txtLeft, txtTop, txtHeight, txtWidth, txtPageNum})
        label->SetDataField(label->DataField());
}

// ---- the document-for-printing panel -------------------------------------------------------

void TfMain::CreateEditListDoc() {
    fEditListDoc = new TSpeedForm(this);
    fEditListDoc->setObjectName(QStringLiteral("fEditListDoc"));
    fEditListDoc->SetFrame(&frame_);
    fEditListDoc->SetStyle(dsIcon);
    fEditListDoc->SetCaption(QStringLiteral("Редактирование документа для печати"));
    fEditListDoc->SetBorderStyle(bsSingle);
    fEditListDoc->SetBorderIcons(0);
    fEditListDoc->SetPosition(poMainFormCenter);
    QWidget* client = fEditListDoc->Client();

    lbDate = new QLabel(QStringLiteral("Дата"), client);
    lbDate->setGeometry(10, 14, 70, 17);
    edDate = new TDBDateEdit(client);
    edDate->setObjectName(QStringLiteral("edDate"));
    edDate->SetFrame(&frame_);
    edDate->setGeometry(80, 10, 120, 23);
    edDate->SetDataSource(&data_.dsListDoc);
    edDate->SetDataField(QStringLiteral("Date"));
    lbDate->setBuddy(edDate);

    lbDescript = new QLabel(QStringLiteral("Описание"), client);
    lbDescript->setGeometry(10, 46, 70, 17);
    edDescript = new TDBEdit(client);
    edDescript->setObjectName(QStringLiteral("edDescript"));
    edDescript->SetFrame(&frame_);
    edDescript->setGeometry(80, 42, 330, 23);
    edDescript->SetDataSource(&data_.dsListDoc);
    edDescript->SetDataField(QStringLiteral("Descript"));
    lbDescript->setBuddy(edDescript);

    btnOk = new TModalButton(QStringLiteral("OK"), client);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->SetFrame(&frame_);
    btnOk->SetModalResult(mrOk);
    btnOk->setDefault(true);
    btnOk->setGeometry(250, 80, 75, 25);
    btnCancel = new TModalButton(QStringLiteral("Cancel"), client);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->SetFrame(&frame_);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetCancel(true);
    btnCancel->setGeometry(335, 80, 75, 25);

    setTabOrder(edDate, edDescript);
    setTabOrder(edDescript, btnOk);
    setTabOrder(btnOk, btnCancel);
    fEditListDoc->SetActiveControl(edDate);
    fEditListDoc->SetClientSize(420, 115);
}

// ---- window events -------------------------------------------------------------------------

void TfMain::CreatePopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(actHelp);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({actSelectDoc, actValues});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(actCreateReport);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({actAddListDoc, actEditListDoc, actDelListDoc});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({actEditValue, actParamValue, actRefreshValue, actDelHistory});
}

void TfMain::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

bool TfMain::event(QEvent* event) {
    // Hints are not shown in the status bar: its panels show the current value.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        return true;
    return QMainWindow::eventFilter(watched, event);
}
