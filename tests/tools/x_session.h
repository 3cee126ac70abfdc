// What the tools that drive the program in a real X session share: checks
// that end the run with a reason, bounded waits that keep the program's own
// events flowing, and the X tools (xdotool, xprop) run to their end.
#pragma once

#include <functional>
#include <string>

#include <QString>
#include <QStringList>

// A failed check: what was expected, for the log.
struct CheckFailed {
    std::string what;
};

void Check(bool condition, const std::string& what);

// Lets the program run until condition holds; false after timeoutMs.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// Runs an X tool with args to its end (at most 15 s) while the program keeps
// running, and returns what it printed. A tool that fails or hangs fails the
// check, unless mayFail (xdotool's search finding nothing exits 1).
std::string RunTool(const QString& program, const QStringList& args, bool mayFail = false);

void Xdo(const QStringList& args);
