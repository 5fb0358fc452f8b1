#pragma once

#include "UiServices.h"

#include <memory>

class HelpWindow;

// Message boxes modal to the whole application and the help window, with Qt Widgets.
class QtUiServices : public UiServices {
public:
    QtUiServices();
    ~QtUiServices() override;

    void Message(const QString& text, const QString& caption, Icon icon) override;
    bool Question(const QString& text, const QString& caption) override;
    void HelpContents(const QString& helpFile) override;
    void HelpTopic(const QString& helpFile, int context) override;
    bool ChooseFont(QFont& font) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    QString InputBox(const QString& caption, const QString& prompt,
                     const QString& defaultText) override;

private:
    HelpWindow& Help();
    std::unique_ptr<HelpWindow> help_;
};
