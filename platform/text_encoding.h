// Conversion between the program's UTF-8 text and code page 932, the
// encoding of settings files shared with the original platform. Goes through
// iconv's "CP932": unlike "SHIFT_JIS" it keeps 0x5C as the backslash and
// holds the vendor characters (～, ①, ...) that such files contain.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text in code page 932, or nullopt when some character has no code
// there (or the input is not valid UTF-8).
std::optional<std::string> ToCp932(const std::string& utf8);

// Bytes of code page 932 as UTF-8. Never fails: each byte that does not start
// a valid character becomes U+FFFD, so damaged files still read.
std::string FromCp932(const std::string& bytes);

// Whether bytes of a file without a byte-order mark hold UTF-8 rather than
// code page 932: some are not ASCII, and they form valid UTF-8 but not valid
// code page 932. A text valid as both is taken as code page 932, which files
// shared with the original platform are.
bool ReadsAsUtf8(const std::string& bytes);

// The bytes of the longest run of whole characters at the start of utf8 whose
// code page 932 form fits maxBytes. A character without a code there counts
// one byte: in text read from such a file it stands for one undecodable byte.
std::size_t Cp932PrefixBytes(std::string_view utf8, std::size_t maxBytes);
