#include "drill/generator.h"
#include "reference_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

using namespace drill;
using reference::OperandReach;

namespace {

constexpr std::int64_t kDraws = std::int64_t{1} << 24;

const ProblemRules kDefaults{0, 10, 0, 10, 0, 100, {true, true, true, true}};

void ExpectWithinRules(const ProblemRules& r, const ProblemRecord& p)
{
    EXPECT_EQ(reference::Broken(r, p), nullptr) << p.First << ' ' << p.Op << ' ' << p.Second << " = " << p.Result;
}

// The exact chance of each accepted (op, a, b), by brute force over every operand value.
std::map<std::tuple<int, int, int>, double> ExpectedDistribution(const ProblemRules& r)
{
    std::map<std::tuple<int, int, int>, double> weights;
    double total = 0;
    for (int op = 0; op < 4; ++op) {
        const auto A = OperandReach(r.FirstMin, r.FirstMax, op), B = OperandReach(r.SecondMin, r.SecondMax, op);
        const int lo1 = WorkingLowerBound(r.FirstMin, op), lo2 = WorkingLowerBound(r.SecondMin, op);
        for (int a = A.From; a <= A.To; ++a)
            for (int b = B.From; b <= B.To; ++b)
                if (reference::Accepts(r, op, a, b)) {
                    const double w = static_cast<double>(DrawsGiving(a, lo1, r.FirstMax)) *
                                     static_cast<double>(DrawsGiving(b, lo2, r.SecondMax));
                    weights[{op, a, b}] = w;
                    total += w;
                }
    }
    for (auto& [key, w] : weights)
        w /= total;
    return weights;
}

// Chi-square of a sample against the exact distribution, and the 1-in-10,000 critical value.
std::pair<double, double> ChiSquare(const ProblemRules& r, ProblemGenerator::Method method, int samples,
                                    std::uint32_t seed)
{
    const auto expected = ExpectedDistribution(r);
    std::map<std::tuple<int, int, int>, int> seen;
    ProblemGenerator generator(r, method);
    RandomSource random(seed);
    for (int i = 0; i < samples; ++i) {
        const ProblemRecord p = generator.Next(random);
        ++seen[{p.Op, p.First, p.Second}];
    }
    double chi = 0;
    for (const auto& [key, p] : expected) {
        const double e = p * samples;
        const double o = seen.count(key) ? seen.at(key) : 0;
        chi += (o - e) * (o - e) / e;
    }
    EXPECT_EQ(seen.size(), expected.size()) << "a problem outside the accepted set, or one never drawn";
    const double df = static_cast<double>(expected.size() - 1);
    const double z = 3.719; // Wilson-Hilferty approximation of the chi-square quantile
    const double critical = df * std::pow(1 - 2 / (9 * df) + z * std::sqrt(2 / (9 * df)), 3);
    return {chi, critical};
}

} // namespace

TEST(OperandFormula, StaysWithinWhatTheFormulaMeans)
{
    const float justBelowOne = 1.0f - 0x1p-24f;
    // In single precision 30000 + 0.99999994 * 100 rounds up to 30100, one past the bound.
    EXPECT_EQ(std::floor(justBelowOne * 100.0f + 30000.0f), 30100.0f);
    struct Case {
        float u;
        int lo, hi, value;
    };
    const Case cases[] = {
        {justBelowOne, 30000, 30099, 30099}, {justBelowOne, -32768, 32767, 32767}, {0.0f, -32768, 32767, -32768},
        {0.35f, 2, 10, 5}, // the worked example: 0.35 * 9 + 2
        {0.9f, 2, 10, 10}, {0.5f, 0, 10, 5}, {0.7f, 2, 1, 2}, // span 0 keeps the raised bound
        // Reversed 10..5 gives 6..9, and 10 only for a draw of 0.
        {0.0f, 10, 5, 10}, {0x1p-24f, 10, 5, 9}, {justBelowOne, 10, 5, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OperandFromDraw(c.u, c.lo, c.hi), c.value) << c.u << " in " << c.lo << ".." << c.hi;
}

TEST(OperandFormula, DrawCountsMatchEveryDrawExhaustively)
{
    for (auto [lo, hi] : {std::pair{0, 10}, std::pair{2, 1}, std::pair{2, 0}, std::pair{-7, 93}, std::pair{10, 5}}) {
        std::map<int, std::uint64_t> tally;
        for (std::int64_t k = 0; k < kDraws; ++k) {
            const int v = lo + static_cast<int>(std::floor(static_cast<double>(k) * (hi - lo + 1) / kDraws));
            ++tally[v];
            if (k % 4099 == 0) {
                ASSERT_EQ(OperandFromDraw(static_cast<float>(k) * 0x1p-24f, lo, hi), v) << k;
            }
        }
        for (const auto& [value, draws] : tally)
            EXPECT_EQ(DrawsGiving(value, lo, hi), draws) << lo << ".." << hi << " value " << value;
        EXPECT_EQ(DrawsGiving(tally.rbegin()->first + 1, lo, hi), 0u);
    }
}

TEST(Counting, KnowsTheSettingsThatAdmitNothing)
{
    ProblemRules sameNumber{5, 5, 5, 5, 0, 100, {true, true, true, true}};
    EXPECT_FALSE(CountProblems(sameNumber).Any());
    ProblemRules unreachable{0, 10, 0, 10, 101, 200, {true, true, false, false}};
    EXPECT_FALSE(CountProblems(unreachable).Any());
    ProblemRules switchedOff = kDefaults;
    switchedOff.OpEnabled = {false, false, false, false};
    EXPECT_FALSE(CountProblems(switchedOff).Any());
    EXPECT_THROW(ProblemGenerator{sameNumber}, std::invalid_argument);

    // Only 30030 = a * b over the full range: rare, but possible.
    const ProblemRules sparse{-32768, 32767, -32768, 32767, 30030, 30030, {false, false, true, false}};
    const ProblemCount count = CountProblems(sparse);
    EXPECT_TRUE(count.Any());
    EXPECT_LT(count.AcceptChance(), 1e-6);
    // 30030 = 2*3*5*7*11*13 has 64 positive divisors: 64 signed pairs each way.
    EXPECT_EQ(count.Pairs[Multiplication], 128u);
    ProblemGenerator generator(sparse);
    EXPECT_TRUE(generator.UsesCounting()) << "trying would take millions of attempts a problem";
    RandomSource random(1);
    std::set<int> firsts;
    for (int i = 0; i < 999; ++i) {
        const ProblemRecord p = generator.Next(random);
        ExpectWithinRules(sparse, p);
        firsts.insert(p.First);
    }
    EXPECT_GT(firsts.size(), 60u);
}

TEST(Generator, DefaultSettingsGiveTheExpectedProblems)
{
    ProblemGenerator generator(kDefaults);
    EXPECT_FALSE(generator.UsesCounting());
    RandomSource random(12345);
    std::set<std::pair<int, int>> divisions;
    for (int i = 0; i < 5000; ++i) {
        const ProblemRecord p = generator.Next(random);
        ExpectWithinRules(kDefaults, p); // so no negative difference, and no factor 0 or 1
        if (p.Op == Division)
            divisions.insert({p.First, p.Second});
    }
    const std::set<std::pair<int, int>> expected{{4, 2}, {6, 2}, {8, 2}, {10, 2}, {6, 3}, {9, 3}, {8, 4}, {10, 5}};
    EXPECT_EQ(divisions, expected);
}

TEST(Generator, RaisedBoundsZeroAndNarrowResults)
{
    // Multiplication with a first range 0..1 or 1..1 and a second from 1: the raised bound 2
    // and a span of 0.
    RandomSource random(3);
    for (const ProblemRules& raised : {ProblemRules{0, 1, 0, 10, 0, 100, {false, false, true, false}},
                                       ProblemRules{1, 1, 1, 10, 0, 100, {false, false, true, false}}}) {
        ProblemGenerator generator(raised);
        for (int i = 0; i < 300; ++i) {
            const ProblemRecord p = generator.Next(random);
            EXPECT_EQ(p.First, 2);
            EXPECT_GT(p.Second, 2);
        }
    }

    // Addition keeps a lower bound of 0; a result range of 5..5 gives the six sums to 5.
    ProblemRules five{0, 10, 0, 10, 5, 5, {true, false, false, false}};
    ProblemGenerator fives(five);
    std::set<int> firsts;
    for (int i = 0; i < 2000; ++i) {
        const ProblemRecord p = fives.Next(random);
        EXPECT_EQ(p.First + p.Second, 5);
        firsts.insert(p.First);
    }
    EXPECT_EQ(firsts, (std::set<int>{0, 1, 2, 3, 4, 5}));

    // Division over a second range through 0 never divides by zero, whether drawn by trying
    // or from the counts, and divides by 1 and -1 like any other number.
    ProblemRules throughZero{-20, 20, -3, 3, -20, 20, {false, false, false, true}};
    for (auto method : {ProblemGenerator::Method::Attempts, ProblemGenerator::Method::Counting}) {
        ProblemGenerator divider(throughZero, method);
        std::set<int> divisors;
        for (int i = 0; i < 2000; ++i)
            divisors.insert(divider.Next(random).Second);
        EXPECT_EQ(divisors, (std::set<int>{-3, -2, -1, 1, 2, 3}));
    }
}

TEST(Generator, SameSeedSameProblems)
{
    DrillState one, two;
    one.Rules = two.Rules = kDefaults;
    one.ProblemCount = two.ProblemCount = 999;
    RandomSource a(4242), b(4242);
    GenerateProblems(one, a);
    GenerateProblems(two, b);
    EXPECT_EQ(one.Problems, two.Problems);
    EXPECT_EQ(one.Problems[1000], ProblemRecord{}); // beyond the count nothing is written
}

TEST(Generator, CountingAndAttemptsDrawTheSameDistribution)
{
    const ProblemRules small{0, 6, 0, 6, 0, 12, {true, true, true, true}};
    const ProblemRules signedRanges{-6, 6, -4, 4, -3, 3, {true, true, true, true}};
    for (const ProblemRules& r : {small, signedRanges}) {
        for (auto method : {ProblemGenerator::Method::Attempts, ProblemGenerator::Method::Counting}) {
            const auto [chi, critical] = ChiSquare(r, method, 200000, 99);
            EXPECT_LT(chi, critical) << "method " << static_cast<int>(method);
        }
    }
}
