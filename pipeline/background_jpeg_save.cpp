// Saving on a thread of its own.
#include "pipeline/background_jpeg_save.h"

#include <exception>

#include "platform/parallel_rows.h"

BackgroundJpegSave::~BackgroundJpegSave()
{
    Wait();
}

void BackgroundJpegSave::Start(const std::string& path, int quality, int dpi)
{
    Wait();
    done_ = false;
    try {
        start(path, quality, dpi);
    } catch (...) {
        // A thread that could not start leaves nothing to wait for.
        done_ = true;
        throw;
    }
}

void BackgroundJpegSave::start(const std::string& path, int quality, int dpi)
{
    worker_ = std::thread([this, path, quality, dpi] {
        // The caller's row work leaves the encode a core, as it does a decode ahead.
        const CoreReservation core;
        error_.clear();
        try {
            result_ = SaveJpegSafely(picture_, path, quality, dpi, &error_);
        } catch (const std::exception& failure) {
            // What the caller's thread would have been told (memory, say),
            // told as a failed save; SaveJpegSafely leaves no temporary file.
            result_ = JpegSaveResult::EncodingFailed;
            error_ = failure.what();
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        finished_.notify_all();
    });
}

bool BackgroundJpegSave::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return finished_.wait_for(lock, timeout, [this] { return done_; });
}

JpegSaveResult BackgroundJpegSave::Wait(std::string* error)
{
    if (worker_.joinable())
        worker_.join();
    if (error)
        *error = error_;
    return result_;
}
