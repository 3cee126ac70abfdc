// The values the preferences dialog's bars stand for, where a bar's position
// is converted before the main window uses it.
#pragma once

// The windows' alpha value for the transparency while inactive, in percent:
// (100 - p) * 255 / 100 held in 5..255 when p > 0, else opaque (255).
// Over the bar's range 1..90: 252, 249 (the default 2), 127 (50), 25 (90).
int InactiveAlpha(int percent);

// The line-spacing factor of multi-line texts: percent * 0.01 + 1 with 0.01
// in single precision, as a float (1.1 at 10, 2.0 at 100).
float LineSpacingFor(int percent);
