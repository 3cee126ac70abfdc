// Writes the JPEG seeds of the fuzz corpus into the folder given: one tiny
// picture for each decoder path (baseline colour, progressive, grayscale,
// CMYK with and without Adobe's marker, arithmetic coding, restart markers,
// an EXIF orientation), each a few hundred bytes, the data of an Exif
// segment alone, and arithmetic-coded data that ends before the last row (a
// file cut in half, a frame taller than its data, four bytes for a huge
// frame), so the fuzzer starts from every path at once.
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/jpeg_test_files.h"

namespace {

struct Seed {
    const char* name;
    J_COLOR_SPACE space;
    int components;
    bool progressive;
    bool arithmetic;
    int restartRows;
    bool adobeMarker; // for CMYK: the marker that says the inks are inverted
    bool exif = false; // an APP1 Exif segment with orientation 6
};

// "Exif", a Motorola TIFF header, and one directory: a maker tag, then the
// orientation (SHORT, 6).
const JOCTET kExifOrientation6[] = {
    'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 2,
    0x01, 0x0F, 0, 2, 0, 0, 0, 4, 'C', 'a', 'm', 0,
    0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0,
    0, 0, 0, 0};

// A gradient with a diagonal edge, so every block has some detail to code.
std::vector<JSAMPLE> Pixels(int size, int components)
{
    std::vector<JSAMPLE> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int c = 0; c < components; ++c)
                pixels.push_back(static_cast<JSAMPLE>((x * 16 + y * 8 + c * 64 + (x > y ? 96 : 0)) & 0xFF));
    return pixels;
}

bool Write(const std::string& path, const Seed& seed)
{
    constexpr int kSize = 16;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors); // exits on error: fine for a tool run by hand
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kSize;
    cinfo.image_height = kSize;
    cinfo.input_components = seed.components;
    cinfo.in_color_space = seed.space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    if (seed.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = seed.arithmetic ? TRUE : FALSE;
    cinfo.restart_in_rows = seed.restartRows;
    if (seed.space == JCS_CMYK)
        cinfo.write_Adobe_marker = seed.adobeMarker ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    if (seed.exif)
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, kExifOrientation6, sizeof kExifOrientation6);
    std::vector<JSAMPLE> pixels = Pixels(kSize, seed.components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = pixels.data() + cinfo.next_scanline * kSize * seed.components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fclose(file) == 0)
        return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const Seed seeds[] = {
        {"baseline.jpg", JCS_RGB, 3, false, false, 0, false},
        {"progressive.jpg", JCS_RGB, 3, true, false, 0, false},
        {"grayscale.jpg", JCS_GRAYSCALE, 1, false, false, 0, false},
        {"cmyk_adobe.jpg", JCS_CMYK, 4, false, false, 0, true},
        {"cmyk_plain.jpg", JCS_CMYK, 4, false, false, 0, false},
        {"arithmetic.jpg", JCS_RGB, 3, false, true, 0, false},
        {"restarts.jpg", JCS_RGB, 3, false, false, 1, false},
        {"exif_orientation.jpg", JCS_RGB, 3, false, false, 0, false, true},
    };
    for (const Seed& seed : seeds)
        if (!Write(std::string(argv[1]) + "/" + seed.name, seed)) {
            std::fprintf(stderr, "cannot write %s\n", seed.name);
            return 1;
        }
    const std::string folder = argv[1];
    const std::string arithmetic = LibjpegPicture(JpegCoding::Arithmetic, 16, 96, 3, 90);
    const std::pair<const char*, std::string> files[] = {
        // The target also hands its raw input to the orientation reader.
        {"exif_segment.bin", std::string(reinterpret_cast<const char*>(kExifOrientation6), sizeof kExifOrientation6)},
        {"arithmetic_cut_in_half.jpg", CutInHalf(arithmetic)},
        {"arithmetic_taller_than_data.jpg", WithDoubledHeight(arithmetic)},
        {"arithmetic_huge_frame_of_four_bytes.jpg",
         HugeFrameOfFourBytes(LibjpegPicture(JpegCoding::Arithmetic, 16, 16, 1))},
    };
    for (const auto& [name, bytes] : files)
        if (!WriteBytes(folder + "/" + name, bytes))
            return 1;
    return 0;
}
