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

void ShowStartWindows(TStartMode mode)
{
    Form1->Show();
    if (mode != TStartMode::FrameSettings)
        return;
    // The frame settings window opens over the main window, modeless, on the
    // frame settings file the main window named at its first show. The main
    // window's first relayout applies its built-in layout again, resetting
    // the fonts, angles, flags and alignment: it runs here, before the file
    // is loaded, and so never after, whenever the window system's first
    // resize comes.
    const std::string frameFile = Form1->FrameFilePath;
    Form1->RelayoutForFrameFile();
    Form3->ShowWithFile(frameFile);
}

int RunProgram(TStartMode mode)
{
    int status = 1;
    Application->Guard([&] {
        if (!CreateApplicationForms())
            return;
        ShowStartWindows(mode);
        Application->Run();
        status = 0;
    });
    DestroyApplicationForms();
    return status;
}
