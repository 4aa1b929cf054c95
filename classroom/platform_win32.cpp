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

std::wstring Wide(std::string_view utf8)
{
    const int length = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }

} // namespace

std::string Join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    return path.append(name);
}

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

std::string DataFolder()
{
    wchar_t folder[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        return {};
    return Join(Utf8(folder, static_cast<int>(length)), "Sumatko 2001");
}

std::tm LocalTime(std::time_t t)
{
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}

bool IsDirectory(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::uint64_t> FileSize(const std::string& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(file).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

bool CreateDirectories(const std::string& folder)
{
    for (std::size_t at = folder.find_first_of("\\/", 3); !IsDirectory(folder); at = folder.find_first_of("\\/", at + 1)) {
        CreateDirectoryW(Wide(folder.substr(0, at)).c_str(), nullptr);
        if (at == std::string::npos)
            break;
    }
    return IsDirectory(folder);
}

bool Remove(const std::string& file) { return DeleteFileW(Wide(file).c_str()); }

std::string Absolute(const std::string& path)
{
    const std::wstring wide = Wide(path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return length == 0 || length >= full.size() ? path : Utf8(full.c_str(), static_cast<int>(length));
}

std::optional<std::vector<std::string>> FileNames(const std::string& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(Wide(Join(folder, "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<std::string> names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(Utf8(found.cFileName, -1).c_str()); // -1: the count takes in the null
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::FILE* OpenForReading(const std::string& file) { return _wfopen(Wide(file).c_str(), L"rb"); }

bool WriteFlushed(const std::string& file, std::string_view bytes)
{
    // Deleted first: a file left by another user of this computer may not be ours to truncate.
    const std::wstring name = Wide(file);
    DeleteFileW(name.c_str());
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

bool Replace(const std::string& from, const std::string& to)
{
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

FileLock::FileLock(const std::string& file, std::chrono::milliseconds patience)
{
    const HANDLE h = CreateFileW(Wide(file).c_str(), GENERIC_READ | GENERIC_WRITE,
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
