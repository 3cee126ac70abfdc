// Quick text dialog: the controls that hold shared settings.
#include "dialogs/quick_text_form.h"

#include "platform/control_builders.h"

TForm7* Form7 = nullptr;


TForm7::TForm7(TWinControl* owner) : TForm(owner)
{
    SetCaption("文字列設定");
    SetBounds(0, 0, 540, 253);
    Label3 = NewLabel(this, 8, 12, 120, "タイトル文字列");
    Edit4 = new TEdit(this);
    Edit4->SetBounds(110, 8, 320, 21);
    Edit4->MaxLength = 86;
    Edit4->SetText("[タイトル文字列]");
    Edit9 = new TEdit(this);
    Edit9->MaxLength = 48;
    Edit9->SetVisible(false);
    Edit7 = new TEdit(this);
    Edit7->SetVisible(false);
    Label1 = NewLabel(this, 8, 44, 120, "フォント名");
    ComboBox1 = new TComboBox(this, true);
    ComboBox1->SetBounds(110, 40, 240, 21);
    ComboBox1->Sorted = true;
    ComboBox1->SetText(kDefaultFaceName);
    Label10 = NewLabel(this, 8, 80, 120, "フォントサイズ");
    TrackBar1 = NewTrackBar(this, 110, 76, 300, 20, 50, 30, 5, 5);
    Label14 = NewLabel(this, 8, 120, 120, "フォント横倍率");
    TrackBar3 = NewTrackBar(this, 110, 116, 300, 50, 150, 100, 5, 10);
    Label2 = NewLabel(this, 440, 40, 120, "垂直位置調整");
    TrackBar2 = NewTrackBar(this, 460, 60, 300, 0, 40, 20, 5, 10);
    TrackBar2->SetOrientation(TTrackBarOrientation::trVertical);
    TrackBar2->SetBounds(460, 60, 32, 150);
    Created();
}

namespace {

// The bar position at which the title keeps its layout Y.
constexpr int kTitleAdjustmentCentre = 20;

}  // namespace

int TForm7::TitleAdjustment() const
{
    return TrackBar2->Position() - kTitleAdjustmentCentre;
}

void TForm7::CentreTitleAdjustment()
{
    TrackBar2->SetPosition(TrackBar2->Max() / 2);
}

int TForm7::HorizontalScale() const
{
    return TrackBar3->Position();
}

void TForm7::MirrorTexts(const std::string& title, const std::string& date, const std::string& other)
{
    Edit4->SetText(title);
    Edit9->SetText(date);
    Edit7->SetText(other);
}
