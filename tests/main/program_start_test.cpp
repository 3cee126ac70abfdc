// The command line: nothing or --frame-settings; anything else is refused.
#include "main/program_start.h"

#include <gtest/gtest.h>

TEST(ProgramStart, CommandLine)
{
    const char* none[] = {"plovis"};
    EXPECT_EQ(ParseCommandLine(1, none), TStartMode::MainWindow);
    const char* frame[] = {"plovis", "--frame-settings"};
    EXPECT_EQ(ParseCommandLine(2, frame), TStartMode::FrameSettings);
    const char* other[] = {"plovis", "--frame"};
    EXPECT_EQ(ParseCommandLine(2, other), std::nullopt);
    const char* twice[] = {"plovis", "--frame-settings", "--frame-settings"};
    EXPECT_EQ(ParseCommandLine(3, twice), std::nullopt);
    const char* qt[] = {"plovis", "-platform", "offscreen"};
    EXPECT_EQ(ParseCommandLine(3, qt), std::nullopt);
}
