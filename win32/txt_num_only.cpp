#include "win32/txt_num_only.h"

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

} // namespace win32
