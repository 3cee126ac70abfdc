// The histogram window: draws the main window's before and after histogram
// sets as luminance bars with red, green and blue curves over them.
#pragma once

#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/standard_controls.h"

struct HistogramSet;

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

    // Draws both images; channel outside 0..3 counts as 0 (luminance).
    void DrawHistograms(int channel);
    void ClearHistograms();

private:
    // False when the set has no peak (nothing drawn beyond the white fill).
    bool drawSet(TImage& image, const HistogramSet& set, int channel);
};

extern TForm8* Form8;
