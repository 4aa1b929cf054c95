#include "marking.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace drill {

namespace {

// The number at the start of a text, or nothing when no digit starts it.
std::optional<double> ReadLeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Digits, one optional decimal point, more digits: the longest prefix that is a number.
    std::string number;
    bool sawDigit = false;
    bool sawPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            number += c;
            sawDigit = true;
        } else if (c == '.' && !sawPoint) {
            number += c;
            sawPoint = true;
        } else {
            break;
        }
    }
    if (!sawDigit)
        return std::nullopt;
    // Out of range saturates to infinity, which equals no result.
    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = HUGE_VAL;
#else
    // libc++ 13 (Emscripten 3.1) has no floating-point from_chars; strtod reads the same digits
    // there, where the program never leaves the "C" locale and its decimal point.
    errno = 0;
    value = std::strtod(number.c_str(), nullptr);
    if (errno == ERANGE && value != 0.0)
        value = HUGE_VAL;
#endif
    return negative ? -value : value;
}

} // namespace

double LeadingNumber(std::string_view text) { return ReadLeadingNumber(text).value_or(0.0); }

AnswerMark MarkAnswer(std::string_view text, std::int16_t result)
{
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return AnswerMark::Empty;
    // A box holding only a minus sign, or anything else without a digit, holds no answer of 0.
    const std::optional<double> value = ReadLeadingNumber(text);
    return value == static_cast<double>(result) ? AnswerMark::Correct : AnswerMark::Wrong;
}

int ComputeGrade(int correct, int wrong, int empty, int n)
{
    if (n < 1)
        return 5;
    const double x = (correct + 5.0 * (wrong + empty)) / n;
    // nearbyint rounds in the default mode: to nearest, a half to the even neighbour.
    return static_cast<int>(std::nearbyint(x));
}

} // namespace drill
