#pragma once

#include "Canvas.h"

#include <QHash>
#include <QString>
#include <vector>

class TfrMemoLayout;
class TfrMemoView;
class TfrPage;

// What will not print as the template means it: a text that does not fit its field, a font
// replaced by one of other metrics, a field beyond the sheet or the printer's printable area.
struct TfrPrintWarning {
    // The prepared page (from 0) and the object's name and place on it, in page units.
    int Page{0};
    QString Object;
    CanvasRect Box;
    QString Text;
};

// Collected while the pages are prepared: each text object is checked as it is written.
class TfrPrintWarnings {
public:
    void Clear();
    // `memo` is being written onto prepared page `page` (from 0) of design page `design`; its
    // WorkMemo holds the lines it prints.
    void Check(TfrMemoView& memo, const TfrPage& design, int page, TfrMemoLayout& layout,
               Canvas& measure);
    const std::vector<TfrPrintWarning>& List() const { return list_; }

    // The face a font name prints with, or an empty text when it prints with its own or with a
    // face of the same metrics.
    static QString Substitute(const QString& face);

private:
    void Add(const TfrMemoView& memo, int page, const QString& text);

    std::vector<TfrPrintWarning> list_;
    // Faces already checked, each with its substitute (empty when none is needed).
    QHash<QString, QString> faces_;
};
