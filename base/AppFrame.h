#pragma once

#include "UiServices.h"

#include <QString>

// The application object: its title, help file and caption, the message boxes every window uses,
// the standard error box and the request to end. One per process, created before any window.
class AppFrame {
public:
    explicit AppFrame(UiServices& services) : services_(services) {}

    QString Title;
    QString HelpFile;
    // Title + " {" + file version + "}", built while the data module is created.
    QString AppCaption;

    UiServices& Services() const { return services_; }

    void ShowInfo(const QString& text, const QString& caption) const;
    bool AskYesNo(const QString& text, const QString& caption) const;
    // The box for a failure that an operation does not handle itself.
    void ShowError(const QString& message) const;

    void ShowHelpContents();
    void ShowHelpTopic(int context);

    // Ends the application: the message loop stops after the queued messages.
    void Terminate();
    bool Terminated() const { return terminated_; }

private:
    UiServices& services_;
    bool terminated_{false};
};

// The text of the standard error box: "." is appended when the message is not empty and its
// last character sorts after ".".
QString ErrorBoxText(const QString& message);

// A directory path without its trailing run of "/" and "\", trimmed of blanks and control
// characters, in upper case.
QString NormalizeDir(const QString& dir);
