// The histogram window: draws the before and after histogram sets it is
// given as luminance bars with red, green and blue curves over them. It
// keeps the sets of its last drawing for its own redraws (check boxes,
// "再描画"), so it never reads the main window.
#pragma once

#include "pipeline/histogram.h"
#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/standard_controls.h"

class TForm8 : public TForm {
public:
    explicit TForm8(TWinControl* owner);

    TLabel* Label1;
    TImage* Image1;  // before correction
    TLabel* Label2;
    TImage* Image2;  // after correction
    TCheckBox* CheckBox1;  // luminance bars
    TCheckBox* CheckBox2;  // red curve
    TCheckBox* CheckBox3;  // green curve
    TCheckBox* CheckBox4;  // blue curve
    TButton* BitBtn1;

    // Draws both images from the sets; channel outside 0..3 counts as 0
    // (luminance). When the first set has no peak the second image is left
    // as it was.
    void DrawHistograms(int channel, const HistogramSet& before, const HistogramSet& after);
    // The same with the sets of the last drawing (none before it: empty sets).
    void DrawHistograms(int channel);
    void ClearHistograms();

private:
    // False when the set has no peak (nothing drawn beyond the white fill).
    bool drawSet(TImage& image, const HistogramSet& set, int channel);
    HistogramSet before_{};
    HistogramSet after_{};
};

extern TForm8* Form8;
