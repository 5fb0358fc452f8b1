#pragma once

#include <QFont>
#include <QString>

// Everything that puts a modal box or a help window in front of the user goes through here,
// so the layers below the windows can ask without knowing Qt Widgets and tests can answer.
class UiServices {
public:
    enum class Icon { Information, Question, Error };

    virtual ~UiServices() = default;

    // A box with a single OK button. "\r" in the text starts a new line.
    virtual void Message(const QString& text, const QString& caption, Icon icon) = 0;
    // A box with Yes and No only; true on Yes.
    virtual bool Question(const QString& text, const QString& caption) = 0;
    // The contents page of a help file, or the topic with the given context number.
    virtual void HelpContents(const QString& helpFile) = 0;
    virtual void HelpTopic(const QString& helpFile, int context) = 0;
    // The font dialog, starting from `font`; on OK `font` holds the choice and the result is true.
    virtual bool ChooseFont(QFont& font) = 0;
    // A box by the classic flags: buttons 0 OK, 1 OK and Cancel, 3 Yes, No and Cancel, 4 Yes
    // and No; icon 16 error, 32 question, 48 warning, 64 information. The answer is the button
    // pressed: 1 OK, 2 Cancel, 6 Yes, 7 No; closing the box is Cancel, or No without Cancel.
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // A one-line input box; the text entered, or `defaultText` when the user cancels.
    virtual QString InputBox(const QString& caption, const QString& prompt,
                             const QString& defaultText) = 0;
};
