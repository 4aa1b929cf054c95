#pragma once

#include "drill/exercise_text.h"
#include "form/form1.h"

#include <future>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the two desktop programs share beyond their windows: their options, the school's exercise
// and the class's results.
namespace app {

// What the desktop program is asked to do by its command line.
struct Options {
    enum class Action { Run, Help, Version, MergeResults, Refuse };
    Action What = Action::Run;
    std::optional<std::string> Exercise; // --cviceni TEXT
    std::string ResultsFolder;           // --vysledky FOLDER
    std::string Problem;                 // for Refuse: one Czech sentence
};

// Reads the program's own options: --cviceni TEXT, --vysledky FOLDER, --help, --version (also
// written --name=value). An argument with one dash is left to the window toolkit.
Options ReadOptions(std::span<const std::string> args);

// What --help and --version print.
std::string HelpText(std::string_view schoolFile);
inline constexpr std::string_view kVersionText = "Sumatko 2001 1.00\n";

// The text of a school's exercise file, if it can be read: at most a little more than an
// exercise may hold (so that the reader can say it is too long), surrounding blanks removed.
std::optional<std::string> ReadExerciseFile(const std::string& path);

// --vysledky FOLDER: the folder's results as one table on standard output, what was left out of
// it on standard error; the program's exit status.
int PrintResults(const std::string& folder, void (*print)(const std::string& text, bool error));

// Gives the window the exercise (the command line's, else the school's) and, where it names a
// results folder, records each finished exercise there, off the window's thread. Tells the
// teacher, once the window shows, what of the exercise was not understood.
class Classroom {
public:
    Classroom(form::Form1& form, const std::optional<std::string>& text);
    // Waits for the results under way to reach at least the user's own queue.
    ~Classroom();
    Classroom(const Classroom&) = delete;
    Classroom& operator=(const Classroom&) = delete;

    void WindowShown();

private:
    form::Form1& form_;
    drill::ReadExercise read_;
    std::vector<std::future<bool>> recording_;
};

} // namespace app
