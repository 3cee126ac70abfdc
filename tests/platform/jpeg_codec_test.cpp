#include "platform/jpeg_codec.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include <QByteArray>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include "platform/application.h"
#include "platform/bitmap.h"
#include "tests/jpeg_test_files.h"
#include "tests/test_support.h"

namespace {

// Pixels as RGB samples for LibjpegFile.
std::function<int(int, int, int)> Samples(const std::function<TColor(int, int)>& colour)
{
    return [colour](int x, int y, int c) {
        const TColor pixel = colour(x, y);
        return c == 0 ? GetRValue(pixel) : c == 1 ? GetGValue(pixel) : GetBValue(pixel);
    };
}

TColor Gradient(int x, int y)
{
    return RGB(x * 6, y * 9, 128 + x * 2 - y * 3);
}

// Largest difference of any channel of any pixel; both must be the same size.
int MaxChannelDifference(const TBitmap& a, const TBitmap& b)
{
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width() * 3; ++x)
            worst = std::max(worst, std::abs(a.ScanLine(y)[x] - b.ScanLine(y)[x]));
    return worst;
}

std::string EncodeToBytes(const TempDir& dir, const TBitmap& bitmap, int quality)
{
    const std::string path = dir.File("encoded.jpg");
    EXPECT_EQ(EncodeJpegFile(bitmap, path, quality), JpegResult::Ok);
    return ReadFileBytes(path);
}

JpegResult DecodeBytes(const std::string& bytes, TBitmap& out, std::string* error = nullptr)
{
    return DecodeJpegMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out, error);
}

const std::pair<JpegCoding, const char*> kCodings[] = {{JpegCoding::Baseline, "baseline"},
                                                       {JpegCoding::Progressive, "progressive"},
                                                       {JpegCoding::Arithmetic, "arithmetic"},
                                                       {JpegCoding::ArithmeticProgressive, "arithmetic progressive"}};

// The picture as libjpeg alone decodes it to B, G, R, rows as they come;
// inks stored inverted (with Adobe's marker) taken as B = Y * K / 255 and so on.
void LibjpegPixels(const std::string& bytes, TBitmap& pixels)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    pixels.SetSize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    std::vector<JSAMPLE> inks(cinfo.output_width * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.ScanLine(static_cast<int>(cinfo.output_scanline));
        if (!cmyk) {
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        JSAMPROW inkRow = inks.data();
        jpeg_read_scanlines(&cinfo, &inkRow, 1);
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x)
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = static_cast<JSAMPLE>(inks[x * 4 + 2 - c] * inks[x * 4 + 3] / 255);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

} // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndPixelsWithinTolerance)
{
    TempDir dir;
    TBitmap source;
    FillBitmap(source, 37, 23, Gradient);
    const std::string path = dir.File("gradient.jpg");
    ASSERT_EQ(EncodeJpegFile(source, path, 95), JpegResult::Ok);

    const std::string bytes = ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 20u);
    // SOI, then the JFIF APP0 segment at once: the density stamp relies on it.
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(bytes.substr(6, 5), std::string("JFIF\0", 5));

    TBitmap decoded;
    std::string error;
    ASSERT_EQ(DecodeJpegFile(path, decoded, &error), JpegResult::Ok) << error;
    EXPECT_EQ(decoded.Width(), 37);
    EXPECT_EQ(decoded.Height(), 23);
    EXPECT_LE(MaxChannelDifference(source, decoded), 12);
}

TEST(JpegCodec, PrimaryColoursKeepTheirChannels)
{
    TempDir dir;
    const std::pair<TColor, const char*> colours[] = {{clRed, "red"}, {clLime, "green"}, {clBlue, "blue"}};
    for (const auto& [colour, name] : colours) {
        TBitmap source;
        FillBitmap(source, 16, 16, [c = colour](int, int) { return c; });
        TBitmap decoded;
        ASSERT_EQ(DecodeBytes(EncodeToBytes(dir, source, 90), decoded), JpegResult::Ok) << name;
        EXPECT_LE(MaxChannelDifference(source, decoded), 8) << name;
    }
}

TEST(JpegCodec, QualityIsClampedSoZeroStillEncodes)
{
    TempDir dir;
    TBitmap source;
    FillBitmap(source, 64, 64, [](int x, int y) { return RGB(x * 4, (x * y) & 0xFF, y * 4); });
    const std::string lowest = EncodeToBytes(dir, source, 0);
    const std::string one = EncodeToBytes(dir, source, 1);
    const std::string high = EncodeToBytes(dir, source, 100);
    const std::string above = EncodeToBytes(dir, source, 250);
    EXPECT_EQ(lowest, one);
    EXPECT_EQ(above, high);
    EXPECT_LT(lowest.size(), high.size());
    TBitmap decoded;
    EXPECT_EQ(DecodeBytes(lowest, decoded), JpegResult::Ok);
}

TEST(JpegCodec, EncodingFailuresAreReported)
{
    TempDir dir;
    TBitmap source;
    FillBitmap(source, 8, 8, [](int, int) { return clWhite; });
    FileFailure failure;
    EXPECT_EQ(EncodeJpegFile(source, dir.File("missing/out.jpg"), 90, &failure), JpegResult::WriteFailed);
    EXPECT_EQ(failure.code, ENOENT);
    EXPECT_FALSE(failure.text.empty());
    // A full disk: the failure shows only when the buffered data is written,
    // inside libjpeg, which still tells the system's reason.
    FillBitmap(source, 256, 256, [](int x, int y) { return RGB(x * y, x ^ y, x + y); });
    EXPECT_EQ(EncodeJpegFile(source, "/dev/full", 90, &failure), JpegResult::WriteFailed);
    EXPECT_EQ(failure.code, ENOSPC);
    TBitmap empty;
    EXPECT_EQ(EncodeJpegFile(empty, dir.File("empty.jpg"), 90), JpegResult::WriteFailed);
}

// A picture whose memory cannot be had fails the decode with the size it
// asked for, and leaves neither the file nor the decompressor behind.
TEST(JpegCodec, APictureWhoseMemoryCannotBeHadLeavesNoFileOpen)
{
    TempDir dir;
    const std::string path = dir.File("p.jpg");
    WriteFileBytes(path, LibjpegPicture(JpegCoding::Baseline, 64, 48));
    const auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    SetPictureAllocationFaultForTesting([](int w, int h) { return w == 64 && h == 48; });
    const auto before = openFiles();
    TBitmap out;
    try {
        DecodeJpegFile(path, out);
        ADD_FAILURE() << "decoded without memory";
    } catch (const EOutOfMemory& failure) {
        EXPECT_EQ(failure.Message(), "メモリが足りません。(64×48 の画像)");
    }
    SetPictureAllocationFaultForTesting({});
    EXPECT_EQ(openFiles(), before);
    EXPECT_EQ(DecodeJpegFile(path, out), JpegResult::Ok);
}

TEST(JpegCodec, GrayscaleProgressiveAndCmykFilesDecodeToColour)
{
    TempDir dir;
    const int w = 24, h = 16;
    TBitmap decoded;

    WriteFileBytes(dir.File("gray.jpg"), LibjpegFile({.sampling = JpegSampling::Grey, .quality = 95}, w, h,
                                                    [](int x, int y, int) { return x * 10 + y; }));
    ASSERT_EQ(DecodeJpegFile(dir.File("gray.jpg"), decoded), JpegResult::Ok);
    ASSERT_EQ(decoded.Width(), w);
    ASSERT_EQ(decoded.Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = decoded.Pixel(x, y);
            ASSERT_EQ(GetRValue(c), GetGValue(c));
            ASSERT_EQ(GetRValue(c), GetBValue(c));
            ASSERT_NEAR(GetRValue(c), x * 10 + y, 6);
        }

    WriteFileBytes(dir.File("progressive.jpg"), LibjpegFile({.coding = JpegCoding::Progressive, .quality = 95}, w, h, Samples(Gradient)));
    TBitmap expected;
    FillBitmap(expected, w, h, Gradient);
    ASSERT_EQ(DecodeJpegFile(dir.File("progressive.jpg"), decoded), JpegResult::Ok);
    EXPECT_LE(MaxChannelDifference(expected, decoded), 12);

    // Left half red, right half blue. Adobe's files store the inks inverted
    // (255 = no ink); files without its marker store them plain.
    FillBitmap(expected, w, h, [w](int x, int) { return x < w / 2 ? clRed : clBlue; });
    const auto inks = [w](int x, int) { return x < w / 2 ? std::vector<int>{0, 255, 255, 0} : std::vector<int>{255, 255, 0, 0}; };
    WriteFileBytes(dir.File("adobe.jpg"), LibjpegFile({.sampling = JpegSampling::Cmyk, .quality = 95}, w, h,
                                                     [&](int x, int y, int c) { return 255 - inks(x, y)[c]; }));
    WriteFileBytes(dir.File("plain.jpg"), LibjpegFile({.sampling = JpegSampling::Cmyk, .quality = 95, .adobeMarker = false}, w, h,
                                                     [&](int x, int y, int c) { return inks(x, y)[c]; }));
    for (const char* name : {"adobe.jpg", "plain.jpg"}) {
        ASSERT_EQ(DecodeJpegFile(dir.File(name), decoded), JpegResult::Ok) << name;
        // The halves meet inside one 8x8 block, whose colours bleed: compare
        // the columns away from the seam.
        for (int y = 0; y < h; ++y)
            for (int x : {0, 3, w - 4, w - 1}) {
                const TColor got = decoded.Pixel(x, y), want = expected.Pixel(x, y);
                EXPECT_NEAR(GetRValue(got), GetRValue(want), 12) << name << " " << x << "," << y;
                EXPECT_NEAR(GetGValue(got), GetGValue(want), 12) << name << " " << x << "," << y;
                EXPECT_NEAR(GetBValue(got), GetBValue(want), 12) << name << " " << x << "," << y;
            }
    }
}

TEST(JpegCodec, BrokenInputIsRefusedWithoutEndingTheProcess)
{
    TempDir dir;
    TBitmap source;
    std::mt19937 random(7);
    FillBitmap(source, 64, 64, [&](int, int) { return static_cast<TColor>(random() & 0xFFFFFF); });
    const std::string good = EncodeToBytes(dir, source, 90);
    TBitmap decoded;
    std::string error;

    EXPECT_EQ(DecodeJpegFile(dir.File("absent.jpg"), decoded), JpegResult::NotFound);

    WriteFileBytes(dir.File("empty.jpg"), "");
    EXPECT_EQ(DecodeJpegFile(dir.File("empty.jpg"), decoded), JpegResult::Unreadable);

    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    EXPECT_EQ(DecodeBytes(noise, decoded), JpegResult::Unreadable);
    // Noise behind a valid start of image.
    EXPECT_EQ(DecodeBytes(good.substr(0, 2) + noise, decoded), JpegResult::Unreadable);

    // Cut in the middle of the image data: libjpeg would pad it with grey.
    WriteFileBytes(dir.File("truncated.jpg"), good.substr(0, good.size() / 2));
    EXPECT_EQ(DecodeJpegFile(dir.File("truncated.jpg"), decoded, &error), JpegResult::Unreadable);
    EXPECT_FALSE(error.empty());

    // A progressive file that ends between two scans, its last scan missing.
    const std::string progressive = LibjpegFile({.coding = JpegCoding::Progressive, .quality = 95}, 64, 64, [](int x, int y, int c) {
        return c == 0 ? x * 4 : c == 1 ? y * 4 : (x * y) & 0xFF;
    });
    ASSERT_EQ(DecodeBytes(progressive, decoded), JpegResult::Ok);
    const std::size_t lastScan = progressive.rfind("\xFF\xDA");
    ASSERT_NE(lastScan, std::string::npos);
    EXPECT_EQ(DecodeBytes(progressive.substr(0, lastScan), decoded), JpegResult::Unreadable);

    // Only the end marker missing: every pixel is there.
    ASSERT_EQ(good.substr(good.size() - 2), "\xFF\xD9");
    TBitmap whole;
    ASSERT_EQ(DecodeBytes(good, whole), JpegResult::Ok);
    EXPECT_EQ(DecodeBytes(good.substr(0, good.size() - 2), decoded), JpegResult::Ok);
    EXPECT_TRUE(SameBitmap(decoded, whole));
}

TEST(JpegCodec, DamagedPhotoIsRefusedAtItsFirstDamage)
{
    // Rows the decoder writes are seen against a bitmap already of the
    // picture's size and filled with a marker colour (a same-size SetSize
    // keeps the pixels).
    const TColor marker = RGB(1, 2, 3);
    auto decodeOver = [&](const std::string& bytes, int width, int height, TBitmap& out) {
        FillBitmap(out, width, height, [&](int, int) { return marker; });
        return DecodeBytes(bytes, out);
    };

    // 158 bytes whose scan header is cut short: they declare a 3330 x 39174
    // CMYK picture and hold none of it (decoding it whole took seconds). It
    // is refused before the picture is even allocated.
    const QByteArray damaged = QByteArray::fromBase64(
        "/9j/2wBDABALDA4MExoAAGBAAAIAAAAAIxUwOjM9PDkzODdASFxOYERXRTc3UG1RV1/IYmdoZz5NYQQAAAAAAAAPeTJwZHhcZYNnY//"
        "AABQImQYNAgRDEQBNEQBZEQBLEQBkamV2hYaH+kZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRkZGRv/aAA4EQwBNAF"
        "kASwA=");
    ASSERT_EQ(damaged.size(), 158);
    TBitmap decoded;
    std::string error;
    FillBitmap(decoded, 8, 8, [&](int, int) { return marker; });
    EXPECT_EQ(DecodeJpegMemory(reinterpret_cast<const std::uint8_t*>(damaged.data()),
                               static_cast<std::size_t>(damaged.size()), decoded, &error),
              JpegResult::Unreadable);
    EXPECT_EQ(error, "Premature end of JPEG file");
    EXPECT_EQ((TPoint{decoded.Width(), decoded.Height()}), (TPoint{8, 8}));
    EXPECT_EQ(decoded.Pixel(7, 7), marker);

    // A sequential colour photo cut early in its data: the rows below the
    // cut are never decoded.
    TBitmap source;
    FillBitmap(source, 64, 1024, Gradient);
    TempDir dir;
    const std::string good = EncodeToBytes(dir, source, 90);
    ASSERT_EQ(decodeOver(good, 64, 1024, decoded), JpegResult::Ok);
    EXPECT_NE(decoded.Pixel(0, 1023), marker);
    EXPECT_EQ(decodeOver(good.substr(0, good.size() / 10), 64, 1024, decoded), JpegResult::Unreadable);
    EXPECT_EQ(decoded.Pixel(0, 1023), marker);
}

TEST(JpegCodec, HugeHeaderIsRefusedBeforeDecoding)
{
    TempDir dir;
    TBitmap source;
    FillBitmap(source, 8, 8, [](int, int) { return clGray; });
    std::string bytes = EncodeToBytes(dir, source, 90);
    const std::size_t sof = bytes.find("\xFF\xC0", 2);
    ASSERT_NE(sof, std::string::npos);
    // SOF0: marker, length (2), precision (1), height (2), width (2).
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(0xFF);
    bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(0xDC); // 65500
    TBitmap decoded;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DecodeBytes(bytes, decoded), JpegResult::TooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(decoded.Width(), 0);
}

TEST(JpegCodec, IntactPhotosOfEveryCodingDecodeAsLibjpegDecodesThem)
{
    // Shapes whose arithmetic-coded scans end their data early without loss:
    // the sparse scans of a progressive photo end at the next scan's header,
    // a narrow picture at a low quality codes its last rows within the
    // decoder's read-ahead, restart intervals end at their markers.
    struct Shape {
        int width, height, components, quality, restartRows;
    };
    const Shape shapes[] = {{640, 480, 3, 75, 0}, {16, 600, 3, 30, 0}, {321, 243, 3, 90, 1}, {130, 700, 1, 90, 3}};
    for (const auto& [coding, name] : kCodings)
        for (const Shape& shape : shapes) {
            const std::string bytes = LibjpegPicture(coding, shape.width, shape.height, shape.components,
                                                     shape.quality, shape.restartRows);
            TBitmap decoded;
            std::string error;
            SCOPED_TRACE(std::string(name) + " " + std::to_string(shape.width) + "x" + std::to_string(shape.height));
            ASSERT_EQ(DecodeJpegMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), decoded,
                                       &error),
                      JpegResult::Ok)
                << error;
            TBitmap expected;
            LibjpegPixels(bytes, expected);
            EXPECT_TRUE(SameBitmap(decoded, expected));
        }
}

TEST(JpegCodec, IntactFilesWithFlatPartsDecodeAsLibjpegDecodesThem)
{
    // An arithmetic coder writes nothing for a flat tail, so the data of
    // these ends long before their last rows; whole flat pictures have a few
    // bytes of data or none, the larger ones few enough for their frame to
    // be checked before the picture is allocated.
    const auto photo = [](int x, int y, int c) {
        return 128 + static_cast<int>(90 * std::sin(x / 7.0 + y / 11.0 + 2 * c)) + (x * 7 + y * 13 + c * 5) % 17 - 8;
    };
    const auto bottomBand = [photo](int rows, int level) {
        return std::function<int(int, int, int)>([=](int x, int y, int c) { return y >= 136 - rows ? level : photo(x, y, c); });
    };
    const auto flat = [](int level) { return std::function<int(int, int, int)>([=](int, int, int) { return level; }); };
    struct Picture {
        const char* what;
        int width, height;
        std::function<int(int, int, int)> sample;
    };
    const Picture pictures[] = {
        {"flat band of 8 px", 88, 136, bottomBand(8, 200)},
        {"flat band of 16 px", 88, 136, bottomBand(16, 40)},
        {"flat band of 32 px", 88, 136, bottomBand(32, 255)},
        {"flat band of 64 px", 88, 136, bottomBand(64, 0)},
        {"neutral grey quarter", 88, 136, bottomBand(34, 128)},
        {"nearly flat dark quarter", 88, 136,
         [photo](int x, int y, int c) { return y >= 102 ? 20 + (x * 3 + y) % 7 / 6 : photo(x, y, c); }},
        {"white ground", 88, 136,
         [photo](int x, int y, int c) {
             return (x - 44) * (x - 44) + (y - 60) * (y - 60) < 900 ? photo(x, y, c) : 255;
         }},
        {"all black", 256, 256, flat(0)},
        {"all grey", 256, 256, flat(128)},
        {"all white", 256, 256, flat(255)},
    };
    const JpegSampling samplings[] = {JpegSampling::Chroma420, JpegSampling::Chroma422, JpegSampling::Chroma444,
                                      JpegSampling::Grey, JpegSampling::Cmyk};
    int quality = 0;
    for (const auto& [coding, codingName] : kCodings)
        for (const JpegSampling sampling : samplings)
            for (const bool interleaved : {true, false})
                for (const int restartRows : {0, 1})
                    for (const Picture& picture : pictures) {
                        if (!interleaved && sampling == JpegSampling::Grey)
                            continue;
                        const JpegWriting writing{coding, sampling, interleaved, 50 + quality++ % 3 * 22, restartRows};
                        const std::string bytes = LibjpegFile(writing, picture.width, picture.height, picture.sample);
                        const std::string what = std::string(codingName) + ", sampling " +
                                                 std::to_string(static_cast<int>(sampling)) +
                                                 (interleaved ? "" : ", not interleaved") +
                                                 (restartRows ? ", restarts" : "") + ", " + picture.what;
                        TBitmap decoded;
                        std::string error;
                        ASSERT_EQ(DecodeBytes(bytes, decoded, &error), JpegResult::Ok) << what << ": " << error;
                        TBitmap expected;
                        LibjpegPixels(bytes, expected);
                        ASSERT_TRUE(SameBitmap(decoded, expected)) << what;
                    }
}

TEST(JpegCodec, DamageThatTheDataShowsIsRefusedInEveryCoding)
{
    const TColor marker = RGB(1, 2, 3);
    const bool huffman[] = {true, true, false, false};
    int index = 0;
    for (const auto& [coding, name] : kCodings) {
        SCOPED_TRACE(name);
        const std::string photo = LibjpegPicture(coding, 640, 480);
        std::vector<std::pair<std::string, const char*>> damaged = {
            {photo.substr(0, photo.size() / 2), "cut in half"},
            {photo.substr(0, photo.size() - 3), "cut in its last byte of data"},
            {WithRandomData(photo, 5), "random data behind the headers"},
        };
        // Arithmetic-coded data that ends at a marker decodes on from
        // nothing, as an intact file's flat tail does: only Huffman data
        // shows a cut followed by a marker.
        if (huffman[index++]) {
            damaged.emplace_back(CutInHalf(photo), "cut in half, end marker after");
            damaged.emplace_back(WithDoubledHeight(photo), "frame twice as tall as its data");
        }
        for (const auto& [bytes, what] : damaged) {
            TBitmap decoded;
            EXPECT_EQ(DecodeBytes(bytes, decoded), JpegResult::Unreadable) << what;
        }

        // A bitmap of another size keeps its size and pixels when the picture
        // is refused before it is allocated.
        auto refusedUnallocated = [&](const std::string& bytes) {
            TBitmap decoded;
            FillBitmap(decoded, 8, 8, [&](int, int) { return marker; });
            EXPECT_EQ(DecodeBytes(bytes, decoded), JpegResult::Unreadable);
            EXPECT_EQ((TPoint{decoded.Width(), decoded.Height()}), (TPoint{8, 8}));
            EXPECT_EQ(decoded.Pixel(7, 7), marker);
        };
        if (huffman[index - 1]) {
            // Headers claiming a 156-megapixel grey picture, then four bytes
            // of data: refused within the first row.
            const std::string tiny = HugeFrameOfFourBytes(LibjpegPicture(coding, 16, 16, 1));
            EXPECT_LT(tiny.size(), 400u);
            refusedUnallocated(tiny);
        } else {
            // A flat 4-megapixel picture in a few kilobytes whose last
            // restart marker is out of turn, which shows at the last row.
            const std::string flat = LibjpegFile({.coding = coding, .sampling = JpegSampling::Grey, .restartRows = 1},
                                                 2048, 2048, [](int, int, int) { return 230; });
            EXPECT_LT(flat.size(), 8192u);
            TBitmap decoded;
            ASSERT_EQ(DecodeBytes(flat, decoded), JpegResult::Ok);
            refusedUnallocated(WithLastRestartOutOfTurn(flat));
        }
    }
}

TEST(JpegCodec, ArithmeticDataLeftOverAfterTheLastRowIsRefused)
{
    // An arithmetic decoder that is in step with its data reads it to the
    // marker; bytes it leaves mean it was thrown out of step (an overwritten
    // block decodes as other values and takes more or less data).
    const std::string stray = "\x12\x34\x56\x78";
    const std::string sequential = LibjpegPicture(JpegCoding::Arithmetic, 320, 240);
    const std::string progressive = LibjpegPicture(JpegCoding::ArithmeticProgressive, 320, 240);
    const std::size_t secondScan = progressive.find("\xFF\xDA", progressive.find("\xFF\xDA") + 2);
    ASSERT_NE(secondScan, std::string::npos);
    TBitmap decoded;
    EXPECT_EQ(DecodeBytes(sequential.substr(0, sequential.size() - 2) + stray + "\xFF\xD9", decoded),
              JpegResult::Unreadable);
    EXPECT_EQ(DecodeBytes(progressive.substr(0, secondScan) + stray + progressive.substr(secondScan), decoded),
              JpegResult::Unreadable);
    // Huffman data may carry an encoder's padding there.
    const std::string baseline = LibjpegPicture(JpegCoding::Baseline, 320, 240);
    EXPECT_EQ(DecodeBytes(baseline.substr(0, baseline.size() - 2) + stray + "\xFF\xD9", decoded), JpegResult::Ok);
}
