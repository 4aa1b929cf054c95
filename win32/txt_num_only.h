#pragma once

#include <windows.h>

#include <cstdint>

namespace win32 {

// Switches an edit box between digits-only and free input through its style word; returns
// what SetWindowLongA returns, the previous style word.
std::int32_t TxtNumOnly(HWND box, bool on);

// ES_NUMBER refuses typed characters only; a paste into a digits-only box keeps just the
// digits, as if the pupil had typed them. False when the box takes any text.
bool PasteDigitsOnly(HWND box);

} // namespace win32
