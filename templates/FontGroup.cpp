#include "FontGroup.h"

#include "DBEditors.h"
#include "Labels.h"

#include <QGroupBox>
#include <QLabel>

namespace {

constexpr quint32 kWhite = 0x00FFFFFFu;
constexpr int kMargin = 8;
constexpr int kValueLeft = 106;

void Caption(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
}

}  // namespace

TDBStaticText* CreateFieldText(TDataSource& source, const QString& field, QWidget* parent,
                               const QRect& bounds) {
    auto* text = new TDBStaticText(parent);
    text->SetAutoSize(false);
    text->SetAlignment(TAlignment::Center);
    text->SetLayout(TTextLayout::Center);
    text->SetColor(kWhite);
    text->SetDataSource(&source);
    text->SetDataField(field);
    text->setGeometry(bounds);
    return text;
}

TFontGroup CreateFontGroup(TDataSource& source, QWidget* parent, const QRect& bounds) {
    TFontGroup group;
    group.Box = new QGroupBox(QStringLiteral("Шрифт"), parent);
    group.Box->setGeometry(bounds);
    Caption(QStringLiteral("Наименование"), group.Box, kMargin, 24);
    group.Name = CreateFieldText(source, QStringLiteral("FontName"), group.Box,
                                 QRect(kValueLeft, 21, bounds.width() - kMargin - kValueLeft, 21));
    Caption(QStringLiteral("Размер"), group.Box, kMargin, 51);
    group.Size = CreateFieldText(source, QStringLiteral("FontSize"), group.Box,
                                 QRect(kValueLeft, 48, 40, 21));
    group.Bold = new TDBCheckBox(QStringLiteral("Выделенный"), group.Box);
    group.Underline = new TDBCheckBox(QStringLiteral("Подчеркнутый"), group.Box);
    group.Bold->SetDataField(QStringLiteral("FontBold"));
    group.Underline->SetDataField(QStringLiteral("FontUnderline"));
    int x = kMargin;
    for (TDBCheckBox* box : {group.Bold, group.Underline}) {
        box->SetDataSource(&source);
        box->setFocusPolicy(Qt::NoFocus);
        box->adjustSize();
        box->move(x, 76);
        x += 108;
    }
    return group;
}
