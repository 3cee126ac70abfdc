// Path text with "/" as the only separator. A file name is what follows the
// last "/" (":" and "\" are ordinary characters here); nothing touches the
// file system.
#pragma once

#include <string>

// Up to and including the last "/"; "" when there is none.
std::string ExtractFilePath(const std::string& path);
// What follows the last "/" (all of path when there is none).
std::string ExtractFileName(const std::string& path);
// From the last "." of the file name on ("" when the name has none).
std::string ExtractFileExt(const std::string& path);
// path with its extension replaced by ext (which includes its "."), or
// added when there was none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// Without a final "/", except for the root "/" itself.
std::string ExcludeTrailingPathDelimiter(const std::string& path);
// With a final "/".
std::string IncludeTrailingPathDelimiter(const std::string& path);
