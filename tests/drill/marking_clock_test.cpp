#include "drill/clock.h"
#include "drill/marking.h"

#include <gtest/gtest.h>

using namespace drill;

TEST(MarkAnswer, EmptyCorrectAndWrong)
{
    EXPECT_EQ(MarkAnswer("", 7), AnswerMark::Empty);
    EXPECT_EQ(MarkAnswer("   ", 7), AnswerMark::Empty);
    EXPECT_EQ(MarkAnswer("\t", 0), AnswerMark::Correct); // only spaces count as blank; a tab reads as 0
    EXPECT_EQ(MarkAnswer("007", 7), AnswerMark::Correct);
    EXPECT_EQ(MarkAnswer("7", 8), AnswerMark::Wrong);
    EXPECT_EQ(MarkAnswer("0", 0), AnswerMark::Correct);
    EXPECT_EQ(MarkAnswer("32767", 32767), AnswerMark::Correct);
    // A negative result needs a minus sign, which a typed answer cannot hold.
    EXPECT_EQ(MarkAnswer("3", -3), AnswerMark::Wrong);
    EXPECT_EQ(MarkAnswer("-3", -3), AnswerMark::Correct);
}

TEST(MarkAnswer, ReadsTheNumberAtTheStartOfPastedText)
{
    EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(LeadingNumber("7 5"), 7);
    EXPECT_DOUBLE_EQ(LeadingNumber("+4.5x"), 4.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("."), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(MarkAnswer("5 ", 5), AnswerMark::Correct);
    EXPECT_EQ(MarkAnswer("x", 0), AnswerMark::Correct);
    EXPECT_EQ(MarkAnswer("5.0", 5), AnswerMark::Correct);
    EXPECT_EQ(MarkAnswer("5.5", 5), AnswerMark::Wrong);
    EXPECT_EQ(MarkAnswer(std::string(400, '9'), 9), AnswerMark::Wrong); // beyond a double: no crash
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
    EXPECT_EQ(FormatClock(100), "00:01:40");
    EXPECT_EQ(FormatClock(59), "00:00:59");
    EXPECT_EQ(FormatClock(0), "00:00:00");
    EXPECT_EQ(FormatClock(3600), "01:00:00");
    EXPECT_EQ(FormatClock(86399), "23:59:59");
    EXPECT_EQ(FormatClock(90000), "01:00:00");
    EXPECT_EQ(FormatClock(2147483647), "03:14:07");
    std::int64_t left = 0;
    StartCountdown(left, 2147483647); // the largest limit does not overflow
    EXPECT_FALSE(CountdownTick(left));
    EXPECT_EQ(left, 2147483647);
}
