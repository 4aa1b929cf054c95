#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace win32 {

// Switches an edit box between digits-only and free input through its style word; returns
// what SetWindowLongA returns, the previous style word. ES_NUMBER refuses typed characters
// other than digits only; what a box takes is decided by its rule (Toolkit::InsertByRule).
std::int32_t TxtNumOnly(HWND box, bool on);

// The text on the clipboard, empty when it holds none.
std::wstring ClipboardText(HWND owner);

} // namespace win32
