#include "win32_driver.h"

#include "win32/control_ids.h"

#include <oleacc.h>

#include <cwchar>
#include <iterator>
#include <thread>
#include <vector>

namespace driver {

namespace {

// A screen area read back as 32-bit pixels, top row first.
std::vector<DWORD> ScreenPixels(const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A function of a library, by name.
template <typename Pointer>
Pointer Function(HMODULE library, const char* name)
{
    return reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

COLORREF ColourOf(DWORD pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

INPUT Key(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A character as a keyboard without its key sends it, as on-screen keyboards do.
INPUT Character(wchar_t c, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

INPUT Mouse(DWORD flags, POINT at)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

drill::ProblemRecord ProblemOf(const std::wstring& caption)
{
    int a = 0, b = 0;
    wchar_t sign = 0;
    swscanf(caption.c_str(), L"%d %lc %d", &a, &sign, &b);
    const int op = static_cast<int>(std::wstring_view(L"+-\u00B7:").find(sign));
    const int result = op == drill::Addition      ? a + b
                       : op == drill::Subtraction ? a - b
                       : op == drill::Division    ? a / b
                                                  : a * b;
    return {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), op, static_cast<std::int16_t>(result)};
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    if (hwnd == nullptr || !SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                                                SMTO_ABORTIFHUNG, 2000, &copied))
        return L"<none>";
    return {text, copied};
}

Read Accessible(HWND hwnd)
{
    IAccessible* object = nullptr;
    // __uuidof, not IID_IAccessible: MinGW's liboleacc.a exports that name as a function stub.
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return {L"<no object>", {}, {}};
    VARIANT self{}, role{}, state{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR value = nullptr;
        std::wstring result = SUCCEEDED((object->*get)(self, &value)) && value != nullptr ? value : L"";
        SysFreeString(value);
        return result;
    };
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    Read read{text(&IAccessible::get_accName), text(&IAccessible::get_accValue),
              text(&IAccessible::get_accDescription), role.lVal, state.lVal};
    object->Release();
    return read;
}

bool Copy(std::wstring_view text)
{
    // Another program may hold the clipboard for a moment.
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2s))
        return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    std::wmemcpy(copy, text.data(), text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    const bool done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return done;
}

std::wstring WindowsPath(const char* path)
{
    std::wstring wide(path, path + std::char_traits<char>::length(path));
    if (wide.empty() || wide[0] != L'/')
        return wide;
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + wide;
}

Program::Program(const std::wstring& exe, std::wstring_view arguments, std::wstring_view caption)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine.append(L" ").append(arguments);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        return;
    const std::wstring title(caption);
    WaitUntil([&] {
        HWND found = FindWindowW(nullptr, title.c_str());
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (found != nullptr && owner == process_.dwProcessId && IsWindowVisible(found))
            window_ = found;
        return window_ != nullptr;
    });
    if (window_ == nullptr)
        return;
    // A hook in the program's thread notes which of the inputs sent it has taken.
    HMODULE probe = LoadLibraryW(WindowsPath(SUMATKO_INPUT_PROBE).c_str());
    taken_ = Function<LONG_PTR (*)()>(probe, "TakenInput");
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, Function<HOOKPROC>(probe, "NoteTakenInput"), probe,
                              GetWindowThreadProcessId(window_, nullptr));
}

Program::~Program()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    if (process_.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Program::Find(form::Control control) const
{
    // Each control is a child window of its container, with its table entry as its ID.
    const form::Id container = form::Entry(control.Which).Container;
    HWND parent = container == form::Id::Form1 ? window_ : Find({container});
    return parent == nullptr ? nullptr : GetDlgItem(parent, win32::ControlId(control));
}

std::wstring Program::Text(form::Control control) const { return TextOf(Find(control)); }

bool Program::Visible(form::Control control) const
{
    HWND hwnd = Find(control);
    return hwnd != nullptr && IsWindowVisible(hwnd);
}

RECT Program::Place(form::Control control) const
{
    RECT r{};
    GetWindowRect(Find(control), &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND Program::Focused() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndFocus;
}

void Program::Activate()
{
    // A message box of the program's own, in front of its window, keeps the input.
    auto active = [&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        return owner == process_.dwProcessId;
    };
    if (!active())
        SetForegroundWindow(window_);
    WaitUntil(active, 2s);
}

void Program::Send(std::vector<INPUT> inputs)
{
    // Each input carries a number of its own, which the program's hook notes as it takes it.
    static LONG_PTR serial = static_cast<LONG_PTR>(GetCurrentProcessId()) << 32;
    for (INPUT& input : inputs)
        (input.type == INPUT_MOUSE ? input.mi.dwExtraInfo : input.ki.dwExtraInfo) = ++serial;
    Activate();
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Once the program has taken the last input it has handled the others, and once it answers
    // a message it has handled the last too. A window that is not in front takes none.
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (taken_ != nullptr && taken_() != serial && std::chrono::steady_clock::now() < end &&
           WaitForSingleObject(process_.hProcess, 1) == WAIT_TIMEOUT) {
    }
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
}

void Program::Click(form::Control control)
{
    RECT r{};
    GetWindowRect(Find(control), &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Send({Mouse(MOUSEEVENTF_MOVE, centre), Mouse(MOUSEEVENTF_LEFTDOWN, centre), Mouse(MOUSEEVENTF_LEFTUP, centre)});
}

void Program::Press(WORD key, const std::vector<WORD>& modifiers)
{
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(Key(modifier, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (WORD modifier : modifiers)
        inputs.push_back(Key(modifier, true));
    Send(inputs);
}

void Program::Type(std::string_view characters)
{
    std::wstring wide(characters.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, characters.data(),
                                                             static_cast<int>(characters.size()), wide.data(),
                                                             static_cast<int>(wide.size()))));
    for (wchar_t c : wide) {
        const SHORT key = VkKeyScanW(c);
        if (key == -1) {
            Send({Character(c, false), Character(c, true)});
            continue;
        }
        std::vector<WORD> modifiers;
        for (auto [bit, modifier] : {std::pair{1, VK_SHIFT}, std::pair{2, VK_CONTROL}, std::pair{4, VK_MENU}})
            if ((HIBYTE(key) & bit) != 0)
                modifiers.push_back(static_cast<WORD>(modifier));
        Press(LOBYTE(key), modifiers);
    }
}

bool Program::Shows(form::Control control, COLORREF colour) const
{
    RECT r{};
    GetWindowRect(Find(control), &r);
    for (DWORD pixel : ScreenPixels(r))
        if (ColourOf(pixel) == colour)
            return true;
    return false;
}

std::vector<DWORD> Program::ClientPixels() const
{
    RECT r{};
    GetClientRect(window_, &r);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return ScreenPixels(r);
}

int Program::WaitForExit(std::chrono::milliseconds timeout)
{
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

} // namespace driver
