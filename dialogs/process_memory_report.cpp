// Memory report lines.
#include "dialogs/process_memory_report.h"

#include "platform/text_format.h"

std::vector<std::string> ProcessMemoryReport(const ProcessMemoryInfo& info)
{
    return {
        Format("プロセスID　　　：%lu", info.processId),
        Format("プロセス・ハンドル　:0x%08lX", info.processId),
        Format("ページフォールト数　：%10lu個", info.pageFaults),
        Format("最大ワーキングセット：%10luバイト", info.peakWorkingSet),
        Format("現在ワーキングセット：%10luバイト", info.workingSet),
        Format("最大ページプール：%10luバイト", 0UL),
        Format("現在ページプール：%10luバイト", 0UL),
        Format("最大非ページプール：%10luバイト", 0UL),
        Format("現在非ページプール：%10luバイト", 0UL),
        Format("最大ページングファイル：%10luバイト", info.peakPagefile),
        Format("現在ページングファイル：%10luバイト", info.pagefile),
    };
}
