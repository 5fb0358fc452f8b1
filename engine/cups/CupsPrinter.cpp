#include "CupsPrinter.h"

#include "Failure.h"
#include "PrinterOptionsDialog.h"
#include "QueueOptions.h"
#include "SpoolerProcess.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace {

constexpr int kPreferredDpi = 1200;

// The finest resolution the queue offers up to 1200 dpi; else its coarsest; else 1200.
int ChooseResolution(const QList<int>& offered) {
    int best = 0;
    int coarsest = 0;
    for (int r : offered) {
        if (r <= 0)
            continue;
        if (r <= kPreferredDpi && r > best)
            best = r;
        if (coarsest == 0 || r < coarsest)
            coarsest = r;
    }
    if (best)
        return best;
    return coarsest ? coarsest : kPreferredDpi;
}

// The CUPS media name of a paper: the queue's own key, or a custom size as the paper is fed.
QString MediaOf(const PaperSetting& setting) {
    if (setting.Code != DMPAPER_USER)
        return setting.Size.key();
    const QSizeF mm = setting.Size.size(QPageSize::Millimeter);
    return QStringLiteral("Custom.%1x%2mm")
        .arg(QString::number(mm.width(), 'g', 6), QString::number(mm.height(), 'g', 6));
}

QString NotSent(const QString& queue, const QString& reason) {
    return QStringLiteral(
               "Не удалось отправить задание на принтер \"%1\": %2. Задание в очередь "
               "не поставлено.")
        .arg(queue, reason);
}

}  // namespace

CupsPrinter::CupsPrinter() {
    names_ = QPrinterInfo::availablePrinterNames();
    const int def = names_.indexOf(QPrinterInfo::defaultPrinterName());
    Load(def >= 0 ? def : (names_.isEmpty() ? -1 : 0));
}

CupsPrinter::~CupsPrinter() {
    if (Printing())
        Abort();
}

QPainter* CupsPrinter::PagePainter() {
    return Printing() ? pdf_.Painter() : nullptr;
}

// --- printers -------------------------------------------------------------------------------

QStringList CupsPrinter::Printers() {
    const QString currentName = names_.value(current_);
    names_ = QPrinterInfo::availablePrinterNames();
    const int kept = current_ >= 0 ? names_.indexOf(currentName) : -1;
    if (kept >= 0) {
        current_ = kept;
    } else {
        // The current queue is gone: the system default, else the first, takes its place.
        const int def = names_.indexOf(QPrinterInfo::defaultPrinterName());
        Load(def >= 0 ? def : (names_.isEmpty() ? -1 : 0));
    }
    return names_;
}

void CupsPrinter::SetPrinterIndex(int index) {
    if (index < 0 || index >= names_.size())
        throw Failure(QStringLiteral("Выбранный принтер недоступен"));
    if (Printing())
        throw Failure(QStringLiteral("Идет печать: принтер сменить нельзя"));
    if (index != current_)
        Load(index);
}

void CupsPrinter::Load(int index) {
    current_ = index;
    jobOptions_.clear();
    device_.reset();
    catalog_ = PaperCatalog();
    setting_ = PaperSetting();
    if (index < 0) {
        info_ = QPrinterInfo();
        return;
    }
    info_ = QPrinterInfo::printerInfo(names_[index]);
    catalog_ = PaperCatalog(info_.supportedPageSizes());
    resolution_ = ChooseResolution(info_.supportedResolutions());
    device_ = std::make_unique<QPrinter>(info_, QPrinter::HighResolution);
    device_->setResolution(resolution_);
    device_->setCollateCopies(false);

    // The queue's default paper.
    PaperSetting initial;
    const QPageSize def = info_.defaultPageSize();
    if (const int code = def.isValid() ? catalog_.CodeOf(def) : 0) {
        initial.Code = code;
        initial.Size = catalog_.Find(code)->Size;
    } else if (def.isValid()) {
        initial.Code = DMPAPER_USER;
        initial.Size = def;
    }
    setting_ = initial;
    Configure(initial);
}

PrinterIdentity CupsPrinter::CurrentNames() const {
    if (current_ < 0)
        return {};
    return {names_[current_], info_.makeAndModel(), info_.location()};
}

// --- the settings block ---------------------------------------------------------------------

std::optional<DeviceMode> CupsPrinter::GetDeviceMode() {
    // A queue deleted meanwhile has no settings to read.
    if (current_ < 0 || !device_ || QPrinterInfo::printerInfo(names_[current_]).isNull())
        return std::nullopt;
    return setting_.Mode();
}

void CupsPrinter::SetDeviceMode(const DeviceMode& mode) {
    if (!device_)
        throw Failure(QStringLiteral("Выбранный принтер недоступен"));
    PaperSetting wanted = setting_;
    wanted.Apply(mode, catalog_);
    Configure(wanted);
}

void CupsPrinter::Configure(const PaperSetting& wanted) {
    // Orientation first: the printable area the queue reports follows it.
    device_->setFullPage(true);
    device_->setPageOrientation(wanted.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const bool taken = device_->setPageSize(wanted.Size);
    PaperSetting result = wanted;
    if (!taken) {
        result.Code = setting_.Code;
        result.Size = setting_.Size;
        device_->setPageSize(setting_.Size);
    }
    device_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    device_->setCopyCount(result.Copies);
    setting_ = result;
}

void CupsPrinter::SetCopies(int copies) {
    setting_.Copies = std::max(1, copies);
    if (device_)
        device_->setCopyCount(setting_.Copies);
}

DeviceCaps CupsPrinter::Caps() {
    if (!device_)
        throw Failure(QStringLiteral("Выбранный принтер недоступен"));
    const QSize sheet = setting_.SheetPixels(resolution_);
    const QPageLayout layout = device_->pageLayout();
    const QMarginsF border = layout.minimumMargins();
    // Both unit enumerations list the same units in the same order.
    const auto unit = static_cast<QPageSize::Unit>(layout.units());
    DeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = resolution_;
    caps.PhysicalWidth = sheet.width();
    caps.PhysicalHeight = sheet.height();
    caps.PhysicalOffsetX = ToDevicePixels(border.left(), unit, resolution_);
    caps.PhysicalOffsetY = ToDevicePixels(border.top(), unit, resolution_);
    caps.HorzRes = std::max(0, sheet.width() - caps.PhysicalOffsetX -
                                   ToDevicePixels(border.right(), unit, resolution_));
    caps.VertRes = std::max(0, sheet.height() - caps.PhysicalOffsetY -
                                   ToDevicePixels(border.bottom(), unit, resolution_));
    return caps;
}

bool CupsPrinter::ShowPropertiesDialog() {
    if (!device_)
        return false;
    const QString queue = names_[current_];
    PrinterOptionsDialog dialog(queue, QueueOptionsOf(info_), jobOptions_,
                                QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    jobOptions_ = dialog.Chosen();
    return true;
}

// --- the job --------------------------------------------------------------------------------

Canvas* CupsPrinter::PageCanvas() {
    return Printing() ? pdf_.PageCanvas() : nullptr;
}

void CupsPrinter::StartJob() {
    if (!device_)
        throw Failure(QStringLiteral("Выбранный принтер недоступен"));
    const QString queue = names_[current_];
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/formwright-XXXXXX.pdf"));
    if (!file->open())
        throw Failure(NotSent(queue, file->errorString()));
    if (!pdf_.Begin(*file, resolution_, title_, setting_.Layout()))
        throw Failure(NotSent(queue, file->errorString()));
    jobFile_ = std::move(file);
    jobQueue_ = queue;
    jobMedia_ = MediaOf(setting_);
    jobCopies_ = setting_.Copies;
    pdf_.OpenPage(Caps());
}

void CupsPrinter::NextPage() {
    if (!pdf_.NewPage())
        throw Failure(NotSent(jobQueue_, jobFile_->errorString()));
    pdf_.OpenPage(Caps());
}

void CupsPrinter::FinishJob() {
    pdf_.End();
    jobFile_->close();

    QStringList args{QStringLiteral("-d"), jobQueue_};
    if (!title_.isEmpty())
        args << QStringLiteral("-t") << title_;
    args << QStringLiteral("-n") << QString::number(jobCopies_);
    args << QStringLiteral("-o") << QStringLiteral("collate=false");
    args << QStringLiteral("-o") << QStringLiteral("media=") + jobMedia_;
    // Forms are printed as laid out, never fitted to the sheet.
    args << QStringLiteral("-o") << QStringLiteral("print-scaling=none");
    for (auto it = jobOptions_.cbegin(); it != jobOptions_.cend(); ++it)
        args << QStringLiteral("-o") << it.key() + u'=' + it.value();
    args << QStringLiteral("--") << jobFile_->fileName();

    // The event loop runs while the spooler takes the job: the progress window answers.
    QProcess lp;
    const SpoolerRun run = RunSpoolerProgram(lp, QStringLiteral("lp"), args, spoolerTimeoutMs_);
    const QString queue = jobQueue_;
    DropJob();
    if (run == SpoolerRun::NotStarted)
        throw Failure(NotSent(queue, QStringLiteral("программа lp не найдена")));
    if (run == SpoolerRun::TimedOut) {
        // lp may have handed the job over before it stopped answering.
        throw Failure(QStringLiteral("Спулер не ответил за %1 с при отправке задания на принтер "
                                     "\"%2\". Задание, возможно, все же стоит в очереди: "
                                     "проверьте очередь принтера, прежде чем печатать снова.")
                          .arg((spoolerTimeoutMs_ + 999) / 1000)
                          .arg(queue));
    }
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
        throw Failure(NotSent(queue, QString::fromLocal8Bit(lp.readAllStandardError()).trimmed()));

    static const QRegularExpression requestId(QStringLiteral(R"(request id is (\S+))"));
    const auto m = requestId.match(QString::fromLocal8Bit(lp.readAllStandardOutput()));
    lastJob_ = m.hasMatch() ? m.captured(1) : QString();
}

void CupsPrinter::CancelJob() {
    DropJob();
}

void CupsPrinter::DropJob() {
    pdf_.End();
    jobFile_.reset();
    jobQueue_.clear();
}
