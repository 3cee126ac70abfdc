// Where the main window opens, from the stored position and size: -999
// centres, a negative position becomes 0, a position beyond the screen
// centres; a size larger than the screen is reduced to the screen's (the
// window's minimum is applied afterwards by its resize rule).
#pragma once

struct StoredPlacement {
    int left;
    int top;
    int width;
    int height;
};

struct WindowBounds {
    int left;
    int top;
    int width;
    int height;
};

// currentW x currentH is the window size in force, which the centring uses.
WindowBounds PlaceWindow(const StoredPlacement& stored, int currentW, int currentH, int screenW, int screenH);

// The windows' alpha value at start-up for a stored transparency percent.
int StartupAlpha(int transparency);
