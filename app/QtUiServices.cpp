#include "QtUiServices.h"

#include "HelpWindow.h"

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon ToQt(UiServices::Icon icon) {
    switch (icon) {
        case UiServices::Icon::Question:
            return QMessageBox::Question;
        case UiServices::Icon::Error:
            return QMessageBox::Critical;
        case UiServices::Icon::Information:
            break;
    }
    return QMessageBox::Information;
}

// "\r" starts a new line in the system's own boxes.
QString Lines(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

int Exec(QMessageBox& box) {
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

QtUiServices::QtUiServices() = default;

QtUiServices::~QtUiServices() = default;

void QtUiServices::Message(const QString& text, const QString& caption, Icon icon) {
    QMessageBox box(ToQt(icon), caption, Lines(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    Exec(box);
}

bool QtUiServices::Question(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, Lines(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return Exec(box) == QMessageBox::Yes;
}

HelpWindow& QtUiServices::Help() {
    if (!help_)
        help_ = std::make_unique<HelpWindow>();
    return *help_;
}

void QtUiServices::HelpContents(const QString& helpFile) {
    HelpTopic(helpFile, -1);
}

void QtUiServices::HelpTopic(const QString& helpFile, int context) {
    if (!Help().ShowFile(helpFile, context))
        Message(QStringLiteral("Не найден файл справки ") + helpFile,
                QApplication::applicationDisplayName(), Icon::Error);
}

bool QtUiServices::ChooseFont(QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
    if (ok)
        font = chosen;
    return ok;
}
