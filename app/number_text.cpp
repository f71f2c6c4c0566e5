#include "app/number_text.h"

#include <cmath>
#include <limits>

double NumberAtStart(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    QString number;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        number += text[i++];
    }
    bool digits = false;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        number += text[i++];
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits) return 0.0;
    // An exponent counts only when digits follow it: "1e3" is 1000, "12e" is 12.
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) ++j;
        if (j < text.size() && text[j].isDigit() && text[j].unicode() < 128) {
            number += text.mid(i, j - i);
            while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128)
                number += text[j++];
        }
    }
    // Not strtod: it takes the decimal point from the C locale, which Qt sets from the user's
    // environment, and "2.5" would read 2 under a decimal comma. QString reads the C format
    // always, and gives ±infinity for a number too large to hold (0 for one too small).
    return number.toDouble();
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

std::optional<int32_t> ToInt32HalfEven(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<int32_t>::min() &&
          rounded <= std::numeric_limits<int32_t>::max())) {
        return std::nullopt;
    }
    return int32_t(rounded);
}
