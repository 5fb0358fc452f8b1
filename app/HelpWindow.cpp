#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Справка"));
    // A help page needs no other size; a resizable window gets the window manager's grips.
    setFixedSize(640, 520);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
}

bool HelpWindow::ShowFile(const QString& file, int context) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (browser_->source() != url) {
        browser_->setSearchPaths({QFileInfo(file).absolutePath()});
        browser_->setSource(url, QTextDocument::HtmlResource);
    }
    // Shown first: the anchor's place depends on the width the text is laid out at.
    show();
    raise();
    activateWindow();
    browser_->scrollToAnchor(context < 0 ? QStringLiteral("contents")
                                         : QStringLiteral("topic-%1").arg(context));
    return true;
}
