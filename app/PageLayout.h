#pragma once

#include "LayoutGeometry.h"
#include "PagePicture.h"
#include "Report.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class AppFrame;
class Canvas;
class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QTabBar;
class TfData;
class TfReportBuilder;
struct TemplateWindows;

// "Разметка страницы": one page of the current template at real size, with the picture of the
// blank form behind it and every field of the page as a rectangle holding the current
// document's value as the engine draws it. Fields are selected with a click, moved by dragging
// or with the arrow keys, resized with the handles or Shift and the arrow keys, each change
// stored at once through the data module's cursor; Ctrl+Z takes the changes back one by one.
class TfPageLayout : public QDialog {
    Q_OBJECT
public:
    enum ZoomMode { Zoom100, ZoomPageWidth, ZoomWholePage };

    TfPageLayout(AppFrame& frame, TfData& dataModule, const TemplateWindows& windows,
                 QWidget* parent = nullptr);
    ~TfPageLayout() override;

    // Opens the window on the current template, modally; tells the user and opens nothing
    // when there is no template or it has no pages. Returns when the window closes.
    void Execute();
    // Reads the template's fields, values and pictures, and lays the report out again.
    void Load();

    // --- what the window shows
    int PageCount() const { return pageCount_; }
    int CurrentPage() const { return page_; }
    void SetPage(int page);
    void SetZoomMode(ZoomMode mode);
    double Zoom() const { return zoom_; }
    // The sheet's top-left corner in the sheet widget.
    QPoint Origin() const;
    // The sheet in page units.
    QSizeF SheetUnits() const;
    // Draws the current page onto canvas, cut to `area` (the sheet widget's pixels).
    void PaintSheet(Canvas& canvas, const QRect& area);
    // The field's rectangle on the sheet widget.
    QRect FieldRect(qint64 id) const;

    // --- fields
    qint64 SelectedField() const { return selected_; }
    void SelectField(qint64 id);
    // The field's place as the window holds it (also while it is dragged).
    LayoutGeometry::FieldMm FieldPlace(qint64 id) const;
    // The fields of the current page, in the order they are drawn.
    QList<qint64> PageFields() const;
    // Moves or resizes the selected field by whole millimetres and stores it.
    void MoveSelected(int dx, int dy);
    void ResizeSelected(int dw, int dh);
    // Takes back the last stored change made in this window.
    void Undo();
    // The field editor on the selected field.
    void EditSelected();

    // Mouse on the sheet widget, in its pixels.
    void Press(QPoint point);
    void Drag(QPoint point);
    void Release(QPoint point);
    void DoubleClick(QPoint point);
    // Keys on the sheet widget; true when taken.
    bool Key(int key, Qt::KeyboardModifiers modifiers);

    QTabBar* PageTabs{nullptr};
    QComboBox* ZoomBox{nullptr};
    QAction* actUndo{nullptr};
    QScrollArea* Scroll{nullptr};
    // The sheet the page is drawn on; it takes the mouse and the keys.
    QWidget* Sheet{nullptr};
    QLabel* Status{nullptr};
    QLabel* Notice{nullptr};

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Field {
        qint64 id{0};
        QString name;
        int page{0};
        LayoutGeometry::FieldMm place;
        // The field's object on its prepared page; -1 when it prints nothing.
        int object{-1};
    };
    struct Change {
        qint64 id{0};
        LayoutGeometry::FieldMm before;
        LayoutGeometry::FieldMm after;
    };

    Field* Find(qint64 id);
    const Field* Find(qint64 id) const;
    // The report of the current document built and prepared as F9 builds it; a failure is
    // shown in the notice and leaves the fields without text.
    void Rebuild();
    // Stores a field's place through the cursor; false (the place as before) when refused.
    bool Store(Field& field, const LayoutGeometry::FieldMm& place);
    void Commit(Field& field, const LayoutGeometry::FieldMm& place, bool undoable = true);
    void Relayout();
    void UpdateStatus();
    // What the window cannot show, under the sheet.
    void UpdateNotice();
    // The picture of the current page on the sheet widget; empty when it has none.
    QRect PictureRect();
    // Decodes the current page's picture once the events waiting now are done, and repaints.
    void DecodeLater();
    void RepaintField(const QRect& before, const QRect& after);

    AppFrame& frame_;
    TfData& data_;
    const TemplateWindows& windows_;
    TfrReport report_;
    std::unique_ptr<TfReportBuilder> builder_;

    qint64 document_{0};
    int pageCount_{0};
    int page_{1};
    ZoomMode zoomMode_{Zoom100};
    double zoom_{1.0};
    std::vector<Field> fields_;
    qint64 selected_{0};
    std::vector<Change> undo_;
    bool prepared_{false};
    QString buildFailure_;
    // Why pictures are not available.
    QString notice_;

    PagePictureCache pictures_;
    bool decodePending_{false};

    // The drag under way.
    LayoutGeometry::Grip grip_{LayoutGeometry::Grip::None};
    QPoint pressPoint_;
    LayoutGeometry::FieldMm pressPlace_;
};
