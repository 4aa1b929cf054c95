#include "drill_state.h"

namespace drill {

std::string_view OperationSign(std::int32_t op)
{
    switch (op) {
    case Addition: return "+";
    case Subtraction: return "-";
    case Multiplication: return "\u00B7";
    case Division: return ":";
    default: return "?";
    }
}

} // namespace drill
