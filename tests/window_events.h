// The window system's own events, sent to a shown form's window the way the
// pointer, a drag from another program and the window manager deliver them:
// Qt finds the widget under a point, so the control that reacts is the one
// really there, and moves and resizes arrive as the window system's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics_types.h"

class TControl;
class TForm;

// A pointer move without buttons to (x, y) of the form's client area.
void SendPointerMove(TForm& form, int x, int y);
// Files dragged in from outside and dropped at (x, y) of the form's client
// area: drag enter, drag move and drop, each with the files' URLs.
void SendFileDrop(TForm& form, int x, int y, const std::vector<std::string>& paths);

// A key pressed and released on a control, as the keyboard delivers it to
// the control with the focus (Qt's key code, e.g. Qt::Key_Return), with the
// text it types.
void SendKey(TControl& control, int qtKey, const std::string& text = {});
// Each character of keys (UTF-8) typed into control on a key of its own, one
// press and release a character; "\b" is the backspace key.
void TypeKeys(TControl& control, const std::string& keys);
// The focus leaves the control for another control of its window (the Tab
// key, a click on a button).
void LeaveControl(TControl& control);
// Whether an input method would compose text into the control when it has
// the focus (the window system asks the focused control this).
bool TakesInputMethod(const TControl& control);

// The window moved or resized by the operator (its title bar, its border)
// to these outer bounds; the events arrive while the window system takes
// its time, so callers wait for them with WaitUntil.
void MoveWindowAsOperator(TForm& form, int left, int top);
void ResizeWindowAsOperator(TForm& form, int width, int height);
// Where the window and its frame really are on the screen.
TRect WindowFrameOnScreen(TForm& form);

// Processes events until condition holds or ten seconds have passed;
// returns whether it holds.
bool WaitUntil(const std::function<bool()>& condition);
// Set by the script that runs tests under a window manager; tests that need
// one skip without it.
bool HasWindowManager();

// Runs an X tool (xdotool, xprop) to its end, at most ten seconds, and
// returns what it printed; a tool that fails or hangs fails the test.
std::string RunXTool(const std::string& program, const std::vector<std::string>& args);
// A click of the first button at (x, y) of the screen, as the pointer gives
// it: the window manager sees it before the program.
void ClickOnScreen(int x, int y);
// A property of the form's X window as xprop prints it (after the "=").
std::string WindowProperty(const TForm& form, const std::string& name);
// The windows the window manager manages, bottom to top, and the one it
// has given the keyboard.
std::vector<unsigned long> StackingOrder();
unsigned long ActiveWindow();
unsigned long WindowId(const TForm& form);
// What the window manager lets the operator do with the form's window
// ("_NET_WM_ACTION_RESIZE", ...).
std::vector<std::string> AllowedActions(const TForm& form);
// Waits until the window manager has framed the shown form and the window
// has the client size the form holds.
bool WaitUntilFramed(TForm& form);
// Returns once the window manager has handled what it was sent before the
// call (the program's requests, a click, a resize asked by another client)
// and the program has read its answers: the form's window title changes for
// a moment, and the window manager's copy of the new title is awaited.
bool SettleWithWindowManager(TForm& form);

// Keys pressed and released on the keyboard (xdotool's names: "ctrl+v",
// "shift+Insert", "Return"); they reach the window that has the keyboard.
void PressKeysOnScreen(const std::string& keys);
// Gives the control the keyboard: its window active and the control focused.
bool FocusOnScreen(TControl& control);
// Counts the releases of a key (Qt's code) that reach any window of the
// program while it lives; an event loop that has counted one has run the
// handlers of that release by the time it returns.
class KeyReleaseCount {
public:
    explicit KeyReleaseCount(int qtKey);
    ~KeyReleaseCount();
    KeyReleaseCount(const KeyReleaseCount&) = delete;
    KeyReleaseCount& operator=(const KeyReleaseCount&) = delete;
    int Value() const { return count_; }

private:
    class Filter;
    Filter* filter_;
    int count_ = 0;
};
