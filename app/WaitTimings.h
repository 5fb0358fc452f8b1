#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class Quillbox;
class QAction;

// What the user waits for, timed from inside the program when QUILLBOX_TIMING is set, for the
// benchmarks. Each line goes to stderr; then the program quits (code 0, or 1 when a step
// cannot be taken or is not reached within a few minutes).
//   startup  from main() to the main window shown: "startup 123.4 ms"
//   preview  that, then F9 to the preview shown ("preview 12.3 ms"), then Page Down to the
//            next page shown ("page turn 1.2 ms")
//   paging   start-up and preview, then Page Down through every page to the last, with the
//            resident memory before and after: "paging 999 pages 2.1 ms a page, 60.1 MB ->
//            60.3 MB"
class WaitTimings : public QObject {
public:
    // Null when the variable is not set; an unknown value is reported and ignored.
    static std::unique_ptr<WaitTimings> FromEnvironment(const QElapsedTimer& sinceMain,
                                                        Quillbox& app);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { Startup, Preview, Paging };
    enum class Step { MainWindow, Preview, PageTurn };

    WaitTimings(const QElapsedTimer& sinceMain, Quillbox& app, Mode mode);
    void Reached();
    void TurnPage();
    void Fail(const QString& why);
    QAction* PrintAction() const;
    int CurrentPage() const;

    Quillbox& app_;
    const Mode mode_;
    Step step_{Step::MainWindow};
    QElapsedTimer clock_;
    QObject* watched_{nullptr};
    bool pending_{false};
    int page_{0};
    int turns_{0};
    double residentBefore_{0};
};
