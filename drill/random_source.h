#pragma once

#include <cstdint>
#include <random>

namespace drill {

// The exercise's one random source: seeded once, then each draw is a single-precision value
// in [0, 1) made of 24 random bits, so it is exact and can never be 1.0.
class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed = 0) : engine_(seed) {}

    void Seed(std::uint32_t seed) { engine_.seed(seed); }

    float Next() { return static_cast<float>(NextBits24()) * 0x1p-24f; }

    // The 24 bits behind one draw: Next() == NextBits24() / 2^24.
    std::uint32_t NextBits24() { return static_cast<std::uint32_t>(engine_() >> 8); }

    // A uniform whole number in [0, n), n > 0; used where counting replaces trying.
    std::uint64_t Below(std::uint64_t n) {
        return std::uniform_int_distribution<std::uint64_t>(0, n - 1)(engine_);
    }

private:
    std::mt19937 engine_;
};

// The seed the window uses: the seconds since midnight.
std::uint32_t SecondsSinceMidnightSeed();

} // namespace drill
