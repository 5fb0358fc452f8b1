#include "DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

TfrDecimal TfrDecimal::FromDouble(double value, int significant) {
    TfrDecimal d;
    if (value == 0 || !std::isfinite(value))
        return d;
    d.Negative = value < 0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    // d.ddddde+XX
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.Digits += text[i];
    d.Exponent = std::atoi(text.c_str() + e + 1) + 1;
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    d.RoundToSignificant(significant);
    return d;
}

char TfrDecimal::DigitAt(int index) const {
    if (index < 0 || index >= static_cast<int>(Digits.size()))
        return '0';
    return Digits[static_cast<std::size_t>(index)];
}

void TfrDecimal::KeepDigits(int count) {
    const int size = static_cast<int>(Digits.size());
    if (count >= size)
        return;
    if (count < 0) {
        Digits.clear();
        return;
    }
    const bool up = Digits[static_cast<std::size_t>(count)] >= '5';
    Digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && Digits[static_cast<std::size_t>(i)] == '9') {
            Digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            Digits.insert(Digits.begin(), '1');
            ++Exponent;
        } else {
            ++Digits[static_cast<std::size_t>(i)];
        }
    }
    while (!Digits.empty() && Digits.back() == '0')
        Digits.pop_back();
    if (Digits.empty())
        Exponent = 0;
}
