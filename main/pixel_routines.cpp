// The main window's pixel routines: the pipeline called with this window's
// planes, flags and controls.
#include <optional>
#include <string>

#include "main/main_form.h"
#include "pipeline/area_reduction.h"
#include "pipeline/colour_correction.h"
#include "pipeline/rotation.h"
#include "platform/application.h"
#include "platform/text_format.h"

namespace {

// The colour gains' range, either way.
constexpr int kGainLimit = 255;

}  // namespace

int TForm1::RotateByAngle(const TBitmap& source, TBitmap& destination, double angle)
{
    return ::RotateByAngle(source, destination, angle);
}

int TForm1::RotateQuarterTurns(const TBitmap& source, TBitmap& destination, double angle)
{
    return ::RotateQuarterTurns(source, destination, angle);
}

WorkControl TForm1::reductionControl()
{
    if (workingAhead_)
        return WorkControl(&workAheadStopped_, [this] { pumpWhileWorkingAhead(); });
    // The window keeps processing events during the reduction, so the abort
    // button can set the flag that the reduction reads before every pixel.
    return WorkControl(&AbortRequested, [] { Application->ProcessMessages(); });
}


int TForm1::ShrinkHighQuality(TBitmap& bitmap, int targetWidth, int targetHeight)
{
    WorkControl control = reductionControl();
    return ::ShrinkHighQuality(bitmap, targetWidth, targetHeight, CheckBox2->Checked(), WorkPlane, control,
                               ReduceMessage);
}

int TForm1::shrinkWindowInto(const TBitmap& picture, const TRect& window, TBitmap& target, int targetWidth,
                             int targetHeight)
{
    WorkControl control = reductionControl();
    return ShrinkHighQualityInto(picture, window, target, targetWidth, targetHeight, CheckBox2->Checked(),
                                 WorkPlane, control, ReduceMessage);
}

int TForm1::ApplyColorCorrection(TBitmap& bitmap)
{
    if (!CheckBox7->Checked())
        return 0;
    // A gain beyond the range is limited, and its edit shows the limit.
    auto readGain = [](TEdit* edit) {
        const int value = StrToIntDef(edit->Text(), 0);
        if (value > kGainLimit) {
            edit->SetText(std::to_string(kGainLimit));
            return kGainLimit;
        }
        if (value < -kGainLimit) {
            edit->SetText(std::to_string(-kGainLimit));
            return -kGainLimit;
        }
        return value;
    };
    const int red = readGain(Edit13);
    const int green = readGain(Edit15);
    const int blue = readGain(Edit14);
    ApplyColourCorrection(bitmap, colourCorrection(red, green, blue));
    return 0;
}

ColourCorrection TForm1::colourCorrection(int red, int green, int blue) const
{
    ColourCorrection correction;
    correction.redGain = red;
    correction.greenGain = green;
    correction.blueGain = blue;
    correction.strength = ColorStrength;
    correction.brightnessPos = TrackBar8->Position();
    correction.brightnessMax = TrackBar8->Max();
    correction.contrastPos = TrackBar9->Position();
    correction.contrastMax = TrackBar9->Max();
    correction.median = HistogramMedian();
    return correction;
}

std::optional<ColourCorrection> TForm1::colourCorrectionAsTyped() const
{
    int gains[3];
    const TEdit* edits[] = {Edit13, Edit15, Edit14};
    for (int k = 0; k < 3; ++k) {
        gains[k] = StrToIntDef(edits[k]->Text(), 0);
        if (gains[k] > kGainLimit || gains[k] < -kGainLimit)
            return std::nullopt;
    }
    return colourCorrection(gains[0], gains[1], gains[2]);
}

void TForm1::BuildHistogramSet(const TBitmap& bitmap, int which)
{
    ReduceMessage.clear();
    ::BuildHistogramSet(bitmap, which == 0 ? HistogramBefore : HistogramAfter);
}

int TForm1::HistogramMedian() const
{
    return ::HistogramMedian(HistogramBefore);
}
