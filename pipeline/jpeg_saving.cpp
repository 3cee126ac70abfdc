// Encode to a temporary file, stamp it, rename it over the target.
#include "pipeline/jpeg_saving.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include "pipeline/density_stamp.h"
#include "platform/jpeg_codec.h"

namespace {

JpegSaveResult Save(const TBitmap& bitmap, const std::string& path, int quality, int dpi, FileFailure* failure)
{
    // The rename would fail on it at the end; nothing need be written first.
    if (DirectoryExists(path)) {
        if (failure)
            *failure = {EISDIR, std::strerror(EISDIR)};
        return JpegSaveResult::FolderInTheWay;
    }
    std::optional<TemporaryFile> temporary = TemporaryFile::CreateBeside(path, failure);
    if (!temporary)
        return JpegSaveResult::CannotCreateTemporary;
    if (EncodeJpegFile(bitmap, temporary->Path(), quality, failure) != JpegResult::Ok)
        return JpegSaveResult::EncodingFailed;
    // The stamp never fails a save: a header it cannot patch keeps the codec's density.
    SetJpegDpi(temporary->Path(), dpi);
    if (!temporary->Commit(failure))
        return JpegSaveResult::ReplaceFailed;
    return JpegSaveResult::Ok;
}

}  // namespace

JpegSaveResult SaveJpegSafely(const TBitmap& bitmap, const std::string& path, int quality, int dpi,
                              FileFailure* failure)
{
    try {
        return Save(bitmap, path, quality, dpi, failure);
    } catch (const std::bad_alloc&) {
        // The temporary file went with the unwinding.
        if (failure)
            *failure = {ENOMEM, std::strerror(ENOMEM)};
        return JpegSaveResult::EncodingFailed;
    }
}
