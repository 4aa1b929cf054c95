#pragma once

#include <optional>
#include <string_view>

namespace drill {

// Takes the next character off UTF-8 text. Bytes that start no character (an overlong form, a
// surrogate, beyond Unicode, cut short) give none, and only the first of them is taken.
std::optional<char32_t> NextCodePoint(std::string_view& text);

bool IsValidUtf8(std::string_view text);

} // namespace drill
