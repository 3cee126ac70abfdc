// Preference conversions.
#include "dialogs/preference_values.h"

#include "main/window_placement.h"

int InactiveAlpha(int percent)
{
    return percent > 0 ? StartupAlpha(percent) : 255;
}

float LineSpacingFor(int percent)
{
    return percent * 0.01f + 1;
}
