// The main window's text routines: the pipeline's text block with the fonts,
// line spacing, horizontal scale and smoothing pattern of the settings.
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "main/main_form.h"
#include "pipeline/preview_scale.h"
#include "pipeline/text_block.h"
#include "pipeline/text_layout.h"
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
    // The image shows its bottom-left pixel's colour as see-through: ink
    // there (an underline, a low line) would show the white and hide the text.
    picture.SetPixel(0, height - 1, clWhite);
    image.PictureChanged();
}

void TForm1::placeTextImage(TFrameTextKind kind, TPoint layoutPlace)
{
    TImage& image = *TextImage(kind);
    // Kept inside the frame as the composition keeps the text.
    const TPoint preview = KeepBlockInside(
        {FrameToPreviewPlace(layoutPlace.x, PreviewLayout.Framewidth, FrameLayout.Framewidth) - image.Width() / 2,
         FrameToPreviewPlace(layoutPlace.y, PreviewLayout.Framewidth, FrameLayout.Framewidth)},
        image.Width(), image.Height(), PreviewLayout.Framewidth, PreviewLayout.Frameheight);
    image.SetBounds(preview.x - ScrollBox1->HorzScrollBar.Position(), preview.y - ScrollBox1->VertScrollBar.Position(),
                    image.Width(), image.Height());
    textImagePlaces_[static_cast<std::size_t>(kind)] = {true, preview, layoutPlace};
}

TPoint TForm1::TextOutputPlace(TFrameTextKind kind, const TFrameText& text)
{
    const TImage& image = *TextImage(kind);
    const TPoint preview{image.Left() + ScrollBox1->HorzScrollBar.Position(),
                         image.Top() + ScrollBox1->VertScrollBar.Position()};
    // Scaling the preview place back loses up to a frame pixel per preview
    // pixel, differently at every preview scale, so the printed place would
    // follow the window's size; an image where the window put it stands
    // for the layout place itself, centred for the text as it is now.
    const TextImagePlace& placed = textImagePlaces_[static_cast<std::size_t>(kind)];
    const TextPlacement block =
        LayOutTextBlock(*TextBitmap->Canvas(), text.Text, StyleOf(text.Font, text.Angle, LineSpacing)).placement;
    const TPoint at = placed.placed && placed.preview == preview
                          ? TPoint{placed.layout.x - block.width / 2, placed.layout.y}
                          : TPoint{PreviewToFrame(preview.x, PreviewLayout.Framewidth, FrameLayout.Framewidth),
                                   PreviewToFrame(preview.y, PreviewLayout.Framewidth, FrameLayout.Framewidth)};
    // A name too long for its place is printed whole rather than cut.
    return KeepBlockInside(at, block.width, block.height, FrameLayout.Framewidth, FrameLayout.Frameheight);
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
