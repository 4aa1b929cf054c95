#pragma once

#include <cstdint>
#include <string_view>

namespace drill {

enum class AnswerMark { Correct, Wrong, Empty };

// Verdict on one answer box: spaces only is Empty; otherwise the number at the start of the
// text is compared with the result, and a text that starts with no number is Wrong.
AnswerMark MarkAnswer(std::string_view text, std::int16_t result);

// The number at the start of a text: optional sign, digits, optional decimal point; 0 when
// the text does not begin with a number.
double LeadingNumber(std::string_view text);

// School grade 1 (best) .. 5 from the counts; wrong and empty weigh 5, correct 1, and the
// mean is rounded half to even. Needs n >= 1.
int ComputeGrade(int correct, int wrong, int empty, int n);

} // namespace drill
