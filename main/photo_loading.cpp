// Loading a photo (decoded once and cached), preparing it for the photo area,
// and the two display routines of the preview.
#include <algorithm>
#include <optional>
#include <utility>

#include "dialogs/histogram_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "pipeline/area_reduction.h"
#include "pipeline/photo_fitting.h"
#include "pipeline/rotation.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "platform/stretch.h"
#include "platform/text_format.h"

int TForm1::LoadPhoto(const std::string& path)
{
    const int result = cacheSourcePhoto(path, false);
    if (result == 0)
        PhotoBitmap->Assign(*SourceBitmap);
    // A photo too large to decode is one that cannot be read.
    return result == kPhotoTooLarge ? -2 : result;
}

int TForm1::cacheSourcePhoto(const std::string& path, bool photoTurn)
{
    if (path == CachedPhotoPath)
        return 0;
    if (path.empty())
        return 1;
    if (!FileExists(path))
        return -1;
    PhotoBitmap->SetSize(1, 1);
    CachedPhotoPath.clear();
    // A batch may have worked the photo ahead (turned already), for its turn
    // only, or decoded it ahead. A decoded picture waits in the scratch
    // bitmap until it is turned into the cache or handed to it as it is.
    const bool workedAhead = photoTurn && takeSourceWorkedAhead(path);
    if (!workedAhead) {
        if (!waitForDecodeAhead(path))
            return -3;
        const std::optional<JpegResult> ahead = prefetch_.Take(path, *ScratchBitmap);
        const JpegResult decoded = ahead ? *ahead : DecodeJpegFile(path, *ScratchBitmap);
        if (decoded == JpegResult::TooLarge)
            return kPhotoTooLarge;
        if (decoded != JpegResult::Ok)
            return -2;
    }
    CachedPhotoPath = path;
    pump();
    if (!workedAhead) {
        try {
            turnIntoCache();
        } catch (...) {
            // No turned photo to reuse: the next load decodes it again.
            CachedPhotoPath.clear();
            throw;
        }
    }
    // The preview copy is made when a preview first needs it, as it would
    // have been made now: a batch of finished photos never needs it.
    const int S = std::max(PreviewLayout.Photowidth, PreviewLayout.Photoheight);
    previewSource_ = {true, CheckBox4->Checked(), CheckBox2->Checked(),
                      PreviewCopySize(SourceBitmap->Width(), SourceBitmap->Height(), S)};
    return 0;
}

bool TForm1::waitForDecodeAhead(const std::string& path)
{
    WorkControl control = reductionControl();
    return prefetch_.WaitFor(path, PollOf(&control));
}

void TForm1::turnIntoCache()
{
    const int w = ScratchBitmap->Width();
    const int h = ScratchBitmap->Height();
    if (NeedsQuarterTurn(w, h, FrameLayout.Framewidth, FrameLayout.Frameheight)) {
        SourceBitmap->SetSize(h, w);
        SourceBitmap->Fill(clWhite);
        RotateQuarterTurns(*ScratchBitmap, *SourceBitmap, 270);
    } else {
        SourceBitmap->ExchangePixels(*ScratchBitmap);
    }
}

bool TForm1::tooSmallToWork(const TBitmap& photo)
{
    const int w = photo.Width();
    const int h = photo.Height();
    return (w <= 320 && h <= 240) || (w <= 240 && h <= 320);
}

const TBitmap& TForm1::PreviewSource()
{
    if (!previewSource_.pending)
        return *PreviewSourceBitmap;
    previewSource_.pending = false;
    const TPoint size = previewSource_.size;
    if (previewSource_.highQuality) {
        WorkControl control = reductionControl();
        if (ShrinkHighQualityInto(*SourceBitmap, {0, 0, SourceBitmap->Width(), SourceBitmap->Height()},
                                  *PreviewSourceBitmap, size.x, size.y, previewSource_.sharpen, WorkPlane, control,
                                  ReduceMessage) == 0)
            return *PreviewSourceBitmap;
    }
    PreviewSourceBitmap->SetSize(size.x, size.y);
    PreviewSourceBitmap->Canvas()->StretchDraw({0, 0, size.x, size.y}, *SourceBitmap);
    return *PreviewSourceBitmap;
}

int TForm1::CopySourcePhoto(bool preview)
{
    const TBitmap& source = preview ? PreviewSource() : *SourceBitmap;
    if (source.Width() <= 10 || source.Height() <= 10)
        return -1;
    PhotoBitmap->Assign(source);
    return preview ? 1 : 0;
}

int TForm1::PreparePhoto(const std::string& path, bool preview)
{
    // What a batch worked ahead is for the photo's own turn: a preview,
    // also one drawn between two photos of a batch, never takes it.
    const bool photoTurn = !path.empty() && !preview;
    if (path.empty()) {
        if (CopySourcePhoto(preview) < 0)
            return -3;
    } else {
        if (!FileExists(path))
            return askAbortOrSkip(path, "JPEGファイルが存在しません。中断しますか？", "JPEGファイルが存在しません");
        PhotoBitmap->SetSize(1, 1);
        // The fitting works from the cached picture; the photo in work is
        // not copied from it only to be replaced.
        const int cached = cacheSourcePhoto(path, photoTurn);
        if (cached == -3)
            return photoWorkAborted();
        if (cached == kPhotoTooLarge)
            if (const std::optional<JpegDimensions> size = ReadJpegDimensions(path))
                return askAbortOrSkip(path,
                                      Format("写真が大きすぎます。(%u×%u、上限 %u万画素)\n中断しますか？", size->width,
                                             size->height, static_cast<unsigned>(kMaxJpegPixels / 10'000))
                                          .c_str(),
                                      "写真が大きすぎるので読み込めません");
        if (cached < 0)
            return askAbortOrSkip(path, "JPEGファイルを読み込めませんでした。中断しますか？",
                                  "JPEGファイルを読み込めません");
        if (tooSmallToWork(*SourceBitmap)) {
            Memo1->Lines().Add("320px×240px以下なのでスキップ");
            return -2;
        }
    }
    // A batch may have fitted the photo ahead, while the one before it saved.
    if (!photoTurn || !takeFittedWorkedAhead()) {
        const int fitted = fitAndCorrect(preview ? PreviewSource() : *SourceBitmap, preview);
        if (fitted == -2) {
            Memo1->Lines().Add("切り抜き範囲が16384pxを超えるのでスキップ");
            return -2;
        }
        if (fitted != 0)
            return -1;
    }
    Form8->DrawHistograms(0, HistogramBefore, HistogramAfter);
    return 0;
}

int TForm1::askAbortOrSkip(const std::string& path, const char* question, const std::string& skipNote)
{
    if (Application->MessageBox(Format("%s\n\n%s", question, path.c_str()), MessageCaption, MB_YESNO) == IDYES) {
        AbortRequested = true;
        Memo1->Lines().Add("中断");
        return -1;
    }
    Memo1->Lines().Add(skipNote);
    return -2;
}

int TForm1::fitAndCorrect(const TBitmap& source, bool preview)
{
    const int fitted = FitPhotoToArea(source, preview);
    if (fitted != 0)
        return fitted;
    if (CheckBox7->Checked() && CheckBox6->Checked())
        ApplyColorCorrection(*PhotoBitmap);
    BuildHistogramSet(*PhotoBitmap, 1);
    return 0;
}

int TForm1::FitPhotoToArea(const TBitmap& source, bool preview)
{
    const TFrameLayout& area = preview ? PreviewLayout : FrameLayout;
    const int sW = source.Width();
    const int sH = source.Height();
    TPoint turnedSize{sW, sH};
    if (PhotoAngle != 0.0f) {
        const TRect bounds = RotatedRectBounds({0, 0, sW, sH}, -PhotoAngle);
        turnedSize = {bounds.Right - bounds.Left, bounds.Bottom - bounds.Top};
    }
    const std::optional<TRect> window = fittingWindow(sW, sH, turnedSize, preview);
    // A crop too large to build skips the photo.
    if (!window)
        return -2;
    if (PhotoAngle == 0.0f)
        return fitWindow(source, *window, turnedSize, area.Photowidth, area.Photoheight);
    if (!turnWindow(source, turnedSize, *window))
        return photoWorkAborted();
    return fitWindow(*ScratchBitmap, {0, 0, window->Width(), window->Height()}, turnedSize, area.Photowidth,
                     area.Photoheight);
}

bool TForm1::turnWindow(const TBitmap& source, TPoint turnedSize, const TRect& window)
{
    // The photo centred on a background of the turned size and turned: only
    // the window is made, into the fitting's intermediate. The photo in work,
    // replaced by the fitting next, holds the smoothing meanwhile; so each
    // keeps storage of its own size from photo to photo.
    const PlacedPicture placed{&source, (turnedSize.x - source.Width()) / 2, (turnedSize.y - source.Height()) / 2,
                               turnedSize.x, turnedSize.y, BackgroundColor};
    WorkControl control = reductionControl();
    return RotateWindowByAngle(placed, PhotoAngle, window, *ScratchBitmap, *PhotoBitmap, &control);
}

std::optional<TRect> TForm1::fittingWindow(int sourceWidth, int sourceHeight, TPoint turnedSize, bool preview)
{
    const TFrameLayout& area = preview ? PreviewLayout : FrameLayout;
    const int eW = area.Photowidth;
    const CropSize crop = CropSizeFor(sourceWidth, sourceHeight, eW, area.Photoheight);
    const TPoint offset = preview ? PreviewOffset(PhotoOffsetX, PhotoOffsetY, PreviewLayout.Photowidth,
                                                  FrameLayout.Photowidth)
                                  : FullSizeOffset(PhotoOffsetX, PhotoOffsetY, crop, eW);
    return CropWindow(crop, CheckBox7->Checked(), PhotoZoom, offset, turnedSize.x, turnedSize.y,
                      static_cast<TrimAlignment>(Form3->TrimmingAlignment()));
}

int TForm1::fitWindow(const TBitmap& turned, const TRect& window, TPoint turnedSize, int eW, int eH)
{
    const int cw = window.Width();
    const int ch = window.Height();
    const auto stretched = [&](const TRect& rect) {
        return stretchWindow(turned, window, rect, eW, eH) ? 0 : photoWorkAborted();
    };
    if (turnedSize.x < cw || turnedSize.y < ch || !CheckBox3->Checked())
        return stretched({0, 0, eW, eH});
    int reduced = 0;
    if (window.Left >= 0 && window.Top >= 0 && window.Right <= turned.Width() && window.Bottom <= turned.Height()) {
        reduced = reduceWindow(turned, window, eW, eH);
    } else {
        cropWindow(turned, window);
        reduced = ShrinkHighQuality(*ScratchBitmap, eW, eH);
        if (reduced == 0) {
            PhotoBitmap->SetSize(eW, eH);
            PhotoBitmap->Canvas()->CopyRect({0, 0, eW, eH}, *ScratchBitmap, {0, 0, eW, eH});
        }
    }
    switch (reduced) {
    case 0:
        return 0;
    case -2:
        return photoWorkAborted();
    case -10:
        return stretched(AspectKeptRect(cw, ch, eW, eH));
    default:
        return stretched({0, 0, eW, eH});
    }
}

int TForm1::photoWorkAborted()
{
    // Whichever step saw the abort, it is reported as the reduction's is,
    // whose message an abort leaves empty; work done ahead shows nothing.
    ReduceMessage.clear();
    if (workingAhead_)
        return -1;
    Memo1->Lines().Add("中断");
    Memo1->Lines().Add(ReduceMessage);
    StatusBar1->Panels(0).SetText(ReduceMessage);
    StatusBar1->Repaint();
    return -1;
}

void TForm1::cropWindow(const TBitmap& turned, const TRect& window)
{
    const int cw = window.Width();
    const int ch = window.Height();
    ScratchBitmap->SetSize(cw, ch);
    ScratchBitmap->Fill(BackgroundColor);
    ScratchBitmap->Canvas()->CopyRect({0, 0, cw, ch}, turned, window);
}

bool TForm1::stretchWindow(const TBitmap& turned, const TRect& window, const TRect& rect, int eW, int eH)
{
    // The crop is taken out first: the turned photo may be the photo in work.
    // A turned window is in the intermediate already.
    if (&turned != ScratchBitmap)
        cropWindow(turned, window);
    PhotoBitmap->SetSize(eW, eH);
    PhotoBitmap->Fill(BackgroundColor);
    // The canvas's plain stretch, with the window answering meanwhile.
    WorkControl control = reductionControl();
    return StretchBitmap(*ScratchBitmap, *PhotoBitmap, rect, PollOf(&control));
}

int TForm1::reduceWindow(const TBitmap& turned, const TRect& window, int eW, int eH)
{
    // A window inside the picture is reduced straight from it: the same
    // pixels as reducing a copy of the crop, without the copy.
    if (&turned != PhotoBitmap)
        return shrinkWindowInto(turned, window, *PhotoBitmap, eW, eH);
    const int reduced = shrinkWindowInto(turned, window, *ScratchBitmap, eW, eH);
    if (reduced == 0)
        PhotoBitmap->ExchangePixels(*ScratchBitmap);
    return reduced;
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
    const TPoint drawn = FittedSize(graphic.Width(), graphic.Height(), W, H);
    // The picture fitted on grey at the top-left corner (the thumbnail:
    // centred), drawn straight into the control's picture.
    TBitmap& picture = control ? control->Picture() : *ScratchBitmap;
    const TPoint at = target == 10 ? TPoint{(W - drawn.x) / 2, (H - drawn.y) / 2} : TPoint{0, 0};
    picture.SetSize(W, H);
    picture.Fill(clGray);
    picture.Canvas()->StretchDraw({at.x, at.y, at.x + drawn.x, at.y + drawn.y}, graphic);
    if (control)
        control->PictureChanged();
    return 0;
}

void TForm1::RedrawFramePreview()
{
    // The frame shows as it is here; the composition draws it see-through.
    FrameOverlay->Transparent = false;
    if (!PreviewLayout.HasFrameImage) {
        ShowFitted(*FrameOverlay, 1);
    } else {
        OutputBitmap->SetSize(PreviewLayout.Framewidth, PreviewLayout.Frameheight);
        OutputBitmap->Fill(clBlack);
        BlendFrameImage(PreviewLayout.Framewidth, PreviewLayout.Frameheight, *OutputBitmap, *PreviewOverlay);
        ShowFitted(*OutputBitmap, 1);
    }
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    DrawTextPreview(*Image3, title.Font, title.Text.empty() ? "[　　]" : title.Text, title.Angle);
    if (FrameLayout.Framewidth <= 0)
        return;
    placeTextImage(TFrameTextKind::Title,
                   {FrameLayout.FontPositionX, FrameLayout.FontPositionY + Form7->TitleAdjustment()});
    // The date and the other text stand at their own layout places (no
    // adjustment), so that the preview shows them where they print.
    const std::pair<TFrameTextKind, TPoint> others[] = {
        {TFrameTextKind::Date, {FrameLayout.DatePositionX, FrameLayout.DatePositionY}},
        {TFrameTextKind::Other, {FrameLayout.OtherPositionX, FrameLayout.OtherPositionY}}};
    for (const auto& [kind, place] : others) {
        const TFrameText text = Form4->FrameText(kind);
        DrawTextPreview(*TextImage(kind), text.Font, text.Text, text.Angle);
        placeTextImage(kind, place);
    }
}
