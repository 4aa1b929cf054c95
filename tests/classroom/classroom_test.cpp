#include "classroom/results.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace classroom;
using namespace std::chrono_literals;

namespace {

const std::string kHeader =
    "\xEF\xBB\xBF" "Datum a čas;Počítač;Uživatel;Cvičení;Správně;Špatně;Nevyplněno;Známka;Trvání (s);Id\r\n";
std::string self; // this test program, which also plays the other processes of the computer

std::string Contents(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<fs::path> FilesEndingIn(const fs::path& folder, const std::string& ending)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().string().ends_with(ending))
            files.push_back(entry.path());
    return files;
}

// The exercise of each line of the folder's one file, whose fields hold no ';' or quotes.
std::vector<std::string> Exercises(const fs::path& folder)
{
    std::vector<std::string> exercises;
    std::istringstream lines(Contents(FilesEndingIn(folder, ".csv").at(0)));
    std::string line, field;
    for (std::getline(lines, line); std::getline(lines, line);) {
        line.pop_back(); // the '\r' of "\r\n"
        std::vector<std::string> fields;
        for (std::istringstream in(line); std::getline(in, field, ';');)
            fields.push_back(field);
        exercises.push_back(fields.size() == 10 && fields[9].size() == 16 ? fields[3] : "broken: " + line);
    }
    return exercises;
}

bool Eventually(const std::function<bool()>& condition)
{
    for (auto until = std::chrono::steady_clock::now() + 120s; !condition(); std::this_thread::sleep_for(1ms))
        if (std::chrono::steady_clock::now() > until)
            return false;
    return true;
}

// One of the other processes: it records ten results as soon as every process is ready.
int RecordAsAnotherProcess(const fs::path& root, const std::string& index)
{
    std::ofstream(root / ("ready-" + index));
    if (!Eventually([&] { return fs::exists(root / "go"); }))
        return 2;
    for (int j = 0; j < 10; ++j)
        Record((root / "out").string(), Finished("p" + index + "-" + std::to_string(j), 1, 2, 3, 4, 5));
    return 0;
}

// Each test has a folder of its own: `out` is the results folder, `data` the user's data folder.
class Results : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(folder);
#ifdef _WIN32
        _putenv_s("LOCALAPPDATA", (root / "data").string().c_str());
#else
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
#endif
    }
    void TearDown() override { fs::remove_all(root); }
    const fs::path root = fs::temp_directory_path() /
                          ("sumatko-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    const fs::path folder = root / "out", away = root / "away";
};

TEST_F(Results, LinesAreQuotedGuardedAndMergedInTimeOrder)
{
    const Result a{"2026-12-08 14:05:31", "POCITAC-02", "=HYPERLINK(\"x\")", "pocet=20;\"a\"\nb", 17, 2, 1, 2, 245, "id-a"};
    const Result b{"2026-12-08 09:00:00", "POCITAC-01", "-jan", "+1", 20, 0, 0, 1, 100, "id-b"};
    const Result c{"2026-12-08 10:00:00", "POCITAC-01", "@x", "\tt", 3, 4, 5, 5, 7, "id-c"};
    for (const Result* r : {&a, &b, &c, &b})
        EXPECT_TRUE(Record(folder.string(), *r));
    const std::string lineA = "2026-12-08 14:05:31;POCITAC-02;\"'=HYPERLINK(\"\"x\"\")\";\"pocet=20;\"\"a\"\"\nb\";17;2;1;2;245;id-a\r\n";
    const std::string lineB = "2026-12-08 09:00:00;POCITAC-01;'-jan;'+1;20;0;0;1;100;id-b\r\n";
    const std::string lineC = "2026-12-08 10:00:00;POCITAC-01;'@x;'\tt;3;4;5;5;7;id-c\r\n";
    EXPECT_EQ(Contents(folder / "POCITAC-02.csv"), kHeader + lineA);
    EXPECT_EQ(Contents(folder / "POCITAC-01.csv"), kHeader + lineB + lineC);

    // A copy of a file, a foreign file, and a file with a bad grade and a quote left open.
    fs::copy_file(folder / "POCITAC-01.csv", folder / "zaloha.CSV");
    std::ofstream(folder / "poznamky.csv") << "jmeno;znamka\r\nJan;1\r\n";
    std::ofstream(folder / "POCITAC-03.csv", std::ios::binary)
        << kHeader << "2026-12-08 11:00:00;P3;x;y;1;1;1;9;1;id-d\r\n2026-12-08 12:00:00;P3;x;\"y;1\r\n";
    const Table merged = Merge(folder.string());
    EXPECT_EQ(merged.Csv, kHeader + lineB + lineC + lineA);
    EXPECT_EQ(merged.Notes, (std::vector<std::string>{"POCITAC-03.csv, řádek 2: poškozený řádek, vynechán.",
                                                      "POCITAC-03.csv, řádek 3: poškozený řádek, vynechán.",
                                                      "poznamky.csv: není soubor výsledků Sumatka 2001, vynechán."}));
}

TEST_F(Results, ProcessesFinishingAtOnceLoseNoLine)
{
    constexpr int kProcesses = 8;
    std::atomic<int> succeeded = 0;
    std::vector<std::thread> processes;
    std::multiset<std::string> expected{"last"};
    for (int i = 0; i < kProcesses; ++i) {
        std::string command = '"' + self + "\" --record \"" + root.string() + "\" " + std::to_string(i);
#ifdef _WIN32
        command = '"' + command + '"'; // cmd.exe takes the outer quotes off
#endif
        processes.emplace_back([&succeeded, command] { succeeded += std::system(command.c_str()) == 0; });
        for (int j = 0; j < 10; ++j)
            expected.insert("p" + std::to_string(i) + "-" + std::to_string(j));
    }
    for (int i = 0; i < kProcesses; ++i)
        EXPECT_TRUE(Eventually([&] { return fs::exists(root / ("ready-" + std::to_string(i))); }));
    std::ofstream(root / "go");
    for (auto& process : processes)
        process.join();
    EXPECT_EQ(succeeded, kProcesses);
    EXPECT_TRUE(Record(folder.string(), Finished("last", 1, 2, 3, 4, 5))); // and whatever a process left waiting
    const auto exercises = Exercises(folder);
    EXPECT_EQ(std::multiset<std::string>(exercises.begin(), exercises.end()), expected);
    EXPECT_EQ(Merge(folder.string()).Notes, std::vector<std::string>{});
}

TEST_F(Results, LinesWaitWhileTheFolderIsAwayAndGoOutOnce)
{
    auto record = [&](int n) { return Record(folder.string(), Finished(std::to_string(n), 1, 2, 3, 4, 5)); };
    EXPECT_TRUE(record(1));
    fs::rename(folder, away);
    EXPECT_FALSE(record(2));
    EXPECT_FALSE(record(3));
    fs::rename(away, folder);
    // The folder goes once the new file is written, before it takes the old one's place.
    classroom::testing::BeforeReplace = [](const std::string& file) {
        fs::rename(fs::path(file).parent_path(), fs::path(file).parent_path().parent_path() / "away");
    };
    EXPECT_FALSE(record(4));
    fs::rename(away, folder);
    EXPECT_EQ(Exercises(folder), std::vector<std::string>{"1"});

    // A crash after the file took the lines but before the queue let them go.
    std::vector<std::pair<fs::path, std::string>> waiting;
    for (const auto& entry : FilesEndingIn(root / "data", ".txt"))
        waiting.emplace_back(entry, Contents(entry));
    EXPECT_EQ(waiting.size(), 3u);
    classroom::testing::BeforeReplace = nullptr;
    EXPECT_TRUE(record(5));
    for (const auto& [entry, text] : waiting)
        std::ofstream(entry, std::ios::binary) << text;
    EXPECT_TRUE(record(6));

    // A folder that does not answer holds up the delivery, not the pupil.
    static std::atomic<bool> answers = false;
    classroom::testing::BeforeReplace = [](const std::string&) { Eventually([] { return answers.load(); }); };
    EXPECT_FALSE(record(7));
    answers = true;
    EXPECT_TRUE(record(8));
    classroom::testing::BeforeReplace = nullptr;

    EXPECT_EQ(Exercises(folder), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(FilesEndingIn(folder, "").size(), 2u) << "the computer's file and its lock file, nothing left over";
    EXPECT_EQ(FilesEndingIn(root / "data", ".txt").size(), 0u) << "nothing waits";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--record")
        return RecordAsAnotherProcess(argv[2], argv[3]);
    self = fs::absolute(argv[0]).string();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
