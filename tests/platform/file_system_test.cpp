#include "platform/file_system.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<DirEntry> entries;
    EXPECT_TRUE(ListDirectory(folder, entries));
    std::vector<std::string> names;
    for (const DirEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

// Clears the fault at the end of a test, also when it fails.
struct FaultGuard {
    ~FaultGuard() { SetFileWriteFaultForTesting(nullptr); }
};

} // namespace

TEST(FileSystem, ExistenceAndForceDirectories)
{
    TempDir dir;
    WriteFileBytes(dir.File("f"), "x");
    EXPECT_TRUE(FileExists(dir.File("f")));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(dir.File("none")));
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_FALSE(DirectoryExists(dir.File("f")));

    EXPECT_TRUE(ForceDirectories(dir.File("a/b/c/")));
    EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
    EXPECT_TRUE(ForceDirectories(dir.File("a/b")));
    EXPECT_FALSE(ForceDirectories(dir.File("f/g")));
    EXPECT_FALSE(ForceDirectories(""));
}

TEST(FileSystem, AbsolutePathTakesARelativePathAgainstTheCurrentFolder)
{
    TempDir dir;
    std::filesystem::create_directories(dir.File("a/b"));
    {
        const ScopedCurrentFolder inside(dir.File("a"));
        EXPECT_EQ(AbsolutePath("b"), dir.File("a/b"));
        EXPECT_EQ(AbsolutePath("b/"), dir.File("a/b/"));
        EXPECT_EQ(AbsolutePath("./b//c.jpg"), dir.File("a/b/c.jpg"));
        // The parent of the current folder, so a folder proposed beside it
        // lands beside it.
        EXPECT_EQ(AbsolutePath(".."), dir.Path() + "/");
        EXPECT_EQ(AbsolutePath("../x"), dir.File("x"));
        // Absolute paths are kept as typed.
        EXPECT_EQ(AbsolutePath("/p//./q"), "/p//./q");
        EXPECT_EQ(AbsolutePath(""), "");
    }
    {
        // A current folder removed since (the output folder a save entered):
        // nothing to resolve against.
        const ScopedCurrentFolder inside(dir.File("a/b"));
        std::filesystem::remove(dir.File("a/b"));
        EXPECT_EQ(AbsolutePath("c"), "c");
    }
}

TEST(FileSystem, ExecutableFolderHoldsTheRunningProgram)
{
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(DirectoryExists(folder));
}

TEST(FileSystem, ListDirectoryIsSortedIgnoringCaseThenByBytes)
{
    TempDir dir;
    for (const char* name : {"b.jpg", "B.jpg", "a.JPG", "C", "_x", "写真.jpg"})
        WriteFileBytes(dir.File(name), "");
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0700), 0);
    ASSERT_EQ(symlink("sub", dir.File("link").c_str()), 0);
    ASSERT_EQ(symlink("missing", dir.File("dangling").c_str()), 0);

    // Letters compare in lower case, so "_" (0x5F) comes first, as in a file
    // manager; bytes then put "B" before "b".
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"_x", "a.JPG", "B.jpg", "b.jpg", "C", "dangling",
                                                          "link", "sub", "写真.jpg"}));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    for (const DirEntry& entry : entries) {
        EXPECT_EQ(entry.isFolder, entry.name == "sub" || entry.name == "link") << entry.name;
        EXPECT_EQ(entry.isSymlink, entry.name == "link" || entry.name == "dangling") << entry.name;
    }
    EXPECT_FALSE(ListDirectory(dir.File("none"), entries));
    EXPECT_TRUE(entries.empty());
}

TEST(FileSystem, WriteFileAtomicallyReplacesAndKeepsPermissions)
{
    TempDir dir;
    const std::string path = dir.File("vad.ini");
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    EXPECT_EQ(ReadFileBytes(path), "first");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("second\0x", 8)));
    EXPECT_EQ(ReadFileBytes(path), std::string("second\0x", 8));
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"vad.ini"});
}

TEST(FileSystem, FailedWritesLeaveTheTargetAndNoTemporaryFile)
{
    TempDir dir;
    FaultGuard guard;
    const std::string path = dir.File("photo.jpg");
    WriteFileBytes(path, "old");
    std::string error;

    SetFileWriteFaultForTesting([&](const std::string& target) { return target == path; });
    EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"photo.jpg"});
    SetFileWriteFaultForTesting(nullptr);

    // A regular file where the folder should be fails for root too.
    error.clear();
    EXPECT_FALSE(WriteFileAtomically(path + "/x", "new", &error));
    EXPECT_FALSE(error.empty());
    // The target is a folder: the rename fails after the temporary file was written.
    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0700), 0);
    WriteFileBytes(dir.File("folder/keep"), "");
    EXPECT_FALSE(WriteFileAtomically(dir.File("folder"), "new"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"folder", "photo.jpg"}));
}

TEST(FileSystem, TemporaryFileIsRemovedUnlessCommitted)
{
    TempDir dir;
    const std::string target = dir.File("out.jpg");
    {
        std::optional<TemporaryFile> file = TemporaryFile::CreateBeside(target);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Path().rfind(dir.File(".out.jpg.tmp"), 0), 0u);
        EXPECT_TRUE(FileExists(file->Path()));
        WriteFileBytes(file->Path(), "abandoned");
    }
    EXPECT_TRUE(Names(dir.Path()).empty());

    std::optional<TemporaryFile> file = TemporaryFile::CreateBeside(target);
    ASSERT_TRUE(file);
    WriteFileBytes(file->Path(), "jpeg");
    TemporaryFile moved = std::move(*file);
    file.reset(); // the moved-from object must not remove the file
    EXPECT_TRUE(moved.Commit());
    EXPECT_EQ(ReadFileBytes(target), "jpeg");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.jpg"});
    EXPECT_FALSE(TemporaryFile::CreateBeside(dir.File("none/out.jpg")));
}
