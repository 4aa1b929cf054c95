#include "drill/exercise_text.h"

#include <gtest/gtest.h>

using namespace drill;

namespace {

Exercise Full()
{
    Exercise e;
    e.Settings.Texts = {"20", "300", "2", "10", "-5", "10,5", "0", "100"};
    e.Settings.Checks = {0, 0, 1, 1};
    return e;
}

} // namespace

TEST(ExerciseText, ReadsWhatATeacherWritesAndWritesWhatItReads)
{
    const std::string text = "pocet=20&cas=300&cislo1=2..10&cislo2=-5..10,5&vysledek=0..100&operace=nasobeni,deleni";
    EXPECT_EQ(WriteExerciseText(Full()), text);
    const std::string czech = "pocet=20&cas=300&cislo1=2..10&cislo2=-5..10,5&vysledek=0..100&operace=n%C3%A1soben%C3%AD,d%C4%9Blen%C3%AD";
    for (const std::string& form : {text, "#" + text, "?" + text, text + "&", czech})
        EXPECT_EQ(ReadExerciseText(form).Read, Full()) << form;
    EXPECT_EQ(ReadExerciseText("").Read, Exercise{}) << "nothing given: the defaults";

    Exercise odd = Full();
    odd.Settings.Texts = {"1", "1e3", "1.", "a..b", " 2 ", "&=%#", "ě", ""};
    odd.Settings.Checks = {1, 0, 0, 0};
    odd.Locked = true;
    odd.ResultsFolder = "\\\\server\\Třída 5.B\\výsledky";
    const ReadExercise back = ReadExerciseText(WriteExerciseText(odd));
    EXPECT_FALSE(back.Problem);
    EXPECT_EQ(back.Read, odd);
    EXPECT_EQ(ReadExerciseText("operace=").Read.Settings.Checks, (std::array{0, 0, 0, 0}));
}

TEST(ExerciseText, WhatCannotBeReadIsNamedAndKeepsItsDefaults)
{
    struct Case {
        std::string text;
        ExerciseFault fault;
        const char* part;
        const char* sentence;
    };
    const Case cases[] = {
        {"pocett=20&cas=60", ExerciseFault::UnknownKey, "pocett=20", "neznámou položku „pocett=20“"},
        {"pocet=5&cas=60&pocet=7", ExerciseFault::DuplicateKey, "pocet", "Položka „pocet“ je v zadání cvičení vícekrát"},
        {"cas=60&cislo1", ExerciseFault::Malformed, "cislo1", "Části „cislo1“"},
        {"cas=60&cislo1=5", ExerciseFault::BadValue, "cislo1=5", "Hodnotě „cislo1=5“"},
        {"cas=60&pocet=1000", ExerciseFault::BadValue, "pocet=1000", "Hodnotě „pocet=1000“"},
        {"cas=60&operace=plus", ExerciseFault::BadValue, "operace=plus", "„operace=plus“"},
        {"cas=60&vysledky=", ExerciseFault::BadValue, "vysledky=", "„vysledky=“"},
        {"cas=60&vysledky=%zz", ExerciseFault::Malformed, "vysledky=%zz", "„vysledky=%zz“"},
        {"cas=60&vysledky=%FF", ExerciseFault::NotUtf8, "vysledky=%FF", "nečitelný text „vysledky=%FF“"},
        {"cas=60&x=" + std::string(60, 'y'), ExerciseFault::UnknownKey, "", "„x=yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy…“"},
    };
    for (const Case& c : cases) {
        const ReadExercise read = ReadExerciseText(c.text + "&zamknout=ano");
        ASSERT_TRUE(read.Problem) << c.text;
        EXPECT_EQ(read.Problem->Fault, c.fault) << c.text;
        if (*c.part != '\0') {
            EXPECT_EQ(read.Problem->Part, c.part);
        }
        EXPECT_NE(ExerciseProblemMessage(*read.Problem).find(c.sentence), std::string::npos)
            << ExerciseProblemMessage(*read.Problem);
        // What was understood is taken; a text with a slip locks nothing.
        EXPECT_EQ(read.Read.Settings.Texts[1], "60") << c.text;
        EXPECT_FALSE(read.Read.Locked) << c.text;
    }
    // A whole text that is no text, or too long, is not read at all.
    EXPECT_EQ(ReadExerciseText("cas=60&\xFF").Problem->Fault, ExerciseFault::NotUtf8);
    const ReadExercise tooLong = ReadExerciseText("cas=60&vysledky=" + std::string(kMaxExerciseText, 'a'));
    EXPECT_EQ(tooLong.Problem->Fault, ExerciseFault::TooLong);
    EXPECT_EQ(tooLong.Read, Exercise{});
    EXPECT_EQ(ExerciseProblemMessage(*tooLong.Problem), "Zadání cvičení je delší než 2000 znaků, a proto platí výchozí nastavení.");
}
