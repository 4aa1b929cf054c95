// The controls of the window: which Win32 control stands for each kind of the table, where it
// goes at the window's scale, and the colours and fonts it is drawn in.

#include "win32/control_ids.h"
#include "win32/text.h"
#include "win32/title_picture.h"
#include "win32/toolkit.h"

#include <commctrl.h>

#include <cmath>

namespace win32 {

// In window.cpp: the panels' window class and the procedure every control is subclassed with.
extern const wchar_t* const kPanelClass;
LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

namespace {

using form::Kind;

constexpr float kBoxMargin = 2; // between an edit box's border and its text

COLORREF ColourRef(form::Rgb colour) { return RGB(colour.R, colour.G, colour.B); }

DWORD LabelAlignment(const form::ControlEntry& entry)
{
    if (entry.Has(form::AlignRight))
        return SS_RIGHT;
    // A left-aligned caption never wraps; it is clipped like a fixed-size label's.
    return entry.Has(form::Centred) ? SS_CENTER : SS_LEFTNOWORDWRAP;
}

DWORD BoxAlignment(const form::ControlEntry& entry)
{
    if (entry.Has(form::AlignRight))
        return ES_RIGHT;
    return entry.Has(form::Centred) ? ES_CENTER : ES_LEFT;
}

bool Fitted(const form::ControlEntry& entry) { return entry.Type == Kind::Label && entry.Has(form::AutoSize); }

} // namespace

Toolkit::Widget& Toolkit::At(form::Control control) { return widgets_[control]; }

const Toolkit::Widget& Toolkit::At(form::Control control) const { return widgets_[control]; }

form::Control Toolkit::ControlOf(HWND hwnd) const
{
    if (hwnd == main_)
        return {form::Id::Form1};
    return win32::ControlOf(GetDlgCtrlID(hwnd));
}

Toolkit::Widget* Toolkit::WidgetOf(HWND hwnd)
{
    if (hwnd == nullptr || !IsChild(main_, hwnd) || GetDlgCtrlID(hwnd) == kNoControl)
        return nullptr;
    const form::Control control = ControlOf(hwnd);
    if (!widgets_.Has(control))
        return nullptr;
    Widget& widget = At(control);
    return widget.hwnd == hwnd ? &widget : nullptr;
}

HWND Toolkit::ContainerOf(const Widget& widget) const
{
    return At({widget.entry->Container}).hwnd;
}

int Toolkit::Scaled(float pixels) const { return static_cast<int>(std::lround(pixels * scale_)); }

void Toolkit::Create(const form::ControlEntry& entry)
{
    Widget& widget = At({entry.Which});
    widget.entry = &entry;
    widget.left = entry.Left;
    widget.top = entry.Top;
    widget.width = entry.Width;
    widget.height = entry.Height;
    widget.fore = entry.Fore;
    if (entry.Type == Kind::Window)
        CreateMainWindow(entry);
    else if (entry.Type != Kind::Timer)
        CreateControl({entry.Which}, widget, !entry.Has(form::Hidden));
}

void Toolkit::CreateRow(int index)
{
    widgets_.AddRow(index, At({form::Id::lblPrikl}), At({form::Id::txtVysl}));
    // Label first: the static just before an edit box in creation order is what names the
    // box for a screen reader.
    CreateControl({form::Id::lblPrikl, index}, At({form::Id::lblPrikl, index}), false);
    CreateControl({form::Id::txtVysl, index}, At({form::Id::txtVysl, index}), false);
}

void Toolkit::RemoveRow(int index)
{
    for (form::Id which : {form::Id::lblPrikl, form::Id::txtVysl}) {
        HWND hwnd = At({which, index}).hwnd;
        MoveFocusOutOf(hwnd);
        if (lastFocus_ == hwnd)
            lastFocus_ = nullptr;
        DestroyWindow(hwnd);
    }
    widgets_.RemoveRow(index);
}

void Toolkit::CreateControl(form::Control control, Widget& widget, bool visible)
{
    const form::ControlEntry& entry = *widget.entry;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0U);
    DWORD exStyle = 0;
    const wchar_t* windowClass = L"STATIC";
    std::wstring text = Utf16(entry.Text);
    switch (entry.Type) {
    case Kind::Panel:
        windowClass = kPanelClass;
        style |= WS_CLIPCHILDREN;
        text.clear();
        break;
    case Kind::Label:
        style |= SS_NOPREFIX | LabelAlignment(entry);
        break;
    case Kind::Image:
        style |= SS_OWNERDRAW;
        text.clear();
        break;
    case Kind::TextBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | BoxAlignment(entry);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::CheckBox:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    case Kind::Button:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case Kind::Window:
    case Kind::Timer:
        return;
    }
    widget.hwnd = CreateWindowExW(exStyle, windowClass, text.c_str(), style, Scaled(widget.left), Scaled(widget.top),
                                  Scaled(widget.width), Scaled(widget.height), ContainerOf(widget),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))), instance_, this);
    ApplyFont(widget);
    if (entry.Type == Kind::TextBox && entry.MaxLength > 0)
        SendMessageW(widget.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(entry.MaxLength), 0);
    if (entry.Type == Kind::CheckBox)
        SendMessageW(widget.hwnd, BM_SETCHECK, entry.Has(form::Checked) ? BST_CHECKED : BST_UNCHECKED, 0);
    // The panels' own procedure answers for them; the system's controls are subclassed.
    if (entry.Type != Kind::Panel)
        SetWindowSubclass(widget.hwnd, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // A panel that takes the focus is read as the text it shows.
    if (entry.Has(form::TabStop))
        accessibles_[widget.hwnd].reset(
            new Accessible(widget.hwnd, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY));
    if (entry.AccessibleName != nullptr)
        SetAccessibleName(control, entry.AccessibleName);
    if (entry.Type == Kind::Image)
        ComposeTitle();
    if (Fitted(entry))
        FitToText(widget);
}

void Toolkit::ApplyFont(Widget& widget)
{
    const form::ControlEntry& entry = *widget.entry;
    if (entry.Font == form::Face::None || widget.hwnd == nullptr)
        return;
    HFONT font = fonts_->Get(entry.Font, entry.FontPx, entry.Has(form::Regular), widget.strikeOut);
    SendMessageW(widget.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // An edit box takes margins from its font, a third of a digit at 37 pixels; the answer
    // belongs at the left of its box.
    if (entry.Type == Kind::TextBox)
        SendMessageW(widget.hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(Scaled(kBoxMargin), Scaled(kBoxMargin)));
}

void Toolkit::Place(const Widget& widget)
{
    const UINT keepSize = Fitted(*widget.entry) ? SWP_NOSIZE : 0U;
    SetWindowPos(widget.hwnd, nullptr, Scaled(widget.left), Scaled(widget.top), Scaled(widget.width),
                 Scaled(widget.height), SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
}

void Toolkit::FitToText(Widget& widget)
{
    // Grows right and down from the label's corner, so its left and top stay where Form1 put them.
    const std::wstring text = WindowText(widget.hwnd);
    HDC dc = GetDC(widget.hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(widget.hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(widget.hwnd, dc);
    SetWindowPos(widget.hwnd, nullptr, 0, 0, size.cx, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Toolkit::ComposeTitle()
{
    const Widget& image = At({form::Id::Image1});
    if (title_ != nullptr)
        DeleteObject(title_);
    title_ = win32::ComposeTitle(instance_, ColourRef(BackgroundOf(image)), Scaled(image.width), Scaled(image.height),
                                 scale_);
    InvalidateRect(image.hwnd, nullptr, FALSE);
}

bool Toolkit::ShowsFocusFrame(HWND panel)
{
    const Widget* widget = WidgetOf(panel);
    return widget != nullptr && widget->entry->Has(form::TabStop) && GetFocus() == panel;
}

void Toolkit::DrawFocusFrame(HWND panel, HWND onto) const
{
    // A dotted white line a pixel inside the panel's edge, drawn by the panel and again by each
    // child over the part that it covers.
    RECT frame{};
    GetClientRect(panel, &frame);
    InflateRect(&frame, -Scaled(1), -Scaled(1));
    MapWindowPoints(panel, onto, reinterpret_cast<POINT*>(&frame), 2);
    const LOGBRUSH white{BS_SOLID, RGB(255, 255, 255), 0};
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &white, 0, nullptr);
    HDC dc = GetDC(onto);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    ReleaseDC(onto, dc);
    DeleteObject(pen);
}

bool Toolkit::DrawTitle(const DRAWITEMSTRUCT& item) const
{
    if (title_ == nullptr || item.CtlType != ODT_STATIC)
        return false;
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, title_);
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return true;
}

HBRUSH Toolkit::Brush(form::Rgb colour)
{
    const COLORREF key = ColourRef(colour);
    auto [it, made] = brushes_.try_emplace(key, nullptr);
    if (made)
        it->second = CreateSolidBrush(key);
    return it->second;
}

form::Rgb Toolkit::BackgroundOf(const Widget& widget) const
{
    // What shows through a label or the picture's key colour: the panel it lies on.
    const form::ControlEntry& entry = *widget.entry;
    if (entry.Type == Kind::TextBox || entry.Type == Kind::CheckBox || entry.Type == Kind::Panel)
        return entry.Back.value_or(form::Rgb{});
    return At({entry.Container}).entry->Back.value_or(form::Rgb{});
}

LRESULT Toolkit::ControlColours(HDC dc, HWND child)
{
    const Widget* widget = WidgetOf(child);
    if (widget == nullptr)
        return 0;
    const form::Rgb back = BackgroundOf(*widget);
    SetTextColor(dc, ColourRef(widget->fore.value_or(form::Rgb{})));
    SetBkColor(dc, ColourRef(back));
    // Labels and check box captions are drawn over their background, never in a box of it.
    if (widget->entry->Type != Kind::TextBox)
        SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(Brush(back));
}

} // namespace win32
