#pragma once

#include "ProgressWindow.h"

#include <QDialog>
#include <QPointer>
#include <exception>

class QEvent;
class QKeyEvent;
class QLabel;
class QPushButton;
class TfrEngine;

// The engine's progress window: a small modal dialog that runs the caller's work inside its
// own modal loop, with a progress line and a cancel button.
class TfrProgressForm : public QDialog, public TfrProgressWindow {
public:
    TfrProgressForm();
    ~TfrProgressForm() override;

    void SetCaption(const QString& caption) override;
    void SetStepText(const QString& text) override { stepText_ = text; }
    QString StepText() const override { return stepText_; }
    void SetLabel1(const QString& text) override;
    QString Label1() const override;
    void SetLabel2(const QString& text) override;
    void SetWorkHandler(WorkHandler handler) override { workHandler_ = std::move(handler); }
    TfrReport* Report() const override;
    int RunProgress(TfrReport& report) override;
    void SetModalResult(int result) override;

    // The cancel button's handler: the report is asked to cancel and the loop ends.
    void Button1Click();

    QLabel* Label1Widget() const { return label1_; }
    QLabel* Label2Widget() const { return label2_; }
    QPushButton* Button1() const { return button1_; }

protected:
    bool event(QEvent* e) override;
    // Escape and the window system's close request press the cancel button.
    void reject() override;

private:
    void RunWork();

    QLabel* label1_{nullptr};
    QLabel* label2_{nullptr};
    QPushButton* button1_{nullptr};
    QPointer<TfrReport> report_;
    QString stepText_;
    WorkHandler workHandler_;
    bool running_{false};
    bool resultSet_{false};
    std::exception_ptr failure_;
};

// Gives the engine its progress window.
void frStartProgressWindow(TfrEngine& engine);
