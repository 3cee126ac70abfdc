// Fuzz target: the input bytes as a settings file on disk, read the way the
// program reads "vad.ini" and frame settings files, then changed by one write
// (which takes the line-preserving path and, for text code page 932 cannot
// hold, the UTF-8 fallback). One file per process, in TMPDIR or /tmp;
// libFuzzer ends with _Exit, so the runner removes it with its TMPDIR.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/ini_file.h"

namespace {

const std::string& FuzzFilePath()
{
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder && *folder ? folder : "/tmp") + "/plovis-ini-fuzz-" + std::to_string(getpid())
            + ".ini";
    }();
    return path;
}

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = FuzzFilePath();
    if (!WriteInput(path, data, size))
        std::abort(); // no writable scratch folder: nothing below would be tested
    TIniFile ini(path);
    // Names the program uses, in other cases too, since matching ignores case.
    for (const char* section : {"Config", "frame", "TITLE", "Date", "Other", ""}) {
        if (!ini.SectionExists(section))
            continue;
        for (const std::string& key : ini.ReadSection(section))
            static_cast<void>(ini.ReadString(section, key, "-"));
        static_cast<void>(ini.ReadInteger(section, "Bar1", 1));
        static_cast<void>(ini.ReadInteger(section, "windowposx", -999));
        static_cast<void>(ini.ReadBool(section, "Visible", true));
        static_cast<void>(ini.ReadString(section, "Text", "既定"));
    }
    static_cast<void>(ini.ReadString("Config", "PreSaveFolderName", "TA"));
    // A Japanese value code page 932 holds, and one it cannot (a snowman).
    const std::string value = size % 2 ? "写真①～" : "雪☃";
    ini.WriteString("Config", "PreSaveFolderName", value);
    // Whatever else the file holds, the value written is the value read.
    if (ini.ReadString("Config", "PreSaveFolderName", "") != value)
        std::abort();
    return 0;
}
