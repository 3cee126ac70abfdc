// Window placement rules.
#include "main/window_placement.h"

#include <algorithm>

namespace {

int PlaceAxis(int stored, int size, int screen)
{
    const int centred = (screen - size) / 2;
    if (stored == -999)
        return centred;
    if (stored < 0)
        return 0;
    if (stored > screen)
        return centred;
    return stored;
}

}  // namespace

WindowBounds PlaceWindow(const StoredPlacement& stored, int currentW, int currentH, int screenW, int screenH)
{
    return {PlaceAxis(stored.left, currentW, screenW), PlaceAxis(stored.top, currentH, screenH),
            std::min(stored.width, screenW), std::min(stored.height, screenH)};
}

int StartupAlpha(int transparency)
{
    return std::clamp((100 - transparency) * 255 / 100, 5, 255);
}
