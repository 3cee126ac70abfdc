// A hint window: a small borderless window of its own with a text on the
// info colour, shown without taking the focus or the mouse. Its Left and Top
// are screen coordinates. Once activated it exists until it is freed, and it
// is on screen whenever it has an area: collapsed to a zero width or height
// it shows nothing.
#pragma once

#include <string>

#include "platform/control.h"

class THintWindow : public TControl {
public:
    THintWindow();

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The window size that shows text with the window's font, lines broken
    // between words to fit maxWidth: the size is Right x Bottom.
    TRect CalcHintRect(int maxWidth, const std::string& text) const;
    // Sets the text and the bounds and makes the window visible.
    void ActivateHint(const TRect& rect, const std::string& text);
    // Visible with an area, so that the window system shows it.
    bool Showing() const;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;

private:
    void show();
    std::string caption_;
};
