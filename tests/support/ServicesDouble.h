#pragma once

#include "UiServices.h"

#include <QList>
#include <QString>
#include <functional>

// Answers boxes as scripted and records what was asked.
class ServicesDouble : public UiServices {
public:
    struct Box {
        QString text;
        QString caption;
        Icon icon{Icon::Information};
    };
    struct Help {
        QString file;
        int context{-1};  // -1: the contents page
    };

    QList<Box> boxes;
    QList<Help> helps;
    // Answers to questions, taken in order; when they run out, No.
    QList<bool> answers;
    // Fonts asked for, and the answers to give: the next one is chosen, none means Cancel.
    QList<QFont> fontsAsked;
    QList<QFont> fontAnswers;
    // Called inside every box, while it would be open (for example to look at the windows).
    std::function<void(const Box&)> onBox;

    void Message(const QString& text, const QString& caption, Icon icon) override;
    bool Question(const QString& text, const QString& caption) override;
    void HelpContents(const QString& helpFile) override;
    void HelpTopic(const QString& helpFile, int context) override;
    bool ChooseFont(QFont& font) override;

    // Boxes by classic flags and input boxes: what was asked, and the answers to give in
    // order (when they run out: Cancel, or No without Cancel, or OK; input boxes keep their
    // default text).
    struct FlagBox {
        QString text;
        QString caption;
        int flags{0};
    };
    struct Input {
        QString caption;
        QString prompt;
        QString defaultText;
    };
    QList<FlagBox> flagBoxes;
    QList<int> flagAnswers;
    QList<Input> inputs;
    QList<QString> inputAnswers;

    int MessageBox(const QString& text, const QString& caption, int flags) override;
    QString InputBox(const QString& caption, const QString& prompt,
                     const QString& defaultText) override;
};
