// Correction panel arithmetic; every value keeps the width the panel gives it.
#include "pipeline/correction_steps.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/text_format.h"

namespace {

// Truncation toward zero that saturates at the ends of int (NaN gives 0).
int TruncateToInt(float v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483648.0f)
        return INT_MAX;
    if (v < -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(v);
}

int HeldInInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

float TruncateToThousandth(float v)
{
    // Truncating the float itself gives the integer the int conversion
    // would, without its overflow for large values.
    const float thousandths = std::trunc(v * 1000.0f);
    return static_cast<float>(static_cast<double>(thousandths) * 0.001);
}

bool ParseZoomText(const std::string& text, float& zoom)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        return false;
    const float parsed = static_cast<float>(value);
    if (!std::isfinite(parsed) || !(parsed > 0.0f))
        return false;
    zoom = parsed;
    return true;
}

int MoveStep(float zoom)
{
    return TruncateToInt(10 / zoom);
}

int MoveOffset(int offset, long long delta)
{
    return HeldInInt(offset + delta);
}

float SteppedZoom(float zoom, int n, int stepSetting)
{
    const float step = static_cast<float>(stepSetting * 0.001);
    if (n != 0)
        zoom = zoom + n * step;
    if (zoom <= kStepZoomMin)
        zoom = kStepZoomMin;
    if (zoom >= kStepZoomMax)
        zoom = kStepZoomMax;
    return TruncateToThousandth(zoom);
}

float SteppedAngle(float angle, int n)
{
    if (n != 0)
        angle = angle - n * 0.001f;
    angle = TruncateToThousandth(angle);
    if (angle <= -kStepAngleLimit)
        angle = -kStepAngleLimit;
    if (angle >= kStepAngleLimit)
        angle = kStepAngleLimit;
    return angle;
}

float ZoomFromBar(int position)
{
    float zoom = static_cast<float>(1 + position * 0.01);
    if (zoom < 1.0f)
        zoom = 1.0f;
    if (zoom >= 2.0f)
        zoom = 2.0f;
    return TruncateToThousandth(zoom);
}

int OffsetFromBar(int position, float zoom)
{
    return TruncateToInt((position * 10 - 500) / zoom);
}

AngleBarValue AngleFromBar(int position, int max)
{
    const int a = std::clamp(CentredBarValue(position, max), -18000, 18000);
    float angle = static_cast<float>(a * 0.01);
    if (angle >= -0.01f && angle <= 0.01f)
        angle = 0.0f;
    return {angle, FloatToStrGeneral(angle).substr(0, a < 0 ? 6 : 5)};
}

int CentredBarValue(int position, int max)
{
    return position - max / 2;
}

int GainFromBar(int position, int max)
{
    return std::clamp(CentredBarValue(position, max), -kGainLimit, kGainLimit);
}

int RaisedGain(int gain, int step)
{
    const long long v = static_cast<long long>(gain) + step;
    return v > kGainLimit ? kGainLimit : HeldInInt(v);
}

int LoweredGain(int gain, int step)
{
    const long long v = static_cast<long long>(gain) - step;
    return v < -kGainLimit ? -kGainLimit : HeldInInt(v);
}
