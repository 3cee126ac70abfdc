// Character counting over UTF-8 bytes.
#include "platform/utf8_text.h"

namespace {

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxChars)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsContinuationByte(text[at]))
            continue;
        if (characters == maxChars)
            return at;
        ++characters;
    }
    return text.size();
}
