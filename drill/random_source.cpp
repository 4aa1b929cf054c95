#include "random_source.h"

#include <ctime>

namespace drill {

std::uint32_t SecondsSinceMidnightSeed()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<std::uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

} // namespace drill
