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
