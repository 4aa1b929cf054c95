// The window's messages: what of the pupil's input reaches Form1, where the focus goes, time,
// and the screen's scale.

#include "win32/control_ids.h"
#include "win32/resource_ids.h"
#include "win32/text.h"
#include "win32/toolkit.h"
#include "win32/txt_num_only.h"

#include <commctrl.h>

namespace win32 {

extern const wchar_t* const kPanelClass;
const wchar_t* const kPanelClass = L"Sumatko2001Panel";

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data)
{
    return reinterpret_cast<Toolkit*>(data)->ControlMessage(hwnd, message, wParam, lParam);
}

namespace {

const wchar_t* const kMainClass = L"Sumatko2001";
// A fixed dialog frame with a close box: no sizing border, no minimise or maximise box.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME;
constexpr double kDesignDpi = 96.0;

Toolkit* ToolkitOf(HWND hwnd, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Toolkit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The window and the panels hand every message to the toolkit that made them.
template <LRESULT (Toolkit::*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ToolkitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Toolkit* toolkit = ToolkitOf(hwnd, message, lParam);
    return toolkit != nullptr ? (toolkit->*Handle)(hwnd, message, wParam, lParam)
                              : DefWindowProcW(hwnd, message, wParam, lParam);
}

// Windows 10 1607 and later give each window its monitor's DPI; older ones one DPI for all.
UINT DpiOf(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr)
        return getDpiForWindow(hwnd);
    HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return static_cast<UINT>(dpi);
}

// A key pressed without Alt reaches the window as a system key when no control has the focus
// (and F10 always).
bool IsSystemKeyWithoutAlt(const MSG& message)
{
    return (message.message == WM_SYSKEYDOWN || message.message == WM_SYSCHAR || message.message == WM_SYSDEADCHAR) &&
           (HIWORD(message.lParam) & KF_ALTDOWN) == 0;
}

// What a pupil does to the window: while a pause runs, all of it is dropped. Key and button
// releases pass, so that nothing stays pressed, and so do keys with Alt, the window's own.
bool IsPupilInput(const MSG& message)
{
    if (IsSystemKeyWithoutAlt(message))
        return true;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return true;
    default:
        return false;
    }
}

int ShiftState()
{
    auto down = [](int key) { return GetKeyState(key) < 0; };
    return (down(VK_SHIFT) ? form::keys::Shift : 0) | (down(VK_CONTROL) ? form::keys::Ctrl : 0) |
           (down(VK_MENU) ? form::keys::Alt : 0);
}

void RegisterClasses(HINSTANCE instance)
{
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = ToolkitProc<&Toolkit::MainMessage>;
    main.hInstance = instance;
    main.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(SUMATKO_ICON));
    main.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    main.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    main.lpszClassName = kMainClass;
    RegisterClassExW(&main);

    WNDCLASSEXW panel{};
    panel.cbSize = sizeof panel;
    panel.lpfnWndProc = ToolkitProc<&Toolkit::PanelMessage>;
    panel.hInstance = instance;
    panel.hCursor = main.hCursor;
    panel.lpszClassName = kPanelClass;
    RegisterClassExW(&panel);
}

} // namespace

Toolkit::Toolkit(HINSTANCE instance) : instance_(instance), fonts_(std::make_unique<Fonts>(1.0))
{
    // Screen readers in other processes reach the controls' objects through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterClasses(instance);
}

Toolkit::~Toolkit()
{
    if (main_ != nullptr)
        DestroyWindow(main_);
    if (owner_ != nullptr)
        DestroyWindow(owner_);
    for (const auto& entry : brushes_)
        DeleteObject(entry.second);
    if (title_ != nullptr)
        DeleteObject(title_);
    for (HICON icon : {smallIcon_, bigIcon_})
        if (icon != nullptr)
            DestroyIcon(icon);
    accessibles_.clear();
    CoUninitialize();
}

void Toolkit::CreateMainWindow(const form::ControlEntry& entry)
{
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
    // Created at some size, so that its frame can be measured before the client is sized.
    main_ = CreateWindowExW(kMainExStyle, kMainClass, Utf16(entry.Text).c_str(), kMainStyle, 0, 0, 640, 480, owner_,
                            nullptr, instance_, this);
    At({form::Id::Form1}).hwnd = main_;
    alert_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, main_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoControl)), instance_, nullptr);
    SetWindowSubclass(alert_, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
    accessibles_[alert_].reset(new Accessible(alert_, ROLE_SYSTEM_ALERT));
    scale_ = DpiOf(main_) / kDesignDpi;
    fonts_ = std::make_unique<Fonts>(scale_);
    SetIcons();
    ResizeClient();
}

void Toolkit::SetIcons()
{
    for (auto [which, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
        auto* icon = static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(SUMATKO_ICON), IMAGE_ICON, Scaled(size), Scaled(size), 0));
        auto* old = reinterpret_cast<HICON>(SendMessageW(main_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
        if (old != nullptr && (old == smallIcon_ || old == bigIcon_))
            DestroyIcon(old);
        (which == ICON_SMALL ? smallIcon_ : bigIcon_) = icon;
    }
}

void Toolkit::ResizeClient()
{
    RECT window{};
    RECT client{};
    GetWindowRect(main_, &window);
    GetClientRect(main_, &client);
    const Widget& form = At({form::Id::Form1});
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(main_, nullptr, 0, 0, Scaled(form.width) + frameWidth, Scaled(form.height) + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Toolkit::Show()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT window{};
    GetWindowRect(main_, &window);
    const RECT& work = monitor.rcWork;
    const int left = work.left + ((work.right - work.left) - (window.right - window.left)) / 2;
    const int top = work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(main_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(main_, SW_SHOW);
    UpdateWindow(main_);
}

int Toolkit::Run()
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (Swallowed(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool Toolkit::Swallowed(const MSG& message)
{
    if (main_ == nullptr || (message.hwnd != main_ && !IsChild(main_, message.hwnd)))
        return false;
    if (pausing_ && IsPupilInput(message))
        return true;
    // Form1 decides what Tab, Enter and the list keys do, by their virtual-key codes; a key it
    // uses goes no further, so the control never sees it and no character is made of it.
    // Characters never reach Form1.
    const bool keyDown =
        message.message == WM_KEYDOWN || (message.message == WM_SYSKEYDOWN && IsSystemKeyWithoutAlt(message));
    if (keyDown && form_ != nullptr &&
        form_->KeyDown(ControlOf(message.hwnd), static_cast<int>(message.wParam), ShiftState()))
        return true;
    // With no control focused there is nothing to type into: a key left over would beep or open
    // the window's menu.
    return message.hwnd == main_ && IsSystemKeyWithoutAlt(message);
}

LRESULT Toolkit::MainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // Every sequence still waiting ends here, before any control goes.
        if (form_ != nullptr)
            std::exchange(form_, nullptr)->Form_Unload();
        pausing_ = false;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        main_ = nullptr;
        break;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_TIMER:
        Timer(wParam);
        return 0;
    case WM_DPICHANGED:
        ChangeScale(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case kShowMessage:
        ShowPendingMessage();
        return 0;
    case kPauseDue:
        PauseDue();
        return 0;
    default:
        break;
    }
    return ContainerMessage(window, message, wParam, lParam);
}

LRESULT Toolkit::PanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        if (const Widget* widget = WidgetOf(panel)) {
            RECT all{};
            GetClientRect(panel, &all);
            FillRect(reinterpret_cast<HDC>(wParam), &all, Brush(BackgroundOf(*widget)));
            return 1;
        }
        break;
    case WM_SETFOCUS:
        ReportFocus(panel);
        [[fallthrough]];
    case WM_KILLFOCUS:
        if (const Widget* widget = WidgetOf(panel); widget != nullptr && widget->entry->Has(form::TabStop))
            RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    case WM_PAINT: {
        const LRESULT result = ContainerMessage(panel, message, wParam, lParam);
        if (ShowsFocusFrame(panel))
            DrawFocusFrame(panel, panel);
        return result;
    }
    case WM_GETOBJECT:
        if (const LRESULT answer = AnswerGetObject(panel, wParam, lParam))
            return answer;
        break;
    case WM_NCDESTROY:
        accessibles_.erase(panel);
        break;
    default:
        break;
    }
    return ContainerMessage(panel, message, wParam, lParam);
}

LRESULT Toolkit::ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        ReportFocus(control);
        return result;
    }
    case WM_CHAR:
        // Characters typed, and an input method's results, which come as characters too.
        if (wParam >= L' ' && InsertByRule(control, std::wstring(1, static_cast<wchar_t>(wParam))))
            return 0;
        break;
    case WM_PASTE:
        if (InsertByRule(control, ClipboardText(control)))
            return 0;
        break;
    case WM_PAINT:
    case WM_SETTEXT: {
        // A label paints its text at once when it changes, over the focus frame of its panel.
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        if (HWND panel = GetParent(control); ShowsFocusFrame(panel))
            DrawFocusFrame(panel, control);
        return result;
    }
    case WM_GETOBJECT:
        if (const LRESULT answer = AnswerGetObject(control, wParam, lParam))
            return answer;
        break;
    case WM_NCDESTROY:
        accessibles_.erase(control);
        RemoveWindowSubclass(control, ControlProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Toolkit::ContainerMessage(HWND container, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
            Clicked(reinterpret_cast<HWND>(lParam));
        else if (HIWORD(wParam) == EN_CHANGE && lParam != 0)
            KeepToRule(reinterpret_cast<HWND>(lParam));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (const LRESULT brush = ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        break;
    case WM_DRAWITEM:
        if (DrawTitle(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    default:
        break;
    }
    return DefWindowProcW(container, message, wParam, lParam);
}

void Toolkit::Clicked(HWND button)
{
    const Widget* widget = WidgetOf(button);
    // Check boxes click too; Form1 hears of push buttons only.
    if (widget != nullptr && widget->entry->Type == form::Kind::Button && form_ != nullptr)
        form_->Clicked(ControlOf(button));
}

void Toolkit::ReportFocus(HWND hwnd)
{
    if (hwnd != main_)
        lastFocus_ = hwnd;
    if (form_ != nullptr)
        form_->GotFocus(ControlOf(hwnd));
}

bool Toolkit::CanHoldFocus(HWND hwnd) const
{
    if (hwnd == nullptr || !IsWindow(hwnd) || !IsWindowVisible(hwnd))
        return false;
    for (HWND w = hwnd; w != nullptr && w != main_; w = GetParent(w))
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

void Toolkit::RestoreFocus()
{
    // The window itself has the focus only when no control can have it back.
    if (CanHoldFocus(lastFocus_))
        ::SetFocus(lastFocus_);
    else
        ReportFocus(main_);
}

void Toolkit::MoveFocusOutOf(HWND hwnd)
{
    // A hidden, disabled or destroyed control would take the focus with it, and keys would
    // then reach the window only as system keys; the window keeps it instead.
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == hwnd || IsChild(hwnd, focus))) {
        lastFocus_ = nullptr;
        ::SetFocus(main_);
    }
}

void Toolkit::ShowPendingMessage()
{
    if (!message_)
        return;
    const std::wstring message = *std::exchange(message_, std::nullopt);
    const std::wstring caption = Utf16(At({form::Id::Form1}).entry->Text);
    MessageBoxW(main_, message.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    if (form_ != nullptr)
        form_->MessageDismissed();
}

bool Toolkit::InsertByRule(HWND box, std::wstring_view text)
{
    const Widget* widget = WidgetOf(box);
    if (widget == nullptr || !widget->rule || (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0)
        return widget != nullptr && widget->rule.has_value();
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const std::string kept8 = drill::AcceptedInsertion(*widget->rule, Utf8(WindowText(box)), from, to, Utf8(text));
    const std::wstring kept = Utf16(kept8);
    if (!kept.empty())
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
    return true;
}

void Toolkit::KeepToRule(HWND box)
{
    const Widget* widget = WidgetOf(box);
    if (settingText_ || widget == nullptr || !widget->rule)
        return;
    const std::wstring text = WindowText(box);
    const std::wstring kept = Utf16(drill::AcceptedInsertion(*widget->rule, "", 0, 0, Utf8(text)));
    if (kept != text)
        SetWindowTextW(box, kept.c_str());
}

void Toolkit::ArmPause()
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Now());
    if (left.count() <= 0)
        PostMessageW(main_, kPauseDue, 0, 0);
    else
        SetTimer(main_, kPauseTimer, static_cast<UINT>(left.count()), nullptr);
}

void Toolkit::PauseDue()
{
    KillTimer(main_, kPauseTimer);
    // A message may be left from an earlier pause.
    if (!pausing_)
        return;
    pausing_ = false;
    if (form_ != nullptr)
        form_->PauseElapsed();
}

void Toolkit::Timer(UINT_PTR id)
{
    if (id == kPauseTimer)
        PauseDue();
    else if (form_ != nullptr && id >= 1 && id <= static_cast<UINT_PTR>(form::kControlCount))
        form_->Timer(static_cast<form::Id>(id - 1));
}

void Toolkit::ChangeScale(UINT dpi, const RECT* suggested)
{
    scale_ = dpi / kDesignDpi;
    // The old fonts stay until every control has a new one.
    const std::unique_ptr<Fonts> old = std::exchange(fonts_, std::make_unique<Fonts>(scale_));
    auto rescale = [this](Widget& widget) {
        if (widget.hwnd == nullptr || widget.entry->Type == form::Kind::Window)
            return;
        ApplyFont(widget);
        Place(widget);
        if (widget.entry->Type == form::Kind::Label && widget.entry->Has(form::AutoSize))
            FitToText(widget);
    };
    widgets_.ForEach(rescale);
    ComposeTitle();
    SetIcons();
    if (suggested != nullptr)
        SetWindowPos(main_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeClient();
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace win32
