// Fuzz target: decodes the input bytes as a JPEG photo. Any result is fine;
// a crash, a sanitizer report, a leak or an exit is not: photos come from
// anywhere, and a damaged one must only be refused.
#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBitmap bitmap;
    if (DecodeJpegMemory(data, size, bitmap) == JpegResult::Ok) {
        // Touch the last pixel: the picture must be as large as it claims.
        if (bitmap.Width() > 0 && bitmap.Height() > 0)
            static_cast<void>(bitmap.Pixel(bitmap.Width() - 1, bitmap.Height() - 1));
    }
    return 0;
}
