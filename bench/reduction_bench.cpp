// Times the photo pipeline's heavy steps on a photo-like 4000 x 3000 picture:
// the high-quality reduction into layout 0's photo area, the preview path
// (the preview copy once per load, then crop, stretch, colour correction and
// histogram per slider move) and a 1-degree rotation. Prints the median of
// several runs in milliseconds. Usage: pipeline_bench [runs] [threads]
// (threads 0 = all cores, 1 = single-threaded).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/bench_photos.h"
#include "pipeline/area_reduction.h"
#include "pipeline/colour_correction.h"
#include "pipeline/histogram.h"
#include "pipeline/photo_fitting.h"
#include "pipeline/pixel_plane.h"
#include "pipeline/rotation.h"
#include "pipeline/work_control.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/parallel_rows.h"
#include "platform/stretch.h"

namespace {

// Copies window of source into out (out-of-picture parts white), as the fitting does.
void CutWindow(const TBitmap& source, const TRect& window, TBitmap& out)
{
    out.SetSize(window.Width(), window.Height());
    out.Fill(clWhite);
    for (int y = std::max(window.Top, 0); y < std::min(window.Bottom, source.Height()); ++y) {
        const int left = std::max(window.Left, 0);
        const int right = std::min(window.Right, source.Width());
        for (int x = left; x < right; ++x) {
            const std::uint8_t* in = source.ScanLine(y) + x * 3;
            std::uint8_t* o = out.ScanLine(y - window.Top) + (x - window.Left) * 3;
            o[0] = in[0];
            o[1] = in[1];
            o[2] = in[2];
        }
    }
}

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    if (argc > 2)
        SetWorkerThreadCount(std::atoi(argv[2]));
    std::printf("threads: %d, runs: %d\n", WorkerThreadCount(), runs);

    const int sW = 4000, sH = 3000;
    TBitmap photo;
    MakePhoto(photo, sW, sH);

    // Layout 0: photo area 1500 x 922 at full size, 685 x 421 in the preview.
    const int eW = 1500, eH = 922;
    const int pW = 685, pH = 421;
    const CropSize crop = CropSizeFor(sW, sH, eW, eH);
    const TRect window = *CropWindow(crop, false, 1.0f, {0, 0}, sW, sH, TrimAlignment::Centre);

    TBitmap work;
    PixelPlane plane;
    WorkControl control;
    std::string message;
    int result = 0;
    const double reduceMs = MedianMs(
        runs, [&] { CutWindow(photo, window, work); },
        [&] { result = ShrinkHighQuality(work, eW, eH, false, plane, control, message); });
    std::printf("(a) high-quality reduction %dx%d -> %dx%d: %.1f ms (result %d)\n", window.Width(),
                window.Height(), eW, eH, reduceMs, result);
    const double sharpenMs = MedianMs(
        runs, [&] { CutWindow(photo, window, work); },
        [&] { result = ShrinkHighQuality(work, eW, eH, true, plane, control, message); });
    std::printf("    with sharpening: %.1f ms (result %d)\n", sharpenMs, result);

    const TPoint previewSize = PreviewCopySize(sW, sH, std::max(pW, pH));
    TBitmap preview;
    const double previewCopyMs = MedianMs(
        runs, [] {},
        [&] {
            preview.SetSize(previewSize.x, previewSize.y);
            StretchBitmap(photo, preview, {0, 0, previewSize.x, previewSize.y});
        });
    std::printf("(b) preview copy %dx%d -> %dx%d (once per load): %.2f ms\n", sW, sH, previewSize.x,
                previewSize.y, previewCopyMs);

    const CropSize previewCrop = CropSizeFor(previewSize.x, previewSize.y, pW, pH);
    const TRect previewWindow
        = *CropWindow(previewCrop, true, 1.25f, {0, 0}, previewSize.x, previewSize.y, TrimAlignment::Centre);
    TBitmap cut, fitted;
    HistogramSet histogram;
    const ColourCorrection correction{20, -10, 5, 1.5, 250, 400, 130, 200, 120};
    const double sliderMs = MedianMs(
        runs, [] {},
        [&] {
            CutWindow(preview, previewWindow, cut);
            fitted.SetSize(pW, pH);
            StretchBitmap(cut, fitted, {0, 0, pW, pH});
            ApplyColourCorrection(fitted, correction);
            BuildHistogramSet(fitted, histogram);
        });
    std::printf("    per slider move (crop %dx%d, stretch to %dx%d, correction, histogram): %.2f ms\n",
                previewWindow.Width(), previewWindow.Height(), pW, pH, sliderMs);

    const double fallbackMs = MedianMs(
        runs, [&] { CutWindow(photo, window, work); fitted.SetSize(eW, eH); },
        [&] { StretchBitmap(work, fitted, {0, 0, eW, eH}); });
    std::printf("    plain stretch of the full-size crop to %dx%d: %.1f ms\n", eW, eH, fallbackMs);

    TBitmap turned;
    const double rotateMs = MedianMs(runs, [] {}, [&] { RotateByAngle(photo, turned, 1.0); });
    std::printf("(c) rotation of %dx%d by 1 degree: %.1f ms\n", sW, sH, rotateMs);

    TBitmap quarter;
    const double quarterMs = MedianMs(
        runs, [&] { quarter.SetSize(sH, sW); }, [&] { RotateQuarterTurns(photo, quarter, 270); });
    std::printf("    quarter turn of %dx%d: %.1f ms\n", sW, sH, quarterMs);

    // The codec's time for the same photo, which the full-size preparation
    // (the reduction above) should stay below.
    char path[] = "/tmp/plovis-bench-XXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    EncodeJpegFile(photo, path, 90);
    TBitmap decoded;
    const double decodeMs = MedianMs(runs, [] {}, [&] { DecodeJpegFile(path, decoded); });
    std::remove(path);
    std::printf("(d) libjpeg decode of the same %dx%d photo: %.1f ms (reduction / decode = %.2f)\n", sW, sH,
                decodeMs, reduceMs / decodeMs);

    // An abort pressed during the reduction of the largest crop it accepts
    // (4800 pixels a side; larger photos are stretched instead): the pump
    // (the window's event processing) sets the flag once 5 ms have passed;
    // the time from then to the reduction's return is what the operator waits.
    TBitmap large;
    MakePhoto(large, 4800, 3600);
    std::vector<double> waits;
    for (int i = 0; i < runs; ++i) {
        TBitmap crop;
        CutWindow(large, {0, 0, 4800, 3120}, crop);
        bool abort = false;
        const auto start = std::chrono::steady_clock::now();
        std::chrono::steady_clock::time_point pressed{};
        WorkControl pumping(&abort, [&] {
            if (!abort && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(5)) {
                abort = true;
                pressed = std::chrono::steady_clock::now();
            }
        });
        const int aborted = ShrinkHighQuality(crop, 2126, 1382, false, plane, pumping, message);
        if (aborted == -2)
            waits.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - pressed).count());
    }
    std::sort(waits.begin(), waits.end());
    if (!waits.empty())
        std::printf("(e) abort during a 4800x3120 -> 2126x1382 reduction takes effect after %.1f ms (worst %.1f)\n",
                    waits[waits.size() / 2], waits.back());
    return 0;
}
