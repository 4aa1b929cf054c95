// The settings reader on any text: it must answer fast, and what it accepts must be settings
// the generator can work with.
#include "drill/generator.h"
#include "drill/settings.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace drill;

namespace {

// One value a line, as the panel lists them: eight box texts, then four check states, each
// the first character of its line minus '0'. Missing lines are empty boxes and clear checks,
// so a corpus file is the panel written down.
SettingsInput SplitLines(std::string_view data)
{
    SettingsInput input;
    input.Texts.fill(std::string());
    input.Checks.fill(0);
    for (std::size_t field = 0; field < 12; ++field) {
        const std::size_t end = data.find('\n');
        const std::string_view line = data.substr(0, end);
        if (field < 8)
            input.Texts[field] = std::string(line);
        else
            input.Checks[field - 8] = line.empty() ? 0 : line.front() - '0';
        if (end == std::string_view::npos)
            break;
        data.remove_prefix(end + 1);
    }
    return input;
}

void CheckVerdict(const SettingsInput& input, const SettingsVerdict& verdict)
{
    const auto* settings = std::get_if<Settings>(&verdict);
    if (!settings) {
        FUZZ_REQUIRE(!RefusalMessage(std::get<SettingsRefusal>(verdict)).empty());
        return;
    }
    FUZZ_REQUIRE(settings->ProblemCount >= 1 && settings->ProblemCount <= 999);
    FUZZ_REQUIRE(settings->TimeLimit >= 1 && settings->TimeLimit <= 2147483647);
    const ProblemRules& r = settings->Rules;
    FUZZ_REQUIRE(r.FirstMin <= r.FirstMax);
    FUZZ_REQUIRE(r.SecondMin <= r.SecondMax);
    FUZZ_REQUIRE(r.ResultMin <= r.ResultMax);
    FUZZ_REQUIRE(std::find(r.OpEnabled.begin(), r.OpEnabled.end(), true) != r.OpEnabled.end());
    FUZZ_REQUIRE(CountProblems(r).Any());

    // Each bound comes from its own box: a mix-up of boxes would still pass the checks above.
    const std::int16_t bounds[] = {r.FirstMin, r.FirstMax, r.SecondMin, r.SecondMax, r.ResultMin, r.ResultMax};
    for (std::size_t i = 0; i < 6; ++i)
        FUZZ_REQUIRE(ParseRoundedNumber(input.Texts[2 + i]) == bounds[i]);
}

bool IsPlainInteger(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.front() == '+' || text.front() == '-')
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void CheckParsers(std::string_view text)
{
    const auto whole = ParseWholeNumber(text);
    const auto rounded = ParseRoundedNumber(text);
    if (IsPlainInteger(text))
        FUZZ_REQUIRE(whole.has_value());
    if (whole)
        FUZZ_REQUIRE(rounded == whole);

    // Up to 15 characters hold at most 14 digits, which a double keeps exactly enough that
    // strtod and rounding half to even must give the same whole number. Saturated values
    // (2^40 and beyond) are left out.
    if (!rounded || text.size() > 15 || std::llabs(*rounded) >= (std::int64_t{1} << 40))
        return;
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    const double reference = std::nearbyint(std::strtod(copy.c_str(), nullptr));
    FUZZ_REQUIRE(static_cast<double>(*rounded) == reference);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParsers(text);

    const SettingsInput input = SplitLines(text);
    SettingsVerdict verdict;
    fuzz::RequireFast("CheckSettings", [&] { verdict = CheckSettings(input); });
    CheckVerdict(input, verdict);
    return 0;
}
