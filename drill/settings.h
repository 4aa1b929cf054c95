#pragma once

#include "drill_state.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace drill {

// The twelve values of the settings panel, in control order: Text1..Text8 (count, time limit,
// first min/max, second min/max, result min/max) and the states of Check1..Check4
// (0 clear, 1 ticked, 2 greyed; any non-zero value switches its operation on).
struct SettingsInput {
    std::array<std::string, 8> Texts{"10", "100", "0", "10", "0", "10", "0", "100"};
    std::array<int, 4> Checks{1, 1, 1, 1};

    friend bool operator==(const SettingsInput&, const SettingsInput&) = default;
};

struct Settings {
    int ProblemCount = 0;
    std::int64_t TimeLimit = 0;
    ProblemRules Rules;

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The box a refusal points at: the eight text boxes, then the four operation check boxes.
enum class SettingsBox { Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Check1, Check2, Check3, Check4 };

enum class SettingsFault {
    CountInvalid,      // not a whole number from 1 to 999
    TimeLimitInvalid,  // not a whole number of seconds from 1 to 2147483647
    BoundNotNumber,    // a bound that is not a number at all
    BoundOutOfRange,   // a bound that rounds outside -32768..32767
    LowerAboveUpper,   // a lower bound above its upper bound
    NoOperation,       // no operation ticked
    NoProblemPossible, // the ranges admit no problem for any ticked operation
};

struct SettingsRefusal {
    SettingsBox Box;
    SettingsFault Fault;

    friend bool operator==(const SettingsRefusal&, const SettingsRefusal&) = default;
};

using SettingsVerdict = std::variant<Settings, SettingsRefusal>;

// Checks the twelve values and converts them, or says which box is wrong and why.
SettingsVerdict CheckSettings(const SettingsInput& input);

// The Czech sentence shown to the teacher for a refusal (UTF-8).
std::string RefusalMessage(const SettingsRefusal& refusal);

// Copies checked settings into the exercise state (the count, the time limit, bounds, switches).
void ReadSettings(DrillState& state, const Settings& settings);

// A number as the settings boxes accept it: surrounding spaces, an optional sign, digits with
// an optional decimal point or comma. Rounded to the nearest whole number, a half to the even
// neighbour. Empty when the text is not such a number; values far out of range saturate.
std::optional<std::int64_t> ParseRoundedNumber(std::string_view text);

// Like ParseRoundedNumber, but only a whole number is accepted ("12", "12,0"; not "12,5").
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

} // namespace drill
