// The corrections of the current photo: offsets, angle, zoom, colour gains,
// brightness and contrast, back to their start values.
#include "main/main_form.h"

void TForm1::resetCorrectionBars()
{
    // Each position that changes runs its bar's handler.
    TrackBar1->SetPosition(0);
    TrackBar2->SetPosition(50);
    TrackBar3->SetPosition(50);
    TrackBar4->SetPosition(500);
    TrackBar5->SetPosition(64);
    TrackBar6->SetPosition(64);
    TrackBar7->SetPosition(64);
    TrackBar8->SetPosition(TrackBar8->Max() / 2);
    TrackBar9->SetPosition(TrackBar9->Max() / 2);
}

void TForm1::ResetCorrections()
{
    resetCorrectionBars();
    neutralPosition();
    for (TEdit* edit : {Edit13, Edit14, Edit15, Edit16, Edit17})
        edit->SetText("0");
}
