// What Form1 asks of its toolkit, realised on the window's controls.

#include "win32/toolkit.h"

#include "win32/text.h"
#include "win32/txt_num_only.h"

namespace win32 {

namespace {

constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

} // namespace

void Toolkit::SetPosition(form::Control control, float left, float top)
{
    Widget& widget = At(control);
    widget.left = left;
    widget.top = top;
    SetWindowPos(widget.hwnd, nullptr, Scaled(left), Scaled(top), 0, 0, kMoveOnly);
}

void Toolkit::SetSize(form::Control control, float width, float height)
{
    Widget& widget = At(control);
    widget.width = width;
    widget.height = height;
    SetWindowPos(widget.hwnd, nullptr, 0, 0, Scaled(width), Scaled(height), kSizeOnly);
}

void Toolkit::SetVisible(form::Control control, bool visible)
{
    HWND hwnd = At(control).hwnd;
    if (!visible)
        MoveFocusOutOf(hwnd);
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Toolkit::SetEnabled(form::Control control, bool enabled)
{
    HWND hwnd = At(control).hwnd;
    if (!enabled)
        MoveFocusOutOf(hwnd);
    EnableWindow(hwnd, enabled ? TRUE : FALSE);
    // Nothing inside a disabled panel takes input, but Windows greys a control only when it is
    // disabled itself. The check boxes grey their ticks; labels and boxes keep their colours.
    if (At(control).entry->Type == form::Kind::Panel)
        for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            if (const Widget* widget = WidgetOf(child);
                widget != nullptr && widget->entry->Type == form::Kind::CheckBox)
                EnableWindow(child, enabled ? TRUE : FALSE);
}

void Toolkit::SetText(form::Control control, std::string_view text)
{
    Widget& widget = At(control);
    settingText_ = true;
    SetWindowTextW(widget.hwnd, Utf16(text).c_str());
    settingText_ = false;
    if (widget.entry->Type == form::Kind::Label && widget.entry->Has(form::AutoSize))
        FitToText(widget);
}

std::string Toolkit::Text(form::Control control) const
{
    return Utf8(WindowText(At(control).hwnd));
}

int Toolkit::Value(form::Control control) const
{
    return static_cast<int>(SendMessageW(At(control).hwnd, BM_GETCHECK, 0, 0));
}

void Toolkit::SetTextColour(form::Control control, form::Rgb colour)
{
    Widget& widget = At(control);
    widget.fore = colour;
    InvalidateRect(widget.hwnd, nullptr, TRUE);
}

void Toolkit::SetValue(form::Control control, int value)
{
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageW(At(control).hwnd, BM_SETCHECK, state, 0);
}

void Toolkit::SetLocked(form::Control control, bool locked)
{
    const Widget& widget = At(control);
    // A check box that does not tick itself keeps its state whatever clicks it: the mouse,
    // Space, or a screen reader's default action.
    if (widget.entry->Type == form::Kind::CheckBox)
        SendMessageW(widget.hwnd, BM_SETSTYLE, locked ? BS_CHECKBOX : BS_AUTOCHECKBOX, TRUE);
    else
        SendMessageW(widget.hwnd, EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

void Toolkit::SetStrikeOut(form::Control control, bool strikeOut)
{
    Widget& widget = At(control);
    widget.strikeOut = strikeOut;
    ApplyFont(widget);
}

void Toolkit::SetFocus(form::Control control)
{
    HWND hwnd = At(control).hwnd;
    lastFocus_ = hwnd;
    // An inactive window takes the focus back from lastFocus_ when it is activated.
    if (GetActiveWindow() == main_)
        ::SetFocus(hwnd);
}

void Toolkit::SelectAll(form::Control box) { SendMessageW(At(box).hwnd, EM_SETSEL, 0, -1); }

void Toolkit::ClearFocus()
{
    // The window stays active with no focus in it, so that nothing is reported focused; keys
    // meanwhile come to the window as system keys (Swallowed).
    lastFocus_ = nullptr;
    if (GetActiveWindow() == main_)
        ::SetFocus(nullptr);
}

void Toolkit::Announce(std::string_view message)
{
    // MSAA has no announcement of its own: screen readers read out an object of the alert role
    // when it raises its alert event. The hidden alert object is named by the message.
    AccessibleOf(alert_).SetName(Utf16(message));
    NotifyWinEvent(EVENT_SYSTEM_ALERT, alert_, OBJID_CLIENT, CHILDID_SELF);
}

void Toolkit::SetAccessibleName(form::Control control, std::string_view name)
{
    HWND hwnd = At(control).hwnd;
    if (AccessibleOf(hwnd).SetName(Utf16(name)))
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void Toolkit::SetAccessibleDescription(form::Control control, std::string_view description)
{
    HWND hwnd = At(control).hwnd;
    if (AccessibleOf(hwnd).SetDescription(Utf16(description)))
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

Accessible& Toolkit::AccessibleOf(HWND hwnd)
{
    AccessiblePtr& accessible = accessibles_[hwnd];
    if (!accessible)
        accessible.reset(new Accessible(hwnd));
    return *accessible;
}

LRESULT Toolkit::AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || (hwnd != alert_ && WidgetOf(hwnd) == nullptr))
        return 0;
    const LRESULT answer = AccessibleOf(hwnd).Answer(wParam);
    return answer > 0 ? answer : 0;
}

std::int32_t Toolkit::TxtNumOnly(form::Control box, bool on, drill::AnswerRule rule)
{
    Widget& widget = At(box);
    widget.rule = on ? std::optional(rule) : std::nullopt;
    // Room for the sign besides the digits; typed and pasted text go through the rule
    // (InsertByRule), whatever ES_NUMBER would refuse.
    const std::size_t limit =
        on ? rule.MaxDigits + (rule.MinusSign ? 1 : 0) : static_cast<std::size_t>(widget.entry->MaxLength);
    SendMessageW(widget.hwnd, EM_LIMITTEXT, limit, 0);
    return win32::TxtNumOnly(widget.hwnd, on);
}

void Toolkit::StartTimer(form::Id timer, std::chrono::milliseconds interval)
{
    SetTimer(main_, TimerId(timer), static_cast<UINT>(interval.count()), nullptr);
}

void Toolkit::StopTimer(form::Id timer) { KillTimer(main_, TimerId(timer)); }

void Toolkit::ShowMessage(std::string_view message)
{
    // Shown from the message loop, not from inside the click: a message box runs a loop of its
    // own, and no timer may tick into a running handler.
    message_ = Utf16(message);
    PostMessageW(main_, kShowMessage, 0, 0);
}

void Toolkit::RepaintNow() { RedrawWindow(main_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void Toolkit::StartPause(Clock::time_point deadline)
{
    deadline_ = deadline;
    pausing_ = true;
    ArmPause();
}

} // namespace win32
