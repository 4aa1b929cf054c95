#pragma once

#include "drill/drill_state.h"
#include "drill/exercise_text.h"
#include "drill/marking.h"
#include "drill/random_source.h"
#include "drill/settings.h"
#include "form/controls.h"
#include "form/task.h"
#include "form/toolkit.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drill {
struct Slide;
}

namespace form {

// Key codes as the key handler receives them (the Windows virtual-key codes) and the bits of
// the shift state.
namespace keys {
inline constexpr int Tab = 9, Enter = 13, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36,
                     Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;
} // namespace keys

// The state Form1 keeps of every control that it changes while the program runs.
struct ControlState {
    float Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool Enabled = true;
    bool Shown = true; // what the toolkit was last told
    std::string Text;  // as last written by Form1 (typed text is asked of the toolkit)
    std::optional<Rgb> Fore;
    bool Locked = false;
    bool StrikeOut = false;
};

// How one exercise ended, for whoever keeps the class's results.
struct Outcome {
    drill::Exercise Exercise; // the settings Start accepted, locked or not
    int Correct = 0, Wrong = 0, Empty = 0, Grade = 0;
    std::int64_t SecondsUsed = 0;
};

// The one window's behaviour, free of any toolkit: the order of every step of Start, the
// results toggle, "Znovu" and the finish; the problem list with its keys and easing; the clock;
// and the guards that keep one sequence at a time. A frontend realises the Toolkit calls and
// reports what happens in the window through Clicked, KeyDown, GotFocus, Timer, PauseElapsed,
// MessageDismissed and Form_Unload. The list is in problem_list.cpp, the slides in
// transitions.cpp, the end of an exercise in finish.cpp, focus and keyboard rules in focus.cpp.
class Form1 {
public:
    // Without a seed the random source starts from the seconds since midnight.
    explicit Form1(Toolkit& toolkit, std::optional<std::uint32_t> seed = std::nullopt);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates every control of the table, runs Form_Load and puts the focus on "Start".
    void Load();
    // Puts a teacher's exercise into the settings panel as if it had been typed; locked, the
    // pupils cannot change it, and "Znovu" brings it back as it was.
    void ApplyExercise(const drill::Exercise& exercise);
    // Tells the teacher something in a message.
    void Tell(std::string_view message);

    // Start has accepted the settings; an exercise has ended, marked and graded (told as its
    // finish begins, so that closing the window during the finish loses nothing).
    std::function<void(const drill::Exercise&)> Started;
    std::function<void(const Outcome&)> Finished;

    // What happens in the window.
    void Clicked(Control button);
    // A key pressed down in a control; true when Form1 used it and the toolkit must not.
    bool KeyDown(Control control, int key, int shift);
    // A control gained the focus. Reporting the control that already had it changes nothing.
    void GotFocus(Control control);
    // A timer fired; every interval that has passed since its last tick is a tick of its own.
    void Timer(Id timer);
    // The pause of the waiting sequence is over, or, where the platform's timer came early, it
    // is asked for again.
    void PauseElapsed();
    // The pupil has dismissed the refusal of the settings: the box at fault takes the focus.
    void MessageDismissed();
    // The window is closing: every sequence still waiting ends at once, and nothing else runs.
    void Form_Unload();

    // The handlers and methods of the window.
    void Form_Load();
    Task<> Command3_Click();
    Task<> Command2_Click();
    Task<> Command4_Click();
    void Command1_Click();
    Task<> JeHotovo();
    void VymysliPriklady();
    void txtVysl_GotFocus(int index);
    bool txtVysl_KeyDown(int index, int key, int shift);
    void Timer1_Timer();
    void StartClock();
    void tmrCas_Timer();

    // The twelve values of the settings panel, as the toolkit holds them now.
    drill::SettingsInput SettingsInput() const;

    const drill::DrillState& State() const { return state_; }
    const ControlState& StateOf(Control control) const;
    int RowCount() const { return controls_.RowCount(); }
    bool SequenceRunning() const { return sequence_; }
    bool TimerEnabled(Id timer) const { return timerEnabled_[static_cast<std::size_t>(timer)]; }
    std::optional<Control> Focused() const { return focused_; }
    // Shown, enabled with all its containers, and not wholly clipped away or covered by a
    // panel or button above it: a control the pupil can see and use. An answer box counts as
    // in view wherever the list has scrolled it, as long as the list frame is in view.
    bool InView(Control control) const;

private:
    class Sequence;
    struct Pause;
    enum class Axis { Left, Top };
    struct Rect {
        float Left, Top, Right, Bottom;
        bool Empty() const { return Right <= Left || Bottom <= Top; }
    };

    ControlState& At(Control control);
    void Move(Control control, float left, float top);
    void SetLeft(Id panel, float left) { Move({panel}, left, At({panel}).Top); }
    void SetTop(Id panel, float top) { Move({panel}, At({panel}).Left, top); }
    void Show(Control control, bool visible);
    void UpdateShown(Control control);
    void UpdateShownOnWindow();
    void Realise(Control control, bool shown);
    bool Holds(Control container, Control control) const;
    void DropFocus();
    // The time left in words on the clock panel, for a screen reader; the focused clock waits.
    void DescribeClock();
    void ClockLeft();
    void Enable(Control control, bool enabled);
    void SetCaption(Control control, std::string text);
    void SetColour(Control control, Rgb colour);
    void Focus(Control control);
    void EnableTimer(Id timer, bool enabled);

    Pause Wait(std::chrono::milliseconds duration);
    Pause PaintAndWait(std::chrono::milliseconds duration);
    Task<bool> SlidePanel(Id panel, Axis axis, const drill::Slide& slide);
    Task<bool> ToggleResults();
    void ShowRefusal(const drill::SettingsRefusal& refusal);

    void AddRow(int index, const drill::ProblemRecord& problem);
    void RemoveRows();
    void ShowMark(int index, drill::AnswerMark mark);

    bool Effective(Control control, bool ControlState::*flag) const;
    bool CanTakeFocus(Control control) const;
    void MoveFocusByTab(Control from, bool backwards);
    Rect BoundsInWindow(Control control) const;
    Rect VisiblePart(Control control) const;
    bool Covered(Control control, const Rect& visible, float slack = 0) const;

    Toolkit& toolkit_;
    drill::DrillState state_;
    drill::RandomSource random_;

    ControlMap<ControlState> controls_;
    std::array<bool, kControlCount> timerEnabled_{};
    // When each running timer's next tick falls due.
    std::array<Toolkit::Clock::time_point, kControlCount> timerDue_{};
    std::optional<Control> focused_;
    // The box at fault while the refusal of the settings is shown.
    std::optional<Control> refused_;
    bool settingsLocked_ = false;
    // What Start accepted, for Finished.
    drill::Exercise started_;
    // What the clock panel was last described with: a screen reader reads out every change.
    std::string clockWords_;
    // The counts and the grade of the last finish, as a screen reader hears them with the results.
    std::string spokenResults_;

    bool loaded_ = false;
    bool closed_ = false;
    bool sequence_ = false;
    // From the end of "Start" until the finish begins: the only time "Hotovo!" may act.
    bool exerciseRunning_ = false;
    // The sequence waiting for its pause, and the deadline it waits for: the nominal pauses
    // added up from the start of the sequence, so painting never stretches a sequence.
    coro::coroutine_handle<> paused_;
    Toolkit::Clock::time_point deadline_{};
};

// What a screen reader says for the clock: "1 minuta 40 sekund", "2 hodiny 5 minut".
std::string SpokenTime(std::int64_t seconds);

// The caption of a problem row: "7 + 5 =", "3 · 4 =", "-3 + 8 =".
std::string RowCaption(const drill::ProblemRecord& problem);

// The problem as a screen reader says it, in words where the caption has signs that a reader
// would name as punctuation: "7 plus 5", "20 děleno 5", "mínus 3 plus 8".
std::string SpokenProblem(const drill::ProblemRecord& problem);

} // namespace form
