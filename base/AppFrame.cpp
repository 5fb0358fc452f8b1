#include "AppFrame.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMetaObject>

void AppFrame::ShowInfo(const QString& text, const QString& caption) const {
    services_.Message(text, caption, UiServices::Icon::Information);
}

bool AppFrame::AskYesNo(const QString& text, const QString& caption) const {
    return services_.Question(text, caption);
}

void AppFrame::ShowError(const QString& message) const {
    services_.Message(ErrorBoxText(message), Title, UiServices::Icon::Error);
}

void AppFrame::ShowHelpContents() {
    HelpFile = QStringLiteral("Quillbox.hlp");
    services_.HelpContents(HelpFile);
}

void AppFrame::ShowHelpTopic(int context) {
    HelpFile = QStringLiteral("Quillbox.hlp");
    services_.HelpTopic(HelpFile, context);
}

void AppFrame::Terminate() {
    terminated_ = true;
    // Queued, so the loop ends after the messages already waiting; before the loop runs the
    // start-up reads Terminated() instead.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString NormalizeDir(const QString& dir) {
    qsizetype end = dir.size();
    while (end > 0 && (dir[end - 1] == QLatin1Char('/') || dir[end - 1] == QLatin1Char('\\')))
        --end;
    qsizetype begin = 0;
    while (begin < end && dir[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && dir[end - 1].unicode() <= ' ')
        --end;
    return QLocale::system().toUpper(dir.mid(begin, end - begin));
}
