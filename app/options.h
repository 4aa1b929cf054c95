#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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
std::optional<std::string> ReadExerciseFile(const std::filesystem::path& path);

} // namespace app
