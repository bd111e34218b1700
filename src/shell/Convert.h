// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// Number conversions with the rounding and range rules the game logic was written against.
namespace convert
{

// Int(): the largest whole number not above x, as a 16-bit integer. Throws on overflow.
std::int16_t intI2(double x);

// CInt() / CLng(): nearest whole number, halves to the even neighbour. Throws on overflow.
std::int16_t cint(double x);
std::int32_t clng(double x);

// Decimal text of a 16-bit integer: no leading blank, "-" for negatives.
std::string strI2(std::int16_t value);

} // namespace convert
