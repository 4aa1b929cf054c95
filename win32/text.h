#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// Form1 speaks UTF-8; the wide Win32 API speaks UTF-16.
std::wstring Utf16(std::string_view text);
std::string Utf8(std::wstring_view text);

// A window's text, a control's caption.
std::wstring WindowText(HWND hwnd);

} // namespace win32
