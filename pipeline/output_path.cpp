// Output path rules on UTF-8 texts with "/" as separator.
#include "pipeline/output_path.h"

#include "platform/file_path.h"

namespace {

constexpr std::size_t kMaxPathText = 2048;

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int EndsWithBackslash(const std::string& text)
{
    if (text.size() >= kMaxPathText)
        return -2;
    if (text.empty())
        return -3;
    return text.back() == '/' ? 1 : 0;
}

std::string BuildOutputPath(const std::string& outputFolder, const std::string& sourcePath)
{
    std::string out = outputFolder;
    if (EndsWithBackslash(out) != 1)
        out += '/';
    return out + ExtractFileName(sourcePath);
}

bool HasJpgExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    const char* tail = name.data() + name.size() - 4;
    return tail[0] == '.' && AsciiLower(tail[1]) == 'j' && AsciiLower(tail[2]) == 'p' && AsciiLower(tail[3]) == 'g';
}
