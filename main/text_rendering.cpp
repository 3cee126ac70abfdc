// The main window's text routines: the pipeline's text block with the fonts,
// line spacing, horizontal scale and smoothing pattern of the settings.
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "main/main_form.h"
#include "pipeline/text_block.h"
#include "platform/application.h"
#include "platform/canvas.h"

namespace {

TextBlockStyle StyleOf(const TEdit& fontHolder, int angle, float lineSpacing)
{
    TextBlockStyle style;
    style.font.Assign(fontHolder.Font());
    style.angle = angle;
    style.lineSpacing = lineSpacing;
    style.horizontalScale = Form7->TrackBar3->Position();
    style.blurPattern = Form2->TrackBar7->Position();
    return style;
}

}  // namespace

void TForm1::DrawTextBlock(int width, int height, int x, int y, TBitmap& target, TEdit& fontHolder,
                           const std::string& text, bool vertical, int angle)
{
    (void)width;
    (void)height;
    (void)vertical;  // carried with the text; no drawing reads it
    ::DrawTextBlock(*TextBitmap, target, x, y, text, StyleOf(fontHolder, angle, LineSpacing), WorkPlane);
}

void TForm1::DrawTextPreview(TImage& image, TEdit& fontHolder, const std::string& text, bool vertical, int angle,
                             int y)
{
    (void)vertical;
    (void)y;  // the caller places the image
    image.SetTransparent(true);
    TBitmap& blank = image.Picture();
    blank.SetSize(image.Width(), image.Height());
    blank.Fill(clWhite);
    image.PictureChanged();
    if (FrameLayout.Framewidth == 0 || FrameLayout.Frameheight == 0) {
        Application->MessageBox("フレームサイズが０です。(タイトルプレビュー)", "", MB_OK);
        return;
    }
    RenderTextPreviewLayer(*TextBitmap, text, StyleOf(fontHolder, angle, LineSpacing));
    TextBitmap->Transparent = true;
    // Both sides scale by the width ratio of preview and output.
    const double ratio = static_cast<double>(PreviewLayout.Framewidth) / FrameLayout.Framewidth;
    const int width = static_cast<int>(static_cast<float>(TextBitmap->Width() * ratio));
    const int height = static_cast<int>(static_cast<float>(TextBitmap->Height() * ratio));
    image.ClearPicture();
    image.SetBounds(image.Left(), image.Top(), width, height);
    TBitmap& picture = image.Picture();
    picture.Fill(clWhite);
    picture.Canvas()->StretchDraw({0, 0, width, height}, *TextBitmap);
    image.PictureChanged();
}
