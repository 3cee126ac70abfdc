// The EXIF orientation: the tag read from the APP1 segment in both byte
// orders, damaged segments taken as upright, and decoded photos upright.
#include "platform/exif_orientation.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "tests/exif_test_pictures.h"
#include "tests/test_support.h"

namespace {

// The segment's data in a buffer of exactly its size, so that a read past
// the end is a read past the allocation (which the sanitizers report).
int OrientationOf(const std::string& data)
{
    const std::vector<std::uint8_t> bytes(data.begin(), data.end());
    return ExifSegmentOrientation(bytes.data(), bytes.size());
}

// Offsets in the Motorola segment of ExifOrientationData.
constexpr std::size_t kMagic = 8, kDirectoryOffset = 10, kEntryCount = 14, kOrientationEntry = 28;

std::string Patched(std::string data, std::size_t at, const std::string& bytes)
{
    data.replace(at, bytes.size(), bytes);
    return data;
}

std::string Jpeg(const TempDir& dir, const TBitmap& picture)
{
    const std::string path = dir.File("picture.jpg");
    EXPECT_EQ(EncodeJpegFile(picture, path, 90), JpegResult::Ok);
    return ReadFileBytes(path);
}

void Decode(const std::string& bytes, TBitmap& out)
{
    ASSERT_EQ(DecodeJpegMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out),
              JpegResult::Ok);
}

}  // namespace

TEST(ExifOrientation, ReadsTheTagInBothByteOrders)
{
    for (const bool bigEndian : {false, true})
        for (int orientation = 1; orientation <= 8; ++orientation)
            EXPECT_EQ(OrientationOf(ExifOrientationData(bigEndian, orientation)), orientation)
                << (bigEndian ? "MM " : "II ") << orientation;
    // Other APP1 segments (XMP) are not Exif.
    EXPECT_EQ(OrientationOf(std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 34)), 0);
    EXPECT_EQ(OrientationOf(""), 0);
    EXPECT_EQ(OrientationOf(std::string("Exif\0", 5)), 0);
}

TEST(ExifOrientation, DamagedSegmentsCountAsUpright)
{
    const std::string whole = ExifOrientationData(true, 6);
    // Cut anywhere: upright until the whole orientation entry is there.
    for (std::size_t size = 6; size < whole.size(); ++size)
        EXPECT_EQ(OrientationOf(whole.substr(0, size)), size >= kOrientationEntry + 12 ? 6 : 1) << size;

    const std::string broken[] = {
        Patched(whole, 6, "XX"),                                      // no byte order
        Patched(whole, kMagic, std::string("\0\x2B", 2)),             // not TIFF
        Patched(whole, kDirectoryOffset, "\xFF\xFF\xFF\xFF"),          // directory far beyond the end
        Patched(whole, kDirectoryOffset, std::string("\0\0\0\x25", 4)), // its count cut by the end
        Patched(whole, kEntryCount, std::string("\0\0", 2)),          // no entries
        Patched(whole.substr(0, kOrientationEntry), kEntryCount, "\xFF\xFF"),  // entries beyond the end
        Patched(whole, kOrientationEntry + 2, std::string("\0\x04", 2)),       // LONG, not SHORT
        Patched(whole, kOrientationEntry + 4, std::string("\0\0\0\0", 4)),     // no value
        Patched(whole, kOrientationEntry + 8, std::string("\0\0", 2)),         // value 0
        Patched(whole, kOrientationEntry + 8, std::string("\0\x09", 2)),       // value 9
    };
    for (std::size_t i = 0; i < std::size(broken); ++i)
        EXPECT_EQ(OrientationOf(broken[i]), 1) << "case " << i;
}

TEST(ExifOrientation, DecodedPhotosComeOutUpright)
{
    TempDir dir;
    TBitmap upright;
    FillGreyTiles(upright, 192, 160);
    TBitmap expected;
    Decode(Jpeg(dir, upright), expected);

    for (const bool bigEndian : {false, true})
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(testing::Message() << (bigEndian ? "MM " : "II ") << orientation);
            TBitmap stored;
            StoreForOrientation(upright, orientation, stored);
            TBitmap decoded;
            Decode(WithApp1(Jpeg(dir, stored), ExifOrientationData(bigEndian, orientation)), decoded);
            EXPECT_TRUE(SameBitmap(decoded, expected));
        }

    // The first Exif segment counts, after an XMP one; a damaged tag or none
    // leaves the stored pixels as they are.
    TBitmap stored;
    StoreForOrientation(upright, 8, stored);
    const std::string plain = Jpeg(dir, stored);
    TBitmap asStored;
    Decode(plain, asStored);
    EXPECT_EQ(asStored.Width(), 160);
    const std::string xmp("http://ns.adobe.com/xap/1.0/\0<x/>", 34);
    TBitmap decoded;
    Decode(WithApp1(WithApp1(plain, ExifOrientationData(false, 8)), ExifOrientationData(false, 1)), decoded);
    EXPECT_TRUE(SameBitmap(decoded, asStored)) << "a second Exif segment must not count";
    Decode(WithApp1(WithApp1(plain, ExifOrientationData(true, 8)), xmp), decoded);
    EXPECT_TRUE(SameBitmap(decoded, expected));
    Decode(WithApp1(plain, Patched(ExifOrientationData(true, 8), kOrientationEntry + 8, std::string("\0\x0A", 2))),
           decoded);
    EXPECT_TRUE(SameBitmap(decoded, asStored));
}
