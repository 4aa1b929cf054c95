#include "utf8.h"

#include <cstddef>
#include <cstdint>

namespace drill {

std::optional<char32_t> NextCodePoint(std::string_view& text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    std::uint32_t c = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length && length <= text.size(); ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return std::nullopt;
        }
        c = c << 6 | (next & 0x3FU);
    }
    constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || length > text.size() || c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        text.remove_prefix(1);
        return std::nullopt;
    }
    text.remove_prefix(length);
    return static_cast<char32_t>(c);
}

bool IsValidUtf8(std::string_view text)
{
    while (!text.empty())
        if (!NextCodePoint(text))
            return false;
    return true;
}

} // namespace drill
