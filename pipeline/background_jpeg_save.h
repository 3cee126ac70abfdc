// Saves a picture as SaveJpegSafely does, on a thread of its own, so that the
// caller can go on working meanwhile. The picture belongs to the save: the
// caller exchanges its pixels in before Start and out again after Wait (no
// copy), and the thread only reads it. When no thread can be started, Start
// saves on the caller's thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "pipeline/jpeg_saving.h"
#include "platform/bitmap.h"

class BackgroundJpegSave {
public:
    BackgroundJpegSave() = default;
    // Waits for a save still running: its temporary file is never left.
    ~BackgroundJpegSave();
    BackgroundJpegSave(const BackgroundJpegSave&) = delete;
    BackgroundJpegSave& operator=(const BackgroundJpegSave&) = delete;

    // Not to be touched between Start and Wait.
    TBitmap& Picture() { return picture_; }
    // Starts saving Picture() to path (quality and dpi as SaveJpegSafely takes them).
    void Start(const std::string& path, int quality, int dpi);
    // Waits for the save started last and gives its result, with the reason
    // of a failure when asked.
    JpegSaveResult Wait(FileFailure* failure = nullptr);
    // Waits at most timeout for the save started last; whether it is done.
    bool WaitFor(std::chrono::milliseconds timeout);

private:
    TBitmap picture_;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = true;
    JpegSaveResult result_ = JpegSaveResult::Ok;
    FileFailure failure_;
};
