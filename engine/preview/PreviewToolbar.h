#pragma once

#include <QFrame>
#include <QIcon>
#include <QToolButton>
#include <functional>

class TfrReport;

// The help context of a control of the preview, read by the help button's pointer mode.
inline constexpr char frHelpContextProperty[] = "frHelpContext";

// A tool button whose glyph can be shown in grey until the pointer is over it.
class TfrSpeedButton : public QToolButton {
public:
    explicit TfrSpeedButton(QWidget* parent = nullptr);

    void SetGlyph(const QIcon& glyph);
    bool GrayedInactive() const { return grayed_; }
    void SetGrayedInactive(bool grayed);
    // The glyph is shown in grey now.
    bool ShowsGray() const { return grayed_ && !hovered_; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ShowGlyph();

    QIcon glyph_;
    QIcon gray_;
    bool grayed_{false};
    bool hovered_{false};
};

// The preview's toolbar: zoom, open and save a report file, print, page setup, find, help and
// exit, with their hints and help contexts. The buttons report clicks through the On...
// callbacks; Setup shows them as a report asks.
class TfrPreviewToolbar : public QFrame {
public:
    explicit TfrPreviewToolbar(QWidget* parent = nullptr);

    // Which buttons show and how they look: PreviewButtons and GrayedButtons of the report.
    // Help and exit show only in a window of the toolbar's own. Print and page setup are
    // enabled only when the system lists a printer.
    void Setup(const TfrReport& report, bool ownWindow);
    // The zoom button's text.
    void ShowZoom(int percent);

    QWidget* Panel1{nullptr};
    TfrSpeedButton* ZoomBtn{nullptr};
    QFrame* frTBSeparator1{nullptr};
    TfrSpeedButton* LoadBtn{nullptr};
    TfrSpeedButton* SaveBtn{nullptr};
    TfrSpeedButton* PrintBtn{nullptr};
    TfrSpeedButton* PageSetupBtn{nullptr};
    QFrame* frTBSeparator2{nullptr};
    TfrSpeedButton* FindBtn{nullptr};
    TfrSpeedButton* HelpBtn{nullptr};
    QFrame* frTBSeparator3{nullptr};
    TfrSpeedButton* ExitBtn{nullptr};

    std::function<void()> OnZoom;
    std::function<void()> OnLoad;
    std::function<void()> OnSave;
    std::function<void()> OnPrint;
    std::function<void()> OnPageSetup;
    std::function<void()> OnFind;
    std::function<void()> OnHelp;
    std::function<void()> OnExit;

    static constexpr int kHeight = 33;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TfrSpeedButton* AddButton(const QString& name, const QString& hint, int helpContext,
                              const QIcon& glyph, std::function<void()> TfrPreviewToolbar::*on);
    QFrame* AddSeparator(const QString& name);
    void Arrange();
};
