// Whole exercises through Form1's behaviour on the fake toolkit: Start, answers, the finish,
// the results toggle and "Znovu", with every slide's positions as they reach the toolkit.

#include "fake_toolkit.h"

#include "drill/motion.h"

#include <functional>
#include <utility>

namespace form::test {
namespace {

using namespace std::chrono_literals;

constexpr Rgb kNavy{0, 0, 128}, kRed{255, 0, 0}, kEmptyRed{255, 64, 64};

// Answers row by row as a pupil does: type into the focused box, Enter to the next.
void Answer(Window& w, const std::function<std::string(int row, int result)>& answerFor)
{
    for (int row = 1; row <= w.form.RowCount(); ++row) {
        ASSERT_EQ(w.toolkit.focus, (Control{Id::txtVysl, row}));
        w.toolkit.type({Id::txtVysl, row}, answerFor(row, w.result(row)));
        EXPECT_TRUE(w.form.KeyDown({Id::txtVysl, row}, keys::Enter, 0));
    }
}

std::vector<float> Path(const FakeToolkit& toolkit, const char* name, float Move::*axis, std::size_t from = 0)
{
    std::vector<float> path;
    for (std::size_t i = from; i < toolkit.moves.size(); ++i)
        if (toolkit.moves[i].Name == name)
            path.push_back(toolkit.moves[i].*axis);
    return path;
}

std::vector<std::chrono::milliseconds> Pauses(const FakeToolkit& toolkit, std::size_t from, Toolkit::Clock::time_point begin)
{
    std::vector<std::chrono::milliseconds> pauses;
    for (std::size_t i = from; i < toolkit.deadlines.size(); ++i) {
        pauses.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(toolkit.deadlines[i] - begin));
        begin = toolkit.deadlines[i];
    }
    return pauses;
}

// What a marked answer box shows and tells a screen reader.
struct Shown {
    std::string text;
    Rgb fore;
    bool struck;
    std::string said;
    friend bool operator==(const Shown&, const Shown&) = default;
};

TEST(Exercise, MarksCountsAndGradeForEachKindOfAnswer)
{
    struct Case {
        const char* name;
        std::function<std::string(int, int)> answer;
        const char *correct, *wrong, *empty, *grade;
    };
    const Case cases[] = {
        {"none answered", [](int, int) { return std::string(); }, "000", "000", "010", "5"},
        {"3 wrong, 2 empty",
         [](int row, int r) { return row <= 3 ? std::to_string(r + 1) : row <= 5 ? "" : std::to_string(r); },
         "005", "003", "002", "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.start(10);
        Answer(w, c.answer);
        w.click(Id::Command1);
        EXPECT_EQ(w.text(Id::Label10), c.correct);
        EXPECT_EQ(w.text(Id::Label11), c.wrong);
        EXPECT_EQ(w.text(Id::Label12), c.empty);
        EXPECT_EQ(w.text(Id::lblZnamka), c.grade);
        EXPECT_EQ(w[{Id::lblZnamka}].AccessibleName, std::string("Známka ") + c.grade);
        EXPECT_TRUE(w[{Id::Command2}].Visible);
        for (int row = 1; row <= 10; ++row) {
            const FakeControl& box = w.box(row);
            const std::string typed = c.answer(row, w.result(row));
            const bool right = typed == std::to_string(w.result(row));
            const Shown expected = typed.empty() ? Shown{"?", kEmptyRed, false, "nevyplněno"}
                                   : right       ? Shown{typed, kNavy, false, "správně"}
                                                 : Shown{typed, kRed, true, "špatně"};
            EXPECT_EQ((Shown{box.Text, *box.Fore, box.StrikeOut, box.AccessibleDescription}), expected) << row;
            EXPECT_TRUE(box.Locked) << row;
        }
        // The list eases back until row 1 rests between the markers, though row 1 had the focus.
        EXPECT_GE(w.easeToRest(), 0);
        EXPECT_EQ(w[{Id::Picture2}].Top, 44.0F);
    }
}

TEST(Exercise, ClockRunsOutOrHotovoStopsIt)
{
    Window w;
    w.start(10, "3");
    EXPECT_EQ(w.text(Id::lblCas), "00:00:03");
    EXPECT_EQ(w.toolkit.timers.at(Id::tmrCas), 1000ms);
    w.form.Timer(Id::tmrCas);
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w.text(Id::Label12), "000") << "finished early";
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w.text(Id::lblCas), "00:00:00");
    w.toolkit.settle();
    EXPECT_EQ(w.text(Id::Label12), "010");
    EXPECT_FALSE(w.toolkit.timers.contains(Id::tmrCas));

    Window early;
    early.start(10, "40");
    for (int i = 0; i < 3; ++i)
        early.form.Timer(Id::tmrCas);
    early.click(Id::Command1);
    EXPECT_EQ(early.text(Id::lblCas), "00:00:37");
    EXPECT_FALSE(early.toolkit.timers.contains(Id::tmrCas));
    early.form.Timer(Id::tmrCas); // a tick already on its way
    EXPECT_EQ(early.text(Id::lblCas), "00:00:37");
}

TEST(Exercise, EarlyPausesWaitLateTicksAreMadeUpAndNegativeResultsTakeASign)
{
    Window w;
    w[{Id::Text7}].Text = "-20";
    w[{Id::Text1}].Text = "3";
    w.form.Clicked({Id::Command3});
    // A platform timer that fires before the pause's deadline gets the same deadline again.
    const auto deadline = *std::exchange(w.toolkit.pending, std::nullopt);
    const float top = w[{Id::Picture6}].Top;
    w.toolkit.now = deadline - 1ms;
    w.form.PauseElapsed();
    EXPECT_EQ(w.toolkit.pending, deadline);
    EXPECT_EQ(w[{Id::Picture6}].Top, top);
    w.toolkit.settle();
    ASSERT_EQ(w.form.RowCount(), 3);
    EXPECT_EQ(w.box(1).Rule, (drill::AnswerRule{.MinusSign = true, .MaxDigits = 5}));

    // A clock tick that comes 3.5 s late makes up the two it missed; an early one counts once.
    w.toolkit.now += 3500ms;
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w.text(Id::lblCas), "00:01:37");
    w.form.Timer(Id::tmrCas);
    EXPECT_EQ(w.text(Id::lblCas), "00:01:36");
}

TEST(Exercise, ATeachersExerciseFillsAndLocksTheSettingsAndItsOutcomeIsToldAtOnce)
{
    Window w;
    std::vector<drill::Exercise> started;
    std::vector<Outcome> finished;
    w.form.Started = [&](const drill::Exercise& e) { started.push_back(e); };
    w.form.Finished = [&](const Outcome& o) { finished.push_back(o); };
    const drill::Exercise exercise = drill::ReadExerciseText("pocet=3&cas=60&operace=scitani&zamknout=ano").Read;
    w.form.ApplyExercise(exercise);
    EXPECT_EQ(w.text(Id::Text1), "3");
    EXPECT_EQ(w[{Id::Check2}].Value, 0);
    EXPECT_TRUE(w[{Id::Text2}].Locked && w[{Id::Check4}].Locked);
    w.form.Tell("Zadání cvičení obsahuje neznámou položku.");
    EXPECT_EQ(w.toolkit.refusal, "Zadání cvičení obsahuje neznámou položku.");
    w.form.MessageDismissed();
    EXPECT_EQ(w.toolkit.focus, Control{Id::Command3});

    w.click(Id::Command3);
    EXPECT_EQ(started, std::vector{exercise});
    w.toolkit.type({Id::txtVysl, 1}, std::to_string(w.result(1)));
    w.form.Timer(Id::tmrCas);
    w.form.Timer(Id::tmrCas);
    // Told as the finish begins, before its pauses: closing the window then loses nothing.
    w.form.Clicked({Id::Command1});
    ASSERT_EQ(finished.size(), 1U);
    EXPECT_EQ(std::tie(finished[0].Correct, finished[0].Wrong, finished[0].Empty, finished[0].Grade), std::tuple(1, 0, 2, 4));
    EXPECT_EQ(finished[0].SecondsUsed, 2);
    EXPECT_EQ(finished[0].Exercise, exercise);
    w.form.Form_Unload();
    EXPECT_EQ(finished.size(), 1U);

    Window again;
    again.form.ApplyExercise(exercise);
    again.start(3, "60");
    again.click(Id::Command1);
    again.click(Id::Command2);
    again.click(Id::Command4);
    EXPECT_EQ(again.text(Id::Text1), "3") << "Znovu brings the teacher's settings back";
    EXPECT_TRUE(again[{Id::Text1}].Locked && again[{Id::Check1}].Locked);
}

TEST(Exercise, SlidesAndScrollOutReachTheToolkitAtTheirPace)
{
    Window w;
    w.toolkit.now += 5s;
    const auto begin = w.toolkit.now;
    w.start(10);
    // Every position of each slide reaches the toolkit, then the settings move aside to Left 165.
    std::vector<float> settings = drill::SlidePositions(27, drill::slides::SettingsUp);
    settings.push_back(-190.0F);
    EXPECT_EQ(Path(w.toolkit, "Picture6", &Move::Top), settings);
    EXPECT_EQ(Path(w.toolkit, "Picture7", &Move::Left), drill::SlidePositions(6, drill::slides::TitleOut));
    EXPECT_FALSE(w[{Id::Picture7}].Visible);
    EXPECT_TRUE(w[{Id::Command1}].Enabled) << "Hotovo! is never shown greyed";
    EXPECT_EQ(Pauses(w.toolkit, 0, begin), std::vector<std::chrono::milliseconds>(19, 50ms));
    EXPECT_EQ(w.toolkit.repaints, 19);
    EXPECT_EQ(w[{Id::Picture6}].Left, 165.0F);
    EXPECT_FALSE(w[{Id::Picture6}].Enabled) << "the settings cannot be edited during the exercise";

    ASSERT_GE(w.easeToRest(), 0);
    const std::size_t movesBefore = w.toolkit.moves.size();
    const std::size_t pausesBefore = w.toolkit.deadlines.size();
    w.toolkit.now += 3s;
    const auto finishBegin = w.toolkit.now;
    w.click(Id::Command1);
    const std::vector<std::chrono::milliseconds> pauses = Pauses(w.toolkit, pausesBefore, finishBegin);
    ASSERT_EQ(pauses.size(), 62U) << "1 s, 6 steps of 10 ms per problem, 1.5 s";
    EXPECT_EQ(pauses.front(), 1000ms);
    EXPECT_EQ(pauses[1], 10ms);
    EXPECT_EQ(pauses.back(), 1500ms);
    const std::vector<float> list = Path(w.toolkit, "Picture2", &Move::Top, movesBefore);
    ASSERT_GE(list.size(), 60U);
    EXPECT_NEAR(list[0], 44 - 44.0 / 3, 0.001);
    EXPECT_NEAR(list[59], 44 - 880, 0.01);
}

TEST(Exercise, ToggleTwiceThenZnovuThenASecondStart)
{
    Window w;
    EXPECT_FALSE(w[{Id::Command1}].Visible) << "under the title panel, not shown to a screen reader";
    w[{Id::Text4}].Text = "12";
    w.start(10);
    EXPECT_TRUE(w[{Id::Command1}].Visible);
    w.click(Id::Command1);
    EXPECT_EQ(w[{Id::Picture5}].Left, 600.0F);
    EXPECT_FALSE(w[{Id::Picture5}].Visible) << "waiting beyond the edge";
    EXPECT_FALSE(w[{Id::Command1}].Visible) << "under Známka";

    w.click(Id::Command2);
    EXPECT_EQ(w.text(Id::Command2), "Příklady");
    EXPECT_TRUE(w[{Id::Picture5}].Visible);
    EXPECT_EQ(w.place(Id::Picture5), (std::pair{5.0F, 5.0F}));
    EXPECT_EQ(w.place(Id::Picture6), (std::pair{165.0F, 5.0F}));
    EXPECT_FALSE(w[{Id::Picture1}].Visible) << "the list lies under the results";
    w.click(Id::Command2);
    EXPECT_EQ(w.text(Id::Command2), "Známka");
    EXPECT_EQ(w[{Id::Picture6}].Top, -190.0F);
    EXPECT_EQ(w[{Id::Picture5}].Left, 700.0F);

    w.click(Id::Command2);
    w.click(Id::Command4);
    EXPECT_EQ(w.form.RowCount(), 0);
    EXPECT_EQ(w.toolkit.controls.count("txtVysl(1)"), 0U);
    EXPECT_EQ(w.place(Id::Picture7), (std::pair{6.0F, 6.0F}));
    EXPECT_EQ(w.place(Id::Picture6), (std::pair{300.0F, 27.0F}));
    EXPECT_TRUE(w[{Id::Picture7}].Visible && w[{Id::Picture6}].Enabled);
    EXPECT_FALSE(w[{Id::Command2}].Visible || w[{Id::Picture1}].Visible || w[{Id::Picture2}].Visible);
    EXPECT_EQ(w.text(Id::Text4), "12");
    EXPECT_EQ(w.toolkit.focus, Control{Id::Command3}) << "the same place as at opening";

    w.start(10);
    EXPECT_TRUE(w.box(1).Text.empty() && !w.box(1).Locked) << "fresh rows, unmarked";
    w.click(Id::Command1);
    const std::size_t from = w.toolkit.moves.size();
    w.click(Id::Command2);
    const std::vector<float> results = Path(w.toolkit, "Picture5", &Move::Left, from);
    ASSERT_FALSE(results.empty());
    EXPECT_NEAR(results.front(), 468.33, 0.01) << "the results now enter from 700";
    EXPECT_EQ(results.back(), 5.0F);
}

TEST(Exercise, NothingElseStartsWhileASequenceRuns)
{
    Window w;
    w.form.Clicked({Id::Command3});
    ASSERT_TRUE(w.toolkit.pending);
    const std::size_t pauses = w.toolkit.deadlines.size();
    w.form.Clicked({Id::Command3});
    w.form.Clicked({Id::Command1});
    EXPECT_TRUE(w.form.KeyDown({Id::Command3}, keys::Enter, 0)) << "swallowed";
    EXPECT_TRUE(w.form.KeyDown({Id::Text1}, keys::Tab, 0));
    EXPECT_EQ(w.toolkit.focus, Control{Id::Command3});
    EXPECT_TRUE(w.toolkit.step());
    EXPECT_EQ(w.toolkit.deadlines.size(), pauses + 1) << "a second sequence began";
    w.toolkit.settle();
    EXPECT_EQ(w.form.RowCount(), 10);

    // The easing holds still while the list scrolls out, and goes on afterwards.
    w.form.Clicked({Id::Command1});
    w.toolkit.step();
    const float top = w[{Id::Picture2}].Top;
    w.form.Timer(Id::Timer1);
    EXPECT_EQ(w[{Id::Picture2}].Top, top);
    w.form.Clicked({Id::Command1});
    w.toolkit.settle();
    EXPECT_EQ(w.text(Id::Label12), "010");
    w.form.Command1_Click(); // a click that was already on its way
    w.toolkit.settle();
    EXPECT_EQ(w.text(Id::Label11), "000") << "a second finish counts every ? as wrong";
    EXPECT_TRUE(w.form.KeyDown({Id::txtVysl, 1}, keys::Down, 0));
    EXPECT_EQ(w.toolkit.focus, (Control{Id::txtVysl, 2})) << "keys work again on the marked list";
}

TEST(Exercise, ClosingInTheMiddleEndsEverySequenceAtOnce)
{
    for (int pausesBeforeClose : {3, 20, 40}) {
        Window w;
        w.start(10);
        w.form.Clicked({Id::Command1});
        for (int i = 0; i < pausesBeforeClose; ++i)
            w.toolkit.step();
        ASSERT_TRUE(w.form.SequenceRunning());
        const std::size_t moves = w.toolkit.moves.size();
        w.form.Form_Unload();
        EXPECT_FALSE(w.form.SequenceRunning());
        w.toolkit.step();
        w.form.Clicked({Id::Command2});
        w.form.Timer(Id::Timer1);
        EXPECT_EQ(w.toolkit.moves.size(), moves) << "something moved after closing";
        EXPECT_EQ(w.text(Id::Label12), "000") << "marked after closing";
    }
}

TEST(Exercise, SettingsThatCannotBeServedAreRefusedBeforeAnythingMoves)
{
    Window w;
    w[{Id::Text1}].Text = "0";
    w.click(Id::Command3);
    EXPECT_EQ(w.toolkit.refusal, "Počet příkladů musí být celé číslo od 1 do 999.");
    EXPECT_TRUE(w.toolkit.deadlines.empty());
    // Dismissed, the message leaves the box at fault focused with its text selected.
    EXPECT_EQ(w.toolkit.focus, Control{Id::Command3});
    w.form.MessageDismissed();
    EXPECT_EQ(w.toolkit.focus, Control{Id::Text1});
    EXPECT_TRUE(w[{Id::Text1}].AllSelected);
    EXPECT_EQ(w.toolkit.moves.size(), 3U) << "only the panels parked at load";
    EXPECT_FALSE(w[{Id::Picture1}].Visible);

    w[{Id::Text1}].Text = "10";
    for (Id check : {Id::Check1, Id::Check2, Id::Check3, Id::Check4})
        w[{check}].Value = 0;
    w.click(Id::Command3);
    EXPECT_EQ(w.toolkit.refusal, "Zaškrtněte aspoň jednu operaci.");
    w.form.MessageDismissed();
    EXPECT_EQ(w.toolkit.focus, Control{Id::Check1});
    w.form.MessageDismissed(); // once only
    EXPECT_EQ(w.toolkit.focus, Control{Id::Check1});
    EXPECT_EQ(w.form.RowCount(), 0);
}

} // namespace
} // namespace form::test
