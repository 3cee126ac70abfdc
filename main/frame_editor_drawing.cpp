// The main window's drawings for the frame settings editor: the frame image
// of a geometry, shown or written as a .bmp file, and the title preview of
// the text placement window.
#include "frame_editor/frame_measures.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "pipeline/frame_image.h"
#include "platform/application.h"
#include "platform/bmp_file.h"
#include "platform/canvas.h"
#include "platform/text_format.h"

namespace {

// When the frame settings window holds no frame size, the title preview
// draws as for this one.
constexpr int kDefaultEditorFrameWidth = 2000;
constexpr int kDefaultEditorFrameHeight = 1200;

TFrameLayout FrameGeometry(int fw, int fh, int pw, int ph, int l, int t)
{
    TFrameLayout layout;
    layout.Framewidth = fw;
    layout.Frameheight = fh;
    layout.Photowidth = pw;
    layout.Photoheight = ph;
    layout.Leftwidth = l;
    layout.Topheight = t;
    return layout;
}

}  // namespace

void TForm1::DrawFrameImage(TImage* image, int fw, int fh, int pw, int ph, int l, int t)
{
    if (!::DrawFrameImage(*PhotoBitmap, FrameGeometry(fw, fh, pw, ph, l, t)) || !image)
        return;
    image->Canvas()->StretchDraw({0, 0, image->Width(), image->Height()}, *PhotoBitmap);
    image->PictureChanged();
}

void TForm1::SaveFrameImage(const std::string& path, int fw, int fh, int pw, int ph, int l, int t)
{
    if (!::DrawFrameImage(*PhotoBitmap, FrameGeometry(fw, fh, pw, ph, l, t)))
        return;
    if (!SaveBmpFile(*PhotoBitmap, path))
        throw Exception(Format("%s に書き込めません", path.c_str()));
}

void TForm1::DrawEditorTextPreview(TImage& image, const TFont& font, const std::string& text, int angle)
{
    const float lineSpacing = static_cast<float>(Form4->LineSpacingPercent()) * 0.01f + 1.0f;
    const int previewWidth = Form4->FramePictureWidth();
    const int fw = Form3->PixelValue(TFrameMeasure::FrameWidth, kDefaultEditorFrameWidth);
    const int fh = Form3->PixelValue(TFrameMeasure::FrameHeight, kDefaultEditorFrameHeight);
    if (fw == 0 || fh == 0) {
        Application->MessageBox("フレームサイズが０です。(タイトルプレビュー[作成])", "", MB_OK);
        return;
    }
    blankTextImage(image);
    // Never larger than the area that shows it, however narrow the frame.
    drawScaledTextPreview(image, font, text, angle, lineSpacing, previewWidth, fw, Form4->PreviewAreaSize());
}
