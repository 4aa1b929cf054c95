#pragma once

#include "settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace drill {

// An exercise as a teacher hands it out: what the settings panel holds, as if typed, whether the
// pupils may change it, and the folder where finished exercises are recorded.
struct Exercise {
    SettingsInput Settings;
    bool Locked = false;
    std::string ResultsFolder;

    friend bool operator==(const Exercise&, const Exercise&) = default;
};

// The first part of a text that could not be read.
enum class ExerciseFault { TooLong, NotUtf8, Malformed, UnknownKey, DuplicateKey, BadValue };
struct ExerciseProblem {
    ExerciseFault Fault;
    std::string Part; // as written: "pocett=20", "cislo1=5", "pocet"

    friend bool operator==(const ExerciseProblem&, const ExerciseProblem&) = default;
};

struct ReadExercise {
    Exercise Read;
    std::optional<ExerciseProblem> Problem;
};

// An exercise as text, one line the same on every platform and safe in a web address:
//   pocet=20&cas=300&cislo1=2..10&cislo2=2..10&vysledek=0..100&operace=nasobeni,deleni&zamknout=ano
// with `vysledky=FOLDER` where results are to be recorded. A value's characters beyond letters,
// digits and "-._~," are written %XX, UTF-8. A leading '#' or '?' is skipped. Whatever cannot be
// read keeps the settings' defaults, the rest is taken, and an exercise read with a problem is
// never locked: a teacher's slip must not bind the pupils to settings nobody meant.
ReadExercise ReadExerciseText(std::string_view text);
// The text ReadExerciseText reads back as the same exercise; a greyed check box is written ticked.
std::string WriteExerciseText(const Exercise& exercise);

// The Czech sentence that tells the teacher what was not understood (UTF-8).
std::string ExerciseProblemMessage(const ExerciseProblem& problem);

inline constexpr std::size_t kMaxExerciseText = 2000;

} // namespace drill
