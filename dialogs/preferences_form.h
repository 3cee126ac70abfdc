// The preferences dialog ("設定"): seven track bars are the live preferences;
// four of them copy their value into the main window's work state when they
// change (from the operator or from code).
#pragma once

#include "platform/form.h"
#include "platform/range_controls.h"
#include "platform/standard_controls.h"

class TForm2 : public TForm {
public:
    explicit TForm2(TWinControl* owner);

    TButton* BitBtn11;
    TLabel* Label17;
    TTrackBar* TrackBar4;  // JPEG quality
    TLabel* Label25;
    TTrackBar* TrackBar6;  // transparency while inactive, percent
    TLabel* Label2;
    TTrackBar* TrackBar7;  // text edge-smoothing pattern, 4 = none
    TLabel* Label18;
    TTrackBar* TrackBar5;  // line spacing, percent
    TMemo* Memo1;
    TTrackBar* TrackBar1;  // colour button step (not shown)
    TTrackBar* TrackBar2;  // colour strength x 10 (not shown)
    TTrackBar* TrackBar3;  // zoom step in thousandths (not shown)

    // The seven preferences by number 1..7 (the bars TrackBar1..TrackBar7),
    // as the settings file stores them; setting one runs its bar's handler
    // when the position changes.
    int Preference(int number) const;
    void SetPreference(int number, int position);
    int JpegQuality() const { return TrackBar4->Position(); }
    // The zoom step buttons' step in thousandths (1..10).
    int ZoomStepSetting() const { return TrackBar3->Position(); }
    // 0..3 the smoothing patterns A..D, 4 none.
    int SmoothingPattern() const { return TrackBar7->Position(); }

    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar5Change();
    void TrackBar6Change();
    void BitBtn11Click();
    void FormShow();
    // Fills Memo1 with the process memory report; when the counters cannot
    // be read, Memo1 keeps the lines it had.
    void ShowProcessMemoryInfo();

private:
    TTrackBar* preferenceBar(int number) const;
};

extern TForm2* Form2;
