// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Random.h"

#include <chrono>
#include <utility>

ClockRandom::ClockRandom(Clock clock) : m_clock(std::move(clock))
{
    randomize();
}

void ClockRandom::randomize()
{
    const std::int64_t now =
        m_clock
            ? m_clock()
            : std::int64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    m_engine.seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
}

float ClockRandom::next()
{
    return fromBits(static_cast<std::uint32_t>(m_engine()));
}
