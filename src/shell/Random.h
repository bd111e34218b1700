// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <random>

// The game's pseudo-random source (Randomize / Rnd).
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Reseed from the clock.
    virtual void randomize() = 0;
    // Next value in [0, 1); 1.0 is never returned.
    virtual float next() = 0;
};

class ClockRandom final : public RandomSource
{
public:
    // The clock's reading in ticks; by default the system's finest clock.
    using Clock = std::function<std::int64_t()>;
    explicit ClockRandom(Clock clock = {});
    void randomize() override;
    float next() override;

    // 24 random bits over 2^24: every value is exact in a float and the largest is 1 - 2^-24.
    // (generate_canonical<float> may round up to 1.0.)
    static float fromBits(std::uint32_t bits) { return float(bits >> 8) / 16777216.0f; }

private:
    Clock m_clock;
    std::mt19937 m_engine;
};
