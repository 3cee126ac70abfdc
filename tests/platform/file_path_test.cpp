#include "platform/file_path.h"

#include <gtest/gtest.h>

TEST(FilePath, SplitsAtTheLastSlash)
{
    EXPECT_EQ(ExtractFilePath("/home/a/photo.jpg"), "/home/a/");
    EXPECT_EQ(ExtractFilePath("photo.jpg"), "");
    EXPECT_EQ(ExtractFilePath("/"), "/");
    EXPECT_EQ(ExtractFileName("/home/a/photo.jpg"), "photo.jpg");
    EXPECT_EQ(ExtractFileName("/home/a/"), "");
    EXPECT_EQ(ExtractFileName("c:a\\b.jpg"), "c:a\\b.jpg"); // ":" and "\" are ordinary characters
}

TEST(FilePath, ExtensionBelongsToTheFileName)
{
    EXPECT_EQ(ExtractFileExt("/a/photo.tar.JPG"), ".JPG");
    EXPECT_EQ(ExtractFileExt("/a.d/photo"), "");
    EXPECT_EQ(ExtractFileExt("/a/.hidden"), ".hidden");
    EXPECT_EQ(ChangeFileExt("/a/photo.jpg", ".ini"), "/a/photo.ini");
    EXPECT_EQ(ChangeFileExt("/a.d/photo", ".ini"), "/a.d/photo.ini");
    EXPECT_EQ(ChangeFileExt("/a/photo.jpg", ""), "/a/photo");
}

TEST(FilePath, TrailingDelimiter)
{
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/b/"), "/a/b");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/b"), "/a/b");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/b"), "/a/b/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/b/"), "/a/b/");
}
