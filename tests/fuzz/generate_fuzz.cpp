// Any bounds and switches, straight into the generator and through the settings reader: the
// counts must agree with counting by hand, every problem drawn must keep the rules, and the
// settings verdict must match them.
#include "drill/generator.h"
#include "drill/settings.h"
#include "fuzz_check.h"
#include "reference_rules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

using namespace drill;
using reference::OperandReach;
using reference::Reach;

namespace {

// Input, missing bytes read as 0: six little-endian 16-bit bounds (FirstMin, FirstMax,
// SecondMin, SecondMax, ResultMin, ResultMax); a switch byte (bits 0-3 the operations, bit 4
// forces drawing from the counts, bit 5 keeps only the low byte of each bound as -128..127);
// a byte for the count 1..50; a 32-bit seed. Most 16-bit bounds make wide ranges, which are
// slow to count and too wide to count by hand, so bit 5 lets the fuzzer stay small cheaply.
struct Case {
    ProblemRules Rules;
    bool Counting = false;
    int Count = 1;
    std::uint32_t Seed = 0;
};

Case Decode(const std::uint8_t* data, std::size_t size)
{
    auto byte = [&](std::size_t i) -> std::uint32_t { return i < size ? data[i] : 0; };
    const bool narrow = (byte(12) & 0x20) != 0;
    auto int16 = [&](std::size_t i) {
        return narrow ? static_cast<std::int16_t>(static_cast<std::int8_t>(byte(i)))
                      : static_cast<std::int16_t>(byte(i) | byte(i + 1) << 8);
    };
    Case c;
    c.Rules = {int16(0), int16(2), int16(4), int16(6), int16(8), int16(10), {}};
    for (std::size_t op = 0; op < 4; ++op)
        c.Rules.OpEnabled[op] = (byte(12) >> op & 1) != 0;
    c.Counting = (byte(12) & 0x10) != 0;
    c.Count = 1 + static_cast<int>(byte(13) % 50);
    c.Seed = byte(14) | byte(15) << 8 | byte(16) << 16 | byte(17) << 24;
    return c;
}

SettingsInput AsTyped(const Case& c)
{
    const ProblemRules& r = c.Rules;
    SettingsInput input;
    input.Texts = {std::to_string(c.Count),     "100",
                   std::to_string(r.FirstMin),  std::to_string(r.FirstMax),
                   std::to_string(r.SecondMin), std::to_string(r.SecondMax),
                   std::to_string(r.ResultMin), std::to_string(r.ResultMax)};
    for (std::size_t op = 0; op < 4; ++op)
        input.Checks[op] = r.OpEnabled[op] ? 1 : 0;
    return input;
}

// Pairs an operation accepts, counted one by one; nothing when that would take too long.
std::optional<std::uint64_t> PairsByHand(const ProblemRules& r, std::int32_t op)
{
    if (!r.OpEnabled[static_cast<std::size_t>(op)])
        return 0;
    const Reach first = OperandReach(r.FirstMin, r.FirstMax, op);
    const Reach second = OperandReach(r.SecondMin, r.SecondMax, op);
    if (std::int64_t{first.To - first.From + 1} * (second.To - second.From + 1) > 20000)
        return std::nullopt;
    std::uint64_t pairs = 0;
    for (int a = first.From; a <= first.To; ++a) {
        for (int b = second.From; b <= second.To; ++b)
            pairs += reference::Accepts(r, op, a, b);
    }
    return pairs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Case c = Decode(data, size);
    const ProblemRules& r = c.Rules;
    const ProblemCount count = CountProblems(r);
    for (std::int32_t op = 0; op < kOperationCount; ++op) {
        if (const auto pairs = PairsByHand(r, op))
            FUZZ_REQUIRE(count.Pairs[static_cast<std::size_t>(op)] == *pairs);
    }
    const bool possible = count.Any();
    const SettingsInput typed = AsTyped(c);

    SettingsVerdict verdict;
    std::array<ProblemRecord, 50> problems{};
    auto generate = [&](ProblemGenerator::Method method) {
        ProblemGenerator generator(r, method);
        RandomSource random(c.Seed);
        for (int i = 0; i < c.Count; ++i)
            problems[static_cast<std::size_t>(i)] = generator.Next(random);
    };
    // Reversed ranges are refused at the panel, but the generator still has to cope with them.
    // Only the way the program draws is timed; forced counting is there for its results.
    fuzz::RequireFast("verdict and generation", [&] {
        verdict = CheckSettings(typed);
        if (possible && !c.Counting)
            generate(ProblemGenerator::Method::Automatic);
    });
    if (possible && c.Counting)
        generate(ProblemGenerator::Method::Counting);

    const bool ordered = r.FirstMin <= r.FirstMax && r.SecondMin <= r.SecondMax && r.ResultMin <= r.ResultMax;
    const auto* settings = std::get_if<Settings>(&verdict);
    FUZZ_REQUIRE((settings != nullptr) == (ordered && possible));
    if (settings) {
        FUZZ_REQUIRE(settings->Rules == r);
        FUZZ_REQUIRE(settings->ProblemCount == c.Count);
    }
    if (possible) {
        for (int i = 0; i < c.Count; ++i)
            FUZZ_REQUIRE(reference::Broken(r, problems[static_cast<std::size_t>(i)]) == nullptr);
    }
    return 0;
}
