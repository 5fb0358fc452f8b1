#include "QtUiServices.h"

#include "EmptyTitle.h"
#include "HelpWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

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
    box.winId();
    ShowEmptyTitle(box);
    return box.exec();
}

// The installed face the dialog shows for `font`: the face itself, or the face fontconfig puts in
// its place (Liberation Serif for Times New Roman).
QString ShownFamily(const QFont& font) {
    if (QFontDatabase::families().contains(font.family(), Qt::CaseInsensitive))
        return font.family();
    return QFontInfo(font).family();
}

// `font` as one of the face's own styles, so that the dialog selects it: the dialog looks for
// the style by name, and the names a font has by default are neither the face's nor, once
// translated, in English.
QFont DialogFont(const QFont& font) {
    const QString family = ShownFamily(font);
    const int wanted = font.bold() ? QFont::Bold : QFont::Normal;
    const int size = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
    QFont best;
    int bestScore = -1;
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont candidate = QFontDatabase::font(family, style, size);
        int score = 10000 - std::abs(candidate.weight() - wanted);
        if (candidate.italic() != font.italic())
            score -= 5000;
        if (candidate.stretch() != QFont::AnyStretch && candidate.stretch() != QFont::Unstretched)
            score -= 1000;
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    if (bestScore < 0) {
        best = font;
        best.setFamily(family);
    }
    best.setPointSize(size);
    best.setUnderline(font.underline());
    best.setStrikeOut(font.strikeOut());
    return best;
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
    // Owned by the window it was asked from, the main window: it stays in front of it, goes with
    // it, and does not keep the program running once the main window is closed.
    QWidget* owner = QApplication::activeWindow();
    while (owner && owner->parentWidget())
        owner = owner->parentWidget()->window();
    if (owner && owner == help_)
        owner = help_->parentWidget();
    if (!help_) {
        help_ = new HelpWindow(owner);
        if (!owner)
            orphan_.reset(help_);
    } else if (owner && help_->parentWidget() != owner) {
        static_cast<void>(orphan_.release());
        help_->setParent(owner, help_->windowFlags());
    }
    return *help_;
}

void QtUiServices::HelpContents(const QString& helpFile) {
    HelpTopic(helpFile, -1);
}

void QtUiServices::HelpTopic(const QString& helpFile, int context) {
    if (!Help().ShowFile(helpFile, context))
        Message(QStringLiteral("Не найден файл справки ") + helpFile,
                QCoreApplication::applicationName(), Icon::Error);
}

bool QtUiServices::ChooseFont(QFont& font) {
    const QFont shown = DialogFont(font);
    QFontDialog dialog(shown, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QFont chosen = dialog.selectedFont();
    // The substitute the dialog showed stands for the face asked for.
    if (chosen.family() == shown.family())
        chosen.setFamily(font.family());
    font = chosen;
    return true;
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
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(Lines(prompt));
    dialog.setTextValue(defaultText);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.winId();
    ShowEmptyTitle(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : defaultText;
}
