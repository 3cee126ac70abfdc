// The quick text dialog. From the start it holds the title's vertical
// adjustment, the horizontal font scale of all texts, the title font size and
// mirrors of the three texts.
#pragma once

#include "platform/form.h"
#include "platform/range_controls.h"
#include "platform/standard_controls.h"

class TForm7 : public TForm {
public:
    explicit TForm7(TWinControl* owner);

    TLabel* Label3;
    TEdit* Edit4;  // title text mirror
    TEdit* Edit9;  // date text mirror
    TEdit* Edit7;  // other text mirror
    TLabel* Label1;
    TComboBox* ComboBox1;  // title font name
    TLabel* Label10;
    TTrackBar* TrackBar1;  // title font size, points
    TLabel* Label14;
    TTrackBar* TrackBar3;  // horizontal font scale, percent
    TLabel* Label2;
    TTrackBar* TrackBar2;  // title vertical adjustment, centre 20
};

extern TForm7* Form7;
