// Preferences dialog: controls and the handlers that feed the main window.
#include "dialogs/preferences_form.h"

#include <algorithm>
#include <initializer_list>

#include "dialogs/preference_values.h"
#include "dialogs/process_memory_report.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/process_memory.h"

TForm2* Form2 = nullptr;

namespace {

// The marks under a bar of the design's place and width, spread evenly from
// its left end to its right end.
void AddScale(TWinControl* parent, int top, std::initializer_list<const char*> marks)
{
    constexpr int kLeft = 16;
    constexpr int kSpan = 280;
    const int last = static_cast<int>(marks.size()) - 1;
    int i = 0;
    for (const char* mark : marks) {
        NewLabel(parent, kLeft + 2 + (kSpan - 30) * i / last, top, 40, mark);
        ++i;
    }
}

}  // namespace


TForm2::TForm2(TWinControl* owner) : TForm(owner)
{
    SetCaption("設定");
    SetDialogBorder(true);
    SetClientSize(324, 502);
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
    BitBtn11 = new TButton(this);
    BitBtn11->SetBounds(230, 8, 80, 40);
    BitBtn11->SetCaption("閉じる");
    BitBtn11->ModalResult = 1;
    Label17 = NewLabel(this, 16, 52, 280, "Jpeg画質");
    TrackBar4 = NewTrackBar(this, 16, 70, 280, 0, 100, 90, 10, 10);
    AddScale(this, 100, {"0", "50", "100"});
    Label25 = NewLabel(this, 16, 124, 280, "非ｱｸﾃｨﾌﾞ時の透明度");
    TrackBar6 = NewTrackBar(this, 16, 142, 280, 1, 90, 2, 1, 10);
    AddScale(this, 172, {"0%", "50%", "90%"});
    Label2 = NewLabel(this, 16, 196, 280, "フォントのぼかしパターン");
    TrackBar7 = NewTrackBar(this, 16, 214, 280, 0, 4, 1, 1, 1);
    AddScale(this, 244, {"A", "B", "C", "D", "無し"});
    Label18 = NewLabel(this, 16, 268, 280, "複数行の行間(％)");
    TrackBar5 = NewTrackBar(this, 16, 286, 280, 0, 100, 10, 5, 10);
    AddScale(this, 316, {"0%", "100%"});
    Memo1 = new TMemo(this);
    Memo1->SetBounds(16, 344, 292, 146);
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
    OnShow = [this] { FormShow(); };
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
    Form1->LineSpacing = LineSpacingFor(TrackBar5->Position());
}

void TForm2::TrackBar6Change()
{
    const int p = TrackBar6->Position();
    for (TForm* form : TransparentForms())
        form->SetAlphaBlendValue(InactiveAlpha(p));
    Form1->InactiveTransparency = p;
    SetAlphaBlend(true);
}

void TForm2::BitBtn11Click()
{
    SetAlphaBlend(false);
}

void TForm2::FormShow()
{
    ShowProcessMemoryInfo();
}

void TForm2::ShowProcessMemoryInfo()
{
    ProcessMemoryInfo info;
    if (ReadProcessMemoryInfo(info))
        Memo1->Lines().Assign(ProcessMemoryReport(info));
    Invalidate();
    Application->ProcessMessages();
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
