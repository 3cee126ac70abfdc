// Fuzz target: decodes the input bytes as a JPEG photo, turned upright by its
// EXIF orientation. Any result is fine; a crash, a sanitizer report, a leak or
// an exit is not: photos come from anywhere, and a damaged one must only be
// refused.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/bitmap.h"
#include "platform/exif_orientation.h"
#include "platform/jpeg_codec.h"

namespace {

constexpr std::uint64_t kFuzzedPixels = 4'000'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The orientation reader also sees the bytes as the data of an APP1
    // segment, so that it meets every shape of one, not only those inside a
    // decodable file.
    static_cast<void>(ExifSegmentOrientation(data, size));
    // A few bytes may declare a huge flat picture that is decoded as an
    // intact one (seconds under the sanitizers): the fuzzer keeps to
    // pictures it can try many times a second; the decoder's tests cover
    // the large ones.
    if (const std::optional<JpegDimensions> declared = ReadJpegDimensionsMemory(data, size);
        declared && declared->Pixels() > kFuzzedPixels)
        return 0;
    TBitmap bitmap;
    if (DecodeJpegMemory(data, size, bitmap) == JpegResult::Ok) {
        // Touch the last pixel: the picture must be as large as it claims.
        if (bitmap.Width() > 0 && bitmap.Height() > 0)
            static_cast<void>(bitmap.Pixel(bitmap.Width() - 1, bitmap.Height() - 1));
    }
    return 0;
}
