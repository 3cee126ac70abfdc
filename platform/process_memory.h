// The process's memory counters for the preferences dialog's report, read
// from /proc/self: page faults are minor + major faults (/proc/self/stat),
// the working set is the resident size (VmHWM peak, VmRSS current) and the
// paging file the virtual size (VmPeak, VmSize), all in bytes. The pool
// counters of the original platform have no equivalent here.
#pragma once

#include <string>

struct ProcessMemoryInfo {
    unsigned long processId = 0;
    unsigned long pageFaults = 0;
    unsigned long peakWorkingSet = 0;
    unsigned long workingSet = 0;
    unsigned long peakPagefile = 0;
    unsigned long pagefile = 0;
};

// This process's counters; false when /proc/self cannot be read or lacks one.
bool ReadProcessMemoryInfo(ProcessMemoryInfo& info);

// The parts of the reader: minor + major faults from the text of
// /proc/<pid>/stat (whose command name may hold blanks and parentheses), and
// the four sizes from the text of /proc/<pid>/status ("VmRSS:   1234 kB").
bool ParseProcStatFaults(const std::string& stat, unsigned long& faults);
bool ParseProcStatusSizes(const std::string& status, ProcessMemoryInfo& info);
