#include "main.h"

#include "PrintRep.h"

#include "AppFrame.h"
#include "DBEditors.h"
#include "DBGrid.h"
#include "Data.h"
#include "Docs.h"
#include "EditValue.h"
#include "SpeedForm.h"
#include "Value.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace {

bool Editing(const TADOTable& table) {
    return table.State() == TDataSetState::dsEdit || table.State() == TDataSetState::dsInsert;
}

}  // namespace

// ---- templates -----------------------------------------------------------------------------

void TfMain::actSelectDocExecute() {
    if (windows_.fDocs)
        windows_.fDocs->ShowModal();
}

void TfMain::actValuesExecute() {
    if (windows_.fValue)
        windows_.fValue->ShowModal();
}

// ---- documents for printing ----------------------------------------------------------------

void TfMain::actAddListDocExecute() {
    if (data_.Document.RecordCount() == 0)
        return;
    data_.ListDoc.Append();
    data_.ListDocDocument_Id.SetValue(data_.DocumentId.Value());
    data_.ListDocDescript.SetAsString(data_.DocumentName.AsString());
    data_.ListDocDate.SetValue(QDateTime(QDate::currentDate(), QTime(0, 0)));
    RunEditListDoc();
}

void TfMain::actEditListDocExecute() {
    if (data_.Document.RecordCount() == 0)
        return;
    // On an empty list this starts a new row linked to the template.
    data_.ListDoc.Edit();
    RunEditListDoc();
}

void TfMain::RunEditListDoc() {
    int result = -1;
    try {
        result = fEditListDoc->RunModal();
    } catch (...) {
        data_.ListDoc.Cancel();
        throw;
    }
    if (result == mrOk && Editing(data_.ListDoc)) {
        // The re-read keeps the stored row current, so its values are the ones added.
        data_.ListDoc.Post();
        data_.RefreshFields();
    } else {
        data_.ListDoc.Cancel();
    }
}

void TfMain::actDelListDocExecute() {
    if (!frame_.AskYesNo(QStringLiteral("Удаляем документ?\r") + data_.ListDocDescript.AsString(),
                         QStringLiteral("Удаление!")))
        return;
    // Every value of the document goes, whatever row of them is current (also when a move past
    // the last one has set Eof).
    TADOTable& values = data_.HistoryValue;
    values.Cancel();
    while (values.RecordCount() > 0) {
        const int before = values.RecordCount();
        values.Delete();
        if (values.RecordCount() >= before)
            break;
    }
    data_.ListDoc.Delete();
}

void TfMain::actCreateReportExecute() {
    // Without a document for printing there is nothing to build: say what to do first.
    if (data_.ListDoc.RecordCount() == 0) {
        frame_.ShowInfo(
            data_.Document.RecordCount() == 0
                ? QStringLiteral("Нет шаблона документа, отчет строить не из чего.\r"
                                 "Создайте шаблон (F2) и добавьте документ для печати (F3).")
                : QStringLiteral("У шаблона нет документа для печати.\r"
                                 "Добавьте документ для печати (F3), затем создайте отчет."),
            QStringLiteral("Создать отчет"));
        return;
    }
    windows_.fPrintRep->BuildAndShow();
}

// ---- values --------------------------------------------------------------------------------

void TfMain::actEditValueExecute() {
    // Without a document for printing a new value would belong to nothing.
    if (data_.ListDoc.RecordCount() == 0 || data_.ListDoc.State() == TDataSetState::dsInsert)
        return;
    // First, so that a new value row of an empty list has its cell.
    data_.HistoryValue.Edit();
    Edit->setGeometry(EditorRect(Grid->CellRect(1, Grid->CurrentRow())));
    Edit->show();
    Edit->raise();
    Edit->setFocus(Qt::OtherFocusReason);
    Edit->selectAll();
}

QRect TfMain::EditorRect(const QRect& cell) {
    // The grid's client area starts at (3, 27) in the values panel: the editor sits inside the
    // cell, clear of its lines.
    return QRect(QPoint(cell.left() + 6, cell.top() + 30),
                 QPoint(cell.right(), cell.bottom() + 26));
}

bool TfMain::EditKeyPress(int key) {
    bool handled = false;
    Guard([&] {
        if (key == Qt::Key_Escape) {
            handled = true;
            if (Editing(data_.HistoryValue))
                data_.HistoryValue.Cancel();
            Edit->hide();
        } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            handled = true;
            if (Editing(data_.HistoryValue))
                data_.HistoryValue.Post();  // a failure keeps the editor open
            Edit->hide();
        }
    });
    if (!Edit->isVisible())
        Grid->setFocus(Qt::OtherFocusReason);
    return handled;
}

void TfMain::EditExit() {
    // The error box of a refused post takes the focus; the editor waits for the user.
    if (reporting_)
        return;
    Guard([this] {
        if (Editing(data_.HistoryValue))
            data_.HistoryValue.Cancel();
    });
    // Hiding the focused editor makes it lose the focus once more; that run finds nothing to do.
    if (Edit->isVisible())
        Edit->hide();
}

void TfMain::actParamValueExecute() {
    if (!windows_.fEditValue)
        return;
    if (!data_.Values_.LocateRow(QStringLiteral("Id"), {data_.HistoryValueValues_Id.Value()}))
        return;
    windows_.fEditValue->SetMaxPage(data_.DocumentPageCount.AsInteger());
    data_.Values_.Edit();
    windows_.fEditValue->ShowModal();
    RefreshValueLabels();
}

void TfMain::actRefreshValueExecute() {
    data_.RefreshFields();
}

void TfMain::actDelHistoryExecute() {
    if (!frame_.AskYesNo(
            QStringLiteral("Удаляем поле?\rВыбранное поле будет удалено из выбранного\r"
                           "<документа для печати>, созданного на основе\r"
                           "шаблона выбранного <текущего документа>\r\r"
                           "Чтобы восстановить поле сделайте обновление полей."),
            QStringLiteral("Удаление!")))
        return;
    data_.HistoryValue.Delete();
}

// ---- frame ---------------------------------------------------------------------------------

void TfMain::actHelpExecute() {
    frame_.ShowHelpContents();
}

void TfMain::actAboutExecute() {
    frame_.ShowHelpTopic(2);
}

void TfMain::actExitExecute() {
    frame_.Terminate();
}
