#pragma once

// The few calls that differ between POSIX and Windows (platform_posix.cpp, platform_win32.cpp).
// Paths are UTF-8 text: the standard library's filesystem would bring all its locales into the
// Windows exe to convert them.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace classroom::platform {

// `name` in `folder`.
std::string Join(std::string_view folder, std::string_view name);

std::string ComputerName(); // UTF-8; empty when unknown
std::string UserName();     // UTF-8; empty when unknown
// Where this user's lines wait: $XDG_DATA_HOME/sumatko2001 or ~/.local/share/sumatko2001,
// %LOCALAPPDATA%\Sumatko 2001. Empty when there is none.
std::string DataFolder();
std::tm LocalTime(std::time_t t);

bool IsDirectory(const std::string& path);
bool Exists(const std::string& path);
std::optional<std::uint64_t> FileSize(const std::string& file);
// The folder and the ones it lies in, where missing; true when it is there.
bool CreateDirectories(const std::string& folder);
bool Remove(const std::string& file);
std::string Absolute(const std::string& path);
// The names of the files (not folders) in a folder; none when it cannot be read.
std::optional<std::vector<std::string>> FileNames(const std::string& folder);

// Opens a file for reading its bytes, whatever letters its name holds; nullptr when it cannot.
std::FILE* OpenForReading(const std::string& file);
// Creates (or truncates) the file with these bytes, on the disk or the server when it returns true.
bool WriteFlushed(const std::string& file, std::string_view bytes);
// Puts `from` in place of `to` in one step: a reader sees the old file or the new, never a part.
bool Replace(const std::string& from, const std::string& to);

// An exclusive lock on a lock file, shared by every process of every computer that reaches the
// file; waits at most `patience` for it.
class FileLock {
public:
    FileLock(const std::string& file, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return held_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

} // namespace classroom::platform
