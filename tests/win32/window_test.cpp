// The real Windows program under Wine, driven from outside with real mouse and keyboard input:
// the window as it opens, a refused Start, one whole exercise from Start to "Znovu", and
// closing mid-slide.

#include "drill/marking.h"
#include "win32_driver.h"

#include <gtest/gtest.h>
#include <oleacc.h>

namespace {

using form::Id;
using namespace std::chrono_literals;

std::wstring g_exe;

form::Control Box(int row) { return {Id::txtVysl, row}; }
form::Control Caption(int row) { return {Id::lblPrikl, row}; }

std::string Narrow(const std::wstring& digits) { return {digits.begin(), digits.end()}; }

// What a screen reader calls the control: MSAA's name, from the window's standard proxy.
std::wstring AccessibleName(HWND hwnd)
{
    IAccessible* accessible = nullptr;
    // __uuidof, not IID_IAccessible: MinGW's liboleacc.a exports that name as a function stub.
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return L"<no object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr ? name : L"<no name>";
    SysFreeString(name);
    accessible->Release();
    return result;
}

// Puts text on the clipboard, as if the pupil had copied it somewhere.
void Copy(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::wmemcpy(static_cast<wchar_t*>(GlobalLock(memory)), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
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

    driver::Program program{g_exe};
};

TEST_F(WindowTest, OpensWithItsCaptionAndClientSizeAndStartFocused)
{
    RECT client{};
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, 243);
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Command3}); }));
    // The settings boxes are named for a screen reader by the hidden caption before each, the
    // title picture by its window text.
    EXPECT_EQ(AccessibleName(program.Find({Id::Text1})), L"Počet příkladů");
    EXPECT_EQ(AccessibleName(program.Find({Id::Image1})), L"Sumatko 2001: čísla a tužka");
    // Tab goes by the window's own order, past the controls under the title panel.
    program.Press(VK_TAB);
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Check1}); }));
    program.Press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(driver::WaitUntil([&] { return program.HasFocus({Id::Command3}); }));
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

TEST_F(WindowTest, WholeExerciseThroughRealInput)
{
    // Enter on the focused "Start" presses it; the rows are built and row 1 has the focus.
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(1)) && program.Find(Box(10)) != nullptr; }));
    EXPECT_EQ(program.Find(Box(11)), nullptr);
    EXPECT_EQ(AccessibleName(program.Find(Box(1))), program.Text(Caption(1)));

    // Letters are refused, digits land, and a sixth digit is refused.
    program.Type("a12345x6");
    EXPECT_TRUE(driver::WaitUntil([&] { return program.Text(Box(1)) == L"12345"; })) << Narrow(program.Text(Box(1)));

    // Enter moves to the next row only; row 2 gets its right answer typed, row 3 pasted with
    // letters in it, which the box leaves out.
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(2)); }));
    const std::wstring second = std::to_wstring(driver::ResultOf(program.Text(Caption(2))));
    program.Type(Narrow(second));
    program.Press(VK_RETURN);
    ASSERT_TRUE(driver::WaitUntil([&] { return program.HasFocus(Box(3)); }));
    const std::wstring third = std::to_wstring(driver::ResultOf(program.Text(Caption(3))));
    Copy(L"x" + third + L"y");
    program.Press('V', {VK_CONTROL});
    EXPECT_TRUE(driver::WaitUntil([&] { return program.Text(Box(3)) == third; })) << Narrow(program.Text(Box(3)));
    EXPECT_EQ(program.Text(Box(2)), second) << "Enter must not have pressed any button";

    // "Hotovo!" marks every box and writes the counts and the grade.
    program.Click({Id::Command1});
    ASSERT_TRUE(
        driver::WaitUntil([&] { return program.Visible({Id::Command2}) && program.Text(Box(10)) == L"?"; }, 20s));
    for (int row = 4; row <= 10; ++row)
        EXPECT_EQ(program.Text(Box(row)), L"?") << "row " << row;
    // Row 1 holds 12345, wrong for any result of the default settings; rows 2 and 3 are right.
    EXPECT_EQ(program.Text({Id::Label10}), L"002");
    EXPECT_EQ(program.Text({Id::Label11}), L"001");
    EXPECT_EQ(program.Text({Id::Label12}), L"007");
    EXPECT_EQ(program.Text({Id::lblZnamka}), std::to_wstring(drill::ComputeGrade(2, 1, 7, 10)));
    // Back in the band, row 1 shows its wrong answer in red, row 2 its right one in navy.
    EXPECT_TRUE(driver::WaitUntil([&] { return At({Id::Picture2}, 48 + 5, 44 + 5); }));
    EXPECT_TRUE(program.Shows(Box(1), RGB(255, 0, 0)));
    EXPECT_TRUE(program.Shows(Box(2), RGB(0, 0, 128)));

    // "Známka" brings the results in and becomes "Příklady", which takes them out again.
    program.Click({Id::Command2});
    EXPECT_TRUE(driver::WaitUntil([&] { return ResultsShown(); }));
    EXPECT_EQ(program.Text({Id::Command2}), L"Příklady");
    program.Click({Id::Command2});
    EXPECT_TRUE(driver::WaitUntil([&] { return ResultsHidden(); }));
    EXPECT_EQ(program.Text({Id::Command2}), L"Známka");

    // "Znovu" on the results clears the list and brings the settings back, Start focused.
    program.Click({Id::Command2});
    ASSERT_TRUE(driver::WaitUntil([&] { return ResultsShown(); }));
    program.Click({Id::Command4});
    EXPECT_TRUE(driver::WaitUntil([&] { return At({Id::Picture6}, 300, 27) && program.HasFocus({Id::Command3}); }));
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
