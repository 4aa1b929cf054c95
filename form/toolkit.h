#pragma once

#include "drill/answer_input.h"
#include "form/controls.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace form {

// What Form1's behaviour asks of a window toolkit, and all it asks. Positions and sizes are
// pixels at 96 dots per inch in the container's coordinates; a frontend may scale them for the
// screen. Texts are UTF-8.
//
// What a frontend owes Form1, besides the calls below. It holds no step order, rule or guard of
// its own: those are Form1's.
// - Clicks: a press of a push button (mouse, touch, a screen reader's action, Space on the
//   focused button as the platform does it) goes to Form1::Clicked. Check boxes tick themselves
//   and are not reported.
// - Keys: every key down with a code of form::keys (Tab, Enter, Space, arrows, Page Up/Down,
//   Home, End), in any control or with no control focused, goes to Form1::KeyDown first, mapped
//   by what the key is, never by its code value; when KeyDown returns true the control never
//   sees the key. So Enter on a focused button is Form1's to press, and no button is the
//   window's default. Characters never go to KeyDown.
// - Focus: every focus change to a control goes to Form1::GotFocus, the ones Form1 made by
//   SetFocus too (at once or when the window is next active; a second report of the same
//   control is no change). The toolkit never moves the focus on its own, and a box taking the
//   focus, by Tab or otherwise, selects nothing.
// - Time: timers tick on the window's thread between handlers, never into one; a late tick is
//   made up by Form1. A pause's deadline is met by calling Form1::PauseElapsed at or after it
//   (Form1 asks again when it came early). While a pause runs, clicks, keys and wheel turns
//   aimed at the window are dropped; the window keeps painting and answering the desktop.
// - Closing: Form1::Form_Unload runs before any control is destroyed.
// - Messages: once the pupil has dismissed one, Form1::MessageDismissed.
class Toolkit {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~Toolkit() = default;

    // Creates one control of the table, in table order (containers first, siblings topmost
    // first), with the entry's place, text, font, colours, flags and starting state. A timer is
    // made stopped; Form1 starts it.
    virtual void Create(const ControlEntry& entry) = 0;
    // Creates lblPrikl(index) and then txtVysl(index) as copies of their element 0: same
    // container, kind, left, size, font, colours, alignment and character limit; hidden, empty.
    virtual void CreateRow(int index) = 0;
    virtual void RemoveRow(int index) = 0;

    virtual void SetPosition(Control control, float left, float top) = 0;
    virtual void SetSize(Control control, float width, float height) = 0;
    // Shows or hides the control on the screen. Form1 also hides a panel of the window while it
    // lies wholly beyond the client area, so that no screen reader reports it as showing.
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    // A label's or button's caption, or a text box's text, set whatever the box's input rule.
    // An auto-size label grows to fit.
    virtual void SetText(Control control, std::string_view text) = 0;
    virtual std::string Text(Control control) const = 0;
    // A check box: 0 clear, 1 ticked, 2 greyed.
    virtual int Value(Control control) const = 0;
    virtual void SetValue(Control control, int value) = 0;
    virtual void SetTextColour(Control control, Rgb colour) = 0;
    // A locked text box or check box still takes the focus, and a screen reader still reads it,
    // but it no longer takes the user's edits: typed, pasted, clicked or a screen reader's.
    virtual void SetLocked(Control control, bool locked) = 0;
    virtual void SetStrikeOut(Control control, bool strikeOut) = 0;
    virtual void SetFocus(Control control) = 0;
    // Selects the whole text of a box.
    virtual void SelectAll(Control box) = 0;
    // No control holds the keyboard focus until Form1 gives it again; the window stays active.
    // Form1 clears it before it hides the control that holds it, so that the toolkit never
    // hands the focus on to a control of its own choosing and a screen reader never names one.
    virtual void ClearFocus() = 0;
    // What a screen reader calls the control, and what it adds after the control's value. Form1
    // never changes either while the control holds the focus.
    virtual void SetAccessibleName(Control control, std::string_view name) = 0;
    virtual void SetAccessibleDescription(Control control, std::string_view description) = 0;
    // Has a screen reader say `message` at once, without moving the focus; nothing is shown. The
    // same words said again are said again.
    virtual void Announce(std::string_view message) = 0;
    // Switches a text box to taking only what `rule` allows, or back to any text. While on,
    // every way text comes in (typed, pasted, dropped, an input method's, a tablet's on-screen
    // keyboard's) goes through drill::AcceptedInsertion, and the box's own character limit never
    // cuts what the rule keeps (a sign beside the digits; a paste cut before the rule sees it).
    // Returns the box's previous style word where the platform has one (Windows), 0 elsewhere.
    virtual std::int32_t TxtNumOnly(Control box, bool on, drill::AnswerRule rule) = 0;

    // A timer of the table ticks every interval from now on (the first tick one interval
    // later), reported through Form1::Timer; or no more.
    virtual void StartTimer(Id timer, std::chrono::milliseconds interval) = 0;
    virtual void StopTimer(Id timer) = 0;

    // Tells the teacher something (why the settings were refused, what of an exercise was not
    // understood) in a message the pupil dismisses.
    virtual void ShowMessage(std::string_view message) = 0;

    // Paints every pending change of the window before it returns.
    virtual void RepaintNow() = 0;

    // A pause of a running sequence: calls Form1::PauseElapsed once `deadline` has passed.
    virtual Clock::time_point Now() const = 0;
    virtual void StartPause(Clock::time_point deadline) = 0;
};

} // namespace form
