#include "PreviewCommands.h"

#include "EngineState.h"
#include "Failure.h"
#include "PaintBox.h"
#include "PreparedPages.h"
#include "PreparedReportFile.h"
#include "PreviewView.h"
#include "PrintCommands.h"
#include "UiServices.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {

QString Filter() {
    return QStringLiteral("Файл отчета (*.%1)").arg(QLatin1String(frPreparedReportExtension));
}

// The name with the extension of prepared report files in place of its own.
QString WithExtension(const QString& name) {
    const QFileInfo info(name);
    const QString extension = QLatin1String(frPreparedReportExtension);
    if (info.suffix() == extension)
        return name;
    const QString base = info.suffix().isEmpty() || info.completeBaseName().isEmpty()
                             ? info.fileName()
                             : info.completeBaseName();
    return info.dir().filePath(base + u'.' + extension);
}

}  // namespace

QString frAskReportFile(QWidget* owner, bool save) {
    QFileDialog dialog(owner,
                       save ? QStringLiteral("Сохранить отчет") : QStringLiteral("Открыть отчет"),
                       QString(), Filter());
    dialog.setObjectName(QStringLiteral("ReportFileDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QLatin1String(frPreparedReportExtension));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void frZoomBtnClick(TfrPreviewView& view, QWidget* button) {
    view.ProcMenu()->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void frLoadBtnClick(TfrPreviewView& view, QWidget* owner, const TfrReportFileAsker& ask) {
    TfrReport* report = view.ShownReport();
    if (!report || view.PageCount() == 0)
        return;
    const QString name = ask(owner, false);
    if (name.isEmpty())
        return;
    std::unique_ptr<TfrEMFPages> loaded;
    try {
        loaded = frLoadPreparedReport(report, name);
    } catch (const Failure& e) {
        frErrorBox(e.Message());
        return;
    }
    // From the top, so that no page of the new layout is taken for the current one.
    view.SetVPos(0);
    report->ReturnPreparedPages(std::move(loaded));
    view.TakePages();
    view.Search().SearchPage = 0;
    view.Search().SearchRecord = 0;
    view.Search().RanOutOn = 0;
    view.SetCurrentPage(1);
    view.FormResize();
    view.UpdatePageLabel();
    view.ScrollToCurrentPage();
    view.PaintBox()->update();
}

void frSaveBtnClick(TfrPreviewView& view, QWidget* owner, const TfrReportFileAsker& ask) {
    const TfrEMFPages* pages = view.ShownPages();
    if (!view.ShownReport() || !pages || pages->Count() == 0)
        return;
    const QString chosen = ask(owner, true);
    if (chosen.isEmpty())
        return;
    const QString name = WithExtension(chosen);
    // The dialog asked about the name it was given, not about this one.
    if (name != chosen && QFileInfo::exists(name)) {
        UiServices* services = frEngineState().Services;
        const QString question = QStringLiteral("Файл «%1» уже существует. Заменить его?")
                                     .arg(QFileInfo(name).fileName());
        if (services && !services->Question(question, QStringLiteral("Сохранить отчет")))
            return;
    }
    try {
        frSavePreparedReport(*pages, name);
    } catch (const Failure& e) {
        frErrorBox(e.Message());
    }
}
