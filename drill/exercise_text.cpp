#include "exercise_text.h"

#include "utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace drill {

namespace {

enum class Key { Count, Time, First, Second, Result, Operations, Lock, Results };

struct KeyName {
    std::string_view Name;
    Key Which;
};
constexpr KeyName kKeys[] = {{"pocet", Key::Count},       {"cas", Key::Time},          {"cislo1", Key::First},
                             {"cislo2", Key::Second},     {"vysledek", Key::Result},   {"operace", Key::Operations},
                             {"zamknout", Key::Lock},     {"vysledky", Key::Results}};

// Operations in the order of their codes, as written and as a teacher may type them.
constexpr std::array<std::string_view, kOperationCount> kOperations{"scitani", "odcitani", "nasobeni", "deleni"};
constexpr std::array<std::string_view, kOperationCount> kCzechOperations{"sčítání", "odčítání", "násobení",
                                                                         "dělení"};

constexpr std::string_view kRange = "..";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Decoded(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        const int high = i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(value[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool Unreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == ',';
}

std::string Encoded(std::string_view value)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (Unreserved(c))
            out += c;
        else
            out.append({'%', kHex[byte >> 4], kHex[byte & 0xF]});
    }
    return out;
}

// A range's lower bound may not hold "..", nor end in a '.', or it would not be found again.
std::string EncodedLowerBound(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '.' && (i + 1 == value.size() || value[i + 1] == '.'))
            out += "%2E";
        else
            out += Encoded(value.substr(i, 1));
    }
    return out;
}

bool StartsCodePoint(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

std::size_t CodePoints(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCodePoint));
}

std::string_view FirstCodePoints(std::string_view text, std::size_t n)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (StartsCodePoint(text[i]) && seen++ == n)
            return text.substr(0, i);
    return text;
}

// A value as written, decoded; a fault when it cannot be.
std::optional<ExerciseFault> Decode(std::string_view raw, std::string& value)
{
    const std::optional<std::string> decoded = Decoded(raw);
    if (!decoded)
        return ExerciseFault::Malformed;
    if (!IsValidUtf8(*decoded))
        return ExerciseFault::NotUtf8;
    value = *decoded;
    return std::nullopt;
}

// Takes one value, as written, into the exercise; a fault when it is not one this key can have.
std::optional<ExerciseFault> Take(Exercise& exercise, Key key, std::string_view raw)
{
    auto& texts = exercise.Settings.Texts;
    if (key == Key::First || key == Key::Second || key == Key::Result) {
        // Split before decoding: a bound's own dots are written %2E where they would mislead.
        const std::size_t split = raw.find(kRange);
        if (split == std::string_view::npos)
            return ExerciseFault::BadValue;
        const std::size_t box = 2 + 2 * static_cast<std::size_t>(static_cast<int>(key) - static_cast<int>(Key::First));
        std::string low, high;
        if (auto fault = Decode(raw.substr(0, split), low); fault)
            return fault;
        if (auto fault = Decode(raw.substr(split + kRange.size()), high); fault)
            return fault;
        texts[box] = low;
        texts[box + 1] = high;
        return std::nullopt;
    }
    std::string value;
    if (auto fault = Decode(raw, value); fault)
        return fault;
    switch (key) {
    case Key::Count:
        // The count's box holds three characters.
        if (CodePoints(value) > 3)
            return ExerciseFault::BadValue;
        texts[0] = value;
        return std::nullopt;
    case Key::Time:
        texts[1] = value;
        return std::nullopt;
    case Key::Operations: {
        std::array<int, kOperationCount> checks{};
        for (std::size_t start = 0; start <= value.size();) {
            const std::size_t end = std::min(value.find(',', start), value.size());
            const std::string_view name = std::string_view(value).substr(start, end - start);
            if (!name.empty()) {
                std::size_t op = 0;
                while (op < kOperationCount && name != kOperations[op] && name != kCzechOperations[op])
                    ++op;
                if (op == kOperationCount)
                    return ExerciseFault::BadValue;
                checks[op] = 1;
            }
            start = end + 1;
        }
        exercise.Settings.Checks = checks;
        return std::nullopt;
    }
    case Key::Lock:
        if (value != "ano" && value != "ne")
            return ExerciseFault::BadValue;
        exercise.Locked = value == "ano";
        return std::nullopt;
    case Key::Results:
        if (value.empty())
            return ExerciseFault::BadValue;
        exercise.ResultsFolder = value;
        return std::nullopt;
    default:
        return ExerciseFault::BadValue;
    }
}

} // namespace

ReadExercise ReadExerciseText(std::string_view text)
{
    ReadExercise result;
    if (text.size() > kMaxExerciseText) {
        result.Problem = ExerciseProblem{ExerciseFault::TooLong, {}};
        return result;
    }
    if (!IsValidUtf8(text)) {
        result.Problem = ExerciseProblem{ExerciseFault::NotUtf8, {}};
        return result;
    }
    if (!text.empty() && (text.front() == '#' || text.front() == '?'))
        text.remove_prefix(1);

    struct Pair {
        std::string_view Part;
        const KeyName* Known;
        std::string_view Value;
    };
    std::vector<Pair> pairs;
    auto complain = [&](ExerciseFault fault, std::string_view part) {
        if (!result.Problem)
            result.Problem = ExerciseProblem{fault, std::string(part)};
    };
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('&', start), text.size());
        const std::string_view part = text.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            complain(ExerciseFault::Malformed, part);
            continue;
        }
        const std::string_view key = part.substr(0, equals);
        const KeyName* known = nullptr;
        for (const KeyName& name : kKeys)
            if (name.Name == key)
                known = &name;
        if (known == nullptr)
            complain(ExerciseFault::UnknownKey, part);
        else
            pairs.push_back({part, known, part.substr(equals + 1)});
    }
    for (const Pair& pair : pairs) {
        if (std::count_if(pairs.begin(), pairs.end(), [&](const Pair& p) { return p.Known == pair.Known; }) > 1) {
            complain(ExerciseFault::DuplicateKey, pair.Known->Name);
            continue;
        }
        if (const auto fault = Take(result.Read, pair.Known->Which, pair.Value))
            complain(*fault, pair.Part);
    }
    if (result.Problem)
        result.Read.Locked = false;
    return result;
}

std::string WriteExerciseText(const Exercise& exercise)
{
    const auto& texts = exercise.Settings.Texts;
    auto range = [&](std::size_t box) {
        return EncodedLowerBound(texts[box]) + std::string(kRange) + Encoded(texts[box + 1]);
    };
    std::string operations;
    for (std::size_t op = 0; op < kOperationCount; ++op)
        if (exercise.Settings.Checks[op] != 0)
            operations += (operations.empty() ? "" : ",") + std::string(kOperations[op]);
    std::string text = "pocet=" + Encoded(texts[0]) + "&cas=" + Encoded(texts[1]) + "&cislo1=" + range(2) +
                       "&cislo2=" + range(4) + "&vysledek=" + range(6) + "&operace=" + operations;
    if (exercise.Locked)
        text += "&zamknout=ano";
    if (!exercise.ResultsFolder.empty())
        text += "&vysledky=" + Encoded(exercise.ResultsFolder);
    return text;
}

std::string ExerciseProblemMessage(const ExerciseProblem& problem)
{
    // A part too long to read out is cut; its start says which one it is.
    const std::string_view start = FirstCodePoints(problem.Part, 40);
    const std::string quoted = "„" + std::string(start) + (start.size() < problem.Part.size() ? "…“" : "“");
    switch (problem.Fault) {
    case ExerciseFault::TooLong:
        return "Zadání cvičení je delší než " + std::to_string(kMaxExerciseText) +
               " znaků, a proto platí výchozí nastavení.";
    case ExerciseFault::NotUtf8:
        return problem.Part.empty() ? "Zadání cvičení není čitelný text, a proto platí výchozí nastavení."
                                    : "Zadání cvičení obsahuje nečitelný text " + quoted +
                                          ", a proto pro něj platí výchozí nastavení.";
    case ExerciseFault::Malformed:
        return "Části " + quoted + " v zadání cvičení program nerozumí, a proto ji vynechá.";
    case ExerciseFault::UnknownKey:
        return "Zadání cvičení obsahuje neznámou položku " + quoted + ", a proto ji program vynechá.";
    case ExerciseFault::DuplicateKey:
        return "Položka " + quoted +
               " je v zadání cvičení vícekrát, a proto pro ni platí výchozí nastavení.";
    case ExerciseFault::BadValue:
        return "Hodnotě " + quoted +
               " v zadání cvičení program nerozumí, a proto pro ni platí výchozí nastavení.";
    }
    return {};
}

} // namespace drill
