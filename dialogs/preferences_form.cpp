// Preferences dialog: controls and the handlers that feed the main window.
#include "dialogs/preferences_form.h"

#include <algorithm>

#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "dialogs/multiline_input_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/control_builders.h"

TForm2* Form2 = nullptr;


TForm2::TForm2(TWinControl* owner) : TForm(owner)
{
    SetCaption("設定");
    SetBounds(0, 0, 324, 502);
    BitBtn11 = new TButton(this);
    BitBtn11->SetBounds(230, 8, 80, 40);
    BitBtn11->SetCaption("閉じる");
    BitBtn11->ModalResult = 1;
    Label17 = NewLabel(this, 16, 56, 280, "Jpeg画質");
    TrackBar4 = NewTrackBar(this, 16, 74, 280, 0, 100, 90, 10, 10);
    Label25 = NewLabel(this, 16, 116, 280, "非ｱｸﾃｨﾌﾞ時の透明度");
    TrackBar6 = NewTrackBar(this, 16, 134, 280, 1, 90, 2, 1, 10);
    Label2 = NewLabel(this, 16, 176, 280, "フォントのぼかしパターン");
    TrackBar7 = NewTrackBar(this, 16, 194, 280, 0, 4, 1, 1, 1);
    Label18 = NewLabel(this, 16, 236, 280, "複数行の行間(％)");
    TrackBar5 = NewTrackBar(this, 16, 254, 280, 0, 100, 10, 5, 10);
    Memo1 = new TMemo(this);
    Memo1->SetBounds(16, 300, 292, 190);
    Memo1->ReadOnly = true;
    TrackBar1 = NewTrackBar(this, 0, 0, 280, 0, 10, 0, 1, 1);
    TrackBar2 = NewTrackBar(this, 0, 0, 280, 10, 50, 10, 1, 1);
    TrackBar3 = NewTrackBar(this, 0, 0, 280, 1, 10, 1, 1, 1);
    for (TTrackBar* hidden : {TrackBar1, TrackBar2, TrackBar3})
        hidden->SetVisible(false);

    // Handlers are bound after the design values, as the form loader does.
    TrackBar1->OnChange = [this] { TrackBar1Change(); };
    TrackBar3->OnChange = [this] { TrackBar1Change(); };
    TrackBar2->OnChange = [this] { TrackBar2Change(); };
    TrackBar5->OnChange = [this] { TrackBar5Change(); };
    TrackBar6->OnChange = [this] { TrackBar6Change(); };
    BitBtn11->OnClick = [this] { BitBtn11Click(); };
    Created();
}

void TForm2::TrackBar1Change()
{
    Form1->ColorStep = TrackBar1->Position();
}

void TForm2::TrackBar2Change()
{
    Form1->ColorStrength = TrackBar2->Position() * 0.1;
}

void TForm2::TrackBar5Change()
{
    Form1->LineSpacing = static_cast<float>(TrackBar5->Position() * 0.01f + 1);
}

void TForm2::TrackBar6Change()
{
    const int p = TrackBar6->Position();
    const int alpha = p > 0 ? std::clamp((100 - p) * 255 / 100, 5, 255) : 255;
    for (TForm* form : TransparentForms())
        form->SetAlphaBlendValue(alpha);
    Form1->InactiveTransparency = p;
    SetAlphaBlend(true);
}

void TForm2::BitBtn11Click()
{
    SetAlphaBlend(false);
}

TTrackBar* TForm2::preferenceBar(int number) const
{
    TTrackBar* const bars[] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4, TrackBar5, TrackBar6, TrackBar7};
    return bars[std::clamp(number, 1, 7) - 1];
}

int TForm2::Preference(int number) const
{
    return preferenceBar(number)->Position();
}

void TForm2::SetPreference(int number, int position)
{
    preferenceBar(number)->SetPosition(position);
}
