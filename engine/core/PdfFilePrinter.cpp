#include "PdfFilePrinter.h"

#include "AsideFile.h"
#include "Failure.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

PdfFilePrinter::PdfFilePrinter(QString path, int resolution)
    : path_(std::move(path)),
      resolution_(resolution > 0 ? resolution : 1200),
      catalog_(PaperCatalog::Standard()) {}

PdfFilePrinter::~PdfFilePrinter() {
    if (Printing())
        Abort();
    Discard();
}

void PdfFilePrinter::Finish() {
    if (Printing())
        return;
    pdf_.End();  // the document's end goes into the file
    if (!file_)
        return;
    const std::unique_ptr<AsideFile> file = std::move(file_);
    if (!file->Commit())
        throw Failure(NotWritten(QStringLiteral("ошибка записи (возможно, на диске нет места)")));
}

void PdfFilePrinter::Discard() {
    if (Printing())
        Abort();
    pdf_.End();
    if (file_) {
        file_->Discard();  // what was written aside, never a file of the name
        file_.reset();
    }
}

void PdfFilePrinter::SetPath(QString path) {
    if (Printing())
        throw Failure(QStringLiteral("Идет печать"));
    Finish();
    path_ = std::move(path);
}

QPainter* PdfFilePrinter::PagePainter() {
    return Printing() ? pdf_.Painter() : nullptr;
}

QStringList PdfFilePrinter::Printers() {
    return {QFileInfo(path_).fileName()};
}

void PdfFilePrinter::SetPrinterIndex(int index) {
    if (index != 0)
        throw Failure(QStringLiteral("Выбран недопустимый принтер"));
}

PrinterIdentity PdfFilePrinter::CurrentNames() const {
    return {QFileInfo(path_).fileName(), QStringLiteral("PDF"), path_};
}

void PdfFilePrinter::SetDeviceMode(const DeviceMode& mode) {
    setting_.Apply(mode, catalog_);
}

DeviceCaps PdfFilePrinter::Caps() {
    const QSize sheet = setting_.SheetPixels(resolution_);
    DeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = resolution_;
    caps.PhysicalWidth = caps.HorzRes = sheet.width();
    caps.PhysicalHeight = caps.VertRes = sheet.height();
    return caps;
}

void PdfFilePrinter::SetCopies(int copies) {
    setting_.Copies = std::max(1, copies);
}

Canvas* PdfFilePrinter::PageCanvas() {
    return Printing() ? pdf_.PageCanvas() : nullptr;
}

QString PdfFilePrinter::NotWritten(const QString& reason) const {
    return QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path_, reason);
}

QString PdfFilePrinter::WhyNotBegun() const {
    const QFileInfo target(path_);
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    if (path_.isEmpty())
        return QStringLiteral("не задано имя файла");
    if (!target.dir().exists())
        return QStringLiteral("нет папки \"%1\"").arg(folder);
    if (target.isDir())
        return QStringLiteral("это папка");
    // As the file would be opened: with the effective identity.
    if (::faccessat(AT_FDCWD, QFile::encodeName(target.absolutePath()).constData(), W_OK,
                    AT_EACCESS) != 0)
        return QStringLiteral("в папку \"%1\" нельзя записывать").arg(folder);
    if (target.exists() && !target.isWritable())
        return QStringLiteral("файл защищен от записи");
    return QStringLiteral("файл не удалось создать");
}

void PdfFilePrinter::StartJob() {
    const QPageLayout layout = setting_.Layout();
    // A later job of the same file goes on with its first page, on its own paper.
    if (pdf_.Active()) {
        if (!pdf_.NewPage(&layout))
            throw Failure(NotWritten(QStringLiteral("ошибка записи")));
    } else {
        for (const QString& kept : protected_) {
            if (frSameFile(path_, kept))
                throw Failure(NotWritten(QStringLiteral("это файл базы данных программы")));
        }
        auto file = std::make_unique<AsideFile>(path_);
        if (path_.isEmpty() || QFileInfo(path_).isDir() || !file->open(QIODevice::WriteOnly))
            throw Failure(NotWritten(WhyNotBegun()));
        if (!pdf_.Begin(*file, resolution_, title_, layout)) {
            file->Discard();
            throw Failure(NotWritten(QStringLiteral("ошибка записи")));
        }
        file_ = std::move(file);
    }
    pdf_.OpenPage(Caps());
}

void PdfFilePrinter::NextPage() {
    if (!pdf_.NewPage())
        throw Failure(NotWritten(QStringLiteral("ошибка записи")));
    pdf_.OpenPage(Caps());
}

void PdfFilePrinter::FinishJob() {}

void PdfFilePrinter::CancelJob() {
    Discard();
}
