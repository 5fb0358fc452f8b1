#include "QtUiServices.h"

#include "HelpWindow.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
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

int QtUiServices::MessageBox(const QString& text, const QString& caption, int flags) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (flags & 0xF0) {
        case 16:
            icon = QMessageBox::Critical;
            break;
        case 32:
            icon = QMessageBox::Question;
            break;
        case 48:
            icon = QMessageBox::Warning;
            break;
        case 64:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (flags & 0x0F) {
        case 1:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            escape = QMessageBox::Cancel;
            break;
        case 3:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            escape = QMessageBox::Cancel;
            break;
        case 4:
            buttons = QMessageBox::Yes | QMessageBox::No;
            escape = QMessageBox::No;
            break;
        default:
            break;
    }
    QMessageBox box(icon, caption, Lines(text), buttons, QApplication::activeWindow());
    box.setEscapeButton(escape);
    switch (Exec(box)) {
        case QMessageBox::Ok:
            return 1;
        case QMessageBox::Yes:
            return 6;
        case QMessageBox::No:
            return 7;
        case QMessageBox::Cancel:
            return 2;
        default:
            return escape == QMessageBox::No ? 7 : escape == QMessageBox::Ok ? 1 : 2;
    }
}

QString QtUiServices::InputBox(const QString& caption, const QString& prompt,
                               const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), caption, Lines(prompt),
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : defaultText;
}
