// File system operations the program needs, over POSIX calls, and the one
// safe way to replace a file: write a temporary file beside it, then rename
// it over the target, so a crash or a full disk never leaves a half-written
// settings file or picture.
#pragma once

#include <cerrno>
#include <chrono>
#include <compare>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// True for an existing file that is not a folder (links are followed).
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// What tells one file from another whatever the spelling of its path (links,
// "..", a folder reached through a link): its device and inode.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
// The identity of the file a path leads to (links followed); none when no
// file is there (nothing, or a folder), as for FileExists.
std::optional<FileIdentity> IdentityOf(const std::string& path);
// What tells whether a file's content may have changed since an earlier look:
// a file replaced (saved through a temporary file and renamed) has another
// identity, a rewritten one another size or modification time.
struct FileStamp {
    bool exists = false;
    FileIdentity identity;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
// Changes the process's current folder.
bool SetCurrentDirectory(const std::string& path);
// A relative path made absolute against the current folder, "." and ".."
// taken as the text says (as a shell's cd does); an absolute or empty path,
// or one that cannot be resolved (the current folder is gone), as it is.
// Every save makes the output folder current, so a path kept relative would
// lead elsewhere after the first one.
std::string AbsolutePath(const std::string& path);
// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// The user's home folder ($HOME, else the account's), with a trailing "/".
std::string HomeFolder();

struct DirEntry {
    std::string name;
    bool isFolder = false;  // the entry, or the target of a link, is a folder
    bool isSymlink = false; // the entry itself is a symbolic link
};

// The entries of folder without "." and "..", sorted by name ignoring ASCII
// case, then by bytes: the file system's own order is arbitrary, operators
// expect a file manager's. False when the folder cannot be read.
bool ListDirectory(const std::string& folder, std::vector<DirEntry>& out);

// Why writing a file failed: the system's error number (0 when no system call
// failed, for a picture the codec refused, say) and the system's text.
struct FileFailure {
    int code = 0;
    std::string text;
};

// A new, empty file in the folder of a target, named ".<name>.tmpXXXXXX",
// that replaces the target on Commit() and is removed otherwise. The caller
// writes it through Path() with its own means and closes it before Commit().
// It takes the target's permissions when the target exists, otherwise the
// usual ones for a new file (0666 less the umask).
class TemporaryFile {
public:
    static std::optional<TemporaryFile> CreateBeside(const std::string& target,
                                                     FileFailure* failure = nullptr);
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::string& Path() const { return path_; }
    const std::string& Target() const { return target_; }
    // Flushes the file to disk and renames it over the target. On failure
    // the target is untouched and the temporary file is removed.
    bool Commit(FileFailure* failure = nullptr);

private:
    TemporaryFile(std::string path, std::string target);
    void Discard();

    std::string path_;
    std::string target_;
};

// Replaces path by a file holding bytes, through a TemporaryFile; every
// write and the close are checked. On failure the old file is untouched,
// no temporary file remains and error (when given) says why.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// When this program started: temporary files older than that are left by a
// process that died while saving.
std::chrono::system_clock::time_point ProgramStart();

// Removes from folder the temporary files of TemporaryFile for targets whose
// names end in ending (ASCII case ignored) that were last modified before
// time: regular files named ".<name><ending>.tmpXXXXXX". A process that dies
// while it saves leaves one; nothing else in the folder is touched.
void RemoveTemporaryFilesOlderThan(const std::string& folder, const std::string& ending,
                                   std::chrono::system_clock::time_point time);

// Tests: makes every commit to a target for which failWhen(target) is true
// fail with the system error code (an I/O error unless told), also for root,
// who ignores permissions. An empty function removes the fault.
void SetFileWriteFaultForTesting(std::function<bool(const std::string& target)> failWhen, int code = EIO);
