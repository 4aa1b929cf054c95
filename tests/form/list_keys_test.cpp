// The problem list, the keyboard and what a screen reader is given, on the fake toolkit.

#include "fake_toolkit.h"

namespace form::test {
namespace {

Control Row(int i) { return {Id::txtVysl, i}; }

TEST(ProblemList, RowsAreBuiltFromTheirProblemsAndDropIntoTheBand)
{
    EXPECT_EQ(RowCaption({7, 5, 0, 12}), "7 + 5 =");
    EXPECT_EQ(RowCaption({12, 4, 1, 8}), "12 - 4 =");
    EXPECT_EQ(RowCaption({3, 4, 2, 12}), "3 \u00B7 4 =");
    EXPECT_EQ(RowCaption({20, 5, 3, 4}), "20 : 5 =");
    EXPECT_EQ(RowCaption({-3, 8, 0, 5}), "-3 + 8 =");
    EXPECT_EQ(SpokenProblem({7, 5, 0, 12}), "7 plus 5");
    EXPECT_EQ(SpokenProblem({12, 4, 1, 8}), "12 mínus 4");
    EXPECT_EQ(SpokenProblem({3, 4, 2, 12}), "3 krát 4");
    EXPECT_EQ(SpokenProblem({20, 5, 3, 4}), "20 děleno 5");
    EXPECT_EQ(SpokenProblem({-3, -8, 1, 5}), "mínus 3 mínus mínus 8");

    Window w;
    w.start(10);
    for (int i = 1; i <= 10; ++i) {
        const FakeControl& label = w[{Id::lblPrikl, i}];
        const FakeControl& box = w.box(i);
        EXPECT_EQ(label.Top, 44.0F * i - 22) << i;
        EXPECT_EQ(box.Top, label.Top);
        EXPECT_EQ(box.Left, 292.0F);
        EXPECT_TRUE(label.Visible && box.Visible);
        EXPECT_EQ(box.Rule, (drill::AnswerRule{.MinusSign = false, .MaxDigits = 5}));
        const drill::ProblemRecord& problem = w.form.State().Problems[static_cast<std::size_t>(i)];
        EXPECT_EQ(label.Text, RowCaption(problem));
        EXPECT_EQ(box.AccessibleName, SpokenProblem(problem));
        EXPECT_EQ(label.AccessibleName, box.AccessibleName);
    }
    EXPECT_EQ(w[{Id::Picture2}].Height, 486.0F);
    EXPECT_EQ(w[{Id::lblSipka1}].Fore, (Rgb{0, 0, 192}));
    EXPECT_EQ(w.toolkit.focus, Row(1));
    EXPECT_EQ(w.form.State().ScrollTarget, 44);
    EXPECT_EQ(w[{Id::Picture2}].Top, -1760.0F);

    // The first ticks, then exact arrival with the timer switched off.
    w.form.Timer(Id::Timer1);
    EXPECT_EQ(w[{Id::Picture2}].Top, -1309.0F);
    w.form.Timer(Id::Timer1);
    EXPECT_EQ(w[{Id::Picture2}].Top, -970.75F);
    EXPECT_GT(w.easeToRest(), 0);
    EXPECT_EQ(w[{Id::Picture2}].Top, 44.0F);
    EXPECT_FALSE(w.toolkit.timers.contains(Id::Timer1));

    w.form.GotFocus(Row(5)); // a mouse click on row 5
    EXPECT_EQ(w.form.State().ScrollTarget, -132);
    EXPECT_EQ(w.toolkit.timers.at(Id::Timer1), std::chrono::milliseconds(5));
    EXPECT_GT(w.easeToRest(), 0);
    EXPECT_EQ(w[{Id::Picture2}].Top, -132.0F);
    w.form.GotFocus(Row(5)); // the window activated again: no change of row
    EXPECT_FALSE(w.form.TimerEnabled(Id::Timer1));
}

TEST(ProblemList, AllNineHundredNinetyNineRowsCanBeReached)
{
    Window w;
    w.start(999);
    w.form.KeyDown(Row(1), keys::End, 0);
    EXPECT_EQ(w.form.State().ScrollTarget, 88 - 44 * 999);
    EXPECT_GT(w.easeToRest(), 0);
    EXPECT_EQ(w[{Id::Picture2}].Top, static_cast<float>(88 - 44 * 999));
}

// Where Tab goes from `from`, and from there on, until it comes back round.
std::vector<std::string> TabWalk(Window& w, Control from, bool backwards = false)
{
    std::vector<std::string> walk;
    Control at = from;
    for (int i = 0; i < 40; ++i) {
        w.form.KeyDown(at, keys::Tab, backwards ? keys::Shift : 0);
        at = *w.toolkit.focus;
        walk.push_back(Name(at));
        if (at == from)
            break;
    }
    return walk;
}

TEST(Keyboard, TabStopsOnlyAtWhatCanBeSeen)
{
    Window w;
    using V = std::vector<std::string>;
    EXPECT_EQ(TabWalk(w, {Id::Command3}), (V{"Check1", "Check2", "Check3", "Check4", "Text1", "Text2", "Text3",
                                            "Text4", "Text5", "Text6", "Text7", "Text8", "Command3"}));
    EXPECT_EQ(TabWalk(w, {Id::Check1}, true).front(), "Command3");
    // Buttons out of view take no Enter: Znovu beyond the edge, Hotovo! under the title.
    w.form.KeyDown({Id::Command4}, keys::Enter, 0);
    w.form.KeyDown({Id::Command1}, keys::Enter, 0);
    EXPECT_TRUE(w.toolkit.deadlines.empty());

    w.start(3);
    EXPECT_EQ(TabWalk(w, Row(1)), (V{"txtVysl(2)", "txtVysl(3)", "Picture4", "Command1", "txtVysl(1)"}));
    w.click(Id::Command1);
    EXPECT_EQ(TabWalk(w, Row(1)), (V{"txtVysl(2)", "txtVysl(3)", "Picture4", "Command2", "txtVysl(1)"}))
        << "Hotovo! lies under Známka";
    w.click(Id::Command2);
    EXPECT_EQ(TabWalk(w, {Id::Command2}), (V{"Command4", "Picture4", "Command2"}))
        << "the list and the settings are covered or disabled";
    EXPECT_FALSE(w.form.InView(Row(2)));
    EXPECT_TRUE(w.form.InView({Id::Command4}));
}

TEST(ScreenReader, TheClockSaysWhatItIsAndTheTimeItShows)
{
    EXPECT_EQ(SpokenTime(100), "1 minuta 40 sekund");
    EXPECT_EQ(SpokenTime(3 * 3600 + 2 * 60 + 1), "3 hodiny 2 minuty 1 sekunda");
    EXPECT_EQ(SpokenTime(5 * 3600 + 22), "5 hodin 22 sekund");
    EXPECT_EQ(SpokenTime(0), "0 sekund");
    EXPECT_EQ(SpokenTime(90000), "1 hodina") << "as the clock shows it, hours of the day";

    Window w;
    const Control clock{Id::Picture4};
    EXPECT_EQ(w[clock].AccessibleName, "Zbývající čas");
    w.start(2, "62");
    EXPECT_EQ(w[clock].AccessibleDescription, "1 minuta 2 sekundy");
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w[clock].AccessibleDescription, "1 minuta 1 sekunda");
    EXPECT_TRUE(w.toolkit.announced.empty());
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w.toolkit.announced, std::vector<std::string>{"Zbývá 1 minuta"});

    // Tabbed to, the clock holds the time it was reached with: a description that changed under
    // the focus every second would be read out every second.
    w.form.KeyDown(Row(2), keys::Tab, 0);
    ASSERT_EQ(w.toolkit.focus, clock);
    for (int i = 0; i < 50; ++i)
        w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w[clock].AccessibleDescription, "1 minuta");
    EXPECT_EQ(w.toolkit.announced.back(), "Zbývá 10 sekund");
    w.form.KeyDown(clock, keys::Tab, 0);
    EXPECT_EQ(w[clock].AccessibleDescription, "1 minuta") << "read out over Hotovo! if told now";
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w[clock].AccessibleDescription, "9 sekund") << "caught up at the next tick";
    EXPECT_EQ(w.toolkit.announced.size(), 2U);

    // Stopped before that tick came, it gets its last words from the finish.
    w.form.KeyDown({Id::Command1}, keys::Tab, keys::Shift);
    ASSERT_EQ(w.toolkit.focus, clock);
    w.form.Timer(Id::tmrCas);
    w.form.KeyDown(clock, keys::Tab, 0);
    w.click(Id::Command1);
    EXPECT_EQ(w[clock].AccessibleDescription, "8 sekund");
}

} // namespace
} // namespace form::test
