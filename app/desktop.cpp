#include "app/desktop.h"

#include "classroom/platform.h"
#include "classroom/results.h"

#include <algorithm>
#include <iterator>

namespace app {

namespace {

constexpr std::string_view kWithValue[] = {"--cviceni", "--vysledky"};

} // namespace

Options ReadOptions(std::span<const std::string> args)
{
    Options options;
    auto refuse = [&options](std::string problem) {
        if (options.What == Options::Action::Run || options.What == Options::Action::MergeResults) {
            options.What = Options::Action::Refuse;
            options.Problem = std::move(problem) + " Nápovědu vypíše sumatko2001 --help.";
        }
    };
    bool exercise = false;
    bool folder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.What = Options::Action::Help;
            continue;
        }
        if (arg == "--version") {
            if (options.What != Options::Action::Help)
                options.What = Options::Action::Version;
            continue;
        }
        if (!arg.starts_with("--"))
            continue; // the window toolkit's
        const std::string_view name = arg.substr(0, arg.find('='));
        if (std::find(std::begin(kWithValue), std::end(kWithValue), name) == std::end(kWithValue)) {
            refuse("Volbě „" + std::string(arg) + "“ program nerozumí.");
            continue;
        }
        std::optional<std::string> value;
        if (name.size() < arg.size())
            value = std::string(arg.substr(name.size() + 1));
        else if (i + 1 < args.size())
            value = args[++i];
        bool& seen = name == "--cviceni" ? exercise : folder;
        if (!value) {
            refuse("Volba " + std::string(name) + " potřebuje za sebou " +
                   (name == "--cviceni" ? "zadání cvičení." : "složku s výsledky."));
        } else if (seen) {
            refuse("Volba " + std::string(name) + " je zadána víckrát.");
        } else if (name == "--cviceni") {
            options.Exercise = std::move(value);
        } else {
            options.ResultsFolder = std::move(*value);
            if (options.What == Options::Action::Run)
                options.What = Options::Action::MergeResults;
        }
        seen = true;
    }
    return options;
}

std::string HelpText(std::string_view schoolFile)
{
    return "Sumatko 2001: příklady na sčítání, odčítání, násobení a dělení s časem a známkou.\n"
           "\n"
           "Použití:\n"
           "  sumatko2001 [--cviceni ZADÁNÍ]   okno se cvičením\n"
           "  sumatko2001 --vysledky SLOŽKA    výsledky tříd ze složky jako jedna tabulka (CSV)\n"
           "  sumatko2001 --help | --version\n"
           "\n"
           "Zadání cvičení, například:\n"
           "  pocet=20&cas=300&cislo1=2..10&cislo2=2..10&vysledek=0..100&operace=nasobeni,deleni\n"
           "s položkami pocet, cas (sekundy), cislo1, cislo2 a vysledek (od..do), operace (scitani,\n"
           "odcitani, nasobeni, deleni), zamknout=ano (žáci nastavení nezmění) a vysledky=SLOŽKA\n"
           "(kam se zapíše výsledek každého cvičení, jeden soubor CSV za počítač).\n"
           "\n"
           "Cvičení pro celou školu: " +
           std::string(schoolFile) +
           "\n"
           "(volba --cviceni má přednost).\n";
}

std::optional<std::string> ReadExerciseFile(const std::string& path)
{
    std::optional<std::string> read = classroom::ReadFile(path, drill::kMaxExerciseText + 64);
    if (!read)
        return std::nullopt;
    std::string text = std::move(*read);
    // Windows' Notepad may start the file with a byte order mark.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    const std::string_view blanks = " \t\r\n";
    const std::size_t start = text.find_first_not_of(blanks);
    if (start == std::string::npos)
        return std::nullopt;
    return text.substr(start, text.find_last_not_of(blanks) - start + 1);
}

int PrintResults(const std::string& folder, void (*print)(const std::string& text, bool error))
{
    if (!classroom::platform::IsDirectory(folder)) {
        print("Složku s výsledky „" + folder + "“ se nepodařilo otevřít.\n", true);
        return 1;
    }
    const classroom::Table table = classroom::Merge(folder);
    print(table.Csv, false);
    for (const std::string& note : table.Notes)
        print(note + "\n", true);
    return 0;
}

Classroom::Classroom(form::Form1& form, const std::optional<std::string>& text)
    : form_(form), read_(drill::ReadExerciseText(text.value_or("")))
{
    if (!text)
        return;
    form_.ApplyExercise(read_.Read);
    if (read_.Read.ResultsFolder.empty())
        return;
    form_.Finished = [this, folder = read_.Read.ResultsFolder](const form::Outcome& outcome) {
        // The line goes into the user's queue at once, out to the folder within about a second
        // or later: never while the window waits for it.
        drill::Exercise used = outcome.Exercise;
        used.Locked = false;
        recording_.push_back(std::async(std::launch::async, classroom::Record, folder,
                                        classroom::Finished(drill::WriteExerciseText(used), outcome.Correct,
                                                            outcome.Wrong, outcome.Empty, outcome.Grade,
                                                            outcome.SecondsUsed)));
    };
}

Classroom::~Classroom() { form_.Finished = nullptr; }

void Classroom::WindowShown()
{
    if (read_.Problem)
        form_.Tell(drill::ExerciseProblemMessage(*read_.Problem));
}

} // namespace app
