// The window system's own events, sent to a shown form's window the way the
// pointer and a drag from another program deliver them: Qt finds the widget
// under the point, so the control that reacts is the one really there.
#pragma once

#include <string>
#include <vector>

class TForm;

// A pointer move without buttons to (x, y) of the form's client area.
void SendPointerMove(TForm& form, int x, int y);
// Files dragged in from outside and dropped at (x, y) of the form's client
// area: drag enter, drag move and drop, each with the files' URLs.
void SendFileDrop(TForm& form, int x, int y, const std::vector<std::string>& paths);
