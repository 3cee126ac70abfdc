// Histogram window: layout and drawing.
#include "dialogs/histogram_form.h"

#include "pipeline/histogram_drawing.h"

TForm8* Form8 = nullptr;

namespace {

constexpr int kImageWidth = 258;
constexpr int kImageHeight = 130;

TCheckBox* MakeBox(TWinControl* parent, int left, const char* caption, TColor colour)
{
    auto* box = new TCheckBox(parent);
    box->SetBounds(left, 330, 60, 20);
    box->SetCaption(caption);
    box->Font().SetColor(colour);
    box->SetChecked(true);
    return box;
}

}  // namespace

TForm8::TForm8(TWinControl* owner) : TForm(owner)
{
    SetCaption("ヒストグラム");
    SetDialogBorder(true);
    SetClientSize(287, 358);
    // Made first, so it is first in the tab order, though it lies below the
    // visible area.
    BitBtn1 = new TButton(this);
    BitBtn1->SetBounds(14, 400, 80, 24);
    BitBtn1->SetCaption("再描画");
    Label1 = new TLabel(this);
    Label1->SetBounds(14, 8, 100, 16);
    Label1->SetCaption("補正前");
    Image1 = new TImage(this);
    Image1->SetBounds(14, 26, kImageWidth, kImageHeight);
    Label2 = new TLabel(this);
    Label2->SetBounds(14, 164, 100, 16);
    Label2->SetCaption("補正後");
    Image2 = new TImage(this);
    Image2->SetBounds(14, 182, kImageWidth, kImageHeight);
    CheckBox1 = MakeBox(this, 14, "ALL", clBlack);
    CheckBox2 = MakeBox(this, 84, "R", clRed);
    CheckBox3 = MakeBox(this, 144, "G", RGB(0, 128, 0));
    CheckBox4 = MakeBox(this, 204, "B", clBlue);
    for (TCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        box->OnClick = [this] { DrawHistograms(0); };
    BitBtn1->OnClick = [this] { DrawHistograms(0); };
    OnCanResize = [](int&, int&, bool& resize) { resize = false; };
    ClearHistograms();
    Created();
}

void TForm8::ClearHistograms()
{
    for (TImage* image : {Image1, Image2}) {
        image->Picture().SetSize(kImageWidth, kImageHeight);
        image->Picture().Fill(clWhite);
        image->PictureChanged();
    }
}

void TForm8::DrawHistograms(int channel, const HistogramSet& before, const HistogramSet& after)
{
    before_ = before;
    after_ = after;
    DrawHistograms(channel);
}

void TForm8::DrawHistograms(int channel)
{
    if (drawSet(*Image1, before_, channel))
        drawSet(*Image2, after_, channel);
}

bool TForm8::drawSet(TImage& image, const HistogramSet& set, int channel)
{
    TBitmap& picture = image.Picture();
    picture.SetSize(kImageWidth, kImageHeight);
    const HistogramLayers layers{CheckBox1->Checked(), CheckBox2->Checked(), CheckBox3->Checked(),
                                 CheckBox4->Checked()};
    const bool drawn = DrawHistogram(picture, set, channel, layers);
    image.PictureChanged();
    return drawn;
}
