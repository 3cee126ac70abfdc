// Settings files with the rules of the original platform's profile files
// (not QSettings, which rewrites and reorders): sections and keys match
// without regard to ASCII case, names and values are trimmed, a value in
// double quotes loses them on reading, a write changes only the one line
// it concerns (or adds the key at the end of its section, or the section at
// the end of the file) and keeps every other line byte for byte.
//
// On disk the text is code page 932, so files stay readable on the original
// platform; when some text cannot be held there, the whole file is written
// as UTF-8 after a byte-order mark. A file is read as UTF-8 when it starts
// with that mark, or when it is valid UTF-8 and not valid code page 932 (as
// a Linux text editor writes it); a rewrite stores it in code page 932. Each
// write replaces the file atomically.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(std::string path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return path_; }

    // A missing file, section or key gives def; a present empty value gives
    // "". Values are cut to whole characters that take at most 2047 bytes in
    // code page 932, or to 2047 characters in a UTF-8 file.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // def also when the value is not a number that fits 32 bits (StrToIntDef).
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // True for any non-zero number.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The key names of a section, in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;

    // Each write goes to the file at once (or at EndUpdate). A failure throws
    // Exception("<path> に書き込めません").
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Between these, writes collect in memory and EndUpdate writes the file
    // once (and throws as a write would). Calls nest.
    void BeginUpdate();
    void EndUpdate();

private:
    struct Document;
    // The batch in progress, or the file as it is now (empty when missing
    // or unreadable).
    Document Snapshot() const;
    // The file for a change; throws when it exists but cannot be read, as
    // rewriting it would lose its other lines.
    Document LoadForWrite() const;
    void Save(const Document& document) const;

    std::string path_;
    int updateDepth_ = 0;
    std::unique_ptr<Document> pending_;
};
