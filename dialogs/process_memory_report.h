// The preferences dialog's memory report: eleven lines in the original
// platform's words, right-aligned counters of ten characters, the process
// id in place of the process handle, and 0 for the pool counters, which
// have no equivalent here.
#pragma once

#include <string>
#include <vector>

#include "platform/process_memory.h"

std::vector<std::string> ProcessMemoryReport(const ProcessMemoryInfo& info);
