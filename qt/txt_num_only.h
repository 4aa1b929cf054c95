#pragma once

#include "drill/answer_input.h"

class QLineEdit;
class QString;

namespace qtui {

// Switches a text box between taking only what `rule` allows and taking any text. However the
// text comes in (typed, pasted, dropped, from an input method), each change goes through
// drill::AcceptedInsertion, which keeps the characters the rule allows and drops the rest.
void TxtNumOnly(QLineEdit* box, bool on, drill::AnswerRule rule);

// Sets a box's text as the program means it (a mark, "?"), whatever its rule.
void SetBoxText(QLineEdit* box, const QString& text);

} // namespace qtui
