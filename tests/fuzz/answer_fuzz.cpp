// Marking any text that can reach an answer box, and what a box keeps of any text put into it.
#include "drill/answer_input.h"
#include "drill/marking.h"
#include "fuzz_check.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

using namespace drill;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What a pupil can type: one to five digits.
bool IsTyped(std::string_view text)
{
    return !text.empty() && text.size() <= 5 && std::all_of(text.begin(), text.end(), IsDigit);
}

// Characters that some reading of a number could take as its continuation (a decimal point,
// blanks inside, exponents, VB-style prefixes); after anything else the number has ended.
bool MayContinueNumber(char c)
{
    return IsDigit(c) || std::string_view(". \teEdD&").find(c) != std::string_view::npos;
}

} // namespace

// Input: the result as two little-endian bytes, then the answer text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const auto result = static_cast<std::int16_t>(data[0] | data[1] << 8);
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

    const AnswerMark mark = MarkAnswer(text, result);
    const bool spacesOnly = std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
    FUZZ_REQUIRE(spacesOnly == (mark == AnswerMark::Empty));

    if (IsTyped(text)) {
        int value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        FUZZ_REQUIRE((mark == AnswerMark::Correct) == (value == result));
        // The fuzzer seldom guesses the result, so also mark the answer against its own value.
        if (value <= 32767)
            FUZZ_REQUIRE(MarkAnswer(text, static_cast<std::int16_t>(value)) == AnswerMark::Correct);
    }

    // A box keeps digits, at most five, and a sign only in front where the rule allows one.
    const AnswerRule rule{.MinusSign = (data[0] & 1) != 0, .MaxDigits = 5};
    const std::string kept = AcceptedInsertion(rule, "", 0, 0, text);
    const std::size_t sign = !kept.empty() && kept.front() == '-' ? 1 : 0;
    FUZZ_REQUIRE(sign == 0 || rule.MinusSign);
    FUZZ_REQUIRE(kept.size() - sign <= rule.MaxDigits && std::all_of(kept.begin() + sign, kept.end(), IsDigit));

    // Typed digits followed by something that ends the number read as the digits alone.
    const std::size_t digits = static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), IsDigit) - text.begin());
    if (digits >= 1 && digits <= 5 && digits < text.size() && !MayContinueNumber(text[digits]))
        FUZZ_REQUIRE(mark == MarkAnswer(text.substr(0, digits), result));
    return 0;
}
