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
