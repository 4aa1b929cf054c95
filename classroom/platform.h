#pragma once

// The few calls that differ between POSIX and Windows (platform_posix.cpp, platform_win32.cpp).

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace classroom::platform {

std::string ComputerName(); // UTF-8; empty when unknown
std::string UserName();     // UTF-8; empty when unknown
// Where this user's lines wait: $XDG_DATA_HOME/sumatko2001 or ~/.local/share/sumatko2001,
// %LOCALAPPDATA%\Sumatko 2001. Empty when there is none.
std::filesystem::path DataFolder();
std::tm LocalTime(std::time_t t);

// Creates (or truncates) the file with these bytes, on the disk or the server when it returns true.
bool WriteFlushed(const std::filesystem::path& file, std::string_view bytes);
// Puts `from` in place of `to` in one step: a reader sees the old file or the new, never a part.
bool Replace(const std::filesystem::path& from, const std::filesystem::path& to);

// An exclusive lock on a lock file, shared by every process of every computer that reaches the
// file; waits at most `patience` for it.
class FileLock {
public:
    FileLock(const std::filesystem::path& file, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return held_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

} // namespace classroom::platform
