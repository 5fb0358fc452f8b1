#pragma once

#include <string>

// A finite double as decimal digits: |value| = 0.Digits x 10^Exponent, with no leading or
// trailing zeros in Digits; zero has none. Rounding is half away from zero on these digits, as
// numbers are shown: a value is rounded as the decimal it reads as (2.345 to "2.35"), not as its
// binary fraction.
struct TfrDecimal {
    std::string Digits;
    int Exponent{0};
    bool Negative{false};

    // The shortest decimal that reads back as the same double, then rounded to at most
    // `significant` digits.
    static TfrDecimal FromDouble(double value, int significant = 15);

    bool IsZero() const { return Digits.empty(); }
    // The digit at a 0-based index, '0' beyond the stored ones.
    char DigitAt(int index) const;
    void RoundToDecimals(int decimals) { KeepDigits(Exponent + decimals); }
    void RoundToSignificant(int significant) { KeepDigits(significant); }

private:
    void KeepDigits(int count);
};
