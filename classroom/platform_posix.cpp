#ifndef _WIN32

#include "platform.h"

#include <cerrno>
#include <cstdlib>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace classroom::platform {

namespace {

const passwd* Account()
{
    return getpwuid(geteuid());
}

} // namespace

std::string Join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path.append(name);
}

std::string ComputerName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    std::string text = name;
    return text.substr(0, text.find('.')); // "pc12.skola.local" is "pc12" in the classroom
}

std::string UserName()
{
    if (const passwd* account = Account())
        return account->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

std::string DataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return Join(data, "sumatko2001");
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* account = Account();
        home = account ? account->pw_dir : nullptr;
    }
    if (!home || !*home)
        return {};
    return Join(home, ".local/share/sumatko2001");
}

std::tm LocalTime(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

bool IsDirectory(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool Exists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

std::optional<std::uint64_t> FileSize(const std::string& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

bool CreateDirectories(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); !IsDirectory(folder); slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    return IsDirectory(folder);
}

bool Remove(const std::string& file) { return ::unlink(file.c_str()) == 0; }

std::string Absolute(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    char here[4096];
    return ::getcwd(here, sizeof here) != nullptr ? Join(here, path) : path;
}

std::optional<std::vector<std::string>> FileNames(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat status {};
        if (::stat(Join(folder, entry->d_name).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

std::FILE* OpenForReading(const std::string& file) { return std::fopen(file.c_str(), "rb"); }

bool WriteFlushed(const std::string& file, std::string_view bytes)
{
    // Removed first: a file left by another user of this computer cannot be truncated by us.
    ::unlink(file.c_str());
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            ok = false;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool Replace(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

FileLock::FileLock(const std::string& file, std::chrono::milliseconds patience)
{
    // Read access suffices for flock, and another user's lock file may be read-only for us; NFS
    // turns flock into a write lock, which needs write access.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    handle_ = fd;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!(held_ = ::flock(fd, LOCK_EX | LOCK_NB) == 0) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

FileLock::~FileLock()
{
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // releases the lock
}

} // namespace classroom::platform

#endif
