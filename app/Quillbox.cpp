#include "Quillbox.h"

#include "Data.h"
#include "DesktopPrinters.h"
#include "Docs.h"
#include "EditValue.h"
#include "Engine.h"
#include "Failure.h"
#include "PageLayout.h"
#include "PdfFileDialog.h"
#include "Preview.h"
#include "PrintRep.h"
#include "Printing.h"
#include "ProgressForm.h"
#include "TextEngine.h"
#include "Value.h"
#include "WordsLibrary.h"
#include "main.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// The icon is a resource of this static library: it has to be registered by hand.
static void InstallIcon() {
    Q_INIT_RESOURCE(icons);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formwright.svg")));
}

Quillbox::Quillbox(UiServices& services) : frame(services) {}

Quillbox::~Quillbox() = default;  // the windows, last created first, then the data module

bool Quillbox::Start(const QString& executablePath) {
    frame.Title = QStringLiteral("Formwright");
    // Not the display name: Qt would append that to every window title.
    QCoreApplication::setApplicationName(frame.Title);
    InstallIcon();
    frame.HelpFile = QStringLiteral("QUILLBOX.HLP");

    fData = std::make_unique<TfData>(frame);
    try {
        fData->DataModuleCreate(executablePath);
    } catch (const Failure& e) {
        frame.ShowError(e.Message());
        exitCode_ = 1;
        return false;
    }
    if (frame.Terminated())
        return false;

    auto printers = std::make_unique<DesktopPrinters>();
    printers->AskFileName = [] { return frAskPdfFileName(QApplication::activeWindow()); };
    printers->PdfFile().Protect(QDir::current().absoluteFilePath(QStringLiteral("Quillbox.mdb")));
    engine = std::make_unique<TfrEngine>(std::move(printers));
    engine->State().Services = &frame.Services();
    engine->State().ApplicationHelpFile = &frame.HelpFile;
    InstallWordsLibrary(frStartTextLayer(*engine));
    frStartProgressWindow(*engine);
    frStartPreview(*engine);
    frStartPrinting(*engine);

    fMain = std::make_unique<TfMain>(frame, *fData, windows);
    // Hidden until shown modally; over the main window, which they are centred on.
    fDocs = std::make_unique<TfDocs>(frame, *fData, windows, fMain.get());
    windows.fDocs = fDocs.get();
    fValue = std::make_unique<TfValue>(frame, *fData, windows, fMain.get());
    windows.fValue = fValue.get();
    fEditValue = std::make_unique<TfEditValue>(frame, *fData, windows, fMain.get());
    windows.fEditValue = fEditValue.get();
    fPrintRep = std::make_unique<TfPrintRep>(frame, *fData, fMain.get());
    windows.fPrintRep = fPrintRep.get();
    fPageLayout = std::make_unique<TfPageLayout>(frame, *fData, windows, fMain.get());
    windows.ShowPageLayout = [this] { fPageLayout->Execute(); };
    return true;
}

int Quillbox::Run() {
    fMain->showMaximized();
    if (frame.Terminated())
        return exitCode_;
    exitCode_ = QApplication::exec();
    return exitCode_;
}

void InstallRussian() {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    auto* app = QCoreApplication::instance();
    for (const char* name : {"qtbase", "qt"}) {
        auto translator = std::make_unique<QTranslator>(app);
        if (translator->load(russian, QLatin1String(name), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.release());
            break;
        }
    }
}
