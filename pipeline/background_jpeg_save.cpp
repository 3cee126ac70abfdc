// Saving on a thread of its own.
#include "pipeline/background_jpeg_save.h"

#include "platform/parallel_rows.h"
#include "platform/thread_start.h"

BackgroundJpegSave::~BackgroundJpegSave()
{
    Wait();
}

void BackgroundJpegSave::Start(const std::string& path, int quality, int dpi)
{
    Wait();
    done_ = false;
    auto save = [this, path, quality, dpi] {
        failure_ = {};
        try {
            result_ = SaveJpegSafely(picture_, path, quality, dpi, &failure_);
        } catch (...) {
            // SaveJpegSafely leaves no temporary file however it ends.
            result_ = JpegSaveResult::EncodingFailed;
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        finished_.notify_all();
    };
    try {
        worker_ = StartThread([save] {
            // The caller's row work leaves the encode a core, as it does a decode ahead.
            const CoreReservation core;
            save();
        });
    } catch (...) {
        // No thread to be had: the save is done here, before Start returns.
        save();
    }
}

bool BackgroundJpegSave::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return finished_.wait_for(lock, timeout, [this] { return done_; });
}

JpegSaveResult BackgroundJpegSave::Wait(FileFailure* failure)
{
    if (worker_.joinable())
        worker_.join();
    if (failure)
        *failure = failure_;
    return result_;
}
