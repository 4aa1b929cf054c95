// Loaded into the driven program by Windows for the driver's message hook: notes the extra
// information of each mouse or keyboard message the program takes from its queue, in a section
// that every process loading this library shares, where the driver reads it.

#include <windows.h>

namespace {

__attribute__((section(".shared"), shared)) volatile LONG_PTR g_taken = 0;

} // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK NoteTakenInput(int code, WPARAM removed, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    const bool input = (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) ||
                       (message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST);
    if (code == HC_ACTION && removed == PM_REMOVE && input && GetMessageExtraInfo() != 0)
        g_taken = GetMessageExtraInfo();
    return CallNextHookEx(nullptr, code, removed, lParam);
}

__declspec(dllexport) LONG_PTR TakenInput() { return g_taken; }

}
