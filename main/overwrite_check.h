// What a save of a run may write over. A run lasts from the building of the
// photo list until the list is built again or emptied (a batch, or one
// single run after another over the same list). It knows the photos of its
// list and the pictures it has written by their file identity, so that a
// photo is recognised under any spelling of its path, and a picture of one
// photo is never lost under another photo's picture of the same name
// without a question.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

class OverwriteCheck {
public:
    enum class Kind {
        NewFile,       // nothing there
        ExistingFile,  // a file from before the run, or this photo's own earlier picture
        SourcePhoto,   // a photo of the list: its original would be replaced
        OtherPicture,  // a picture this run wrote for another photo
    };
    struct Target {
        Kind kind = Kind::NewFile;
        std::string path;
        std::string source;         // the photo whose picture is to be written
        std::string earlierSource;  // OtherPicture: the photo whose picture is there
        FileIdentity identity;      // of the file there (not NewFile)
    };

    // A new run over these photos; what earlier runs wrote counts as there
    // before.
    void BeginRun(const std::vector<std::string>& photos);
    // What writing source's picture to path would replace.
    Target Examine(const std::string& path, const std::string& source) const;
    // The target as examined now holds the picture of its source.
    void Saved(const Target& target);
    // A mark of the saves so far, and the number of files saved since a mark
    // that are still there holding the picture saved then (a picture written
    // over by a later one of the same run counts once; one removed since, not
    // at all, whichever file now has its inode).
    std::uint64_t Mark() const { return saves_; }
    int FilesSavedSince(std::uint64_t mark) const;

private:
    struct Written {
        std::string source;
        std::uint64_t save = 0;  // number of the save, counted from 1
        std::string path;        // where it was written
    };
    // Whether the picture is still where it was written. A file system may
    // give a removed picture's inode to a new file elsewhere.
    static bool StillThere(const FileIdentity& identity, const Written& written);
    std::set<FileIdentity> photos_;
    std::map<FileIdentity, Written> written_;
    std::uint64_t saves_ = 0;
};
