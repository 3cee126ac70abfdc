// How the program starts: its one optional argument, and the windows that
// come up. "--frame-settings" shows the frame settings window over the main
// window, as if a command had opened it; nothing else is accepted.
#pragma once

#include <optional>

enum class TStartMode { MainWindow, FrameSettings };

inline constexpr char kUsageLine[] = "usage: plovis [--frame-settings]";

// The start mode of the arguments after the program name, or nullopt when
// they are not a valid command line.
std::optional<TStartMode> ParseCommandLine(int argc, const char* const* argv);

// Shows the created windows for the mode: the main window (writing the
// frame settings file it names, of its built-in layout, when none is there),
// and for FrameSettings then the frame settings window over it.
void ShowStartWindows(TStartMode mode);

// Creates the windows, shows them for the mode, runs the message loop until
// the main window closes and releases them; the program's exit status.
int RunProgram(TStartMode mode);
