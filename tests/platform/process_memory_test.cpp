#include "platform/process_memory.h"

#include <unistd.h>

#include <gtest/gtest.h>

TEST(ProcessMemory, FaultsAreMinorPlusMajorAfterTheCommandName)
{
    unsigned long faults = 0;
    // A command name may hold blanks and parentheses; the fields count from the last ")".
    EXPECT_TRUE(ParseProcStatFaults("4242 (a b) (c)) S 1 2 3 4 5 6 100 7 23 8 9 10", faults));
    EXPECT_EQ(faults, 123UL);
    EXPECT_FALSE(ParseProcStatFaults("4242 (plovis) S 1 2 3", faults));
    EXPECT_FALSE(ParseProcStatFaults("4242 plovis S 1 2 3 4 5 6 100 7 23", faults));
    EXPECT_FALSE(ParseProcStatFaults("4242 (plovis) S 1 2 3 4 5 6 x 7 23", faults));
    EXPECT_EQ(faults, 123UL);
}

TEST(ProcessMemory, SizesAreTheStatusLinesInBytes)
{
    const std::string status = "Name:\tplovis\nVmPeak:\t  300 kB\nVmSize:\t  250 kB\nVmLck:\t 0 kB\n"
                               "VmHWM:\t  120 kB\nVmRSS:\t  100 kB\n";
    ProcessMemoryInfo info;
    ASSERT_TRUE(ParseProcStatusSizes(status, info));
    EXPECT_EQ(info.peakPagefile, 300UL * 1024);
    EXPECT_EQ(info.pagefile, 250UL * 1024);
    EXPECT_EQ(info.peakWorkingSet, 120UL * 1024);
    EXPECT_EQ(info.workingSet, 100UL * 1024);
    EXPECT_FALSE(ParseProcStatusSizes("VmPeak:\t 300 kB\nVmSize:\t 250 kB\nVmHWM:\t 120 kB\n", info));
    EXPECT_FALSE(ParseProcStatusSizes("VmPeak: 3 kB\nVmSize: 2 kB\nVmHWM: 1 kB\nVmRSS: many kB\n", info));
}

TEST(ProcessMemory, ThisProcessHasItsIdAndResidentPages)
{
    ProcessMemoryInfo info;
    ASSERT_TRUE(ReadProcessMemoryInfo(info));
    EXPECT_EQ(info.processId, static_cast<unsigned long>(getpid()));
    EXPECT_GT(info.pageFaults, 0UL);
    EXPECT_GT(info.workingSet, 0UL);
    EXPECT_GE(info.peakWorkingSet, info.workingSet);
    EXPECT_GE(info.peakPagefile, info.pagefile);
    EXPECT_GE(info.pagefile, info.workingSet);
}
