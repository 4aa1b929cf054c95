#include "answer_input.h"

#include "utf8.h"

#include <algorithm>

namespace drill {

namespace {

// A digit as the box holds it; full-width digits come from East Asian input methods.
char DigitOf(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<char>(c);
    if (c >= U'\uFF10' && c <= U'\uFF19')
        return static_cast<char>('0' + (c - U'\uFF10'));
    return 0;
}

// The hyphen-minus of a keyboard, the minus sign of an on-screen keyboard or a copied text, and
// the full-width one.
bool IsMinus(char32_t c) { return c == U'-' || c == U'\u2212' || c == U'\uFF0D'; }

} // namespace

std::string AcceptedInsertion(const AnswerRule& rule, std::string_view text, std::size_t from, std::size_t to,
                              std::string_view inserted)
{
    from = std::min(from, text.size());
    to = std::clamp(to, from, text.size());
    const std::string_view after = text.substr(to);
    auto digitsIn = [](std::string_view s) {
        return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), DigitOf));
    };
    std::size_t digits = digitsIn(text.substr(0, from)) + digitsIn(after);
    // Nothing goes in front of a minus sign that stays.
    const bool beforeSign = from == 0 && !after.empty() && after.front() == '-';

    std::string kept;
    while (!inserted.empty()) {
        const char32_t c = NextCodePoint(inserted).value_or(U'\uFFFD');
        const bool atStart = from == 0 && kept.empty();
        if (const char digit = DigitOf(c); digit != 0 && digits < rule.MaxDigits && !(atStart && beforeSign)) {
            kept += digit;
            ++digits;
        } else if (IsMinus(c) && rule.MinusSign && atStart && !beforeSign) {
            kept += '-';
        }
    }
    return kept;
}

} // namespace drill
