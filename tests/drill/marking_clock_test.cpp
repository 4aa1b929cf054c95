#include "drill/answer_input.h"
#include "drill/clock.h"
#include "drill/marking.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace drill;

TEST(MarkAnswer, EmptyCorrectAndWrongTypedOrPasted)
{
    using enum AnswerMark;
    const std::tuple<std::string, int, AnswerMark> cases[] = {
        {"", 7, Empty}, {"   ", 7, Empty}, {"\t", 0, Wrong}, // only spaces count as blank
        {"007", 7, Correct}, {"7", 8, Wrong}, {"0", 0, Correct}, {"32767", 32767, Correct},
        {"3", -3, Wrong}, {"-3", -3, Correct}, {"-0", 0, Correct},
        {"-", 0, Wrong}, {"x", 0, Wrong}, // no digit, no answer of 0
        {"5 ", 5, Correct}, {"5.0", 5, Correct}, {"5.5", 5, Wrong},
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

TEST(AnswerInput, KeepsDigitsAndALeadingMinusWhereResultsCanBeNegative)
{
    const AnswerRule digits{.MinusSign = false, .MaxDigits = 5};
    const AnswerRule signedDigits{.MinusSign = true, .MaxDigits = 5};
    struct Case {
        AnswerRule rule;
        const char* text;
        std::size_t from, to;
        const char* inserted;
        const char* kept;
    };
    const Case cases[] = {
        {digits, "", 0, 0, "a7", "7"},            // a paste keeps what the box takes
        {digits, "", 0, 0, "-5", "5"},            // no sign where no result is negative
        {digits, "", 0, 0, "1 234,5.6", "12345"}, // five digits at most
        {digits, "1234", 2, 2, "567", "5"},
        {digits, "12345", 0, 5, "9", "9"},        // typed over a selection
        {digits, "", 0, 0, "\xEF\xBC\x97\xC4\x9B" "8", "78"}, // a full-width 7 from an input method; no ě
        {signedDigits, "", 0, 0, "-5", "-5"},
        {signedDigits, "", 0, 0, "x-1y2", "-12"},
        {signedDigits, "", 0, 0, "\xE2\x88\x92" "12345", "-12345"}, // U+2212, and the sign is no digit
        {signedDigits, "", 0, 0, "--5", "-5"},
        {signedDigits, "5", 0, 0, "-", "-"},     // a sign put in front later
        {signedDigits, "5", 1, 1, "-", ""},      // nowhere else
        {signedDigits, "-5", 0, 0, "3-", ""},    // nothing in front of a sign
        {signedDigits, "-5", 0, 1, "3", "3"},    // the sign typed over
        {signedDigits, "-5", 1, 1, "\xFF", ""},  // not UTF-8 at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceptedInsertion(c.rule, c.text, c.from, c.to, c.inserted), c.kept)
            << '"' << c.inserted << "\" into \"" << c.text << "\" at " << c.from << ".." << c.to;
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
