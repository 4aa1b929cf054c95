#include "drill/clock.h"
#include "drill/marking.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace drill;

TEST(MarkAnswer, EmptyCorrectAndWrongTypedOrPasted)
{
    using enum AnswerMark;
    const std::tuple<std::string, int, AnswerMark> cases[] = {
        {"", 7, Empty}, {"   ", 7, Empty}, {"\t", 0, Correct}, // only spaces count as blank; a tab reads as 0
        {"007", 7, Correct}, {"7", 8, Wrong}, {"0", 0, Correct}, {"32767", 32767, Correct},
        {"3", -3, Wrong}, {"-3", -3, Correct}, // a negative result needs a minus, which a typed answer cannot hold
        {"5 ", 5, Correct}, {"x", 0, Correct}, {"5.0", 5, Correct}, {"5.5", 5, Wrong},
        {std::string(400, '9'), 9, Wrong}, // beyond a double: no crash
    };
    for (const auto& [text, result, mark] : cases)
        EXPECT_EQ(MarkAnswer(text, static_cast<std::int16_t>(result)), mark) << '"' << text << '"';
    // Pasted text counts by the number at its start.
    const std::pair<const char*, double> leading[] = {{"12abc", 12}, {"7 5", 7},   {"+4.5x", 4.5}, {"-.5", -0.5},
                                                      {"1.2.3", 1.2}, {"abc", 0}, {".", 0},        {"-", 0}};
    for (const auto& [text, value] : leading)
        EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
}

TEST(ComputeGrade, FollowsTheShareOfWrongAndEmptyAnswers)
{
    const int expectedForTen[] = {1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5};
    for (int bad = 0; bad <= 10; ++bad) {
        EXPECT_EQ(ComputeGrade(10 - bad, bad, 0, 10), expectedForTen[bad]) << bad << " wrong";
        EXPECT_EQ(ComputeGrade(10 - bad, 0, bad, 10), expectedForTen[bad]) << bad << " empty";
    }
    // Exact halves of eight problems go to the even grade.
    EXPECT_EQ(ComputeGrade(7, 1, 0, 8), 2);
    EXPECT_EQ(ComputeGrade(5, 2, 1, 8), 2);
    EXPECT_EQ(ComputeGrade(3, 0, 5, 8), 4);
    EXPECT_EQ(ComputeGrade(1, 4, 3, 8), 4);
    EXPECT_EQ(ComputeGrade(5, 3, 2, 10), 3);
    EXPECT_EQ(ComputeGrade(999, 0, 0, 999), 1);
    EXPECT_EQ(ComputeGrade(0, 0, 999, 999), 5);
}

TEST(Clock, FormatsHoursOfTheDay)
{
    const std::pair<std::int64_t, const char*> shown[] = {{100, "00:01:40"},   {59, "00:00:59"},
                                                          {0, "00:00:00"},     {3600, "01:00:00"},
                                                          {86399, "23:59:59"}, {90000, "01:00:00"},
                                                          {2147483647, "03:14:07"}};
    for (const auto& [seconds, text] : shown)
        EXPECT_EQ(FormatClock(seconds), text);
    std::int64_t left = 0;
    StartCountdown(left, 2147483647); // the largest limit does not overflow
    EXPECT_FALSE(CountdownTick(left));
    EXPECT_EQ(left, 2147483647);
}
