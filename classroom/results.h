#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The results a classroom sends back to its teacher: each finished exercise appends one line to
// the CSV file of its computer in a results folder (often a shared network folder), and a
// teacher merges a folder's files into one table.
namespace classroom {

struct Result {
    std::string When;     // local time, "2026-12-08 14:05:31"
    std::string Computer; // also names the computer's file in the folder
    std::string User;
    std::string Exercise; // the exercise as given, e.g. "pocet=20&cas=300&operace=scitani"
    int Correct = 0, Wrong = 0, Empty = 0, Grade = 0;
    std::int64_t SecondsUsed = 0;
    std::string Id; // unique; a line whose id the computer's file already holds is not written again
};

// A result finished now, on this computer, by this user, with a new id.
Result Finished(std::string exercise, int correct, int wrong, int empty, int grade, std::int64_t secondsUsed);

// Queues the result for `folder` in the user's data folder and sends out whatever waits there,
// for whichever folder each line was meant. Returns within about a second whatever the folder
// does (a delivery that takes longer goes on in the background), and never throws. True when
// nothing waits any more.
bool Record(const std::string& folder, const Result& result);

struct Table {
    std::string Csv;                // one header, every line once, in time order
    std::vector<std::string> Notes; // one sentence per file or line left out, and why
};

// Every `.csv` file of the folder in one table, for standard output.
Table Merge(const std::string& folder);

// The bytes of a file, at most `most` of them; none when it cannot be read. (Paths here are
// UTF-8 text.)
std::optional<std::string> ReadFile(const std::string& file, std::size_t most = SIZE_MAX);

namespace testing {
// Called between writing a computer's new file and putting it in place of the old one (a plain
// pointer: a delivery's thread may read it while the process ends).
inline void (*BeforeReplace)(const std::string& computerFile) = nullptr;
} // namespace testing

} // namespace classroom
