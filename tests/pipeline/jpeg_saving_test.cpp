#include "pipeline/jpeg_saving.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/test_support.h"

namespace {

void FillPicture(TBitmap& bitmap, TColor colour)
{
    FillBitmap(bitmap, 40, 30, [colour](int x, int y) { return (x + y) % 7 ? colour : clBlack; });
}

const std::string kStamp300("\x01\x01\x2C\x01\x2C", 5);

} // namespace

TEST(JpegSaving, SaveWritesAStampedPictureAndReplacesAnOldFile)
{
    TempDir dir;
    const std::string path = dir.File("IMG_01.JPG");
    WriteFileBytes(path, "an older file");
    TBitmap picture;
    FillPicture(picture, clRed);
    FileFailure failure;
    ASSERT_EQ(SaveJpegSafely(picture, path, 90, 300, &failure), JpegSaveResult::Ok) << failure.text;

    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(13, 5), kStamp300);
    TBitmap decoded;
    ASSERT_EQ(DecodeJpegFile(path, decoded), JpegResult::Ok);
    EXPECT_EQ(decoded.Width(), 40);
    EXPECT_EQ(decoded.Height(), 30);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"IMG_01.JPG"});
}

TEST(JpegSaving, SavingOverTheSourcePhotoWorks)
{
    TempDir dir;
    const std::string path = dir.File("photo.jpg");
    TBitmap picture;
    FillPicture(picture, clBlue);
    ASSERT_EQ(SaveJpegSafely(picture, path, 90, 300), JpegSaveResult::Ok);
    TBitmap loaded;
    ASSERT_EQ(DecodeJpegFile(path, loaded), JpegResult::Ok);
    FillPicture(loaded, clLime);
    ASSERT_EQ(SaveJpegSafely(loaded, path, 90, 300), JpegSaveResult::Ok);
    TBitmap again;
    ASSERT_EQ(DecodeJpegFile(path, again), JpegResult::Ok);
    EXPECT_GT(GetGValue(again.Pixel(1, 0)), 200);
    EXPECT_LT(GetBValue(again.Pixel(1, 0)), 50);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"photo.jpg"});
}

TEST(JpegSaving, FailedSaveKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string old = "the existing picture, byte for byte";
    TBitmap picture;
    FillPicture(picture, clRed);
    FileFailure failure;

    // The output folder is a regular file.
    WriteFileBytes(dir.File("folder"), old);
    EXPECT_EQ(SaveJpegSafely(picture, dir.File("folder/out.jpg"), 90, 300, &failure),
              JpegSaveResult::CannotCreateTemporary);
    EXPECT_EQ(failure.code, ENOTDIR);
    EXPECT_EQ(ReadFileBytes(dir.File("folder")), old);

    // Nothing to encode.
    const std::string target = dir.File("out.jpg");
    WriteFileBytes(target, old);
    TBitmap empty;
    EXPECT_EQ(SaveJpegSafely(empty, target, 90, 300), JpegSaveResult::EncodingFailed);
    EXPECT_EQ(ReadFileBytes(target), old);

    // A folder has the target's name.
    std::filesystem::create_directory(dir.File("taken.jpg"));
    EXPECT_EQ(SaveJpegSafely(picture, dir.File("taken.jpg"), 90, 300, &failure), JpegSaveResult::FolderInTheWay);
    EXPECT_EQ(failure.code, EISDIR);
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("taken.jpg")));

    // An I/O error when the finished file replaces the target.
    SetFileWriteFaultForTesting([&](const std::string& path) { return path == target; });
    EXPECT_EQ(SaveJpegSafely(picture, target, 90, 300, &failure), JpegSaveResult::ReplaceFailed);
    EXPECT_EQ(failure.code, EIO);
    SetFileWriteFaultForTesting({});
    EXPECT_EQ(ReadFileBytes(target), old);

    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"folder", "out.jpg", "taken.jpg"}));
}
