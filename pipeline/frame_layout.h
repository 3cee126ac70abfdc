// Frame layout geometry (pixels at 300 dpi) and the eight built-in layouts:
// frame size, photo area, margins and the places of the three texts (X is the
// horizontal centre of a text block, Y its top). Frame width = left + photo
// width + right, and likewise for the height.
#pragma once

#include <array>
#include <string>

struct TFrameLayout {
    int Framewidth = 0;
    int Frameheight = 0;
    int Photowidth = 0;
    int Photoheight = 0;
    int Leftwidth = 0;
    int Rightwidth = 0;
    int Topheight = 0;
    int Bottomheight = 0;
    int FontPositionX = 0;
    int FontPositionY = 0;
    int DatePositionX = 0;
    int DatePositionY = 0;
    int OtherPositionX = 0;
    int OtherPositionY = 0;
    bool HasFrameImage = false;
    friend bool operator==(const TFrameLayout&, const TFrameLayout&) = default;
};

struct TFrameLayoutPreset {
    const char* name;  // the layout box item
    TFrameLayout layout;
    int titleSize;  // font sizes in points
    int dateSize;
    int otherSize;
};

constexpr int kPresetCount = 8;

// The preset of that number; a number outside 0..7 gives the geometry of
// preset 0 with the font sizes 30 / 30 / 36.
TFrameLayoutPreset FramePreset(int number);

// The layout scaled into a preview area of clientW x clientH (the scroll box's
// client size): 10 pixels of margin a side, at most 1200 on a side, the
// scaled photo area absorbing the rounding.
TFrameLayout ScaleLayoutToPreview(const TFrameLayout& full, int clientW, int clientH);
