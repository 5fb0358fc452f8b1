#include "PdfFileDialog.h"

#include <QFileDialog>

QString frAskPdfFileName(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Печать в файл PDF"), QString(),
                       QStringLiteral("Файлы PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("PdfFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // The window system's own dialog may ask about overwriting before the suffix is added.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
