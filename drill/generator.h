#pragma once

#include "drill_state.h"
#include "random_source.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace drill {

// The operand formula floor(u * (hi - lo + 1) + lo) for a draw u in [0, 1), computed exactly:
// the result never passes what the formula means (a span of 0 gives lo; a reversed range gives
// hi + 1 .. lo - 1, and lo itself only for u = 0).
int OperandFromDraw(float u, int lo, int hi);

// How many of the 2^24 possible draws make the operand formula give `value`.
std::uint64_t DrawsGiving(int value, int lo, int hi);

// The working lower bound of an operand for an operation: 0 and 1 become 2 for
// multiplication and division.
int WorkingLowerBound(int lo, std::int32_t op);

// One attempt: three draws (op, a, b) and the four tests. Empty when rejected.
std::optional<ProblemRecord> TryProblem(const ProblemRules& rules, RandomSource& random);

// How many (a, b) each operation can produce and accept, and their total probability weight:
// each operand value weighs the number of 24-bit draws that give it.
struct ProblemCount {
    std::array<std::uint64_t, kOperationCount> Pairs{};
    std::array<std::uint64_t, kOperationCount> Weight{}; // out of 2^24 * 2^24 per operation
    bool Any() const;
    // Probability that one attempt is accepted.
    double AcceptChance() const;
};

// Counts exactly, in time about linear in the width of the ranges. Switched-off operations
// count as zero.
ProblemCount CountProblems(const ProblemRules& rules);

// Draws problems with the distribution of the attempt loop. Ordinary settings use the attempt
// loop itself; where acceptance is rare it draws from the exact counts instead, so it never
// hangs. Requires CountProblems(rules).Any().
class ProblemGenerator {
public:
    enum class Method { Automatic, Attempts, Counting };
    explicit ProblemGenerator(const ProblemRules& rules, Method method = Method::Automatic);
    ~ProblemGenerator();
    ProblemGenerator(ProblemGenerator&&) noexcept;
    ProblemGenerator& operator=(ProblemGenerator&&) noexcept;

    ProblemRecord Next(RandomSource& random);

    bool UsesCounting() const { return table_ != nullptr; }

private:
    struct Table;
    ProblemRules rules_;
    std::unique_ptr<Table> table_;
};

// Fills state.Problems[1..state.ProblemCount] from state.Rules.
void GenerateProblems(DrillState& state, RandomSource& random);

} // namespace drill
