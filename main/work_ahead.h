// The batch's next photo worked ahead while the photo before it is saved: its
// pixel work (the cached photo, the fitted photo, the composed picture) done
// silently into the work bitmaps, and held here until the batch comes to it.
// While it is worked, the work state of the photo being saved waits here, so
// that a failed save or an abort leaves that photo's state as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pipeline/background_jpeg_save.h"
#include "pipeline/colour_correction.h"
#include "pipeline/frame_layout.h"
#include "pipeline/frame_text.h"
#include "pipeline/histogram.h"
#include "platform/bitmap.h"
#include "platform/file_system.h"
#include "platform/font.h"

// Photos up to this size are worked ahead while the photo before them
// saves. Larger ones keep the memory in bounds: a batch of 24 MP photos
// worked ahead took 564 MB with only one decode ahead, where its bound is
// 500, and gained nothing measurable.
inline constexpr std::int64_t kWorkAheadPixels = 16'000'000;
// The memory bound of a batch. Every photo from the one in work through one
// decoded ahead is held at once (in work, saving, worked ahead or decoding),
// so a decode starts only while their pixels, its own included, come to at
// most kAheadPixels: three 24 MP photos, as a batch of them holds. Each photo
// is judged by its header, before any of its pixels exist. A photo above
// kDecodeAheadPixels, larger than a usual camera's, is decoded at its turn
// with nothing decoded beside it.
inline constexpr std::int64_t kAheadPixels = 72'000'000;
inline constexpr std::int64_t kDecodeAheadPixels = 25'000'000;

// Everything the pixel work of a photo reads besides its file. The work done
// ahead is kept only when all of it is as it was: a modeless window or a
// correction may change it while the batch runs.
struct WorkAheadInputs {
    struct Text {
        TFrameTextKind kind = TFrameTextKind::Title;
        std::string text;
        LOGFONT font;
        TColor colour = 0;
        int angle = 0;
        TPoint at;
        bool operator==(const Text&) const = default;
    };
    TFrameLayout frame;
    TFrameLayout preview;
    int offsetX = 0;
    int offsetY = 0;
    float angle = 0;
    float zoom = 0;
    bool corrections = false;
    bool colour = false;
    bool highQuality = false;
    bool sharpen = false;
    int trimming = 0;
    TColor background = 0;
    // None when a gain is beyond what the correction takes.
    std::optional<ColourCorrection> correction;
    std::vector<Text> texts;
    float lineSpacing = 0;
    int horizontalScale = 0;
    int smoothing = 0;
    bool operator==(const WorkAheadInputs&) const = default;
};

struct WorkAhead {
    // The photo held worked ahead (empty when none), the stamp of the file
    // its decode read, and what its work read.
    std::string path;
    FileStamp stamp;
    WorkAheadInputs inputs;
    // The held photo's cached and fitted photo and its histogram after the
    // correction; while it is worked, those of the photo being saved.
    TBitmap source;
    TBitmap photo;
    HistogramSet histogramAfter{};
    // Saves the composed picture; between a save and the next photo's turn
    // its picture holds the next photo's composition.
    BackgroundJpegSave save;
    // Set at the photo's turn when its cached photo was taken: the fitted
    // photo may follow, then the composition.
    bool fittedReady = false;
    bool composedReady = false;
};
