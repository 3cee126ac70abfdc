// /proc/self readers for the memory report.
#include "platform/process_memory.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool ReadWholeFile(const char* path, std::string& text)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return !text.empty();
}

bool ParseNumber(const std::string& text, unsigned long& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// The value of a "Key:   1234 kB" line in bytes.
bool SizeField(const std::string& status, const std::string& key, unsigned long& bytes)
{
    std::istringstream lines(status);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + ":") != 0)
            continue;
        std::istringstream fields(line.substr(key.size() + 1));
        std::string number, unit;
        unsigned long kilobytes = 0;
        if (!(fields >> number >> unit) || unit != "kB" || !ParseNumber(number, kilobytes))
            return false;
        bytes = kilobytes * 1024;
        return true;
    }
    return false;
}

}  // namespace

bool ParseProcStatFaults(const std::string& stat, unsigned long& faults)
{
    // The fields after the command name: state, ppid, pgrp, session, tty_nr,
    // tpgid, flags, minflt, cminflt, majflt, ...
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream rest(stat.substr(close + 1));
    std::vector<std::string> fields;
    std::string field;
    while (fields.size() < 10 && rest >> field)
        fields.push_back(field);
    unsigned long minor = 0, major = 0;
    if (fields.size() < 10 || !ParseNumber(fields[7], minor) || !ParseNumber(fields[9], major))
        return false;
    faults = minor + major;
    return true;
}

bool ParseProcStatusSizes(const std::string& status, ProcessMemoryInfo& info)
{
    return SizeField(status, "VmHWM", info.peakWorkingSet) && SizeField(status, "VmRSS", info.workingSet)
           && SizeField(status, "VmPeak", info.peakPagefile) && SizeField(status, "VmSize", info.pagefile);
}

bool ReadProcessMemoryInfo(ProcessMemoryInfo& info)
{
    std::string stat, status;
    if (!ReadWholeFile("/proc/self/stat", stat) || !ReadWholeFile("/proc/self/status", status))
        return false;
    ProcessMemoryInfo read;
    read.processId = static_cast<unsigned long>(getpid());
    if (!ParseProcStatFaults(stat, read.pageFaults) || !ParseProcStatusSizes(status, read))
        return false;
    info = read;
    return true;
}
