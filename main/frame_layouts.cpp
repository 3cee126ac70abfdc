// Applying a built-in frame layout, the commands that do it, and the redraw
// of the preview after a layout change.
#include "dialogs/histogram_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/text_format.h"

namespace {

void ResetFont(TFont& font, int size)
{
    font.SetColor(clBlack);
    font.SetCharset(128);
    font.SetSize(size);
}

}  // namespace

int TForm1::ApplyFrameLayout(int preset)
{
    Edit3->SetText("");
    const TFrameLayoutPreset values = FramePreset(preset);
    Form3->RadioButton1->SetChecked(true);
    Form2->TrackBar5->SetPosition(10);
    LineSpacing = static_cast<float>(1 + 10 * 0.01);

    TFont& title = Form4->Edit22->Font();
    ResetFont(title, values.titleSize);
    Form4->CheckBox4->SetChecked(false);
    Form4->Edit2->SetText("0");
    for (auto [holder, size, angle] : {std::tuple{Form4->Edit10, values.dateSize, Form4->Edit3},
                                       std::tuple{Form4->Edit12, values.otherSize, Form4->Edit8}}) {
        TFont& font = holder->Font();
        font.SetStyle(0);
        font.SetName("ＭＳ Ｐゴシック");
        ResetFont(font, size);
        Form4->CheckBox5->SetChecked(false);
        angle->SetText("0");
    }
    Form7->Edit4->SetText(Form4->Edit4->Text());
    Form7->Edit9->SetText(Form4->Edit9->Text());
    Form7->Edit7->SetText(Form4->Edit7->Text());

    FrameLayout = values.layout;
    PreviewLayout = ScaleLayoutToPreview(FrameLayout, ScrollBox1->ClientWidth(), ScrollBox1->ClientHeight());
    for (TImage* image : {Image1, Image2}) {
        image->ClearPicture();
        image->SetBounds(image->Left(), image->Top(), PreviewLayout.Framewidth, PreviewLayout.Frameheight);
    }
    FrameLayout.HasFrameImage = false;
    PreviewLayout.HasFrameImage = false;
    Image1->SetTransparent(true);
    Image1->Picture().Fill(clBlack);
    Image1->SetTransparent(false);

    PhotoBitmap->SetSize(1, 1);
    ScratchBitmap->SetTransparentColor(clBlack);
    ScratchBitmap->Transparent = false;

    // The frame image: white, with the photo area black.
    PhotoBitmap->SetSize(FrameLayout.Framewidth, FrameLayout.Frameheight);
    PhotoBitmap->Fill(clWhite);
    TCanvas& canvas = *PhotoBitmap->Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBlack;
    canvas.FillRect({FrameLayout.Leftwidth, FrameLayout.Topheight, FrameLayout.Leftwidth + FrameLayout.Photowidth,
                     FrameLayout.Topheight + FrameLayout.Photoheight});
    PhotoBitmap->Transparent = false;
    ShowFitted(*PhotoBitmap, 1);

    FrameOverlay->SetSize(PhotoBitmap->Width(), PhotoBitmap->Height());
    FrameOverlay->SetTransparentColor(clBlack);
    FrameOverlay->Transparent = true;
    FrameOverlay->Canvas()->Draw(0, 0, *PhotoBitmap);

    PreviewOverlay->SetSize(PreviewLayout.Framewidth, PreviewLayout.Frameheight);
    PreviewOverlay->Transparent = false;
    PreviewOverlay->Canvas()->StretchDraw({0, 0, PreviewLayout.Framewidth, PreviewLayout.Frameheight}, *PhotoBitmap);

    Edit3->SetText("\\");
    FrameFilePath.clear();
    PresetIndex = preset;
    return 0;
}

void TForm1::drawTextPreviews()
{
    DrawTextPreview(*Image3, *Form4->Edit22, Form4->Edit4->Text(), Form4->CheckBox4->Checked(),
                    StrToIntDef(Form4->Edit2->Text(), 0),
                    FrameLayout.FontPositionY + Form7->TrackBar2->Position() - 20);
    DrawTextPreview(*Image4, *Form4->Edit10, Form4->Edit9->Text(), Form4->CheckBox5->Checked(),
                    StrToIntDef(Form4->Edit3->Text(), 0), FrameLayout.DatePositionY);
}

void TForm1::redrawPreviewContent()
{
    if (Memo2->Lines().Count() == 0) {
        drawTextPreviews();
        return;
    }
    const std::string current = Memo2->Lines()[PhotoIndex];
    if (current.empty())
        return;
    // Loaded again, so that it is turned and previewed for the layout in force.
    CachedPhotoPath.clear();
    if (LoadPhoto(current) == 0) {
        ScratchBitmap->Transparent = false;
        RefreshPreview();
    }
}

void TForm1::RefreshLayoutPreview()
{
    Busy = true;
    RedrawFramePreview();
    redrawPreviewContent();
    Busy = false;
}

void TForm1::ComboBox1Change()
{
    ApplyFrameLayout(ComboBox1->ItemIndex());
    RefreshLayoutPreview();
}

void TForm1::BitBtn5Click()
{
    if (Application->MessageBox("新規作成して宜しいですか？\n現在の画像フォルダ設定などが初期化されます。",
                                MessageCaption, MB_YESNO) == IDNO) {
        Busy = false;
        return;
    }
    Busy = true;
    ResetWorkState();
    ResetCorrections();
    Form8->ClearHistograms();
    Form4->Edit22->Font().SetName("ＭＳ Ｐゴシック");
    Form7->TrackBar2->SetPosition(Form7->TrackBar2->Max() / 2);
    if (ApplyFrameLayout(0) == 0)
        RedrawFramePreview();
    Busy = false;
}

void TForm1::BitBtn6Click()
{
    Busy = true;
    Memo2->Lines().Clear();
    OpenPhotoFile();
    startNewList();
    Busy = false;
}
