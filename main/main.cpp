// Program entry: the command line, the application object, the windows and
// the message loop until the main window closes.
#include <cstdio>

#include "main/program_start.h"
#include "platform/application.h"

int main(int argc, char** argv)
{
    const std::optional<TStartMode> mode = ParseCommandLine(argc, argv);
    if (!mode) {
        std::fprintf(stderr, "%s\n", kUsageLine);
        return 2;
    }
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    const int status = RunProgram(*mode);
    Application->Shutdown();
    return status;
}
