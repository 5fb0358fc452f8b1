#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class Quillbox;
class QAction;

// What the user waits for, timed from inside the program when QUILLBOX_TIMING is set, for the
// benchmarks. "startup": from main() to the main window shown. "preview": that, then F9 pressed
// to the preview shown, then Page Down to the next page shown. Each time goes to stderr as
// "startup 123.4 ms", "preview 12.3 ms", "page turn 1.2 ms"; then the program quits (code 0, or
// 1 when a step cannot be taken or is not reached within a minute).
class WaitTimings : public QObject {
public:
    // Null when the variable is not set; an unknown value is reported and ignored.
    static std::unique_ptr<WaitTimings> FromEnvironment(const QElapsedTimer& sinceMain,
                                                        Quillbox& app);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Step { MainWindow, Preview, PageTurn };

    WaitTimings(const QElapsedTimer& sinceMain, Quillbox& app, bool preview);
    // The watched window has painted: the time is taken once the paint has been flushed.
    void Painted();
    void Reached();
    void Fail(const QString& why);
    QAction* PrintAction() const;

    Quillbox& app_;
    const bool preview_;
    Step step_{Step::MainWindow};
    QElapsedTimer clock_;
    QObject* watched_{nullptr};
    bool pending_{false};
    int page_{0};
};
