#include "results.h"

#include "platform.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace classroom {

namespace {

// Constants only: a delivery's thread may still run while the process ends.
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 10> kHeader = {
    "Datum a čas", "Počítač", "Uživatel", "Cvičení", "Správně", "Špatně", "Nevyplněno", "Známka", "Trvání (s)", "Id"};
// Other processes of the computer hold its file's lock for milliseconds; one that holds it longer
// is stuck on a slow folder, and the lines wait for the next finish.
constexpr auto kLockPatience = std::chrono::milliseconds(700);
// What a finish may cost the pupil at most, whatever the folder does.
constexpr auto kCallPatience = std::chrono::milliseconds(1000);

// A spreadsheet runs a cell that starts like a formula; the apostrophe makes it text.
std::string Field(std::string text)
{
    if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos)
        text.insert(0, 1, '\'');
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string Row(const std::vector<std::string>& fields)
{
    std::string row;
    for (const auto& field : fields)
        row += (row.empty() ? "" : ";") + Field(field);
    return row + "\r\n";
}

std::string FileStart()
{
    return std::string(kBom) + Row({kHeader.begin(), kHeader.end()});
}

struct CsvRecord {
    std::vector<std::string> Fields;
    int Line = 0;
    bool Broken = false;
};

std::vector<CsvRecord> ParseCsv(std::string_view text)
{
    std::vector<CsvRecord> records;
    CsvRecord record{{}, 1};
    std::string field;
    bool quoted = false, inQuotes = false;
    int line = 1;
    auto endField = [&] {
        record.Fields.push_back(std::move(field));
        field.clear();
        quoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (inQuotes) {
            if (c == '"' && next == '"')
                field += text[++i];
            else if (c == '"')
                inQuotes = false;
            else
                field += c;
            line += c == '\n';
        } else if (c == '"' && field.empty() && !quoted) {
            inQuotes = quoted = true;
        } else if (c == ';') {
            endField();
        } else if (c == '\n' || (c == '\r' && next == '\n')) {
            i += c == '\r';
            if (!record.Fields.empty() || !field.empty() || quoted) {
                endField();
                records.push_back(std::move(record));
            }
            record = {{}, ++line};
        } else {
            record.Broken |= quoted; // text after a closing quote
            field += c;
        }
    }
    record.Broken |= inQuotes;
    if (!record.Fields.empty() || !field.empty() || quoted) {
        endField();
        records.push_back(std::move(record));
    }
    return records;
}

bool Digits(const std::string& s, std::size_t most)
{
    return !s.empty() && s.size() <= most && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool Valid(const CsvRecord& r)
{
    if (r.Broken || r.Fields.size() != kHeader.size())
        return false;
    constexpr std::string_view when = "dddd-dd-dd dd:dd:dd";
    if (r.Fields[0].size() != when.size())
        return false;
    for (std::size_t i = 0; i < when.size(); ++i)
        if (when[i] == 'd' ? !Digits(r.Fields[0].substr(i, 1), 1) : r.Fields[0][i] != when[i])
            return false;
    return Digits(r.Fields[4], 6) && Digits(r.Fields[5], 6) && Digits(r.Fields[6], 6) && r.Fields[7].size() == 1 &&
           r.Fields[7][0] >= '1' && r.Fields[7][0] <= '5' && Digits(r.Fields[8], 12) && !r.Fields[9].empty();
}

// Reads a whole file; `exact` refuses a read shorter than the file (a folder gone mid-read).
enum class Read { Ok, Missing, Failed };
Read ReadAll(const std::string& file, std::string& out, bool exact)
{
    std::optional<std::string> bytes = ReadFile(file);
    if (!bytes)
        return platform::Exists(file) ? Read::Failed : Read::Missing;
    out = std::move(*bytes);
    if (exact && platform::FileSize(file) != out.size())
        return Read::Failed;
    return Read::Ok;
}

using platform::Join;

// A name as a file name on any file system.
std::string FileStem(const std::string& name)
{
    std::string stem;
    for (char c : name)
        stem += (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ? c : '_';
    return stem.empty() ? "pocitac" : stem;
}

// One line waiting in the user's data folder: a file "<id>.txt" holding the folder, the stem
// of the computer's file, the id and the line.
struct Waiting {
    std::string File; // empty when the data folder could not take it
    std::string Folder, Stem, Id, Line;
};

std::string QueueFolder()
{
    const std::string data = platform::DataFolder();
    return data.empty() ? data : Join(data, "fronta");
}

bool Enqueue(const Waiting& w, std::string& file)
{
    const std::string queue = QueueFolder();
    if (queue.empty() || !platform::CreateDirectories(queue))
        return false;
    file = Join(queue, FileStem(w.Id) + ".txt");
    const std::string temporary = Join(queue, FileStem(w.Id) + ".tmp");
    return platform::WriteFlushed(temporary, w.Folder + '\n' + w.Stem + '\n' + w.Id + '\n' + w.Line) &&
           platform::Replace(temporary, file);
}

std::vector<Waiting> ReadQueue()
{
    std::vector<Waiting> waiting;
    const std::string queue = QueueFolder();
    if (queue.empty())
        return waiting;
    for (const std::string& name : platform::FileNames(queue).value_or(std::vector<std::string>{})) {
        std::string text;
        const std::string file = Join(queue, name);
        if (!name.ends_with(".txt") || ReadAll(file, text, false) != Read::Ok)
            continue;
        Waiting w{file, {}, {}, {}, {}};
        std::string_view rest = text;
        auto field = [&rest](std::string& out) {
            const std::size_t end = rest.find('\n');
            if (end == std::string_view::npos)
                return false;
            out = rest.substr(0, end);
            rest.remove_prefix(end + 1);
            return true;
        };
        if (field(w.Folder) && field(w.Stem) && field(w.Id) && !w.Id.empty()) {
            w.Line = rest;
            waiting.push_back(std::move(w));
        }
    }
    // Each line begins with its time: the computer's file keeps time order.
    std::sort(waiting.begin(), waiting.end(), [](const Waiting& x, const Waiting& y) { return x.Line < y.Line; });
    return waiting;
}

// Adds the lines to the computer's file in the folder, each once; true when they are all there.
bool Send(const std::string& folderText, const std::string& stem, const std::vector<const Waiting*>& lines)
{
    const std::string& folder = folderText;
    if (!platform::IsDirectory(folder))
        return false;
    const platform::FileLock lock(Join(folder, stem + ".lock"), kLockPatience);
    if (!lock.Held())
        return false;
    const std::string file = Join(folder, stem + ".csv");
    std::string content;
    const Read read = ReadAll(file, content, true);
    if (read == Read::Failed)
        return false; // never put a new file in place of one we could not read whole
    if (content.empty())
        content = FileStart();
    else if (content.back() != '\n')
        content += "\r\n";
    bool added = false;
    for (const Waiting* w : lines)
        if (content.find(w->Id) == std::string::npos) {
            content += w->Line;
            added = true;
        }
    if (added) {
        const std::string temporary = Join(folder, stem + ".tmp");
        const bool written = platform::WriteFlushed(temporary, content);
        if (written && testing::BeforeReplace)
            testing::BeforeReplace(file);
        if (!written || !platform::Replace(temporary, file)) {
            platform::Remove(temporary);
            return false;
        }
    }
    for (const Waiting* w : lines)
        if (!w->File.empty())
            platform::Remove(w->File);
    return true;
}

// Sends every waiting line, the folder of the newest first; true when nothing waits any more.
bool SendWaiting(const std::string& newestFolder, const std::vector<Waiting>& unqueued)
{
    std::vector<Waiting> waiting = ReadQueue();
    waiting.insert(waiting.end(), unqueued.begin(), unqueued.end());
    std::map<std::pair<bool, std::pair<std::string, std::string>>, std::vector<const Waiting*>> groups;
    for (const Waiting& w : waiting)
        groups[{w.Folder != newestFolder, {w.Folder, w.Stem}}].push_back(&w);
    bool all = true;
    for (const auto& [key, lines] : groups)
        all = Send(key.second.first, key.second.second, lines) && all;
    return all && ReadQueue().empty();
}

std::string NewId()
{
    std::random_device device;
    std::uint64_t id = (std::uint64_t{device()} << 32) ^ device();
    // Should a platform's random device be deterministic, the clock still tells ids apart.
    id ^= static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) *
          0x9E3779B97F4A7C15u;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(id));
    return text;
}

// One delivery runs at a time in a process, on a thread of its own, so that a folder on a
// server that does not answer holds up the thread and not the pupil.
struct Delivery {
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Finished = false, NothingWaits = false;

    // True once finished.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock lock(Mutex);
        return Changed.wait_until(lock, deadline, [this] { return Finished; });
    }
};
std::timed_mutex recording;
std::shared_ptr<Delivery> inFlight; // guarded by `recording`

} // namespace

Result Finished(std::string exercise, int correct, int wrong, int empty, int grade, std::int64_t secondsUsed)
{
    const std::tm t = platform::LocalTime(std::time(nullptr));
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &t);
    return {when, platform::ComputerName(), platform::UserName(), std::move(exercise), correct, wrong, empty, grade,
            secondsUsed, NewId()};
}

bool Record(const std::string& folder, const Result& result)
{
    try {
        const auto deadline = std::chrono::steady_clock::now() + kCallPatience;
        std::vector<Waiting> unqueued;
        std::string folderText;
        if (!folder.empty()) {
            folderText = platform::Absolute(folder);
            const Result& r = result;
            Waiting w{{}, folderText, FileStem(r.Computer), r.Id.empty() ? NewId() : r.Id, {}};
            w.Line = Row({r.When, r.Computer, r.User, r.Exercise, std::to_string(r.Correct), std::to_string(r.Wrong),
                          std::to_string(r.Empty), std::to_string(r.Grade), std::to_string(r.SecondsUsed), w.Id});
            if (!Enqueue(w, w.File)) {
                w.File.clear();
                unqueued.push_back(std::move(w));
            }
        }
        std::unique_lock lock(recording, std::defer_lock);
        if (!lock.try_lock_until(deadline) || (inFlight && !inFlight->WaitUntil(deadline)))
            return false;
        auto delivery = std::make_shared<Delivery>();
        std::thread([delivery, folderText, unqueued = std::move(unqueued)] {
            bool nothingWaits = false;
            try {
                nothingWaits = SendWaiting(folderText, unqueued);
            } catch (...) {
            }
            std::lock_guard done(delivery->Mutex);
            delivery->Finished = true;
            delivery->NothingWaits = nothingWaits;
            delivery->Changed.notify_all();
        }).detach();
        inFlight = delivery;
        return delivery->WaitUntil(deadline) && delivery->NothingWaits;
    } catch (...) {
        return false;
    }
}

Table Merge(const std::string& folder)
{
    Table table;
    try {
        const std::optional<std::vector<std::string>> names = platform::FileNames(folder);
        if (!names)
            table.Notes.push_back("Složku " + folder + " nelze přečíst.");
        std::vector<std::string> files;
        for (const std::string& name : names.value_or(std::vector<std::string>{})) {
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
            if (lower.ends_with(".csv"))
                files.push_back(name);
        }
        std::sort(files.begin(), files.end());
        std::vector<std::vector<std::string>> rows;
        std::set<std::string> ids;
        for (const std::string& name : files) {
            std::string text;
            if (ReadAll(Join(folder, name), text, false) != Read::Ok) {
                table.Notes.push_back(name + ": soubor nelze přečíst, vynechán.");
                continue;
            }
            const auto records = ParseCsv(std::string_view(text).substr(text.starts_with(kBom) ? kBom.size() : 0));
            if (records.empty() || !std::equal(records[0].Fields.begin(), records[0].Fields.end(), kHeader.begin(),
                                               kHeader.end())) {
                table.Notes.push_back(name + ": není soubor výsledků Sumatka 2001, vynechán.");
                continue;
            }
            for (std::size_t i = 1; i < records.size(); ++i) {
                if (!Valid(records[i]))
                    table.Notes.push_back(name + ", řádek " + std::to_string(records[i].Line) +
                                          ": poškozený řádek, vynechán.");
                else if (ids.insert(records[i].Fields[9]).second)
                    rows.push_back(records[i].Fields);
            }
        }
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a[0] < b[0]; });
        table.Csv = FileStart();
        for (const auto& row : rows)
            table.Csv += Row(row);
    } catch (...) {
        table.Notes.push_back("Výsledky nelze sloučit.");
    }
    return table;
}

std::optional<std::string> ReadFile(const std::string& file, std::size_t most)
{
    std::FILE* in = platform::OpenForReading(file);
    if (in == nullptr)
        return std::nullopt;
    std::string bytes;
    char block[16384];
    while (bytes.size() < most) {
        const std::size_t n = std::fread(block, 1, std::min(sizeof block, most - bytes.size()), in);
        bytes.append(block, n);
        if (n == 0)
            break;
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    return failed ? std::nullopt : std::optional(std::move(bytes));
}

} // namespace classroom
