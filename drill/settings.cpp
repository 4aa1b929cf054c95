#include "settings.h"

#include "generator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace drill {
namespace {

// The pieces of a typed decimal number, kept as digits so that rounding is exact.
struct Decimal {
    bool Negative = false;
    std::string_view Whole;
    std::string_view Fraction;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<Decimal> SplitDecimal(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    Decimal d;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        d.Negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    d.Whole = text.substr(0, i);
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        const std::size_t start = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        d.Fraction = text.substr(start, i - start);
    }
    if (i != text.size() || (d.Whole.empty() && d.Fraction.empty()))
        return std::nullopt;
    return d;
}

// Magnitudes beyond every range this program accepts all read as this value.
constexpr std::int64_t kHuge = std::int64_t{1} << 40;

std::int64_t WholeValue(std::string_view digits)
{
    std::int64_t value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value >= kHuge)
            return kHuge;
    }
    return value;
}

// "Dolní mez výsledku" inside a sentence; the names start with an ASCII capital.
std::string Lowered(std::string name)
{
    if (!name.empty() && name.front() >= 'A' && name.front() <= 'Z')
        name.front() = static_cast<char>(name.front() - 'A' + 'a');
    return name;
}

bool AllZero(std::string_view digits) { return digits.find_first_not_of('0') == std::string_view::npos; }

constexpr std::string_view kBoxNames[] = {
    "Počet příkladů",     "Čas",
    "Dolní mez 1. čísla", "Horní mez 1. čísla",
    "Dolní mez 2. čísla", "Horní mez 2. čísla",
    "Dolní mez výsledku", "Horní mez výsledku",
};

// The results an operation can reach from its operand ranges, ignoring the tests of a = b and of
// exact division: enough to tell a result range that lies beyond every reachable result.
struct Reach {
    double Low, High;
};

Reach ReachOf(const ProblemRules& r, int op)
{
    const double a1 = WorkingLowerBound(r.FirstMin, op), a2 = r.FirstMax;
    const double b1 = WorkingLowerBound(r.SecondMin, op), b2 = r.SecondMax;
    switch (op) {
    case Addition: return {a1 + b1, a2 + b2};
    case Subtraction: return {a1 - b2, a2 - b1};
    case Multiplication: return {std::min({a1 * b1, a1 * b2, a2 * b1, a2 * b2}), std::max({a1 * b1, a1 * b2, a2 * b1, a2 * b2})};
    default: {
        const double most = std::max(std::abs(a1), std::abs(a2));
        if (b1 <= 0 && b2 >= 0)
            return {-most, most};
        return {std::min({a1 / b1, a1 / b2, a2 / b1, a2 / b2}), std::max({a1 / b1, a1 / b2, a2 / b1, a2 / b2})};
    }
    }
}

// The box most likely at fault when the ranges admit no problem: the result bounds when every
// ticked operation's results lie beyond them, a number range that is one number only, or else
// the operations.
SettingsBox LikelyCulprit(const ProblemRules& r)
{
    bool allBelow = true;
    bool allAbove = true;
    for (int op = 0; op < kOperationCount; ++op) {
        if (!r.OpEnabled[op])
            continue;
        const Reach reach = ReachOf(r, op);
        allBelow = allBelow && reach.High < r.ResultMin;
        allAbove = allAbove && reach.Low > r.ResultMax;
    }
    if (allBelow)
        return SettingsBox::Text7;
    if (allAbove)
        return SettingsBox::Text8;
    if (r.FirstMin == r.FirstMax)
        return SettingsBox::Text4;
    if (r.SecondMin == r.SecondMax)
        return SettingsBox::Text6;
    for (int op = 0; op < kOperationCount; ++op)
        if (!r.OpEnabled[op])
            return static_cast<SettingsBox>(static_cast<int>(SettingsBox::Check1) + op);
    return SettingsBox::Text7;
}

} // namespace

std::optional<std::int64_t> ParseRoundedNumber(std::string_view text)
{
    const auto d = SplitDecimal(text);
    if (!d)
        return std::nullopt;
    std::int64_t magnitude = WholeValue(d->Whole);
    if (!d->Fraction.empty() && magnitude < kHuge) {
        const char first = d->Fraction.front();
        const bool exactHalf = first == '5' && AllZero(d->Fraction.substr(1));
        if (first > '5' || (first == '5' && !exactHalf) || (exactHalf && magnitude % 2 == 1))
            ++magnitude;
    }
    return d->Negative ? -magnitude : magnitude;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text)
{
    const auto d = SplitDecimal(text);
    if (!d || !AllZero(d->Fraction))
        return std::nullopt;
    const std::int64_t magnitude = WholeValue(d->Whole);
    return d->Negative ? -magnitude : magnitude;
}

SettingsVerdict CheckSettings(const SettingsInput& input)
{
    Settings s;
    const auto count = ParseWholeNumber(input.Texts[0]);
    if (!count || *count < 1 || *count > kMaxProblems)
        return SettingsRefusal{SettingsBox::Text1, SettingsFault::CountInvalid};
    s.ProblemCount = static_cast<int>(*count);

    const auto limit = ParseWholeNumber(input.Texts[1]);
    if (!limit || *limit < 1 || *limit > std::numeric_limits<std::int32_t>::max())
        return SettingsRefusal{SettingsBox::Text2, SettingsFault::TimeLimitInvalid};
    s.TimeLimit = *limit;

    std::int16_t* const bounds[] = {&s.Rules.FirstMin,  &s.Rules.FirstMax, &s.Rules.SecondMin,
                                    &s.Rules.SecondMax, &s.Rules.ResultMin, &s.Rules.ResultMax};
    for (int i = 0; i < 6; ++i) {
        const auto box = static_cast<SettingsBox>(static_cast<int>(SettingsBox::Text3) + i);
        const auto value = ParseRoundedNumber(input.Texts[2 + i]);
        if (!value)
            return SettingsRefusal{box, SettingsFault::BoundNotNumber};
        if (*value < std::numeric_limits<std::int16_t>::min() || *value > std::numeric_limits<std::int16_t>::max())
            return SettingsRefusal{box, SettingsFault::BoundOutOfRange};
        *bounds[i] = static_cast<std::int16_t>(*value);
    }
    for (int pair = 0; pair < 3; ++pair) {
        if (*bounds[2 * pair] > *bounds[2 * pair + 1]) {
            const auto box = static_cast<SettingsBox>(static_cast<int>(SettingsBox::Text3) + 2 * pair);
            return SettingsRefusal{box, SettingsFault::LowerAboveUpper};
        }
    }

    bool anyOperation = false;
    for (int op = 0; op < kOperationCount; ++op) {
        s.Rules.OpEnabled[op] = input.Checks[op] != 0;
        anyOperation = anyOperation || s.Rules.OpEnabled[op];
    }
    if (!anyOperation)
        return SettingsRefusal{SettingsBox::Check1, SettingsFault::NoOperation};

    if (!CountProblems(s.Rules).Any())
        return SettingsRefusal{LikelyCulprit(s.Rules), SettingsFault::NoProblemPossible};
    return s;
}

std::string RefusalMessage(const SettingsRefusal& refusal)
{
    const auto boxIndex = static_cast<std::size_t>(refusal.Box);
    const std::string name = boxIndex < std::size(kBoxNames) ? std::string(kBoxNames[boxIndex]) : std::string();
    switch (refusal.Fault) {
    case SettingsFault::CountInvalid:
        return "Počet příkladů musí být celé číslo od 1 do 999.";
    case SettingsFault::TimeLimitInvalid:
        return "Čas musí být celý počet sekund od 1 do 2147483647.";
    case SettingsFault::BoundNotNumber:
        return name + " musí být číslo, například 0 nebo 10.";
    case SettingsFault::BoundOutOfRange:
        return name + " musí ležet mezi -32768 a 32767.";
    case SettingsFault::LowerAboveUpper:
        return name + " nesmí být větší než horní mez.";
    case SettingsFault::NoOperation:
        return "Zaškrtněte aspoň jednu operaci.";
    case SettingsFault::NoProblemPossible:
        if (refusal.Box >= SettingsBox::Check1)
            return "S tímto nastavením nelze vytvořit žádný příklad. Zaškrtněte další operaci, nebo "
                   "rozšiřte rozsah čísel či výsledku.";
        return "S tímto nastavením nelze vytvořit žádný příklad. Upravte " + Lowered(name) +
               ", nebo rozšiřte rozsah čísel či zaškrtněte další operaci.";
    }
    return {};
}

void ReadSettings(DrillState& state, const Settings& settings)
{
    state.ProblemCount = settings.ProblemCount;
    state.TimeLimit = settings.TimeLimit;
    state.Rules = settings.Rules;
}

} // namespace drill
