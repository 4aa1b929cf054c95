// The countdown clock as the pupil sees it: the label over a run of firings and the stop at zero.

#include "window_test_support.h"

#include <QLabel>

namespace window::test {
namespace {

QString ClockText(const Form1& form) { return Find<QLabel>(form, QStringLiteral("lblCas"))->text(); }
QTimer* ClockTimer(const Form1& form) { return Find<QTimer>(form, QStringLiteral("tmrCas")); }

void StartWithLimit(Form1& form, std::int64_t limit)
{
    form.state().TimeLimit = limit;
    form.StartClock();
}

TEST(Clock, CountsDownOncePerFiringAndStopsAtZero)
{
    Form1 form(1);
    StartWithLimit(form, 100);
    EXPECT_EQ(ClockText(form), QStringLiteral("00:01:40"));
    EXPECT_TRUE(ClockTimer(form)->isActive());
    EXPECT_EQ(ClockTimer(form)->interval(), 1000);

    form.tmrCas_Timer();
    EXPECT_EQ(ClockText(form), QStringLiteral("00:01:39"));
    for (int firing = 2; firing <= 40; ++firing)
        form.tmrCas_Timer();
    EXPECT_EQ(ClockText(form), QStringLiteral("00:01:00"));
    form.tmrCas_Timer();
    EXPECT_EQ(ClockText(form), QStringLiteral("00:00:59"));
    for (int firing = 42; firing <= 99; ++firing)
        form.tmrCas_Timer();
    EXPECT_EQ(ClockText(form), QStringLiteral("00:00:01"));
    EXPECT_TRUE(ClockTimer(form)->isActive());

    form.tmrCas_Timer(); // the 100th firing ends the exercise
    EXPECT_EQ(ClockText(form), QStringLiteral("00:00:00"));
    EXPECT_EQ(form.state().SecondsLeft, 0);
    EXPECT_FALSE(ClockTimer(form)->isActive());
}

TEST(Clock, RestartResetsTheCountAndTheLabel)
{
    Form1 form(1);
    StartWithLimit(form, 100);
    for (int firing = 0; firing < 63; ++firing)
        form.tmrCas_Timer();
    form.JeHotovo(); // "Hotovo!" with 37 seconds left
    EXPECT_EQ(ClockText(form), QStringLiteral("00:00:37"));
    EXPECT_FALSE(ClockTimer(form)->isActive());

    StartWithLimit(form, 3600);
    EXPECT_EQ(ClockText(form), QStringLiteral("01:00:00"));
    EXPECT_TRUE(ClockTimer(form)->isActive());
}

TEST(Clock, LimitUsedUpByTheFirstTickLeavesTheTimerOff)
{
    // A zero limit never passes the settings check; should one arrive anyway, the clock must
    // not be left running below zero.
    Form1 form(1);
    StartWithLimit(form, 0);
    EXPECT_EQ(ClockText(form), QStringLiteral("00:00:00"));
    EXPECT_FALSE(ClockTimer(form)->isActive());
}

} // namespace
} // namespace window::test
