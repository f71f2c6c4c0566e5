#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// The number a text begins with: blanks skipped, then an optional sign, digits, a fraction
// after "." and an exponent ("e" and digits); reading stops at the first character that cannot
// continue the number. A text that does not begin with a number is 0. A number too large to hold
// reads as +infinity (or -infinity), so every range test rejects it.
double NumberAtStart(const QString& text);

// Rounds to the nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);

// The value rounded half to even as a 32-bit integer; nothing when it does not fit.
std::optional<int32_t> ToInt32HalfEven(double value);
