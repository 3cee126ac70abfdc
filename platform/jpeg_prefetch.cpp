// Decodes ahead on one thread per photo; within a batch pictures are
// recycled, so that their storage stays mapped from photo to photo.
#include "platform/jpeg_prefetch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "platform/bitmap.h"
#include "platform/file_system.h"
#include "platform/parallel_rows.h"
#include "platform/thread_start.h"

namespace {

std::function<void(JpegPrefetch::Event, const std::string&)>& Observer()
{
    static std::function<void(JpegPrefetch::Event, const std::string&)> observer;
    return observer;
}

}  // namespace

struct JpegPrefetch::Decode {
    std::string path;
    TBitmap picture;
    JpegResult result = JpegResult::Unreadable;
    // Taken before and after the decode: equal when nothing changed it meanwhile.
    FileStamp before;
    FileStamp after;
    // The decode threw (memory, above all) or never started: the caller
    // decodes the photo itself, where a failure shows as a photo's failure
    // does, and where the memory this decode competed for may be free again.
    bool failed = false;
    std::thread worker;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;

    void Start(const std::string& file)
    {
        path = file;
        failed = false;
        done = false;
        try {
            worker = StartThread([this] {
                // The batch waits for this decode when it takes longer than the
                // photo before it, so it keeps a core of its own.
                const CoreReservation core;
                try {
                    before = StampOf(path);
                    result = DecodeJpegFile(path, picture);
                    after = StampOf(path);
                } catch (...) {
                    failed = true;
                }
                const std::lock_guard lock(mutex);
                done = true;
                finished.notify_all();
            });
        } catch (...) {
            failed = true;
            done = true;
        }
    }
    bool FinishWithin(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex);
        return finished.wait_for(lock, timeout, [this] { return done; });
    }
    void Finish()
    {
        if (worker.joinable())
            worker.join();
    }
};

JpegPrefetch::JpegPrefetch() = default;

JpegPrefetch::~JpegPrefetch()
{
    DropAll();
}

void JpegPrefetch::Ahead(const std::string& path, TBitmap* storage)
{
    if (Has(path))
        return;
    if (static_cast<int>(running_.size()) >= kAhead) {
        running_.front()->Finish();
        spare_.push_back(std::move(running_.front()));
        running_.erase(running_.begin());
    }
    std::unique_ptr<Decode> decode;
    try {
        if (spare_.empty()) {
            decode = std::make_unique<Decode>();
        } else {
            decode = std::move(spare_.back());
            spare_.pop_back();
        }
        // Room first: a running decode must never be dropped unjoined.
        running_.reserve(running_.size() + 1);
    } catch (const std::bad_alloc&) {
        return; // the caller decodes the photo at its turn
    }
    if (storage)
        decode->picture.ExchangePixels(*storage);
    decode->Start(path);
    running_.push_back(std::move(decode));
    if (Observer())
        Observer()(Event::Started, path);
}

bool JpegPrefetch::Has(const std::string& path) const
{
    return std::any_of(running_.begin(), running_.end(), [&](const auto& d) { return d->path == path; });
}

std::optional<JpegResult> JpegPrefetch::Take(const std::string& path, TBitmap& out, FileStamp* stamp)
{
    const auto found = std::find_if(running_.begin(), running_.end(), [&](const auto& d) { return d->path == path; });
    if (found == running_.end())
        return std::nullopt;
    if (Observer())
        Observer()(Event::Taken, path);
    std::unique_ptr<Decode> decode = std::move(*found);
    running_.erase(found);
    decode->Finish();
    std::optional<JpegResult> result;
    if (!decode->failed && decode->before == decode->after && decode->after == StampOf(path)) {
        out.ExchangePixels(decode->picture);
        result = decode->result;
        if (stamp)
            *stamp = decode->after;
    }
    spare_.push_back(std::move(decode));
    return result;
}

bool JpegPrefetch::WaitFor(const std::string& path, const std::function<bool()>& poll)
{
    const auto found = std::find_if(running_.begin(), running_.end(), [&](const auto& d) { return d->path == path; });
    if (found == running_.end())
        return true;
    while (!(*found)->FinishWithin(std::chrono::milliseconds(20)))
        if (poll && poll())
            return false;
    return true;
}

void JpegPrefetch::ObserveForTesting(std::function<void(Event, const std::string& path)> observer)
{
    Observer() = std::move(observer);
}

void JpegPrefetch::DropAll()
{
    for (auto& decode : running_) {
        decode->Finish();
        spare_.push_back(std::move(decode));
    }
    running_.clear();
    spare_.clear();
}
