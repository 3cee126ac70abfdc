// Profile-file reading and line-preserving writing.
#include "platform/ini_file.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "platform/utf8_text.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";
// The original reads values into a 2048-byte buffer: 2047 bytes of a code
// page 932 file, and as many characters of a UTF-8 one.
constexpr std::size_t kMaxValueLength = 2047;

struct Line {
    std::string text;               // UTF-8, without the line end
    std::optional<std::string> raw; // the bytes on disk, while the line is as read from a CP932 file
    std::string end;                // "\r\n", "\n", or "" for a last line without one
};

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + ('a' - 'A'));
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + ('a' - 'A'));
        if (x != y)
            return false;
    }
    return true;
}

// A line whose first non-blank character is "[" heads a section; the name
// ends at the first "]" (or the line's end).
bool ParseSection(const std::string& text, std::string& name)
{
    const std::string line = Trim(text);
    if (line.empty() || line[0] != '[')
        return false;
    const std::size_t close = line.find(']');
    name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// "key=value" with both sides trimmed; lines starting with ";" are comments.
bool ParseKey(const std::string& text, std::string& key, std::string& value)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    key = Trim(text.substr(0, equals));
    if (key.empty() || key[0] == ';')
        return false;
    value = Trim(text.substr(equals + 1));
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, bool& missing)
{
    missing = false;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT;
        return false;
    }
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return ok;
}

} // namespace

struct TIniFile::Document {
    std::vector<Line> lines;
    bool utf8 = false;
    std::string newline = "\r\n"; // for added lines: the file's own line end
    bool readable = true;         // false: the file exists but could not be read
    bool changed = false;

    void Parse(std::string bytes)
    {
        if (bytes.compare(0, 3, kByteOrderMark) == 0) {
            utf8 = true;
            bytes.erase(0, 3);
        } else {
            utf8 = ReadsAsUtf8(bytes);
        }
        bool newlineKnown = false;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t stop = bytes.find('\n', start);
            Line line;
            std::string content;
            if (stop == std::string::npos) {
                content = bytes.substr(start);
                stop = bytes.size();
            } else {
                content = bytes.substr(start, stop - start);
                line.end = "\n";
                if (!content.empty() && content.back() == '\r') {
                    content.pop_back();
                    line.end = "\r\n";
                }
                if (!newlineKnown) {
                    newline = line.end;
                    newlineKnown = true;
                }
            }
            if (utf8) {
                line.text = content;
            } else {
                line.text = FromCp932(content);
                line.raw = content;
            }
            lines.push_back(std::move(line));
            start = stop + 1;
        }
    }

    // Index of the header of section, or npos.
    std::size_t FindSection(const std::string& section) const
    {
        std::string name;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (ParseSection(lines[i].text, name) && SameIgnoringCase(name, section))
                return i;
        return std::string::npos;
    }

    // Index after the last line of the section headed at header.
    std::size_t SectionEnd(std::size_t header) const
    {
        std::string name;
        std::size_t i = header + 1;
        while (i < lines.size() && !ParseSection(lines[i].text, name))
            ++i;
        return i;
    }

    // Index of the key's line in section, or npos; value receives its value.
    std::size_t FindKey(const std::string& section, const std::string& key, std::string* value = nullptr) const
    {
        const std::size_t header = FindSection(section);
        if (header == std::string::npos)
            return std::string::npos;
        std::string name;
        std::string found;
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i)
            if (ParseKey(lines[i].text, name, found) && SameIgnoringCase(name, key)) {
                if (value)
                    *value = found;
                return i;
            }
        return std::string::npos;
    }

    void Insert(std::size_t index, std::string text)
    {
        // A last line without its end gets one before anything follows it.
        if (index > 0 && lines[index - 1].end.empty())
            lines[index - 1].end = newline;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(text), std::nullopt, newline});
    }

    void Set(const std::string& section, const std::string& key, const std::string& value)
    {
        changed = true;
        const std::size_t header = FindSection(section);
        if (header == std::string::npos) {
            Insert(lines.size(), "[" + section + "]");
            Insert(lines.size(), key + "=" + value);
            return;
        }
        const std::size_t end = SectionEnd(header);
        std::size_t lastKey = header;
        std::string name;
        std::string old;
        for (std::size_t i = header + 1; i < end; ++i) {
            if (!ParseKey(lines[i].text, name, old))
                continue;
            if (SameIgnoringCase(name, key)) {
                std::string text = name + "=" + value;
                if (text != lines[i].text) {
                    lines[i].text = std::move(text);
                    lines[i].raw.reset();
                }
                return;
            }
            lastKey = i;
        }
        Insert(lastKey + 1, key + "=" + value);
    }

    std::string Encode() const
    {
        std::string bytes;
        for (const Line& line : lines) {
            std::optional<std::string> encoded = line.raw ? line.raw : ToCp932(line.text);
            if (!encoded)
                return EncodeUtf8();
            bytes += *encoded + line.end;
        }
        return bytes;
    }

    std::string EncodeUtf8() const
    {
        std::string bytes = kByteOrderMark;
        for (const Line& line : lines)
            bytes += line.text + line.end;
        return bytes;
    }
};

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

TIniFile::~TIniFile() = default;

TIniFile::Document TIniFile::Snapshot() const
{
    if (pending_)
        return *pending_;
    Document document;
    std::string bytes;
    bool missing = false;
    if (ReadWholeFile(path_, bytes, missing))
        document.Parse(std::move(bytes));
    else
        document.readable = missing;
    return document;
}

TIniFile::Document TIniFile::LoadForWrite() const
{
    Document document = Snapshot();
    if (!document.readable)
        throw Exception(Format("%s に書き込めません", path_.c_str()));
    return document;
}

void TIniFile::Save(const Document& document) const
{
    if (!WriteFileAtomically(path_, document.Encode()))
        throw Exception(Format("%s に書き込めません", path_.c_str()));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    std::string value;
    const Document document = Snapshot();
    if (document.FindKey(section, key, &value) == std::string::npos)
        return def;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    value.resize(document.utf8 ? Utf8PrefixBytes(value, kMaxValueLength) : Cp932PrefixBytes(value, kMaxValueLength));
    return value;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    return StrToIntDef(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return Snapshot().FindSection(section) != std::string::npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return Snapshot().FindKey(section, key) != std::string::npos;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    const Document document = Snapshot();
    std::vector<std::string> keys;
    const std::size_t header = document.FindSection(section);
    if (header == std::string::npos)
        return keys;
    std::string key;
    std::string value;
    const std::size_t end = document.SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (ParseKey(document.lines[i].text, key, value))
            keys.push_back(key);
    return keys;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (pending_) {
        pending_->Set(section, key, value);
        return;
    }
    Document document = LoadForWrite();
    document.Set(section, key, value);
    Save(document);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::BeginUpdate()
{
    if (updateDepth_ == 0)
        pending_ = std::make_unique<Document>(LoadForWrite());
    ++updateDepth_;
}

void TIniFile::EndUpdate()
{
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    const std::unique_ptr<Document> document = std::move(pending_);
    if (document->changed)
        Save(*document);
}
