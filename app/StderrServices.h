#pragma once

#include "UiServices.h"

#include <QString>

// The boxes of a run without windows: each one is a line on standard error, prefixed with the
// program's name; questions are answered No, input boxes keep their default text.
class StderrServices : public UiServices {
public:
    void Message(const QString& text, const QString& caption, Icon icon) override;
    bool Question(const QString& text, const QString& caption) override;
    void HelpContents(const QString&) override {}
    void HelpTopic(const QString&, int) override {}
    bool ChooseFont(QFont&) override { return false; }
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    QString InputBox(const QString& caption, const QString& prompt,
                     const QString& defaultText) override;
};

// "quillbox: " and the message on one line of standard error.
void WriteErrorLine(const QString& message);
// A box's text on one line: its lines joined by "; ", blank lines dropped.
QString OneLine(const QString& text);
