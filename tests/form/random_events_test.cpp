// Thousands of random clicks, keys, typed answers, timer ticks and pauses, and a close at a
// random moment, with the window's invariants checked after every event.

#include "fake_toolkit.h"

#include "drill/marking.h"

#include <random>

namespace form::test {
namespace {

struct Model {
    std::map<int, std::string> typed; // what the pupil managed to type, by row
    bool marked = false;
};

void CheckInvariants(Window& w, Model& model, const std::string& event)
{
    SCOPED_TRACE(event);
    EXPECT_EQ(w.form.SequenceRunning(), w.toolkit.pending.has_value()) << "a sequence runs only while it waits";
    const int n = w.form.RowCount();
    EXPECT_EQ(w.toolkit.controls.count(Name({Id::txtVysl, n + 1})), 0U) << "a row left behind";
    for (int i = 1; i <= n; ++i)
        ASSERT_EQ(w.toolkit.controls.count(Name({Id::txtVysl, i})), 1U) << "row " << i << " missing";

    const bool startScreen = w[{Id::Picture7}].Visible;
    if (!w.form.SequenceRunning()) {
        EXPECT_EQ(w[{Id::Picture6}].Enabled, startScreen) << "the settings are editable exactly on the start screen";
    }

    const bool finished = w[{Id::Command2}].Visible;
    if (finished && !model.marked && !w.form.SequenceRunning()) {
        model.marked = true;
        int counts[3] = {};
        for (int i = 1; i <= n; ++i) {
            const std::string& typed = model.typed[i];
            const drill::AnswerMark mark = drill::MarkAnswer(typed, static_cast<std::int16_t>(w.result(i)));
            ++counts[static_cast<int>(mark)];
            const FakeControl& box = w.box(i);
            EXPECT_TRUE(box.Locked);
            EXPECT_EQ(box.Text, mark == drill::AnswerMark::Empty ? "?" : typed) << "row " << i;
            EXPECT_EQ(box.StrikeOut, mark == drill::AnswerMark::Wrong) << "row " << i;
        }
        EXPECT_EQ(std::stoi(w.text(Id::Label10)), counts[0]);
        EXPECT_EQ(std::stoi(w.text(Id::Label11)), counts[1]);
        EXPECT_EQ(std::stoi(w.text(Id::Label12)), counts[2]);
    }
    if (!finished) {
        model.marked = false;
        if (n == 0)
            model.typed.clear();
    }
}

TEST(RandomEvents, NoSequenceOverlapsNoAnswerIsLostAndCountsAddUp)
{
    constexpr Id kButtons[] = {Id::Command1, Id::Command2, Id::Command3, Id::Command4};
    constexpr int kKeys[] = {keys::Enter, keys::Up, keys::Down, keys::PageUp, keys::PageDown,
                             keys::Home,  keys::End, keys::Tab, keys::Space};
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        Window w;
        w[{Id::Text1}].Text = std::to_string(1 + below(12));
        w[{Id::Text2}].Text = std::to_string(5 + below(30));
        Model model;
        const int closeAt = 100 + below(400);
        for (int event = 0; event < closeAt; ++event) {
            std::string what;
            const int kind = below(9);
            if (kind == 0) {
                const Id button = kButtons[below(4)];
                what = "click " + Name({button});
                w.form.Clicked({button});
            } else if (kind <= 2) {
                const Control at = w.toolkit.focus.value_or(Control{Id::Command3});
                const int key = kKeys[below(9)];
                what = "key " + std::to_string(key) + " in " + Name(at);
                const bool button = form::Entry(at.Which).Type == Kind::Button;
                if (!w.form.KeyDown(at, key, below(2)) && key == keys::Space && button)
                    w.form.Clicked(at); // the toolkit's own press of a focused button
            } else if (kind == 3 && w.form.RowCount() > 0) {
                const int row = 1 + below(w.form.RowCount());
                const std::string digits = std::to_string(below(2) ? w.result(row) : below(100));
                what = "type " + digits + " in row " + std::to_string(row);
                if (!w.form.SequenceRunning() && w.toolkit.type({Id::txtVysl, row}, digits))
                    model.typed[row] = digits;
            } else if (kind == 4 || kind == 5) {
                const Id timer = kind == 4 ? Id::tmrCas : Id::Timer1;
                what = "tick of " + Name({timer});
                w.form.Timer(timer);
            } else {
                what = "pause over";
                w.toolkit.step();
            }
            CheckInvariants(w, model, "seed " + std::to_string(seed) + ", event " + std::to_string(event) + ": " + what);
            if (HasFatalFailure())
                return;
        }
        w.form.Form_Unload();
        EXPECT_FALSE(w.form.SequenceRunning());
    }
}

} // namespace
} // namespace form::test
