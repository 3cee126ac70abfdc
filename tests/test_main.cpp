// Test entry: a headless application (fonts, widgets and the event loop need
// one) with a private runtime folder, then GoogleTest.
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <string>

#include <gtest/gtest.h>

#include "platform/application.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string runtime = "/tmp/plovis-test-runtime-" + std::to_string(getpid());
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    Application->Initialize(argc, argv);
    const int result = RUN_ALL_TESTS();
    Application->Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return result;
}
