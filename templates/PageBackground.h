#pragma once

#include "PagePicture.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>

class AppFrame;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TfPageImages;

// "Фон страницы": the picture of the blank form behind each page of one template. The user
// picks a page, chooses a file (an image, or a page of a PDF file), corrects its resolution,
// shifts it in 0.1 mm steps, or removes it. Nothing is stored before OK; OK stores the changed
// pages.
class TfPageBackground : public QDialog {
    Q_OBJECT
public:
    TfPageBackground(AppFrame& frame, TfPageImages& images, QWidget* parent = nullptr);

    // Shows the pictures of template `document` with `pages` pages, modally; starts on `page`.
    // The result is 1 when the changes were stored.
    int Execute(qint64 document, int pages, int page = 1);

    // The file the user chooses; a QFileDialog unless a test replaces it. Empty: none chosen.
    std::function<QString()> AskFile;

    // "Выбрать файл…", the PDF page, and "Убрать фон" on the page shown.
    void ChooseFile();
    void LoadFile(const QString& path, int pdfPage);
    void RemovePicture();
    // "Сканировать…": a page from the first scanner, in grey at the resolution chosen.
    void ScanPicture();
    // OK: stores every page changed; a refusal is shown and the window stays open.
    void Store();

    QSpinBox* PageBox{nullptr};
    QLabel* FileLabel{nullptr};
    QPushButton* ChooseButton{nullptr};
    // Shown only when SANE finds a scanner as the window opens.
    QPushButton* ScanButton{nullptr};
    QSpinBox* ScanDpiBox{nullptr};
    QSpinBox* PdfPageBox{nullptr};
    QDoubleSpinBox* DpiBox{nullptr};
    QDoubleSpinBox* ShiftXBox{nullptr};
    QDoubleSpinBox* ShiftYBox{nullptr};
    QLabel* SizeLabel{nullptr};
    QPushButton* RemoveButton{nullptr};
    QPushButton* OkButton{nullptr};
    QPushButton* CancelButton{nullptr};

private:
    // The picture of the page shown, as edited so far; none when it has none.
    std::optional<PagePicture>& Current();
    void ShowPage();
    void ControlsChanged();
    // The page's picture replaced by the one `take` gives, keeping the page's shift (the glass
    // is the same); a failure is told and changes nothing.
    void ReplacePicture(const std::function<PagePicture()>& take);

    AppFrame& frame_;
    TfPageImages& images_;
    qint64 document_{0};
    // Pages as stored and as edited; a page is stored again when the two differ.
    QHash<int, std::optional<PagePicture>> stored_;
    QHash<int, std::optional<PagePicture>> edited_;
    QString lastFile_;
    QStringList scanners_;
    QWidget* scanLabel_{nullptr};
    bool showing_{false};
};
