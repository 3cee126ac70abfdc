// Bitmap files: the header, bottom-up rows padded to 4 bytes, and the atomic
// replace.
#include "platform/bmp_file.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/test_support.h"

namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

}  // namespace

TEST(BmpFile, HeaderAndBottomUpRowsPaddedToFourBytes)
{
    TBitmap bitmap;
    // Row 0 red, row 1 blue; a width of 3 leaves 3 bytes of padding per row.
    FillBitmap(bitmap, 3, 2, [](int, int y) { return y == 0 ? clRed : clBlue; });
    const std::string bytes = EncodeBmp(bitmap);
    ASSERT_EQ(bytes.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le(bytes, 2, 4), bytes.size());
    EXPECT_EQ(Le(bytes, 10, 4), 54u);
    EXPECT_EQ(Le(bytes, 14, 4), 40u);
    EXPECT_EQ(Le(bytes, 18, 4), 3u);
    EXPECT_EQ(Le(bytes, 22, 4), 2u) << "a positive height: rows from the bottom up";
    EXPECT_EQ(Le(bytes, 28, 2), 24u);
    EXPECT_EQ(Le(bytes, 30, 4), 0u) << "uncompressed";
    EXPECT_EQ(Le(bytes, 46, 4), 0u) << "no colour table";
    // The first stored row is the bottom one (blue: B, G, R = 255, 0, 0).
    EXPECT_EQ(bytes.substr(54, 12), std::string("\xFF\0\0\xFF\0\0\xFF\0\0\0\0\0", 12));
    EXPECT_EQ(bytes.substr(66, 12), std::string("\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 12));
}

TEST(BmpFile, RowsOfFrameWidthsKeepTheirPadding)
{
    TBitmap bitmap;
    bitmap.SetSize(1051, 2);
    EXPECT_EQ(EncodeBmp(bitmap).size(), 54u + 2u * (3153u + 3u));
    bitmap.SetSize(1500, 2);
    EXPECT_EQ(EncodeBmp(bitmap).size(), 54u + 2u * 4500u);
}

TEST(BmpFile, FailedSaveLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.File("frame.bmp");
    WriteFileBytes(path, "old");
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    SetFileWriteFaultForTesting([](const std::string&) { return true; });
    std::string error;
    EXPECT_FALSE(SaveBmpFile(bitmap, path, &error));
    SetFileWriteFaultForTesting({});
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_TRUE(SaveBmpFile(bitmap, path));
    EXPECT_EQ(ReadFileBytes(path), EncodeBmp(bitmap));
}
