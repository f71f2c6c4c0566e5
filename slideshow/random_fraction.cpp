#include "slideshow/random_fraction.h"

#include <chrono>

RandomFraction::RandomFraction()
    : m_engine(uint64_t(std::chrono::system_clock::now().time_since_epoch().count())) {}

double RandomFraction::next() {
    constexpr int kBits = 53;
    return double(m_engine() >> (64 - kBits)) / double(uint64_t(1) << kBits);
}
