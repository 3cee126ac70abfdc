// Loading a photo (decoded once and cached), preparing it for the photo area,
// and the two display routines of the preview.
#include <cmath>
#include <utility>

#include "dialogs/histogram_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "pipeline/photo_fitting.h"
#include "pipeline/rotation.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "platform/text_format.h"

int TForm1::LoadPhoto(const std::string& path)
{
    const int result = cacheSourcePhoto(path);
    if (result == 0)
        PhotoBitmap->Assign(*SourceBitmap);
    return result;
}

int TForm1::cacheSourcePhoto(const std::string& path)
{
    if (path == CachedPhotoPath)
        return 0;
    if (path.empty())
        return 1;
    if (!FileExists(path))
        return -1;
    PhotoBitmap->SetSize(1, 1);
    CachedPhotoPath.clear();
    if (DecodeJpegFile(path, *PhotoBitmap) != JpegResult::Ok) {
        PhotoBitmap->SetSize(1, 1);
        return -2;
    }
    CachedPhotoPath = path;
    pump();

    const int w = PhotoBitmap->Width();
    const int h = PhotoBitmap->Height();
    if (NeedsQuarterTurn(w, h, FrameLayout.Framewidth, FrameLayout.Frameheight)) {
        SourceBitmap->SetSize(h, w);
        SourceBitmap->Fill(clWhite);
        RotateQuarterTurns(*PhotoBitmap, *SourceBitmap, 270);
    } else {
        // The decoded picture becomes the cache as it is.
        std::swap(SourceBitmap, PhotoBitmap);
    }

    const int S = std::max(PreviewLayout.Photowidth, PreviewLayout.Photoheight);
    const TPoint size = PreviewCopySize(SourceBitmap->Width(), SourceBitmap->Height(), S);
    bool reduced = false;
    if (CheckBox4->Checked()) {
        PreviewSourceBitmap->Assign(*SourceBitmap);
        reduced = ShrinkHighQuality(*PreviewSourceBitmap, size.x, size.y) == 0;
    }
    if (!reduced) {
        PreviewSourceBitmap->SetSize(size.x, size.y);
        PreviewSourceBitmap->Canvas()->StretchDraw({0, 0, size.x, size.y}, *SourceBitmap);
    }
    return 0;
}

int TForm1::CopySourcePhoto(bool preview)
{
    const TBitmap& source = preview ? *PreviewSourceBitmap : *SourceBitmap;
    if (source.Width() <= 10 || source.Height() <= 10)
        return -1;
    PhotoBitmap->Assign(source);
    return preview ? 1 : 0;
}

int TForm1::PreparePhoto(const std::string& path, bool preview)
{
    if (path.empty()) {
        if (CopySourcePhoto(preview) < 0)
            return -3;
    } else {
        auto askAbort = [&](const char* question, const char* skipNote) {
            if (Application->MessageBox(Format("%s\n\n%s", question, path.c_str()), MessageCaption, MB_YESNO) ==
                IDYES) {
                AbortRequested = true;
                Memo1->Lines().Add("中断");
                return -1;
            }
            Memo1->Lines().Add(skipNote);
            return -2;
        };
        if (!FileExists(path))
            return askAbort("JPEGファイルが存在しません。中断しますか？", "JPEGファイルが存在しません");
        PhotoBitmap->SetSize(1, 1);
        // The fitting works from the cached picture; the photo in work is
        // not copied from it only to be replaced.
        if (cacheSourcePhoto(path) < 0)
            return askAbort("JPEGファイルを読み込めませんでした。中断しますか？", "JPEGファイルを読み込めません");
        const int w = SourceBitmap->Width();
        const int h = SourceBitmap->Height();
        if ((w <= 320 && h <= 240) || (w <= 240 && h <= 320)) {
            Memo1->Lines().Add("320px×240px以下なのでスキップ");
            return -2;
        }
    }
    if (FitPhotoToArea(preview ? *PreviewSourceBitmap : *SourceBitmap, preview) != 0)
        return -1;
    if (CheckBox7->Checked() && CheckBox6->Checked())
        ApplyColorCorrection(*PhotoBitmap);
    BuildHistogramSet(*PhotoBitmap, 1);
    Form8->DrawHistograms(0);
    return 0;
}

int TForm1::FitPhotoToArea(TBitmap& source, bool preview)
{
    const int sW = source.Width();
    const int sH = source.Height();
    const TFrameLayout& area = preview ? PreviewLayout : FrameLayout;
    const int eW = area.Photowidth;
    const int eH = area.Photoheight;

    int rotW = sW;
    int rotH = sH;
    if (PhotoAngle != 0.0f) {
        const TRect bounds = RotatedRectBounds({0, 0, sW, sH}, -PhotoAngle);
        rotW = bounds.Right - bounds.Left;
        rotH = bounds.Bottom - bounds.Top;
        ScratchBitmap->SetSize(rotW, rotH);
        ScratchBitmap->Fill(BackgroundColor);
        ScratchBitmap->Canvas()->Draw((rotW - sW) / 2, (rotH - sH) / 2, source);
        PhotoBitmap->SetSize(rotW, rotH);
        PhotoBitmap->Fill(BackgroundColor);
        RotateByAngle(*ScratchBitmap, *PhotoBitmap, PhotoAngle);
    }

    const CropSize crop = CropSizeFor(sW, sH, eW, eH);
    const TPoint offset = preview ? PreviewOffset(PhotoOffsetX, PhotoOffsetY, PreviewLayout.Photowidth,
                                                  FrameLayout.Photowidth)
                                  : FullSizeOffset(PhotoOffsetX, PhotoOffsetY, crop, eW);
    const TRect window = CropWindow(crop, CheckBox7->Checked(), PhotoZoom, offset, rotW, rotH,
                                    static_cast<TrimAlignment>(Form3->TrimmingAlignment()));
    const int cw = window.Width();
    const int ch = window.Height();
    // Unturned, the photo in work is the source itself.
    const TBitmap& turned = PhotoAngle != 0.0f ? *PhotoBitmap : source;
    auto cropOut = [&] {
        OutputBitmap->SetSize(cw, ch);
        OutputBitmap->Fill(BackgroundColor);
        OutputBitmap->Canvas()->CopyRect({0, 0, cw, ch}, turned, window);
    };
    // The text layer's scratch becomes the photo in work, opaque.
    auto takeTextBitmapAsPhoto = [&] {
        std::swap(PhotoBitmap, TextBitmap);
        PhotoBitmap->Transparent = false;
    };
    auto stretchInto = [&](const TRect& rect) {
        TextBitmap->SetSize(eW, eH);
        TextBitmap->Fill(BackgroundColor);
        TextBitmap->Canvas()->StretchDraw(rect, *OutputBitmap);
        takeTextBitmapAsPhoto();
    };
    if (rotW < cw || rotH < ch || !CheckBox3->Checked()) {
        cropOut();
        stretchInto({0, 0, eW, eH});
        return 0;
    }
    int reduced = 0;
    if (window.Left >= 0 && window.Top >= 0 && window.Right <= rotW && window.Bottom <= rotH) {
        // A window inside the picture is reduced straight from it: the same
        // pixels as reducing a copy of the crop, without the copy.
        reduced = shrinkWindowInto(turned, window, *TextBitmap, eW, eH);
        if (reduced == 0) {
            takeTextBitmapAsPhoto();
            return 0;
        }
        if (reduced != -2)
            cropOut();
    } else {
        cropOut();
        reduced = ShrinkHighQuality(*OutputBitmap, eW, eH);
        if (reduced == 0) {
            PhotoBitmap->SetSize(eW, eH);
            PhotoBitmap->Canvas()->CopyRect({0, 0, eW, eH}, *OutputBitmap, {0, 0, eW, eH});
            return 0;
        }
    }
    switch (reduced) {
    case -2:
        Memo1->Lines().Add("中断");
        Memo1->Lines().Add(ReduceMessage);
        StatusBar1->Panels(0).SetText(ReduceMessage);
        StatusBar1->Repaint();
        return -1;
    case -10:
        stretchInto(AspectKeptRect(cw, ch, eW, eH));
        return 0;
    default:
        stretchInto({0, 0, eW, eH});
        return 0;
    }
}

int TForm1::ShowFitted(const TBitmap& graphic, int target)
{
    TImage* control = nullptr;
    switch (target) {
    case 1:
        control = Image1;
        break;
    case 2:
        control = Image2;
        break;
    case 3:
        control = Image3;
        break;
    case 10:
        control = Image10;
        break;
    default:
        break;
    }
    const TImage* sizeOf = control ? control : Image1;
    const int W = sizeOf->Width();
    const int H = sizeOf->Height();
    ScratchBitmap->SetSize(W, H);
    ScratchBitmap->Fill(clGray);
    const TPoint drawn = FittedSize(graphic.Width(), graphic.Height(), W, H);
    ScratchBitmap->Canvas()->StretchDraw({0, 0, drawn.x, drawn.y}, graphic);
    if (!control)
        return 0;
    TBitmap& picture = control->Picture();
    picture.SetSize(W, H);
    if (target == 10) {
        picture.Fill(clGray);
        picture.Canvas()->Draw((W - drawn.x) / 2, (H - drawn.y) / 2, *ScratchBitmap);
    } else {
        picture.Canvas()->Draw(0, 0, *ScratchBitmap);
    }
    control->PictureChanged();
    return 0;
}

void TForm1::RedrawFramePreview()
{
    ScratchBitmap->Transparent = false;
    FrameOverlay->Transparent = false;
    if (!PreviewLayout.HasFrameImage) {
        ShowFitted(*FrameOverlay, 1);
    } else {
        OutputBitmap->SetSize(PreviewLayout.Framewidth, PreviewLayout.Frameheight);
        OutputBitmap->Fill(clBlack);
        BlendFrameImage(PreviewLayout.Framewidth, PreviewLayout.Frameheight, *OutputBitmap, *PreviewOverlay);
        ShowFitted(*OutputBitmap, 1);
    }
    const std::string title = Form4->Edit4->Text();
    const int adjust = Form7->TrackBar2->Position() - 20;
    DrawTextPreview(*Image3, *Form4->Edit22, title.empty() ? "[　　]" : title, Form4->CheckBox4->Checked(),
                    StrToIntDef(Form4->Edit2->Text(), 0), FrameLayout.FontPositionY + adjust);
    if (FrameLayout.Framewidth <= 0)
        return;
    const float f = static_cast<float>(static_cast<double>(PreviewLayout.Framewidth) / FrameLayout.Framewidth);
    const float top = static_cast<float>((FrameLayout.FontPositionY + adjust) * static_cast<double>(f));
    const float left = static_cast<float>(FrameLayout.FontPositionX * static_cast<double>(f));
    Image3->SetBounds(static_cast<int>(left) - Image3->Width() / 2 - ScrollBox1->HorzScrollBar.Position(),
                      static_cast<int>(top) - ScrollBox1->VertScrollBar.Position(), Image3->Width(),
                      Image3->Height());
}
