#include "EngineStrings.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    int id;
    const char16_t* text;
};

// Sorted by number.
constexpr Entry kStrings[] = {
    {55001, u"Отмена"},
    {55007, u"Виртуальный принтер"},
    // Band kinds 0 to 22.
    {55077, u"Report title"},
    {55078, u"Report summary"},
    {55079, u"Page header"},
    {55080, u"Page footer"},
    {55081, u"Master header"},
    {55082, u"Master data"},
    {55083, u"Master footer"},
    {55084, u"Detail header"},
    {55085, u"Detail data"},
    {55086, u"Detail footer"},
    {55087, u"Subdetail header"},
    {55088, u"Subdetail data"},
    {55089, u"Subdetail footer"},
    {55090, u"Overlay"},
    {55091, u"Column header"},
    {55092, u"Column footer"},
    {55093, u"Group header"},
    {55094, u"Group footer"},
    {55095, u"Cross header"},
    {55096, u"Cross data"},
    {55097, u"Cross footer"},
    {55098, u"Child"},
    {55099, u"Нет"},
    {55199, u"из"},
    {55200, u"Возникла ошибка при обработке выражения"},
    {55201, u"Документ:"},
    {55202, u"Объект:"},
    {55203, u"Подготовка отчета"},
    {55204, u"Выполняется 1-й проход:"},
    {55205, u"Формируется страница:"},
    {55206, u"Ошибка"},
    {55209, u"Untitled"},
    {55337, u"204"},
    {55345, u"Неверный QDS формат"},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

QString frLoadStr(int id) {
    const auto* it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                      [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kStrings) || it->id != id)
        return QString();
    return QString::fromUtf16(it->text);
}
