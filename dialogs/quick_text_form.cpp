// Quick text dialog: the controls that hold shared settings.
#include "dialogs/quick_text_form.h"

TForm7* Form7 = nullptr;

namespace {

TTrackBar* MakeBar(TWinControl* parent, int left, int top, int min, int max, int position, int page, int frequency)
{
    auto* bar = new TTrackBar(parent);
    bar->SetBounds(left, top, 300, 32);
    bar->SetRange(min, max);
    bar->PageSize = page;
    bar->Frequency = frequency;
    bar->SetPosition(position);
    return bar;
}

TLabel* MakeLabel(TWinControl* parent, int left, int top, const char* caption)
{
    auto* label = new TLabel(parent);
    label->SetBounds(left, top, 120, 16);
    label->SetCaption(caption);
    return label;
}

}  // namespace

TForm7::TForm7(TWinControl* owner) : TForm(owner)
{
    SetCaption("文字列設定");
    SetBounds(0, 0, 540, 253);
    Label3 = MakeLabel(this, 8, 12, "タイトル文字列");
    Edit4 = new TEdit(this);
    Edit4->SetBounds(110, 8, 320, 21);
    Edit4->MaxLength = 86;
    Edit4->SetText("[タイトル文字列]");
    Edit9 = new TEdit(this);
    Edit9->MaxLength = 48;
    Edit9->SetVisible(false);
    Edit7 = new TEdit(this);
    Edit7->SetVisible(false);
    Label1 = MakeLabel(this, 8, 44, "フォント名");
    ComboBox1 = new TComboBox(this, true);
    ComboBox1->SetBounds(110, 40, 240, 21);
    ComboBox1->Sorted = true;
    ComboBox1->SetText("ＭＳ Ｐゴシック");
    Label10 = MakeLabel(this, 8, 80, "フォントサイズ");
    TrackBar1 = MakeBar(this, 110, 76, 20, 50, 30, 5, 5);
    Label14 = MakeLabel(this, 8, 120, "フォント横倍率");
    TrackBar3 = MakeBar(this, 110, 116, 50, 150, 100, 5, 10);
    Label2 = MakeLabel(this, 440, 40, "垂直位置調整");
    TrackBar2 = MakeBar(this, 460, 60, 0, 40, 20, 5, 10);
    TrackBar2->SetOrientation(TTrackBarOrientation::trVertical);
    TrackBar2->SetBounds(460, 60, 32, 150);
    Created();
}
