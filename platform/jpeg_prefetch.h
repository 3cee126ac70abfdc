// Decoding photos ahead on threads of their own, so that a batch's next
// photo is ready when the current one is finished. A decode reads only its
// file and writes only a picture owned here; the caller takes the picture
// over (without copying) when it comes to that photo. A photo whose file has
// changed since its decode started (a save of the batch may replace it), or
// whose decode threw or could not start, is not handed over: the caller
// decodes it afresh.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/jpeg_codec.h"

class TBitmap;

class JpegPrefetch {
public:
    JpegPrefetch();
    // Waits for the decodes still running.
    ~JpegPrefetch();
    JpegPrefetch(const JpegPrefetch&) = delete;
    JpegPrefetch& operator=(const JpegPrefetch&) = delete;

    // Starts decoding path unless it is being decoded already. At most
    // kAhead decodes are kept; starting another drops the oldest. A decode
    // started decodes into the storage of storage, when given, whose pixels
    // it exchanges for those of a decode taken before (no copy; both
    // contents are dropped): storage that would lie idle until then.
    void Ahead(const std::string& path, TBitmap* storage = nullptr);
    // Whether a decode of path was started and not taken yet.
    bool Has(const std::string& path) const;
    // The decode of path, when one was started, ran and its file is unchanged:
    // waits for it, exchanges its picture with out and returns its result
    // (out as DecodeJpegFile would leave it), with the stamp of the file it
    // read when asked. Otherwise nothing, and out is untouched.
    std::optional<JpegResult> Take(const std::string& path, TBitmap& out, FileStamp* stamp = nullptr);
    // Waits for the decode of path, if one was started and not taken,
    // running poll about every 20 ms meanwhile; false when poll returned
    // true before the decode was done (it goes on, to be taken later).
    bool WaitFor(const std::string& path, const std::function<bool()>& poll);
    // Waits for every decode and forgets them, freeing their storage.
    void DropAll();

    // The photo in work, taken at once, and two ahead of it.
    static constexpr int kAhead = 3;

    // Tests see what a batch asks of its decodes: each decode started and
    // each taken, on the thread that asks.
    enum class Event { Started, Taken };
    static void ObserveForTesting(std::function<void(Event, const std::string& path)> observer);

private:
    struct Decode;
    std::vector<std::unique_ptr<Decode>> running_;
    std::vector<std::unique_ptr<Decode>> spare_;
};
