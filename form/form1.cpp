#include "form/form1.h"

#include "drill/clock.h"
#include "form/sequence.h"

#include <utility>

namespace form {

namespace {

std::string Counted(std::int64_t n, const char* one, const char* few, const char* many)
{
    const char* word = n == 1 ? one : (n >= 2 && n <= 4) ? few : many;
    return std::to_string(n) + " " + word;
}

} // namespace

std::string SpokenTime(std::int64_t seconds)
{
    // The fields the clock shows: hours of the day, minutes, seconds.
    const std::string shown = drill::FormatClock(seconds);
    const int h = std::stoi(shown.substr(0, 2));
    const int m = std::stoi(shown.substr(3, 2));
    const int s = std::stoi(shown.substr(6, 2));
    std::string spoken;
    auto add = [&](int n, const char* one, const char* few, const char* many) {
        if (n == 0)
            return;
        if (!spoken.empty())
            spoken += ' ';
        spoken += Counted(n, one, few, many);
    };
    add(h, "hodina", "hodiny", "hodin");
    add(m, "minuta", "minuty", "minut");
    add(s, "sekunda", "sekundy", "sekund");
    return spoken.empty() ? "0 sekund" : spoken;
}

Form1::Form1(Toolkit& toolkit, std::optional<std::uint32_t> seed)
    : toolkit_(toolkit), random_(seed.value_or(drill::SecondsSinceMidnightSeed()))
{
}

Form1::~Form1() { Form_Unload(); }

void Form1::Load()
{
    for (const ControlEntry& entry : ControlTable()) {
        ControlState& state = controls_[{entry.Which}];
        state.Left = entry.Left;
        state.Top = entry.Top;
        state.Width = entry.Width;
        state.Height = entry.Height;
        state.Visible = state.Shown = !entry.Has(Hidden);
        state.Text = entry.Text;
        state.Fore = entry.Fore;
        toolkit_.Create(entry);
    }
    // The easing timer runs from the moment the window exists.
    for (const ControlEntry& entry : ControlTable())
        if (entry.Type == Kind::Timer && !entry.Has(Disabled))
            EnableTimer(entry.Which, true);
    loaded_ = true;
    Form_Load();
    Focus({Id::Command3});
}

ControlState& Form1::At(Control control) { return controls_[control]; }

const ControlState& Form1::StateOf(Control control) const { return controls_[control]; }

void Form1::Move(Control control, float left, float top)
{
    ControlState& state = At(control);
    state.Left = left;
    state.Top = top;
    toolkit_.SetPosition(control, left, top);
    UpdateShown(control);
}

void Form1::Show(Control control, bool visible)
{
    At(control).Visible = visible;
    UpdateShown(control);
}

void Form1::UpdateShown(Control control)
{
    if (Entry(control.Which).Container == Id::Form1)
        UpdateShownOnWindow();
    else
        Realise(control, At(control).Visible);
}

void Form1::UpdateShownOnWindow()
{
    // A panel or button of the window that lies wholly beyond the client area, or wholly under
    // another one, is not shown at all, so that no screen reader reads out what the pupil
    // cannot see: the results waiting outside, "Hotovo!" under the title or under "Známka".
    // Topmost first, so that what covers a control is settled before the control itself.
    for (const ControlEntry& entry : ControlTable()) {
        if (entry.Container != Id::Form1 || entry.Which == Id::Form1)
            continue;
        const Control control{entry.Which};
        bool shown = At(control).Visible;
        if (shown && (entry.Type == Kind::Panel || entry.Type == Kind::Button)) {
            const Rect r = VisiblePart(control);
            shown = !r.Empty() && !Covered(control, r);
        }
        Realise(control, shown);
    }
}

void Form1::Realise(Control control, bool shown)
{
    ControlState& state = At(control);
    if (shown == state.Shown)
        return;
    // Hidden with the focus in it, the toolkit would hand the focus to a control of its own
    // choosing, and a screen reader would name that control on the way.
    if (!shown && focused_ && Holds(control, *focused_))
        DropFocus();
    state.Shown = shown;
    toolkit_.SetVisible(control, shown);
}

bool Form1::Holds(Control container, Control control) const
{
    for (Control c = control;; c = {Entry(c.Which).Container}) {
        if (c == container)
            return true;
        if (c.Which == Id::Form1)
            return false;
    }
}

void Form1::DropFocus()
{
    const bool leftClock = focused_ == Control{Id::Picture4};
    focused_.reset();
    toolkit_.ClearFocus();
    if (leftClock)
        ClockLeft();
}

void Form1::ClockLeft()
{
    // A running clock catches up at its next tick, once the screen reader has moved on with the
    // focus; told now, it would read the time out over the control the pupil went to.
    if (!TimerEnabled(Id::tmrCas))
        DescribeClock();
}

void Form1::DescribeClock()
{
    // The clock the pupil has tabbed to keeps the time it was reached with, or a screen reader
    // would speak every second; it catches up once the focus has left it.
    std::string words = SpokenTime(state_.SecondsLeft);
    if (focused_ != Control{Id::Picture4} && words != clockWords_) {
        clockWords_ = std::move(words);
        toolkit_.SetAccessibleDescription({Id::Picture4}, clockWords_);
    }
}

void Form1::Enable(Control control, bool enabled)
{
    At(control).Enabled = enabled;
    toolkit_.SetEnabled(control, enabled);
}

void Form1::SetCaption(Control control, std::string text)
{
    toolkit_.SetText(control, text);
    At(control).Text = std::move(text);
}

void Form1::SetColour(Control control, Rgb colour)
{
    At(control).Fore = colour;
    toolkit_.SetTextColour(control, colour);
}

void Form1::Focus(Control control)
{
    toolkit_.SetFocus(control);
    // The toolkit reports the change too, at once or when the window is next active; the
    // second report is then no change.
    GotFocus(control);
}

void Form1::EnableTimer(Id timer, bool enabled)
{
    bool& current = timerEnabled_[static_cast<std::size_t>(timer)];
    if (current == enabled)
        return;
    current = enabled;
    const std::chrono::milliseconds interval(Entry(timer).IntervalMs);
    if (enabled) {
        timerDue_[static_cast<std::size_t>(timer)] = toolkit_.Now() + interval;
        toolkit_.StartTimer(timer, interval);
    } else {
        toolkit_.StopTimer(timer);
    }
}

Form1::Pause Form1::Wait(std::chrono::milliseconds duration) { return Pause{*this, duration}; }

Form1::Pause Form1::PaintAndWait(std::chrono::milliseconds duration)
{
    toolkit_.RepaintNow();
    return Pause{*this, duration};
}

void Form1::PauseElapsed()
{
    // Platform timers may fire a little before their time; the sequence keeps its pace.
    if (paused_ && !closed_ && toolkit_.Now() < deadline_) {
        toolkit_.StartPause(deadline_);
        return;
    }
    if (auto sequence = std::exchange(paused_, {}))
        sequence.resume();
}

void Form1::Form_Unload()
{
    if (closed_)
        return;
    closed_ = true;
    // The waiting sequence sees the window closing and unwinds without touching a control.
    PauseElapsed();
}

void Form1::Clicked(Control button)
{
    if (closed_ || sequence_ || !InView(button))
        return;
    switch (button.Which) {
    case Id::Command1:
        Command1_Click();
        break;
    case Id::Command2:
        (void)Command2_Click();
        break;
    case Id::Command3:
        (void)Command3_Click();
        break;
    case Id::Command4:
        (void)Command4_Click();
        break;
    default:
        break;
    }
}

void Form1::Timer(Id timer)
{
    if (closed_ || !TimerEnabled(timer) || (timer != Id::Timer1 && timer != Id::tmrCas))
        return;
    // A firing is one tick however early it comes; one that comes late (a busy machine, a tab
    // the browser left in the background) also makes up every tick that fell due meanwhile, so
    // the clock keeps its time and the easing its pace. Slides and the finish hold the timers
    // still: what falls due during them waits.
    const std::chrono::milliseconds interval(Entry(timer).IntervalMs);
    auto& due = timerDue_[static_cast<std::size_t>(timer)];
    do {
        due += interval;
        if (timer == Id::Timer1)
            Timer1_Timer();
        else
            tmrCas_Timer();
    } while (!closed_ && !sequence_ && TimerEnabled(timer) && toolkit_.Now() >= due);
}

drill::SettingsInput Form1::SettingsInput() const
{
    drill::SettingsInput input;
    for (std::size_t i = 0; i < input.Texts.size(); ++i)
        input.Texts[i] = toolkit_.Text({kSettingsBoxes[i]});
    for (std::size_t i = 0; i < input.Checks.size(); ++i)
        input.Checks[i] = toolkit_.Value({kSettingsBoxes[input.Texts.size() + i]});
    return input;
}

void Form1::ApplyExercise(const drill::Exercise& exercise)
{
    const auto& [texts, checks] = exercise.Settings;
    for (std::size_t i = 0; i < texts.size(); ++i)
        SetCaption({kSettingsBoxes[i]}, texts[i]);
    for (std::size_t i = 0; i < checks.size(); ++i)
        toolkit_.SetValue({kSettingsBoxes[texts.size() + i]}, checks[i]);
    settingsLocked_ = exercise.Locked;
    for (const Id box : kSettingsBoxes) {
        At({box}).Locked = settingsLocked_;
        toolkit_.SetLocked({box}, settingsLocked_);
    }
}

void Form1::Tell(std::string_view message)
{
    refused_.reset();
    toolkit_.ShowMessage(message);
}

void Form1::StartClock()
{
    drill::StartCountdown(state_.SecondsLeft, state_.TimeLimit);
    tmrCas_Timer();
    // A limit used up by the first tick has finished the exercise; the timer must not run on.
    if (state_.SecondsLeft > 0)
        EnableTimer(Id::tmrCas, true);
}

void Form1::tmrCas_Timer()
{
    const bool timeIsUp = drill::CountdownTick(state_.SecondsLeft);
    SetCaption({Id::lblCas}, drill::FormatClock(state_.SecondsLeft));
    DescribeClock();
    // A pupil who cannot see the clock hears once that a minute is left, and ten seconds; not
    // on the tick that starts the clock, which only shows the limit.
    if (TimerEnabled(Id::tmrCas) && (state_.SecondsLeft == 60 || state_.SecondsLeft == 10))
        toolkit_.Announce("Zbývá " + SpokenTime(state_.SecondsLeft));
    if (timeIsUp)
        (void)JeHotovo();
}

} // namespace form
