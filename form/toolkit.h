#pragma once

#include "form/controls.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace form {

// What Form1's behaviour asks of a window toolkit, and all it asks. A frontend realises these
// calls on its platform and reports what happens in the window back to Form1 through the calls
// named like their handlers (Form1::Clicked, KeyDown, GotFocus, Timer, PauseElapsed,
// Form_Unload). Positions and sizes are pixels at 96 dots per inch in the container's
// coordinates; a frontend may scale them for the screen. Texts are UTF-8.
class Toolkit {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~Toolkit() = default;

    // Creates one control of the table, in table order (containers first, siblings topmost
    // first), with the entry's place, text, font, colours, flags and starting state. Timers
    // are created too; one without the Disabled flag starts ticking at once.
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
    // A label's or button's caption, or a text box's text. An auto-size label grows to fit.
    virtual void SetText(Control control, std::string_view text) = 0;
    virtual std::string Text(Control control) const = 0;
    // A check box: 0 clear, 1 ticked, 2 greyed.
    virtual int Value(Control control) const = 0;
    virtual void SetTextColour(Control control, Rgb colour) = 0;
    // A locked text box still takes the focus but no longer takes the user's edits.
    virtual void SetLocked(Control control, bool locked) = 0;
    virtual void SetStrikeOut(Control control, bool strikeOut) = 0;
    virtual void SetFocus(Control control) = 0;
    // No control holds the keyboard focus until Form1 gives it again; the window stays active.
    // Form1 clears it before it hides the control that holds it, so that the toolkit never
    // hands the focus on to a control of its own choosing and a screen reader never names one.
    virtual void ClearFocus() = 0;
    // What a screen reader calls the control, and what it adds after the control's value. Form1
    // never changes either while the control holds the focus.
    virtual void SetAccessibleName(Control control, std::string_view name) = 0;
    virtual void SetAccessibleDescription(Control control, std::string_view description) = 0;
    // Has a screen reader say `message` at once, without moving the focus; nothing is shown.
    virtual void Announce(std::string_view message) = 0;
    // Switches a text box between digits-only input and free input; returns the box's previous
    // style word where the platform has one (Windows), 0 elsewhere. Digits only refuses every
    // character but 0 to 9, typed or pasted.
    virtual std::int32_t TxtNumOnly(Control box, bool on) = 0;

    // A timer of the table ticks every interval from now on (the first tick one interval
    // later), reported through Form1::Timer; or no more.
    virtual void StartTimer(Id timer, std::chrono::milliseconds interval) = 0;
    virtual void StopTimer(Id timer) = 0;

    // Tells the teacher why the settings were refused; once the message is dismissed, the
    // focus goes to `box` with its text selected.
    virtual void ShowRefusal(Control box, std::string_view message) = 0;

    // Paints every pending change of the window before it returns.
    virtual void RepaintNow() = 0;

    // A pause of a running sequence: calls Form1::PauseElapsed once `deadline` has passed. While
    // a pause runs, the window keeps painting and answering the desktop but takes no clicks,
    // keys or wheel turns: the blocking pause of the design without the frozen window.
    virtual Clock::time_point Now() const = 0;
    virtual void StartPause(Clock::time_point deadline) = 0;
};

} // namespace form
