// Frame settings window: the controls that hold shared settings.
#include "frame_editor/frame_settings_form.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TWinControl* owner) : TForm(owner)
{
    SetCaption("フレーム設定");
    SetBounds(0, 0, 640, 480);
    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetCaption("画像トリミング設定");
    GroupBox2->SetBounds(16, 16, 200, 100);
    RadioButton1 = new TRadioButton(GroupBox2);
    RadioButton1->SetBounds(12, 20, 160, 20);
    RadioButton1->SetCaption("上合わせ");
    RadioButton2 = new TRadioButton(GroupBox2);
    RadioButton2->SetBounds(12, 44, 160, 20);
    RadioButton2->SetCaption("中央合わせ");
    RadioButton3 = new TRadioButton(GroupBox2);
    RadioButton3->SetBounds(12, 68, 160, 20);
    RadioButton3->SetCaption("下合わせ");
    RadioButton1->SetChecked(true);
    Created();
}

int TForm3::TrimmingAlignment() const
{
    if (RadioButton1->Checked())
        return 1;
    if (RadioButton2->Checked())
        return 2;
    if (RadioButton3->Checked())
        return 3;
    return 0;
}

void TForm3::SetTrimmingAlignment(int alignment)
{
    TRadioButton* const buttons[] = {RadioButton1, RadioButton2, RadioButton3};
    if (alignment >= 1 && alignment <= 3)
        buttons[alignment - 1]->SetChecked(true);
}
