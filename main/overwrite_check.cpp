// What a save of a run may write over.
#include "main/overwrite_check.h"

#include <filesystem>

void OverwriteCheck::BeginRun(const std::vector<std::string>& photos)
{
    photos_.clear();
    written_.clear();
    for (const std::string& photo : photos)
        if (const auto identity = IdentityOf(photo))
            photos_.insert(*identity);
}

OverwriteCheck::Target OverwriteCheck::Examine(const std::string& path, const std::string& source) const
{
    Target target;
    target.path = path;
    target.source = source;
    const auto identity = IdentityOf(path);
    if (!identity)
        return target;
    target.identity = *identity;
    target.kind = Kind::ExistingFile;
    // A picture of this run comes first: when it replaced a photo of the
    // list, the original is gone and what would be lost is that picture.
    if (const auto it = written_.find(*identity); it != written_.end() && StillThere(it->first, it->second)) {
        // The photo's own earlier picture (the list run again) is no clash.
        if (it->second.source != source) {
            target.kind = Kind::OtherPicture;
            target.earlierSource = it->second.source;
        }
    } else if (photos_.count(*identity)) {
        target.kind = Kind::SourcePhoto;
    }
    return target;
}

void OverwriteCheck::Saved(const Target& target)
{
    // The save put a new file in place of the old one (a rename): the old
    // identity names nothing any more.
    if (target.kind != Kind::NewFile) {
        written_.erase(target.identity);
        photos_.erase(target.identity);
    }
    ++saves_;
    if (const auto identity = IdentityOf(target.path)) {
        // The current folder may change before the file is looked at again.
        std::error_code ignored;
        written_[*identity] = {target.source, saves_, std::filesystem::absolute(target.path, ignored).string()};
    }
}

int OverwriteCheck::FilesSavedSince(std::uint64_t mark) const
{
    int files = 0;
    for (const auto& [identity, written] : written_)
        if (written.save > mark && StillThere(identity, written))
            ++files;
    return files;
}

bool OverwriteCheck::StillThere(const FileIdentity& identity, const Written& written)
{
    return IdentityOf(written.path) == identity;
}
