#include "PreviewToolbar.h"

#include "EngineState.h"
#include "Printer.h"
#include "Report.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kButton = 24;
constexpr int kZoomWidth = 53;
constexpr int kSeparator = 8;

QIcon Themed(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

// Glyphs the platform's style has none for, drawn at 16 by 16.
enum class Glyph { Print, PageSetup, Help };

QIcon Drawn(Glyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    switch (glyph) {
        case Glyph::Print:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));  // paper going in
            p.setBrush(QColor(0x9A, 0xA4, 0xB0));
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10.5, 7, 4.5));  // and coming out
            p.setPen(QColor(0x30, 0xB0, 0x30));
            p.drawPoint(12, 8);
            break;
        case Glyph::PageSetup:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(2.5, 0.5, 11, 15));
            p.setPen(QPen(QColor(0x30, 0x60, 0xC0), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(4.5, 2.5, 7, 11));
            break;
        case Glyph::Help: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x30, 0x60, 0xC0));
            p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
            QFont font = p.font();
            font.setBold(true);
            font.setPixelSize(12);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
    }
    return QIcon(pixmap);
}

}  // namespace

// --- TfrSpeedButton ------------------------------------------------------------------------

TfrSpeedButton::TfrSpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
}

void TfrSpeedButton::SetGlyph(const QIcon& glyph) {
    glyph_ = glyph;
    gray_ = QIcon(glyph.pixmap(iconSize(), QIcon::Disabled));
    ShowGlyph();
}

void TfrSpeedButton::SetGrayedInactive(bool grayed) {
    grayed_ = grayed;
    ShowGlyph();
}

void TfrSpeedButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    ShowGlyph();
    QToolButton::enterEvent(event);
}

void TfrSpeedButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    ShowGlyph();
    QToolButton::leaveEvent(event);
}

void TfrSpeedButton::ShowGlyph() {
    if (!glyph_.isNull())
        setIcon(ShowsGray() ? gray_ : glyph_);
}

// --- TfrPreviewToolbar ---------------------------------------------------------------------

TfrPreviewToolbar::TfrPreviewToolbar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("TPanel"));
    setFixedHeight(kHeight);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));

    ZoomBtn = AddButton(QStringLiteral("ZoomBtn"), QStringLiteral("Масштаб"), 200, QIcon(),
                        &TfrPreviewToolbar::OnZoom);
    ZoomBtn->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ShowZoom(100);
    frTBSeparator1 = AddSeparator(QStringLiteral("frTBSeparator1"));
    LoadBtn =
        AddButton(QStringLiteral("LoadBtn"), QStringLiteral("Открыть отчет"), 201,
                  Themed("document-open", QStyle::SP_DialogOpenButton), &TfrPreviewToolbar::OnLoad);
    SaveBtn =
        AddButton(QStringLiteral("SaveBtn"), QStringLiteral("Сохранить отчет в файле"), 202,
                  Themed("document-save", QStyle::SP_DialogSaveButton), &TfrPreviewToolbar::OnSave);
    PrintBtn = AddButton(QStringLiteral("PrintBtn"), QStringLiteral("Печать отчета"), 203,
                         Drawn(Glyph::Print), &TfrPreviewToolbar::OnPrint);
    PageSetupBtn = AddButton(QStringLiteral("PageSetupBtn"), QString(), 203,
                             Drawn(Glyph::PageSetup), &TfrPreviewToolbar::OnPageSetup);
    frTBSeparator2 = AddSeparator(QStringLiteral("frTBSeparator2"));
    FindBtn = AddButton(QStringLiteral("FindBtn"), QStringLiteral("Поиск"), 204,
                        Themed("edit-find", QStyle::SP_FileDialogContentsView),
                        &TfrPreviewToolbar::OnFind);
    HelpBtn = AddButton(QStringLiteral("HelpBtn"), QStringLiteral("Показать справку"), 0,
                        Drawn(Glyph::Help), &TfrPreviewToolbar::OnHelp);
    HelpBtn->setCheckable(true);
    frTBSeparator3 = AddSeparator(QStringLiteral("frTBSeparator3"));
    ExitBtn =
        AddButton(QStringLiteral("ExitBtn"), QStringLiteral("Выход"), 205,
                  Themed("window-close", QStyle::SP_DialogCloseButton), &TfrPreviewToolbar::OnExit);
    ZoomBtn->resize(kZoomWidth, kButton);
    Arrange();
}

TfrSpeedButton* TfrPreviewToolbar::AddButton(const QString& name, const QString& hint,
                                             int helpContext, const QIcon& glyph,
                                             std::function<void()> TfrPreviewToolbar::*on) {
    auto* button = new TfrSpeedButton(Panel1);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->resize(kButton, kButton);
    if (helpContext != 0)
        button->setProperty(frHelpContextProperty, helpContext);
    if (!glyph.isNull())
        button->SetGlyph(glyph);
    connect(button, &QToolButton::clicked, this, [this, on] {
        if (const auto& handler = this->*on)
            handler();
    });
    return button;
}

QFrame* TfrPreviewToolbar::AddSeparator(const QString& name) {
    auto* separator = new QFrame(Panel1);
    separator->setObjectName(name);
    separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    separator->resize(kSeparator, kButton);
    return separator;
}

void TfrPreviewToolbar::Setup(const TfrReport& report, bool ownWindow) {
    const quint16 buttons = report.PreviewButtons;
    ZoomBtn->setVisible(buttons & pbZoom);
    LoadBtn->setVisible(buttons & pbLoad);
    SaveBtn->setVisible(buttons & pbSave);
    PrintBtn->setVisible(buttons & pbPrint);
    FindBtn->setVisible(buttons & pbFind);
    PageSetupBtn->setVisible(buttons & pbPageSetup);
    HelpBtn->setVisible(ownWindow && (buttons & pbHelp));
    ExitBtn->setVisible(ownWindow && (buttons & pbExit));
    frTBSeparator1->setVisible(!ZoomBtn->isHidden());
    frTBSeparator3->setVisible(!FindBtn->isHidden() || !HelpBtn->isHidden());

    const bool printers = frPrinter().HasSystemPrinters();
    PrintBtn->setEnabled(printers);
    PageSetupBtn->setEnabled(PrintBtn->isEnabled());
    for (TfrSpeedButton* button :
         {ZoomBtn, LoadBtn, SaveBtn, PrintBtn, PageSetupBtn, FindBtn, HelpBtn, ExitBtn})
        button->SetGrayedInactive(report.GrayedButtons);
    Arrange();
}

void TfrPreviewToolbar::ShowZoom(int percent) {
    ZoomBtn->setText(QStringLiteral("%1%").arg(percent));
}

// Visible controls from left to right, hidden ones taking no room.
void TfrPreviewToolbar::Arrange() {
    int x = 0;
    for (QWidget* control : Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isHidden())
            continue;
        control->move(x, 0);
        x += control->width();
    }
    Panel1->setGeometry(4, 6, std::max(x, 273), kButton);
}

void TfrPreviewToolbar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // The bevel line along the top edge.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width(), 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width(), 1);
}
