// The real Windows program under Wine, driven from outside with real mouse and keyboard input
// and read through MSAA as a screen reader reads it: the window as it opens and closes, a
// refused Start, one whole exercise from Start to "Znovu", and closing mid-slide.

#include "drill/marking.h"
#include "form/form1.h"
#include "win32/text.h"
#include "win32_driver.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>

namespace {

using form::Id;
using namespace std::chrono_literals;

std::wstring g_exe;

form::Control Box(int row) { return {Id::txtVysl, row}; }
form::Control Caption(int row) { return {Id::lblPrikl, row}; }

std::string Narrow(const std::wstring& digits) { return {digits.begin(), digits.end()}; }

using driver::Accessible;
using driver::Read;

std::vector<std::pair<DWORD, HWND>> g_heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    g_heard.emplace_back(event, hwnd);
}

// The program's focus, name, description and alert events, hooked from outside its process as a
// screen reader hooks them. They come in while this thread takes its messages.
class Listener {
  public:
    explicit Listener(HWND window)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        for (auto [first, last] : {std::pair{EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT},
                                   std::pair{EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS},
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

std::wstring Spoken(const std::wstring& caption)
{
    return win32::Utf16(form::SpokenProblem(driver::ProblemOf(caption)));
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(program.Window(), nullptr) << "no window captioned \"Sumatko 2001\""; }

    bool At(form::Control control, LONG left, LONG top) const
    {
        const RECT r = program.Place(control);
        return r.left == left && r.top == top;
    }
    // A slide has ended when its panels have come to rest where it puts them.
    bool ResultsShown() const { return At({Id::Picture5}, 5, 5) && At({Id::Picture6}, 165, 5); }
    bool ResultsHidden() const { return At({Id::Picture5}, 700, 5) && !program.Visible({Id::Picture5}); }

    std::int64_t SecondsLeft() const
    {
        int h = 0, m = 0, s = 0;
        swscanf(program.Text({Id::lblCas}).c_str(), L"%d:%d:%d", &h, &m, &s);
        return h * 3600 + m * 60 + s;
    }
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

TEST_F(WindowTest, OpensWithItsCaptionAndClientSizeAndStartFocusedAndClosesAtOnce)
{
    RECT client{};
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, 243);
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Command3}); }));
    // Each settings box is read with its meaning and its whole value; the title picture by what
    // it shows.
    const Read count = Accessible(program.Find({Id::Text1}));
    EXPECT_EQ(count.Name, L"Počet příkladů");
    EXPECT_EQ(count.Value, L"10");
    EXPECT_EQ(Accessible(program.Find({Id::Image1})).Name, L"Sumatko 2001: čísla a tužka");
    // Tab goes by the window's own order, past the controls under the title panel.
    program.Press(VK_TAB);
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Check1}); }));
    program.Press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Command3}); }));
    // Closed as by its close button, the program ends at once and well.
    PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(1s), 0);
}

TEST_F(WindowTest, RefusedSettingsAreToldInAMessageBoxThenTheBoxIsSelected)
{
    program.Click({Id::Text1});
    program.Press(VK_END);
    program.Press(VK_BACK);
    program.Press(VK_BACK);
    program.Type("0");
    ASSERT_TRUE(driver::WaitUntil([&] { return program.Text({Id::Text1}) == L"0"; }));
    // Enter in a settings box presses "Start"; no problem count of 0 is possible.
    program.Press(VK_RETURN);
    HWND box = nullptr;
    // A message box is a dialog of its own class; its caption is the program's name.
    ASSERT_TRUE(driver::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Sumatko 2001")) != nullptr; }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), program.Window());
    program.Press(VK_RETURN);
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsWindow(box) && program.HasFocus({Id::Text1}); }));
    const auto selection = static_cast<DWORD>(SendMessageW(program.Find({Id::Text1}), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 1);
    EXPECT_FALSE(program.Find({Id::txtVysl, 1})) << "a refused Start builds no rows";
}

TEST_F(WindowTest, WholeExerciseThroughRealInputAsAScreenReaderHearsIt)
{
    Listener screenReader(program.Window());
    // Enter on the focused "Start" presses it; the rows are built and row 1 has the focus, and
    // no other control was reported focused on the way. (Wine 8 reports no focus that comes from
    // no control at all, so row 1's own report is heard on Windows only.)
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(1)) && program.Find(Box(10)) != nullptr; }));
    EXPECT_EQ(program.Find(Box(11)), nullptr);
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(focused, program.Find(Box(1)));
    // Each box is named by its problem in words.
    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(Accessible(program.Find(Box(row))).Name, Spoken(program.Text(Caption(row)))) << "row " << row;

    // Every printable character typed: the focus stays in the box, which keeps digits only, and
    // no more than five, until Enter moves to the next row, and only there.
    std::string printable;
    for (char c = ' '; c <= '~'; ++c)
        printable += c;
    screenReader.Forget();
    program.Type(printable);
    program.Press(VK_BACK);
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(2)); }));
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(focused, program.Find(Box(2)));
    EXPECT_EQ(program.Text(Box(1)), L"0123");
    EXPECT_EQ(Accessible(program.Find(Box(1))).Value, L"0123");

    // Row 2 gets its right answer typed, row 3 pasted with letters in it, which the box leaves out.
    const std::wstring second = std::to_wstring(driver::ProblemOf(program.Text(Caption(2))).Result);
    program.Type(Narrow(second));
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(3)); }));
    const std::wstring third = std::to_wstring(driver::ProblemOf(program.Text(Caption(3))).Result);
    ASSERT_TRUE(driver::Copy(L"x" + third + L"y"));
    program.Press('V', {VK_CONTROL});
    EXPECT_TRUE(driver::WaitUntil([&] { return program.Text(Box(3)) == third; })) << Narrow(program.Text(Box(3)));
    EXPECT_EQ(program.Text(Box(2)), second) << "Enter must not have pressed any button";

    // Tab from the last row reaches the clock: a dotted frame shows it, and it is read as the
    // time left in words, the time it had when it was reached.
    program.Press(VK_END);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(10)); }));
    const std::int64_t before = SecondsLeft();
    program.Press(VK_TAB);
    HWND clockPanel = program.Find({Id::Picture4});
    ASSERT_TRUE(driver::WaitUntil([&] { return screenReader.Heard(EVENT_OBJECT_FOCUS, clockPanel); }));
    const Read clock = Accessible(clockPanel);
    const std::int64_t after = SecondsLeft();
    EXPECT_EQ(clock.Name, L"Zbývající čas");
    bool toldTheTime = false;
    for (std::int64_t t = after; t <= before; ++t)
        toldTheTime |= clock.Description == win32::Utf16(form::SpokenTime(t));
    EXPECT_TRUE(toldTheTime) << win32::Utf8(clock.Description) << " for " << before << " to " << after << " s";
    EXPECT_TRUE(driver::WaitUntil([&] { return FrameDots() > 0; }));
    program.Press(VK_TAB);
    HWND done = program.Find({Id::Command1});
    ASSERT_TRUE(driver::WaitUntil([&] { return screenReader.Heard(EVENT_OBJECT_FOCUS, done); }));
    EXPECT_TRUE(driver::WaitUntil([&] { return FrameDots() == 0; }));

    // Enter on "Hotovo!" marks every box, writes the counts and the grade and gives row 1 the
    // focus, with nothing else reported focused on the way.
    screenReader.Forget();
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil(
        [&] { return program.Visible({Id::Command2}) && program.HasFocus(Box(1)) && program.Text(Box(10)) == L"?"; },
        20s));
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(focused, program.Find(Box(1)));
    // Row 1 holds 123, wrong for any result of the default settings; rows 2 and 3 are right.
    const std::wstring grade = std::to_wstring(drill::ComputeGrade(2, 1, 7, 10));
    EXPECT_EQ(program.Text({Id::lblZnamka}), grade);
    // Each box is read as problem, answer and verdict; the counts and the grade with their meaning.
    const Read first = Accessible(program.Find(Box(1)));
    EXPECT_EQ(first.Name, Spoken(program.Text(Caption(1))));
    EXPECT_EQ(first.Value, L"0123");
    EXPECT_EQ(first.Description, L"špatně");
    EXPECT_TRUE(first.State & STATE_SYSTEM_READONLY);
    EXPECT_EQ(Accessible(program.Find(Box(2))).Description, L"správně");
    EXPECT_EQ(Accessible(program.Find(Box(4))).Description, L"nevyplněno");
    EXPECT_TRUE(screenReader.Heard(EVENT_OBJECT_DESCRIPTIONCHANGE, program.Find(Box(1))));
    EXPECT_EQ(Accessible(program.Find({Id::Label10})).Name, L"Dobře spočítal 2");
    EXPECT_EQ(Accessible(program.Find({Id::Label11})).Name, L"Špatně spočítal 1");
    EXPECT_EQ(Accessible(program.Find({Id::Label12})).Name, L"Nestihl 7");
    EXPECT_EQ(Accessible(program.Find({Id::lblZnamka})).Name, L"Známka " + grade);
    EXPECT_TRUE(screenReader.Heard(EVENT_OBJECT_NAMECHANGE, program.Find({Id::lblZnamka})));
    // Back in the band, row 1 shows its wrong answer in red, row 2 its right one in navy.
    EXPECT_TRUE(driver::WaitUntil([&] { return At({Id::Picture2}, 48 + 5, 44 + 5); }));
    EXPECT_TRUE(program.Shows(Box(1), RGB(255, 0, 0)));
    EXPECT_TRUE(program.Shows(Box(2), RGB(0, 0, 128)));

    // "Známka" brings the results in, and a screen reader is told them at once as an alert; the
    // button becomes "Příklady", which takes them out again.
    screenReader.Forget();
    program.Click({Id::Command2});
    EXPECT_TRUE(driver::WaitUntil([&] { return ResultsShown(); }));
    std::vector<HWND> alerts;
    ASSERT_TRUE(driver::WaitUntil([&] { return !(alerts = screenReader.Heard(EVENT_SYSTEM_ALERT)).empty(); }));
    const Read told = Accessible(alerts.front());
    EXPECT_EQ(told.Role, ROLE_SYSTEM_ALERT);
    EXPECT_EQ(told.Name, L"Dobře spočítal 2, špatně spočítal 1, nestihl 7, známka " + grade);
    EXPECT_EQ(program.Text({Id::Command2}), L"Příklady");
    program.Click({Id::Command2});
    EXPECT_TRUE(driver::WaitUntil([&] { return ResultsHidden(); }));
    EXPECT_EQ(program.Text({Id::Command2}), L"Známka");

    // "Znovu" on the results clears the list and brings the settings back, "Start" focused, and
    // nothing of the old exercise is reported focused on the way.
    program.Click({Id::Command2});
    ASSERT_TRUE(driver::WaitUntil([&] { return ResultsShown(); }));
    screenReader.Forget();
    program.Click({Id::Command4});
    EXPECT_TRUE(driver::WaitUntil([&] { return At({Id::Picture6}, 300, 27) && program.HasFocus({Id::Command3}); }));
    for (HWND focused : screenReader.Heard(EVENT_OBJECT_FOCUS))
        EXPECT_TRUE(focused == program.Find({Id::Command4}) || focused == program.Find({Id::Command3}));
    EXPECT_EQ(program.Find(Box(1)), nullptr);
    EXPECT_TRUE(program.Visible({Id::Picture7}));
    EXPECT_TRUE(At({Id::Picture7}, 6, 6));
    EXPECT_FALSE(program.Visible({Id::Picture1}));
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
