// Code page 932 through glibc's iconv.
#include "platform/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// One conversion descriptor, closed at the end of scope.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as possible, appending to out; returns 0 when
    // all of it was converted, otherwise the errno that stopped it (in then
    // points at the offending byte).
    int Convert(char*& in, std::size_t& inLeft, std::string& out)
    {
        char buffer[4096];
        while (inLeft > 0) {
            char* dest = buffer;
            std::size_t destLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &dest, &destLeft);
            out.append(buffer, static_cast<std::size_t>(dest - buffer));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
                return errno;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

// All of bytes converted, or nullopt at the first fault.
std::optional<std::string> ConvertWhole(const char* to, const char* from, const std::string& bytes)
{
    Converter converter(to, from);
    if (!converter.Ok())
        return std::nullopt;
    std::string input = bytes;
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string out;
    if (converter.Convert(in, inLeft, out) != 0)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> ToCp932(const std::string& utf8)
{
    return ConvertWhole("CP932", "UTF-8", utf8);
}

std::size_t Cp932PrefixBytes(std::string_view utf8, std::size_t maxBytes)
{
    // No character is longer in code page 932 than in UTF-8.
    if (utf8.size() <= maxBytes)
        return utf8.size();
    Converter converter("CP932", "UTF-8");
    std::size_t used = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        std::size_t end = at + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        std::string character(utf8.substr(at, end - at));
        char* in = character.data();
        std::size_t inLeft = character.size();
        std::string encoded;
        const bool held = converter.Ok() && converter.Convert(in, inLeft, encoded) == 0;
        used += held ? encoded.size() : 1;
        if (used > maxBytes)
            break;
        at = end;
    }
    return at;
}

bool ReadsAsUtf8(const std::string& bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && ConvertWhole("UTF-16LE", "UTF-8", bytes) && !ConvertWhole("UTF-8", "CP932", bytes);
}

std::string FromCp932(const std::string& bytes)
{
    static const char kReplacement[] = "\xEF\xBF\xBD";
    Converter converter("UTF-8", "CP932");
    if (!converter.Ok()) {
        // Without the conversion module only ASCII can be trusted.
        std::string out;
        for (const char c : bytes)
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : kReplacement;
        return out;
    }
    std::string input = bytes;
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string out;
    while (converter.Convert(in, inLeft, out) != 0) {
        // Skip one byte only: what follows a bad lead byte may be plain ASCII.
        out += kReplacement;
        ++in;
        --inLeft;
    }
    return out;
}
