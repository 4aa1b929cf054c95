#pragma once

#include "form/form1.h"
#include "form/toolkit.h"
#include "win32/accessible.h"
#include "win32/fonts.h"

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

// Form1's toolkit on plain Win32: one top-level window, panels as child windows of a class of
// our own, and the system's STATIC, EDIT and BUTTON controls for everything else. Form1 owns
// every position; this keeps them in 96-dpi pixels and places them scaled by the window's DPI.
// Input reaches Form1 through the message loop (keys) and the windows' notifications (clicks,
// focus); time through SetTimer. A screen reader reads the controls through MSAA: each answers
// WM_GETOBJECT with the system's object under the names and descriptions Form1 gives, and
// announcements are alerts. The window procedures are in window.cpp, the controls in
// controls.cpp.
class Toolkit final : public form::Toolkit {
  public:
    explicit Toolkit(HINSTANCE instance);
    ~Toolkit() override;
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    // The window reports to this Form1 from now on.
    void Attach(form::Form1& form) { form_ = &form; }
    // Shows the window centred on its screen and active.
    void Show();
    // Runs the message loop until the window is closed; returns the program's exit code.
    int Run();

    void Create(const form::ControlEntry& entry) override;
    void CreateRow(int index) override;
    void RemoveRow(int index) override;
    void SetPosition(form::Control control, float left, float top) override;
    void SetSize(form::Control control, float width, float height) override;
    void SetVisible(form::Control control, bool visible) override;
    void SetEnabled(form::Control control, bool enabled) override;
    void SetText(form::Control control, std::string_view text) override;
    std::string Text(form::Control control) const override;
    int Value(form::Control control) const override;
    void SetValue(form::Control control, int value) override;
    void SetTextColour(form::Control control, form::Rgb colour) override;
    void SetLocked(form::Control control, bool locked) override;
    void SetStrikeOut(form::Control control, bool strikeOut) override;
    void SetFocus(form::Control control) override;
    void SelectAll(form::Control box) override;
    void ClearFocus() override;
    void Announce(std::string_view message) override;
    void SetAccessibleName(form::Control control, std::string_view name) override;
    void SetAccessibleDescription(form::Control control, std::string_view description) override;
    std::int32_t TxtNumOnly(form::Control box, bool on, drill::AnswerRule rule) override;
    void StartTimer(form::Id timer, std::chrono::milliseconds interval) override;
    void StopTimer(form::Id timer) override;
    void ShowMessage(std::string_view message) override;
    void RepaintNow() override;
    Clock::time_point Now() const override { return Clock::now(); }
    void StartPause(Clock::time_point deadline) override;

    // What the window procedures hand on (window.cpp).
    LRESULT MainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Widget {
        HWND hwnd = nullptr;
        const form::ControlEntry* entry = nullptr;
        float left = 0, top = 0, width = 0, height = 0; // 96-dpi pixels in the container
        std::optional<form::Rgb> fore;
        bool strikeOut = false;
        std::optional<drill::AnswerRule> rule; // what an answer box takes
    };

    static constexpr UINT kShowMessage = WM_APP + 1;
    static constexpr UINT kPauseDue = WM_APP + 2;
    // The table's timers have their Id + 1; the pause timer lies beyond them.
    static constexpr UINT_PTR kPauseTimer = 0x100;
    static UINT_PTR TimerId(form::Id timer) { return static_cast<UINT_PTR>(timer) + 1; }

    // controls.cpp: making, placing and painting the controls.
    Widget& At(form::Control control);
    const Widget& At(form::Control control) const;
    Widget* WidgetOf(HWND hwnd);
    form::Control ControlOf(HWND hwnd) const;
    HWND ContainerOf(const Widget& widget) const;
    void CreateMainWindow(const form::ControlEntry& entry);
    void CreateControl(form::Control control, Widget& widget, bool visible);
    void ApplyFont(Widget& widget);
    void Place(const Widget& widget);
    void FitToText(Widget& widget);
    void ComposeTitle();
    int Scaled(float pixels) const;
    HBRUSH Brush(form::Rgb colour);
    form::Rgb BackgroundOf(const Widget& widget) const;
    LRESULT ControlColours(HDC dc, HWND child);
    bool DrawTitle(const DRAWITEMSTRUCT& item) const;
    bool ShowsFocusFrame(HWND panel);
    void DrawFocusFrame(HWND panel, HWND onto) const;

    // toolkit.cpp: what a screen reader reads.
    Accessible& AccessibleOf(HWND hwnd);
    // The answer to WM_GETOBJECT, or 0 where the system answers.
    LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam);

    // window.cpp: messages, focus, time and scale.
    bool Swallowed(const MSG& message);
    // Puts what the box's rule keeps of `text` in place of its selection; false for a box that
    // takes any text.
    bool InsertByRule(HWND box, std::wstring_view text);
    // What no message could refuse (an input method's composition) is taken out afterwards.
    void KeepToRule(HWND box);
    // What the window and the panels answer for their controls: clicks, colours, the picture.
    LRESULT ContainerMessage(HWND container, UINT message, WPARAM wParam, LPARAM lParam);
    void Clicked(HWND button);
    void ReportFocus(HWND hwnd);
    void MoveFocusOutOf(HWND hwnd);
    bool CanHoldFocus(HWND hwnd) const;
    void RestoreFocus();
    void ShowPendingMessage();
    void ArmPause();
    void PauseDue();
    void Timer(UINT_PTR id);
    void ChangeScale(UINT dpi, const RECT* suggested);
    void ResizeClient();
    void SetIcons();

    HINSTANCE instance_;
    form::Form1* form_ = nullptr;
    HWND owner_ = nullptr; // hidden: an owned window stays out of the task bar
    HWND main_ = nullptr;
    form::ControlMap<Widget> widgets_;
    double scale_ = 1.0;
    std::unique_ptr<Fonts> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    HBITMAP title_ = nullptr;
    HICON smallIcon_ = nullptr;
    HICON bigIcon_ = nullptr;
    HWND lastFocus_ = nullptr; // where the focus goes back when the window is activated
    HWND alert_ = nullptr;     // hidden: what a screen reader is told at once
    std::map<HWND, AccessiblePtr> accessibles_;
    std::optional<std::wstring> message_; // the message waiting to be shown
    bool settingText_ = false;            // Form1's own text, whatever the box's rule
    bool pausing_ = false;
    Clock::time_point deadline_{};
};

} // namespace win32
