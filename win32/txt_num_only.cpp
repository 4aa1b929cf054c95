#include "win32/txt_num_only.h"

#include <string>

namespace win32 {

std::int32_t TxtNumOnly(HWND box, bool on)
{
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    const LONG updated = on ? (style | ES_NUMBER) : (style & ~static_cast<LONG>(ES_NUMBER));
    const LONG result = SetWindowLongA(box, GWL_STYLE, updated);
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    return result;
}

namespace {

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

bool PasteDigitsOnly(HWND box)
{
    if ((GetWindowLongW(box, GWL_STYLE) & ES_NUMBER) == 0)
        return false;
    std::wstring digits;
    for (wchar_t c : ClipboardText(box))
        if (c >= L'0' && c <= L'9')
            digits += c;
    // The box's own character limit still applies to what is inserted.
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
    return true;
}

} // namespace win32
