// The arithmetic of the correction panel: the values that its bars, step
// buttons and edits give the offsets, angle, zoom and colour gains, and the
// texts the edits show. Widths are part of the results: the zoom and angle
// are single-precision floats and the steps truncate through them, so a step
// lands on the same thousandth every time; conversions to int truncate
// toward zero and saturate instead of overflowing.
#pragma once

#include <string>

// Neutral values and limits.
constexpr int kGainLimit = 255;
constexpr float kStepZoomMin = 0.5f;
constexpr float kStepZoomMax = 2.0f;
constexpr float kStepAngleLimit = 180.0f;

// v truncated to a thousandth: times 1000 in float, truncated toward zero,
// times 0.001 (so -0.0015 becomes -0.001).
float TruncateToThousandth(float v);

// The zoom a text stands for: a finite number above 0 (a zoom of 0 or less
// would divide by zero or build a mirror crop). False for anything else.
bool ParseZoomText(const std::string& text, float& zoom);

// The move buttons' step at a zoom: 10 / zoom in float, truncated
// (1.0 -> 10, 1.5 -> 6, 2.0 -> 5, 0.5 -> 20).
int MoveStep(float zoom);
// offset + delta, held within int.
int MoveOffset(int offset, long long delta);

// The zoom after n steps of stepSetting thousandths, held in 0.5..2.0 and
// truncated to a thousandth.
float SteppedZoom(float zoom, int n, int stepSetting);
// The angle after n steps of -0.001 degrees, truncated to a thousandth and
// held in -180..180.
float SteppedAngle(float angle, int n);

// The zoom bar (0..100): 1 + position x 0.01, held in 1.0..2.0, truncated
// to a thousandth.
float ZoomFromBar(int position);
// The move bars (0..100, centre 50): (position x 10 - 500) / zoom.
int OffsetFromBar(int position, float zoom);

// The angle bar: a = position - max / 2 (held in -18000..18000), angle =
// a x 0.01 as float, within +-0.01 counting as 0; text is its general
// format cut to 5 characters, or 6 when a is negative (502 of 1000 gives
// 0.02f = 0.0199999995529652 and the text "0.019").
struct AngleBarValue {
    float angle;
    std::string text;
};
AngleBarValue AngleFromBar(int position, int max);

// A bar whose centre means 0: position - max / 2.
int CentredBarValue(int position, int max);
// A colour bar's gain: position - max / 2 held in -255..255.
int GainFromBar(int position, int max);
// A gain raised by step, 256 or more becoming 255; lowered by step, below
// -255 becoming -255 (each limit only in its direction).
int RaisedGain(int gain, int step);
int LoweredGain(int gain, int step);
