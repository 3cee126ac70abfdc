// The command line and the start of the windows.
#include "main/program_start.h"

#include <string>

#include "frame_editor/frame_settings_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/file_system.h"

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
    // The frame settings file the main window names at its first show comes
    // with the program: a fresh copy writes it, of the layout just applied,
    // so that the editor opens on a whole layout and the first resize of the
    // main window lays the preview out for the window's size. One that is
    // there is the operator's and stays as it is; a folder that cannot be
    // written leaves the program as it was without the file.
    if (!FileExists(Form1->FrameFilePath))
        Form3->WriteLayoutFile(Form1->FrameFilePath, Form1->FrameLayout);
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
