// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Convert.h"

#include "RuntimeError.h"

#include <cfenv>
#include <cmath>
#include <limits>

RuntimeError RuntimeError::overflow()
{
    return RuntimeError(Overflow, "オーバーフローしました。");
}

RuntimeError RuntimeError::invalidArgument()
{
    return RuntimeError(InvalidArgument, "プロシージャの呼び出し、または引数が不正です。");
}

namespace
{

template <typename Int> Int checked(double whole)
{
    // NaN fails both comparisons and is an overflow as well.
    if (!(whole >= std::numeric_limits<Int>::min() && whole <= std::numeric_limits<Int>::max()))
        throw RuntimeError::overflow();
    return static_cast<Int>(whole);
}

double roundHalfEven(double x)
{
    // nearbyint follows the current rounding mode; make sure it is round-to-nearest-even.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(x);
    std::fesetround(saved);
    return r;
}

} // namespace

namespace convert
{

std::int16_t intI2(double x)
{
    return checked<std::int16_t>(std::floor(x));
}

std::int16_t cint(double x)
{
    return checked<std::int16_t>(roundHalfEven(x));
}

std::int32_t clng(double x)
{
    return checked<std::int32_t>(roundHalfEven(x));
}

std::string strI2(std::int16_t value)
{
    return std::to_string(value);
}

} // namespace convert
