#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// An X server of its own (Xvfb on a free display number) with the openbox window manager, for
// tests of what the window system shows. Read windows with xprop, drive them with xdotool.
class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts both; false (with Error()) when they cannot run here.
    bool Start();
    QString Display() const { return display_; }
    QString Error() const { return error_; }

    // The value of a window property as xprop prints it (strings without their quotes); empty
    // when the window does not have it.
    static QString Property(quint64 window, const char* name);
    // True when the window has the property at all.
    static bool HasProperty(quint64 window, const char* name);
    // Runs a tool (xdotool ...) on this display; its standard output.
    static QString Run(const QString& program, const QStringList& arguments, int timeoutMs = 5000);

private:
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> manager_;
    QString display_;
    QString error_;
};
