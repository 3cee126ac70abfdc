// POSIX file system calls and the temporary-file-then-rename writer.
#include "platform/file_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_path.h"

namespace {

std::function<bool(const std::string&)>& WriteFault()
{
    static std::function<bool(const std::string&)> failWhen;
    return failWhen;
}

int writeFaultCode = EIO;

const auto programStart = std::chrono::system_clock::now();

unsigned char AsciiLower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

void SetError(std::string* error, int code)
{
    if (error)
        *error = std::strerror(code);
}

void SetFailure(FileFailure* failure, int code)
{
    if (failure)
        *failure = {code, std::strerror(code)};
}

// ".<name><ending>.tmpXXXXXX" with six name characters of RandomSuffix.
bool IsTemporaryFileName(const std::string& name, const std::string& ending)
{
    const std::string tmp = ".tmp";
    const std::size_t suffix = 6;
    if (name.size() < 1 + 1 + ending.size() + tmp.size() + suffix || name[0] != '.')
        return false;
    const std::size_t tmpAt = name.size() - suffix - tmp.size();
    if (name.compare(tmpAt, tmp.size(), tmp) != 0)
        return false;
    for (std::size_t i = tmpAt + tmp.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    const std::size_t endingAt = tmpAt - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i)
        if (AsciiLower(static_cast<unsigned char>(name[endingAt + i])) !=
            AsciiLower(static_cast<unsigned char>(ending[i])))
            return false;
    return true;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool NameBefore(const DirEntry& a, const DirEntry& b)
{
    const auto lessIgnoringCase = [](char x, char y) {
        return AsciiLower(static_cast<unsigned char>(x)) < AsciiLower(static_cast<unsigned char>(y));
    };
    if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                     lessIgnoringCase))
        return true;
    if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(),
                                     lessIgnoringCase))
        return false;
    // Same letters: bytes decide, so the order does not depend on readdir's.
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) {
                                            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                                        });
}

// Six random name characters, as mkstemp uses.
std::string RandomSuffix()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    std::string suffix;
    for (int i = 0; i < 6; ++i)
        suffix += kChars[pick(generator)];
    return suffix;
}

bool WriteAll(int fd, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}

FileStamp StampOf(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return {};
    return {true,
            {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)},
            static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool DirectoryExists(const std::string& path)
{
    return IsFolder(path);
}

bool ForceDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string full = IncludeTrailingPathDelimiter(path);
    for (std::size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1)) {
        const std::string folder = full.substr(0, slash);
        if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return IsFolder(path);
}

bool SetCurrentDirectory(const std::string& path)
{
    return chdir(path.c_str()) == 0;
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error)
        return path;
    return (current / path).lexically_normal().string();
}

std::string ExecutableFolder()
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return ExtractFilePath(target);
        }
        target.resize(target.size() * 2);
    }
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return IncludeTrailingPathDelimiter(home);
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir)
        return IncludeTrailingPathDelimiter(user->pw_dir);
    return "/";
}

bool ListDirectory(const std::string& folder, std::vector<DirEntry>& out)
{
    out.clear();
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    const int dirFd = dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info;
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // removed since it was listed
        DirEntry item;
        item.name = name;
        item.isSymlink = S_ISLNK(info.st_mode);
        if (item.isSymlink)
            item.isFolder = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        else
            item.isFolder = S_ISDIR(info.st_mode);
        out.push_back(std::move(item));
    }
    const bool complete = errno == 0;
    closedir(dir);
    if (!complete) {
        out.clear();
        return false;
    }
    std::sort(out.begin(), out.end(), NameBefore);
    return true;
}

TemporaryFile::TemporaryFile(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target))
{
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_))
{
    other.path_.clear();
}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept
{
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
        other.path_.clear();
    }
    return *this;
}

TemporaryFile::~TemporaryFile()
{
    Discard();
}

void TemporaryFile::Discard()
{
    if (!path_.empty())
        unlink(path_.c_str());
    path_.clear();
}

std::optional<TemporaryFile> TemporaryFile::CreateBeside(const std::string& target, FileFailure* failure)
{
    const std::string prefix = ExtractFilePath(target) + "." + ExtractFileName(target) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = prefix + RandomSuffix();
        // Not mkstemp: its mode 0600 would ignore the umask for a new file.
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            SetFailure(failure, errno);
            return std::nullopt;
        }
        TemporaryFile file(std::move(path), target);
        struct stat existing;
        if (stat(target.c_str(), &existing) == 0)
            fchmod(fd, existing.st_mode & 07777); // best effort: the new mode is a fine fallback
        if (close(fd) != 0) {
            SetFailure(failure, errno);
            return std::nullopt;
        }
        return file;
    }
    SetFailure(failure, EEXIST);
    return std::nullopt;
}

bool TemporaryFile::Commit(FileFailure* failed)
{
    if (path_.empty()) {
        SetFailure(failed, EINVAL);
        return false;
    }
    int failure = 0;
    if (WriteFault() && WriteFault()(target_)) {
        failure = writeFaultCode;
    } else {
        // Flush before the rename, or a crash could leave an empty file in place.
        const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || fsync(fd) != 0)
            failure = errno;
        if (fd >= 0 && close(fd) != 0 && failure == 0)
            failure = errno;
        if (failure == 0 && rename(path_.c_str(), target_.c_str()) != 0)
            failure = errno;
    }
    if (failure != 0) {
        SetFailure(failed, failure);
        Discard();
        return false;
    }
    path_.clear();
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    FileFailure failed;
    std::optional<TemporaryFile> file = TemporaryFile::CreateBeside(path, &failed);
    if (!file) {
        SetError(error, failed.code);
        return false;
    }
    const int fd = open(file->Path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, errno);
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    int failure = written ? 0 : errno;
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        SetError(error, failure);
        return false;
    }
    if (!file->Commit(&failed)) {
        SetError(error, failed.code);
        return false;
    }
    return true;
}

std::chrono::system_clock::time_point ProgramStart()
{
    return programStart;
}

void RemoveTemporaryFilesOlderThan(const std::string& folder, const std::string& ending,
                                   std::chrono::system_clock::time_point time)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = dirfd(dir);
    const auto limit = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryFileName(entry->d_name, ending))
            continue;
        struct stat info;
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue;
        const long long modified = static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
        if (modified < limit)
            unlinkat(dirFd, entry->d_name, 0);
    }
    closedir(dir);
}

void SetFileWriteFaultForTesting(std::function<bool(const std::string& target)> failWhen, int code)
{
    WriteFault() = std::move(failWhen);
    writeFaultCode = code;
}
