// The slides between the three screens, and the buttons that run them.

#include "form/form1.h"

#include "drill/motion.h"
#include "form/sequence.h"

#include <utility>
#include <variant>

namespace form {

using namespace std::chrono_literals;

namespace {

constexpr const char* kShowResults = "Známka";
constexpr const char* kShowProblems = "Příklady";

Control BoxOf(drill::SettingsBox box) { return {kSettingsBoxes[static_cast<std::size_t>(box)]}; }

} // namespace

void Form1::Form_Load()
{
    // The random source was seeded when Form1 was made; here the panels are parked.
    SetTop(Id::Picture2, 80000);
    SetLeft(Id::Picture5, 600);
    SetTop(Id::Picture5, 5);
}

Task<bool> Form1::SlidePanel(Id panel, Axis axis, const drill::Slide& slide)
{
    auto position = [&] { return axis == Axis::Left ? At({panel}).Left : At({panel}).Top; };
    auto place = [&](float value) { axis == Axis::Left ? SetLeft(panel, value) : SetTop(panel, value); };
    do {
        place(drill::SlideStep(position(), slide));
        if (!co_await PaintAndWait(50ms))
            co_return false;
    } while (drill::SlideContinues(position(), slide));
    place(slide.Final);
    co_return true;
}

Task<> Form1::Command3_Click()
{
    if (closed_ || sequence_)
        co_return;
    const drill::SettingsInput input = SettingsInput();
    const drill::SettingsVerdict verdict = drill::CheckSettings(input);
    if (const auto* refusal = std::get_if<drill::SettingsRefusal>(&verdict)) {
        ShowRefusal(*refusal);
        co_return;
    }
    Sequence sequence(*this);
    Show({Id::Picture1}, true);
    if (!co_await SlidePanel(Id::Picture6, Axis::Top, drill::slides::SettingsUp))
        co_return;
    if (!co_await SlidePanel(Id::Picture7, Axis::Left, drill::slides::TitleOut))
        co_return;
    Show({Id::Picture7}, false);
    drill::ReadSettings(state_, std::get<drill::Settings>(verdict));
    started_ = {input, settingsLocked_, {}};
    exerciseRunning_ = true;
    VymysliPriklady();
    Enable({Id::Picture6}, false);
    SetLeft(Id::Picture6, 165);
    // Told once the list is up: whatever it costs comes after the pupil's first problem.
    if (Started)
        Started(started_);
}

void Form1::ShowRefusal(const drill::SettingsRefusal& refusal)
{
    refused_ = BoxOf(refusal.Box);
    toolkit_.ShowMessage(drill::RefusalMessage(refusal));
}

void Form1::MessageDismissed()
{
    if (closed_ || !refused_)
        return;
    // The box at fault, its text selected, so that what the pupil types next replaces it.
    const Control box = *std::exchange(refused_, std::nullopt);
    Focus(box);
    if (Entry(box.Which).Type == Kind::TextBox)
        toolkit_.SelectAll(box);
}

Task<bool> Form1::ToggleResults()
{
    if (At({Id::Command2}).Text == kShowResults) {
        SetCaption({Id::Command2}, kShowProblems);
        if (!co_await SlidePanel(Id::Picture5, Axis::Left, drill::slides::ResultsIn))
            co_return false;
        if (!co_await SlidePanel(Id::Picture6, Axis::Top, drill::slides::SettingsIntoResults))
            co_return false;
        // What the pupil now sees, heard at once: the focus stays on the toggle.
        toolkit_.Announce(spokenResults_);
        co_return true;
    }
    if (!co_await SlidePanel(Id::Picture6, Axis::Top, drill::slides::SettingsUp))
        co_return false;
    SetCaption({Id::Command2}, kShowResults);
    // Not "co_return co_await": GCC 12 then never frees this coroutine's frame.
    const bool done = co_await SlidePanel(Id::Picture5, Axis::Left, drill::slides::ResultsOut);
    co_return done;
}

Task<> Form1::Command2_Click()
{
    if (closed_ || sequence_ || !At({Id::Command2}).Visible)
        co_return;
    Sequence sequence(*this);
    co_await ToggleResults();
}

Task<> Form1::Command4_Click()
{
    // "Znovu" lies beyond the right edge except on the results screen.
    if (closed_ || sequence_ || !InView({Id::Command4}))
        co_return;
    Sequence sequence(*this);
    if (!co_await ToggleResults())
        co_return;
    SetLeft(Id::Picture6, 300);
    RemoveRows();
    Show({Id::Picture7}, true);
    Enable({Id::Picture6}, true);
    if (!co_await SlidePanel(Id::Picture7, Axis::Left, drill::slides::TitleIn))
        co_return;
    Show({Id::Command2}, false);
    if (!co_await SlidePanel(Id::Picture6, Axis::Top, drill::slides::SettingsDown))
        co_return;
    Show({Id::Picture2}, false);
    Show({Id::Picture1}, false);
    // The pressed button now lies out of view; the next exercise starts where the first did.
    Focus({Id::Command3});
}

} // namespace form
