#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QWidget;
class TDBCheckBox;
class TDBStaticText;
class TDataSource;

// A field's value shown read-only: white, centred.
TDBStaticText* CreateFieldText(TDataSource& source, const QString& field, QWidget* parent,
                               const QRect& bounds);

// The group "Шрифт" of the field list and the field editor: the current field's face and size,
// and read-only check boxes for bold and underline.
struct TFontGroup {
    QGroupBox* Box{nullptr};
    TDBStaticText* Name{nullptr};
    TDBStaticText* Size{nullptr};
    TDBCheckBox* Bold{nullptr};
    TDBCheckBox* Underline{nullptr};
};

// Builds the group at `bounds` in `parent`, bound to the field rows of `source`. The face name
// fills the group's width; right of the size there is room for a button.
TFontGroup CreateFontGroup(TDataSource& source, QWidget* parent, const QRect& bounds);
