#include "slideshow/interval.h"

#include "app/number_text.h"

namespace {
constexpr double kMinSeconds = 1, kMaxSeconds = 60;
constexpr int kMillisecondsPerSecond = 1000;
}  // namespace

bool IsValidInterval(const QString& text) {
    const double seconds = NumberAtStart(text);
    return !text.isEmpty() && seconds >= kMinSeconds && seconds <= kMaxSeconds;
}

int IntervalMilliseconds(const QString& text) {
    return ToInt32HalfEven(NumberAtStart(text) * kMillisecondsPerSecond).value_or(0);
}
