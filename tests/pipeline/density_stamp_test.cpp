#include "pipeline/density_stamp.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/test_support.h"

namespace {

// SOI, then a JFIF APP0 segment (density 1:1, no unit), padded to size bytes.
std::string JfifHead(std::size_t size)
{
    std::string bytes("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    bytes.resize(size, '\x55');
    return bytes;
}

// Writes bytes, stamps them with dpi and returns what the file holds then.
std::string Stamped(const TempDir& dir, const std::string& bytes, int dpi, bool expectedResult = true)
{
    const std::string path = dir.File("picture.jpg");
    WriteFileBytes(path, bytes);
    EXPECT_EQ(SetJpegDpi(path, dpi), expectedResult);
    return ReadFileBytes(path);
}

std::string WithBytes(std::string bytes, std::size_t at, const std::string& patch)
{
    bytes.replace(at, patch.size(), patch);
    return bytes;
}

} // namespace

TEST(DensityStamp, PatchesUnitAndBothDensitiesOfTheFirstApp0)
{
    TempDir dir;
    const std::string head = JfifHead(300);
    EXPECT_EQ(Stamped(dir, head, 300), WithBytes(head, 13, std::string("\x01\x01\x2C\x01\x2C", 5)));
    EXPECT_EQ(Stamped(dir, head, 72), WithBytes(head, 13, std::string("\x01\x00\x48\x00\x48", 5)));

    // An APP0 further in, after another segment, is found too.
    std::string later(200, '\x00');
    later.replace(0, 2, "\xFF\xD8");
    later.replace(180, 8, std::string("\xFF\xE0\x00\x10JFIF", 8));
    EXPECT_EQ(Stamped(dir, later, 300), WithBytes(later, 191, std::string("\x01\x01\x2C\x01\x2C", 5)));
}

TEST(DensityStamp, LeavesFilesItDoesNotRecogniseAlone)
{
    TempDir dir;
    const std::string head = JfifHead(300);

    std::string noPair(300, '\x00');
    noPair.replace(0, 2, "\xFF\xD8");
    EXPECT_EQ(Stamped(dir, noPair, 300), noPair);

    const std::string notJpeg = WithBytes(head, 0, std::string(2, '\0'));
    EXPECT_EQ(Stamped(dir, notJpeg, 300), notJpeg);

    // Only the first pair counts, even when it is not JFIF and a JFIF follows.
    std::string exifFirst = WithBytes(head, 6, "Exif");
    exifFirst.replace(40, 8, std::string("\xFF\xE0\x00\x10JFIF", 8));
    EXPECT_EQ(Stamped(dir, exifFirst, 300), exifFirst);

    // A pair past offset 193, or whose identifier lies beyond the bytes read.
    for (std::size_t at : {193u, 194u}) {
        std::string late(300, '\x00');
        late.replace(0, 2, "\xFF\xD8");
        late.replace(at, 8, std::string("\xFF\xE0\x00\x10JFIF", 8));
        EXPECT_EQ(Stamped(dir, late, 300), late) << at;
    }
    const std::string shortFile = JfifHead(20).substr(0, 9);
    EXPECT_EQ(Stamped(dir, shortFile, 300), shortFile);
    EXPECT_EQ(Stamped(dir, "", 300), "");
}

TEST(DensityStamp, DpiOutsideItsRangeIsRefusedAndMissingFileIsNoFailure)
{
    TempDir dir;
    const std::string head = JfifHead(300);
    EXPECT_EQ(Stamped(dir, head, 0, false), head);
    EXPECT_EQ(Stamped(dir, head, 65536, false), head);

    EXPECT_TRUE(SetJpegDpi(dir.File("absent.jpg"), 300));
    EXPECT_FALSE(FileExists(dir.File("absent.jpg")));
}

TEST(DensityStamp, EncodedPictureGets300DpiAndStillDecodes)
{
    TempDir dir;
    TBitmap source;
    FillBitmap(source, 20, 10, [](int x, int y) { return RGB(x * 12, y * 25, 90); });
    const std::string path = dir.File("out.jpg");
    ASSERT_EQ(EncodeJpegFile(source, path, 90), JpegResult::Ok);
    const std::string before = ReadFileBytes(path);
    ASSERT_TRUE(SetJpegDpi(path, 300));
    const std::string after = ReadFileBytes(path);
    EXPECT_EQ(after, WithBytes(before, 13, std::string("\x01\x01\x2C\x01\x2C", 5)));
    TBitmap decoded;
    EXPECT_EQ(DecodeJpegFile(path, decoded), JpegResult::Ok);
    EXPECT_EQ(decoded.Width(), 20);
}
