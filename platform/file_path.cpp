// Path text operations.
#include "platform/file_path.h"

namespace {

// Index where the file name starts.
std::size_t NameStart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Index of the extension's ".", or npos.
std::size_t ExtStart(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && dot >= NameStart(path) ? dot : std::string::npos;
}

} // namespace

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFileExt(const std::string& path)
{
    const std::size_t dot = ExtStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    return path.substr(0, ExtStart(path)) + ext;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path)
{
    if (path.size() > 1 && path.back() == '/')
        return path.substr(0, path.size() - 1);
    return path;
}

std::string IncludeTrailingPathDelimiter(const std::string& path)
{
    if (!path.empty() && path.back() == '/')
        return path;
    return path + "/";
}
