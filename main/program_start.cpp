// The command line and the start of the windows.
#include "main/program_start.h"

#include <string>

#include "frame_editor/frame_settings_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"

std::optional<TStartMode> ParseCommandLine(int argc, const char* const* argv)
{
    if (argc <= 1)
        return TStartMode::MainWindow;
    if (argc == 2 && std::string(argv[1]) == "--frame-settings")
        return TStartMode::FrameSettings;
    return std::nullopt;
}

int RunProgram(TStartMode mode)
{
    int status = 1;
    Application->Guard([&] {
        if (!CreateApplicationForms())
            return;
        if (mode == TStartMode::FrameSettings) {
            // The main window first, as at every start; the frame settings
            // window then opens over it, modeless.
            Form1->Show();
            Form3->Show();
        }
        Application->Run();
        status = 0;
    });
    DestroyApplicationForms();
    return status;
}
