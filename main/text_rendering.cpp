// The main window's text routines: the pipeline's text block with the fonts,
// line spacing, horizontal scale and smoothing pattern of the settings.
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "main/main_form.h"
#include "pipeline/preview_scale.h"
#include "pipeline/text_block.h"
#include "platform/application.h"
#include "platform/canvas.h"

namespace {

TextBlockStyle StyleOf(const TFont& font, int angle, float lineSpacing)
{
    TextBlockStyle style;
    style.font.Assign(font);
    style.angle = angle;
    style.lineSpacing = lineSpacing;
    style.horizontalScale = Form7->HorizontalScale();
    style.blurPattern = Form2->SmoothingPattern();
    return style;
}

}  // namespace

void TForm1::DrawTextBlock(int x, int y, TBitmap& target, const TFont& font, const std::string& text, int angle)
{
    ::DrawTextBlock(*TextBitmap, target, x, y, text, StyleOf(font, angle, LineSpacing), WorkPlane);
}

void TForm1::DrawTextPreview(TImage& image, const TFont& font, const std::string& text, int angle)
{
    blankTextImage(image);
    if (FrameLayout.Framewidth == 0 || FrameLayout.Frameheight == 0) {
        Application->MessageBox("フレームサイズが０です。(タイトルプレビュー)", "", MB_OK);
        return;
    }
    // No limit: the preview is never much wider than a built-in frame, and
    // the composition places the text by its image.
    drawScaledTextPreview(image, font, text, angle, LineSpacing, PreviewLayout.Framewidth, FrameLayout.Framewidth,
                          std::nullopt);
}

void TForm1::blankTextImage(TImage& image)
{
    image.SetTransparent(true);
    TBitmap& blank = image.Picture();
    blank.SetSize(image.Width(), image.Height());
    blank.Fill(clWhite);
    image.PictureChanged();
}

void TForm1::drawScaledTextPreview(TImage& image, const TFont& font, const std::string& text, int angle,
                                   float lineSpacing, int previewWidth, int frameWidth,
                                   std::optional<PictureSize> limit)
{
    RenderTextPreviewLayer(*TextBitmap, text, StyleOf(font, angle, lineSpacing));
    // Both sides scale by the width ratio of preview and output.
    const int w = TextBitmap->Width();
    const int h = TextBitmap->Height();
    const auto [width, height] = limit ? PreviewSizeWithin(w, h, previewWidth, frameWidth, *limit)
                                       : PictureSize{FrameToPreviewSize(w, previewWidth, frameWidth),
                                                     FrameToPreviewSize(h, previewWidth, frameWidth)};
    image.ClearPicture();
    image.SetBounds(image.Left(), image.Top(), width, height);
    TBitmap& picture = image.Picture();
    picture.Fill(clWhite);
    picture.Canvas()->StretchDraw({0, 0, width, height}, *TextBitmap);
    image.PictureChanged();
}

TImage* TForm1::TextImage(TFrameTextKind kind) const
{
    switch (kind) {
    case TFrameTextKind::Date:
        return Image4;
    case TFrameTextKind::Other:
        return Image5;
    case TFrameTextKind::Title:
        break;
    }
    return Image3;
}
