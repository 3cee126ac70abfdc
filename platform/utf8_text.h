// Limits on UTF-8 text counted in characters: a text cut to a limit keeps
// whole characters, so no drawn or stored text ends in half of one.
#pragma once

#include <cstddef>
#include <string_view>

// The bytes that the first maxChars characters of text take (all of text
// when it holds fewer). A character starts at every byte that is not a
// continuation byte (10xxxxxx), so a cut never falls inside a sequence, even
// an invalid one.
std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxChars);
