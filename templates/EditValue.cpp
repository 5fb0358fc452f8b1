#include "EditValue.h"

#include "AppFrame.h"
#include "DBEditors.h"
#include "DBSpinEdit.h"
#include "Data.h"
#include "FailureMessage.h"
#include "FontGroup.h"
#include "Labels.h"
#include "Placement.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {

QLabel* Caption(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

TDBSpinEdit* Measure(AppFrame& frame, TDataSource& source, const QString& field, QWidget* parent,
                     const QRect& bounds) {
    auto* edit = new TDBSpinEdit(parent);
    edit->SetFrame(&frame);
    edit->SetDataSource(&source);
    edit->SetDataField(field);
    edit->setGeometry(bounds);
    return edit;
}

// Font sizes are whole points; halves go to the even neighbour.
int PointSize(const QFont& font) {
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return static_cast<int>(std::nearbyint(points));
}

}  // namespace

TfEditValue::TfEditValue(AppFrame& frame, TfData& dataModule, const TemplateWindows&,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      frame_(frame),
      data_(dataModule),
      dialogFont_(QStringLiteral("MS Sans Serif"), 8) {
    setObjectName(QStringLiteral("fEditValue"));
    setWindowTitle(QStringLiteral("Редактирование текстового поля"));
    setFixedSize(563, 319);

    // The field's name, text and page.
    gbText = new QGroupBox(QStringLiteral("Текстовое поле"), this);
    gbText->setGeometry(6, 4, 551, 166);
    Caption(QStringLiteral("Наименование"), gbText, 10, 20);
    edName = new TDBMemo(gbText);
    edName->setGeometry(10, 36, 330, 40);
    Caption(QStringLiteral("Текст для печати по умолчанию"), gbText, 10, 82);
    edValue = new TDBMemo(gbText);
    edValue->setGeometry(10, 98, 330, 60);
    for (TDBMemo* memo : {edName, edValue}) {
        memo->SetFrame(&frame_);
        memo->SetDataSource(&data_.dsValues_);
        memo->setTabChangesFocus(true);
    }
    edName->SetDataField(QStringLiteral("VarName"));
    edValue->SetDataField(QStringLiteral("VarValue"));

    auto* pageCaption =
        new QLabel(QStringLiteral("Номер страницы на которой будет печататься текст"), gbText);
    pageCaption->setWordWrap(true);
    pageCaption->setGeometry(356, 20, 185, 34);
    SpinEdit =
        Measure(frame_, data_.dsValues_, QStringLiteral("PageNum"), gbText, QRect(356, 58, 70, 22));
    SpinEdit->SetMinValue(1);
    SpinEdit->SetCheckMaxValue(true);
    SpinEdit->SetMaxValue(1);
    SpinEdit->SetEditorEnabled(false);
    SpinEdit->SetAutoSelect(false);
    Caption(QStringLiteral("Всего страниц"), gbText, 356, 96);
    lbPageCount = CreateFieldText(data_.dsDocument, QStringLiteral("PageCount"), gbText,
                                  QRect(456, 93, 50, 21));
    QFont bold = lbPageCount->font();
    bold.setBold(true);
    lbPageCount->setFont(bold);

    // The font, chosen only through the font dialog.
    const TFontGroup font = CreateFontGroup(data_.dsValues_, this, QRect(6, 174, 272, 104));
    gbFont = font.Box;
    lbFontName = font.Name;
    lbFontSize = font.Size;
    cbBold = font.Bold;
    cbUnderline = font.Underline;
    TBItem1 = new QToolButton(gbFont);
    TBItem1->setText(QStringLiteral("..."));
    TBItem1->setToolTip(QStringLiteral("Выбор шрифта"));
    TBItem1->setFocusPolicy(Qt::StrongFocus);
    TBItem1->setGeometry(234, 46, 26, 24);
    connect(TBItem1, &QToolButton::clicked, this, [this] { TBItem1Click(); });

    // Position and size in millimetres: any integer.
    gbPlace = new QGroupBox(QStringLiteral("Координаты расположения поля (мм.)"), this);
    gbPlace->setGeometry(284, 174, 273, 104);
    Caption(QStringLiteral("Свеху"), gbPlace, 10, 32);
    edTop = Measure(frame_, data_.dsValues_, QStringLiteral("Top"), gbPlace, QRect(66, 28, 64, 22));
    Caption(QStringLiteral("Слева"), gbPlace, 142, 32);
    edLeft =
        Measure(frame_, data_.dsValues_, QStringLiteral("Left"), gbPlace, QRect(198, 28, 64, 22));
    Caption(QStringLiteral("Высота"), gbPlace, 10, 68);
    edHeight =
        Measure(frame_, data_.dsValues_, QStringLiteral("Height"), gbPlace, QRect(66, 64, 64, 22));
    Caption(QStringLiteral("Ширина"), gbPlace, 142, 68);
    edWidth =
        Measure(frame_, data_.dsValues_, QStringLiteral("Width"), gbPlace, QRect(198, 64, 64, 22));

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(387, 285, 82, 27);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setGeometry(475, 285, 82, 27);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });

    setTabOrder(edName, edValue);
    setTabOrder(edValue, SpinEdit);
    setTabOrder(SpinEdit, TBItem1);
    setTabOrder(TBItem1, edTop);
    setTabOrder(edTop, edLeft);
    setTabOrder(edLeft, edHeight);
    setTabOrder(edHeight, edWidth);
    setTabOrder(edWidth, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

void TfEditValue::SetMaxPage(int pages) {
    SpinEdit->SetMaxValue(std::max(pages, 1));
}

int TfEditValue::MaxPage() const {
    return static_cast<int>(SpinEdit->MaxValue());
}

bool TfEditValue::Editing() const {
    const TDataSetState state = data_.Values_.State();
    return state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
}

template <class Action>
bool TfEditValue::Guard(Action&& action) {
    try {
        action();
        return true;
    } catch (const Failure& e) {
        frame_.ShowError(e.Message());
    } catch (const std::exception& e) {
        frame_.ShowError(FailureMessage(e));
    }
    return false;
}

void TfEditValue::TBItem1Click() {
    Guard([this] {
        const QString name = data_.Values_FontName.AsString();
        if (!name.isEmpty()) {
            dialogFont_.setFamily(name);
            const int size = data_.Values_FontSize.IsNull() ? 0 : data_.Values_FontSize.AsInteger();
            if (size > 0)  // a font cannot be 0 points high: the dialog keeps its size then
                dialogFont_.setPointSize(size);
            dialogFont_.setBold(data_.Values_FontBold.AsBoolean());
            dialogFont_.setUnderline(data_.Values_FontUnderline.AsBoolean());
            dialogFont_.setItalic(false);
            dialogFont_.setStrikeOut(false);
        }
        QFont chosen = dialogFont_;
        if (!frame_.Services().ChooseFont(chosen))
            return;
        dialogFont_ = chosen;
        if (!Editing())
            return;
        // Italic, strike-out, colour and script are not kept.
        data_.Values_FontBold.SetValue(chosen.bold());
        data_.Values_FontUnderline.SetValue(chosen.underline());
        data_.Values_FontName.SetAsString(chosen.family());
        data_.Values_FontSize.SetAsInteger(PointSize(chosen));
    });
}

void TfEditValue::BitBtn1Click() {
    // A row the store refuses stays open with what was typed, to be corrected or cancelled.
    if (Editing() && !Guard([this] { data_.Values_.Post(); }))
        return;
    done(1);
}

void TfEditValue::BitBtn2Click() {
    Guard([this] {
        if (Editing())
            data_.Values_.Cancel();
    });
}

void TfEditValue::reject() {
    BitBtn2Click();
    done(2);
}

int TfEditValue::ShowModal() {
    CentreOnMainWindow(*this);
    return exec();
}

void TfEditValue::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edName->setFocus(Qt::OtherFocusReason);
}
