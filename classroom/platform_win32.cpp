#ifdef _WIN32

#include "platform.h"


#include <windows.h>

namespace classroom::platform {

namespace {

std::string Utf8(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

HANDLE Handle(std::intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

std::string ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? Utf8(name, static_cast<int>(length)) : std::string();
}

std::string UserName()
{
    wchar_t name[257];
    DWORD length = 257; // counts the terminating null
    return GetUserNameW(name, &length) && length > 0 ? Utf8(name, static_cast<int>(length - 1)) : std::string();
}

std::filesystem::path DataFolder()
{
    wchar_t folder[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        return {};
    return std::filesystem::path(folder) / L"Sumatko 2001";
}

std::tm LocalTime(std::time_t t)
{
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}

bool WriteFlushed(const std::filesystem::path& file, std::string_view bytes)
{
    // Deleted first: a file left by another user of this computer may not be ours to truncate.
    DeleteFileW(file.c_str());
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

bool Replace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

FileLock::FileLock(const std::filesystem::path& file, std::chrono::milliseconds patience)
{
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(h);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        OVERLAPPED at{};
        held_ = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
        if (held_ || std::chrono::steady_clock::now() >= deadline)
            break;
        Sleep(5);
    }
}

FileLock::~FileLock()
{
    if (handle_ == -1)
        return;
    if (held_) {
        OVERLAPPED at{};
        UnlockFileEx(Handle(handle_), 0, 1, 0, &at);
    }
    CloseHandle(Handle(handle_));
}

} // namespace classroom::platform

#endif
