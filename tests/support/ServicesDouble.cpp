#include "ServicesDouble.h"

void ServicesDouble::Message(const QString& text, const QString& caption, Icon icon) {
    boxes.append({text, caption, icon});
    if (onBox)
        onBox(boxes.back());
}

bool ServicesDouble::Question(const QString& text, const QString& caption) {
    boxes.append({text, caption, Icon::Question});
    if (onBox)
        onBox(boxes.back());
    return answers.isEmpty() ? false : answers.takeFirst();
}

void ServicesDouble::HelpContents(const QString& helpFile) {
    helps.append({helpFile, -1});
}

void ServicesDouble::HelpTopic(const QString& helpFile, int context) {
    helps.append({helpFile, context});
}

bool ServicesDouble::ChooseFont(QFont& font) {
    fontsAsked.append(font);
    if (fontAnswers.isEmpty())
        return false;
    font = fontAnswers.takeFirst();
    return true;
}

int ServicesDouble::MessageBox(const QString& text, const QString& caption, int flags) {
    flagBoxes.append({text, caption, flags});
    if (!flagAnswers.isEmpty())
        return flagAnswers.takeFirst();
    switch (flags & 0x0F) {
        case 1:
        case 3:
            return 2;
        case 4:
            return 7;
        default:
            return 1;
    }
}

QString ServicesDouble::InputBox(const QString& caption, const QString& prompt,
                                 const QString& defaultText) {
    inputs.append({caption, prompt, defaultText});
    return inputAnswers.isEmpty() ? defaultText : inputAnswers.takeFirst();
}
