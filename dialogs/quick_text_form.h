// The quick text dialog. From the start it holds the title's vertical
// adjustment, the horizontal font scale of all texts, the title font size and
// mirrors of the three texts.
#pragma once

#include <string>

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

    // Frame pixels added to the title's Y (the bar's offset from its centre).
    int TitleAdjustment() const;
    // Back to no adjustment.
    void CentreTitleAdjustment();
    // Horizontal scale of all texts' fonts, percent.
    int HorizontalScale() const;
    // Takes copies of the three texts for the dialog's own fields.
    void MirrorTexts(const std::string& title, const std::string& date, const std::string& other);
};

extern TForm7* Form7;
