#include "PageBackground.h"

#include "AppFrame.h"
#include "Failure.h"
#include "PageImages.h"
#include "Scanner.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

QDoubleSpinBox* MmBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setRange(-100, 100);
    box->setSuffix(QStringLiteral(" мм"));
    return box;
}

QString KindText(const PagePicture& picture) {
    switch (picture.Type) {
        case PagePicture::Kind::Png:
            return QStringLiteral("рисунок PNG");
        case PagePicture::Kind::Jpeg:
            return QStringLiteral("рисунок JPEG");
        case PagePicture::Kind::Tiff:
            return QStringLiteral("рисунок TIFF");
        case PagePicture::Kind::Pdf:
            break;
    }
    return QStringLiteral("страница %1 документа PDF").arg(picture.SourcePage + 1);
}

}  // namespace

TfPageBackground::TfPageBackground(AppFrame& frame, TfPageImages& images, QWidget* parent)
    : QDialog(parent), frame_(frame), images_(images) {
    setObjectName(QStringLiteral("fPageBackground"));
    setWindowTitle(QStringLiteral("Фон страницы"));

    PageBox = new QSpinBox(this);
    PageBox->setObjectName(QStringLiteral("PageBox"));
    FileLabel = new QLabel(this);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setMinimumWidth(260);
    ChooseButton = new QPushButton(QStringLiteral("Выбрать &файл…"), this);
    ChooseButton->setAutoDefault(false);
    ScanButton = new QPushButton(QStringLiteral("С&канировать…"), this);
    ScanButton->setObjectName(QStringLiteral("ScanButton"));
    ScanButton->setAutoDefault(false);
    ScanDpiBox = new QSpinBox(this);
    ScanDpiBox->setObjectName(QStringLiteral("ScanDpiBox"));
    ScanDpiBox->setRange(Scanner::MinDpi, Scanner::MaxDpi);
    ScanDpiBox->setSingleStep(50);
    ScanDpiBox->setValue(200);
    ScanDpiBox->setSuffix(QStringLiteral(" точек на дюйм, серый"));
    PdfPageBox = new QSpinBox(this);
    PdfPageBox->setObjectName(QStringLiteral("PdfPageBox"));
    PdfPageBox->setMinimum(1);
    DpiBox = new QDoubleSpinBox(this);
    DpiBox->setObjectName(QStringLiteral("DpiBox"));
    DpiBox->setDecimals(1);
    DpiBox->setRange(30, 2400);
    DpiBox->setSuffix(QStringLiteral(" точек на дюйм"));
    ShiftXBox = MmBox(this);
    ShiftXBox->setObjectName(QStringLiteral("ShiftXBox"));
    ShiftYBox = MmBox(this);
    ShiftYBox->setObjectName(QStringLiteral("ShiftYBox"));
    SizeLabel = new QLabel(this);
    SizeLabel->setObjectName(QStringLiteral("SizeLabel"));
    RemoveButton = new QPushButton(QStringLiteral("&Убрать фон"), this);
    RemoveButton->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Страница шаблона:"), PageBox);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FileLabel, 1);
    fileRow->addWidget(ChooseButton);
    form->addRow(QStringLiteral("Фон:"), fileRow);
    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(ScanDpiBox, 1);
    scanRow->addWidget(ScanButton);
    form->addRow(QStringLiteral("Сканер:"), scanRow);
    scanLabel_ = form->labelForField(scanRow);
    form->addRow(QStringLiteral("Страница файла &PDF:"), PdfPageBox);
    form->addRow(QStringLiteral("&Разрешение:"), DpiBox);
    form->addRow(QStringLiteral("Сдвиг &вправо:"), ShiftXBox);
    form->addRow(QStringLiteral("Сдвиг в&низ:"), ShiftYBox);
    form->addRow(QStringLiteral("Размер на листе:"), SizeLabel);

    auto* buttons = new QDialogButtonBox(this);
    OkButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    CancelButton = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    buttons->addButton(RemoveButton, QDialogButtonBox::ResetRole);
    OkButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    AskFile = [this] {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("Фон страницы"), lastFile_,
            QStringLiteral("Рисунки и документы PDF (*.png *.jpg *.jpeg *.tif *.tiff *.pdf);;"
                           "Все файлы (*)"));
    };

    connect(PageBox, &QSpinBox::valueChanged, this, [this] { ShowPage(); });
    connect(ChooseButton, &QPushButton::clicked, this, &TfPageBackground::ChooseFile);
    connect(RemoveButton, &QPushButton::clicked, this, &TfPageBackground::RemovePicture);
    connect(ScanButton, &QPushButton::clicked, this, &TfPageBackground::ScanPicture);
    connect(OkButton, &QPushButton::clicked, this, &TfPageBackground::Store);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QDoubleSpinBox* box : {DpiBox, ShiftXBox, ShiftYBox})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { ControlsChanged(); });
    connect(PdfPageBox, &QSpinBox::valueChanged, this, [this] { ControlsChanged(); });
}

int TfPageBackground::Execute(qint64 document, int pages, int page) {
    document_ = document;
    stored_.clear();
    edited_.clear();
    const QHash<int, PagePicture> all = images_.ReadAll(document);
    for (int p = 1; p <= pages; ++p) {
        const auto found = all.constFind(p);
        stored_.insert(p, found == all.cend() ? std::nullopt : std::optional(*found));
    }
    edited_ = stored_;
    scanners_ = Scanner::Devices();
    for (QWidget* w : std::initializer_list<QWidget*>{ScanButton, ScanDpiBox, scanLabel_}) {
        if (w)
            w->setVisible(!scanners_.isEmpty());
    }
    if (!scanners_.isEmpty())
        ScanButton->setToolTip(scanners_.first());
    PageBox->blockSignals(true);
    PageBox->setRange(1, std::max(pages, 1));
    PageBox->setValue(std::clamp(page, 1, std::max(pages, 1)));
    PageBox->blockSignals(false);
    ShowPage();
    return exec();
}

std::optional<PagePicture>& TfPageBackground::Current() {
    return edited_[PageBox->value()];
}

void TfPageBackground::ShowPage() {
    showing_ = true;
    const std::optional<PagePicture>& picture = Current();
    const bool has = picture.has_value();
    const bool pdf = has && picture->Type == PagePicture::Kind::Pdf;
    FileLabel->setText(has ? KindText(*picture) : QStringLiteral("нет"));
    PdfPageBox->setEnabled(pdf);
    PdfPageBox->setMaximum(pdf ? std::max(picture->SourcePages(), 1) : 1);
    PdfPageBox->setValue(pdf ? picture->SourcePage + 1 : 1);
    DpiBox->setEnabled(has && !pdf);
    DpiBox->setValue(has && !pdf ? picture->Dpi : 200);
    ShiftXBox->setEnabled(has);
    ShiftYBox->setEnabled(has);
    ShiftXBox->setValue(has ? picture->ShiftX / 10.0 : 0);
    ShiftYBox->setValue(has ? picture->ShiftY / 10.0 : 0);
    RemoveButton->setEnabled(has);
    const QSizeF size = has ? picture->SizeMm() : QSizeF();
    const QLocale locale;
    SizeLabel->setText(size.isEmpty() ? QStringLiteral("—")
                                      : QStringLiteral("%1 × %2 мм")
                                            .arg(locale.toString(size.width(), 'f', 1),
                                                 locale.toString(size.height(), 'f', 1)));
    showing_ = false;
}

void TfPageBackground::ControlsChanged() {
    if (showing_ || !Current())
        return;
    PagePicture& picture = *Current();
    if (picture.Type == PagePicture::Kind::Pdf)
        picture.SourcePage = PdfPageBox->value() - 1;
    else
        picture.Dpi = DpiBox->value();
    // Tenths of a millimetre, as the boxes show them.
    picture.ShiftX = static_cast<int>(std::lround(ShiftXBox->value() * 10));
    picture.ShiftY = static_cast<int>(std::lround(ShiftYBox->value() * 10));
    ShowPage();
}

void TfPageBackground::ChooseFile() {
    const QString path = AskFile ? AskFile() : QString();
    if (path.isEmpty())
        return;
    lastFile_ = path;
    LoadFile(path, 0);
}

void TfPageBackground::ReplacePicture(const std::function<PagePicture()>& take) {
    try {
        PagePicture picture = take();
        if (Current()) {
            picture.ShiftX = Current()->ShiftX;
            picture.ShiftY = Current()->ShiftY;
        }
        Current() = std::move(picture);
    } catch (const Failure& e) {
        frame_.ShowInfo(e.Message(), QStringLiteral("Фон страницы"));
        return;
    }
    ShowPage();
}

void TfPageBackground::LoadFile(const QString& path, int pdfPage) {
    ReplacePicture([&] { return PagePicture::FromFile(path, pdfPage); });
}

void TfPageBackground::ScanPicture() {
    if (scanners_.isEmpty())
        return;
    ReplacePicture([&] { return Scanner::Scan(scanners_.first(), ScanDpiBox->value()); });
}

void TfPageBackground::RemovePicture() {
    Current().reset();
    ShowPage();
}

void TfPageBackground::Store() {
    try {
        for (auto it = edited_.cbegin(); it != edited_.cend(); ++it) {
            if (stored_.value(it.key()) == it.value())
                continue;
            if (it.value())
                images_.Write(document_, it.key(), *it.value());
            else
                images_.Remove(document_, it.key());
            stored_[it.key()] = it.value();
        }
    } catch (const Failure& e) {
        frame_.ShowInfo(e.Message(), QStringLiteral("Фон страницы"));
        return;
    }
    accept();
}
