// One of the three texts of a frame layout, as the composition draws it and
// frame settings files store it: the text (lines separated by the two
// characters backslash and n), its font, its angle in whole degrees (a
// positive angle turns the text to the left) and the vertical-writing flag,
// which is carried with the text but changes no drawing.
#pragma once

#include <string>

#include "platform/font.h"

enum class TFrameTextKind { Title, Date, Other };

constexpr TFrameTextKind kFrameTextKinds[] = {TFrameTextKind::Title, TFrameTextKind::Date, TFrameTextKind::Other};

struct TFrameText {
    std::string Text;
    TFont Font;
    int Angle = 0;
    bool Vertical = false;
};
