#pragma once

class QLineEdit;

namespace qtui {

// Switches a text box between digits-only input and free input. Digits only refuses every
// character but 0..9, whether typed or pasted; the box's character limit stays as it is.
void TxtNumOnly(QLineEdit* box, bool on);

} // namespace qtui
