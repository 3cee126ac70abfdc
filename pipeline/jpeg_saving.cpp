// Encode to a temporary file, stamp it, rename it over the target.
#include "pipeline/jpeg_saving.h"

#include <optional>

#include "pipeline/density_stamp.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"

JpegSaveResult SaveJpegSafely(const TBitmap& bitmap, const std::string& path, int quality, int dpi,
                              std::string* error)
{
    std::optional<TemporaryFile> temporary = TemporaryFile::CreateBeside(path, error);
    if (!temporary)
        return JpegSaveResult::CannotCreateTemporary;
    if (EncodeJpegFile(bitmap, temporary->Path(), quality, error) != JpegResult::Ok)
        return JpegSaveResult::EncodingFailed;
    // The stamp never fails a save: a header it cannot patch keeps the codec's density.
    SetJpegDpi(temporary->Path(), dpi);
    if (!temporary->Commit(error))
        return JpegSaveResult::ReplaceFailed;
    return JpegSaveResult::Ok;
}
