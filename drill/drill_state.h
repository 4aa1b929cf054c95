#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace drill {

// Operation codes; a problem row shows the sign of its code between the operands.
enum Operation : std::int32_t { Addition = 0, Subtraction = 1, Multiplication = 2, Division = 3 };
inline constexpr int kOperationCount = 4;

// UTF-8 sign of an operation code: "+", "-", "·" (U+00B7) or ":".
std::string_view OperationSign(std::int32_t op);

struct ProblemRecord {
    std::int16_t First = 0;
    std::int16_t Second = 0;
    std::int32_t Op = 0;
    std::int16_t Result = 0;

    friend bool operator==(const ProblemRecord&, const ProblemRecord&) = default;
};

// The bounds and switches that every generated problem must respect.
struct ProblemRules {
    std::int16_t FirstMin = 0;
    std::int16_t FirstMax = 0;
    std::int16_t SecondMin = 0;
    std::int16_t SecondMax = 0;
    std::int16_t ResultMin = 0;
    std::int16_t ResultMax = 0;
    std::array<bool, kOperationCount> OpEnabled{};

    friend bool operator==(const ProblemRules&, const ProblemRules&) = default;
};

inline constexpr int kMaxProblems = 999;

// Everything one exercise needs; owned by the window for its whole life.
// The count and the time limit are converted once, at Start, after the settings were checked.
struct DrillState {
    int ProblemCount = 0;
    std::array<ProblemRecord, kMaxProblems + 2> Problems{}; // index 0 unused, rows are 1..count
    ProblemRules Rules;
    // Top of the problem list that puts the focused row in the marker band. Wider than
    // 16 bits so that every one of 999 rows has a target.
    std::int32_t ScrollTarget = 0;
    std::int64_t SecondsLeft = 0;
    std::int64_t TimeLimit = 0;
};

} // namespace drill
