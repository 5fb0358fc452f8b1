#include "PrintRep.h"

#include "AppFrame.h"
#include "Data.h"
#include "Engine.h"
#include "Failure.h"
#include "Page.h"
#include "PaintBox.h"
#include "PreparedPages.h"
#include "Preview.h"
#include "PreviewFind.h"
#include "PreviewView.h"
#include "PrintCommands.h"
#include "Printer.h"
#include "ReportBuilder.h"
#include "TextEngine.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The icons live in a static library: their resource has to be registered by hand.
static QIcon Icon(const char* name) {
    Q_INIT_RESOURCE(printrep);
    return QIcon(QStringLiteral(":/printrep/%1.svg").arg(QLatin1String(name)));
}

namespace {

QAction* ToolItem(QToolBar* bar, const char* name, const QString& caption, const char* icon) {
    QAction* item = bar->addAction(Icon(icon), caption);
    item->setObjectName(QLatin1String(name));
    // A tool button drops a trailing "..." unless the icon text says otherwise.
    item->setIconText(caption);
    item->setToolTip(caption);
    return item;
}

}  // namespace

TfPrintRep::TfPrintRep(AppFrame& frame, TfData& dataModule, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      frame_(frame),
      data_(dataModule),
      builder_(std::make_unique<TfReportBuilder>(dataModule, Report)) {
    setObjectName(QStringLiteral("fPrintRep"));
    Report.setObjectName(QStringLiteral("Report"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bars = new QHBoxLayout;
    bars->setSpacing(0);
    layout->addLayout(bars);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    TBItem1 = ToolItem(ToolBar1, "TBItem1", QStringLiteral("Печать"), "print");
    TBItem1->setShortcut(QKeySequence::Print);
    ToolBar1->addSeparator();
    TBItem2 = ToolItem(ToolBar1, "TBItem2", QStringLiteral("Параметры страницы..."), "pagesetup");
    ToolBar1->addSeparator();

    ZoomMenu = new QMenu(this);
    ZoomMenu->setObjectName(QStringLiteral("ZoomMenu"));
    auto zoomItem = [this](const char* name, const QString& caption) {
        QAction* item = ZoomMenu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setCheckable(true);
        return item;
    };
    auto percentItem = [&zoomItem](const char* name, int percent) {
        QAction* item = zoomItem(name, QStringLiteral("%1%").arg(percent));
        item->setData(percent);
        return item;
    };
    m1 = percentItem("m1", 10);
    m2 = percentItem("m2", 30);
    m3 = percentItem("m3", 50);
    m4 = percentItem("m4", 100);
    m5 = percentItem("m5", 150);
    m6 = percentItem("m6", 200);
    ZoomMenu->addSeparator();
    m7 = zoomItem("m7", QStringLiteral("По ширине страницы"));
    m8 = zoomItem("m8", QStringLiteral("Страница целиком"));
    m9 = zoomItem("m9", QStringLiteral("Две страницы"));
    ZoomButton = new QToolButton(ToolBar1);
    ZoomButton->setObjectName(QStringLiteral("ZoomButton"));
    ZoomButton->setText(QStringLiteral("Масштаб"));
    ZoomButton->setToolTip(QStringLiteral("Масштаб"));
    ZoomButton->setIcon(Icon("zoom"));
    ZoomButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ZoomButton->setPopupMode(QToolButton::InstantPopup);
    ZoomButton->setMenu(ZoomMenu);
    ToolBar1->addWidget(ZoomButton);
    ToolBar1->addSeparator();
    TBItem5 = ToolItem(ToolBar1, "TBItem5", QStringLiteral("Предидущая страница"), "prevpage");
    TBItem4 = ToolItem(ToolBar1, "TBItem4", QStringLiteral("Следующая страница"), "nextpage");
    ToolBar1->addSeparator();
    TBBackground = ToolBar1->addAction(QStringLiteral("Фон бланка"));
    TBBackground->setObjectName(QStringLiteral("TBBackground"));
    TBBackground->setCheckable(true);
    TBBackground->setToolTip(
        QStringLiteral("Фон бланка: рисунок бланка за страницами, только на экране"));
    WarningsMenu = new QMenu(this);
    WarningsButton = new QToolButton(ToolBar1);
    WarningsButton->setObjectName(QStringLiteral("WarningsButton"));
    WarningsButton->setToolTip(
        QStringLiteral("Что напечатается не так, как задано в шаблоне; строка показывает поле"));
    WarningsButton->setIcon(QIcon::fromTheme(QStringLiteral("dialog-warning")));
    WarningsButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    WarningsButton->setPopupMode(QToolButton::InstantPopup);
    WarningsButton->setMenu(WarningsMenu);
    ToolBar1->addSeparator();
    WarningsAction = ToolBar1->addWidget(WarningsButton);
    WarningsAction->setVisible(false);
    bars->addWidget(ToolBar1, 1);

    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    TBItem3 = ToolItem(ToolBar2, "TBItem3", QString(), "close");
    TBItem3->setToolTip(QStringLiteral("Закрыть"));
    bars->addWidget(ToolBar2);

    Preview = new TfrPreview(this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->OnPrint = frPrintBtnClick;
    Preview->OnPageSetup = [](TfrPagesView& view) { frPageSetupBtnClick(view); };
    layout->addWidget(Preview, 1);
    Report.Preview = Preview;

    const std::array<std::pair<QAction*, double>, 6> percents{
        {{m1, 10}, {m2, 30}, {m3, 50}, {m4, 100}, {m5, 150}, {m6, 200}}};
    for (const auto& [item, percent] : percents) {
        connect(item, &QAction::triggered, this, [this, item = item, percent = percent] {
            Preview->SetZoomPercent(percent);
            CheckZoomItem(item, percent);
        });
    }
    connect(m7, &QAction::triggered, this, [this] {
        Preview->FitPageWidth();
        CheckZoomItem(m7, 0);
    });
    connect(m8, &QAction::triggered, this, [this] {
        Preview->ShowWholePage();
        CheckZoomItem(m8, 0);
    });
    connect(m9, &QAction::triggered, this, [this] {
        Preview->ShowTwoPages();
        CheckZoomItem(m9, 0);
    });
    connect(TBItem1, &QAction::triggered, this, &TfPrintRep::TBItem1Click);
    connect(TBItem2, &QAction::triggered, this, &TfPrintRep::TBItem2Click);
    connect(TBItem3, &QAction::triggered, this, &TfPrintRep::TBItem3Click);
    connect(TBItem4, &QAction::triggered, this, &TfPrintRep::TBItem4Click);
    connect(TBItem5, &QAction::triggered, this, &TfPrintRep::TBItem5Click);
    connect(TBBackground, &QAction::toggled, this,
            [this] { Preview->View().PaintBox()->update(); });
    Preview->View().PaintUnderPage = [this](int page, Canvas& canvas, const CanvasRect& sheet,
                                            double scale) {
        PaintBackground(page, canvas, sheet, scale);
    };
}

TfPrintRep::~TfPrintRep() {
    // The preview, a child window, goes while the report whose pages it holds still exists.
    delete Preview;
}

void TfPrintRep::BuildAndShow() {
    setWindowTitle(data_.ListDocDescript.AsString());
    try {
        builder_->Build();
    } catch (const Failure& e) {
        frame_.ShowError(e.Message());
        return;
    }
    // The pictures of this template's pages, for "Фон бланка".
    pictures_.Reset();
    if (data_.PageImages.Available() && !data_.DocumentId.IsNull()) {
        try {
            pictures_.Reset(data_.PageImages.ReadAll(data_.DocumentId.Value().toLongLong()));
        } catch (const Failure&) {
            // The preview goes on without them, as without the table.
        }
    }
    // An error has been shown by the engine and left no page; the pages of an earlier build are
    // never shown under this document's caption. A cancel keeps the pages formed so far.
    if (!Report.Prepare() && Report.PreparedPages->Count() == 0)
        return;
    // Also when there is no page: the preview then shows none, never an earlier report's.
    Preview->ConnectReport(Report);
    ShowWarnings();
    CheckZoomItem(m8, 0);
    Preview->ShowWholePage();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    Preview->setFocus();
    exec();
}

void TfPrintRep::ShowWarnings() {
    const auto* text = dynamic_cast<const TfrTextEngine*>(frEngine().TextLayer());
    Warnings = text ? text->Warnings.List() : std::vector<TfrPrintWarning>{};
    WarningsMenu->clear();
    for (std::size_t i = 0; i < Warnings.size(); ++i) {
        QAction* line = WarningsMenu->addAction(Warnings[i].Text);
        connect(line, &QAction::triggered, this,
                [this, i] { frMarkOnPage(Preview->View(), Warnings[i].Page, Warnings[i].Box); });
    }
    WarningsButton->setText(QStringLiteral("Предупреждения: %1").arg(Warnings.size()));
    WarningsAction->setVisible(!Warnings.empty());
}

void TfPrintRep::PaintBackground(int page, Canvas& canvas, const CanvasRect& sheet, double scale) {
    if (!TBBackground->isChecked() || !pictures_.Has(page + 1))
        return;
    const QRectF mm = pictures_.PlacedMm(page + 1);
    if (mm.isEmpty())
        return;
    // True millimetres of the sheet: page units of 1/frUnitsPerInch inch.
    const double k = frUnitsPerInch / 25.4 * scale;
    const QRect r(sheet.left + qRound(mm.left() * k), sheet.top + qRound(mm.top() * k),
                  qRound(mm.width() * k), qRound(mm.height() * k));
    canvas.DrawImage(CanvasRect::FromQRect(r), pictures_.Scaled(page + 1, r.size()));
}

void TfPrintRep::SetupPages() {
    builder_->SetupPages();
}

std::array<QAction*, 9> TfPrintRep::ZoomItems() const {
    return {m1, m2, m3, m4, m5, m6, m7, m8, m9};
}

void TfPrintRep::CheckZoomItem(QAction* item, double percent) {
    for (QAction* zoom : ZoomItems())
        zoom->setChecked(false);
    item->setChecked(true);
    if (percent > 0)
        Preview->SetZoomPercent(percent);
}

void TfPrintRep::StepZoom(int step) {
    // From the scale shown, whatever mode gave it, to the next percentage either way.
    const std::array<QAction*, 6> items{m1, m2, m3, m4, m5, m6};
    const double shown = Preview->View().Scale() * 100;
    auto ZoomPercent = [](const QAction* item) { return item->data().toDouble(); };
    QAction* target = nullptr;
    if (step > 0) {
        for (QAction* item : items) {
            if (ZoomPercent(item) > shown + 0.5) {
                target = item;
                break;
            }
        }
    } else {
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (ZoomPercent(*it) < shown - 0.5) {
                target = *it;
                break;
            }
        }
    }
    if (target)
        target->trigger();
}

void TfPrintRep::TBItem1Click() {
    try {
        Preview->PrintReport();
    } catch (const Failure& e) {
        frame_.ShowError(e.Message());
    }
}

void TfPrintRep::TBItem2Click() {
    try {
        Preview->SetUpPage();
    } catch (const Failure& e) {
        frame_.ShowError(e.Message());
    }
}

void TfPrintRep::TBItem3Click() {
    close();
}

void TfPrintRep::TBItem4Click() {
    Preview->NextPage();
}

void TfPrintRep::TBItem5Click() {
    Preview->PreviousPage();
}

void TfPrintRep::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            // Page turning is the view's, wherever the focus is in the window.
            QCoreApplication::sendEvent(&Preview->View(), event);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            if (control) {
                StepZoom(1);
                return;
            }
            break;
        case Qt::Key_Minus:
            if (control) {
                StepZoom(-1);
                return;
            }
            break;
        default:
            break;
    }
    QDialog::keyPressEvent(event);
}
