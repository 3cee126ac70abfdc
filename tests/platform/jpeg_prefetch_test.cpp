#include "platform/jpeg_prefetch.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/file_system.h"
#include "tests/test_support.h"

namespace {

void WritePhoto(const std::string& path, int w, int h)
{
    TBitmap picture;
    FillBitmap(picture, w, h, [](int x, int y) { return RGB(x % 256, y % 256, (x * y) % 256); });
    ASSERT_EQ(EncodeJpegFile(picture, path, 90), JpegResult::Ok);
}

}  // namespace

// A decode started ahead hands over what decoding then would give; a photo
// never started, or dropped to make room, is not handed over and the
// caller's picture stays as it was.
TEST(JpegPrefetch, HandsOverTheDecodesItKeeps)
{
    TempDir folder;
    for (int n = 0; n < 4; ++n)
        WritePhoto(folder.File(std::to_string(n) + ".jpg"), 40 + n, 30);
    WriteFileBytes(folder.File("broken.jpg"), "not a photo");

    JpegPrefetch prefetch;
    TBitmap out, expected;
    FillBitmap(out, 5, 5, [](int, int) { return clRed; });
    EXPECT_FALSE(prefetch.Take(folder.File("0.jpg"), out));
    EXPECT_EQ(out.Width(), 5);

    // A decode may take over storage the caller has no use for; what it
    // held before goes to the caller, its content dropped.
    TBitmap idle;
    FillBitmap(idle, 64, 48, [](int, int) { return clBlue; });
    prefetch.Ahead(folder.File("0.jpg"));
    prefetch.Ahead(folder.File("1.jpg"));
    prefetch.Ahead(folder.File("1.jpg"));
    prefetch.Ahead(folder.File("2.jpg"), &idle);
    EXPECT_EQ(idle.Width(), 0);
    prefetch.Ahead(folder.File("3.jpg"));  // drops 0.jpg
    EXPECT_FALSE(prefetch.Take(folder.File("0.jpg"), out));
    for (const char* name : {"3.jpg", "2.jpg", "1.jpg"}) {
        FileStamp stamp;
        ASSERT_EQ(prefetch.Take(folder.File(name), out, &stamp), JpegResult::Ok);
        ASSERT_EQ(DecodeJpegFile(folder.File(name), expected), JpegResult::Ok);
        EXPECT_TRUE(SameBitmap(out, expected)) << name;
        EXPECT_EQ(stamp, StampOf(folder.File(name))) << name;
    }
    EXPECT_FALSE(prefetch.Take(folder.File("1.jpg"), out));

    prefetch.Ahead(folder.File("broken.jpg"));
    prefetch.Ahead(folder.File("missing.jpg"));
    EXPECT_EQ(prefetch.Take(folder.File("broken.jpg"), out), JpegResult::Unreadable);
    EXPECT_EQ(prefetch.Take(folder.File("missing.jpg"), out), JpegResult::NotFound);
    prefetch.Ahead(folder.File("0.jpg"));
    prefetch.DropAll();
    EXPECT_FALSE(prefetch.Take(folder.File("0.jpg"), out));
}

// A file replaced after its decode began (as a save through a temporary file
// replaces it) is not handed over: the caller reads it as it is now. A
// decode that began after the replacement hands over the new picture.
TEST(JpegPrefetch, HandsOverOnlyTheFileAsItIsWhenTaken)
{
    TempDir folder;
    const std::string path = folder.File("p.jpg");
    WritePhoto(folder.File("new.jpg"), 60, 20);
    TBitmap current;
    ASSERT_EQ(DecodeJpegFile(folder.File("new.jpg"), current), JpegResult::Ok);
    for (int round = 0; round < 20; ++round) {
        WritePhoto(path, 40, 30);
        JpegPrefetch prefetch;
        prefetch.Ahead(path);
        std::filesystem::copy_file(folder.File("new.jpg"), folder.File("tmp.jpg"));
        std::filesystem::rename(folder.File("tmp.jpg"), path);
        TBitmap out;
        if (const auto result = prefetch.Take(path, out)) {
            EXPECT_EQ(*result, JpegResult::Ok);
            EXPECT_TRUE(SameBitmap(out, current));
        }
    }
}
