// What only the real Windows program can get wrong, under Wine, driven from outside with real
// input and heard as a screen reader hears it through MSAA's events: the window's size and its
// closing, the clock's focus frame, the marks' colours on the screen and the
// focus events. The exercise itself is tests/scenario's, whose driver hears the results' alert.

#include "form/controls.h"
#include "win32_driver.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>

namespace {

using form::Id;
using namespace std::chrono_literals;

std::wstring g_exe;

form::Control Box(int row) { return {Id::txtVysl, row}; }

using driver::Accessible;

std::vector<std::pair<DWORD, HWND>> g_heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    g_heard.emplace_back(event, hwnd);
}

// The program's focus, name and description events, hooked from outside its process as a
// screen reader hooks them. They come in while this thread takes its messages.
class Listener {
  public:
    explicit Listener(HWND window)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        for (auto [first, last] : {std::pair{EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS},
                                   std::pair{EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE}})
            hooks_.push_back(SetWinEventHook(first, last, nullptr, Hear, process, 0, WINEVENT_OUTOFCONTEXT));
        g_heard.clear();
    }
    ~Listener()
    {
        for (HWINEVENTHOOK hook : hooks_)
            UnhookWinEvent(hook);
    }
    // The windows that the event was heard for since the last Forget.
    std::vector<HWND> Heard(DWORD event)
    {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        std::vector<HWND> windows;
        for (auto [heard, hwnd] : g_heard)
            if (heard == event)
                windows.push_back(hwnd);
        return windows;
    }
    bool Heard(DWORD event, HWND hwnd) { return std::ranges::count(Heard(event), hwnd) > 0; }
    void Forget()
    {
        Heard(0);
        g_heard.clear();
    }

  private:
    std::vector<HWINEVENTHOOK> hooks_;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(program.Window(), nullptr) << "no window captioned \"Sumatko 2001\""; }

    // White dots on the clock's focus frame a pixel inside its edge, along the top, where the
    // time lies over it.
    int FrameDots() const
    {
        const std::vector<DWORD> pixels = program.ClientPixels();
        RECT client{};
        GetClientRect(program.Window(), &client);
        const RECT clock = program.Place({Id::Picture4});
        const auto line = pixels.begin() + (clock.top + 1) * client.right;
        return static_cast<int>(std::count(line + clock.left + 10, line + clock.right - 10, 0xFFFFFFU));
    }

    driver::Program program{g_exe};
};

TEST_F(WindowTest, OpensAtItsSizeAndClosesAtOnce)
{
    RECT client{};
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, 243);
    // Closed as by its close button, the program ends at once and well.
    PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(1s), 0);
}

TEST_F(WindowTest, WhatWindowsShowsAndTellsOfAnExercise)
{
    Listener screenReader(program.Window());
    // Row 1 takes the focus after Start, and no other control is reported focused on the way.
    // (Wine 8 reports no focus that comes from no control at all, so row 1's own report is
    // heard on Windows only.)
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(1)) && program.Find(Box(10)) != nullptr; }));
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(focused, program.Find(Box(1)));
    program.Type("123"); // wrong for any result of the default settings

    // The clock reached by Tab shows a dotted frame, which goes with the focus.
    program.Press(VK_END);
    program.Press(VK_TAB);
    HWND clock = program.Find({Id::Picture4});
    ASSERT_TRUE(driver::WaitUntil([&] { return screenReader.Heard(EVENT_OBJECT_FOCUS, clock); }));
    EXPECT_TRUE(driver::WaitUntil([&] { return FrameDots() > 0; }));
    program.Press(VK_TAB);
    EXPECT_TRUE(driver::WaitUntil([&] { return FrameDots() == 0 && program.HasFocus({Id::Command1}); }));

    // The finish: no other control reported focused on the way to row 1; a box is read-only and
    // its verdict is told as a change of its description; the marks show in their colours.
    screenReader.Forget();
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(1)) && program.Text(Box(10)) == L"?"; }, 20s));
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(focused, program.Find(Box(1)));
    EXPECT_TRUE(driver::Accessible(program.Find(Box(1))).State & STATE_SYSTEM_READONLY);
    EXPECT_TRUE(screenReader.Heard(EVENT_OBJECT_DESCRIPTIONCHANGE, program.Find(Box(1))));
    EXPECT_TRUE(driver::WaitUntil([&] { return program.Place({Id::Picture2}).top == 44 + 5; }));
    EXPECT_TRUE(program.Shows(Box(1), RGB(255, 0, 0)));
    EXPECT_TRUE(program.Shows(Box(2), RGB(255, 64, 64)));

}

TEST_F(WindowTest, ClosingMidSlideEndsTheProgramAtOnce)
{
    // Space presses the focused "Start" as the button itself does.
    program.Press(VK_SPACE);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.Place({Id::Picture6}).top < 27; }));
    program.Press(VK_F4, {VK_MENU});
    EXPECT_EQ(program.WaitForExit(3s), 0);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_test PATH-TO-sumatko2001.exe\n");
        return 2;
    }
    g_exe = driver::WindowsPath(argv[1]);
    CoInitialize(nullptr);
    return RUN_ALL_TESTS();
}
