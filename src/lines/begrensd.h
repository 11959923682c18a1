#pragma once

#include <cstdint>
#include <limits>

// Arithmetic on times in milliseconds that stops at the ends of the 64-bit
// range instead of overflowing. Times from a word file or a hand-edited
// table can lie anywhere in that range; shaping them must never wrap an end
// time around to a start thousands of years back.

inline std::int64_t begrensd(bool over, std::int64_t uitkomst, bool positief)
{
    if (!over)
        return uitkomst;
    return positief ? std::numeric_limits<std::int64_t>::max()
                    : std::numeric_limits<std::int64_t>::min();
}

// a + b, or the nearest end of the range.
inline std::int64_t somBegrensd(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    const bool over = __builtin_add_overflow(a, b, &r);
    return begrensd(over, r, b > 0);
}

// a - b, or the nearest end of the range.
inline std::int64_t verschilBegrensd(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    const bool over = __builtin_sub_overflow(a, b, &r);
    return begrensd(over, r, b < 0);
}

// a x b, or the nearest end of the range.
inline std::int64_t productBegrensd(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    const bool over = __builtin_mul_overflow(a, b, &r);
    return begrensd(over, r, (a < 0) == (b < 0));
}
