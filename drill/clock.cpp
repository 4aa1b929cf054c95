#include "clock.h"

#include <cstdio>

namespace drill {

std::string FormatClock(std::int64_t seconds)
{
    // Floor division keeps every field in range should a negative count ever reach here.
    auto floorDiv = [](std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    auto floorMod = [&](std::int64_t a, std::int64_t b) { return a - floorDiv(a, b) * b; };
    const auto s = floorMod(seconds, 60);
    const auto m = floorMod(floorDiv(seconds, 60), 60);
    const auto h = floorMod(floorDiv(seconds, 3600), 24);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(h), static_cast<int>(m),
                  static_cast<int>(s));
    return text;
}

} // namespace drill
