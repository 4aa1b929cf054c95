#pragma once

// Drives the real Sumatko 2001 window from another process, as a pupil would: mouse clicks and
// key presses go in through SendInput, and what the window shows comes back through its
// controls' texts, places and the pixels on the screen, and through MSAA as a screen reader
// reads it. Controls are found by their IDs.

#include "drill/drill_state.h"
#include "form/controls.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

using namespace std::chrono_literals;

// Polls until `done` holds or the time is up; says whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

class Program {
  public:
    // Starts the exe (with a command line's arguments after its name) and waits for its window,
    // found by caption.
    explicit Program(const std::wstring& exe, std::wstring_view arguments = {},
                     std::wstring_view caption = L"Sumatko 2001");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Window() const { return window_; }
    // The control's window, or nullptr when it does not exist.
    HWND Find(form::Control control) const;
    std::wstring Text(form::Control control) const;
    bool Visible(form::Control control) const;
    // The control's rectangle in the client area of the window.
    RECT Place(form::Control control) const;
    HWND Focused() const;
    bool HasFocus(form::Control control) const { return Focused() != nullptr && Focused() == Find(control); }

    // Input goes to the window brought to the front; each call returns once the program has
    // taken and handled it (or after two seconds when it takes none).
    void Click(form::Control control);
    // A key pressed and released; `modifiers` are held meanwhile (VK_SHIFT...).
    void Press(WORD key, const std::vector<WORD>& modifiers = {});
    // Each character (UTF-8) as the key, with Shift where needed, that types it on the keyboard
    // layout; one that the layout lacks as the character itself.
    void Type(std::string_view characters);

    // Whether any pixel of the control on the screen has exactly this colour.
    bool Shows(form::Control control, COLORREF colour) const;
    // The client area on the screen, 32-bit pixels (0x00RRGGBB), top row first.
    std::vector<DWORD> ClientPixels() const;

    // Waits for the program to end; its exit code, or -1 when it is still running.
    int WaitForExit(std::chrono::milliseconds timeout);

  private:
    void Activate();
    void Send(std::vector<INPUT> inputs);

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HHOOK hook_ = nullptr;
    LONG_PTR (*taken_)() = nullptr; // the last input the program took, by its number
};

// A window's text, asked for with a message as across processes; "<none>" when there is no
// window or it hangs.
std::wstring TextOf(HWND hwnd);

// What a screen reader reads of a window's client object through MSAA, asked for from this
// process (after CoInitialize).
struct Read {
    std::wstring Name, Value, Description;
    LONG Role = 0, State = 0;
};
Read Accessible(HWND hwnd);

// Puts text on the clipboard, as if the pupil had copied it somewhere.
bool Copy(std::wstring_view text);

// The problem of a row's caption, its result with it: "7 + 5 =" is 12, "3 · 4 =" 12, "20 : 5 =" 4.
drill::ProblemRecord ProblemOf(const std::wstring& caption);

// A Unix path as Wine sees it (drive Z: is the root); Windows paths pass unchanged.
std::wstring WindowsPath(const char* path);

} // namespace driver
