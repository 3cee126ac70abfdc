// Decodes ahead on one thread per photo; within a batch pictures are
// recycled, so that their storage stays mapped from photo to photo.
#include "platform/jpeg_prefetch.h"

#include <sys/stat.h>

#include <algorithm>
#include <thread>

#include "platform/bitmap.h"
#include "platform/parallel_rows.h"

namespace {

// What identifies a file's content for the purpose: a replaced file (saved
// through a temporary file and renamed) has another inode, a rewritten one
// another time or size.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {};

    static FileStamp Of(const std::string& path)
    {
        struct stat info;
        if (stat(path.c_str(), &info) != 0)
            return {};
        return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    }
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

}  // namespace

struct JpegPrefetch::Decode {
    std::string path;
    TBitmap picture;
    JpegResult result = JpegResult::Unreadable;
    // Taken before and after the decode: equal when nothing changed it meanwhile.
    FileStamp before;
    FileStamp after;
    std::thread worker;

    void Start(const std::string& file)
    {
        path = file;
        worker = std::thread([this] {
            // The batch waits for this decode when it takes longer than the
            // photo before it, so it keeps a core of its own.
            const CoreReservation core;
            before = FileStamp::Of(path);
            result = DecodeJpegFile(path, picture);
            after = FileStamp::Of(path);
        });
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

void JpegPrefetch::Ahead(const std::string& path)
{
    if (std::any_of(running_.begin(), running_.end(), [&](const auto& d) { return d->path == path; }))
        return;
    if (static_cast<int>(running_.size()) >= kAhead) {
        running_.front()->Finish();
        spare_.push_back(std::move(running_.front()));
        running_.erase(running_.begin());
    }
    std::unique_ptr<Decode> decode;
    if (spare_.empty()) {
        decode = std::make_unique<Decode>();
    } else {
        decode = std::move(spare_.back());
        spare_.pop_back();
    }
    decode->Start(path);
    running_.push_back(std::move(decode));
}

std::optional<JpegResult> JpegPrefetch::Take(const std::string& path, TBitmap& out)
{
    const auto found = std::find_if(running_.begin(), running_.end(), [&](const auto& d) { return d->path == path; });
    if (found == running_.end())
        return std::nullopt;
    std::unique_ptr<Decode> decode = std::move(*found);
    running_.erase(found);
    decode->Finish();
    std::optional<JpegResult> result;
    if (decode->before == decode->after && decode->after == FileStamp::Of(path)) {
        out.ExchangePixels(decode->picture);
        result = decode->result;
    }
    spare_.push_back(std::move(decode));
    return result;
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
