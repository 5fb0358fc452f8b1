#pragma once

#include <QDialog>

class QTextBrowser;

// Shows the program's HTML help file: its contents page or the topic with a context number
// (the element with id "topic-N").
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // False when the file cannot be read.
    bool ShowFile(const QString& file, int context);
    QTextBrowser& Browser() const { return *browser_; }

private:
    QTextBrowser* browser_;
};
