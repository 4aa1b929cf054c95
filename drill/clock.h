#pragma once

#include <cstdint>
#include <string>

namespace drill {

// "HH:MM:SS" with hours of the day (whole days are not shown) and two digits per field.
std::string FormatClock(std::int64_t seconds);

// Starts the countdown: the first tick right after shows the full limit.
inline void StartCountdown(std::int64_t& secondsLeft, std::int64_t limit) { secondsLeft = limit + 1; }

// One firing of the clock: one second less; true when the time has run out.
inline bool CountdownTick(std::int64_t& secondsLeft) { return --secondsLeft == 0; }

} // namespace drill
