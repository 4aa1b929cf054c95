#pragma once

// The problem rules read again, independently of the generator, for the unit tests and the
// fuzzer to check it against: which values the operand formula can give, and which problems
// the rules accept.

#include "drill/drill_state.h"

#include <cstdint>
#include <optional>

namespace reference {

using drill::ProblemRecord;
using drill::ProblemRules;

struct Reach {
    int From;
    int To;
    bool Has(std::int64_t v) const { return v >= From && v <= To; }
};

// floor(u * (hi - lo + 1) + lo), u in [0, 1), after raising a lower bound of 0 or 1 to 2 for
// multiplication and division: lo..hi, or hi + 1..lo when lo is above hi (a raised bound can be).
inline Reach OperandReach(int lo, int hi, int op)
{
    if ((op == drill::Multiplication || op == drill::Division) && (lo == 0 || lo == 1))
        lo = 2;
    return lo <= hi ? Reach{lo, hi} : Reach{hi + 1, lo};
}

// The exact result, or nothing when it is not a whole number.
inline std::optional<std::int64_t> Solve(std::int64_t a, int op, std::int64_t b)
{
    switch (op) {
    case drill::Addition: return a + b;
    case drill::Subtraction: return a - b;
    case drill::Multiplication: return a * b;
    default: return b != 0 && a % b == 0 ? std::optional(a / b) : std::nullopt;
    }
}

inline bool Accepts(const ProblemRules& r, int op, std::int64_t a, std::int64_t b)
{
    const auto result = Solve(a, op, b);
    return r.OpEnabled[static_cast<std::size_t>(op)] && a != b && result && *result >= r.ResultMin &&
           *result <= r.ResultMax;
}

// What a drawn problem gets wrong, or nullptr when it keeps every rule.
inline const char* Broken(const ProblemRules& r, const ProblemRecord& p)
{
    if (p.Op < 0 || p.Op >= drill::kOperationCount)
        return "no such operation";
    if (!OperandReach(r.FirstMin, r.FirstMax, p.Op).Has(p.First))
        return "first number out of reach";
    if (!OperandReach(r.SecondMin, r.SecondMax, p.Op).Has(p.Second))
        return "second number out of reach";
    if (!Accepts(r, p.Op, p.First, p.Second))
        return "a problem the rules refuse";
    return p.Result == *Solve(p.First, p.Op, p.Second) ? nullptr : "wrong result";
}

} // namespace reference
