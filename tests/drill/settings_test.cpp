#include "drill/settings.h"

#include <gtest/gtest.h>

#include <set>

using namespace drill;

namespace {

SettingsInput With(int text, std::string value)
{
    SettingsInput input;
    input.Texts[static_cast<std::size_t>(text - 1)] = std::move(value);
    return input;
}

std::optional<SettingsRefusal> RefusalOf(const SettingsInput& input)
{
    const auto verdict = CheckSettings(input);
    if (const auto* refusal = std::get_if<SettingsRefusal>(&verdict))
        return *refusal;
    return std::nullopt;
}

Settings Accepted(const SettingsInput& input)
{
    const auto verdict = CheckSettings(input);
    EXPECT_TRUE(std::holds_alternative<Settings>(verdict));
    return std::holds_alternative<Settings>(verdict) ? std::get<Settings>(verdict) : Settings{};
}

} // namespace

TEST(Settings, DefaultsGiveTenProblemsInHundredSecondsWithAllOperations)
{
    const ProblemRules expected{0, 10, 0, 10, 0, 100, {true, true, true, true}};
    DrillState state;
    state.Problems[500].Result = 42; // entries of an earlier exercise stay untouched
    ReadSettings(state, Accepted(SettingsInput{}));
    EXPECT_EQ(state.ProblemCount, 10);
    EXPECT_EQ(state.TimeLimit, 100);
    EXPECT_EQ(state.Rules, expected);
    EXPECT_EQ(state.Problems[500].Result, 42);
}

TEST(Settings, BoundsRoundHalfToEvenAndAcceptCzechAndSignedForms)
{
    const std::pair<const char*, int> rounded[] = {
        {"7.5", 8}, {"7,5", 8}, {"6,5", 6}, {"6.50001", 7}, {"6.4999999999999999999", 6}, {"-2.5", -2},
        {"-3.5", -4}, {"  +12  ", 12}, {"\t-3", -3}, {"007", 7}, {",5", 0}, {"5.", 5},
    };
    for (const auto& [text, value] : rounded)
        EXPECT_EQ(ParseRoundedNumber(text), value) << '"' << text << '"';
    for (const char* bad : {"", " ", "-", "+", ",", "1e3", "1 000", "7,5,1", "0x10", "abc", "--1", "1-"})
        EXPECT_EQ(ParseRoundedNumber(bad), std::nullopt) << '"' << bad << '"';

    SettingsInput input;
    input.Texts[2] = "-3";
    input.Texts[3] = "7,5";
    input.Texts[5] = " 6.5 ";
    const ProblemRules r = Accepted(input).Rules;
    EXPECT_EQ((std::array{r.FirstMin, r.FirstMax, r.SecondMax}), (std::array<std::int16_t, 3>{-3, 8, 6}));
}

TEST(Settings, BoundsMustRoundIntoSixteenBits)
{
    EXPECT_EQ(RefusalOf(With(4, "32767.5")), (SettingsRefusal{SettingsBox::Text4, SettingsFault::BoundOutOfRange}));
    EXPECT_EQ(RefusalOf(With(8, "99999999999999999999999")),
              (SettingsRefusal{SettingsBox::Text8, SettingsFault::BoundOutOfRange}));
    EXPECT_EQ(RefusalOf(With(5, "")), (SettingsRefusal{SettingsBox::Text5, SettingsFault::BoundNotNumber}));
    EXPECT_EQ(RefusalOf(With(6, "deset")), (SettingsRefusal{SettingsBox::Text6, SettingsFault::BoundNotNumber}));

    SettingsInput extremes;
    extremes.Texts[2] = "-32768.5"; // the even neighbour is still in range
    extremes.Texts[3] = "32767,4";
    EXPECT_EQ(Accepted(extremes).Rules.FirstMin, -32768);
    EXPECT_EQ(Accepted(extremes).Rules.FirstMax, 32767);
}

TEST(Settings, CountAndTimeMustBeWholeNumbersInRange)
{
    for (const char* bad : {"0", "-1", "1000", "2,5", "", "abc", "1e2"})
        EXPECT_EQ(RefusalOf(With(1, bad)), (SettingsRefusal{SettingsBox::Text1, SettingsFault::CountInvalid})) << bad;
    EXPECT_EQ(Accepted(With(1, "999")).ProblemCount, 999);
    EXPECT_EQ(Accepted(With(1, "1")).ProblemCount, 1);
    EXPECT_EQ(Accepted(With(1, "12,0")).ProblemCount, 12);

    for (const char* bad : {"0", "-5", "2147483648", "1.5", "", "minuta"})
        EXPECT_EQ(RefusalOf(With(2, bad)), (SettingsRefusal{SettingsBox::Text2, SettingsFault::TimeLimitInvalid})) << bad;
    EXPECT_EQ(Accepted(With(2, "2147483647")).TimeLimit, 2147483647);
}

TEST(Settings, RangesOperationsAndImpossibleSettingsAreRefusedWithTheirBox)
{
    SettingsInput reversed;
    reversed.Texts[4] = "11";
    EXPECT_EQ(RefusalOf(reversed), (SettingsRefusal{SettingsBox::Text5, SettingsFault::LowerAboveUpper}));
    reversed = {};
    reversed.Texts[6] = "101";
    EXPECT_EQ(RefusalOf(reversed), (SettingsRefusal{SettingsBox::Text7, SettingsFault::LowerAboveUpper}));

    SettingsInput none;
    none.Checks = {0, 0, 0, 0};
    EXPECT_EQ(RefusalOf(none), (SettingsRefusal{SettingsBox::Check1, SettingsFault::NoOperation}));

    SettingsInput greyed; // a greyed box still switches its operation on
    greyed.Checks = {0, 2, 0, 0};
    EXPECT_EQ(Accepted(greyed).Rules.OpEnabled, (std::array<bool, 4>{false, true, false, false}));

    // Settings that admit no problem point at the box most likely at fault.
    struct Impossible {
        std::array<std::string, 8> texts;
        std::array<int, 4> checks;
        SettingsBox culprit;
    };
    const Impossible cases[] = {
        {{"10", "100", "0", "10", "0", "10", "200", "300"}, {1, 1, 1, 1}, SettingsBox::Text7}, // results too high
        {{"10", "100", "50", "60", "3", "9", "0", "20"}, {1, 0, 1, 0}, SettingsBox::Text8},    // results too low
        {{"10", "100", "5", "5", "5", "5", "0", "100"}, {1, 1, 1, 1}, SettingsBox::Text4},     // always 5 and 5
        {{"10", "100", "0", "10", "7", "7", "0", "0"}, {1, 1, 0, 0}, SettingsBox::Text6},      // 7 - 7 only
    };
    for (const Impossible& c : cases) {
        SettingsInput input;
        input.Texts = c.texts;
        input.Checks = c.checks;
        EXPECT_EQ(RefusalOf(input), (SettingsRefusal{c.culprit, SettingsFault::NoProblemPossible})) << c.texts[6];
    }
}

TEST(Settings, EveryRefusalHasItsOwnCzechSentenceNamingTheBox)
{
    EXPECT_NE(RefusalMessage({SettingsBox::Text4, SettingsFault::BoundOutOfRange}).find("Horní mez 1. čísla"),
              std::string::npos);
    std::set<std::string> distinct;
    for (int fault = 0; fault <= static_cast<int>(SettingsFault::NoProblemPossible); ++fault)
        distinct.insert(RefusalMessage({SettingsBox::Text5, static_cast<SettingsFault>(fault)}));
    EXPECT_EQ(distinct.size(), 7u);
    EXPECT_FALSE(distinct.contains(""));
    EXPECT_NE(RefusalMessage({SettingsBox::Text8, SettingsFault::NoProblemPossible}).find("Upravte horní mez výsledku"),
              std::string::npos);
}
