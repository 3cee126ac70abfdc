// Histogram window: layout and drawing.
#include "dialogs/histogram_form.h"

#include <algorithm>

#include "main/main_form.h"
#include "pipeline/histogram.h"
#include "platform/canvas.h"

TForm8* Form8 = nullptr;

namespace {

constexpr int kImageWidth = 258;
constexpr int kImageHeight = 130;
constexpr int kBase = 129;

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
    SetBounds(0, 0, 287, 358);
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
    BitBtn1 = new TButton(this);
    BitBtn1->SetBounds(14, 400, 80, 24);
    BitBtn1->SetCaption("再描画");
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

void TForm8::DrawHistograms(int channel)
{
    if (channel < 0 || channel > 3)
        channel = 0;
    // Without a peak in the first set the second is left as it was.
    if (drawSet(*Image1, Form1->HistogramBefore, channel))
        drawSet(*Image2, Form1->HistogramAfter, channel);
}

bool TForm8::drawSet(TImage& image, const HistogramSet& set, int channel)
{
    TBitmap& picture = image.Picture();
    picture.SetSize(kImageWidth, kImageHeight);
    picture.Fill(clWhite);
    image.PictureChanged();
    int peak = 0;
    for (int level = 1; level <= 254; ++level)
        if (set.counts[level][channel] > 0)
            for (int k = 0; k < 4; ++k)
                peak = std::max(peak, static_cast<int>(set.counts[level][k]));
    if (peak == 0)
        return false;
    auto height = [&](int count) { return static_cast<int>(static_cast<long long>(count) * 128 / peak); };
    TCanvas& canvas = *picture.Canvas();
    canvas.Pen.Width = 1;
    if (CheckBox1->Checked()) {
        canvas.Pen.Color = clBlack;
        for (int level = 0; level < 256; ++level) {
            canvas.MoveTo(level + 1, kBase);
            canvas.LineTo(level + 1, kBase - height(set.counts[level][channel]));
        }
    }
    const struct {
        TCheckBox* box;
        TColor colour;
        int channel;
    } curves[] = {{CheckBox2, RGB(255, 0, 0), 1}, {CheckBox3, RGB(0, 128, 0), 2}, {CheckBox4, RGB(0, 0, 255), 3}};
    for (const auto& curve : curves) {
        if (!curve.box->Checked())
            continue;
        canvas.Pen.Color = curve.colour;
        canvas.MoveTo(1, kBase);
        for (int level = 0; level < 256; ++level)
            canvas.LineTo(level + 1, kBase - height(set.counts[level][curve.channel]));
    }
    image.PictureChanged();
    return true;
}
