// Saves a bitmap as a JPEG with its density stamped, without ever losing the
// file already at the path (which may be the source photo itself): the
// picture is written to a temporary file beside the target and renamed over
// it only once it is complete.
#pragma once

#include <string>

#include "platform/file_system.h"

class TBitmap;

enum class JpegSaveResult {
    Ok,
    CannotCreateTemporary, // the target's folder is missing or not writable
    EncodingFailed,        // encoding, writing or closing the temporary file failed
    ReplaceFailed,         // flushing it to disk or renaming it over the target failed
    FolderInTheWay,        // a folder has the target's name (failure->code EISDIR)
};

// quality 0..100 (0 counts as 1); dpi goes to the JFIF header when it is in
// 1..65535, otherwise the codec's default density stays. On failure the old
// file is untouched, no temporary file remains and failure (when given) says
// why; memory that runs out is such a failure (ENOMEM), not an exception.
JpegSaveResult SaveJpegSafely(const TBitmap& bitmap, const std::string& path, int quality, int dpi,
                              FileFailure* failure = nullptr);
