#pragma once
#include <cstdint>
#include <random>

// The slideshow's pseudo-random fractions in [0, 1), never 1: 53 random bits over 2^53.
class RandomFraction {
public:
    // Seeds from the clock.
    RandomFraction();
    explicit RandomFraction(uint64_t seed) : m_engine(seed) {}
    void seed(uint64_t seed) { m_engine.seed(seed); }
    double next();

private:
    std::mt19937_64 m_engine;
};
