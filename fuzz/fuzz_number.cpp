// The rule for reading a number from text, against the standard library's own reading of the
// same characters: blanks, a sign, digits, a fraction after ".", an exponent with digits. Also
// what must hold whatever the text: never NaN, unchanged by leading blanks or by a character
// that cannot continue a number, and a whole value within half of it when it fits 32 bits.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "app/number_text.h"
#include "fuzz/desktop.h"

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number the text begins with, read from its UTF-8 bytes by std::from_chars; NaN when it is
// out of the double's range.
double reference(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t start = i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value);
    if (end != text.data() + i) fuzzing::fail("the reference stopped early:", text.c_str());
    // Out of the double's range, too large or too small: NaN says so, and the caller compares
    // loosely.
    if (error == std::errc::result_out_of_range) return std::numeric_limits<double>::quiet_NaN();
    return negative ? -value : value;
}

bool same(double a, double b) { return a == b; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const double value = NumberAtStart(text);
    if (std::isnan(value)) fuzzing::fail("NaN from", text);

    const double expected = reference(text.toStdString());
    if (std::isnan(expected)) {
        // Out of the double's range: infinite when too large, at most the smallest normal
        // number when too small.
        if (!std::isinf(value) && std::fabs(value) >= std::numeric_limits<double>::min()) {
            fuzzing::fail("a number out of range read as a finite one:", text);
        }
    } else if (!same(value, expected)) {
        fuzzing::fail("read otherwise than the standard library:",
                      text + " -> " + QString::number(value, 'g', 17) + " not " +
                          QString::number(expected, 'g', 17));
    }
    if (!same(NumberAtStart(QStringLiteral(" \t") + text), value)) {
        fuzzing::fail("changed by leading blanks:", text);
    }
    if (!same(NumberAtStart(text + QStringLiteral("x")), value)) {
        fuzzing::fail("changed by a character after it:", text);
    }
    if (const auto whole = ToInt32HalfEven(value); whole && std::fabs(*whole - value) > 0.5) {
        fuzzing::fail("rounded too far:", text);
    }
    return 0;
}
