#include "generator.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace drill {
namespace {

constexpr std::int64_t kDraws = std::int64_t{1} << 24; // distinct values of one draw

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The values one operand formula can give for a working range, and how many of the 2^24 draws
// give each of them. A span of 0 gives only lo; a reversed range gives hi + 1 .. lo.
class OperandValues {
public:
    OperandValues(int lo, int hi) : lo_(lo), span_(std::int64_t{hi} - lo + 1)
    {
        min_ = span_ > 0 ? lo : static_cast<int>(lo + span_);
        max_ = span_ > 0 ? static_cast<int>(lo + span_ - 1) : lo;
        prefix_.resize(static_cast<std::size_t>(max_ - min_) + 2);
        prefix_[0] = 0;
        if (span_ > 0 && span_ <= kDraws) {
            FillIncrementally();
            return;
        }
        for (int v = min_; v <= max_; ++v)
            prefix_[static_cast<std::size_t>(v - min_) + 1] =
                static_cast<std::uint32_t>(DrawsBelow(v - lo_ + 1));
    }

    int Min() const { return min_; }
    int Max() const { return max_; }
    bool Contains(std::int64_t v) const { return v >= min_ && v <= max_; }
    std::uint64_t Weight(std::int64_t v) const { return WeightBetween(v, v); }
    // Total weight of the values in [from, to], clipped to the set.
    std::uint64_t WeightBetween(std::int64_t from, std::int64_t to) const
    {
        from = std::max<std::int64_t>(from, min_);
        to = std::min<std::int64_t>(to, max_);
        if (from > to)
            return 0;
        return std::uint64_t{prefix_[static_cast<std::size_t>(to - min_) + 1]} -
               prefix_[static_cast<std::size_t>(from - min_)];
    }
    // The value that holds position `offset` of the weight laid out from `from` upward.
    int ValueAt(std::int64_t from, std::uint64_t offset) const
    {
        const std::uint64_t target =
            prefix_[static_cast<std::size_t>(std::max<std::int64_t>(from, min_) - min_)] + offset;
        const auto it = std::upper_bound(prefix_.begin(), prefix_.end(), target,
                                         [](std::uint64_t t, std::uint32_t p) { return t < p; });
        return min_ + static_cast<int>(it - prefix_.begin()) - 1;
    }

private:
    // prefix_[x] = ceil(x * 2^24 / span) for x = 0..span, stepping by 2^24 = q * span + r and
    // carrying the remainder, since a 64-bit division per value dominated the whole count.
    void FillIncrementally()
    {
        const std::int64_t q = kDraws / span_;
        const std::int64_t r = kDraws % span_;
        std::int64_t ceiling = 0; // x * 2^24 = ceiling * span - shortfall, 0 <= shortfall < span
        std::int64_t shortfall = 0;
        for (std::int64_t x = 1; x <= span_; ++x) {
            if (r > shortfall) {
                ceiling += q + 1;
                shortfall = span_ - (r - shortfall);
            } else {
                ceiling += q;
                shortfall -= r;
            }
            prefix_[static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(ceiling);
        }
    }

    // How many draws k give floor(k * span / 2^24) < x.
    std::int64_t DrawsBelow(std::int64_t x) const
    {
        std::int64_t n;
        if (span_ > 0)
            n = CeilDiv(x * kDraws, span_);
        else if (span_ == 0)
            n = x > 0 ? kDraws : 0;
        else
            n = kDraws - (FloorDiv(x * kDraws, span_) + 1);
        return std::clamp<std::int64_t>(n, 0, kDraws);
    }

    int lo_;
    std::int64_t span_;
    int min_;
    int max_;
    // Cumulative weight of the values below min_ + i; never above 2^24, so 32 bits do and the
    // tables stay small (fresh memory, not arithmetic, dominates a count over wide ranges).
    std::vector<std::uint32_t> prefix_;
};

struct Interval {
    std::int64_t From;
    std::int64_t To;
};

// For addition, subtraction and multiplication the second operands that a first operand
// accepts form one interval (a == b still to be left out).
Interval SecondOperandsFor(std::int32_t op, std::int64_t a, const ProblemRules& r)
{
    switch (op) {
    case Addition: return {r.ResultMin - a, r.ResultMax - a};
    case Subtraction: return {a - r.ResultMax, a - r.ResultMin};
    default: // Multiplication
        if (a > 0)
            return {CeilDiv(r.ResultMin, a), FloorDiv(r.ResultMax, a)};
        if (a < 0)
            return {CeilDiv(r.ResultMax, a), FloorDiv(r.ResultMin, a)};
        if (r.ResultMin <= 0 && 0 <= r.ResultMax)
            return {INT32_MIN, INT32_MAX};
        return {1, 0};
    }
}

// Division accepts, for each first operand, the divisors that give a whole quotient in range:
// the accepted pairs and their weight per first operand (each fits 32 bits).
struct PerFirst {
    std::vector<std::uint32_t> Pairs;
    std::vector<std::uint32_t> Weight;
};

// Exact division a = b * q: walk every divisor b and the quotients that keep a in range,
// which costs about |A| * ln|B| steps instead of |A| * |B|.
PerFirst CountDivision(const ProblemRules& r, const OperandValues& A, const OperandValues& B)
{
    const auto n = static_cast<std::size_t>(A.Max() - A.Min() + 1);
    PerFirst out{std::vector<std::uint32_t>(n), std::vector<std::uint32_t>(n)};
    for (std::int64_t b = B.Min(); b <= B.Max(); ++b) {
        if (b == 0)
            continue;
        std::int64_t qFrom = b > 0 ? CeilDiv(A.Min(), b) : CeilDiv(A.Max(), b);
        std::int64_t qTo = b > 0 ? FloorDiv(A.Max(), b) : FloorDiv(A.Min(), b);
        qFrom = std::max<std::int64_t>(qFrom, r.ResultMin);
        qTo = std::min<std::int64_t>(qTo, r.ResultMax);
        const auto w = static_cast<std::uint32_t>(B.Weight(b));
        for (std::int64_t q = qFrom; q <= qTo; ++q) {
            if (q == 1) // a == b
                continue;
            const auto i = static_cast<std::size_t>(b * q - A.Min());
            out.Pairs[i] += 1;
            out.Weight[i] += w;
        }
    }
    return out;
}

// The second operands accepted for one first operand a, by count and weight.
struct Accepted {
    std::uint64_t Pairs = 0;
    std::uint64_t Weight = 0;
};

Accepted AcceptedSeconds(std::int32_t op, std::int64_t a, const ProblemRules& r, const OperandValues& B)
{
    const Interval s = SecondOperandsFor(op, a, r);
    const std::int64_t from = std::max<std::int64_t>(s.From, B.Min());
    const std::int64_t to = std::min<std::int64_t>(s.To, B.Max());
    if (from > to)
        return {};
    Accepted accepted{static_cast<std::uint64_t>(to - from + 1), B.WeightBetween(from, to)};
    if (a >= from && a <= to) {
        accepted.Pairs -= 1;
        accepted.Weight -= B.Weight(a);
    }
    return accepted;
}

// The operand tables of the four operations: addition and subtraction share one pair,
// multiplication and division another, and where raising changes nothing all four share.
class OperandTables {
public:
    explicit OperandTables(const ProblemRules& r)
        : first_{OperandValues(r.FirstMin, r.FirstMax)}, second_{OperandValues(r.SecondMin, r.SecondMax)}
    {
        const int lo1 = WorkingLowerBound(r.FirstMin, Multiplication);
        const int lo2 = WorkingLowerBound(r.SecondMin, Multiplication);
        raisedFirst_ = lo1 != r.FirstMin;
        raisedSecond_ = lo2 != r.SecondMin;
        if (raisedFirst_)
            first_.emplace_back(lo1, r.FirstMax);
        if (raisedSecond_)
            second_.emplace_back(lo2, r.SecondMax);
    }

    const OperandValues& First(std::int32_t op) const { return first_[Raised(op) && raisedFirst_ ? 1 : 0]; }
    const OperandValues& Second(std::int32_t op) const { return second_[Raised(op) && raisedSecond_ ? 1 : 0]; }

private:
    static bool Raised(std::int32_t op) { return op == Multiplication || op == Division; }

    std::vector<OperandValues> first_;
    std::vector<OperandValues> second_;
    bool raisedFirst_ = false;
    bool raisedSecond_ = false;
};

// Below this chance of acceptance the attempt loop would need thousands of tries per problem.
constexpr double kCountingBelowChance = 1.0 / 2048;

} // namespace

int WorkingLowerBound(int lo, std::int32_t op)
{
    return (op == Multiplication || op == Division) && (lo == 0 || lo == 1) ? 2 : lo;
}

std::uint64_t DrawsGiving(int value, int lo, int hi)
{
    const OperandValues values(lo, hi);
    return values.Weight(value);
}

int OperandFromDraw(float u, int lo, int hi)
{
    const auto k = static_cast<std::int64_t>(static_cast<double>(u) * kDraws); // exact: u = k / 2^24
    const std::int64_t span = std::int64_t{hi} - lo + 1;
    return static_cast<int>(lo + FloorDiv(k * span, kDraws));
}

std::optional<ProblemRecord> TryProblem(const ProblemRules& rules, RandomSource& random)
{
    const auto op = static_cast<std::int32_t>(random.Next() * 4.0f);
    const int lo2 = WorkingLowerBound(rules.SecondMin, op);
    const int lo1 = WorkingLowerBound(rules.FirstMin, op);
    const std::int64_t a = OperandFromDraw(random.Next(), lo1, rules.FirstMax);
    const std::int64_t b = OperandFromDraw(random.Next(), lo2, rules.SecondMax);

    std::int64_t r = 0;
    bool whole = true;
    switch (op) {
    case Addition: r = a + b; break;
    case Subtraction: r = a - b; break;
    case Multiplication: r = a * b; break;
    default:
        // A zero divisor fails like any other attempt.
        whole = b != 0 && a % b == 0;
        r = whole ? a / b : 0;
        break;
    }
    const bool inRange = whole && r >= rules.ResultMin && r <= rules.ResultMax;
    if (!inRange || a == b || !whole || !rules.OpEnabled[op])
        return std::nullopt;
    return ProblemRecord{static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), op,
                         static_cast<std::int16_t>(r)};
}

bool ProblemCount::Any() const
{
    return std::any_of(Pairs.begin(), Pairs.end(), [](std::uint64_t n) { return n > 0; });
}

double ProblemCount::AcceptChance() const
{
    double total = 0;
    for (auto w : Weight)
        total += static_cast<double>(w);
    return total / (4.0 * static_cast<double>(kDraws) * static_cast<double>(kDraws));
}

namespace {

struct OperationCount {
    std::uint64_t Pairs = 0;
    std::uint64_t Weight = 0;
    std::vector<std::uint64_t> Cumulative; // weight of (a, b) up to and including each a
};

OperationCount CountOperation(const ProblemRules& rules, const OperandTables& tables, std::int32_t op,
                              bool keepCumulative)
{
    OperationCount c;
    if (!rules.OpEnabled[op])
        return c;
    const OperandValues& A = tables.First(op);
    const OperandValues& B = tables.Second(op);
    PerFirst division;
    if (op == Division)
        division = CountDivision(rules, A, B);
    if (keepCumulative)
        c.Cumulative.resize(static_cast<std::size_t>(A.Max() - A.Min() + 1));
    for (std::int64_t a = A.Min(); a <= A.Max(); ++a) {
        const auto i = static_cast<std::size_t>(a - A.Min());
        const Accepted accepted = op == Division ? Accepted{division.Pairs[i], division.Weight[i]}
                                                 : AcceptedSeconds(op, a, rules, B);
        c.Pairs += accepted.Pairs;
        c.Weight += A.Weight(a) * accepted.Weight;
        if (keepCumulative)
            c.Cumulative[i] = c.Weight;
    }
    return c;
}

} // namespace

ProblemCount CountProblems(const ProblemRules& rules)
{
    ProblemCount count;
    const OperandTables tables(rules);
    for (std::int32_t op = 0; op < kOperationCount; ++op) {
        const OperationCount c = CountOperation(rules, tables, op, false);
        count.Pairs[op] = c.Pairs;
        count.Weight[op] = c.Weight;
    }
    return count;
}

// Where acceptance is rare, problems are drawn from the exact weights instead: an operation by
// its accepted weight, a first operand by the weight of its accepted pairs, then a second one.
struct ProblemGenerator::Table {
    explicit Table(const ProblemRules& rules) : Operands(rules) {}
    OperandTables Operands;
    std::array<OperationCount, kOperationCount> Ops;
    std::uint64_t Total = 0;
};

ProblemGenerator::ProblemGenerator(const ProblemRules& rules, Method method) : rules_(rules)
{
    const ProblemCount count = CountProblems(rules);
    if (!count.Any())
        throw std::invalid_argument("the settings admit no problem");
    if (method == Method::Attempts || (method == Method::Automatic && count.AcceptChance() >= kCountingBelowChance))
        return;
    table_ = std::make_unique<Table>(rules);
    for (std::int32_t op = 0; op < kOperationCount; ++op) {
        table_->Ops[op] = CountOperation(rules, table_->Operands, op, true);
        table_->Total += table_->Ops[op].Weight;
    }
}

ProblemGenerator::~ProblemGenerator() = default;
ProblemGenerator::ProblemGenerator(ProblemGenerator&&) noexcept = default;
ProblemGenerator& ProblemGenerator::operator=(ProblemGenerator&&) noexcept = default;

ProblemRecord ProblemGenerator::Next(RandomSource& random)
{
    if (!table_) {
        for (;;) { // ends: acceptance is at least 1 in 2048 unless a test forced this path
            if (auto problem = TryProblem(rules_, random))
                return *problem;
        }
    }

    std::uint64_t pick = random.Below(table_->Total);
    std::int32_t op = 0;
    while (pick >= table_->Ops[op].Weight)
        pick -= table_->Ops[op++].Weight;

    const OperationCount& ops = table_->Ops[op];
    const OperandValues& A = table_->Operands.First(op);
    const OperandValues& B = table_->Operands.Second(op);
    const auto ai = std::upper_bound(ops.Cumulative.begin(), ops.Cumulative.end(), pick) - ops.Cumulative.begin();
    const std::int64_t a = A.Min() + ai;

    std::int64_t b = 0;
    if (op == Division && a != 0) {
        // The few divisors of a that are accepted, each by its weight.
        std::vector<std::pair<std::int64_t, std::uint64_t>> divisors;
        std::uint64_t total = 0;
        const std::int64_t magnitude = a < 0 ? -a : a;
        for (std::int64_t d = 1; d * d <= magnitude; ++d) {
            if (magnitude % d != 0)
                continue;
            const std::int64_t e = magnitude / d;
            const std::int64_t candidates[] = {d, -d, e, -e};
            for (std::size_t c = 0; c < (e == d ? 2u : 4u); ++c) {
                const std::int64_t candidate = candidates[c];
                const std::int64_t q = a / candidate;
                if (candidate != a && B.Contains(candidate) && q >= rules_.ResultMin && q <= rules_.ResultMax) {
                    total += B.Weight(candidate);
                    divisors.emplace_back(candidate, total);
                }
            }
        }
        const std::uint64_t at = random.Below(total);
        b = std::upper_bound(divisors.begin(), divisors.end(), at,
                             [](std::uint64_t v, const auto& entry) { return v < entry.second; })
                ->first;
    } else {
        Interval s = op == Division ? Interval{B.Min(), B.Max()} : SecondOperandsFor(op, a, rules_);
        s.From = std::max<std::int64_t>(s.From, B.Min());
        s.To = std::min<std::int64_t>(s.To, B.Max());
        // The excluded value is b == a, or b == 0 when dividing zero.
        const std::int64_t excluded = op == Division ? 0 : a;
        const bool skip = excluded >= s.From && excluded <= s.To;
        std::uint64_t at = random.Below(B.WeightBetween(s.From, s.To) - (skip ? B.Weight(excluded) : 0));
        if (skip && at >= B.WeightBetween(s.From, excluded - 1))
            at += B.Weight(excluded);
        b = B.ValueAt(s.From, at);
    }

    std::int64_t r = 0;
    switch (op) {
    case Addition: r = a + b; break;
    case Subtraction: r = a - b; break;
    case Multiplication: r = a * b; break;
    default: r = a / b; break;
    }
    return {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), op, static_cast<std::int16_t>(r)};
}

void GenerateProblems(DrillState& state, RandomSource& random)
{
    ProblemGenerator generator(state.Rules);
    for (int i = 1; i <= state.ProblemCount; ++i)
        state.Problems[i] = generator.Next(random);
}

} // namespace drill
