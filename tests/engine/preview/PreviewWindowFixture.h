#pragma once

#include "MemoView.h"
#include "Page.h"
#include "Preview.h"
#include "PreviewFixture.h"
#include "PreviewForm.h"
#include "PreviewView.h"
#include "RecordingCanvas.h"

#include <QApplication>
#include <QPointer>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <vector>

// The engine shows prepared pages as the application's start-up makes it; the report has no
// preview control, so it opens the stand-alone window. Remembered placements go to a folder
// of the test's own.
class PreviewWindowFixture : public PreviewFixture {
protected:
    PreviewWindowFixture() {
        frStartPreview(*engine);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        report.ModalPreview = false;
    }
    ~PreviewWindowFixture() override {
        // Deleting a window deletes its popups, which are windows too.
        QList<QPointer<TfrPreviewForm>> forms;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<TfrPreviewForm*>(w))
                forms << form;
        for (const QPointer<TfrPreviewForm>& form : forms)
            delete form.data();
    }

    static QString Text(const char* s) { return QString::fromUtf8(s); }

    // One page per entry; on it one text object per entry, with these lines, one below the
    // other, wide enough that no line breaks.
    void PrepareTexts(std::initializer_list<std::initializer_list<const char*>> pages) {
        report.Pages.ClearAll();
        for (const auto& objects : pages) {
            TfrPage& page = report.Pages.Add();
            int top = 40;
            for (const char* text : objects) {
                auto memo = std::make_unique<TfrMemoView>();
                memo->PlaceAt(30, top, 400, 60);
                memo->Memo = QString::fromUtf8(text).split(u'\n');
                page.AddObject(std::move(memo));
                top += 100;
            }
        }
        ASSERT_TRUE(report.Prepare());
    }

    // The window the report opened, or null.
    static TfrPreviewForm* Shown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<TfrPreviewForm*>(w); form && form->isVisible())
                return form;
        return nullptr;
    }

    // The text records of one page drawn whole at scale 1, in drawing order.
    static QList<CanvasRecord> TextsOf(TfrEMFPages& pages, int index) {
        TfrPreparedPage& page = pages.RecordAt(index);
        RecordingCanvas canvas(QSize(page.Metrics.SheetWidth, page.Metrics.SheetHeight));
        page.Showing = true;
        pages.DrawPage(index, canvas,
                       TfrPreviewView::PageTarget(
                           page, {0, 0, page.Metrics.SheetWidth, page.Metrics.SheetHeight}, 1));
        return canvas.RecordsOf(CanvasRecord::TextOut);
    }

    QTemporaryDir settingsDir;
};
