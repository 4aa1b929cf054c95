#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drill {

// What an answer box takes, however the text arrives (typed, pasted, dropped, from an input
// method or a tablet's keyboard): digits, at most MaxDigits of them, and where the exercise's
// results can be negative one minus sign in front of them.
struct AnswerRule {
    bool MinusSign = false;
    std::size_t MaxDigits = 5;

    friend bool operator==(const AnswerRule&, const AnswerRule&) = default;
};

// The pupil puts `inserted` (UTF-8) in place of the characters [from, to) of the box's `text`:
// what of it the box keeps, in the order given. The rest is dropped, character by character, so a
// paste of "a7" keeps the 7. The box only ever holds what this rule let in, which is ASCII, so
// the positions are the same counted in bytes, UTF-16 units or characters.
std::string AcceptedInsertion(const AnswerRule& rule, std::string_view text, std::size_t from, std::size_t to,
                              std::string_view inserted);

} // namespace drill
